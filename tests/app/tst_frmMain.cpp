// The main window: start-up from the settings, shared routines, the folder
// panel, the history menu and shutdown.
#include "ImageFiles.h"
#include "TestSupport.h"
#include "app/PathRules.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <cmath>

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void firstRun();
    void startFolder_data();
    void startFolder();
    void commandLine_data();
    void commandLine();
    void savedSizesRestored();
    void designState();
    void disabledButtonsLookOff_data();
    void disabledButtonsLookOff();
    void commandEnabled_data();
    void commandEnabled();
    void panelEnabled();
    void winSearchIsExact();
    void getLastPart_data();
    void getLastPart();
    void countLine();
    void folderChangeFollowsPanel();
    void driveNotReady();
    void driveListFollowsMounts();
    void historyEleven();
    void historyDuplicateAndCase();
    void historyCaption();
    void historySeparator();
    void historyClickMissingFolder_data();
    void historyClickMissingFolder();
    void historyClickGoesThere();
    void historyDelete();
    void closeWritesSettings();
    void background();
};

namespace {
// Writes a settings file whose first line names the given folder.
void writeSettings(TestFolder& dir, const QString& current, float widthIndex = 2,
                   float heightIndex = 2, bool hidden = false) {
    QByteArray data = "\"" + current.toUtf8() + "\"\r\n";
    for (int slot = 0; slot <= 40; ++slot) {
        float v = slot == 7 ? 1 : 0;
        if (slot == 9 && hidden)
            v = 2;
        if (slot == 12)
            v = widthIndex;
        if (slot == 13)
            v = heightIndex;
        data += QByteArray::number(v) + "\r\n";
    }
    for (int i = 0; i < 10; ++i)
        data += "\"\"\r\n";
    dir.write(QDir(dir.path()).relativeFilePath(mdlSt::SettingsPath()), data);
}

// How a button shows its picture: the spread of brightness over the picture's
// square (how clearly it stands out of the face) and its strongest colour.
struct PictureLook {
    double contrast = 0;
    int colour = 0;
};

PictureLook lookOf(QToolButton* b) {
    const QImage shot = b->grab().toImage();
    QRect square(QPoint(), b->iconSize());
    square.moveCenter(shot.rect().center());
    double sum = 0, squares = 0;
    PictureLook look;
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            const double l = qGray(c.rgb());
            sum += l;
            squares += l * l;
            look.colour = std::max(look.colour, std::max({c.red(), c.green(), c.blue()}) -
                                                    std::min({c.red(), c.green(), c.blue()}));
        }
    const double n = square.width() * square.height();
    look.contrast = std::sqrt(squares / n - (sum / n) * (sum / n));
    return look;
}

QStringList visibleFileMenu(frmMain& f) {
    QStringList out;
    for (QAction* a : f.mnuFile->actions())
        if (a->isVisible())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
} // namespace

void TestFrmMain::firstRun() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    QVERIFY(QFileInfo::exists(dir.file("PicSet.Ini")));
    QCOMPARE(mdlSt::strCurrentPath, dir.path());
    QCOMPARE(f.dirSelect->Path(), dir.path());
    QVERIFY(f.mnuOption[1]->isChecked());
    QVERIFY(!f.mnuOption[0]->isChecked());
    QCOMPARE(f.cmbDot[0]->currentText(), QStringLiteral("64"));
    QCOMPARE(f.cmbDot[1]->currentText(), QStringLiteral("64"));
    QCOMPARE(mdlSt::sngSetting[10], 64.0f);
    QCOMPARE(mdlSt::sngSetting[11], 64.0f);
    QCOMPARE(mdlSt::strWinPath, QStringList{QString()});
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>{false});
    QVERIFY(boxes.calls().isEmpty());
}

void TestFrmMain::startFolder_data() {
    QTest::addColumn<QString>("saved"); // "-" = no settings file: a first start
    QTest::addColumn<bool>("hidden");   // hidden files shown
    QTest::addColumn<QString>("opens"); // "" = the program's folder
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("installed"); // "" = a build folder; else the pictures folder
    QTest::newRow("empty") << "" << false << "" << 1 << "";
    QTest::newRow("a file") << "photo.jpg" << false << "" << 1 << "";
    QTest::newRow("gone") << "gone" << false << "" << 1 << "";
    QTest::newRow("a folder") << "pics" << false << "pics" << 7 << "";
    QTest::newRow("a folder, hidden files shown") << "pics" << true << "pics" << 8 << "";
    QTest::newRow("installed, first start") << "-" << false << "home/写真" << 1 << "写真";
    QTest::newRow("installed, no pictures folder") << "-" << false << "home" << 0 << "Pictures";
    QTest::newRow("installed, a folder") << "pics" << false << "pics" << 7 << "写真";
}

