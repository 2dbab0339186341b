// The frame's layout and splitters, the window menu, options, help and the
// version dialog.
#include "TestSupport.h"
#include "app/HelpWindow.h"
#include "app/WindowArrange.h"
#include "app/frmMain.h"
#include "app/frmVer.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/FileList.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QtTest>

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void versionLine();
    void versionDialog();
    void tiles_data();
    void tiles();
    void cascade();
    void iconsLineUp();
    void arrangeRealWindows();
    void minimisedStayInReach_data();
    void minimisedStayInReach();
    void windowMenuListsWindows();
    void optionsTwiceRound();
    void helpOpens();
    void helpMissing();
    void panelSplitterLimits_data();
    void panelSplitterLimits();
    void listSplitterLimits_data();
    void listSplitterLimits();
    void snapToRows_data();
    void snapToRows();
    void folderListWholeRows_data();
    void folderListWholeRows();
    void frameMinimumHeight();
    void viewersMinimiseWithFrame();
};

namespace {
// Drags a splitter handle by the given offset with the left button held, as
// the mouse does: press, moves, release.
void dragHandle(QSplitterHandle* handle, QPoint offset) {
    const QPoint start = handle->rect().center();
    auto send = [handle](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, handle->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + offset / 2, Qt::LeftButton);
    send(QEvent::MouseMove, start + offset, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + offset, Qt::NoButton);
}

int panelWidth(frmMain& f) {
    return f.picSelect->width() + f.frame->handleWidth();
}
} // namespace

void TestShell::versionLine() {
    QCOMPARE(VersionLine(1, 1, 0), QStringLiteral("Ver 1.10"));
    QCOMPARE(VersionLine(2, 0, 15), QStringLiteral("Ver 2.015"));
}

void TestShell::versionDialog() {
    TestFolder dir;
    ModalScript modal;
    frmMain f;
    modal.then([](QDialog& d) {
        auto& v = static_cast<frmVer&>(d);
        QCOMPARE(v.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(v.lblVer->text(), QStringLiteral("Ver %1.%2%3")
                                       .arg(PIKSOR_VERSION_MAJOR)
                                       .arg(PIKSOR_VERSION_MINOR)
                                       .arg(PIKSOR_VERSION_PATCH));
        QCOMPARE(v.lblTitle[0]->text(), QStringLiteral("Piksor"));
        QCOMPARE(v.lblTitle[0]->geometry().topLeft(), QPoint(60, 12));
        QCOMPARE(v.lblTitle[1]->geometry().topLeft(), QPoint(56, 16));
        QCOMPARE(v.size(), QSize(269, 131));
        QTest::mouseClick(v.cmdOK, Qt::LeftButton);
    });
    f.mnuVer->trigger();
    QCOMPARE(modal.shown(), 1);
}

void TestShell::tiles_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("last");
    QTest::newRow("one") << 1 << QRect(0, 0, 400, 300) << QRect(0, 0, 400, 300);
    QTest::newRow("three") << 3 << QRect(0, 0, 133, 300) << QRect(266, 0, 134, 300);
}

void TestShell::tiles() {
    QFETCH(int, n);
    QFETCH(QRect, first);
    QFETCH(QRect, last);
    const QList<QRect> side = TileSideBySide(QRect(0, 0, 400, 300), n);
    QCOMPARE(side.first(), first);
    QCOMPARE(side.last(), last);
    const QList<QRect> rows = TileOneAboveOther(QRect(0, 0, 300, 400), n);
    auto swapped = [](QRect r) { return QRect(r.y(), r.x(), r.height(), r.width()); };
    QCOMPARE(rows.first(), swapped(first));
    QCOMPARE(rows.last(), swapped(last));
    QVERIFY(TileSideBySide(QRect(0, 0, 400, 300), 0).isEmpty());
}

void TestShell::cascade() {
    const QList<QRect> places = Cascade(QRect(0, 0, 600, 300), 3, 25);
    QCOMPARE(places[0], QRect(0, 0, 400, 200));
    QCOMPARE(places[2], QRect(50, 50, 400, 200));
    // Many windows keep inside the area.
    const QList<QRect> many = Cascade(QRect(0, 0, 600, 300), 10, 25);
    QCOMPARE(many.last().bottom(), 299);
}

void TestShell::iconsLineUp() {
    const QList<QRect> icons = LineUpIcons(QRect(0, 0, 300, 200), QSize(120, 30), 3);
    QCOMPARE(icons[0], QRect(0, 170, 120, 30));
    QCOMPARE(icons[1], QRect(120, 170, 120, 30));
    QCOMPARE(icons[2], QRect(0, 140, 120, 30)); // the row is full: the next one above
}

