#include "wmf/WmfMapping.h"

#include "wmf/WmfRecords.h"

#include <cmath>

namespace wmf {

double UnitPixels(int mode) {
    switch (mode) {
    case MM_LOMETRIC:
        return 96.0 / 254.0;
    case MM_HIMETRIC:
        return 96.0 / 2540.0;
    case MM_LOENGLISH:
        return 96.0 / 100.0;
    case MM_HIENGLISH:
        return 96.0 / 1000.0;
    case MM_TWIPS:
        return 96.0 / 1440.0;
    default:
        return 1.0;
    }
}

namespace {

// x and y of a record that stores them as (y, x) words from the given index.
QPointF yx(const Params& p, int index) {
    return QPointF(p.s16(index + 1), p.s16(index));
}

bool scaleExt(const Params& p, QPointF& ext) {
    if (!p.has(8))
        return false;
    const qint64 yDenom = p.s16(0), yNum = p.s16(1), xDenom = p.s16(2), xNum = p.s16(3);
    if (xDenom == 0 || yDenom == 0)
        return false;
    const double x = std::trunc(ext.x() * double(xNum) / double(xDenom));
    const double y = std::trunc(ext.y() * double(yNum) / double(yDenom));
    if (x == 0 || y == 0 || std::abs(x) > 1e9 || std::abs(y) > 1e9)
        return false;
    ext = QPointF(x, y);
    return true;
}

} // namespace

bool Mapping::apply(const Params& p, quint16 function) {
    switch (function) {
    case SETMAPMODE: {
        const int m = p.u16(0);
        if (p.has(2) && !fixedMode && m >= MM_TEXT && m <= MM_ANISOTROPIC)
            mode = m;
        return true;
    }
    case SETWINDOWORG:
        if (p.has(4))
            windowOrg = yx(p, 0);
        return true;
    case SETVIEWPORTORG:
        if (p.has(4))
            viewportOrg = yx(p, 0);
        return true;
    case OFFSETWINDOWORG:
        if (p.has(4))
            windowOrg += yx(p, 0);
        return true;
    case OFFSETVIEWPORTORG:
        if (p.has(4))
            viewportOrg += yx(p, 0);
        return true;
    case SETWINDOWEXT:
    case SETVIEWPORTEXT: {
        if (!p.has(4))
            return true;
        const QPointF e = yx(p, 0);
        if (e.x() == 0 || e.y() == 0)
            return true;
        if (function == SETWINDOWEXT) {
            windowExt = e;
            windowExtSet = true;
        } else {
            viewportExt = e;
            viewportExtSet = true;
        }
        return true;
    }
    case SCALEWINDOWEXT:
        if (scaleExt(p, windowExt))
            windowExtSet = true;
        return true;
    case SCALEVIEWPORTEXT: {
        QPointF e = effectiveViewportExt();
        if (scaleExt(p, e)) {
            viewportExt = e;
            viewportExtSet = true;
        }
        return true;
    }
    default:
        return false;
    }
}

QTransform Mapping::toDevice() const {
    double sx = 1, sy = 1;
    if (mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) {
        const QPointF v = effectiveViewportExt();
        sx = v.x() / windowExt.x();
        sy = v.y() / windowExt.y();
        if (mode == MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
    } else if (mode != MM_TEXT) {
        sx = UnitPixels(mode);
        sy = -sx;
    }
    return QTransform(sx, 0, 0, sy, viewportOrg.x() - windowOrg.x() * sx,
                      viewportOrg.y() - windowOrg.y() * sy);
}

} // namespace wmf
