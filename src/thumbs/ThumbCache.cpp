#include "thumbs/ThumbCache.h"

#include "platform/Files.h"
#include "platform/Picture.h"
#include "thumbs/CacheFiles.h"
#include "thumbs/PngText.h"
#include "thumbs/PngWrite.h"
#include "thumbs/ThumbRules.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {
QByteArray encoded(const QString& name) {
    return QFile::encodeName(name);
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QByteArray encodePng(const QImage& image, const QList<QPair<QByteArray, QByteArray>>& tags) {
    const QByteArray bytes = EncodeThumbnailPng(image);
    return bytes.isEmpty() ? bytes : WithPngText(bytes, tags);
}

} // namespace

void DropOpaqueAlpha(QImage& image) {
    const QImage::Format f = image.format();
    if (f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

ThumbCache::ThumbCache(QSize box, qreal pixelRatio)
    : m_root(CurrentCacheRoot()),
      m_size(m_root.isEmpty() ? CacheSize() : CacheSizeFor(DevicePixels(box, pixelRatio))),
      m_box(box), m_ratio(pixelRatio) {}

ThumbCache::~ThumbCache() {
    closeFd(m_folders.root);
    closeFd(m_folders.size);
    closeFd(m_folders.fail);
}

void ThumbCache::openExisting() {
    m_opened = true;
    const QByteArray root = encoded(m_root);
    m_folders.root = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    m_folders.size = OpenCacheFolder(m_folders.root, m_size.folder, false);
    m_folders.fail = openFailureFolder(false);
    findCanonicalRoot();
}

int ThumbCache::openFailureFolder(bool create) {
    // One folder at a time, so that neither is reached through a link.
    const QStringList parts = FailureFolder().split(QLatin1Char('/'));
    const int all = OpenCacheFolder(m_folders.root, parts[0], create);
    const int own = OpenCacheFolder(all, parts[1], create);
    if (all >= 0)
        ::close(all);
    return own;
}

void ThumbCache::findCanonicalRoot() {
    // A folder that is the cache or lies within it is never thumbnailed.
    const QString canonical = QFileInfo(m_root).canonicalFilePath();
    m_canonicalRoot = canonical.isEmpty() ? m_root : canonical;
}

void ThumbCache::createMissing(bool failures) {
    if (m_folders.root < 0 && !m_triedRoot) {
        // The cache folder may be missing, and the folder that holds it
        // ($XDG_CACHE_HOME): each is made for the owner alone.
        m_triedRoot = true;
        for (const QString& p : {QFileInfo(m_root).path(), m_root})
            if (::mkdir(encoded(p).constData(), 0700) == 0)
                ::chmod(encoded(p).constData(), 0700);
        m_folders.root = ::open(encoded(m_root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        findCanonicalRoot();
    }
    if (!failures && m_folders.size < 0 && !m_triedSize) {
        m_triedSize = true;
        m_folders.size = OpenCacheFolder(m_folders.root, m_size.folder, true);
    }
    if (failures && m_folders.fail < 0 && !m_triedFail) {
        m_triedFail = true;
        m_folders.fail = openFailureFolder(true);
    }
}

ThumbCache::Folders ThumbCache::folders(Use use) {
    std::lock_guard<std::mutex> g(m_lock);
    if (m_size.pixels <= 0)
        return Folders();
    if (!m_opened)
        openExisting();
    if (use != Use::Read)
        createMissing(use == Use::WriteFailure);
    return m_folders;
}

bool ThumbCache::insideCache(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (folder == m_lastFolder)
            return m_lastInside;
    }
    folders(Use::Read);
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = folder;
    std::lock_guard<std::mutex> g(m_lock);
    m_lastFolder = folder;
    m_lastInside =
        canonical == m_canonicalRoot || canonical.startsWith(m_canonicalRoot + QLatin1Char('/'));
    return m_lastInside;
}

ThumbCache::Visit ThumbCache::visit(const QString& path) {
    Visit v;
    v.path = path;
    if (m_size.pixels <= 0)
        return v;
    const QByteArray name = encoded(path);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (::stat(name.constData(), &v.before) != 0 || !S_ISREG(v.before.st_mode))
        return v;
    // A file this user cannot read is neither looked up nor recorded, so
    // that it is shown (or not) as its decoding says once it can be read.
    if (::faccessat(AT_FDCWD, name.constData(), R_OK, AT_EACCESS) != 0)
        return v;
    if (insideCache(path))
        return v;
    v.stamp.uri = ListedUri(path);
    v.stamp.mtime = qint64(v.before.st_mtim.tv_sec);
    v.stamp.size = qint64(v.before.st_size);
    v.name = CacheFileName(v.stamp.uri);
    v.readable = true;
    // A change within the same second would keep the modification time the
    // cache compares: only a file left alone for a whole second after its
    // last change is written.
    v.writable = qint64(now.tv_sec) > v.stamp.mtime + 1;
    return v;
}

ThumbCache::Found ThumbCache::find(const Visit& v) {
    if (!v.readable)
        return Found();
    const Folders f = folders(Use::Read);
    const QByteArray bytes = ReadCacheFile(f.size, v.name, MaxCachedBytes(m_size.pixels));
    // The header and the text first: a PNG that is not whole, claims more
    // than the folder's square or names another file costs no decoding.
    const PngSummary head = ReadPngSummary(bytes);
    if (!head.complete || head.size.width() > m_size.pixels || head.size.height() > m_size.pixels ||
        !TagsHold(head.text, v.stamp))
        return Found();
    QSize natural = TaggedNaturalSize(head.text, head.size);
    if (!natural.isValid())
        natural = LoadPictureSize(v.path);
    if (!ThumbnailServes(head.size, natural, m_size.pixels, m_box, m_ratio))
        return Found();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    Found out;
    if (!reader.read(&out.image) || out.image.size() != head.size)
        return Found();
    out.natural = natural;
    return out;
}

bool ThumbCache::knownFailure(const Visit& v) {
    if (!v.readable)
        return false;
    const Folders f = folders(Use::Read);
    const PngSummary head = ReadPngSummary(ReadCacheFile(f.fail, v.name, MaxFailureRecordBytes));
    return head.complete && TagsHold(head.text, v.stamp);
}

bool ThumbCache::unchanged(const Visit& v) const {
    struct stat now {};
    if (::stat(encoded(v.path).constData(), &now) != 0)
        return false;
    return now.st_dev == v.before.st_dev && now.st_ino == v.before.st_ino &&
           now.st_size == v.before.st_size && now.st_mtim.tv_sec == v.before.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == v.before.st_mtim.tv_nsec;
}

void ThumbCache::write(int folder, const Visit& v, const QByteArray& png) {
    if (folder < 0 || png.isEmpty())
        return;
    // A temporary file of this process in the same folder, renamed over the
    // thumbnail: readers see the old file or the new one, never a part. The
    // rename replaces a link of that name, never what it points to.
    static std::atomic<int> serial{0};
    const QByteArray name = encoded(v.name);
    const QByteArray temp = name + ".piksor-" + QByteArray::number(qint64(::getpid())) + "-" +
                            QByteArray::number(serial++) + ".tmp";
    int error = 0;
    struct stat written {};
    const int fd = ::openat(folder, temp.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
    } else {
        if (::fchmod(fd, 0600) != 0 || WriteAll(fd, png.constData(), png.size()) != FsStatus::Ok ||
            ::fstat(fd, &written) != 0)
            error = errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0 && ::renameat(folder, temp.constData(), folder, name.constData()) != 0)
            error = errno;
        if (error != 0)
            ::unlinkat(folder, temp.constData(), 0);
    }
    // An entry that cannot be written is skipped; a cache that cannot be
    // written is written no more.
    if (error != 0) {
        if (StopsCacheWrites(error))
            m_writeFailed = true;
        return;
    }
    // The file may have been deleted, moved or renamed while this entry was
    // written, and the entries of its name forgotten before it arrived: it
    // goes again, unless it is no longer the one written here.
    struct stat now {};
    if (!unchanged(v) && ::fstatat(folder, name.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        now.st_dev == written.st_dev && now.st_ino == written.st_ino)
        ::unlinkat(folder, name.constData(), 0);
}

void ThumbCache::store(const Visit& v, const QImage& reduced, QSize natural) {
    if (!v.writable || m_writeFailed || reduced.isNull() || !unchanged(v))
        return;
    const Folders f = folders(Use::WriteThumbnail);
    write(f.size, v, encodePng(reduced, TagsToWrite(v.stamp, natural)));
}

void ThumbCache::storeFailure(const Visit& v) {
    if (!v.writable || m_writeFailed || !unchanged(v))
        return;
    const Folders f = folders(Use::WriteFailure);
    QImage empty(1, 1, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    write(f.fail, v, encodePng(empty, TagsToWrite(v.stamp)));
}
