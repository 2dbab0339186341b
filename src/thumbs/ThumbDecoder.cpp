#include "thumbs/ThumbDecoder.h"

#include "platform/Picture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

Thumb DecodeThumb(const QString& path, QSize box, qreal pixelRatio) {
    Thumb out;
    const QFileInfo info(path);
    if (!info.exists()) {
        out.status = FsStatus::NotFound;
        return out;
    }
    if (!info.isFile()) {
        out.status = FsStatus::Other;
        return out;
    }
    const auto devicePixels = [pixelRatio](QSize logical) {
        return (QSizeF(logical) * pixelRatio).toSize().expandedTo(QSize(1, 1));
    };
    Picture pic = LoadPicture(path, devicePixels(box));
    out.status = pic.status;
    if (pic.status != FsStatus::Ok || pic.image.isNull()) {
        if (out.status == FsStatus::Ok)
            out.status = FsStatus::InvalidPicture;
        return out;
    }
    out.fit = FitBox(pic.naturalSize.isValid() ? pic.naturalSize : pic.image.size(), box);
    if (!out.fit.scaled) {
        out.image = std::move(pic.image);
        return out;
    }
    const QSize pixels = devicePixels(out.fit.box);
    if (pic.image.size() != pixels)
        out.image = pic.image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    else
        out.image = std::move(pic.image);
    out.image.setDevicePixelRatio(pixelRatio);
    return out;
}

struct ThumbDecoder::State {
    State(const QStringList& p, QSize b, qreal r)
        : paths(p), box(b), pixelRatio(r), results(size_t(p.size())) {}
    // Read by every worker at once: never changed (a non-const access to a
    // shared list would copy it, from several threads at a time).
    const QStringList paths;
    const QSize box;
    const qreal pixelRatio;
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
        Thumb t = DecodeThumb(s->paths[i], s->box, s->pixelRatio);
        {
            std::lock_guard<std::mutex> g(s->lock);
            s->results[size_t(i)] = std::move(t);
        }
        // Wakes the user-interface thread if it waits for this entry.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] {}, Qt::QueuedConnection);
    }
}
} // namespace

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
