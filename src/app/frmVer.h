#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// The version dialog: the title in two colours forming a shadow, the version
// line and a notice over the background tile.
class frmVer : public QDialog {
    Q_OBJECT
public:
    explicit frmVer(QWidget* parent = nullptr);

    QLabel* imgBack = nullptr;
    std::array<QLabel*, 2> lblTitle{};
    QLabel* lblVer = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    void Form_Load();
};
