#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Places for n windows side by side (columns) or one above the other (rows)
// filling an area; the last column or row takes what division leaves over.
QList<QRect> TileSideBySide(const QRect& area, int n);
QList<QRect> TileOneAboveOther(const QRect& area, int n);

// Places for n windows cascaded from the top-left corner, each one step
// further right and down, all of one size: two thirds of the area, as far as
// the steps leave room.
QList<QRect> Cascade(const QRect& area, int n, int step);

// Places for the icons of n minimised windows lined up along the bottom of an
// area, left to right, wrapping upwards when a row is full.
QList<QRect> LineUpIcons(const QRect& area, QSize icon, int n);

// The part of an area above the rows of icons that LineUpIcons makes for n
// minimised windows: where tiling and cascading place the open windows, so
// that no icon is covered.
QRect AreaAboveIcons(const QRect& area, QSize icon, int n);

// The version line of the version dialog: "Ver " major "." minor and the
// revision written straight after the minor number (1.1.0 gives "Ver 1.10").
QString VersionLine(int major, int minor, int revision);
