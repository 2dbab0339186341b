// The bitmap records: a device-independent (or old device-dependent) bitmap
// stretched onto a logical rectangle with a raster operation, and the
// pattern fills of PATBLT and of the blits that carry no bitmap.
#include "wmf/WmfPlayer.h"

#include "wmf/WmfRecords.h"

#include <cmath>

namespace wmf {

namespace {

constexpr quint32 SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                  SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                  NOTSRCERASE = 0x001100A6, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                  PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                  WHITENESS = 0x00FF0062;

QPainter::CompositionMode sourceMode(quint32 rop) {
    switch (rop) {
    case SRCPAINT:
        return QPainter::RasterOp_SourceOrDestination;
    case SRCAND:
        return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT:
        return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE:
        return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY:
        return QPainter::RasterOp_NotSource;
    case NOTSRCERASE:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT:
        return QPainter::RasterOp_NotSourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// Whether bytes start with the info header of a device-independent bitmap
// (some writers put one where the old device-dependent form belongs).
bool startsAsDib(QByteArrayView bits) {
    if (bits.size() < 4)
        return false;
    const quint32 size = Params(bits.data(), bits.size()).u32At(0);
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
           size == 124;
}

bool bottomUpDib(QByteArrayView dib) {
    const Params d(dib.data(), dib.size());
    return d.u32At(0) == 12 || qint32(d.u32At(8)) > 0;
}

} // namespace

QImage Player::blitSource(QByteArrayView bits, bool dib) {
    if (dib || startsAsDib(bits))
        return DecodeDib(bits, false, m_state.palette, m_budget);
    return DecodeBitmap16(bits, m_state.textColor, m_state.bkColor, m_budget);
}

void Player::playBitmap(const Params& p, quint16 function) {
    if (function == SETDIBTODEV) {
        // usage, scan count, first scan, source y, x, height, width, target
        // y, x, bitmap: the source rows drawn one to one at the target.
        if (!p.has(18))
            return;
        const QByteArrayView dib = p.bytes(18, p.size() - 18);
        const QImage image = DecodeDib(dib, p.u16(0) == 1, m_state.palette, m_budget);
        if (image.isNull())
            return;
        const double h = p.s16(5), wd = p.s16(6), y = p.s16(3);
        const double top = bottomUpDib(dib) ? image.height() - y - h : y;
        drawImage(image, QRectF(p.s16(4), top, wd, h), QPointF(p.s16(8), p.s16(7)), QPointF(wd, h),
                  SRCCOPY);
        return;
    }
    if (!p.has(4))
        return;
    const quint32 rop = p.u32At(0);
    // Words after the raster operation (two words).
    auto w = [&](int i) { return double(p.s16(2 + i)); };
    switch (function) {
    case PATBLT:
        if (p.has(12))
            patternBlit(QPointF(w(3), w(2)), QPointF(w(1), w(0)), rop);
        return;
    case STRETCHDIB: {
        // usage, source height, width, y, x, target height, width, y, x, bitmap
        if (!p.has(22))
            return;
        const bool indexes = p.u16(2) == 1;
        const QByteArrayView dib = p.bytes(22, p.size() - 22);
        const bool bottomUp = bottomUpDib(dib);
        const QImage image = DecodeDib(dib, indexes, m_state.palette, m_budget);
        if (image.isNull())
            return;
        // A bottom-up bitmap counts its source rows from the bottom.
        const double srcH = w(1), srcW = w(2), srcY = w(3), srcX = w(4);
        const double top = bottomUp ? image.height() - srcY - srcH : srcY;
        drawImage(image, QRectF(srcX, top, srcW, srcH), QPointF(w(8), w(7)), QPointF(w(6), w(5)),
                  rop);
        return;
    }
    case DIBSTRETCHBLT:
    case STRETCHBLT: {
        if (p.size() == 22) { // no bitmap: source height, width, y, x, reserved, target
            patternBlit(QPointF(w(8), w(7)), QPointF(w(6), w(5)), rop);
            return;
        }
        // source height, width, y, x, target height, width, y, x, bitmap
        if (!p.has(20))
            return;
        const QByteArrayView bits = p.bytes(20, p.size() - 20);
        const QImage image = blitSource(bits, function == DIBSTRETCHBLT);
        drawImage(image, QRectF(w(3), w(2), w(1), w(0)), QPointF(w(7), w(6)), QPointF(w(5), w(4)),
                  rop);
        return;
    }
    case DIBBITBLT:
    case BITBLT: {
        if (p.size() == 18) { // no bitmap: source y, x, reserved, height, width, y, x
            patternBlit(QPointF(w(6), w(5)), QPointF(w(4), w(3)), rop);
            return;
        }
        // source y, x, height, width, target y, x, bitmap
        if (!p.has(16))
            return;
        const QByteArrayView bits = p.bytes(16, p.size() - 16);
        const QImage image = blitSource(bits, function == DIBBITBLT);
        const QPointF size(w(3), w(2));
        drawImage(image, QRectF(QPointF(w(1), w(0)), QSizeF(size.x(), size.y())),
                  QPointF(w(5), w(4)), size, rop);
        return;
    }
    default:
        return;
    }
}

// Fills the logical rectangle with the brush, black, white or inverts it.
void Player::patternBlit(QPointF at, QPointF size, quint32 rop) {
    const QRectF d = world().mapRect(QRectF(at, QSizeF(size.x(), size.y())).normalized());
    switch (rop) {
    case PATCOPY:
        if (prepare(QRectF(at, QSizeF(size.x(), size.y())).normalized())) {
            m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            m_painter.fillRect(QRectF(at, QSizeF(size.x(), size.y())), qtBrush(m_state.brush));
        }
        break;
    case PATINVERT:
        fillDevice(d, qtBrush(m_state.brush), QPainter::RasterOp_SourceXorDestination);
        break;
    case DSTINVERT:
        fillDevice(d, Qt::white, QPainter::RasterOp_NotDestination);
        break;
    case BLACKNESS:
        fillDevice(d, Qt::black);
        break;
    case WHITENESS:
        fillDevice(d, Qt::white);
        break;
    default:
        break;
    }
}

// Draws the source rectangle of the image onto the logical target. Negative
// extents, on either side or through the mapping, mirror the image; the
// source is cut to the image, the target with it.
void Player::drawImage(const QImage& image, QRectF source, QPointF destAt, QPointF destSize,
                       quint32 rop) {
    if (image.isNull() || source.width() == 0 || source.height() == 0)
        return;
    if (rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT ||
        rop == PATINVERT) {
        patternBlit(destAt, destSize, rop); // the bitmap plays no part
        return;
    }
    const QPointF a = world().map(destAt), b = world().map(destAt + destSize);
    const bool mirrorX = (b.x() < a.x()) != (source.width() < 0);
    const bool mirrorY = (b.y() < a.y()) != (source.height() < 0);
    const QRectF dest = QRectF(a, b).normalized();
    source = source.normalized();
    if (!sane(dest) || dest.isEmpty())
        return;
    const QRectF cut = source.intersected(QRectF(image.rect()));
    if (cut.isEmpty())
        return;
    const double fx = dest.width() / source.width(), fy = dest.height() / source.height();
    const double x0 = mirrorX ? dest.right() - (cut.right() - source.left()) * fx
                              : dest.left() + (cut.left() - source.left()) * fx;
    const double y0 = mirrorY ? dest.bottom() - (cut.bottom() - source.top()) * fy
                              : dest.top() + (cut.top() - source.top()) * fy;
    const QRectF target(x0, y0, cut.width() * fx, cut.height() * fy);
    const QRect pixels = cut.toAlignedRect().intersected(image.rect());
    QImage part = image.copy(pixels);
    if (mirrorX || mirrorY)
        part = part.mirrored(mirrorX, mirrorY);
    applyClip();
    m_painter.resetTransform();
    m_painter.setCompositionMode(sourceMode(rop));
    m_painter.drawImage(target, part);
}

} // namespace wmf
