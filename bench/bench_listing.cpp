// Listing a folder of 255 photographs of 4000 × 3000 pixels into 64- and
// 256-pixel boxes with the real thumbnail window on the offscreen platform,
// against the floor (the same files decoded at reduced size with QImageReader
// on every core, nothing else) and against vipsthumbnail on the same files.
// The shared thumbnail cache is a folder of the benchmark's own: the first
// listing finds it empty and writes it, the second lists from it, and a third
// lists from thumbnails another program made. Prints, per box size: the wall
// times and their ratios, the largest gap between two turns of the event loop
// during each listing, the peak resident memory of each listing against the
// thumbnails' own pixels, and how soon the first thumbnail of the first
// listing is seen whole inside the viewport against the time one file takes
// to decode on its own. Each measurement runs twice and the better run
// counts. For reference, the largest gap of an idle event loop while the
// floor decodes: what the machine's scheduler alone costs. Then 255 small
// files whose headers lie about their size against the same files telling
// the truth, each listing with an empty cache. Last, the photographs as a
// camera writes them, with its previews: how soon the listing is over, what
// it read until then, and how soon every real thumbnail is in place.
//
//   bench_listing [folder]    (default: bench/data of the source tree)
#include "BenchCache.h"
#include "BenchData.h"
#include "BenchLying.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/MsgBox.h"
#include "thumbs/ThumbDecoder.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"
#include "thumbs/frmPreview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <malloc.h>
#include <thread>
#include <vector>

