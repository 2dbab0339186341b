#pragma once

// Where a thumbnail comes from. A worker walks one chain for each file,
// cheapest source first: the shared thumbnail cache, the preview a camera
// embedded in a JPEG (only where a stand-in is wanted), the picture itself.
// Each source takes the file and gives a picture with the picture's natural
// size, or nothing; only what the picture itself gave is written to the cache.
#include "platform/Status.h"
#include "thumbs/ThumbRules.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

class ThumbCache;

struct Thumb {
    FsStatus status = FsStatus::Other;
    QImage image; // the fitted thumbnail, or the unscaled small picture
    BoxFit fit;   // the box fitted to the picture's natural size
    // The camera's preview stands in for the picture: the real thumbnail,
    // of the same fitted box, is still to be made.
    bool standIn = false;
};

// One picture made into a thumbnail for a box (any thread). Only regular files
// are read: a pipe or a device named like a picture could block the reader.
// The box is in logical pixels; a fitted thumbnail has the screen's pixels,
// the box times the device pixel ratio, and carries that ratio. A picture
// smaller than the box keeps its own pixels, shown at its natural size.
Thumb DecodeThumb(const QString& path, QSize box, qreal pixelRatio = 1);

// The same through the whole chain: a cached thumbnail that holds for the
// file; else, when stand-ins are wanted, a camera's preview that shows the
// picture undistorted (its real thumbnail is then left to a later pass);
// else the picture decoded. What the cache is to be told afterwards (the new
// thumbnail, or that the file is no picture) is left in afterwards, to run
// once the thumbnail has been handed over.
Thumb CachedThumb(const QString& path, QSize box, qreal pixelRatio, ThumbCache& cache,
                  std::function<void()>* afterwards, bool standIns = false);
