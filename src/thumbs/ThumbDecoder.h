#pragma once

// Thumbnails decoded ahead of the window that shows them: worker threads take
// the next file index from a shared counter and walk the chain of sources for
// it (ThumbSources); the window takes the results one by one in listing order
// on the user-interface thread. Behind a window whose listing showed camera
// previews, the real thumbnails are made the same way but at a lower rank:
// they wait while any listing runs, and each is handed over as it is made. No
// widget is touched here.
#include "thumbs/ThumbSources.h"

#include <QStringList>
#include <functional>
#include <memory>

class ThumbDecoder {
public:
    // What the workers make of each file.
    enum class Pass {
        Whole,   // its real thumbnail
        Listing, // a picture for its box at once: a camera's preview may stand in
    };
    ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio = 1,
                 Pass pass = Pass::Whole);
    // The real thumbnails of files shown by stand-ins, made behind a window
    // while no listing runs anywhere, in the order of the paths as far as
    // the workers allow. Each is handed to `ready` on the user-interface
    // thread with its index, until the decoder is destroyed.
    ThumbDecoder(const QStringList& paths, QSize box, qreal pixelRatio,
                 std::function<void(int, Thumb)> ready);
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
    // Waits until every worker has ended, its writes to the cache done (work
    // behind a window that waits for a listing is not waited for).
    static void finish();

    // What the workers and the window share.
    struct State;

private:
    std::shared_ptr<State> m_state;
};
