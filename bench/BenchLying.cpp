#include "BenchLying.h"

#include "ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {
QImage grain(QSize size, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

bool WriteLyingFolders(const QString& honest, const QString& lying, int count) {
    if (!QDir().mkpath(honest) || !QDir().mkpath(lying))
        return false;
    const QSize huge(16000, 16000);
    for (int i = 0; i < count; ++i) {
        const QImage small = grain(QSize(16, 12), quint32(i + 1));
        QByteArray file;
        QSize claim = huge;
        QString name = QStringLiteral("pic%1.").arg(i, 3, 10, QLatin1Char('0'));
        switch (i % 6) {
        case 0: // 6 x 5 pixels of 24 bits: 154 bytes
            file = Encoded(small.copy(0, 0, 6, 5), "BMP");
            name += QLatin1String("bmp");
            break;
        case 1:
            file = FlatRunLengthBmp(QSize(40, 30), QColor::fromRgb(small.pixel(0, 0)));
            name += QLatin1String("bmp");
            break;
        case 2:
            file = Jpeg(small);
            claim = QSize(60000, 60000);
            name += QLatin1String("jpg");
            break;
        case 3:
            file = Jpeg(small, 90, true);
            name += QLatin1String("jpg");
            break;
        case 4:
            file = FlatGif(QSize(16, 12), QColor::fromRgb(small.pixel(0, 0)));
            name += QLatin1String("gif");
            break;
        default:
            file = IconWithPng(Encoded(small, "PNG"));
            name += QLatin1String("ico");
            break;
        }
        if (!write(QDir(honest).filePath(name), file) ||
            !write(QDir(lying).filePath(name), Claiming(file, claim)))
            return false;
    }
    return true;
}
