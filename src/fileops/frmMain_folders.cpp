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
#include "thumbs/CacheFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QToolButton>

void frmMain::cmdMakeFolder_Click() {
    frmMakeFolder dialog(dirSelect->Path(), this);
    ShowModal(dialog);
    if (!dialog.created().isEmpty())
        dirSelect->Refresh();
}

void frmMain::mnuFolderDelete_Click() {
    const QString target = dirSelect->Path();
    const QString title = QStringLiteral("フォルダーの削除");
    // Any mount point is the top of a drive, listed as a volume or not.
    if (target.isEmpty() || VolumeRootOf(target, drvSelect->volumes()) == target ||
        IsMountPoint(target)) {
        MsgBox(QStringLiteral("ドライブのいちばん上のフォルダーは削除できません。"),
               Msg::OkOnly | Msg::Critical, title);
        return;
    }
    if (TreeShownInWindow(target)) {
        MsgBox(QStringLiteral("指定されたフォルダーは開いています。"), Msg::OkOnly | Msg::Critical,
               title);
        return;
    }
    if (MsgBox(QStringLiteral("フォルダーとその下のファイルを") +
                   QStringLiteral("すべて削除します"),
               Msg::OkCancel | Msg::Critical, title) != Msg::Ok)
        return;
    // The shared thumbnail cache forgets each picture as it goes.
    const Leftovers left = DeleteTree(target, ForgetThumbnails);
    // The list moves to the parent folder.
    dirSelect->setPath(QFileInfo(target).path());
    dirSelect->Refresh();
    if (!left.isEmpty())
        MsgBox(FolderDeletionReport(left), Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
}
