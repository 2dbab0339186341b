#include "rename/frmNameInput.h"

#include "app/mdlSt.h"
#include "platform/FolderEntries.h"
#include "platform/FormText.h"
#include "platform/MsgBox.h"
#include "rename/DialogForm.h"
#include "rename/NameEntry.h"
#include "rename/NamingRules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmNameInput::frmNameInput(QWidget* parent) : PointerPlacedDialog(parent) {
    SetUpFixedDialog(*this, QStringLiteral("ファイル名入力"), 4215, 1590);

    // Created in tab order: the name box, OK, numbering, Cancel, the prompt.
    txtName = AddTextBox(*this, "txtName", 120, 600, 3975, 270);
    cmdOK = AddButton(*this, "cmdOK", QStringLiteral("OK"), 120, 1080, 975, 375);
    cmdAddNumber =
        AddButton(*this, "cmdAddNumber", QStringLiteral("番号を割付ける"), 1200, 1080, 1455, 375);
    cmdCancel = AddButton(*this, "cmdCancel", QStringLiteral("Cancel"), 3120, 1080, 975, 375);
    lblTitle = AddLabel(*this, "lblTitle",
                        QStringLiteral("ファイル名が重複しています。    名前を入力して下さい。"),
                        120, 120, 2535, 375);
    lblTitle->setWordWrap(true);
    setTabOrder(txtName, cmdOK);
    setTabOrder(cmdOK, cmdAddNumber);
    setTabOrder(cmdAddNumber, cmdCancel);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmNameInput::cmdOK_Click);
    connect(cmdAddNumber, &QPushButton::clicked, this, &frmNameInput::cmdAddNumber_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNameInput::reject);

    strExt = LowerExtension(mdlSt::strWorkName);
    InstallExtensionLock(*txtName, strExt);
    SetNameText(*txtName, mdlSt::strWorkName);
    txtName->setFocus();
    FitFormTexts(*this);
}

bool frmNameInput::taken(const QString& name) const {
    return NameExists(mdlSt::strWorkPath, name, mdlSt::AttributeMask());
}

void frmNameInput::cmdOK_Click() {
    const QString name = txtName->text();
    if (RefuseName(name, *txtName))
        return;
    if (taken(name))
        return; // the name is still taken: OK does nothing until it is free
    mdlSt::strWorkName = name.toUpper();
    accept();
}

void frmNameInput::cmdAddNumber_Click() {
    // The folder is read once for the whole search.
    const FolderNames names(mdlSt::strWorkPath);
    const int mask = mdlSt::AttributeMask();
    const auto name = FirstFreeNumberedName(
        mdlSt::strWorkName, strExt, [&](const QString& n) { return names.contains(n, mask); });
    if (!name) {
        MsgBox(QStringLiteral("番号 2 から %1 までの名前はすべて使われています。"
                              "別の名前を入力して下さい。")
                   .arg(HighestFreeNumber),
               Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
        return;
    }
    SetNameText(*txtName, *name);
}

void frmNameInput::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible)
        txtName->setCursorPosition(int(WithoutExtension(txtName->text()).size()));
}

void frmNameInput::reject() {
    mdlSt::strWorkName.clear();
    mdlSt::strWorkPath.clear();
    QDialog::reject();
}
