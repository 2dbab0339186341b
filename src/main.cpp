#include "app/Desktop.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ChooseQtPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Piksor"));
    SetUpDesktop();
    QApplication::setQuitOnLastWindowClosed(false);
    mdlSt::ResetState();
    frmMain main;
    QObject::connect(&main, &frmMain::ended, &app, &QApplication::quit);
    main.show();
    return app.exec();
}
