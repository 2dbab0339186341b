#pragma once

// What the thumbnail tests share: picture files written for real, and opening
// a folder the way the user does (the folder list, then the button).
#include "app/frmMain.h"
#include "thumbs/CacheRules.h"
#include "thumbs/frmPreview.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

// Writes a picture of the given size and format ("BMP", "JPG", "PNG" ...)
// under the file name given, in a folder that is created when missing.
QString WritePicture(const QString& folder, const QString& name, QSize size,
                     const char* format = "BMP", QColor colour = QColor(200, 120, 40));

// Writes a photograph as a camera does: a JPEG of one colour with the preview
// as a JPEG in its EXIF block.
QString WriteCameraPicture(const QString& folder, const QString& name, QSize size, QColor colour,
                           const QImage& preview);

// Writes count small BMP pictures named img000.bmp and on.
void WritePictures(const QString& folder, int count, QSize size = QSize(8, 8));

// Dates a file back to 2001, long enough ago for the thumbnail cache to take it.
QString Backdate(const QString& path);

// The thumbnail cache folder of a test (TestFolder puts it in its own folder).
QString ThumbnailCache();

// A PNG of one colour with the given tags as plain text chunks; with no tags,
// Qt's own text chunks say which file it is of, as another program's do.
QByteArray ThumbnailPng(QSize size, QColor colour, const QList<QPair<QByteArray, QByteArray>>& tags,
                        const FileStamp& file = FileStamp());

// Shows the main window, opens the folder in the folder list and presses the
// thumbnail button; the window now shown for it, or null.
frmPreview* OpenThumbnails(frmMain& f, const QString& folder);

// The entries whose label shows a name, in entry order.
QList<int> ShownEntries(const frmPreview& w);

// Main window, shown and active, with the box size chosen in both lists.
void ChooseBoxSize(frmMain& f, const QString& entry);
