#pragma once

// The arithmetic of thumbnail windows, in plain functions: which files are
// images, how a picture is fitted into its box, where each cell of the grid
// lies, how the client area is divided, and how a click changes the selection.
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// The upper-cased text after the last "." of a file name; "" when there is none.
QString GetExtension(const QString& name);

// A name with one of the six picture extensions (BMP, JPG, GIF, ICO, CUR, WMF,
// in any letter case).
bool IsImageName(const QString& name);

// At most this many entries in one window.
inline constexpr int MaxEntries = 255;

// The text of the path box while entry i loads: "3読込み中   photo.jpg".
QString ProgressText(int i, const QString& name);

// A picture of natural size fitted into a box: the box keeps the picture's
// proportions, one side at the full box size. A picture smaller than the box in
// both directions is drawn unscaled at the box's top-left corner.
struct BoxFit {
    QSize box;
    bool scaled = true;
};
BoxFit FitBox(QSize natural, QSize box);

// The device pixels of a size in logical pixels at a device pixel ratio.
QSize DevicePixels(QSize logical, qreal pixelRatio);

// The grid: cells of (W + 16) × (H + 16 + label height), starting 16 pixels
// from the left and top of the canvas.
inline constexpr int GridMargin = 16;
int GridColumns(int canvasWidth, int boxWidth);
QPoint CellPosition(int cell, int columns, QSize box, int labelHeight);

// The canvas height that ends 17 pixels below the label of an entry whose box
// top is given.
int CanvasHeight(int boxHeight, int boxTop, int labelHeight);

// How far the canvas can scroll: the part of it below the viewport.
int ScrollMaximum(int canvasHeight, int viewportHeight);

// The client area of a thumbnail window: the viewport at the top left, the
// scroll bar right of it and the path box below, each one pixel apart.
struct PreviewLayout {
    QRect viewport;
    QRect scrollBar;
    QRect pathBox;
};
PreviewLayout LayoutClient(QSize client, int scrollBarWidth, int pathBoxHeight);

// Key states of a click as the window sees them: 1 Shift, 2 Ctrl, 4 Alt.
inline constexpr int ShiftNone = 0;
inline constexpr int ShiftShift = 1;
inline constexpr int ShiftCtrl = 2;

// A left click on entry k with the given key state: a plain click selects k
// alone (or clears it when it was the only one), Ctrl inverts k, Shift selects
// the range from k to the nearest selected entry (the later one at equal
// distance) and k itself. Other key states change nothing.
void ApplyClick(QList<bool>& selected, int k, int shift);
