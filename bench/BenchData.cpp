#include "BenchData.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QThread>

#include <atomic>
#include <cstdint>
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
} // namespace

bool EnsureBenchData(const QString& folder, int count, int width, int height) {
    QDir().mkpath(folder);
    std::atomic<int> nextIndex{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (int i = nextIndex++; i < count; i = nextIndex++) {
            const QString path = QDir(folder).filePath(
                QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
            if (QFileInfo(path).size() > 0)
                continue;
            const QString temp = path + QStringLiteral(".part");
            QImageWriter writer(temp, "jpeg");
            writer.setQuality(90);
            if (!writer.write(noisyPicture(width, height, uint32_t(i + 1))) ||
                !QFile::rename(temp, path))
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
