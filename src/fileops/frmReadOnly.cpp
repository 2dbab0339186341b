#include "fileops/frmReadOnly.h"

#include "app/mdlSt.h"
#include "platform/Files.h"
#include "platform/FormText.h"
#include "platform/MsgBox.h"
#include "platform/Volumes.h"
#include "rename/DialogForm.h"

#include <QLabel>
#include <QPushButton>

frmReadOnly::frmReadOnly(const QString& filePath, QWidget* parent)
    : PointerPlacedDialog(parent), m_filePath(filePath) {
    SetUpFixedDialog(*this, QStringLiteral("読み取り専用"), 4200, 1545);

    lblTitle[0] = AddLabel(*this, "lblTitle0",
                           QStringLiteral("次のファイルは読み取り専用属性になっています。"), 120,
                           120, 3825, 180, true);
    lblTitle[1] =
        AddLabel(*this, "lblTitle1", QStringLiteral("ファイル名"), 120, 360, 795, 180, true);
    lblTitle[2] = AddLabel(*this, "lblTitle2", QStringLiteral("パス"), 120, 600, 3945, 225);
    lblTitle[3] = AddLabel(*this, "lblTitle3", QStringLiteral("属性を無視しますか？"), 1320, 840,
                           1710, 180, true);
    // Created in tab order: 無視, Cancel, すべて無視.
    cmdOk = AddButton(*this, "cmdOk", QStringLiteral("無視"), 1560, 1080, 1095, 375);
    cmdCancel = AddButton(*this, "cmdCancel", QStringLiteral("Cancel"), 3000, 1080, 1095, 375);
    cmdAll = AddButton(*this, "cmdAll", QStringLiteral("すべて無視"), 120, 1080, 1095, 375);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdAll);

    connect(cmdOk, &QPushButton::clicked, this, &frmReadOnly::cmdOk_Click);
    connect(cmdAll, &QPushButton::clicked, this, &frmReadOnly::cmdAll_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReadOnly::reject);

    lblTitle[1]->setText(QStringLiteral("ファイル名   ") + mdlSt::strWorkName);
    lblTitle[1]->adjustSize();
    lblTitle[2]->setText(QStringLiteral("パス        ") + mdlSt::strWorkPath);
    cmdOk->setFocus();
    FitFormTexts(*this);
}

void frmReadOnly::cmdOk_Click() {
    mdlSt::strWorkPath = WithTrailingSlash(mdlSt::strWorkPath);
    while (ClearAttributes(m_filePath) != FsStatus::Ok) {
        const int answer = MsgBox(QStringLiteral("ﾌｧｲﾙが操作出来ません"),
                                  Msg::RetryCancel | Msg::Critical, QStringLiteral("警告"));
        if (answer != Msg::Retry)
            return reject(); // the file is skipped
    }
    accept();
}

void frmReadOnly::cmdAll_Click() {
    mdlSt::sngSetting[mdlSt::SlotIgnoreAllReadOnly] = 1;
    cmdOk_Click();
}

void frmReadOnly::reject() {
    mdlSt::strWorkName.clear();
    mdlSt::strWorkPath.clear();
    QDialog::reject();
}
