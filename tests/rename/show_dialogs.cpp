// Shows one of the naming or read-only dialogs with sample values, for a look
// at it on a real display: show_dialogs nameinput|single|rename|readonly
#include "app/mdlSt.h"
#include "fileops/frmReadOnly.h"
#include "platform/ShowModal.h"
#include "rename/frmNameInput.h"
#include "rename/frmNameInputSingle.h"
#include "rename/frmReName.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mdlSt::ResetState();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());

    if (which == QLatin1String("nameinput")) {
        mdlSt::strWorkName = QStringLiteral("IMG_0012.JPG");
        mdlSt::strWorkPath = QStringLiteral("/home/user/Photos/");
        frmNameInput dialog;
        return ShowModal(dialog);
    }
    if (which == QLatin1String("single")) {
        mdlSt::strWorkName = QStringLiteral("IMG_0012.JPG");
        mdlSt::strWorkPath = QStringLiteral("/home/user/Photos/");
        frmNameInputSingle dialog;
        return ShowModal(dialog);
    }
    if (which == QLatin1String("rename")) {
        mdlSt::strReNameBase = QStringLiteral("TRIP");
        mdlSt::intReNameStart = 1;
        mdlSt::intReNameStep = 1;
        mdlSt::bytNumberDigits = 3;
        frmReName dialog;
        return ShowModal(dialog);
    }
    if (which == QLatin1String("readonly")) {
        mdlSt::strWorkName = QStringLiteral("A.JPG");
        mdlSt::strWorkPath = QStringLiteral("/home/user/Photos/");
        frmReadOnly dialog(mdlSt::strWorkPath + QStringLiteral("a.jpg"));
        return ShowModal(dialog);
    }
    std::fprintf(stderr, "usage: show_dialogs nameinput|single|rename|readonly\n");
    return 2;
}
