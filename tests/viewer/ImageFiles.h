#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

// Picture files written byte by byte, for formats and details that QImage
// cannot write itself.

// A JPEG of the image, at the given quality.
QByteArray Jpeg(const QImage& image, int quality = 90);

// The JPEG with an EXIF block whose orientation tag has the given value.
QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation);

// An image split into two halves: left and right, or top and bottom.
QImage Halves(QSize size, QColor first, QColor second, Qt::Orientation split);

// An icon (type 1) or cursor (type 2) file holding one 32-bit image per size,
// image i filled with colours[i].
QByteArray IconFile(int type, const QList<QSize>& sizes, const QList<QColor>& colours);

// A 1 x 1 GIF with two frames: the first frame red, the second blue.
QByteArray TwoFrameGif();

// Whether two colours differ by at most the tolerance in every channel.
bool Near(QColor a, QColor b, int tolerance = 40);
