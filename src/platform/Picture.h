#pragma once

#include "platform/Status.h"

#include <QImage>
#include <QSize>
#include <QString>

// A picture file read from disk. The format is found from the content, not
// the name; EXIF orientation is applied.
struct Picture {
    QImage image; // null unless status is Ok
    FsStatus status = FsStatus::Other;
    QSize naturalSize; // the picture's own size in pixels (after orientation)
};

// Reads the whole picture at its natural size. A file that is no picture we
// can read gives InvalidPicture; a missing, unreadable or vanished file gives
// NotFound, Denied or Other.
Picture LoadPicture(const QString& path);

// The same, but a picture larger than the box is decoded at reduced size where
// the decoder can (the result keeps the proportions and is at least as large
// as the fitted box); naturalSize is still the full size.
Picture LoadPicture(const QString& path, QSize box);

// The picture's natural size (upright, as LoadPicture gives it) from the
// file's header, without decoding; invalid when the header does not say or
// the file is no picture we can read.
QSize LoadPictureSize(const QString& path);
