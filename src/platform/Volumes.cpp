#include "platform/Volumes.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

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
