#include "app/DriveChange.h"

#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/MsgBox.h"
#include "platform/Volumes.h"

void FollowDriveChange(DriveList& drive, DirList& dir) {
    const FsStatus st = dir.setPath(drive.currentFolder());
    if (st == FsStatus::Ok)
        return;
    if (st == FsStatus::NotReady)
        MsgBox(QStringLiteral("ディスクがセットされていません。"), Msg::OkOnly | Msg::Critical,
               QStringLiteral("警告"));
    dir.Refresh();
    // Setting the drive back raises the change once more; that run succeeds.
    drive.setDrive(dir.Path());
}

bool FollowVolumeChange(DriveList& drive, DirList& dir) {
    const QStringList before = dir.volumeRoots();
    const QStringList after = drive.volumes();
    dir.setVolumeRoots(after);
    const QString path = dir.Path();
    bool reread = false;
    if (!path.isEmpty()) {
        if (CheckFolder(path, after) != FsStatus::Ok) {
            dir.Refresh();
        } else if (VolumeRootOf(path, before) != VolumeRootOf(path, after)) {
            dir.Refresh();
            reread = true;
        }
    }
    drive.showDriveOf(dir.Path());
    return reread;
}
