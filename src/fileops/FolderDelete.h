#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// What a folder deletion removes: every file of the tree (links included, as
// links) and every folder, each folder after all folders below it, the target
// last. Symbolic links are never followed. An entry whose name cannot be
// written as text (it is not valid UTF-8) is never named by a path that could
// reach another file: it is left alone, with everything below it.
struct DeletionLists {
    QStringList files;
    QStringList folders;
    QList<QByteArray> undecodableFiles;   // raw paths, left alone
    QList<QByteArray> undecodableFolders; // raw paths, left alone
};

// What a deletion could not remove, as people read it (bytes that are not
// valid UTF-8 shown as \xNN). A folder that stays only because something
// reported inside it stays is not named again.
struct Leftovers {
    QStringList files;
    QStringList folders;
    bool isEmpty() const { return files.isEmpty() && folders.isEmpty(); }
};

// Collects the tree below and including a folder.
DeletionLists DelListMake(const QString& target);

// Deletes the files (a regular file gets write permission first), then
// removes the folders in list order.
Leftovers DeleteLists(const DeletionLists& lists);

// A thumbnail window shows the folder or a folder below it, reached through
// whatever path.
bool TreeShownInWindow(const QString& target);

// The message that names what a deletion left: the files, then the folders.
QString FolderDeletionReport(const Leftovers& left);
