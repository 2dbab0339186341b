#include "thumbs/ThumbDecoder.h"

#include "thumbs/ThumbCache.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

struct ThumbDecoder::State {
    State(const QStringList& p, QSize b, qreal r, Pass pass)
        : paths(p), box(b), pixelRatio(r), standIns(pass == Pass::Listing), cache(b, r),
          results(size_t(p.size())) {}
    // Read by every worker at once: never changed (a non-const access to a
    // shared list would copy it, from several threads at a time).
    const QStringList paths;
    const QSize box;
    const qreal pixelRatio;
    const bool standIns;
    ThumbCache cache;
    std::atomic<int> next{0};
    std::atomic<bool> cancelled{false};
    std::mutex lock;
    std::vector<std::optional<Thumb>> results;
    // Behind a window: where each result goes, on the user-interface thread.
    std::function<void(int, Thumb)> ready;
};

namespace {
using StatePtr = std::shared_ptr<ThumbDecoder::State>;

QThreadPool& pool() {
    static QThreadPool* p = [] {
        auto* made = new QThreadPool(QCoreApplication::instance());
        made->setMaxThreadCount(ThumbDecoder::workerCount());
        return made;
    }();
    return *p;
}

// The listings that run (their decoders alive), and the workers behind
// windows that stepped aside for them, each to be started again once no
// listing runs. Both are kept under one lock, so that a worker never steps
// aside just after the last listing ended.
std::mutex rankLock;
int listings = 0;
std::vector<std::weak_ptr<ThumbDecoder::State>> waiting;

void work(const StatePtr& s);

void startWorker(const StatePtr& s) {
    // A listing's workers are taken from the queue before those behind windows.
    pool().start([s] { work(s); }, s->ready ? 0 : 1);
}

// Workers behind a window step aside while a listing runs, to be started
// again, as many, when none runs.
bool stepAside(const StatePtr& s, int workers) {
    if (!s->ready)
        return false;
    const std::lock_guard<std::mutex> g(rankLock);
    if (listings == 0)
        return false;
    waiting.insert(waiting.end(), size_t(workers), s);
    return true;
}

int workersFor(const StatePtr& s) {
    return std::min<int>(ThumbDecoder::workerCount(), int(s->paths.size()));
}

void listingBegins() {
    const std::lock_guard<std::mutex> g(rankLock);
    ++listings;
}

void listingEnds() {
    std::vector<std::weak_ptr<ThumbDecoder::State>> resumed;
    {
        const std::lock_guard<std::mutex> g(rankLock);
        if (--listings == 0)
            resumed.swap(waiting);
    }
    for (const std::weak_ptr<ThumbDecoder::State>& w : resumed)
        if (const StatePtr s = w.lock(); s && !s->cancelled)
            startWorker(s);
}

// Hands result i over: a listing takes it itself, a window behind which the
// work runs gets it on the user-interface thread while the decoder lives.
void handOver(const StatePtr& s, int i) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (!s->ready) {
        // Wakes the user-interface thread if it waits for this entry.
        QMetaObject::invokeMethod(
            app, [] {}, Qt::QueuedConnection);
        return;
    }
    const std::weak_ptr<ThumbDecoder::State> weak = s;
    QMetaObject::invokeMethod(
        app,
        [weak, i] {
            const StatePtr state = weak.lock();
            if (!state || state->cancelled)
                return;
            std::optional<Thumb> t;
            {
                const std::lock_guard<std::mutex> g(state->lock);
                t.swap(state->results[size_t(i)]);
            }
            if (t)
                state->ready(i, std::move(*t));
        },
        Qt::QueuedConnection);
}

void work(const StatePtr& s) {
    const int n = int(s->paths.size());
    while (!s->cancelled && !stepAside(s, 1)) {
        const int i = s->next++;
        if (i >= n)
            return;
        std::function<void()> afterwards;
        Thumb t =
            CachedThumb(s->paths[i], s->box, s->pixelRatio, s->cache, &afterwards, s->standIns);
        {
            const std::lock_guard<std::mutex> g(s->lock);
            s->results[size_t(i)] = std::move(t);
        }
        handOver(s, i);
        // The cache is written once the thumbnail has been handed over.
        if (afterwards)
            afterwards();
    }
}

void startWorkers(const StatePtr& s) {
    for (int w = workersFor(s); w > 0; --w)
        startWorker(s);
}
} // namespace

void ThumbDecoder::finish() {
    pool().waitForDone();
}

int ThumbDecoder::workerCount() {
    return std::max(2, QThread::idealThreadCount());
}

ThumbDecoder::ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio, Pass pass)
    : m_state(std::make_shared<State>(paths, box, pixelRatio, pass)) {
    listingBegins();
    startWorkers(m_state);
}

ThumbDecoder::ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio,
                           std::function<void(int, Thumb)> ready)
    : m_state(std::make_shared<State>(paths, box, pixelRatio, Pass::Whole)) {
    m_state->ready = std::move(ready);
    if (!stepAside(m_state, workersFor(m_state)))
        startWorkers(m_state);
}

ThumbDecoder::~ThumbDecoder() {
    m_state->cancelled = true;
    if (!m_state->ready)
        listingEnds();
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
