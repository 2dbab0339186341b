#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Asks whether dropped files are moved or copied: sets mdlSt::bytOperation to
// copy or move, or leaves it at "ask" for Cancel and the close box.
class frmFileMove : public QDialog {
    Q_OBJECT
public:
    explicit frmFileMove(QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdMove = nullptr;
    QPushButton* cmdCancel = nullptr;
};
