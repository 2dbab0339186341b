#pragma once

#include "platform/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// File attributes and directory lookups in the old style. Paths use "/".
namespace Attr {
enum : int {
    Normal = 0,
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    Directory = 16,
    Archive = 32,
};
} // namespace Attr

// Whether an entry of the given kind passes an attribute mask:
// 0 plain files that are not hidden, 2 hidden files too, 16 folders too,
// 6 every file. Read-only files always count as plain files.
bool PassesMask(bool isDir, bool isHidden, int mask);

// A lookup of one exact path: true when it exists and passes the mask. No
// wildcard has a meaning here. Whether a name is taken in a folder, in any
// letter case, is NameExists (FolderEntries.h).
bool DirExists(const QString& path, int mask);

struct DirListing {
    FsStatus status = FsStatus::Ok;
    QStringList names; // in name order (NameLess)
};

// The names of the entries of a folder that pass the mask, in name order ("."
// and ".." left out).
DirListing DirEnumerate(const QString& folder, int mask);

// The owner may not write the file. A symbolic link is judged as itself, and
// is never read-only.
bool IsReadOnly(const QString& path);

// Sets the attributes to normal: gives the owner write permission back. A
// hidden file keeps its name (on this platform "hidden" is part of the name);
// a symbolic link is left as it is, and so is what it leads to.
FsStatus ClearAttributes(const QString& path);

// Writes a whole file so that the path holds either its old content or the
// complete new one: a temporary file beside it is written, flushed, synced and
// read back before it replaces the old file.
FsStatus WriteFileVerified(const QString& path, const QByteArray& content);

// The status of the last failed system call (errno).
FsStatus StatusFromErrno(int error);

// Writes every byte to a descriptor, going on after interruptions.
FsStatus WriteAll(int fd, const char* data, qint64 size);
// Reads up to size bytes from a descriptor, at offset, or at its position
// when offset is negative, going on after interruptions until the file ends
// or an error: the number of bytes read.
qint64 ReadUpTo(int fd, char* data, qint64 size, qint64 offset = -1);
// The bytes of a file of fileSize bytes from offset, at most length of them;
// empty outside the file.
QByteArray ReadSpan(int fd, qint64 fileSize, qint64 offset, qint64 length);
