#pragma once

#include "rename/DialogForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a new name for one file. In: mdlSt::strWorkName (the upper-case
// name) and strWorkPath (its folder, ending in "/"). Out: the new name as
// typed in strWorkName, or both strings empty when the user cancelled. Enter
// and Esc press no button.
class frmNameInputSingle : public PointerPlacedDialog {
    Q_OBJECT
public:
    explicit frmNameInputSingle(QWidget* parent = nullptr);

    // The close box: as Cancel.
    void reject() override;

    QLabel* lblTitle = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdOk_Click();

    QString strExt; // the file's extension, lower case
};
