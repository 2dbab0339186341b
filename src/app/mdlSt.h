#pragma once

#include "platform/Screen.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

// The shared module: every value that more than one window needs, the settings
// file and a few routines that many windows call.
namespace mdlSt {

// Operation codes handed to CopyAndMove; the menu items carry them as index.
enum Op : int {
    OpAsk = 0,
    OpOpen = 1,
    OpRenameOne = 6,
    OpCopy = 7,
    OpMove = 8,
    OpDelete = 9,
    OpRenameAll = 10,
};

// Slots of sngSetting that have a meaning.
enum Slot : int {
    SlotAutoClearReadOnly = 7,
    SlotIgnoreAllReadOnly = 8,
    SlotAttributeMask = 9,
    SlotBoxWidth = 10,
    SlotBoxHeight = 11,
    SlotWidthIndex = 12,
    SlotHeightIndex = 13,
};

// Saved in PicSet.Ini.
inline QString strCurrentPath;
inline std::array<float, 41> sngSetting{};
inline std::array<QString, 10> strHistory;

// Working state.
inline QStringList strWinPath;     // folder of each thumbnail window slot, "" = free
inline int intWinMax = 0;          // highest slot used so far
inline int intActiveWin = 0;       // slot of the window the file commands work on
inline QStringList strSelectFiles; // full paths of the selected files
inline QList<int> intSelectIndex;  // entry number of each selected file
inline int bytOperation = OpAsk;   // operation code for CopyAndMove
inline QString strDestPath;        // destination folder, "" = cancelled
inline QString strWorkName;        // name of the file in work / dialog result
inline QString strWorkPath;        // folder of the file in work / image for a viewer
inline QString strReNameBase;      // leading text of a batch rename, "" = cancelled
inline int intReNameStart = 0;
inline int intReNameStep = 0;
inline int bytNumberDigits = 0;
inline QList<QPointer<QWidget>> frmViewer; // viewer windows by slot
inline QList<bool> blnViewerUsed;          // true while the slot's viewer is open

// The attribute mask of existence tests (slot 9, 0 or 2).
int AttributeMask();

// Every shared value back to its start: numbers 0, strings empty, one free
// window slot and one free viewer slot.
void ResetState();

// The folder of the program, where PicSet.Ini and the help file live; the
// program's own folder unless set (tests set their own).
QString ProgramFolder();
void SetProgramFolder(const QString& folder);
// Whether the program is an installed one (Places.h says the rule).
bool ProgramInstalled();
// Where the settings are read and written: PicSet.Ini beside a program in its
// build folder (or in the user's configuration folder when it could not be
// written there), in the user's configuration folder for an installed program.
QString SettingsPath();
// The folder the panel opens on when no saved folder can be opened: the
// program's own folder in its build folder; for an installed program the
// user's pictures folder, else the home folder.
QString StartFolder();

void IniDefault();
void IniRead();
void IniWrite();

void PanelEnabled(bool enabled);
void CommandEnabled(int count);
int WinSearch(const QString& path);
using ::WinTop;

} // namespace mdlSt