void TestFrmMain::startFolder() {
    QFETCH(QString, saved);
    QFETCH(bool, hidden);
    QFETCH(QString, opens);
    QFETCH(int, files);
    QFETCH(QString, installed);
    TestFolder dir;
    dir.write("photo.jpg", "x");
    dir.write("pics/.hidden.jpg", "x");
    for (int i = 0; i < 7; ++i)
        dir.write(QStringLiteral("pics/%1.jpg").arg(i), "x");
    dir.write("home/写真/a.jpg", "x");
    const QByteArray home = qgetenv("HOME");
    auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
    qputenv("HOME", QFile::encodeName(dir.file("home")));
    if (!installed.isEmpty()) {
        // An installed tree in the test folder; of the lines of user-dirs.dirs
        // that name the pictures folder, the last one in use counts.
        dir.write("usr/share/piksor/Piksor.HLP", "help");
        mdlSt::SetProgramFolder(dir.mkdir("usr/bin"));
        dir.write("config/user-dirs.dirs", "XDG_PICTURES_DIR=\"/gone\"\nXDG_PICTURES_DIR=\"$HOME/" +
                                               installed.toUtf8() +
                                               "\"\n#XDG_PICTURES_DIR=\"/\"\n");
    }
    if (saved != "-")
        writeSettings(dir, saved.isEmpty() ? QString() : dir.file(saved), 2, 2, hidden);
    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->Path(), opens.isEmpty() ? dir.path() : dir.file(opens));
    QCOMPARE(mdlSt::strCurrentPath, f.dirSelect->Path());
    QCOMPARE(f.flbSelect->Path(), f.dirSelect->Path());
    QCOMPARE(f.flbSelect->ListCount(), files);
    QCOMPARE(f.lblCount->text(), CountLine(f.dirSelect->Path(), files));
    QVERIFY(boxes.calls().isEmpty());
}

void TestFrmMain::commandLine_data() {
    QTest::addColumn<QString>("argument"); // in the test folder
    QTest::addColumn<bool>("viewer");      // the picture is shown
    QTest::addColumn<QString>("refused");  // the message, "" = none: the panel shows pics
    QTest::newRow("a folder") << "pics" << false << "";
    QTest::newRow("a picture") << "pics/photo.jpeg" << true << "";
    QTest::newRow("a missing path")
        << "pics/gone.jpg" << false << "指定されたファイルまたはフォルダーが見つかりません。";
    QTest::newRow("a picture's name, not its content")
        << "pics/fake.jpg" << false << "指定されたファイルは開ける画像ファイルではありません。";
}

void TestFrmMain::commandLine() {
    QFETCH(QString, argument);
    QFETCH(bool, viewer);
    QFETCH(QString, refused);
    TestFolder dir;
    dir.write("pics/photo.jpeg", Jpeg(Halves({40, 30}, Qt::red, Qt::blue, Qt::Vertical)));
    dir.write("pics/fake.jpg", "not a picture");
    MsgBoxRecorder boxes;
    frmMain f;
    f.OpenArgument(dir.file(argument));
    QCOMPARE(f.dirSelect->Path(), refused.isEmpty() ? dir.file("pics") : dir.path());
    const QPointer<QWidget> shown = mdlSt::frmViewer.value(0);
    QCOMPARE(shown && shown->isVisible() ? shown->windowTitle() : QString(),
             viewer ? QFileInfo(argument).fileName() : QString());
    delete shown.data();
    QCOMPARE(boxes.prompts(),
             refused.isEmpty() ? QStringList() : QStringList{refused + '\n' + dir.file(argument)});
}

