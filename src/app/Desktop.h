#pragma once

#include <QString>

// What a desktop installation needs of the program: where its help file is
// found, the name of its launcher, and the platform's own texts in Japanese.

// The launcher's name without ".desktop"; the installed launcher is
// share/applications/piksor.desktop.
inline constexpr char DesktopFileName[] = "piksor";

// The data folder of an installed program, share/piksor beside its bin folder.
QString InstalledDataFolder(const QString& programFolder);

// The help file Piksor.HLP: beside the program (as in the build folder), or in
// the data folder of an installed program (share/piksor beside bin). When
// neither holds it, the path beside the program, for the message.
QString FindHelpFile(const QString& programFolder);

// Installs Qt's own Japanese translation (qtbase_ja.qm) from the given folder,
// so the standard buttons of message boxes read in Japanese; replaces one
// installed before. False, and no translation, when it cannot be loaded.
bool LoadPlatformTranslation(const QString& folder);
// The same from Qt's translations folder.
bool LoadPlatformTranslation();

// The windowing platform to run on, given QT_QPA_PLATFORM, DISPLAY and
// WAYLAND_DISPLAY ("" when unset): a platform the person chose stands; where an
// X server is there, alone or beside a Wayland compositor, the program runs on
// X11, where a window can be kept above the others and placed by the program;
// where only Wayland is there, as a Wayland client. "" leaves the choice to Qt.
QByteArray ChooseQtPlatform(const QByteArray& chosen, const QByteArray& display,
                            const QByteArray& waylandDisplay);
// Before the application object is made: sets QT_QPA_PLATFORM to that choice.
void ChooseQtPlatform();

// Start-up: the launcher's name for the desktop and the Japanese platform texts.
void SetUpDesktop();
