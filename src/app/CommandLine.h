#pragma once

#include <QStringList>

class QCommandLineParser;

// The command line: piksor [FILE|FOLDER], --help and --version.

// The program's name and version as the command line prints them.
void SetApplicationNames();

// Gives the parser the program's options and its one argument.
void SetUpCommandLine(QCommandLineParser& parser);

// Whether the arguments ask only for text (help or version), which is printed
// without a display.
bool AsksForText(const QStringList& arguments);
