#include "platform/FileOps.h"

#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
FileFaultHook& faultHook() {
    static FileFaultHook hook;
    return hook;
}

FsStatus fault(const char* step, const QString& path) {
    return faultHook() ? faultHook()(step, path) : FsStatus::Ok;
}

FsStatus lastError() {
    return StatusFromErrno(errno);
}

// Closes a descriptor when the scope ends.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    int release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

ssize_t readSome(int fd, char* data, size_t size) {
    ssize_t n;
    do
        n = ::read(fd, data, size);
    while (n < 0 && errno == EINTR);
    return n;
}

// Both descriptors, read from the start, hold the same bytes.
bool sameContent(int a, int b) {
    if (::lseek(a, 0, SEEK_SET) != 0 || ::lseek(b, 0, SEEK_SET) != 0)
        return false;
    static constexpr size_t Block = 1 << 16;
    std::unique_ptr<char[]> x(new char[Block]), y(new char[Block]);
    for (;;) {
        const ssize_t n = readSome(a, x.get(), Block);
        if (n < 0)
            return false;
        ssize_t got = 0;
        while (got < n) {
            const ssize_t m = readSome(b, y.get() + got, size_t(n - got));
            if (m <= 0)
                return false;
            got += m;
        }
        if (n == 0)
            return readSome(b, y.get(), 1) == 0;
        if (std::memcmp(x.get(), y.get(), size_t(n)) != 0)
            return false;
    }
}

// Publishes a finished temporary file under the target name, refusing an
// existing target.
FsStatus publish(const QByteArray& temp, const QByteArray& target) {
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return FsStatus::Ok;
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    // File systems without the no-replace rename: a hard link refuses an
    // existing target as well.
    if (::link(temp.constData(), target.constData()) == 0) {
        ::unlink(temp.constData());
        return FsStatus::Ok;
    }
    return lastError();
}
// The path of a folder with every link in it resolved; empty when it cannot
// be resolved.
QByteArray realFolder(const QByteArray& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr),
                                                     &std::free);
    return real ? QByteArray(real.get()) : QByteArray();
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : QByteArray("/");
}

// The relative path from one resolved folder to a resolved path.
QByteArray relativePath(const QByteArray& from, const QByteArray& to) {
    const QList<QByteArray> a = from.split('/'), b = to.split('/');
    qsizetype common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common])
        ++common;
    QList<QByteArray> parts;
    for (qsizetype i = common; i < a.size(); ++i)
        if (!a[i].isEmpty())
            parts.append("..");
    for (qsizetype i = common; i < b.size(); ++i)
        parts.append(b[i]);
    return parts.isEmpty() ? QByteArray(".") : parts.join('/');
}

// The text a symbolic link needs at the target to lead where it leads now.
QByteArray movedLinkText(const QByteArray& link, const QByteArray& target, const QByteArray& text) {
    struct stat st {};
    if (text.isEmpty() || text.startsWith('/') || ::stat(link.constData(), &st) != 0)
        return text; // an absolute link, or one that leads nowhere, keeps its text
    const QByteArray from = realFolder(folderOf(link)), to = realFolder(folderOf(target));
    if (from.isEmpty() || to.isEmpty() || from == to)
        return text;
    // The folders on the way are resolved as the link resolved them; the
    // last part, when it is a link of its own, stays a link.
    const QByteArray leaf = text.mid(text.lastIndexOf('/') + 1);
    QByteArray led;
    if (leaf.isEmpty() || leaf == "." || leaf == "..")
        led = realFolder(from + '/' + text);
    else if (const QByteArray folder =
                 realFolder(from + '/' + text.left(text.size() - leaf.size()));
             !folder.isEmpty())
        led = (folder == "/" ? QByteArray() : folder) + '/' + leaf;
    return led.isEmpty() ? text : relativePath(to, led);
}

} // namespace

void SetFileFaultHook(FileFaultHook hook) {
    faultHook() = std::move(hook);
}

