#pragma once

// The rules of the desktop's shared thumbnail cache (the freedesktop.org
// Thumbnail Managing Standard) in plain functions: where the cache lies,
// which size folder serves a box, how a file's thumbnail is named, which tags
// it carries, and when a cached thumbnail holds for a file and a box.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSize>
#include <QString>

// The cache folder: $XDG_CACHE_HOME/thumbnails, or $HOME/.cache/thumbnails
// when XDG_CACHE_HOME is unset, empty or relative. Empty when neither gives an
// absolute folder.
QString ThumbnailCacheRoot(const QString& xdgCacheHome, const QString& home);

// A size folder of the cache and the square its thumbnails fit in. A folder
// of zero pixels is none.
struct CacheSize {
    QString folder;
    int pixels = 0;
};
// The size folders, smallest first: normal 128, large 256, x-large 512,
// xx-large 1024.
const QList<CacheSize>& CacheSizes();
// The smallest folder whose square holds a box of the given device pixels;
// none above 1024.
CacheSize CacheSizeFor(QSize pixelBox);

// The folder below the cache folder that holds every program's folder of
// failure records, and this program's folder of them (a path of two names).
QString FailureRecordsFolder();
QString FailureFolder();
// The value of the Software tag: the program and its version.
QByteArray SoftwareTag();

// The file:// URI of an absolute path: the path's bytes in the file system's
// encoding, each byte other than a letter, a digit or one of -_.!~*'()/:@&=+$,
// written as %XX.
QByteArray FileUri(const QString& absolutePath);

// The name of a file's thumbnail: the MD5 of its URI in hexadecimal and ".png".
QString CacheFileName(const QByteArray& uri);

// Whether a write into the cache that failed with this error number concerns
// the whole cache (no space, a read-only file system, no permission on the
// folder, the folder gone ...), so that nothing more is to be written there;
// otherwise only that entry could not be written (its name is taken by a
// folder, say) and the next one may well be.
bool StopsCacheWrites(int error);

// What a thumbnail must say of its file to hold for it.
struct FileStamp {
    QByteArray uri;
    qint64 mtime = 0; // whole seconds
    qint64 size = 0;  // bytes
};

// The text of a PNG: keyword and value.
using PngTags = QMap<QByteArray, QByteArray>;

// Whether a cached thumbnail (or failure record) was made of this very file:
// Thumb::URI is its URI, Thumb::MTime its modification time in whole seconds,
// and Thumb::Size, when present, its size.
bool TagsHold(const PngTags& tags, const FileStamp& file);

// The tags written with a thumbnail of a picture of the given natural size;
// a failure record (no size) carries the file's tags only.
QList<QPair<QByteArray, QByteArray>> TagsToWrite(const FileStamp& file, QSize natural = QSize());

// The picture's size as Thumb::Image::Width and Height give it, when the
// thumbnail has those proportions; invalid otherwise (no tags, not numbers,
// or sizes of a picture turned on its side).
QSize TaggedNaturalSize(const PngTags& tags, QSize thumb);

// Whether a thumbnail of the given size is a picture of natural size reduced
// without distortion: each side within a pixel of the picture scaled by one
// factor.
bool SameProportions(QSize thumb, QSize natural);

// Whether a thumbnail can be shown for a picture in a box of logical pixels
// at a device pixel ratio exactly as the decoded picture would be: it fits
// its folder's square, has the picture's proportions, and holds at least the
// device pixels the box shows, or is the picture itself (a picture smaller
// than the box is shown unscaled, so the thumbnail must be the picture).
bool ThumbnailServes(QSize thumb, QSize natural, int folderPixels, QSize box, qreal pixelRatio);

// The largest cached file worth reading for a folder: an uncompressed
// picture of the folder's square with room for its chunks.
qint64 MaxCachedBytes(int folderPixels);
