#pragma once

#include <QString>
#include <QStringList>

// The one order of file and folder names in every list the program shows and
// every folder it enumerates: letters compared without regard to case, as the
// file systems of the old platform returned names, so that the thumbnails, the
// file list and the batch numbering agree. Names that differ only in case
// keep a fixed order among themselves. No locale enters.
bool NameLess(const QString& a, const QString& b);

// Sorts names into that order.
void SortNames(QStringList& names);