FsStatus CopyFileSafe(const QString& source, const QString& target) {
    if (const FsStatus st = fault("copy", source); st != FsStatus::Ok)
        return st;
    const QByteArray src = QFile::encodeName(source);
    const QByteArray dst = QFile::encodeName(target);
    struct stat lst {};
    if (::lstat(dst.constData(), &lst) == 0)
        return FsStatus::Exists;

    Fd in{::open(src.constData(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        return lastError();
    struct stat st {};
    if (::fstat(in.fd, &st) != 0)
        return lastError();
    if (!S_ISREG(st.st_mode))
        return FsStatus::NotFound;

    const QString folder = QFileInfo(target).path();
    QByteArray temp = QFile::encodeName(folder) + "/.piksor-copy-XXXXXX";
    Fd out{::mkostemp(temp.data(), O_CLOEXEC)};
    if (out.fd < 0)
        return lastError();
    auto fail = [&temp](FsStatus s) {
        ::unlink(temp.constData());
        return s;
    };

    static constexpr size_t Block = 1 << 16;
    std::unique_ptr<char[]> buffer(new char[Block]);
    off_t copied = 0;
    for (;;) {
        const ssize_t n = readSome(in.fd, buffer.get(), Block);
        if (n < 0)
            return fail(lastError());
        if (n == 0)
            break;
        if (const FsStatus w = WriteAll(out.fd, buffer.get(), n); w != FsStatus::Ok)
            return fail(w);
        copied += n;
    }
    if (::fsync(out.fd) != 0)
        return fail(lastError());
    struct stat now {};
    if (::fstat(in.fd, &now) != 0 || copied != now.st_size || !sameContent(in.fd, out.fd))
        return fail(FsStatus::Other);
    ::fchmod(out.fd, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(out.fd, times) != 0)
        return fail(lastError());
    if (::close(out.release()) != 0)
        return fail(lastError());
    if (const FsStatus p = publish(temp, dst); p != FsStatus::Ok)
        return fail(p);
    return FsStatus::Ok;
}

FsStatus DeleteFileSafe(const QString& path) {
    if (const FsStatus st = fault("delete", path); st != FsStatus::Ok)
        return st;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return lastError();
    if (S_ISDIR(st.st_mode))
        return FsStatus::Other;
    return ::unlink(native.constData()) == 0 ? FsStatus::Ok : lastError();
}

FsStatus CopyForMove(const QString& source, const QString& target) {
    const QByteArray src = QFile::encodeName(source);
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return CopyFileSafe(source, target);
    if (const FsStatus f = fault("copy", source); f != FsStatus::Ok)
        return f;
    QByteArray contents(st.st_size > 0 ? qsizetype(st.st_size) + 1 : 4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(src.constData(), contents.data(), size_t(contents.size()));
    if (n < 0)
        return lastError();
    if (n >= contents.size()) // the link changed meanwhile
        return FsStatus::Other;
    contents.truncate(n);
    contents = movedLinkText(src, QFile::encodeName(target), contents);
    // symlink() refuses an existing target, a link that leads nowhere too.
    if (::symlink(contents.constData(), QFile::encodeName(target).constData()) != 0)
        return lastError();
    return FsStatus::Ok;
}

FsStatus MoveFileSafe(const QString& source, const QString& target) {
    if (const FsStatus st = CopyForMove(source, target); st != FsStatus::Ok)
        return st;
    return DeleteFileSafe(source);
}

FsStatus RenameFileSafe(const QString& source, const QString& target) {
    if (const FsStatus st = fault("rename", source); st != FsStatus::Ok)
        return st;
    const QByteArray src = QFile::encodeName(source);
    const QByteArray dst = QFile::encodeName(target);
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0)
        return lastError();
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return FsStatus::Ok;
    if (errno != EINVAL && errno != ENOSYS)
        return lastError();
    if (::link(src.constData(), dst.constData()) != 0)
        return lastError();
    ::unlink(src.constData());
    return FsStatus::Ok;
}