void TestShell::arrangeRealWindows() {
    TestFolder dir;
    frmMain f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 3; ++i) {
        QMdiSubWindow* w = f.mdiArea->addSubWindow(new QWidget);
        w->setWindowTitle(QStringLiteral("W%1").arg(i));
        w->show();
        windows << w;
    }
    f.mnuWinArrange[0]->trigger();
    const int h = f.mdiArea->viewport()->height();
    for (QMdiSubWindow* w : windows)
        QCOMPARE(w->height(), h);
    QVERIFY(windows[0]->x() < windows[1]->x());
    f.mnuWinArrange[1]->trigger();
    const int wdt = f.mdiArea->viewport()->width();
    for (QMdiSubWindow* w : windows)
        QCOMPARE(w->width(), wdt);
    f.mnuWinArrange[2]->trigger();
    QVERIFY(windows[1]->pos() != windows[0]->pos());
    QCOMPARE(windows[1]->size(), windows[0]->size());
    QVERIFY(windows[0]->width() >= f.mdiArea->viewport()->width() / 2);
    windows[0]->showMinimized();
    windows[2]->showMinimized();
    f.mnuWinArrange[4]->trigger();
    QCOMPARE(windows[0]->geometry().bottom(), f.mdiArea->viewport()->rect().bottom());
    QCOMPARE(windows[2]->y(), windows[0]->y());
    QCOMPARE(windows[0]->x(), 0);
}

void TestShell::minimisedStayInReach_data() {
    QTest::addColumn<int>("item");
    QTest::newRow("side by side") << 0;
    QTest::newRow("one above the other") << 1;
    QTest::newRow("cascade") << 2;
    QTest::newRow("line up icons") << 4;
}

void TestShell::minimisedStayInReach() {
    QFETCH(int, item);
    TestFolder dir;
    frmMain f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QList<QMdiSubWindow*> windows;
    for (int i = 0; i < 4; ++i) {
        windows << f.mdiArea->addSubWindow(new QWidget);
        windows.last()->setWindowTitle(QStringLiteral("W%1").arg(i));
        windows.last()->show();
    }
    windows[1]->showMinimized();
    windows[3]->showMinimized();
    f.mnuWinArrange[item]->trigger();
    // Each icon lies in the client area, and no open window covers it.
    const QRect area = f.mdiArea->viewport()->rect();
    for (QMdiSubWindow* icon : {windows[1], windows[3]}) {
        QVERIFY(icon->isVisible() && icon->isMinimized());
        QVERIFY(area.contains(icon->geometry()));
        for (QMdiSubWindow* open : {windows[0], windows[2]})
            QVERIFY2(!open->geometry().intersects(icon->geometry()),
                     qPrintable(open->windowTitle() + " covers " + icon->windowTitle()));
    }
    if (item != 4) // the open windows fill what the icons leave
        QCOMPARE(windows[0]->y(), 0);
}

void TestShell::windowMenuListsWindows() {
    TestFolder dir;
    frmMain f;
    f.show();
    QMdiSubWindow* w = f.mdiArea->addSubWindow(new QWidget);
    w->setWindowTitle(QStringLiteral("TRIP"));
    w->show();
    emit f.mnuWin->aboutToShow();
    QStringList items;
    for (QAction* a : f.mnuWin->actions())
        if (!a->isSeparator())
            items << a->text();
    QCOMPARE(items.last(), QStringLiteral("&1 TRIP"));
    QCOMPARE(items.size(), 5);
    emit f.mnuWin->aboutToShow(); // rebuilt, not appended
    QCOMPARE(f.mnuWin->actions().size(), 4 + 2);
}

void TestShell::optionsTwiceRound() {
    TestFolder dir;
    dir.write(".hidden.jpg", "x");
    dir.write("shown.jpg", "x");
    MsgBoxRecorder boxes;
    {
        frmMain f;
        QCOMPARE(f.flbSelect->ListCount(), 1);
        f.mnuOption[0]->trigger();
        QCOMPARE(mdlSt::sngSetting[9], 2.0f);
        QVERIFY(f.mnuOption[0]->isChecked());
        QCOMPARE(f.flbSelect->ListCount(), 2);
        f.mnuOption[0]->trigger();
        f.mnuOption[0]->trigger();
        f.mnuOption[0]->trigger();
        QCOMPARE(mdlSt::sngSetting[9], 0.0f);
        QVERIFY(!f.mnuOption[0]->isChecked());
        QCOMPARE(f.flbSelect->ListCount(), 1);
        f.mnuOption[1]->trigger();
        QCOMPARE(mdlSt::sngSetting[7], 0.0f);
        QVERIFY(!f.mnuOption[1]->isChecked());
        f.close();
    }
    const QList<QByteArray> lines = ReadAll(dir.file("PicSet.Ini")).split('\n');
    QCOMPARE(lines[10], QByteArray("0\r"));
    QCOMPARE(lines[8], QByteArray("0\r"));
}

