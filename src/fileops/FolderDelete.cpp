#include "fileops/FolderDelete.h"

#include "app/mdlSt.h"
#include "platform/FolderEntries.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Entry {
    QByteArray name;
    bool folder = false;
};

// The entries of the folder open at a descriptor ("." and ".." left out),
// each known as a folder or not without following a link.
QList<Entry> entriesOf(int folderFd) {
    QList<Entry> entries;
    DIR* dir = ::fdopendir(::dup(folderFd));
    if (!dir)
        return entries;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(folderFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                     S_ISDIR(st.st_mode);
        }
        entries.append({name, folder});
    }
    ::closedir(dir);
    return entries;
}

bool holdsAny(const QString& folder, const QStringList& paths) {
    const QString prefix = WithTrailingSlash(folder);
    for (const QString& p : paths)
        if (p.startsWith(prefix))
            return true;
    return false;
}

// One deletion: every folder is reached through the descriptor of the folder
// above it, so that no path is looked up again once the walk has passed it
// and a mount that appears meanwhile is found when its folder is opened.
class TreeWalk {
public:
    explicit TreeWalk(const std::function<void(const QString&)>& deleted) : m_deleted(deleted) {}

    // Removes the entry `name` of the folder open at `folderFd`, whose path
    // is `path`, on the device of the tree.
    void remove(int folderFd, const QByteArray& name, bool folder, const QString& path) {
        if (!folder) {
            if (::unlinkat(folderFd, name.constData(), 0) != 0)
                m_left.files.append(path);
            else if (m_deleted)
                m_deleted(path);
            return;
        }
        const int fd =
            ::openat(folderFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 || IsMountRoot(fd, m_device)) {
            // A folder of another file system is a wall, left with what it holds.
            if (fd >= 0)
                ::close(fd);
            m_left.folders.append(path);
            return;
        }
        empty(fd, path);
        ::close(fd);
        // A folder that still holds what could not go stays, silently: what
        // it holds is reported.
        if (::unlinkat(folderFd, name.constData(), AT_REMOVEDIR) != 0 &&
            !holdsAny(path, m_left.files) && !holdsAny(path, m_left.folders))
            m_left.folders.append(path);
    }

    // Removes everything in the folder open at `fd`.
    void empty(int fd, const QString& path) {
        const QByteArray native = QFile::encodeName(path);
        for (const Entry& e : entriesOf(fd)) {
            if (DecodesExactly(e.name))
                remove(fd, e.name, e.folder, JoinPath(path, QFile::decodeName(e.name)));
            else
                (e.folder ? m_left.folders : m_left.files)
                    .append(ReadableName(native + '/' + e.name));
        }
    }

    void setDevice(dev_t device) { m_device = device; }
    Leftovers& left() { return m_left; }

private:
    const std::function<void(const QString&)>& m_deleted;
    dev_t m_device = 0;
    Leftovers m_left;
};
} // namespace

Leftovers DeleteTree(const QString& target, const std::function<void(const QString&)>& deleted) {
    TreeWalk walk(deleted);
    const QFileInfo info(target);
    const int parent =
        ::open(QFile::encodeName(info.path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat above {
    }, self{};
    const QByteArray name = QFile::encodeName(info.fileName());
    if (parent < 0 || ::fstat(parent, &above) != 0 ||
        ::fstatat(parent, name.constData(), &self, AT_SYMLINK_NOFOLLOW) != 0) {
        walk.left().folders.append(target);
    } else {
        // The folder itself is held to the file system of the folder above it.
        walk.setDevice(above.st_dev);
        walk.remove(parent, name, S_ISDIR(self.st_mode), target);
    }
    if (parent >= 0)
        ::close(parent);
    return walk.left();
}

bool TreeShownInWindow(const QString& target) {
    const int last = std::min<int>(mdlSt::intWinMax, int(mdlSt::strWinPath.size()) - 1);
    for (int slot = 0; slot <= last; ++slot) {
        const QString& shown = mdlSt::strWinPath[slot];
        if (!shown.isEmpty() && IsSameOrBelow(shown, target))
            return true;
    }
    return false;
}

QString FolderDeletionReport(const Leftovers& left) {
    constexpr int Shown = 20;
    QString text;
    qsizetype listed = 0, more = 0;
    const auto section = [&](const QString& heading, const QStringList& paths) {
        const QStringList shown = paths.mid(0, std::max<qsizetype>(Shown - listed, 0));
        more += paths.size() - shown.size();
        if (shown.isEmpty())
            return;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += heading + QLatin1Char('\n') + shown.join(QLatin1Char('\n'));
        listed += shown.size();
    };
    section(QStringLiteral("次のファイルを削除できませんでした。"), left.files);
    section(QStringLiteral("次のフォルダーを削除できませんでした。"), left.folders);
    if (more > 0)
        text += QStringLiteral("\nほか %1 件").arg(more);
    return text;
}
