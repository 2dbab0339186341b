#pragma once

// The head of a JPEG file: the markers before its compressed picture, read
// without touching that picture. The frame header gives the picture's size;
// the first APP1 segment, when it holds an EXIF block, gives the orientation
// the decoder turns the picture by and the preview a camera embedded there
// (the JPEG of the block's second image directory).
#include "platform/PictureClaim.h"

#include <QByteArray>
#include <QSize>
#include <optional>

struct JpegHead {
    QSize stored;        // the picture's size as stored, before it is turned
    int orientation = 1; // the EXIF orientation (1 to 8) the decoder turns it by
    QByteArray preview;  // the embedded preview's bytes; empty when there is none
};

// How many markers (and fill bytes) are walked at most before the frame, and
// how many bytes are read of each: its code, length and the frame's sides.
inline constexpr int kMostHeadMarkers = 64;
inline constexpr qint64 kMarkerPeek = 10;

// Walks the markers from the start of the file to the frame header, reading
// kMarkerPeek bytes of each and the whole of the first APP1 segment when it
// holds EXIF: at most 64 KiB, and never the compressed picture. Nothing when
// the file is no JPEG, a marker is broken, or the scan comes before a frame
// the decoder reads.
//
// The EXIF block is read as the decoder reads it for the orientation, within
// the one segment: every offset and count is checked against it, and
// directories are followed forward only, so none is read twice. The
// orientation is the decoder's where the block's first two directories tell
// it for certain, else 1; only then is there a preview, when the second
// directory names a run of bytes inside the segment.
std::optional<JpegHead> ReadJpegHead(const ByteSource& file);
