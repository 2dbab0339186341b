#include "thumbs/ThumbSources.h"

#include "platform/ExifPreview.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "thumbs/ThumbCache.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A picture (or the picture already reduced into a larger square) made into
// the thumbnail of a box of logical pixels: fitted to the box, with the box's
// device pixels and the ratio they carry, unless the picture is smaller than
// the box and keeps its own pixels.
Thumb fitted(QImage picture, QSize natural, QSize box, qreal pixelRatio) {
    Thumb out;
    out.status = FsStatus::Ok;
    out.fit = FitBox(natural, box);
    if (out.fit.scaled) {
        const QSize pixels = DevicePixels(out.fit.box, pixelRatio);
        if (picture.size() != pixels)
            picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // Opaque pixels are shown as they are, without looking for transparent ones.
    DropOpaqueAlpha(picture);
    if (out.fit.scaled)
        picture.setDevicePixelRatio(pixelRatio);
    out.image = std::move(picture);
    return out;
}

Thumb failed(FsStatus status) {
    Thumb out;
    out.status = status;
    return out;
}

// A file opened for its sources: only a regular file, never waiting on a
// pipe or a device; its bytes read where a source asks, and no others.
class SourceFile final : public ByteSource {
public:
    explicit SourceFile(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat st {};
        if (m_fd < 0) {
            m_status = StatusFromErrno(errno);
        } else if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            m_status = FsStatus::Other;
        } else {
            m_status = FsStatus::Ok;
            m_size = st.st_size;
        }
    }
    ~SourceFile() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    FsStatus status() const { return m_status; }
    qint64 size() const override { return m_size; }
    QByteArray read(qint64 offset, qint64 length) const override {
        return m_status == FsStatus::Ok ? ReadSpan(m_fd, m_size, offset, length) : QByteArray();
    }

private:
    const int m_fd;
    FsStatus m_status = FsStatus::Other;
    qint64 m_size = 0;
};

// What a source gives: the picture, or a stand-in for it, with the picture's
// natural size; or, from the picture itself, why there is none.
struct Sourced {
    FsStatus status = FsStatus::Ok;
    SourcePicture picture; // null: nothing, the next source is asked
};

// The shared cache: a thumbnail that holds for the file, or the record that
// the file, as it is now, is no picture.
Sourced fromCache(ThumbCache& cache, const ThumbCache::Visit& visit) {
    ThumbCache::Found found = cache.find(visit);
    if (!found.image.isNull())
        return {FsStatus::Ok, {std::move(found.image), found.natural}};
    return {cache.knownFailure(visit) ? FsStatus::InvalidPicture : FsStatus::Ok, {}};
}

// The camera's preview, read from the head of the file alone, when the
// picture is larger than the box (a smaller one is shown as it is).
Sourced fromPreview(const SourceFile& file, QSize box) {
    std::optional<SourcePicture> preview = EmbeddedPreview(file);
    if (!preview || !FitBox(preview->natural, box).scaled)
        return {};
    return {FsStatus::Ok, std::move(*preview)};
}

// The picture itself, decoded at reduced size for a box of device pixels.
Sourced fromPicture(const QString& path, QSize pixels) {
    Picture pic = LoadPicture(path, pixels);
    if (pic.status != FsStatus::Ok || pic.image.isNull())
        return {pic.status == FsStatus::Ok ? FsStatus::InvalidPicture : pic.status, {}};
    const QSize natural = pic.naturalSize.isValid() ? pic.naturalSize : pic.image.size();
    return {FsStatus::Ok, {std::move(pic.image), natural}};
}
} // namespace

Thumb DecodeThumb(const QString& path, QSize box, qreal pixelRatio) {
    const SourceFile file(path);
    if (file.status() != FsStatus::Ok)
        return failed(file.status());
    Sourced s = fromPicture(path, DevicePixels(box, pixelRatio));
    if (s.picture.image.isNull())
        return failed(s.status);
    return fitted(std::move(s.picture.image), s.picture.natural, box, pixelRatio);
}

Thumb CachedThumb(const QString& path, QSize box, qreal pixelRatio, ThumbCache& cache,
                  std::function<void()>* afterwards, bool standIns) {
    const SourceFile file(path);
    if (file.status() != FsStatus::Ok)
        return failed(file.status());
    const ThumbCache::Visit visit = cache.visit(path);
    if (visit.readable) {
        Sourced cached = fromCache(cache, visit);
        if (cached.status != FsStatus::Ok)
            return failed(cached.status);
        if (!cached.picture.image.isNull())
            return fitted(std::move(cached.picture.image), cached.picture.natural, box, pixelRatio);
    }
    if (standIns) {
        Sourced preview = fromPreview(file, box);
        if (!preview.picture.image.isNull()) {
            Thumb t =
                fitted(std::move(preview.picture.image), preview.picture.natural, box, pixelRatio);
            t.standIn = true;
            return t;
        }
    }
    if (!visit.readable)
        return DecodeThumb(path, box, pixelRatio);
    // The one source whose result the cache is told of. Decoded into the
    // cache's square, kept in the form a cached PNG is read in, and the box's
    // thumbnail made of that: the same pixels as from the cache the next time.
    const QSize square(cache.square(), cache.square());
    Sourced d = fromPicture(path, square);
    if (d.status == FsStatus::InvalidPicture && afterwards)
        *afterwards = [&cache, visit] { cache.storeFailure(visit); };
    if (d.picture.image.isNull())
        return failed(d.status);
    const BoxFit inSquare = FitBox(d.picture.natural, square);
    QImage kept =
        inSquare.scaled && d.picture.image.size() != inSquare.box
            ? d.picture.image.scaled(inSquare.box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : std::move(d.picture.image);
    kept.convertTo(QImage::Format_ARGB32);
    DropOpaqueAlpha(kept);
    Thumb out = fitted(kept, d.picture.natural, box, pixelRatio);
    if (afterwards)
        *afterwards = [&cache, visit, kept, natural = d.picture.natural] {
            cache.store(visit, kept, natural);
        };
    return out;
}
