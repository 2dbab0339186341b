#pragma once

#include <QString>
#include <QStringList>

// The mounted volumes that stand for drives: real file systems, pseudo file
// systems left out. "/" is always among them.
QStringList MountedVolumeRoots();

// The root of the volume that holds a path: the longest root that is the path
// itself or one of its ancestors.
QString VolumeRootOf(const QString& path, const QStringList& roots);

// Paths in the folder list's form: "/" only at the root, no trailing "/"
// elsewhere.
QString CleanFolderPath(const QString& path);

// Joins a folder and a name without doubling "/" at the root.
QString JoinPath(const QString& folder, const QString& name);

// The folder followed by exactly one "/".
QString WithTrailingSlash(const QString& folder);
