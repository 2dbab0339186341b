// Every naming dialog and the read-only question open centred on the pointer
// and lie wholly on the screen, wherever the pointer is; the texts of every
// dialog fit their controls.
#include "tst_rename.h"

#include "TestSupport.h"
#include "app/frmDir.h"
#include "app/frmVer.h"
#include "app/mdlSt.h"
#include "fileops/frmFileMove.h"
#include "fileops/frmMakeFolder.h"
#include "fileops/frmReadOnly.h"
#include "rename/frmNameInput.h"
#include "rename/frmNameInputSingle.h"
#include "rename/frmReName.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QtTest>
#include <memory>

namespace {
std::unique_ptr<QDialog> load(const QString& kind) {
    mdlSt::ResetState();
    mdlSt::strWorkName = "IMG.JPG";
    mdlSt::strWorkPath = "/tmp/";
    mdlSt::strReNameBase = "TRIP";
    mdlSt::strDestPath = "/tmp";
    if (kind == "frmNameInput")
        return std::make_unique<frmNameInput>();
    if (kind == "frmNameInputSingle")
        return std::make_unique<frmNameInputSingle>();
    if (kind == "frmReName")
        return std::make_unique<frmReName>();
    if (kind == "frmMakeFolder")
        return std::make_unique<frmMakeFolder>("/tmp");
    if (kind == "frmFileMove")
        return std::make_unique<frmFileMove>();
    if (kind == "frmDir")
        return std::make_unique<frmDir>();
    if (kind == "frmVer")
        return std::make_unique<frmVer>();
    return std::make_unique<frmReadOnly>("/tmp/IMG.JPG");
}
} // namespace

void TestPlacement::textsFit_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"frmNameInput", "frmNameInputSingle", "frmReName", "frmReadOnly",
                             "frmMakeFolder", "frmFileMove", "frmDir", "frmVer"})
        QTest::newRow(kind) << QString(kind);
}

void TestPlacement::textsFit() {
    QFETCH(QString, kind);
    QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    const std::unique_ptr<QDialog> dialog = load(kind);
    dialog->show();
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QSize room = label->size();
        const QSize need =
            label->wordWrap() ? QSize(0, label->heightForWidth(room.width())) : label->sizeHint();
        QVERIFY2(need.width() <= room.width() && need.height() <= room.height() &&
                     dialog->rect().contains(label->geometry()),
                 qPrintable(label->text()));
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int need = button->fontMetrics().horizontalAdvance(button->text());
        QVERIFY2(need <= room.width(), qPrintable(button->text()));
    }
}

void TestPlacement::staysOnScreen_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("corner");
    for (const char* kind : {"frmNameInput", "frmNameInputSingle", "frmReName", "frmReadOnly"})
        for (const char* corner :
             {"top left", "top right", "bottom left", "bottom right", "centre"})
            QTest::addRow("%s, %s", kind, corner) << QString(kind) << QString(corner);
}

void TestPlacement::staysOnScreen() {
    QFETCH(QString, kind);
    QFETCH(QString, corner);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint pointer = corner == "top left"       ? screen.topLeft() + QPoint(3, 3)
                           : corner == "top right"    ? screen.topRight() + QPoint(-3, 3)
                           : corner == "bottom left"  ? screen.bottomLeft() + QPoint(3, -3)
                           : corner == "bottom right" ? screen.bottomRight() + QPoint(-3, -3)
                                                      : screen.center();
    QCursor::setPos(pointer);
    QCOMPARE(QCursor::pos(), pointer);

    const std::unique_ptr<QDialog> dialog = load(kind);
    ModalScript script;
    QRect frame;
    script.then([&](QDialog& shown) {
        // A fixed size, and neither minimise nor maximise button.
        QCOMPARE(shown.minimumSize(), shown.maximumSize());
        QVERIFY(
            !(shown.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        frame = shown.frameGeometry();
        shown.close();
    });
    ShowModal(*dialog);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(script.shown(), 1);
    QVERIFY2(screen.contains(frame), qPrintable(QString("%1,%2 %3x%4")
                                                    .arg(frame.x())
                                                    .arg(frame.y())
                                                    .arg(frame.width())
                                                    .arg(frame.height())));
    if (corner.contains("left"))
        QCOMPARE(frame.left(), screen.left());
    if (corner.contains("right"))
        QCOMPARE(frame.right(), screen.right());
    if (corner.contains("top"))
        QCOMPARE(frame.top(), screen.top());
    if (corner.contains("bottom"))
        QCOMPARE(frame.bottom(), screen.bottom());
    if (corner == "centre")
        QVERIFY((frame.center() - pointer).manhattanLength() <= 2);
}
