#pragma once

// The shared thumbnail cache as files: its folder, folders opened below one
// another and entries read or removed by name, never through a link, so that
// nothing outside the cache folder is read, written or removed; and the
// entries of a file forgotten once the program has deleted, moved or renamed
// it, so that a picture that is gone is not kept in the cache for anyone to see.
#include <QByteArray>
#include <QList>
#include <QString>

// The cache folder the environment names now (XDG_CACHE_HOME, HOME); empty
// when there is none.
QString CurrentCacheRoot();

// A folder below an open folder, never through a link; made (for the owner
// alone) when asked and missing. -1 when it cannot be opened.
int OpenCacheFolder(int parent, const QString& name, bool create);

// A regular file below an open folder, whole, when it is no larger than the
// limit; never through a link, never a pipe that could block. Empty otherwise.
QByteArray ReadCacheFile(int folder, const QString& name, qint64 limit);

// The largest failure record worth reading.
inline constexpr qint64 MaxFailureRecordBytes = 1 << 16;

// The URI the thumbnail workers record a file under: that of its path as
// listed (absolute and cleaned, a link in it left as it is).
QByteArray ListedUri(const QString& path);

// Removes what the cache holds of a file the program has just deleted, moved
// or renamed away from this path: its thumbnail in every size folder and its
// failure record in every program's folder of them, under each URI the cache
// may know it by: the listed one, and the same name in its folder's real path
// (where the folder is reached through a link), which a listing of the real
// folder or another program writes. Only an entry whose Thumb::URI names the
// file goes; a link is never followed. A cache that is missing or cannot be
// written is left as it is. Call it on the user-interface thread once the
// file has left the path, while its folder still exists (so that the
// folder's real path is found); a thumbnail worker that writes the file's
// entry meanwhile removes it again.
void ForgetThumbnails(const QString& absolutePath);