void TestFrmMain::savedSizesRestored() {
    TestFolder dir;
    writeSettings(dir, dir.path(), 1, 5);
    MsgBoxRecorder boxes;
    {
        frmMain f;
        QCOMPARE(f.cmbDot[0]->currentText(), QStringLiteral("32"));
        QCOMPARE(f.cmbDot[1]->currentText(), QStringLiteral("E判"));
        QCOMPARE(mdlSt::sngSetting[10], 32.0f);
        QCOMPARE(mdlSt::sngSetting[11], float(5800.0 / 15.0));
        f.cmbDot[1]->setCurrentIndex(3);
        QCOMPARE(mdlSt::sngSetting[13], 3.0f);
        QCOMPARE(mdlSt::sngSetting[12], 1.0f);
        f.close();
    }
    ResetForTest(dir.path());
    frmMain g;
    QCOMPARE(g.cmbDot[0]->currentText(), QStringLiteral("32"));
    QCOMPARE(g.cmbDot[1]->currentText(), QStringLiteral("128"));
}

void TestFrmMain::designState() {
    TestFolder dir;
    frmMain f;
    QCOMPARE(f.windowTitle(), QStringLiteral("Piksor"));
    for (QToolButton* b :
         {f.cmdOpen, f.cmdReNameSingle, f.cmdCopy, f.cmdMove, f.cmdDelete, f.cmdReName})
        QVERIFY(!b->isEnabled());
    for (QToolButton* b : {f.cmdSam, f.cmdMakeFolder, f.cmdClose, f.cmdPanic, f.cmdAllSelect})
        QVERIFY(b->isEnabled());
    QVERIFY(!f.mnuPicOpen->isEnabled());
    for (int code = 6; code <= 10; ++code)
        QVERIFY(!f.mnuMove[code]->isEnabled());
    QCOMPARE(f.mnuThum->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(f.mnuMove[7]->text(), QStringLiteral("ｺﾋﾟｰ(&C)"));
    QCOMPARE(f.mnuMove[9]->shortcut(), QKeySequence("Ctrl+D"));
    QStringList titles;
    for (QAction* a : f.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "ｵﾌﾟｼｮﾝ(&O)", "ｳｨﾝﾄﾞｳ(&W)", "ﾍﾙﾌﾟ(&H)"}));
    QCOMPARE(f.cmdSam->toolTip(), QStringLiteral("サムネイル表示"));
    QCOMPARE(f.imgDust->toolTip(), QStringLiteral("ごみ箱"));
    QCOMPARE(f.cmdSam->geometry(), QRect(96, 3, 23, 23));
    QCOMPARE(f.mnuWinArrange[3], nullptr);
}

void TestFrmMain::disabledButtonsLookOff_data() {
    QTest::addColumn<QString>("style");
    QTest::newRow("Fusion") << "Fusion";
    QTest::newRow("Windows") << "Windows";
}

void TestFrmMain::disabledButtonsLookOff() {
    QFETCH(QString, style);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    {
        TestFolder dir;
        frmMain f;
        const auto buttons = f.picToolbar->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 11);
        for (QToolButton* b : buttons) {
            b->setEnabled(true);
            const PictureLook on = lookOf(b);
            b->setEnabled(false);
            const PictureLook off = lookOf(b);
            // Greyed: no colour left, and at most half the contrast.
            QVERIFY2(off.contrast <= on.contrast / 2 && off.colour <= 8, qPrintable(b->toolTip()));
        }
    }
    QApplication::setStyle(before);
}

void TestFrmMain::commandEnabled_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("many");
    QTest::addColumn<bool>("single");
    QTest::newRow("none") << 0 << false << false;
    QTest::newRow("one") << 1 << true << true;
    QTest::newRow("two") << 2 << true << false;
}

void TestFrmMain::commandEnabled() {
    QFETCH(int, count);
    QFETCH(bool, many);
    QFETCH(bool, single);
    TestFolder dir;
    frmMain f;
    mdlSt::CommandEnabled(count);
    for (QToolButton* b : {f.cmdOpen, f.cmdReName, f.cmdCopy, f.cmdMove, f.cmdDelete})
        QCOMPARE(b->isEnabled(), many);
    for (QAction* a : {f.mnuPicOpen, f.mnuChange[1], f.mnuChange[10], f.mnuMove[7], f.mnuMove[8],
                       f.mnuMove[9], f.mnuMove[10]})
        QCOMPARE(a->isEnabled(), many);
    QCOMPARE(f.cmdReNameSingle->isEnabled(), single);
    QCOMPARE(f.mnuMove[6]->isEnabled(), single);
    QCOMPARE(f.mnuChange[6]->isEnabled(), single);
    // The popup's copy, move and delete are never touched.
    for (int code : {7, 8, 9})
        QVERIFY(f.mnuChange[code]->isEnabled());
}

