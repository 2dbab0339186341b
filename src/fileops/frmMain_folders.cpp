// The main window's folder commands: create a folder in the open folder, and
// delete the open folder with everything below it.
#include "app/frmMain.h"

#include "app/mdlSt.h"
#include "fileops/FolderDelete.h"
#include "fileops/frmMakeFolder.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/MsgBox.h"
#include "platform/ShowModal.h"
#include "platform/Volumes.h"

#include <QAction>
#include <QFileInfo>
#include <QToolButton>

void frmMain::cmdMakeFolder_Click() {
    frmMakeFolder dialog(dirSelect->Path(), this);
    ShowModal(dialog);
    if (!dialog.created().isEmpty())
        dirSelect->Refresh();
}

QString FolderDeletionReport(const QStringList& failed) {
    constexpr int Shown = 20;
    QString text = QStringLiteral("次のファイルを削除できませんでした。");
    for (int i = 0; i < failed.size() && i < Shown; ++i)
        text += QLatin1Char('\n') + failed[i];
    if (failed.size() > Shown)
        text += QStringLiteral("\nほか %1 件").arg(failed.size() - Shown);
    return text;
}

void frmMain::mnuFolderDelete_Click() {
    const QString target = dirSelect->Path();
    const QString title = QStringLiteral("フォルダーの削除");
    if (target.isEmpty() || VolumeRootOf(target, drvSelect->volumes()) == target) {
        MsgBox(QStringLiteral("ドライブのいちばん上のフォルダーは削除できません。"),
               Msg::OkOnly | Msg::Critical, title);
        return;
    }
    DeletionLists lists = DelListMake(target);
    for (const QString& folder : lists.folders) {
        if (mdlSt::WinSearch(folder) >= 0) {
            MsgBox(QStringLiteral("指定されたフォルダーは開いています。"),
                   Msg::OkOnly | Msg::Critical, title);
            return;
        }
    }
    if (MsgBox(QStringLiteral("フォルダーとその下のファイルを") +
                   QStringLiteral("すべて削除します"),
               Msg::OkCancel | Msg::Critical, title) != Msg::Ok)
        return;
    const QStringList failed = DeleteLists(lists);
    lists = DeletionLists{};
    // The list moves to the parent folder.
    dirSelect->setPath(QFileInfo(target).path());
    dirSelect->Refresh();
    if (!failed.isEmpty())
        MsgBox(FolderDeletionReport(failed), Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
}
