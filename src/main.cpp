#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    SetUpCommandLine(parser);
    if (AsksForText(arguments)) {
        // Help and version need no display: printed, and the program ends.
        QCoreApplication app(argc, argv);
        SetApplicationNames();
        LoadPlatformTranslation();
        parser.process(app);
        return 0;
    }
    ChooseQtPlatform();
    QApplication app(argc, argv);
    SetApplicationNames();
    SetUpDesktop();
    parser.process(app);
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        std::fputs(qPrintable(QStringLiteral("開けるのはファイルかフォルダー一つだけです。\n\n") +
                              parser.helpText()),
                   stderr);
        return 1;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    mdlSt::ResetState();
    frmMain main;
    QObject::connect(&main, &frmMain::ended, &app, &QApplication::quit);
    main.show();
    if (!paths.isEmpty())
        main.OpenArgument(paths.first());
    return app.exec();
}