void TestFrmMain::panelEnabled() {
    TestFolder dir;
    frmMain f;
    mdlSt::PanelEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.drvSelect, f.dirSelect, f.flbSelect, f.cmdSam, f.cmbDot[0], f.cmbDot[1], f.cmdClose,
             f.cmdPanic, f.cmdMakeFolder, f.cmdAllSelect})
        QVERIFY(!w->isEnabled());
    for (QMenu* m : {f.mnuFile, f.mnuWin, f.mnuHensyuu, f.mnuHel, f.mnuOp})
        QVERIFY(!m->isEnabled());
    mdlSt::PanelEnabled(true);
    QVERIFY(f.cmdSam->isEnabled());
    QVERIFY(f.mnuFile->isEnabled());
    QVERIFY(!f.cmdCopy->isEnabled()); // the file commands are not the panel's
}

void TestFrmMain::winSearchIsExact() {
    TestFolder dir;
    mdlSt::strWinPath = {"/a/Photos", "", "/b", ""};
    mdlSt::intWinMax = 2;
    QCOMPARE(mdlSt::WinSearch("/a/Photos"), 0);
    QCOMPARE(mdlSt::WinSearch("/a/photos"), -1);
    QCOMPARE(mdlSt::WinSearch("/a/Photos/"), -1);
    QCOMPARE(mdlSt::WinSearch("/b"), 2);
    QCOMPARE(mdlSt::WinSearch(""), 1); // the first free slot
}

void TestFrmMain::getLastPart_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("part");
    QTest::newRow("name") << "/A/b.jpg"
                          << "/"
                          << "B.JPG";
    QTest::newRow("extension") << "/A/b.jpg"
                               << "."
                               << "JPG";
    QTest::newRow("folder") << "/photos/trip 2"
                            << "/"
                            << "TRIP 2";
    QTest::newRow("root") << "/"
                          << "/"
                          << "";
    QTest::newRow("no separator") << "abc"
                                  << "."
                                  << "";
    QTest::newRow("separator last") << "abc."
                                    << "."
                                    << "";
    QTest::newRow("two dots") << "a.b.Gif"
                              << "."
                              << "GIF";
}

void TestFrmMain::getLastPart() {
    QFETCH(QString, text);
    QFETCH(QString, sep);
    QFETCH(QString, part);
    QCOMPARE(GetLastPart(text, sep.at(0)), part);
}

void TestFrmMain::countLine() {
    QCOMPARE(CountLine("/home/画像", 12), QStringLiteral("/home/画像 ﾌｧｲﾙ数 12"));
    QCOMPARE(CountLine("/", 5), QStringLiteral("/ ﾌｧｲﾙ数 5"));
}

void TestFrmMain::folderChangeFollowsPanel() {
    TestFolder dir;
    dir.mkdir("empty");
    dir.write("full/a.jpg", "x");
    dir.write("full/b.GIF", "x");
    dir.write("full/c.txt", "x");
    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("empty")), FsStatus::Ok);
    QCOMPARE(mdlSt::strCurrentPath, dir.file("empty"));
    QCOMPARE(f.lblCount->text(), dir.file("empty") + QStringLiteral(" ﾌｧｲﾙ数 0"));
    QCOMPARE(f.dirSelect->setPath(dir.file("full")), FsStatus::Ok);
    QCOMPARE(f.lblCount->text(), dir.file("full") + QStringLiteral(" ﾌｧｲﾙ数 2"));
    QCOMPARE(f.flbSelect->ListCount(), 2);
}

void TestFrmMain::driveNotReady() {
    TestFolder dir;
    const QString usb = dir.mkdir("usb");
    MsgBoxRecorder boxes;
    frmMain f;
    f.drvSelect->setVolumes({"/", usb});
    f.dirSelect->setVolumeRoots({"/", usb});
    const QString before = f.dirSelect->Path();
    QDir(usb).removeRecursively(); // the medium is gone
    f.drvSelect->setCurrentIndex(1);
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("ディスクがセットされていません。"));
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("警告"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
    QCOMPARE(f.dirSelect->Path(), before);
    QCOMPARE(f.drvSelect->drive(), QStringLiteral("/"));
    QCOMPARE(mdlSt::strCurrentPath, before);
}

