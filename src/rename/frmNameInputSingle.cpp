#include "rename/frmNameInputSingle.h"

#include "app/mdlSt.h"
#include "platform/FolderEntries.h"
#include "platform/FormText.h"
#include "rename/DialogForm.h"
#include "rename/NameEntry.h"
#include "rename/NamingRules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmNameInputSingle::frmNameInputSingle(QWidget* parent) : PointerPlacedDialog(parent) {
    SetUpFixedDialog(*this, QStringLiteral("ファイル名の変更"), 3615, 1125);

    // Created in tab order: the name box, the prompt, OK, Cancel.
    txtName = AddTextBox(*this, "txtName", 120, 360, 3375, 270);
    lblTitle = AddLabel(*this, "lblTitle", QStringLiteral("ファイル名を入力して下さい。"), 120, 120,
                        2895, 255);
    cmdOk = AddButton(*this, "cmdOk", QStringLiteral("OK"), 120, 720, 855, 375);
    cmdCancel = AddButton(*this, "cmdCancel", QStringLiteral("Cancel"), 2640, 720, 855, 375);
    setTabOrder(txtName, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    // Neither button answers Enter, not even while it has the focus.
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    connect(cmdOk, &QPushButton::clicked, this, &frmNameInputSingle::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNameInputSingle::reject);

    strExt = LowerExtension(mdlSt::strWorkName);
    InstallExtensionLock(*txtName, strExt);
    SetNameText(*txtName, mdlSt::strWorkName);
    txtName->setFocus();
    // The base name is selected, so typing replaces it and keeps the extension.
    txtName->setSelection(0, int(mdlSt::strWorkName.size() - strExt.size() - 1));
    FitFormTexts(*this);
}

void frmNameInputSingle::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // Esc does not cancel this dialog
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmNameInputSingle::cmdOk_Click() {
    const QString name = txtName->text();
    if (RefuseName(name, *txtName))
        return;
    // The name exists, in any letter case (the unchanged name too): OK does
    // nothing.
    if (NameExists(mdlSt::strWorkPath, name, mdlSt::AttributeMask()))
        return;
    mdlSt::strWorkName = name;
    accept();
}

void frmNameInputSingle::reject() {
    mdlSt::strWorkName.clear();
    mdlSt::strWorkPath.clear();
    QDialog::reject();
}
