#include "ImageFiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageWriter>
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

QByteArray Encoded(const QImage& image, const char* format, int quality, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray Jpeg(const QImage& image, int quality, bool progressive) {
    return Encoded(image, "jpeg", quality, progressive);
}

QByteArray WithExif(const QByteArray& jpeg, int orientation, const QByteArray& preview,
                    bool bigEndian) {
    using namespace CameraLayout;
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);
    out.setByteOrder(bigEndian ? QDataStream::BigEndian : QDataStream::LittleEndian);
    auto entry = [&](quint16 tag, quint16 type, quint32 value) { // a short first in its field
        out << tag << type << quint32(1) << (type == 3 && bigEndian ? value << 16 : value);
    };
    out << quint16(bigEndian ? 0x4D4D : 0x4949) << quint16(42) << quint32(Ifd0) << quint16(1);
    // The resolution unit stands where the orientation would.
    entry(orientation ? 0x0112 : 0x0128, 3, orientation ? orientation : 2);
    out << quint32(preview.isEmpty() ? 0 : Ifd1);
    if (!preview.isEmpty()) {
        out << quint16(3);
        entry(0x0103, 3, 6); // compressed as JPEG
        entry(0x0201, 4, Preview);
        entry(0x0202, 4, quint32(preview.size()));
        out << quint32(0);
    }
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + preview;
    QByteArray app1("\xFF\xE1", 2);
    be16(app1, int(payload.size()) + 2);
    return jpeg.left(2) + app1 + payload + jpeg.mid(2);
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

QByteArray IconWithPng(const QByteArray& png) {
    // An icon file of one image: 256 x 256, no palette, one plane of 32 bits.
    QByteArray file("\0\0\1\0\1\0\0\0\0\0\1\0\x20\0", 14);
    le32(file, png.size());
    le32(file, 22);
    return file + png;
}

QByteArray FlatRunLengthBmp(QSize size, QColor colour) {
    QByteArray runs;
    for (int y = 0; y < size.height(); ++y) {
        for (int left = size.width(); left > 0; left -= 255)
            runs.append(char(std::min(left, 255))).append('\0');
        runs.append('\0').append(char(y + 1 < size.height() ? 0 : 1)); // end of line, of bitmap
    }
    const qint64 n = runs.size();
    QByteArray bmp("BM", 2);
    for (qint64 v : std::initializer_list<qint64>{58 + n, 0, 58, 40, size.width(), size.height(),
                                                  1 | 8 << 16, 1, n, 0, 0, 1, 0})
        le32(bmp, v);
    le32(bmp, colour.rgb() & 0xFFFFFF); // the one colour of the palette
    return bmp + runs;
}

QByteArray FlatGif(QSize size, QColor colour) {
    QByteArray gif("GIF89a", 6);
    le16(gif, size.width());
    le16(gif, size.height());
    // A global table of 4 colours, the first the colour; the frame's descriptor.
    gif += QByteArray("\x81\0\0", 3) + char(colour.red()) + char(colour.green()) +
           char(colour.blue()) + QByteArray(9, '\0') + char(0x2C) + QByteArray(4, '\0');
    le16(gif, size.width());
    le16(gif, size.height());
    gif.append(QByteArray("\0\x02", 2)); // no local table; codes start at 3 bits
    // Clear (4), then code 0 for one pixel and codes 6, 7 ... for runs of 2,
    // 3 ... pixels, each the code the decoder is about to add.
    QByteArray data;
    quint32 bits = 0;
    int held = 0, width = 3, next = 6, limit = 8;
    auto put = [&](int code) {
        bits |= quint32(code) << held;
        for (held += width; held >= 8; held -= 8, bits >>= 8)
            data.append(char(bits & 0xFF));
    };
    put(4);
    qint64 left = qint64(size.width()) * size.height();
    for (int run = 1; left > 0; ++run) {
        const int length = int(std::min<qint64>(run, left));
        put(length == 1 ? 0 : 6 + length - 2);
        left -= length;
        if (run > 1 && ++next >= limit && limit < 4096) {
            limit *= 2;
            ++width;
        }
    }
    put(5);
    if (held > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255)
        gif += char(std::min<qsizetype>(255, data.size() - at)) + data.mid(at, 255);
    return gif + QByteArray("\0\x3B", 2);
}

QByteArray Claiming(QByteArray file, QSize size) {
    char* at = file.data();
    const quint16 w = quint16(size.width()), h = quint16(size.height());
    if (file.startsWith("BM")) {
        qToLittleEndian<qint32>(size.width(), at + 18);
        qToLittleEndian<qint32>(size.height(), at + 22);
    } else if (file.startsWith("\xFF\xD8")) {
        for (at += 2; quint8(at[1]) < 0xC0 || quint8(at[1]) > 0xC2;)
            at += 2 + qFromBigEndian<quint16>(at + 2);
        qToBigEndian(h, at + 5);
        qToBigEndian(w, at + 7);
    } else if (file.startsWith("GIF")) {
        for (char* screenThenFrame : {at + 6, at + 13 + 12 + 5}) { // after FlatGif's 4 colours
            qToLittleEndian(w, screenThenFrame);
            qToLittleEndian(h, screenThenFrame + 2);
        }
    } else {
        qToBigEndian<qint32>(size.width(), at + 22 + 16); // the icon's PNG header
        qToBigEndian<qint32>(size.height(), at + 22 + 20);
    }
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
