#pragma once

// The shared thumbnail cache in the listing benchmark: a cache folder of the
// benchmark's own, emptied before a first listing, and thumbnails made
// beforehand as another program makes them.
#include <QString>
#include <QStringList>

// Points XDG_CACHE_HOME at the given folder; the thumbnail cache below it.
QString UseOwnThumbnailCache(const QString& folder);

// Removes every thumbnail and failure record.
void ClearThumbnailCache(const QString& root);

// Makes a thumbnail of each file for a box, in the size folder that serves
// it, the way a file manager does: decoded and scaled by Qt, stored as an RGB
// PNG with Qt's own text chunks holding the standard's required tags and the
// file's size, and no picture size. They are made once into the folder
// `stash`, and copied from there into the cache by InstallThumbnails.
bool MakeForeignThumbnails(const QStringList& files, int box, const QString& stash);
bool InstallThumbnails(const QString& stash, const QString& root, int box);
