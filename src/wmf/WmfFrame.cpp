#include "wmf/WmfFrame.h"

#include "wmf/WmfRecords.h"

#include <cmath>

namespace wmf {

namespace {

// The logical points that bound what a drawing record draws (its shape's
// corners or points, a text's reference point, a bitmap's target corners).
void boundingPoints(const Params& p, quint16 function, QList<QPointF>& out) {
    auto rectAt = [&](int index) {
        if (p.has(2 * (index + 4))) {
            out.append(QPointF(p.s16(index + 3), p.s16(index + 2)));
            out.append(QPointF(p.s16(index + 1), p.s16(index)));
        }
    };
    auto pointsAt = [&](qint64 firstWord, qint64 count) {
        if (!p.has(2 * (firstWord + 2 * count)))
            return;
        for (qint64 i = 0; i < count; ++i)
            out.append(QPointF(p.s16(firstWord + 2 * i), p.s16(firstWord + 2 * i + 1)));
    };
    switch (function) {
    case POLYGON:
    case POLYLINE:
        if (p.has(2))
            pointsAt(1, p.u16(0));
        break;
    case POLYPOLYGON: {
        if (!p.has(2))
            break;
        const qint64 polygons = p.u16(0);
        if (!p.has(2 + 2 * polygons))
            break;
        qint64 total = 0;
        for (qint64 i = 0; i < polygons; ++i)
            total += p.u16(1 + i);
        pointsAt(1 + polygons, total);
        break;
    }
    case RECTANGLE:
    case ELLIPSE:
        rectAt(0);
        break;
    case ROUNDRECT:
        rectAt(2);
        break;
    case ARC:
    case PIE:
    case CHORD:
        rectAt(4);
        break;
    case LINETO:
    case MOVETO:
    case EXTTEXTOUT:
        if (p.has(4))
            out.append(QPointF(p.s16(1), p.s16(0)));
        break;
    case TEXTOUT: {
        const qint64 words = (qint64(p.u16(0)) + 1) / 2;
        if (p.has(2 * (words + 3)))
            out.append(QPointF(p.s16(words + 2), p.s16(words + 1)));
        break;
    }
    case STRETCHDIB:
        if (p.has(22)) {
            const QPointF at(p.s16(10), p.s16(9));
            out.append(at);
            out.append(at + QPointF(p.s16(8), p.s16(7)));
        }
        break;
    default:
        break;
    }
}

} // namespace

bool IsDrawingRecord(quint16 function) {
    switch (function) {
    case POLYGON:
    case POLYLINE:
    case POLYPOLYGON:
    case RECTANGLE:
    case ROUNDRECT:
    case ELLIPSE:
    case ARC:
    case PIE:
    case CHORD:
    case LINETO:
    case TEXTOUT:
    case EXTTEXTOUT:
    case SETPIXEL:
    case PATBLT:
    case BITBLT:
    case STRETCHBLT:
    case DIBBITBLT:
    case DIBSTRETCHBLT:
    case STRETCHDIB:
    case SETDIBTODEV:
    case FILLREGION:
    case FRAMEREGION:
    case PAINTREGION:
    case INVERTREGION:
    case FLOODFILL:
    case EXTFLOODFILL:
        return true;
    default:
        return false;
    }
}

QSize ClampedSize(QSizeF size, int maxSide) {
    double w = std::abs(size.width()), h = std::abs(size.height());
    if (!std::isfinite(w) || !std::isfinite(h))
        return QSize(1, 1);
    const double longest = std::max(w, h);
    if (longest > maxSide) {
        w = w * maxSide / longest;
        h = h * maxSide / longest;
    }
    return QSize(std::clamp(int(std::lround(w)), 1, maxSide),
                 std::clamp(int(std::lround(h)), 1, maxSide));
}

std::optional<Frame> ComputeFrame(const File& file, const Limits& limits) {
    Frame frame;
    if (file.placeable) {
        const Placeable& b = *file.placeable;
        const double w = double(b.right) - b.left, h = double(b.bottom) - b.top;
        if (w != 0 && h != 0 && b.unitsPerInch != 0) {
            const QSizeF pixels(std::abs(w) * 96.0 / b.unitsPerInch,
                                std::abs(h) * 96.0 / b.unitsPerInch);
            Mapping& m = frame.initial;
            m.mode = MM_ANISOTROPIC;
            m.fixedMode = true;
            m.windowOrg = QPointF(b.left, b.top);
            m.windowExt = QPointF(w, h);
            m.defaultViewportExt = QPointF(pixels.width(), pixels.height());
            frame.device = QRectF(QPointF(0, 0), pixels);
            frame.natural = ClampedSize(pixels, limits.maxSide);
            return frame;
        }
    }

    // Follow the mapping up to the first drawing record.
    Mapping m;
    qsizetype first = 0;
    for (; first < file.records.size(); ++first) {
        const Record& r = file.records[first];
        if (IsDrawingRecord(r.function))
            break;
        m.apply(Params(file, r), r.function);
    }
    const bool scalable = m.mode == MM_ISOTROPIC || m.mode == MM_ANISOTROPIC;
    if (m.windowExtSet) {
        if (scalable)
            m.defaultViewportExt = QPointF(std::abs(m.windowExt.x()), std::abs(m.windowExt.y()));
        frame.initial = Mapping();
        frame.initial.defaultViewportExt = m.defaultViewportExt;
        if (m.mode == MM_TEXT)
            frame.device =
                QRectF(m.viewportOrg, QSizeF(std::abs(m.windowExt.x()), std::abs(m.windowExt.y())));
        else
            frame.device =
                m.toDevice().mapRect(QRectF(m.windowOrg, QSizeF(m.windowExt.x(), m.windowExt.y())));
    } else {
        // No window extent: the bounds of the drawing, mapped as it is drawn.
        QList<QPointF> points;
        double left = 0, top = 0, right = 0, bottom = 0;
        bool any = false;
        for (qsizetype i = 0; i < file.records.size(); ++i) {
            const Record& r = file.records[i];
            const Params p(file, r);
            if (m.apply(p, r.function))
                continue;
            points.clear();
            boundingPoints(p, r.function, points);
            const QTransform t = m.toDevice();
            for (const QPointF& pt : points) {
                const QPointF d = t.map(pt);
                left = any ? std::min(left, d.x()) : d.x();
                top = any ? std::min(top, d.y()) : d.y();
                right = any ? std::max(right, d.x()) : d.x();
                bottom = any ? std::max(bottom, d.y()) : d.y();
                any = true;
            }
        }
        const QRectF bounds(QPointF(left, top), QPointF(right, bottom));
        if (!any || bounds.width() < 1 || bounds.height() < 1)
            return std::nullopt;
        frame.initial = Mapping();
        frame.device = bounds;
    }
    frame.device = frame.device.normalized();
    if (!(frame.device.width() > 0) || !(frame.device.height() > 0) ||
        !std::isfinite(frame.device.width()) || !std::isfinite(frame.device.height()))
        return std::nullopt;
    frame.natural = ClampedSize(frame.device.size(), limits.maxSide);
    return frame;
}

} // namespace wmf
