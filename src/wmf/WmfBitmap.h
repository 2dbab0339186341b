#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QList>

// Bitmaps embedded in metafile records. A device-independent bitmap is
// checked field by field against the bytes that hold it and then handed to
// Qt's BMP reader; the old device-dependent form is read here.
namespace wmf {

// How many bitmap pixels one rendering may still decode; an embedded bitmap
// that would exceed it, or the per-bitmap cap, is not decoded.
class BitmapBudget {
public:
    BitmapBudget(qint64 perBitmap, qint64 total) : m_perBitmap(perBitmap), m_left(total) {}
    bool take(qint64 pixels);

private:
    qint64 m_perBitmap;
    qint64 m_left;
};

// The facts of a device-independent bitmap's header, checked against its
// bytes; valid is false when any field is impossible or the data is short.
struct DibInfo {
    bool valid = false;
    qint64 headerBytes = 0;
    qint64 width = 0, height = 0; // height negative: rows top-down
    int bitCount = 0;
    quint32 compression = 0;
    qint64 maskBytes = 0;  // bit-field masks after a 40-byte header
    qint64 colors = 0;     // colour-table entries
    qint64 entryBytes = 0; // bytes per table entry (3, 4 or, for palette indexes, 2)
    qint64 bitsOffset = 0; // where the pixel data starts
    qint64 bitsBytes = 0;  // how much of it there is
};

// paletteIndexes: the colour table holds 16-bit indexes into the selected
// palette (the DIB_PAL_COLORS usage) instead of colours.
DibInfo InspectDib(QByteArrayView dib, bool paletteIndexes);

// Decodes a device-independent bitmap; a null image when it is malformed,
// over budget or Qt cannot read it. palette resolves palette indexes.
QImage DecodeDib(QByteArrayView dib, bool paletteIndexes, const QList<QRgb>& palette,
                 BitmapBudget& budget);

// The image in a 32-bit format; an indexed image's colour table is first
// completed to its full size, so that no pixel indexes past it.
QImage Normalized(QImage image);

// The device-dependent bitmap of BITBLT and STRETCHBLT: monochrome (0 bits
// take the foreground colour, 1 bits the background), 24 or 32 bits.
QImage DecodeBitmap16(QByteArrayView bitmap, QColor foreground, QColor background,
                      BitmapBudget& budget);

} // namespace wmf
