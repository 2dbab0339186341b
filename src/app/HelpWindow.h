#pragma once

#include <QTextBrowser>

// The help window: shows the program's help file, a page of HTML.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Loads the help file; false when it cannot be read.
    bool open(const QString& path);
};
