#pragma once

// The desktop's shared thumbnail cache as the thumbnail workers use it: they
// look a file up before decoding it and write what they decoded afterwards.
// Whatever goes wrong with the cache (missing, unreadable, read-only, full,
// or holding files that lie) only means that the picture is decoded; nothing
// is written outside the cache folder, no link below it is followed, and no
// thumbnail is shown that was not made of the file at hand. Safe to share
// between threads; nothing is opened or created before a worker needs it.
#include "thumbs/CacheRules.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <mutex>
#include <sys/stat.h>

// A picture whose pixels are all opaque loses its alpha channel (the same
// bits): it is shown as it is, and written to the cache as red, green and blue.
void DropOpaqueAlpha(QImage& image);

class ThumbCache {
public:
    // The cache for thumbnails shown in a box of logical pixels at a device
    // pixel ratio, in the cache folder the environment names now
    // (XDG_CACHE_HOME, HOME). Its size folder is the smallest whose square
    // holds the box's device pixels.
    ThumbCache(QSize box, qreal pixelRatio);
    ~ThumbCache();
    ThumbCache(const ThumbCache&) = delete;
    ThumbCache& operator=(const ThumbCache&) = delete;

    // The side of the size folder's square, which a picture is decoded into
    // so that one result serves the folder and the box; 0 when no folder is
    // that large (the cache is then never used).
    int square() const { return m_size.pixels; }

    // One file on its way through the cache.
    struct Visit {
        QString path;
        QString name; // of its thumbnail and its failure record
        FileStamp stamp;
        struct stat before {};
        bool readable = false; // the cache may be asked about this file
        bool writable = false; // and told what its decoding gave
    };
    Visit visit(const QString& path);

    // A thumbnail of the file that serves the box: the picture reduced into
    // the folder's square, with the picture's natural size. Null when none.
    struct Found {
        QImage image;
        QSize natural;
    };
    Found find(const Visit& v);
    // Whether this program recorded that the file, as it is now, is no picture.
    bool knownFailure(const Visit& v);

    // Writes the thumbnail (the picture reduced into the folder's square),
    // or the record that the file is no picture, unless the file changed
    // while it was read or the cache cannot be written.
    void store(const Visit& v, const QImage& reduced, QSize natural);
    void storeFailure(const Visit& v);

private:
    struct Folders {
        int root = -1;
        int size = -1;
        int fail = -1;
    };
    // The folders open for reading, or with the one to be written made first.
    enum class Use { Read, WriteThumbnail, WriteFailure };
    Folders folders(Use use);
    void openExisting();
    int openFailureFolder(bool create);
    void createMissing(bool failures);
    void findCanonicalRoot();
    bool unchanged(const Visit& v) const;
    bool insideCache(const QString& path);
    void write(int folder, const Visit& v, const QByteArray& png);

    const QString m_root;
    const CacheSize m_size;
    const QSize m_box;
    const qreal m_ratio;
    std::mutex m_lock;
    Folders m_folders;
    bool m_opened = false;
    bool m_triedRoot = false;
    bool m_triedSize = false;
    bool m_triedFail = false;
    QString m_canonicalRoot;
    QString m_lastFolder;
    bool m_lastInside = false;
    std::atomic<bool> m_writeFailed{false};
};
