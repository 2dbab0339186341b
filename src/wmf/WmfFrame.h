#pragma once

#include "wmf/WmfFile.h"
#include "wmf/WmfMapping.h"

#include <QRectF>
#include <QSize>
#include <optional>

// Where a metafile's picture lies and how large it is by nature.
namespace wmf {

struct Frame {
    Mapping initial; // the context the records are played into
    QRectF device;   // the picture's area in device pixels (96 per inch)
    QSize natural;   // the natural size, clamped to Limits::maxSide
};

// With a placeable header: its box at its units per inch. Without one: the
// window extent in force when the first drawing record comes, through the map
// mode (or the viewport extent, when the file sets one); without a window
// extent, the bounds of what the records draw. nullopt when none of these
// gives an area.
std::optional<Frame> ComputeFrame(const File& file, const Limits& limits = {});

// Records that put something on the page (as opposed to setting state).
bool IsDrawingRecord(quint16 function);

// Natural size of a device area: rounded, at least 1, and scaled down keeping
// its proportions so that neither side exceeds maxSide.
QSize ClampedSize(QSizeF size, int maxSide);

} // namespace wmf
