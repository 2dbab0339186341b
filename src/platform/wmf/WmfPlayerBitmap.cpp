// The bitmap records: a device-independent (or old device-dependent) bitmap
// stretched onto a logical rectangle with a raster operation, and the
// pattern fills of PATBLT and of the blits that carry no bitmap.
#include "platform/wmf/WmfPlayer.h"

#include "platform/wmf/WmfRecords.h"

#include <cmath>

namespace wmf {

namespace {

constexpr quint32 SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
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

} // namespace

void Player::playBitmap(const Params& p, quint16 function) {
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
        bool bottomUp = true;
        const QByteArrayView dib = p.bytes(22, p.size() - 22);
        if (dib.size() >= 12 && quint8(dib[0]) >= 40 && dib.size() >= 12)
            bottomUp = qint32(Params(dib.data(), dib.size()).u32At(8)) > 0;
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
        const QImage image =
            function == DIBSTRETCHBLT
                ? DecodeDib(bits, false, m_state.palette, m_budget)
                : DecodeBitmap16(bits, m_state.textColor, m_state.bkColor, m_budget);
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
        const QImage image =
            function == DIBBITBLT
                ? DecodeDib(bits, false, m_state.palette, m_budget)
                : DecodeBitmap16(bits, m_state.textColor, m_state.bkColor, m_budget);
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
