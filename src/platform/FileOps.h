#pragma once

#include "platform/Status.h"

#include <QString>
#include <functional>

// File operations that never lose a file: nothing is written over an existing
// file, a copy is complete on disk before it appears under its name, and a
// failure leaves no partial file behind.

// Copies a file. The copy keeps the modification time and the permission bits
// and is checked against the source (size and content) before it is
// published; an existing target, hidden or not, is refused with Exists.
FsStatus CopyFileSafe(const QString& source, const QString& target);

// The first half of a move: a symbolic link arrives at the target as a link
// that leads to the file it led to (what it leads to is neither read nor
// changed): a relative link moved into another folder gets the relative path
// from there; an absolute link, and one that leads nowhere, keep their text.
// Anything else is copied with CopyFileSafe. An existing target is refused
// with Exists.
FsStatus CopyForMove(const QString& source, const QString& target);

// Moves a file: CopyForMove, then the source is deleted. When the copy
// fails, the source stays.
FsStatus MoveFileSafe(const QString& source, const QString& target);

// Deletes a file (never a folder).
FsStatus DeleteFileSafe(const QString& path);

// Gives a file another name within the same file system; an existing target
// is refused with Exists.
FsStatus RenameFileSafe(const QString& source, const QString& target);

// A test seam: called before each step with the step's name ("copy",
// "delete", "rename") and the path; a status other than Ok fails the step as
// the system would. Empty by default.
using FileFaultHook = std::function<FsStatus(const char* step, const QString& path)>;
void SetFileFaultHook(FileFaultHook hook);
