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
// A picture whose pixels are all opaque is handed over without its alpha
// channel (the same bits), so that the user-interface thread shows it as it
// is instead of looking for transparent pixels and converting it.
void dropOpaqueAlpha(QImage& image) {
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

// A picture (or the picture already reduced into a larger square) made into
// the thumbnail of a box: fitted to the box, and scaled unless the picture is
// smaller than the box.
Thumb fitted(QImage picture, QSize natural, QSize box) {
    Thumb out;
    out.status = FsStatus::Ok;
    out.fit = FitBox(natural.isValid() ? natural : picture.size(), box);
    if (out.fit.scaled && picture.size() != out.fit.box)
        out.image = picture.scaled(out.fit.box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
        out.image = std::move(picture);
    dropOpaqueAlpha(out.image);
    return out;
}

// The file's own failures before any reading: missing, or not a regular file.
bool refused(const QString& path, Thumb& out) {
    const QFileInfo info(path);
    if (!info.exists()) {
        out.status = FsStatus::NotFound;
        return true;
    }
    if (!info.isFile()) {
        out.status = FsStatus::Other;
        return true;
    }
    return false;
}

// The picture decoded at reduced size for a box, with its natural size.
Thumb decoded(const QString& path, QSize box) {
    Thumb out;
    if (refused(path, out))
        return out;
    Picture pic = LoadPicture(path, box);
    if (pic.status != FsStatus::Ok || pic.image.isNull()) {
        out.status = pic.status == FsStatus::Ok ? FsStatus::InvalidPicture : pic.status;
        return out;
    }
    const QSize natural = pic.naturalSize.isValid() ? pic.naturalSize : pic.image.size();
    out = fitted(std::move(pic.image), natural, box);
    out.natural = natural;
    return out;
}
} // namespace

Thumb DecodeThumb(const QString& path, QSize box) {
    return decoded(path, box);
}

Thumb CachedThumb(const QString& path, QSize box, ThumbCache& cache,
                  std::function<void()>* afterwards) {
    const ThumbCache::Visit visit = cache.visit(path);
    ThumbCache::Found found = cache.find(visit);
    if (!found.image.isNull()) {
        Thumb out = fitted(std::move(found.image), found.natural, box);
        out.natural = found.natural;
        return out;
    }
    if (cache.knownFailure(visit)) {
        Thumb out;
        out.status = FsStatus::InvalidPicture;
        return out;
    }
    // Decoded into the cache's square, in the form a cached PNG is read in,
    // and the box's thumbnail made of that: the same pixels as from the cache
    // the next time.
    Thumb reduced = decoded(path, cache.decodeBox());
    if (reduced.status == FsStatus::InvalidPicture && afterwards)
        *afterwards = [&cache, visit] { cache.storeFailure(visit); };
    if (reduced.status != FsStatus::Ok)
        return reduced;
    reduced.image.convertTo(QImage::Format_ARGB32);
    Thumb out = fitted(reduced.image, reduced.natural, box);
    out.natural = reduced.natural;
    if (afterwards)
        *afterwards = [&cache, visit, image = std::move(reduced.image), natural = reduced.natural] {
            cache.store(visit, image, natural);
        };
    return out;
}

struct ThumbDecoder::State {
    State(const QStringList& p, QSize b) : paths(p), box(b), cache(b), results(size_t(p.size())) {}
    // Read by every worker at once: never changed (a non-const access to a
    // shared list would copy it, from several threads at a time).
    const QStringList paths;
    const QSize box;
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
        Thumb t = CachedThumb(s->paths[i], s->box, s->cache, &afterwards);
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

ThumbDecoder::ThumbDecoder(const QStringList& paths, QSize box)
    : m_state(std::make_shared<State>(paths, box)) {
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
