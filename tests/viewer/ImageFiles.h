#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

// Picture files written byte by byte, for formats and details that QImage
// cannot write itself.

// The image as QImage writes it in the format ("BMP", "PNG" ...), at the
// given quality, optionally progressive.
QByteArray Encoded(const QImage& image, const char* format, int quality = -1,
                   bool progressive = false);

// A JPEG of the image, at the given quality, optionally progressive.
QByteArray Jpeg(const QImage& image, int quality = 90, bool progressive = false);

// The JPEG with an EXIF block right after its start, as a camera writes it,
// big- or little-endian: the orientation (none when 0) in the first image
// directory; the offset and length of a preview (a JPEG of its own) in the
// second, and the preview after it, all within one segment (64 KiB).
QByteArray WithExif(const QByteArray& jpeg, int orientation, const QByteArray& preview = {},
                    bool bigEndian = true);

// Where WithExif puts things, in bytes from the start of the block's TIFF
// header, which lies at byte Tiff of the file.
namespace CameraLayout {
inline constexpr int Tiff = 12, Ifd0 = 8, Ifd1 = 26, PreviewLength = 60, Ifd1Next = 64,
                     Preview = 68;
} // namespace CameraLayout

// An image split into two halves: left and right, or top and bottom.
QImage Halves(QSize size, QColor first, QColor second, Qt::Orientation split);

// An icon (type 1) or cursor (type 2) file holding one 32-bit image per size,
// image i filled with colours[i].
QByteArray IconFile(int type, const QList<QSize>& sizes, const QList<QColor>& colours);

// An icon file whose one image is the given PNG file.
QByteArray IconWithPng(const QByteArray& png);

// One-colour pictures that compress as far as their formats allow: an 8-bit
// run-length BMP (runs of 255, an end-of-line escape per row) and a GIF whose
// LZW codes stand for ever longer runs.
QByteArray FlatRunLengthBmp(QSize size, QColor colour);
QByteArray FlatGif(QSize size, QColor colour);

// The file with its header changed to claim another size (BMP, JPEG, a GIF of
// FlatGif with its frame, an icon's PNG image); the pixel data stays as it was.
QByteArray Claiming(QByteArray file, QSize size);

// A 1 x 1 GIF with two frames: the first frame red, the second blue.
QByteArray TwoFrameGif();

// Whether two colours differ by at most the tolerance in every channel.
bool Near(QColor a, QColor b, int tolerance = 40);
