#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The settings file PicSet.Ini: 52 lines ended by CR LF, in UTF-8.
//   line 1      the current folder, quoted
//   lines 2-42  the 41 numeric numbers, plain decimal with "." ("64", "386.6667")
//   lines 43-52 the ten history entries, quoted
// Reading is field by field: an unquoted field ends at a comma or a line end,
// a quoted one at its closing quote. A file of 42 lines has no history.
struct Settings {
    QString currentPath;
    std::array<float, 41> numbers{};
    std::array<QString, 10> history;
};

struct ParsedSettings {
    Settings values;
    // False when some value could not be read and kept its default.
    bool complete = true;
};

QByteArray FormatSettings(const Settings& settings);
ParsedSettings ParseSettings(const QByteArray& data, const Settings& defaults);

// A numeric slot as the file writes it: no decimal point for whole values, up
// to seven significant digits otherwise, "." whatever the locale.
QString FormatSingle(float value);
