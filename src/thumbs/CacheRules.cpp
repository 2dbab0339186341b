#include "thumbs/CacheRules.h"

#include "thumbs/ThumbRules.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <string_view>

QString ThumbnailCacheRoot(const QString& xdgCacheHome, const QString& home) {
    // A relative XDG_CACHE_HOME is to be ignored, like an empty one.
    if (QDir::isAbsolutePath(xdgCacheHome))
        return QDir::cleanPath(xdgCacheHome + QStringLiteral("/thumbnails"));
    if (QDir::isAbsolutePath(home))
        return QDir::cleanPath(home + QStringLiteral("/.cache/thumbnails"));
    return QString();
}

const QList<CacheSize>& CacheSizes() {
    static const QList<CacheSize> sizes{{QStringLiteral("normal"), 128},
                                        {QStringLiteral("large"), 256},
                                        {QStringLiteral("x-large"), 512},
                                        {QStringLiteral("xx-large"), 1024}};
    return sizes;
}

CacheSize CacheSizeFor(QSize pixelBox) {
    const int need = std::max(pixelBox.width(), pixelBox.height());
    if (need <= 0)
        return CacheSize();
    for (const CacheSize& s : CacheSizes())
        if (need <= s.pixels)
            return s;
    return CacheSize();
}

QString FailureRecordsFolder() {
    return QStringLiteral("fail");
}

QString FailureFolder() {
    return FailureRecordsFolder() + QStringLiteral("/piksor-%1.%2.%3")
                                        .arg(PIKSOR_VERSION_MAJOR)
                                        .arg(PIKSOR_VERSION_MINOR)
                                        .arg(PIKSOR_VERSION_PATCH);
}

QByteArray SoftwareTag() {
    return QStringLiteral("Piksor %1.%2.%3")
        .arg(PIKSOR_VERSION_MAJOR)
        .arg(PIKSOR_VERSION_MINOR)
        .arg(PIKSOR_VERSION_PATCH)
        .toLatin1();
}

QByteArray FileUri(const QString& absolutePath) {
    // The characters a path keeps as they are, as the desktop's file
    // managers write them: the file name of a thumbnail is the hash of this
    // text, so any other choice would miss every thumbnail they made.
    static constexpr std::string_view kept = "-_.!~*'()/:@&=+$,";
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out("file://");
    for (const char c : QFile::encodeName(absolutePath)) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || kept.find(c) != std::string_view::npos;
        if (plain) {
            out.append(c);
        } else {
            out.append('%');
            out.append(hex[u >> 4]);
            out.append(hex[u & 15]);
        }
    }
    return out;
}

QString CacheFileName(const QByteArray& uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

bool StopsCacheWrites(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EROFS:
    case EACCES:
    case EPERM:
    case EIO:
    case ENOENT:
    case ESTALE:
    case EMFILE:
    case ENFILE:
    case ENOMEM:
    case EFBIG:
        return true;
    default:
        return false;
    }
}

namespace {
// A whole decimal number and nothing else; -1 when it is none.
qint64 number(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 18)
        return -1;
    for (const char c : text)
        if (c < '0' || c > '9')
            return -1;
    return text.toLongLong();
}
} // namespace

bool TagsHold(const PngTags& tags, const FileStamp& file) {
    if (tags.value("Thumb::URI") != file.uri)
        return false;
    if (number(tags.value("Thumb::MTime")) != file.mtime)
        return false;
    const auto size = tags.constFind("Thumb::Size");
    return size == tags.cend() || number(*size) == file.size;
}

QList<QPair<QByteArray, QByteArray>> TagsToWrite(const FileStamp& file, QSize natural) {
    QList<QPair<QByteArray, QByteArray>> tags{
        {"Thumb::URI", file.uri},
        {"Thumb::MTime", QByteArray::number(file.mtime)},
        {"Thumb::Size", QByteArray::number(file.size)},
    };
    if (natural.isValid()) {
        tags.append({"Thumb::Image::Width", QByteArray::number(natural.width())});
        tags.append({"Thumb::Image::Height", QByteArray::number(natural.height())});
    }
    tags.append({"Software", SoftwareTag()});
    return tags;
}

bool SameProportions(QSize thumb, QSize natural) {
    if (thumb.isEmpty() || natural.isEmpty())
        return false;
    // The longer side of the picture sets the factor; the other side may have
    // been rounded either way.
    const bool wide = natural.width() >= natural.height();
    const double f =
        wide ? double(thumb.width()) / natural.width() : double(thumb.height()) / natural.height();
    const double other = wide ? natural.height() * f : natural.width() * f;
    const int thumbOther = wide ? thumb.height() : thumb.width();
    return std::abs(thumbOther - other) <= 1.0 && f <= 1.0;
}

QSize TaggedNaturalSize(const PngTags& tags, QSize thumb) {
    const qint64 w = number(tags.value("Thumb::Image::Width"));
    const qint64 h = number(tags.value("Thumb::Image::Height"));
    if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000)
        return QSize();
    const QSize natural(static_cast<int>(w), static_cast<int>(h));
    return SameProportions(thumb, natural) ? natural : QSize();
}

bool ThumbnailServes(QSize thumb, QSize natural, int folderPixels, QSize box, qreal pixelRatio) {
    if (thumb.isEmpty() || natural.isEmpty() || folderPixels <= 0)
        return false;
    if (thumb.width() > folderPixels || thumb.height() > folderPixels)
        return false;
    const BoxFit fit = FitBox(natural, box);
    // The picture itself serves at any size, as its decoding has no more pixels.
    if (!fit.scaled || thumb == natural)
        return thumb == natural;
    const QSize shown = DevicePixels(fit.box, pixelRatio);
    return SameProportions(thumb, natural) && thumb.width() >= shown.width() &&
           thumb.height() >= shown.height();
}

qint64 MaxCachedBytes(int folderPixels) {
    const qint64 side = folderPixels;
    return 4 * side * (side + 1) + (1 << 20);
}