namespace {
constexpr int Count = 255;
constexpr int Runs = 2;

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

// The peak resident set of the process since the last reset, in MiB.
double peakMiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void resetPeak() {
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Reads every file once so that all runs find them in the page cache.
void warmUp(const QStringList& files) {
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (const QString& path : files) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            while (f.read(buffer.data(), buffer.size()) > 0) {
            }
    }
}

// The largest gap between two turns of the event loop while the meter
// lives: a timer due every 2 ms notes how long it waited.
class GapMeter {
public:
    GapMeter() {
        m_turns.setTimerType(Qt::PreciseTimer);
        m_turns.setInterval(2);
        QObject::connect(&m_turns, &QTimer::timeout, [this] {
            m_largest = std::max(m_largest, sinceTurnMs());
            m_sinceTurn.restart();
        });
        m_sinceTurn.start();
        m_turns.start();
    }
    double largestMs() const { return std::max(m_largest, sinceTurnMs()); }

private:
    double sinceTurnMs() const { return double(m_sinceTurn.nsecsElapsed()) / 1e6; }
    QTimer m_turns;
    QElapsedTimer m_sinceTurn;
    double m_largest = 0;
};

// The floor's wall time. Meanwhile the event loop turns with nothing to do
// but the gap meter's timer: its largest gap is what this machine's
// scheduler alone costs an event loop beside decoding on every core.
double floorRun(const QStringList& files, int box, double& idleGapMs) {
    QElapsedTimer t;
    t.start();
    std::atomic<int> next{0}, finished{0};
    auto work = [&] {
        for (int i = next++; i < files.size(); i = next++) {
            QImageReader reader(files[i]);
            reader.setAutoTransform(true);
            reader.setScaledSize(FitBox(reader.size(), QSize(box, box)).box);
            const QImage img = reader.read();
            if (img.isNull())
                std::fprintf(stderr, "floor: cannot read %s\n", qPrintable(files[i]));
        }
        ++finished;
    };
    std::vector<std::thread> threads;
    const GapMeter gaps;
    for (int c = 0; c < QThread::idealThreadCount(); ++c)
        threads.emplace_back(work);
    while (finished < int(threads.size()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (std::thread& th : threads)
        th.join();
    idleGapMs = gaps.largestMs();
    return seconds(t);
}

double vipsRun(const QStringList& files, int box) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (program.isEmpty())
        return -1;
    QTemporaryDir out;
    QStringList args{QStringLiteral("-s"), QStringLiteral("%1x%1").arg(box), QStringLiteral("-o"),
                     out.filePath(QStringLiteral("%s.jpg"))};
    args += files;
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    const double s = seconds(t);
    if (p.exitCode() != 0)
        std::fprintf(stderr, "vipsthumbnail failed: %s\n", p.readAllStandardError().constData());
    return s;
}

// One thumbnail made on its own on this thread, as the listing's workers make it.
double singleDecode(const QString& path, int box) {
    QElapsedTimer t;
    t.start();
    if (DecodeThumb(path, QSize(box, box)).image.isNull())
        std::fprintf(stderr, "cannot decode %s\n", qPrintable(path));
    return seconds(t);
}

// Notes when a thumbnail box with its picture is first painted inside the
// viewport, with all of it that lies in the viewport shown (a box larger than
// the viewport shows what fits, and nothing may be cut off by the canvas).
class FirstSeen : public QObject {
public:
    FirstSeen(const QElapsedTimer& clock, const QWidget* viewport)
        : m_clock(clock), m_viewport(viewport) {}
    double ms = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (ms >= 0 || event->type() != QEvent::Paint)
            return false;
        auto* box = qobject_cast<ThumbBox*>(watched);
        if (!box || box->picture().isNull())
            return false;
        const QPoint at = box->mapTo(m_viewport, QPoint(0, 0));
        const QRect inView = (QRect(at, box->size()) & m_viewport->rect()).translated(-at);
        if (!inView.isEmpty() && box->visibleRegion() == QRegion(inView))
            ms = double(m_clock.nsecsElapsed()) / 1e6;
        return false;
    }

private:
    const QElapsedTimer& m_clock;
    const QWidget* m_viewport;
};

struct Listing {
    double wall = 0;
    double firstSeenMs = -1;
    double maxGapMs = 0;
    double peak = 0;
    double thumbMiB = 0;
    int shown = 0;
};

// A thumbnail window of the given box on the folder, shown and ready to list.
frmPreview* openWindow(frmMain& main, const QString& folder, int box) {
    mdlSt::sngSetting[mdlSt::SlotBoxWidth] = float(box);
    mdlSt::sngSetting[mdlSt::SlotBoxHeight] = float(box);
    mdlSt::strCurrentPath = folder;
    resetPeak();
    auto* w = new frmPreview;
    main.mdiArea->addSubWindow(w);
    w->show();
    w->txtPath->setText(folder);
    QCoreApplication::processEvents();
    return w;
}

// Counts the boxes with a picture and the memory of their pictures, then
// closes the window.
void closeWindow(frmPreview* w, int& shown, double& thumbMiB) {
    double bytes = 0;
    for (int i = 0; i < w->intFileCount; ++i) {
        if (w->lblName[i]->text().isEmpty())
            continue;
        ++shown;
        const QPixmap& pm = w->picPre1[i]->picture();
        bytes += double(pm.width()) * pm.height() * (pm.depth() / 8);
    }
    thumbMiB = bytes / (1024.0 * 1024.0);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Listing listingRun(frmMain& main, const QString& folder, int box) {
    frmPreview* w = openWindow(main, folder, box);

    Listing out;
    QElapsedTimer t;
    FirstSeen seen(t, w->picPreview);
    qApp->installEventFilter(&seen);
    t.start();
    {
        const GapMeter gaps;
        w->ListPre(folder);
        out.maxGapMs = gaps.largestMs();
    }
    out.wall = seconds(t);
    qApp->removeEventFilter(&seen);
    out.firstSeenMs = seen.ms;
    out.peak = peakMiB();
    closeWindow(w, out.shown, out.thumbMiB);
    return out;
}

// The bytes this process has read so far, through any call.
qint64 bytesRead() {
    QFile f(QStringLiteral("/proc/self/io"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// A camera card listed with an empty cache: when the listing is over (every
// box a picture, the window enabled), the bytes read until then, when every
// real thumbnail is in place, and the event loop's largest gap and the peak
// memory over both.
struct CardListing {
    double over = 0;
    double inPlace = 0;
    double bytesPerFile = 0;
    double maxGapMs = 0;
    double peak = 0;
    double thumbMiB = 0;
    int shown = 0;
};

CardListing cardRun(frmMain& main, const QString& folder, int box) {
    frmPreview* w = openWindow(main, folder, box);

    CardListing out;
    QElapsedTimer t;
    {
        const GapMeter gaps;
        const qint64 before = bytesRead();
        t.start();
        w->ListPre(folder);
        out.over = seconds(t);
        out.bytesPerFile = double(bytesRead() - before) / Count;
        while (w->isFinishing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        out.inPlace = seconds(t);
        out.maxGapMs = gaps.largestMs();
    }
    out.peak = peakMiB();
    closeWindow(w, out.shown, out.thumbMiB);
    return out;
}

const char* verdict(bool ok) {
    return ok ? "ok" : "MISSED";
}

void keepBetter(Listing& best, const Listing& one) {
    if (one.wall < best.wall)
        best = one;
}

// A listing's gap and memory against their targets; whether both are met.
bool printGapAndMemory(const char* what, const Listing& l) {
    const double limit = l.thumbMiB + 80;
    std::printf("  %-18s largest gap %6.1f ms (<= 50 %s), peak %6.1f MiB (<= %.1f %s)\n", what,
                l.maxGapMs, verdict(l.maxGapMs <= 50), l.peak, limit, verdict(l.peak <= limit));
    return l.maxGapMs <= 50 && l.peak <= limit;
}

// The load average of the last 1, 5 and 15 minutes: how busy the shared
// machine was.
QByteArray loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().split(' ').mid(0, 3).join(' ') : "unknown";
}

// The same photographs as a camera writes them, each with a preview of
// 160 x 120 in its EXIF block, listed with an empty cache, against the floor
// of the photographs without previews, measured in turn with them.
bool cardRuns(frmMain& main, const QString& folder, const QString& cacheRoot,
              const QStringList& floorFiles, QStringList& told) {
    QStringList cameraFiles;
    for (const QString& file : floorFiles)
        cameraFiles.append(QDir(folder).filePath(QFileInfo(file).fileName()));
    warmUp(cameraFiles);
    bool met = true;
    for (int box : {64, 256}) {
        const QByteArray loadBefore = loadAverage();
        double floor = 1e9, idleGap = 0;
        CardListing best;
        best.inPlace = 1e9;
        for (int run = 0; run < Runs; ++run) {
            double gap = 0;
            floor = std::min(floor, floorRun(floorFiles, box, gap));
            idleGap = std::max(idleGap, gap);
            ThumbDecoder::finish();
            ClearThumbnailCache(cacheRoot);
            const CardListing one = cardRun(main, folder, box);
            if (one.inPlace < best.inPlace)
                best = one;
        }
        ThumbDecoder::finish();
        const bool quick = best.over <= 0.10 * floor;
        const bool light = best.bytesPerFile <= 64 * 1024;
        const bool whole = best.inPlace <= 1.10 * floor;
        const bool smooth = best.maxGapMs <= 50;
        const double limit = best.thumbMiB + 80;
        const bool lean = best.peak <= limit;
        std::printf("\ncamera card, box %d x %d (load average %s, then %s): %d of %d shown; "
                    "messages: %s\n",
                    box, box, loadBefore.constData(), loadAverage().constData(), best.shown, Count,
                    qPrintable(told.join(QStringLiteral(" / "))));
        told.clear();
        std::printf("  listing over       %7.3f s   over/floor    %.3f (<= 0.10 %s)\n", best.over,
                    best.over / floor, verdict(quick));
        std::printf("  read until then    %7.1f KiB a file (<= 64 %s)\n", best.bytesPerFile / 1024,
                    verdict(light));
        std::printf("  all real in place  %7.3f s   inplace/floor %.3f (<= 1.10 %s)\n",
                    best.inPlace, best.inPlace / floor, verdict(whole));
        std::printf("  floor              %7.3f s   (the photographs without previews)\n", floor);
        std::printf("  largest gap        %7.1f ms  (<= 50 %s; an idle loop's %.1f ms)\n",
                    best.maxGapMs, verdict(smooth), idleGap);
        std::printf("  peak resident      %7.1f MiB (thumbnails %.1f MiB + 80 = %.1f %s)\n",
                    best.peak, best.thumbMiB, limit, verdict(lean));
        met = met && quick && light && whole && smooth && lean && best.shown == Count;
    }
    return met;
}

// Small files whose headers claim 16000 x 16000 pixels are refused before a
// decoder allocates for them: listing them costs at most twice listing the
// same files telling the truth, within the same memory.
bool lyingFilesRun(frmMain& main, const QString& cacheRoot, QStringList& told) {
    QTemporaryDir dir;
    const QString honest = dir.filePath(QStringLiteral("honest"));
    const QString lying = dir.filePath(QStringLiteral("lying"));
    if (!WriteLyingFolders(honest, lying, Count)) {
        std::fprintf(stderr, "cannot write the lying files into %s\n", qPrintable(dir.path()));
        return false;
    }
    constexpr int box = 64;
    const QByteArray loadBefore = loadAverage();
    Listing h, l;
    h.wall = l.wall = 1e9;
    QStringList lyingTold;
    // Each listing decodes: nothing is served from the cache.
    const auto fresh = [&](const QString& folder) {
        ThumbDecoder::finish();
        ClearThumbnailCache(cacheRoot);
        return listingRun(main, folder, box);
    };
    for (int run = 0; run < Runs; ++run) {
        keepBetter(h, fresh(honest));
        told.clear();
        keepBetter(l, fresh(lying));
        lyingTold = told;
    }
    told.clear();
    const double limit = l.thumbMiB + 80;
    const bool cheap = l.wall <= 2 * h.wall;
    const bool lean = l.peak <= limit;
    std::printf("\nfiles that lie about their size, box %d x %d (load average %s, then %s)\n", box,
                box, loadBefore.constData(), loadAverage().constData());
    std::printf("  honest listing     %7.3f s   %d of %d shown\n", h.wall, h.shown, Count);
    std::printf("  lying listing      %7.3f s   %d of %d shown; messages: %s\n", l.wall, l.shown,
                Count, qPrintable(lyingTold.join(QStringLiteral(" / "))));
    std::printf("  lying/honest       %7.3f     (<= 2 %s)\n", l.wall / h.wall, verdict(cheap));
    std::printf("  peak resident      %7.1f MiB (thumbnails %.1f MiB + 80 = %.1f %s)\n", l.peak,
                l.thumbMiB, limit, verdict(lean));
    return cheap && lean && l.shown == 0 && h.shown == Count;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(PIKSOR_BENCH_DATA);
    QElapsedTimer made;
    made.start();
    const QString cameraFolder = folder + QStringLiteral("-camera");
    if (!EnsureBenchData(folder, Count, 4000, 3000) ||
        !EnsureCameraBenchData(cameraFolder, Count, 4000, 3000)) {
        std::fprintf(stderr, "cannot write the photographs into %s\n", qPrintable(folder));
        return 1;
    }
    QStringList files;
    for (int i = 0; i < Count; ++i)
        files.append(
            QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
    std::printf("%d photographs of 4000 x 3000 in %s (ready after %.1f s), %d cores\n", Count,
                qPrintable(folder), seconds(made), QThread::idealThreadCount());
    warmUp(files);

    // 255 files bring the message about the limit: answered at once.
    QStringList told;
    SetMsgBoxHandler([&told](const MsgBoxCall& call) {
        told.append(call.prompt);
        return int(Msg::Ok);
    });
    QTemporaryDir programFolder;
    mdlSt::ResetState();
    mdlSt::SetProgramFolder(programFolder.path());
    frmMain main;
    main.resize(1000, 700);
    main.show();
    QCoreApplication::processEvents();

    QTemporaryDir cacheHome;
    const QString cacheRoot = UseOwnThumbnailCache(cacheHome.filePath(QStringLiteral("cache")));
    std::printf("thumbnail cache %s\n", qPrintable(cacheRoot));

    bool allMet = true;
    for (int box : {64, 256}) {
        const QString stash = cacheHome.filePath(QStringLiteral("foreign%1").arg(box));
        if (!MakeForeignThumbnails(files, box, stash)) {
            std::fprintf(stderr, "cannot make the other program's thumbnails\n");
            return 1;
        }
        // Each figure is the best of Runs, so that a neighbour's burst of work
        // on the shared cores does not decide the ratios.
        const QByteArray loadBefore = loadAverage();
        double floor = 1e9, vips = 1e9, single = 1e9, firstSeen = 1e9, idleGap = 0;
        Listing l, second, foreign;
        l.wall = second.wall = foreign.wall = 1e9;
        for (int run = 0; run < Runs; ++run) {
            double gap = 0;
            floor = std::min(floor, floorRun(files, box, gap));
            idleGap = std::max(idleGap, gap);
            single = std::min(single, singleDecode(files[0], box));
            ClearThumbnailCache(cacheRoot);
            const Listing one = listingRun(main, folder, box);
            keepBetter(l, one);
            if (one.firstSeenMs >= 0)
                firstSeen = std::min(firstSeen, one.firstSeenMs);
            ThumbDecoder::finish();
            keepBetter(second, listingRun(main, folder, box));
            ClearThumbnailCache(cacheRoot);
            if (!InstallThumbnails(stash, cacheRoot, box)) {
                std::fprintf(stderr, "cannot put the other program's thumbnails in place\n");
                return 1;
            }
            keepBetter(foreign, listingRun(main, folder, box));
            vips = std::min(vips, vipsRun(files, box));
        }
        const bool fast = l.wall <= 1.10 * floor;
        const bool beatsVips = vips > 0 && l.wall <= 0.5 * vips;
        const bool quick = second.wall <= 0.06 * l.wall;
        const bool foreignQuick = foreign.wall <= 1.2 * second.wall;
        const double firstLimit = 2 * single * 1000 + 50;
        const bool prompt = firstSeen <= firstLimit;
        const bool all = l.shown == Count && second.shown == Count && foreign.shown == Count;
        std::printf("\nbox %d x %d (load average %s, then %s): %d, %d and %d of %d thumbnails "
                    "shown; messages: %s\n",
                    box, box, loadBefore.constData(), loadAverage().constData(), l.shown,
                    second.shown, foreign.shown, Count,
                    qPrintable(told.join(QStringLiteral(" / "))));
        told.clear();
        std::printf("  first listing      %7.3f s (empty cache, written)\n", l.wall);
        std::printf("  floor              %7.3f s   first/floor   %.3f (<= 1.10 %s)\n", floor,
                    l.wall / floor, verdict(fast));
        if (vips > 0)
            std::printf("  vipsthumbnail      %7.3f s   first/vips    %.3f (<= 0.5 %s)\n", vips,
                        l.wall / vips, verdict(beatsVips));
        else
            std::printf("  vipsthumbnail      not installed (Debian package libvips-tools)\n");
        std::printf(
            "  first thumbnail    %7.1f ms  (one file alone %.1f ms; <= 2 x + 50 = %.1f %s)\n",
            firstSeen, single * 1000, firstLimit, verdict(prompt));
        std::printf("  second listing     %7.3f s   second/first  %.4f (<= 0.06 %s; stretch "
                    "0.04 %s)\n",
                    second.wall, second.wall / l.wall, verdict(quick),
                    verdict(second.wall <= 0.04 * l.wall));
        std::printf("  other program's    %7.3f s   other/second  %.3f (<= 1.2 %s)\n", foreign.wall,
                    foreign.wall / second.wall, verdict(foreignQuick));
        const bool first = printGapAndMemory("first listing", l);
        const bool again = printGapAndMemory("second listing", second);
        const bool other = printGapAndMemory("other program's", foreign);
        std::printf("  for reference      largest gap %6.1f ms of an idle event loop during the "
                    "floor runs\n",
                    idleGap);
        allMet = allMet && fast && beatsVips && prompt && quick && foreignQuick && all && first &&
                 again && other;
        std::fflush(stdout);
    }
    allMet = cardRuns(main, cameraFolder, cacheRoot, files, told) && allMet;
    allMet = lyingFilesRun(main, cacheRoot, told) && allMet;
    std::printf("\n%s\n", allMet ? "all targets met" : "some targets MISSED");
    return allMet ? 0 : 2;
}
