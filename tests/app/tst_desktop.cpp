// The help file of a built or an installed program, and the Japanese texts of
// the platform's message boxes.
#include "TestSupport.h"
#include "app/Desktop.h"
#include "app/HelpWindow.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/MsgBox.h"

#include <QAction>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

namespace {
// What a real message box showed, and the button pressed to answer it.
struct ShownBox {
    QString title;
    QString text;
    QStringList buttons;
};

// Shows a real message box, reads it once it is up and presses the button
// whose text is `press`.
int ShowAndPress(int flags, const QString& press, ShownBox& shown) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, press, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        shown.title = box->windowTitle();
        shown.text = box->text();
        for (QAbstractButton* b : box->buttons()) {
            shown.buttons.append(b->text());
            if (b->text() == press)
                QTest::mouseClick(b, Qt::LeftButton);
        }
        if (box->isVisible())
            box->reject();
    });
    poll.start();
    return MsgBox(QStringLiteral("ファイルを削除しますか？"), flags,
                  QStringLiteral("ファイルの削除"));
}

QString QtTranslations() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}
} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase();
    void helpFile_data();
    void helpFile();
    void helpOfInstalledProgram();
    void japaneseButtons_data();
    void japaneseButtons();
    void withoutTranslation();
    void windowIconAtEverySize();
    void platformChoice_data();
    void platformChoice();
    void startsUnderWayland();
};

void TestDesktop::init() {
    SetMsgBoxHandler({});
}

void TestDesktop::cleanupTestCase() {
    LoadPlatformTranslation(QString());
}

void TestDesktop::helpFile_data() {
    QTest::addColumn<QStringList>("files"); // help files made, under a prefix
    QTest::addColumn<QString>("found");     // "" = none found
    QTest::addColumn<QString>("expected");  // path relative to the prefix
    QTest::newRow("built: beside the program") << QStringList{"bin/Piksor.HLP"} << "bin/Piksor.HLP"
                                               << "bin/Piksor.HLP";
    QTest::newRow("installed: in share/piksor")
        << QStringList{"share/piksor/Piksor.HLP"} << "share/piksor/Piksor.HLP"
        << "share/piksor/Piksor.HLP";
    QTest::newRow("both: the one beside wins")
        << QStringList{"bin/Piksor.HLP", "share/piksor/Piksor.HLP"} << "bin/Piksor.HLP"
        << "bin/Piksor.HLP";
    QTest::newRow("neither: named beside the program")
        << QStringList{} << QString() << "bin/Piksor.HLP";
    QTest::newRow("a folder of that name beside is not the file")
        << QStringList{"bin/Piksor.HLP/", "share/piksor/Piksor.HLP"} << "share/piksor/Piksor.HLP"
        << "share/piksor/Piksor.HLP";
}

void TestDesktop::helpFile() {
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    QFETCH(QString, expected);
    TestFolder prefix;
    prefix.mkdir("bin");
    for (const QString& f : files) {
        if (f.endsWith('/'))
            prefix.mkdir(f.chopped(1));
        else
            prefix.write(f, f.toUtf8());
    }
    const QString path = FindHelpFile(prefix.file("bin"));
    QCOMPARE(path, prefix.file(expected));
    if (!found.isEmpty())
        QCOMPARE(ReadAll(path), found.toUtf8());
}

void TestDesktop::helpOfInstalledProgram() {
    TestFolder prefix;
    prefix.mkdir("bin");
    prefix.write("share/piksor/Piksor.HLP", "<html><body><p>インストール済み</p></body></html>");
    mdlSt::SetProgramFolder(prefix.file("bin"));
    MsgBoxRecorder boxes;
    frmMain f;
    f.mnuHelp[0]->trigger();
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(f.helpWindow() && f.helpWindow()->isVisible());
    QVERIFY(f.helpWindow()->toPlainText().contains(QStringLiteral("インストール済み")));
}

void TestDesktop::japaneseButtons_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << int(Msg::OkOnly | Msg::Exclamation) << QStringList{"OK"} << "OK"
                        << int(Msg::Ok);
    QTest::newRow("OK, Cancel") << int(Msg::OkCancel | Msg::Critical)
                                << QStringList{"OK", "キャンセル"} << "キャンセル"
                                << int(Msg::Cancel);
    QTest::newRow("Yes, No") << int(Msg::YesNo | Msg::Question)
                             << QStringList{"いいえ(&N)", "はい(&Y)"} << "いいえ(&N)"
                             << int(Msg::No);
    QTest::newRow("Yes, No: yes") << int(Msg::YesNo | Msg::Question | Msg::DefaultButton2)
                                  << QStringList{"いいえ(&N)", "はい(&Y)"} << "はい(&Y)"
                                  << int(Msg::Yes);
    QTest::newRow("Retry, Cancel")
        << int(Msg::RetryCancel | Msg::Critical) << QStringList{"キャンセル", "再試行"} << "再試行"
        << int(Msg::Retry);
}