void TestFrmMain::driveListFollowsMounts() {
    TestFolder dir;
    const QString card = dir.mkdir("card");
    MsgBoxRecorder boxes;
    frmMain f;
    QVERIFY(!f.drvSelect->volumes().contains(card));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "piksor-card", card}) != 0)
        QSKIP("mounting a file system is not allowed here");
    auto unmount = qScopeGuard([card] { QProcess::execute("umount", {card}); });
    // The volume appears without any polling: the mount table tells.
    QTRY_VERIFY_WITH_TIMEOUT(f.drvSelect->volumes().contains(card), 1000);
    const QString photos = dir.mkdir("card/DCIM");
    f.drvSelect->setDrive(card);
    QCOMPARE(f.dirSelect->setPath(photos), FsStatus::Ok);
    f.HistoryAdd(photos);
    f.HistoryMenu();
    QCOMPARE(QProcess::execute("umount", {card}), 0);
    unmount.dismiss();
    // It goes, and the lists go back to the readable folder it was mounted on.
    QTRY_VERIFY_WITH_TIMEOUT(!f.drvSelect->volumes().contains(card), 1000);
    QCOMPARE(f.dirSelect->Path(), card);
    QCOMPARE(f.drvSelect->drive(), QStringLiteral("/"));
    QCOMPARE(mdlSt::strCurrentPath, card);
    QCOMPARE(f.lblCount->text(), CountLine(card, 0));
    QVERIFY(boxes.calls().isEmpty());
    // Its folder in the history is on a volume that is not there.
    f.mnuDir[0]->trigger();
    QCOMPARE(boxes.prompts(), QStringList{"ディスクがセットされていません。"});
    QCOMPARE(f.dirSelect->Path(), card);
}

void TestFrmMain::historyEleven() {
    TestFolder dir;
    frmMain f;
    for (int i = 0; i < 11; ++i)
        f.HistoryAdd(QStringLiteral("/f%1").arg(i));
    f.HistoryMenu();
    for (int i = 0; i < 10; ++i)
        QCOMPARE(mdlSt::strHistory[i], QStringLiteral("/f%1").arg(10 - i));
    QCOMPARE(f.mnuDir[0]->text(), QStringLiteral(" 1 /f10"));
    QCOMPARE(f.mnuDir[9]->text(), QStringLiteral(" 10 /f1"));
}

void TestFrmMain::historyDuplicateAndCase() {
    TestFolder dir;
    frmMain f;
    f.HistoryAdd("/a");
    f.HistoryAdd("/b");
    f.HistoryAdd("/a");
    f.HistoryAdd("/B");
    f.HistoryAdd("");
    QCOMPARE(mdlSt::strHistory[0], QStringLiteral("/B"));
    QCOMPARE(mdlSt::strHistory[1], QStringLiteral("/b"));
    QCOMPARE(mdlSt::strHistory[2], QStringLiteral("/a"));
    QVERIFY(mdlSt::strHistory[3].isEmpty());
}

void TestFrmMain::historyCaption() {
    const QString longPath = QStringLiteral("/home/user/写真/2024年/夏休み/沖縄旅行の写真");
    QCOMPARE(frmMain::HistoryCaption(2, longPath), QStringLiteral(" 3 ") + longPath.right(26));
    QCOMPARE(frmMain::HistoryCaption(2, longPath).size(), 3 + 26);
    QCOMPARE(frmMain::HistoryCaption(0, "/p"), QStringLiteral(" 1 /p"));
}

void TestFrmMain::historySeparator() {
    TestFolder dir;
    frmMain f;
    const QStringList empty = visibleFileMenu(f);
    QCOMPARE(empty.mid(empty.size() - 2), QStringList({"-", "Piksorの終了(&X)"}));
    QCOMPARE(empty.count("-"), 3);
    f.HistoryAdd("/x&y");
    f.HistoryMenu();
    const QStringList one = visibleFileMenu(f);
    QCOMPARE(one.mid(one.size() - 4), QStringList({"-", " 1 /x&&y", "-", "Piksorの終了(&X)"}));
}

