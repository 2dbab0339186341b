#pragma once

#include "rename/DialogForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for another name for a file whose name is taken in the destination
// folder. In: mdlSt::strWorkName (the upper-case name) and strWorkPath (the
// folder, ending in "/"). Out: the chosen name in upper case in strWorkName,
// or both strings empty when the user cancelled.
class frmNameInput : public PointerPlacedDialog {
    Q_OBJECT
public:
    explicit frmNameInput(QWidget* parent = nullptr);

    // Esc and the close box: as Cancel.
    void reject() override;
    // Showing a dialog gives its first box the focus as if by Tab, which
    // would select the whole name; the box starts without a selection, the
    // caret before the extension.
    void setVisible(bool visible) override;

    QLabel* lblTitle = nullptr;
    QLineEdit* txtName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdAddNumber = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void cmdOK_Click();
    void cmdAddNumber_Click();
    // A name counts as taken when a file exists under it in any letter case
    // (the operation writes it in upper case).
    bool taken(const QString& name) const;

    QString strExt; // the incoming file's extension, lower case
};
