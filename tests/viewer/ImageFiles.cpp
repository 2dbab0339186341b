#include "ImageFiles.h"

#include <QBuffer>
#include <QtEndian>
#include <cstdlib>

namespace {
void le16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void le32(QByteArray& b, qint64 v) {
    le16(b, int(v & 0xFFFF));
    le16(b, int((v >> 16) & 0xFFFF));
}
void be16(QByteArray& b, int v) {
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}
} // namespace

QByteArray Jpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation) {
    // TIFF header (big-endian), one IFD with one SHORT entry, no next IFD.
    QByteArray tiff("MM\0*", 4);
    tiff.append("\0\0\0\x08", 4);
    be16(tiff, 1);
    be16(tiff, 0x0112);
    be16(tiff, 3);
    tiff.append("\0\0\0\x01", 4);
    be16(tiff, orientation);
    be16(tiff, 0);
    tiff.append("\0\0\0\0", 4);
    QByteArray payload("Exif\0\0", 6);
    payload += tiff;
    QByteArray app1("\xFF\xE1", 2);
    be16(app1, int(payload.size()) + 2);
    app1 += payload;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

QImage Halves(QSize size, QColor first, QColor second, Qt::Orientation split) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(second);
    const QRect half = split == Qt::Horizontal ? QRect(0, 0, size.width() / 2, size.height())
                                               : QRect(0, 0, size.width(), size.height() / 2);
    for (int y = half.top(); y <= half.bottom(); ++y)
        for (int x = half.left(); x <= half.right(); ++x)
            image.setPixelColor(x, y, first);
    return image;
}

QByteArray IconFile(int type, const QList<QSize>& sizes, const QList<QColor>& colours) {
    QList<QByteArray> images;
    for (int i = 0; i < sizes.size(); ++i) {
        const int w = sizes[i].width(), h = sizes[i].height();
        QByteArray dib;
        le32(dib, 40);
        le32(dib, w);
        le32(dib, 2 * h); // colour rows and mask rows
        le16(dib, 1);
        le16(dib, 32);
        le32(dib, 0);
        const int maskRow = ((w + 31) / 32) * 4;
        le32(dib, qint64(w) * h * 4 + qint64(maskRow) * h);
        for (int k = 0; k < 4; ++k)
            le32(dib, 0);
        const QColor c = colours[i];
        for (int p = 0; p < w * h; ++p) {
            dib.append(char(c.blue()));
            dib.append(char(c.green()));
            dib.append(char(c.red()));
            dib.append(char(0xFF));
        }
        dib.append(QByteArray(maskRow * h, '\0')); // all opaque
        images.append(dib);
    }
    QByteArray file;
    le16(file, 0);
    le16(file, type);
    le16(file, int(sizes.size()));
    qint64 offset = 6 + 16 * sizes.size();
    for (int i = 0; i < sizes.size(); ++i) {
        file.append(char(sizes[i].width() >= 256 ? 0 : sizes[i].width()));
        file.append(char(sizes[i].height() >= 256 ? 0 : sizes[i].height()));
        file.append(char(0));
        file.append(char(0));
        if (type == 2) { // hot spot
            le16(file, sizes[i].width() / 2);
            le16(file, sizes[i].height() / 2);
        } else {
            le16(file, 1);
            le16(file, 32);
        }
        le32(file, images[i].size());
        le32(file, offset);
        offset += images[i].size();
    }
    for (const QByteArray& image : images)
        file += image;
    return file;
}

QByteArray TwoFrameGif() {
    QByteArray gif("GIF89a", 6);
    le16(gif, 1);
    le16(gif, 1);
    gif.append(char(0x81)); // global colour table of 4 entries
    gif.append(char(0));
    gif.append(char(0));
    gif.append(QByteArray("\xFF\x00\x00\x00\x00\xFF\x00\x00\x00\x00\x00\x00", 12));
    // A looping application extension, so that readers treat it as animated.
    gif.append(QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19));
    // Each frame: graphic control (delay 10), descriptor, LZW data with
    // clear, the colour index, end.
    const char* data[2] = {"\x02\x44\x01\x00", "\x02\x4C\x01\x00"};
    for (const char* d : data) {
        gif.append(QByteArray("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8));
        gif.append(char(0x2C));
        le16(gif, 0);
        le16(gif, 0);
        le16(gif, 1);
        le16(gif, 1);
        gif.append(char(0));
        gif.append(char(2)); // minimum code size
        gif.append(QByteArray(d, 4));
    }
    gif.append(char(0x3B));
    return gif;
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}
