#pragma once

#include <QString>

class DirList;
class DriveList;

// A drive chosen in a drive list: its folder list opens the drive's current
// folder. When that fails the lists return to the folder shown before;
// a volume that is gone or not ready is reported first.
void FollowDriveChange(DriveList& drive, DirList& dir);
