#pragma once

#include <QString>

class DirList;
class DriveList;

// A drive chosen in a drive list: its folder list opens the drive's current
// folder. When that fails the lists return to the folder shown before;
// a volume that is gone or not ready is reported first.
void FollowDriveChange(DriveList& drive, DirList& dir);

// The mounted volumes changed and the drive list offers the new set: the
// folder list takes it too. When the open folder went with its volume, the
// folder list goes back to the nearest readable folder above it (raising
// Change); when another volume now holds it, the folder list reads it again.
// The drive list then shows the drive of the open folder. True when the open
// folder stayed but is now on another volume, so its files are to be read
// again.
bool FollowVolumeChange(DriveList& drive, DirList& dir);
