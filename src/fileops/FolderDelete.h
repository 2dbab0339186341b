#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What a deletion could not remove, as people read it (bytes that are not
// valid UTF-8 shown as \xNN). A folder that stays only because something
// reported inside it stays is not named again.
struct Leftovers {
    QStringList files;
    QStringList folders;
    bool isEmpty() const { return files.isEmpty() && folders.isEmpty(); }
};

// Deletes a folder with everything below it: each file (a link as a link,
// never followed), each folder after what it holds, the folder itself last; a
// link given as the folder goes as a link. The walk holds every folder open
// while it works in it and never leaves the folder's file system: a folder on
// which a file system is mounted, found so when the walk reaches it, is neither
// entered nor removed and is named among what could not go. An entry whose
// name cannot be written as text (it is not valid UTF-8) is left alone, with
// everything below it, and named. `deleted` hears of every file removed.
Leftovers DeleteTree(const QString& target,
                     const std::function<void(const QString& file)>& deleted = {});

// A thumbnail window shows the folder or a folder below it, reached through
// whatever path.
bool TreeShownInWindow(const QString& target);

// The message that names what a deletion left: the files, then the folders.
QString FolderDeletionReport(const Leftovers& left);
