#include "thumbs/ThumbDecoder.h"

#include "platform/Picture.h"
#include "thumbs/ThumbCache.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

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

// A picture decoded at reduced size for a box of device pixels, with its
// natural size; or why it could not be. Only regular files are read.
struct Decoded {
    FsStatus status = FsStatus::Other;
    QImage image;
    QSize natural;
};

Decoded decoded(const QString& path, QSize pixels) {
    Decoded out;
    const QFileInfo info(path);
    if (!info.exists()) {
        out.status = FsStatus::NotFound;
        return out;
    }
    if (!info.isFile())
        return out;
    Picture pic = LoadPicture(path, pixels);
    if (pic.status != FsStatus::Ok || pic.image.isNull()) {
        out.status = pic.status == FsStatus::Ok ? FsStatus::InvalidPicture : pic.status;
        return out;
    }
    out.status = FsStatus::Ok;
    out.natural = pic.naturalSize.isValid() ? pic.naturalSize : pic.image.size();
    out.image = std::move(pic.image);
    return out;
}

Thumb failed(FsStatus status) {
    Thumb out;
    out.status = status;
    return out;
}
} // namespace

Thumb DecodeThumb(const QString& path, QSize box, qreal pixelRatio) {
    Decoded d = decoded(path, DevicePixels(box, pixelRatio));
    if (d.status != FsStatus::Ok)
        return failed(d.status);
    return fitted(std::move(d.image), d.natural, box, pixelRatio);
}

Thumb CachedThumb(const QString& path, QSize box, qreal pixelRatio, ThumbCache& cache,
                  std::function<void()>* afterwards) {
    const ThumbCache::Visit visit = cache.visit(path);
    if (!visit.readable)
        return DecodeThumb(path, box, pixelRatio);
    ThumbCache::Found found = cache.find(visit);
    if (!found.image.isNull())
        return fitted(std::move(found.image), found.natural, box, pixelRatio);
    if (cache.knownFailure(visit))
        return failed(FsStatus::InvalidPicture);
    // Decoded into the cache's square, kept in the form a cached PNG is read
    // in, and the box's thumbnail made of that: the same pixels as from the
    // cache the next time.
    const QSize square(cache.square(), cache.square());
    Decoded d = decoded(path, square);
    if (d.status == FsStatus::InvalidPicture && afterwards)
        *afterwards = [&cache, visit] { cache.storeFailure(visit); };
    if (d.status != FsStatus::Ok)
        return failed(d.status);
    const BoxFit inSquare = FitBox(d.natural, square);
    QImage kept =
        inSquare.scaled && d.image.size() != inSquare.box
            ? d.image.scaled(inSquare.box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : std::move(d.image);
    kept.convertTo(QImage::Format_ARGB32);
    DropOpaqueAlpha(kept);
    Thumb out = fitted(kept, d.natural, box, pixelRatio);
    if (afterwards)
        *afterwards = [&cache, visit, kept, natural = d.natural] {
            cache.store(visit, kept, natural);
        };
    return out;
}

struct ThumbDecoder::State {
    State(const QStringList& p, QSize b, qreal r)
        : paths(p), box(b), pixelRatio(r), cache(b, r), results(size_t(p.size())) {}
    // Read by every worker at once: never changed (a non-const access to a
    // shared list would copy it, from several threads at a time).
    const QStringList paths;
    const QSize box;
    const qreal pixelRatio;
    ThumbCache cache;
    std::atomic<int> next{0};
    std::atomic<bool> cancelled{false};
    std::mutex lock;
    std::vector<std::optional<Thumb>> results;
};

namespace {
QThreadPool& pool() {
    static QThreadPool* p = [] {
        auto* made = new QThreadPool(QCoreApplication::instance());
        made->setMaxThreadCount(ThumbDecoder::workerCount());
        return made;
    }();
    return *p;
}

void work(const std::shared_ptr<ThumbDecoder::State>& s) {
    const int n = int(s->paths.size());
    for (int i = s->next++; i < n && !s->cancelled; i = s->next++) {
        std::function<void()> afterwards;
        Thumb t = CachedThumb(s->paths[i], s->box, s->pixelRatio, s->cache, &afterwards);
        {
            std::lock_guard<std::mutex> g(s->lock);
            s->results[size_t(i)] = std::move(t);
        }
        // Wakes the user-interface thread if it waits for this entry.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] {}, Qt::QueuedConnection);
        // The cache is written once the thumbnail has been handed over.
        if (afterwards)
            afterwards();
    }
}
} // namespace

void ThumbDecoder::finish() {
    pool().waitForDone();
}

int ThumbDecoder::workerCount() {
    return std::max(2, QThread::idealThreadCount());
}

ThumbDecoder::ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio)
    : m_state(std::make_shared<State>(paths, box, pixelRatio)) {
    const int workers = std::min<int>(workerCount(), int(paths.size()));
    for (int w = 0; w < workers; ++w) {
        std::shared_ptr<State> s = m_state;
        pool().start([s] { work(s); });
    }
}

ThumbDecoder::~ThumbDecoder() {
    m_state->cancelled = true;
}

int ThumbDecoder::count() const {
    return int(m_state->paths.size());
}

QString ThumbDecoder::path(int i) const {
    return m_state->paths.value(i);
}

Thumb ThumbDecoder::take(int i, const std::function<bool()>& stop) {
    if (i < 0 || i >= count())
        return Thumb{};
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_state->lock);
            std::optional<Thumb>& slot = m_state->results[size_t(i)];
            if (slot) {
                Thumb t = std::move(*slot);
                slot.reset();
                return t;
            }
        }
        if (stop && stop())
            return Thumb{};
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
