#pragma once

#include "wmf/WmfBitmap.h"
#include "wmf/WmfFile.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <optional>
#include <variant>

// The graphics objects a metafile creates into its object table, read from
// their records.
namespace wmf {

QColor ColorRef(quint32 value);

struct Pen {
    enum Style { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };
    int style = Solid; // the low four bits of the record's style
    int endCap = 0;    // 0 round, 1 square, 2 flat
    int join = 0;      // 0 round, 1 bevel, 2 miter
    double width = 0;  // logical units along x; 0 is one device pixel
    QColor color = Qt::black;
};

struct Brush {
    enum Style { Solid = 0, Null = 1, Hatched = 2, Pattern = 3, DibPattern = 5 };
    int style = Solid;
    QColor color = Qt::white;
    int hatch = 0;  // 0 horizontal to 5 diagonal cross
    QImage pattern; // Pattern and DibPattern
};

struct Font {
    int height = 0; // logical units; negative: the em height, positive: the cell height
    int width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charset = 0;
    int pitchAndFamily = 0;
    QString face;
};

struct Palette {
    QList<QRgb> colors;
};

// A region as its scans describe it: rectangles in logical units.
struct Region {
    QList<QRect> rects;
};

using Object = std::variant<std::monostate, Pen, Brush, Font, Palette, Region>;

std::optional<Pen> ReadPen(const Params& p);
std::optional<Brush> ReadBrush(const Params& p);
std::optional<Font> ReadFont(const Params& p);
std::optional<Palette> ReadPalette(const Params& p);
std::optional<Region> ReadRegion(const Params& p);
// DIBCREATEPATTERNBRUSH; palette resolves a table of palette indexes.
std::optional<Brush> ReadDibPatternBrush(const Params& p, const QList<QRgb>& palette,
                                         BitmapBudget& budget);

} // namespace wmf
