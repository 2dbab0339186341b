#pragma once

#include <QDialog>

class DirList;
class DriveList;
class FileList;
class QPushButton;

// The folder chooser: starts in mdlSt::strDestPath and leaves the chosen
// folder there, or "" when the user cancels.
class frmDir : public QDialog {
    Q_OBJECT
public:
    explicit frmDir(QWidget* parent = nullptr);

    DriveList* drvCSelect = nullptr;
    DirList* dirCSelect = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    FileList* flbCSelect = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();

    bool m_byButton = false;
};
