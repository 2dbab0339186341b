#pragma once

// The preview a camera embeds in the EXIF block of a JPEG, taken as a
// stand-in for the picture only when it shows the picture undistorted.
#include "platform/PictureClaim.h"

#include <QImage>
#include <QImageIOHandler>
#include <QRect>
#include <QSize>
#include <optional>

// A picture, or a stand-in for it, upright, with the picture's own size.
struct SourcePicture {
    QImage image;
    QSize natural; // the picture's size in pixels, upright
};

// Whether two sizes have the same proportions, within 2 %.
bool CloseProportions(QSize a, QSize b);

// The part of a preview that shows a picture of the given size (both as
// stored, before either is turned): all of it when its proportions are the
// picture's; else all but the black bars a camera adds on two opposite sides
// when the preview's shape differs from the picture's. The bars must be as
// wide as the picture's proportions make them, give or take a few lines, and
// nearly black all over; the picture's own dark edges are never taken for
// bars. Nothing when neither holds.
std::optional<QRect> PreviewContent(const QImage& preview, QSize picture);

// How the JPEG decoder turns a picture of the EXIF orientation (1 to 8).
QImageIOHandler::Transformations TurnOf(int orientation);

// The image turned so.
QImage Oriented(QImage image, int orientation);

// The preview embedded in a JPEG file, turned as the picture is, and the
// picture's natural size; read from the file's head alone (ReadJpegHead).
// Nothing unless the preview decodes as a JPEG, is no larger than the
// picture, and shows the picture undistorted (PreviewContent). Safe on any
// thread.
std::optional<SourcePicture> EmbeddedPreview(const ByteSource& head);
