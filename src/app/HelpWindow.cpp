#include "app/HelpWindow.h"

#include <QFile>
#include <QStringDecoder>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Piksorのﾍﾙﾌﾟ"));
    setOpenExternalLinks(false);
    resize(560, 640);
}

bool HelpWindow::open(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    setHtml(QString::fromUtf8(f.readAll()));
    return true;
}