void TestShell::helpOpens() {
    TestFolder dir;
    dir.write("Piksor.HLP", "<html><body><h1>ヘルプ</h1></body></html>");
    MsgBoxRecorder boxes;
    frmMain f;
    f.mnuHelp[0]->trigger();
    QVERIFY(f.helpWindow());
    QVERIFY(f.helpWindow()->isVisible());
    QVERIFY(f.helpWindow()->toPlainText().contains(QStringLiteral("ヘルプ")));
    QVERIFY(boxes.calls().isEmpty());
}

void TestShell::helpMissing() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    f.mnuHelp[0]->trigger();
    QCOMPARE(boxes.calls().size(), 1);
    QVERIFY(boxes.calls()[0].prompt.contains(dir.file("Piksor.HLP")));
    QVERIFY(f.isEnabled());
}

void TestShell::panelSplitterLimits_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expected"); // panel width; -1 = frame width - 250
    QTest::newRow("a little right") << 40 << 185;
    QTest::newRow("far left") << -400 << 100;
    QTest::newRow("far right") << 2000 << -1;
}

void TestShell::panelSplitterLimits() {
    QFETCH(int, offset);
    QFETCH(int, expected);
    TestFolder dir;
    frmMain f;
    f.resize(800, 500);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(panelWidth(f), 145);
    dragHandle(f.frame->handle(1), QPoint(offset, 0));
    if (expected < 0) {
        QCOMPARE(f.mdiArea->width(), 250);
    } else {
        QCOMPARE(panelWidth(f), expected);
    }
}

void TestShell::listSplitterLimits_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("limit");
    QTest::newRow("above the top") << -1000 << "top";
    QTest::newRow("below the bottom") << 2000 << "bottom";
    QTest::newRow("in between") << 40 << "";
}

void TestShell::listSplitterLimits() {
    QFETCH(int, offset);
    QFETCH(QString, limit);
    TestFolder dir;
    frmMain f;
    f.resize(800, 500);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    dragHandle(f.picSelect->handle(1), QPoint(0, offset));
    const int top = f.dirSelect->height();
    const int rowHeight = f.dirSelect->sizeHintForRow(0);
    if (limit == "top")
        QVERIFY(top >= 50 && top < 50 + rowHeight);
    else if (limit == "bottom")
        QVERIFY(f.picSelect->height() - top <= 50 + rowHeight && f.flbSelect->height() >= 45);
    // The folder list shows whole rows, and the file list starts right below the handle.
    QCOMPARE((top - 2 * f.dirSelect->frameWidth()) % rowHeight, 0);
    QCOMPARE(f.flbSelect->y(), f.dirSelect->geometry().bottom() + 1 + 5);
}

void TestShell::snapToRows_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("snapped");
    QTest::newRow("between rows") << 150 << 146; // 8 rows of 18 inside a 1-pixel frame
    QTest::newRow("exact") << 146 << 146;
    QTest::newRow("below the minimum") << 40 << 56;
}

void TestShell::snapToRows() {
    QFETCH(int, height);
    QFETCH(int, snapped);
    QCOMPARE(SnapToRows(height, 18, 1, 50), snapped);
}

void TestShell::folderListWholeRows_data() {
    QTest::addColumn<QSize>("frame"); // empty = as it starts
    QTest::newRow("start-up") << QSize();
    QTest::newRow("taller") << QSize(900, 777);
    QTest::newRow("shorter") << QSize(700, 300);
    QTest::newRow("narrower") << QSize(560, 481);
}

void TestShell::folderListWholeRows() {
    QFETCH(QSize, frame);
    TestFolder dir;
    for (int i = 0; i < 30; ++i)
        dir.mkdir(QStringLiteral("sub%1").arg(i));
    frmMain f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    if (!frame.isEmpty())
        f.resize(frame);
    QCoreApplication::processEvents();
    const int top = f.dirSelect->height();
    QCOMPARE((top - 2 * f.dirSelect->frameWidth()) % f.dirSelect->sizeHintForRow(0), 0);
    QVERIFY(top <= 144);
    QCOMPARE(f.flbSelect->y(), f.dirSelect->geometry().bottom() + 1 + 5);
}

void TestShell::frameMinimumHeight() {
    TestFolder dir;
    frmMain f;
    f.show();
    f.resize(800, 50);
    QCOMPARE(f.height(), 5 + 100 + 40 + f.picToolbar->height() + f.picStatus->height());
}

void TestShell::viewersMinimiseWithFrame() {
    TestFolder dir;
    frmMain f;
    f.show();
    QWidget viewer;
    viewer.show();
    mdlSt::frmViewer = {&viewer, nullptr};
    mdlSt::blnViewerUsed = {true, false};
    f.showMinimized();
    QTRY_VERIFY(viewer.isMinimized());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
