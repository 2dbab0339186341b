#include "BenchData.h"

#include "ImageFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace {
// A picture that compresses like a photograph taken in poor light: smooth
// colour fields with fine grain all over, so the decoder has real work.
QImage noisyPicture(int width, int height, uint32_t seed) {
    QImage img(width, height, QImage::Format_RGB32);
    uint32_t x = seed * 2654435761u + 1;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    const int cx = int(next() % uint32_t(width)), cy = int(next() % uint32_t(height));
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(row));
        for (int col = 0; col < width; ++col) {
            const uint32_t r = next();
            const int grain = int(r & 63) - 32;
            const int base = ((col - cx) * (col - cx) + (row - cy) * (row - cy)) >> 16;
            const int red = std::clamp(96 + (col >> 4) % 128 + grain, 0, 255);
            const int green = std::clamp(64 + (row >> 4) % 128 + int((r >> 8) & 63) - 32, 0, 255);
            const int blue = std::clamp(200 - (base & 127) + int((r >> 16) & 63) - 32, 0, 255);
            line[col] = qRgb(red, green, blue);
        }
    }
    return img;
}

// The photographs encoded into the folder, on every core; files already there
// are kept.
bool ensure(const QString& folder, int count, int width, int height,
            const std::function<QByteArray(const QImage&)>& encode) {
    QDir().mkpath(folder);
    std::atomic<int> nextIndex{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (int i = nextIndex++; i < count; i = nextIndex++) {
            QSaveFile file(QDir(folder).filePath(
                QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0'))));
            if (QFileInfo(file.fileName()).size() > 0)
                continue;
            const QByteArray bytes = encode(noisyPicture(width, height, uint32_t(i + 1)));
            if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) ||
                file.write(bytes) != bytes.size() || !file.commit())
                ok = false;
        }
    };
    std::vector<std::thread> threads;
    const int cores = std::max(1, QThread::idealThreadCount());
    for (int t = 0; t < cores; ++t)
        threads.emplace_back(work);
    for (auto& t : threads)
        t.join();
    return ok;
}
} // namespace

bool EnsureBenchData(const QString& folder, int count, int width, int height) {
    return ensure(folder, count, width, height,
                  [](const QImage& photo) { return Jpeg(photo, 90); });
}

bool EnsureCameraBenchData(const QString& folder, int count, int width, int height) {
    return ensure(folder, count, width, height, [](const QImage& photo) {
        QImage preview(160, 120, QImage::Format_RGB32);
        preview.fill(Qt::black);
        const QImage fitted =
            photo.scaled(preview.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&preview).drawImage((preview.width() - fitted.width()) / 2,
                                     (preview.height() - fitted.height()) / 2, fitted);
        return WithExif(Jpeg(photo, 90), 1, Jpeg(preview, 75), false);
    });
}
