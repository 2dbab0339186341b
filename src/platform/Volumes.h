#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <sys/types.h>

class QSocketNotifier;

// The mounted volumes that stand for drives: real file systems, pseudo file
// systems left out. "/" is always among them.
QStringList MountedVolumeRoots();

// Whether a mounted file system of that type at that root stands for a drive:
// not a pseudo file system, not a system folder (/proc, /sys, /dev, /run, but
// removable media under /run/media are drives). A memory file system (tmpfs)
// mounted by a person at a place of their own is a drive too.
bool IsDriveVolume(const QByteArray& type, const QString& root);

// The root of the volume that holds a path: the longest root that is the path
// itself or one of its ancestors.
QString VolumeRootOf(const QString& path, const QStringList& roots);

// Whether the volume of a path is not available: the path lies on a volume
// that was seen mounted during this run and is mounted no more, or under a
// desktop's removable-media folder (/media/<user>/<label>,
// /run/media/<user>/<label>) whose label folder is gone.
bool VolumeUnavailable(const QString& path, const QStringList& mounted, const QStringList& seen);

// A folder on which a file system is mounted: the kernel marks it as the root
// of a mount (a bind mount of the same disk too); a kernel that keeps no such
// mark is asked whether its device differs from its parent's. A symbolic link
// is never one.
bool IsMountPoint(const QString& folder);
// The same of a folder open at a descriptor, whose parent lies on a device.
bool IsMountRoot(int folderFd, dev_t parentDevice);

// The path is the folder or lies below it, by the text of the two paths or by
// what they are on disk (their canonical paths): a folder reached through a
// symbolic link counts as the folder it leads to.
bool IsSameOrBelow(const QString& path, const QString& folder);

// Paths in the folder list's form: "/" only at the root, no trailing "/"
// elsewhere.
QString CleanFolderPath(const QString& path);

// Joins a folder and a name without doubling "/" at the root.
QString JoinPath(const QString& folder, const QString& name);

// The folder followed by exactly one "/".
QString WithTrailingSlash(const QString& folder);

// Tells when the mount table changes: the kernel marks /proc/self/mountinfo
// with an exceptional condition on every mount and unmount, so waiting for it
// costs nothing and no disk is polled. One watcher serves the whole program.
class MountWatcher : public QObject {
    Q_OBJECT
public:
    static MountWatcher& instance();

signals:
    void changed();

private:
    explicit MountWatcher(QObject* parent);
    ~MountWatcher() override;

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};
