#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the name of a new folder inside the given folder and creates it.
class frmMakeFolder : public QDialog {
    Q_OBJECT
public:
    explicit frmMakeFolder(const QString& parentFolder, QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The folder created, "" when none.
    QString created() const { return m_created; }

private:
    void cmdOk_Click();

    QString m_parentFolder;
    QString m_created;
};
