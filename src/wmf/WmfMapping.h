#pragma once

#include "wmf/WmfFile.h"

#include <QPointF>
#include <QTransform>

// How logical coordinates become device pixels: the map mode with the window
// and viewport origins and extents, as a device context keeps them. "Device"
// here is the picture's own device at 96 pixels per inch; the renderer scales
// that to the size asked for.
namespace wmf {

struct Mapping {
    int mode = 1; // MM_TEXT
    QPointF windowOrg{0, 0};
    QPointF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QPointF viewportExt{1, 1};
    bool windowExtSet = false;
    bool viewportExtSet = false;
    // A placeable file is played into a context the player prepared (the
    // header's box onto the picture): its own map-mode records are ignored.
    bool fixedMode = false;
    // The viewport extent of the prepared context, used while the file sets
    // none of its own.
    QPointF defaultViewportExt{1, 1};

    // Applies a map-mode, origin or extent record; false for any other
    // record. An extent of zero on either axis is refused, as the device
    // context refuses it.
    bool apply(const Params& p, quint16 function);
    QTransform toDevice() const;
    QPointF effectiveViewportExt() const {
        return viewportExtSet ? viewportExt : defaultViewportExt;
    }
};

// Device pixels per logical unit of the fixed map modes (LOMETRIC to TWIPS);
// 1 for MM_TEXT and the scalable modes.
double UnitPixels(int mode);

} // namespace wmf
