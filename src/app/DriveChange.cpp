#include "app/DriveChange.h"

#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/MsgBox.h"

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
