#pragma once

#include <QString>

// The benchmark's files that lie about their size: count small pictures
// (BMP, run-length BMP, JPEG, progressive JPEG, GIF, an icon holding a PNG)
// into honest/, and into lying/ the same files with headers that claim
// 16000 x 16000 pixels (a JPEG 60000 x 60000), byte for byte as large.
// Returns false when one could not be written.
bool WriteLyingFolders(const QString& honest, const QString& lying, int count);
