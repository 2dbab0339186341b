#include "wmf/WmfObjects.h"

#include "wmf/WmfText.h"

namespace wmf {

QColor ColorRef(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

std::optional<Pen> ReadPen(const Params& p) {
    if (!p.has(10))
        return std::nullopt;
    Pen pen;
    const quint16 style = p.u16(0);
    pen.style = style & 0x0F;
    pen.endCap = (style >> 8) & 0x0F;
    pen.join = (style >> 12) & 0x0F;
    pen.width = std::abs(int(p.s16(1)));
    pen.color = ColorRef(p.u32At(6));
    if (pen.style > Pen::Null)
        pen.style = Pen::Solid; // inside frame, user styles and alternate draw solid
    return pen;
}

std::optional<Brush> ReadBrush(const Params& p) {
    if (!p.has(8))
        return std::nullopt;
    Brush b;
    b.style = p.u16(0);
    b.color = ColorRef(p.u32At(2));
    b.hatch = p.u16(3);
    if (b.style == Brush::Hatched && b.hatch > 5)
        b.hatch = 0;
    // A pattern named here has no bitmap; it paints as its colour.
    if (b.style != Brush::Null && b.style != Brush::Hatched)
        b.style = Brush::Solid;
    return b;
}

std::optional<Font> ReadFont(const Params& p) {
    if (!p.has(18))
        return std::nullopt;
    Font f;
    f.height = p.s16(0);
    f.width = p.s16(1);
    f.escapement = p.s16(2);
    f.weight = p.s16(4);
    f.italic = p.u8At(10) != 0;
    f.underline = p.u8At(11) != 0;
    f.strikeOut = p.u8At(12) != 0;
    f.charset = p.u8At(13);
    f.pitchAndFamily = p.u8At(17);
    const qint64 nameBytes = std::min<qint64>(32, p.size() - 18);
    f.face = DecodeName(p.bytes(18, nameBytes), f.charset).trimmed();
    return f;
}

std::optional<Palette> ReadPalette(const Params& p) {
    if (!p.has(4))
        return std::nullopt;
    const qint64 count = p.u16(1);
    if (!p.has(4 + 4 * count))
        return std::nullopt;
    Palette palette;
    palette.colors.reserve(qsizetype(count));
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = 4 + 4 * i;
        palette.colors.append(qRgb(p.u8At(at), p.u8At(at + 1), p.u8At(at + 2)));
    }
    return palette;
}

std::optional<Region> ReadRegion(const Params& p) {
    // nextInChain, objectType, objectCount (2 words), regionSize, scanCount,
    // maxScan, bounding rectangle (4 words), then the scans.
    if (!p.has(22))
        return std::nullopt;
    const qint64 scans = p.u16(5);
    Region region;
    qint64 at = 22;
    for (qint64 s = 0; s < scans; ++s) {
        if (!p.has(at + 6))
            return std::nullopt;
        const qint64 count = p.u16At(at);
        const int top = qint16(p.u16At(at + 2));
        const int bottom = qint16(p.u16At(at + 4));
        if (count % 2 != 0 || !p.has(at + 6 + 2 * count + 2))
            return std::nullopt;
        for (qint64 i = 0; i < count; i += 2) {
            const int left = qint16(p.u16At(at + 6 + 2 * i));
            const int right = qint16(p.u16At(at + 8 + 2 * i));
            if (right > left && bottom > top)
                region.rects.append(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
        }
        at += 6 + 2 * count + 2;
    }
    // A region without scans is its bounding rectangle.
    if (scans == 0) {
        const QRect box(QPoint(p.s16(7), p.s16(8)), QPoint(p.s16(9) - 1, p.s16(10) - 1));
        if (box.isValid())
            region.rects.append(box);
    }
    return region;
}

std::optional<Brush> ReadDibPatternBrush(const Params& p, const QList<QRgb>& palette,
                                         BitmapBudget& budget) {
    if (!p.has(4))
        return std::nullopt;
    const int style = p.u16(0);
    const bool indexes = style != Brush::Pattern && p.u16(1) == 1;
    Brush b;
    b.style = Brush::DibPattern;
    b.pattern = DecodeDib(p.bytes(4, p.size() - 4), indexes, palette, budget);
    if (b.pattern.isNull()) {
        b.style = Brush::Solid;
        b.color = Qt::black;
    }
    return b;
}

} // namespace wmf
