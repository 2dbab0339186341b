#include "platform/Volumes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QSocketNotifier>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// The path is the folder or lies below it, by text alone.
bool isUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(WithTrailingSlash(folder));
}
} // namespace

bool IsDriveVolume(const QByteArray& type, const QString& root) {
    static const QSet<QByteArray> pseudo = {
        "proc",    "sysfs",       "devtmpfs",  "devpts",      "cgroup",
        "cgroup2", "securityfs",  "debugfs",   "tracefs",     "pstore",
        "bpf",     "mqueue",      "hugetlbfs", "configfs",    "fusectl",
        "autofs",  "binfmt_misc", "efivarfs",  "nsfs",        "rpc_pipefs",
        "ramfs",   "overlay",     "squashfs",  "fuse.portal", "fuse.gvfsd-fuse"};
    if (root == QLatin1String("/"))
        return true;
    if (pseudo.contains(type))
        return false;
    if (isUnder(root, QStringLiteral("/run/media")))
        return root != QLatin1String("/run/media");
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot/efi"})
        if (isUnder(root, QLatin1String(system)))
            return false;
    return true;
}

QStringList MountedVolumeRoots() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !IsDriveVolume(v.fileSystemType(), v.rootPath()))
            continue;
        const QString root = CleanFolderPath(v.rootPath());
        if (!roots.contains(root))
            roots.append(root);
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QString CleanFolderPath(const QString& path) {
    QString p = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (p.isEmpty())
        return p;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString VolumeRootOf(const QString& path, const QStringList& roots) {
    const QString p = CleanFolderPath(path);
    QString best = QStringLiteral("/");
    for (const QString& r : roots) {
        const bool holds = r == QLatin1String("/") || isUnder(p, r);
        if (holds && r.size() > best.size())
            best = r;
    }
    return best;
}

bool VolumeUnavailable(const QString& path, const QStringList& mounted, const QStringList& seen) {
    const QString p = CleanFolderPath(path);
    for (const QString& r : seen)
        if (r != QLatin1String("/") && isUnder(p, r) && !mounted.contains(r))
            return true;
    // The desktop mounts removable media at <base>/<user>/<label> and removes
    // the label folder when the medium goes.
    for (const char* folder : {"/media/", "/run/media/"}) {
        const QString base = QLatin1String(folder);
        if (!p.startsWith(base))
            continue;
        const QStringList parts = p.mid(base.size()).split(QLatin1Char('/'));
        if (parts.size() >= 2 && !parts[0].isEmpty() && !parts[1].isEmpty())
            return !QFileInfo(base + parts[0] + QLatin1Char('/') + parts[1]).isDir();
    }
    return false;
}

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString JoinPath(const QString& folder, const QString& name) {
    return WithTrailingSlash(folder) + name;
}

MountWatcher& MountWatcher::instance() {
    static QPointer<MountWatcher> watcher;
    if (!watcher)
        watcher = new MountWatcher(QCoreApplication::instance());
    return *watcher;
}

MountWatcher::MountWatcher(QObject* parent) : QObject(parent) {
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return; // no mount table to watch: the drives of start-up stay
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::changed);
}

MountWatcher::~MountWatcher() {
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

bool IsMountRoot(int folderFd, dev_t parentDevice) {
    struct statx self {};
    if (::statx(folderFd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_TYPE, &self) != 0)
        return false;
    // The kernel knows the root of every mount, of a bind mount of the same
    // disk too; where it does not say, a device of its own tells.
    if (self.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (self.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return makedev(self.stx_dev_major, self.stx_dev_minor) != parentDevice;
}

bool IsMountPoint(const QString& folder) {
    const QByteArray native = QFile::encodeName(CleanFolderPath(folder));
    struct stat parent {};
    if (::stat((native + "/..").constData(), &parent) != 0)
        return false;
    const int fd = ::open(native.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool root = IsMountRoot(fd, parent.st_dev);
    ::close(fd);
    return root;
}

bool IsSameOrBelow(const QString& path, const QString& folder) {
    if (isUnder(CleanFolderPath(path), CleanFolderPath(folder)))
        return true;
    const QString realPath = QFileInfo(path).canonicalFilePath();
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    return !realPath.isEmpty() && !realFolder.isEmpty() && isUnder(realPath, realFolder);
}
