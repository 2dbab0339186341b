#pragma once

#include <QStringList>

// What a folder deletion removes: every file of the tree (links included, as
// links) and every folder, each folder after all folders below it, the target
// last. Symbolic links are never followed.
struct DeletionLists {
    QStringList files;
    QStringList folders;
};

// The subfolders of a folder, in the order the file system returns them;
// links to folders are not subfolders.
QStringList SubFolderGet(const QString& folder);

// Collects the tree below and including a folder.
DeletionLists DelListMake(const QString& target);

// Deletes the files (a regular file gets write permission first), then
// removes the folders in list order. Returns what could not be removed.
QStringList DeleteLists(const DeletionLists& lists);
