#include "thumbs/CacheFiles.h"

#include "platform/Files.h"
#include "platform/Volumes.h"
#include "thumbs/CacheRules.h"
#include "thumbs/PngText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString CurrentCacheRoot() {
    return ThumbnailCacheRoot(qEnvironmentVariable("XDG_CACHE_HOME"), qEnvironmentVariable("HOME"));
}

int OpenCacheFolder(int parent, const QString& name, bool create) {
    if (parent < 0)
        return -1;
    const QByteArray n = QFile::encodeName(name);
    bool made = false;
    if (create) {
        made = ::mkdirat(parent, n.constData(), 0700) == 0;
        if (!made && errno != EEXIST)
            return -1;
    }
    const int fd = ::openat(parent, n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // The umask may have taken bits away: a new folder is the owner's alone.
    if (fd >= 0 && made)
        ::fchmod(fd, 0700);
    return fd;
}

QByteArray ReadCacheFile(int folder, const QString& name, qint64 limit) {
    if (folder < 0)
        return QByteArray();
    const int fd = ::openat(folder, QFile::encodeName(name).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray out;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= limit) {
        out.resize(qsizetype(st.st_size));
        out.truncate(ReadUpTo(fd, out.data(), out.size()));
    }
    ::close(fd);
    return out;
}

namespace {
// A path as the listing records it: absolute and cleaned, a link in it left
// as it is.
QString listedPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Removes the entries named after the URIs below an open folder (closed
// afterwards) whose Thumb::URI is that URI.
void forgetIn(int folder, const QList<QByteArray>& uris, qint64 limit) {
    if (folder < 0)
        return;
    for (const QByteArray& uri : uris) {
        const QString name = CacheFileName(uri);
        if (ReadPngSummary(ReadCacheFile(folder, name, limit)).text.value("Thumb::URI") == uri)
            ::unlinkat(folder, QFile::encodeName(name).constData(), 0);
    }
    ::close(folder);
}

// The URIs the cache may know a file by.
QList<QByteArray> cacheUris(const QString& path) {
    const QFileInfo listed(listedPath(path));
    QList<QByteArray> out{FileUri(listed.filePath())};
    // Only the folder is resolved: the file itself may be a link, whose
    // entries are its own and not those of the picture it leads to.
    const QString folder = QFileInfo(listed.path()).canonicalFilePath();
    if (!folder.isEmpty()) {
        const QByteArray real = FileUri(JoinPath(folder, listed.fileName()));
        if (real != out.first())
            out.append(real);
    }
    return out;
}
} // namespace

QByteArray ListedUri(const QString& path) {
    return FileUri(listedPath(path));
}

void ForgetThumbnails(const QString& absolutePath) {
    const QString root = CurrentCacheRoot();
    if (root.isEmpty())
        return;
    const int rootFd =
        ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return;
    const QList<QByteArray> uris = cacheUris(absolutePath);
    for (const CacheSize& size : CacheSizes())
        forgetIn(OpenCacheFolder(rootFd, size.folder, false), uris, MaxCachedBytes(size.pixels));
    // Every program's failure records: a record names the file by its path,
    // and one of a file that has left that path serves no program.
    const int fail = OpenCacheFolder(rootFd, FailureRecordsFolder(), false);
    if (DIR* programs = fail < 0 ? nullptr : ::fdopendir(fail)) {
        while (const dirent* e = ::readdir(programs))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                forgetIn(::openat(fail, e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                         uris, MaxFailureRecordBytes);
        ::closedir(programs);
    } else if (fail >= 0) {
        ::close(fail);
    }
    ::close(rootFd);
}
