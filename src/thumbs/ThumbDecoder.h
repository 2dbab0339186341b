#pragma once

// Thumbnails decoded ahead of the window that shows them: worker threads take
// the next file index from a shared counter, decode the picture at reduced size
// and scale it into its fitted box; the window takes the results one by one in
// listing order on the user-interface thread. No widget is touched here.
#include "platform/Status.h"
#include "thumbs/ThumbRules.h"

#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>

class ThumbCache;

struct Thumb {
    FsStatus status = FsStatus::Other;
    QImage image; // the fitted thumbnail, or the unscaled small picture
    BoxFit fit;   // the box fitted to the picture's natural size
};

// One picture made into a thumbnail for a box (any thread). Only regular files
// are read: a pipe or a device named like a picture could block the reader.
// The box is in logical pixels; a fitted thumbnail has the screen's pixels,
// the box times the device pixel ratio, and carries that ratio. A picture
// smaller than the box keeps its own pixels, shown at its natural size.
Thumb DecodeThumb(const QString& path, QSize box, qreal pixelRatio = 1);

// The same through the shared thumbnail cache: from a cached thumbnail that
// holds for the file, else decoded. What the cache is to be told afterwards
// (the new thumbnail, or that the file is no picture) is left in afterwards,
// to run once the thumbnail has been handed over.
Thumb CachedThumb(const QString& path, QSize box, qreal pixelRatio, ThumbCache& cache,
                  std::function<void()>* afterwards);

class ThumbDecoder {
public:
    ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio = 1);
    // Stops the workers; results not taken are dropped.
    ~ThumbDecoder();
    ThumbDecoder(const ThumbDecoder&) = delete;
    ThumbDecoder& operator=(const ThumbDecoder&) = delete;

    int count() const;
    QString path(int i) const;

    // The thumbnail of entry i, once decoded. Until then the events of the
    // user-interface thread keep running; when stop() turns true the wait
    // ends and the result is a failure.
    Thumb take(int i, const std::function<bool()>& stop);

    // How many workers decode at once.
    static int workerCount();
    // Waits until every worker has ended, its writes to the cache done.
    static void finish();

    // What the workers and the window share.
    struct State;

private:
    std::shared_ptr<State> m_state;
};
