#pragma once

// A thumbnail encoded as PNG for the shared cache: red, green and blue only
// when every pixel is opaque, with alpha otherwise. Tuned for speed, since a
// whole folder's thumbnails are written while the person waits: each row
// predicted from the one above and the differences run-length coded, which
// costs less than half of zlib's fastest level over adaptive filters and
// gives smaller files for photographs. Empty when the image is null.
#include <QByteArray>
#include <QImage>

QByteArray EncodeThumbnailPng(const QImage& image);
