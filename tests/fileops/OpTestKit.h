#pragma once

// What the file operation tests share: a main window with thumbnail windows
// on real folders, selections made with the mouse, dialogs answered through
// their real buttons, and fingerprints of every file.
#include "app/frmMain.h"
#include "thumbs/frmPreview.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class ModalScript;
class QDialog;

QByteArray Sha(const QString& path);
// Every file below a folder (hidden ones too), by its path relative to the
// folder, with its SHA-256.
QMap<QString, QByteArray> Snapshot(const QString& folder);
// Bytes that differ from file to file.
QByteArray Noise(qsizetype size, quint32 seed);

// The entry of a window that holds the file of that name, or -1.
int EntryOf(const frmPreview& w, const QString& name);
// The names the window's labels show, in entry order (blank entries skipped).
QStringList ShownNames(const frmPreview& w);
// Selects the entries of these names as the user does: a click on the first
// box, Ctrl-clicks on the others.
void SelectNames(frmPreview& w, const QStringList& names);
// Makes the window the active child and gathers its selection.
void Activate(frmMain& f, frmPreview& w);

// Answers the folder chooser by opening `folder` in it and pressing OK.
void ChooseFolder(ModalScript& modal, const QString& folder);
// Answers the next dialog by pressing the button with this caption.
void PressButton(ModalScript& modal, const QString& caption);
// Answers a naming dialog by typing a name and pressing its OK button.
void TypeNameAndOk(ModalScript& modal, const QString& name);
