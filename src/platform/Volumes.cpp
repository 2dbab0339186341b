#include "platform/Volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
bool isPseudo(const QStorageInfo& v) {
    static const QSet<QByteArray> pseudo = {
        "proc",    "sysfs",       "devtmpfs",  "devpts",      "cgroup",
        "cgroup2", "securityfs",  "debugfs",   "tracefs",     "pstore",
        "bpf",     "mqueue",      "hugetlbfs", "configfs",    "fusectl",
        "autofs",  "binfmt_misc", "efivarfs",  "nsfs",        "rpc_pipefs",
        "ramfs",   "overlay",     "squashfs",  "fuse.portal", "fuse.gvfsd-fuse"};
    const QByteArray type = v.fileSystemType();
    const QString root = v.rootPath();
    if (pseudo.contains(type))
        return root != QLatin1String("/");
    if (type == "tmpfs")
        return root != QLatin1String("/tmp");
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot/efi"})
        if (root == QLatin1String(system) || root.startsWith(QLatin1String(system) + '/'))
            return true;
    return false;
}
} // namespace

QStringList MountedVolumeRoots() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || isPseudo(v))
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
        const bool holds = p == r || r == QLatin1String("/") || p.startsWith(r + QLatin1Char('/'));
        if (holds && r.size() > best.size())
            best = r;
    }
    return best;
}

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString JoinPath(const QString& folder, const QString& name) {
    return WithTrailingSlash(folder) + name;
}

bool IsMountPoint(const QString& folder) {
    const QByteArray native = QFile::encodeName(CleanFolderPath(folder));
    struct statx self {};
    if (::statx(AT_FDCWD, native.constData(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &self) != 0 ||
        !S_ISDIR(self.stx_mode))
        return false;
    // The kernel knows the root of every mount, of a bind mount too.
    if (self.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (self.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    struct stat mine {
    }, parent{};
    return ::stat(native.constData(), &mine) == 0 &&
           ::stat((native + "/..").constData(), &parent) == 0 && mine.st_dev != parent.st_dev;
}

namespace {
bool textBelow(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(WithTrailingSlash(folder));
}
} // namespace

bool IsSameOrBelow(const QString& path, const QString& folder) {
    if (textBelow(CleanFolderPath(path), CleanFolderPath(folder)))
        return true;
    const QString realPath = QFileInfo(path).canonicalFilePath();
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    return !realPath.isEmpty() && !realFolder.isEmpty() && textBelow(realPath, realFolder);
}
