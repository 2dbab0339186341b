#pragma once

#include <QByteArray>
#include <QString>

// Where the program keeps the user's things: the settings file of a program
// run from its build folder lies beside it; an installed program keeps it in
// the user's configuration folder and starts on the user's pictures.

// What decides whether the program is an installed one.
struct ProgramPlace {
    QString folder;            // the program's folder, symbolic links resolved
    bool userMayWrite = false; // the user who runs it may write that folder
    bool dataBeside = false;   // it lies in an installed tree: share/piksor beside bin
};

// An installed program: in an installed tree (wherever its prefix is), in
// /usr/bin or /usr/local/bin (whoever runs it, root included), or in a folder
// the user may not write. Any other folder is a build folder.
bool IsInstalled(const ProgramPlace& place);

// The user's configuration folder: XDG_CONFIG_HOME when it is an absolute
// path, else .config in the home folder.
QString ConfigHome(const QString& xdgConfigHome, const QString& home);

// The folder of PicSet.Ini: the program's own folder for a build folder,
// "piksor" in the user's configuration folder for an installed program.
QString SettingsFolder(const ProgramPlace& place, const QString& configHome);

// The pictures folder that a user-dirs.dirs file names (XDG_PICTURES_DIR="…",
// an absolute path or one under "$HOME/"); "" when it names none.
QString PicturesFolder(const QByteArray& userDirs, const QString& home);
