#include "platform/Files.h"

#include "platform/NameOrder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PassesMask(bool isDir, bool isHidden, int mask) {
    if (isDir)
        return (mask & Attr::Directory) != 0;
    if (isHidden)
        return (mask & (Attr::Hidden | Attr::System)) != 0;
    return true;
}

static bool isHiddenName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.startsWith(QLatin1Char('.'));
}

bool DirExists(const QString& path, int mask) {
    if (path.isEmpty())
        return false;
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0)
        return false;
    return PassesMask(S_ISDIR(st.st_mode), isHiddenName(path), mask);
}

FsStatus StatusFromErrno(int error) {
    switch (error) {
    case 0:
        return FsStatus::Ok;
    case ENOENT:
    case ENOTDIR:
        return FsStatus::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FsStatus::Denied;
    case EEXIST:
    case ENOTEMPTY:
        return FsStatus::Exists;
    case ENOSPC:
    case EDQUOT:
        return FsStatus::NoSpace;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return FsStatus::NotReady;
    default:
        return FsStatus::Other;
    }
}

DirListing DirEnumerate(const QString& folder, int mask) {
    DirListing out;
    const QByteArray native = QFile::encodeName(folder);
    if (::access(native.constData(), R_OK | X_OK) != 0) {
        out.status = StatusFromErrno(errno);
        return out;
    }
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (PassesMask(fi.isDir(), fi.fileName().startsWith(QLatin1Char('.')), mask))
            out.names.append(fi.fileName());
    }
    SortNames(out.names);
    return out;
}

// A symbolic link has no permission bits of its own: it is never read-only,
// and what it leads to is never asked about nor changed through it.
bool IsReadOnly(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISLNK(st.st_mode) &&
           !(st.st_mode & S_IWUSR);
}

FsStatus ClearAttributes(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return StatusFromErrno(errno);
    if (S_ISLNK(st.st_mode))
        return FsStatus::Ok;
    // Never through a link, even one that took the file's place meanwhile.
    if (::fchmodat(AT_FDCWD, native.constData(), (st.st_mode & 07777) | S_IWUSR,
                   AT_SYMLINK_NOFOLLOW) != 0)
        return errno == EOPNOTSUPP ? FsStatus::Ok : StatusFromErrno(errno);
    return FsStatus::Ok;
}

FsStatus WriteAll(int fd, const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return StatusFromErrno(errno);
        }
        done += n;
    }
    return FsStatus::Ok;
}

qint64 ReadUpTo(int fd, char* data, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = offset < 0
                              ? ::read(fd, data + done, size_t(size - done))
                              : ::pread(fd, data + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

QByteArray ReadSpan(int fd, qint64 fileSize, qint64 offset, qint64 length) {
    if (offset < 0 || offset >= fileSize || length <= 0)
        return {};
    QByteArray out(std::min(length, fileSize - offset), Qt::Uninitialized);
    out.truncate(ReadUpTo(fd, out.data(), out.size(), offset));
    return out;
}

namespace {

bool readBackEquals(const QByteArray& native, const QByteArray& content) {
    QFile f(QFile::decodeName(native));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.readAll() == content;
}
} // namespace

FsStatus WriteFileVerified(const QString& path, const QByteArray& content) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return StatusFromErrno(errno);
    ::fchmod(fd, 0644);
    FsStatus st = WriteAll(fd, content.constData(), content.size());
    if (st == FsStatus::Ok && ::fsync(fd) != 0)
        st = StatusFromErrno(errno);
    if (::close(fd) != 0 && st == FsStatus::Ok)
        st = StatusFromErrno(errno);
    if (st == FsStatus::Ok && !readBackEquals(temp, content))
        st = FsStatus::Other;
    if (st == FsStatus::Ok && ::rename(temp.constData(), target.constData()) != 0)
        st = StatusFromErrno(errno);
    if (st != FsStatus::Ok)
        ::unlink(temp.constData());
    return st;
}