void TestDesktop::japaneseButtons() {
    QFETCH(int, flags);
    QFETCH(QStringList, buttons);
    QFETCH(QString, press);
    QFETCH(int, result);
    if (!QFileInfo::exists(QtTranslations() + "/qtbase_ja.qm"))
        QSKIP("Qt's Japanese translation (qt6-translations-l10n) is not installed");
    QVERIFY(LoadPlatformTranslation());
    ShownBox shown;
    QCOMPARE(ShowAndPress(flags, press, shown), result);
    shown.buttons.sort();
    QCOMPARE(shown.buttons, buttons);
    // The box's own texts are not translated.
    QCOMPARE(shown.title, QStringLiteral("ファイルの削除"));
    QCOMPARE(shown.text, QStringLiteral("ファイルを削除しますか？"));
}

void TestDesktop::withoutTranslation() {
    // A machine without the translation starts as well, in Qt's own English;
    // a translation loaded before is taken away.
    if (QFileInfo::exists(QtTranslations() + "/qtbase_ja.qm"))
        QVERIFY(LoadPlatformTranslation());
    QTemporaryDir empty;
    QVERIFY(!LoadPlatformTranslation(empty.path()));
    ShownBox shown;
    QCOMPARE(ShowAndPress(Msg::YesNo, "&No", shown), int(Msg::No));
    shown.buttons.sort();
    QCOMPARE(shown.buttons, (QStringList{"&No", "&Yes"}));
}

void TestDesktop::windowIconAtEverySize() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    // The frame and its thumbnail windows show the launcher's icon, drawn
    // for each size rather than scaled from one.
    const QList<QSize> sizes = f.windowIcon().availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

void TestDesktop::platformChoice_data() {
    QTest::addColumn<QByteArray>("chosen"); // QT_QPA_PLATFORM
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("platform"); // "" = Qt's own choice
    QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("X11") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray("xcb");
    QTest::newRow("Wayland only") << QByteArray() << QByteArray() << QByteArray("wayland-0")
                                  << QByteArray("wayland");
    QTest::newRow("Wayland with XWayland")
        << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray("xcb");
    for (const char* display : {"", ":0"})
        for (const char* wayland : {"", "wayland-0"})
            QTest::addRow("chosen, DISPLAY '%s', WAYLAND_DISPLAY '%s'", display, wayland)
                << QByteArray("wayland") << QByteArray(display) << QByteArray(wayland)
                << QByteArray();
}

void TestDesktop::platformChoice() {
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, platform);
    QCOMPARE(ChooseQtPlatform(chosen, display, wayland), platform);
}

void TestDesktop::startsUnderWayland() {
    // A headless Wayland compositor, and the built program as its only client.
    if (QStandardPaths::findExecutable("weston").isEmpty())
        QSKIP("weston is not installed");
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess weston;
    weston.setProcessEnvironment(env);
    weston.start("weston",
                 {"--backend=headless-backend.so", "--socket=piksor-test", "--idle-time=0"});
    auto stop = qScopeGuard([&weston] {
        weston.terminate();
        weston.waitForFinished(5000);
    });
    weston.waitForStarted(5000);
    QDeadlineTimer ready(10000);
    while (!QFileInfo::exists(runtime.filePath("piksor-test")) && !ready.hasExpired() &&
           weston.state() == QProcess::Running)
        QTest::qWait(50);
    if (!QFileInfo::exists(runtime.filePath("piksor-test")))
        QSKIP(qPrintable("the compositor could not start: " + weston.readAllStandardError()));

    // The program in a folder of its own (its settings file goes there), told
    // only of the compositor; libwayland logs what it asks and hears.
    TestFolder program;
    QVERIFY(QFile::copy(PIKSOR_BUILD_DIR "/piksor", program.file("piksor")));
    env.insert("WAYLAND_DISPLAY", "piksor-test");
    env.insert("WAYLAND_DEBUG", "client");
    env.insert("HOME", program.path());
    QProcess piksor;
    piksor.setProcessEnvironment(env);
    piksor.start(program.file("piksor"));
    QByteArray log;
    // The main window is a top-level surface titled Piksor that the
    // compositor has put on its output.
    auto shown = [&log] {
        return log.contains(R"(set_title("Piksor"))") && log.contains(".enter(wl_output@");
    };
    QDeadlineTimer deadline(20000);
    while (!shown() && !deadline.hasExpired() && piksor.state() != QProcess::NotRunning) {
        piksor.waitForReadyRead(100);
        log += piksor.readAllStandardError();
    }
    piksor.kill();
    piksor.waitForFinished(5000);
    QVERIFY2(shown(), log.right(2000).constData());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
