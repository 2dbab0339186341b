#pragma once

#include <QString>

// The text after the last occurrence of a one-character separator, in upper
// case; "" when the separator does not occur or is the last character.
// With "/" it gives a file or folder name, with "." an extension.
QString GetLastPart(const QString& text, QChar separator);

// The panel's count line: the folder, " ﾌｧｲﾙ数" and the count after one space.
QString CountLine(const QString& path, int count);
