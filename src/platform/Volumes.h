#pragma once

#include <QString>
#include <QStringList>

// The mounted volumes that stand for drives: real file systems, pseudo file
// systems left out. "/" is always among them.
QStringList MountedVolumeRoots();

// The root of the volume that holds a path: the longest root that is the path
// itself or one of its ancestors.
QString VolumeRootOf(const QString& path, const QStringList& roots);

// A folder on which a file system is mounted: its device differs from its
// parent's. A symbolic link is never one.
bool IsMountPoint(const QString& folder);

// The path is the folder or lies below it, by the text of the two paths or by
// what they are on disk (their canonical paths): a folder reached through a
// symbolic link counts as the folder it leads to.
bool IsSameOrBelow(const QString& path, const QString& folder);

// Paths in the folder list's form: "/" only at the root, no trailing "/"
// elsewhere.
QString CleanFolderPath(const QString& path);

// Joins a folder and a name without doubling "/" at the root.
QString JoinPath(const QString& folder, const QString& name);

// The folder followed by exactly one "/".
QString WithTrailingSlash(const QString& folder);