void TestFrmMain::historyClickMissingFolder_data() {
    QTest::addColumn<QString>("entry");   // "~" = the test folder
    QTest::addColumn<QString>("message"); // "" = silently ignored
    QTest::newRow("gone from a volume that is there") << "~/vanished"
                                                      << "";
    QTest::newRow("on a volume unmounted since")
        << "~/usb/DCIM" << QStringLiteral("ディスクがセットされていません。");
    QTest::newRow("removable medium gone")
        << "/media/piksor-nobody/CARD/DCIM" << QStringLiteral("ディスクがセットされていません。");
    QTest::newRow("removable medium gone, run folder")
        << "/run/media/piksor-nobody/CARD" << QStringLiteral("ディスクがセットされていません。");
}

void TestFrmMain::historyClickMissingFolder() {
    QFETCH(QString, entry);
    QFETCH(QString, message);
    TestFolder dir;
    const QString usb = dir.mkdir("usb");
    MsgBoxRecorder boxes;
    frmMain f;
    f.drvSelect->setVolumes({"/", usb});
    f.drvSelect->setVolumes({"/"}); // unmounted; its mount point stays
    const QString before = f.dirSelect->Path();
    entry.replace(QLatin1Char('~'), dir.path());
    mdlSt::strHistory[0] = entry;
    f.HistoryMenu();
    f.mnuDir[0]->trigger();
    QCOMPARE(f.dirSelect->Path(), before);
    QCOMPARE(boxes.prompts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("警告"));
        QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
    }
    QCOMPARE(mdlSt::strHistory[0], entry); // stays in the list
}

void TestFrmMain::historyClickGoesThere() {
    TestFolder dir;
    dir.write("there/a.jpg", "x");
    MsgBoxRecorder boxes;
    frmMain f;
    mdlSt::strHistory[0] = "/elsewhere";
    mdlSt::strHistory[1] = dir.file("there");
    f.HistoryMenu();
    f.mnuDir[1]->trigger();
    QCOMPARE(f.dirSelect->Path(), dir.file("there"));
    QCOMPARE(mdlSt::strCurrentPath, dir.file("there"));
    QCOMPARE(f.lblCount->text(), dir.file("there") + QStringLiteral(" ﾌｧｲﾙ数 1"));
    QCOMPARE(mdlSt::strHistory[0], QStringLiteral("/elsewhere")); // order unchanged
}

void TestFrmMain::historyDelete() {
    TestFolder dir;
    frmMain f;
    f.HistoryAdd("/a");
    f.HistoryMenu();
    f.mnuPathMenuDelete->trigger();
    for (const QString& h : mdlSt::strHistory)
        QVERIFY(h.isEmpty());
    QVERIFY(!f.mnuH5->isVisible());
    QVERIFY(!f.mnuDir[0]->isVisible());
}

void TestFrmMain::closeWritesSettings() {
    TestFolder dir;
    dir.mkdir("pics");
    MsgBoxRecorder boxes;
    {
        frmMain f;
        QSignalSpy ended(&f, &frmMain::ended);
        f.show();
        QCOMPARE(f.dirSelect->setPath(dir.file("pics")), FsStatus::Ok);
        f.HistoryAdd(dir.file("pics"));
        f.mnuOption[0]->trigger();
        f.mnuOption[0]->trigger();
        f.mnuOption[0]->trigger();
        f.mnuEnd->trigger();
        QCOMPARE(ended.size(), 1);
    }
    const QList<QByteArray> lines = ReadAll(dir.file("PicSet.Ini")).split('\n');
    QCOMPARE(lines[0], "\"" + dir.file("pics").toUtf8() + "\"\r");
    QCOMPARE(lines[10], QByteArray("2\r")); // slot 9: hidden files shown
    QCOMPARE(lines[42], "\"" + dir.file("pics").toUtf8() + "\"\r");
    QVERIFY(boxes.calls().isEmpty());
}

void TestFrmMain::background() {
    QImage tile(120, 80, QImage::Format_RGB32);
    tile.fill(Qt::red);
    tile.setPixel(0, 0, qRgb(0, 0, 255));
    const QImage bg = frmMain::AssembleBackground(tile, QSize(1024, 768));
    QCOMPARE(bg.size(), QSize(1080, 800));
    QCOMPARE(bg.pixel(960, 720), qRgb(0, 0, 255)); // the last tile starts at 8 x 120, 9 x 80
    QCOMPARE(bg.pixel(961, 720), qRgb(255, 0, 0));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmMain.moc"
