#include "wmf/WmfBitmap.h"

#include <QBuffer>
#include <QImageReader>

namespace wmf {

namespace {

constexpr quint32 BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr qint64 kMaxSide = 65535;

quint32 le(QByteArrayView b, qint64 at, int count) {
    quint32 v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

void putLe(QByteArray& b, quint32 v, int count) {
    for (int i = 0; i < count; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

bool BitmapBudget::take(qint64 pixels) {
    if (pixels <= 0 || pixels > m_perBitmap || pixels > m_left)
        return false;
    m_left -= pixels;
    return true;
}

DibInfo InspectDib(QByteArrayView dib, bool paletteIndexes) {
    DibInfo d;
    const qint64 size = dib.size();
    if (size < 12)
        return d;
    d.headerBytes = le(dib, 0, 4);
    if (d.headerBytes == 12) {
        d.width = le(dib, 4, 2);
        d.height = le(dib, 6, 2);
        if (le(dib, 8, 2) != 1)
            return d;
        d.bitCount = int(le(dib, 10, 2));
    } else if (d.headerBytes == 40 || d.headerBytes == 52 || d.headerBytes == 56 ||
               d.headerBytes == 64 || d.headerBytes == 108 || d.headerBytes == 124) {
        if (size < d.headerBytes)
            return d;
        d.width = qint32(le(dib, 4, 4));
        d.height = qint32(le(dib, 8, 4));
        if (le(dib, 12, 2) != 1)
            return d;
        d.bitCount = int(le(dib, 14, 2));
        d.compression = le(dib, 16, 4);
        d.colors = le(dib, 32, 4);
    } else {
        return d;
    }
    const int b = d.bitCount;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
        return d;
    if (d.width <= 0 || d.width > kMaxSide || d.height == 0 || d.height < -kMaxSide ||
        d.height > kMaxSide)
        return d;
    switch (d.compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
        if (b != 8 || d.height < 0)
            return d;
        break;
    case BI_RLE4:
        if (b != 4 || d.height < 0)
            return d;
        break;
    case BI_BITFIELDS:
        if (b != 16 && b != 32)
            return d;
        if (d.headerBytes == 40)
            d.maskBytes = 12;
        break;
    default:
        return d;
    }
    if (b <= 8) {
        const qint64 full = qint64(1) << b;
        if (d.colors == 0 || d.colors > full)
            d.colors = full;
    }
    d.entryBytes = paletteIndexes ? 2 : (d.headerBytes == 12 ? 3 : 4);
    d.bitsOffset = d.headerBytes + d.maskBytes + d.colors * d.entryBytes;
    if (d.bitsOffset > size)
        return d;
    const qint64 available = size - d.bitsOffset;
    if (d.compression == BI_RLE8 || d.compression == BI_RLE4) {
        if (available < 2)
            return d;
        d.bitsBytes = available;
    } else {
        const qint64 rowBytes = (d.width * b + 31) / 32 * 4;
        const qint64 need = rowBytes * (d.height < 0 ? -d.height : d.height);
        if (need > available)
            return d;
        d.bitsBytes = need;
    }
    d.valid = true;
    return d;
}

QImage DecodeDib(QByteArrayView dib, bool paletteIndexes, const QList<QRgb>& palette,
                 BitmapBudget& budget) {
    const DibInfo d = InspectDib(dib, paletteIndexes);
    if (!d.valid)
        return {};
    const qint64 rows = d.height < 0 ? -d.height : d.height;
    if (!budget.take(d.width * rows))
        return {};

    // A BMP file in memory: file header, the info header as it is (colour
    // count made explicit), masks, colour table in RGB form, then the bits.
    QByteArray bmp;
    const qint64 outEntry = d.headerBytes == 12 ? 3 : 4;
    const qint64 offset = 14 + d.headerBytes + d.maskBytes + d.colors * outEntry;
    bmp.reserve(qsizetype(offset + d.bitsBytes));
    bmp.append("BM");
    putLe(bmp, quint32(offset + d.bitsBytes), 4);
    putLe(bmp, 0, 4);
    putLe(bmp, quint32(offset), 4);
    bmp.append(dib.data(), qsizetype(d.headerBytes));
    if (d.headerBytes >= 40) {
        // Colour count at 32 and image size at 20, as we read them.
        const quint32 colors = quint32(d.colors);
        for (int i = 0; i < 4; ++i)
            bmp[14 + 32 + i] = char((colors >> (8 * i)) & 0xFF);
        if (d.compression == BI_RLE8 || d.compression == BI_RLE4) {
            const quint32 bytes = quint32(d.bitsBytes);
            for (int i = 0; i < 4; ++i)
                bmp[14 + 20 + i] = char((bytes >> (8 * i)) & 0xFF);
        }
    }
    bmp.append(dib.data() + d.headerBytes, qsizetype(d.maskBytes));
    const qint64 table = d.headerBytes + d.maskBytes;
    for (qint64 i = 0; i < d.colors; ++i) {
        QRgb c;
        if (paletteIndexes) {
            const quint32 index = le(dib, table + 2 * i, 2);
            c = index < quint32(palette.size()) ? palette[index] : qRgb(0, 0, 0);
        } else {
            const qint64 at = table + i * d.entryBytes;
            c = qRgb(quint8(dib[at + 2]), quint8(dib[at + 1]), quint8(dib[at]));
        }
        bmp.append(char(qBlue(c)));
        bmp.append(char(qGreen(c)));
        bmp.append(char(qRed(c)));
        if (outEntry == 4)
            bmp.append('\0');
    }
    bmp.append(dib.data() + d.bitsOffset, qsizetype(d.bitsBytes));

    QBuffer buffer(&bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image;
    if (!reader.read(&image))
        return {};
    return Normalized(image);
}

QImage Normalized(QImage image) {
    // The pixel data may hold indexes past the colour table the file gave;
    // Qt's drawing looks them up unchecked, so the table is filled up first.
    if (image.colorCount() > 0 || image.depth() <= 8) {
        QList<QRgb> table = image.colorTable();
        const qsizetype full = qsizetype(1) << image.depth();
        while (table.size() < full)
            table.append(qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage DecodeBitmap16(QByteArrayView bitmap, QColor foreground, QColor background,
                      BitmapBudget& budget) {
    if (bitmap.size() < 10)
        return {};
    const qint64 width = qint16(le(bitmap, 2, 2));
    const qint64 height = qint16(le(bitmap, 4, 2));
    const qint64 rowBytes = qint16(le(bitmap, 6, 2));
    const int planes = quint8(bitmap[8]);
    const int bits = quint8(bitmap[9]);
    if (width <= 0 || height <= 0 || planes != 1 || (bits != 1 && bits != 24 && bits != 32))
        return {};
    if (rowBytes < (width * bits + 7) / 8 || rowBytes * height > bitmap.size() - 10)
        return {};
    if (!budget.take(width * height))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const QRgb fg = foreground.rgb(), bg = background.rgb();
    for (qint64 y = 0; y < height; ++y) {
        const char* row = bitmap.data() + 10 + y * rowBytes;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            if (bits == 1) {
                out[x] = (quint8(row[x / 8]) >> (7 - x % 8)) & 1 ? bg : fg;
            } else {
                const char* p = row + x * (bits / 8);
                out[x] = qRgb(quint8(p[2]), quint8(p[1]), quint8(p[0]));
            }
        }
    }
    return image;
}

} // namespace wmf
