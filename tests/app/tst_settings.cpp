// The settings file: its exact format, reading back, and files that are
// short, damaged or unwritable.
#include "TestSupport.h"
#include "app/Places.h"
#include "app/SettingsFile.h"
#include "app/mdlSt.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <clocale>
#include <sys/mount.h>
#include <unistd.h>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstRunFileByteForByte();
    void roundTrip();
    void numberFormat_data();
    void numberFormat();
    void commaInsideQuotedPath();
    void fortyTwoLinesHaveNoHistory();
    void linesAfterFiftyTwoIgnored();
    void badFiles_data();
    void badFiles();
    void directoryInPlaceOfFile();
    void defaultsTouchOnlyTheirSlots();
    void settingsFolder_data();
    void settingsFolder();
    void installedProgramKeepsSettingsAtHome_data();
    void installedProgramKeepsSettingsAtHome();
    void diskFullKeepsOldFile();
};

void TestSettings::firstRunFileByteForByte() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    mdlSt::IniRead();
    QByteArray expected = "\"\"\r\n";
    for (int slot = 0; slot <= 40; ++slot) {
        const char* v = slot == 7 ? "1" : (slot == 12 || slot == 13) ? "2" : "0";
        expected += QByteArray(v) + "\r\n";
    }
    for (int i = 0; i < 10; ++i)
        expected += "\"\"\r\n";
    QCOMPARE(ReadAll(dir.file("PicSet.Ini")), expected);
    QCOMPARE(expected.count('\n'), 52);
    QVERIFY(boxes.calls().isEmpty());
    QCOMPARE(mdlSt::sngSetting[7], 1.0f);
    QCOMPARE(mdlSt::sngSetting[12], 2.0f);
}

void TestSettings::roundTrip() {
    // A locale whose decimal separator is a comma must not change the file.
    QLocale::setDefault(QLocale(QLocale::German));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    TestFolder dir;
    MsgBoxRecorder boxes;
    mdlSt::strCurrentPath = QStringLiteral("/写真/旅行 2024");
    mdlSt::sngSetting[10] = float(5800.0 / 15.0);
    mdlSt::sngSetting[11] = 64;
    mdlSt::sngSetting[40] = -2.5f;
    mdlSt::strHistory[0] = QStringLiteral("/home/ユーザー/画像");
    mdlSt::strHistory[9] = QStringLiteral("/last");
    mdlSt::IniWrite();
    const QByteArray written = ReadAll(dir.file("PicSet.Ini"));
    QVERIFY(written.contains("\r\n386.6667\r\n"));
    QVERIFY(written.contains("\r\n-2.5\r\n"));

    ResetForTest(dir.path());
    mdlSt::IniRead();
    QCOMPARE(mdlSt::strCurrentPath, QStringLiteral("/写真/旅行 2024"));
    QCOMPARE(mdlSt::sngSetting[10], 386.6667f);
    QCOMPARE(mdlSt::sngSetting[11], 64.0f);
    QCOMPARE(mdlSt::sngSetting[40], -2.5f);
    QCOMPARE(mdlSt::strHistory[0], QStringLiteral("/home/ユーザー/画像"));
    QCOMPARE(mdlSt::strHistory[9], QStringLiteral("/last"));
    mdlSt::IniWrite();
    QCOMPARE(ReadAll(dir.file("PicSet.Ini")), written);
    QVERIFY(boxes.calls().isEmpty());
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
}

void TestSettings::numberFormat_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("whole") << 64.0f << "64";
    QTest::newRow("negative whole") << -3.0f << "-3";
    QTest::newRow("fraction") << float(5800.0 / 15.0) << "386.6667";
    QTest::newRow("half") << 0.5f << "0.5";
    QTest::newRow("large") << 123456789.0f << "1.234568E+08";
}

void TestSettings::numberFormat() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(FormatSingle(value), text);
}

void TestSettings::commaInsideQuotedPath() {
    Settings s;
    s.currentPath = QStringLiteral("/a,b/c");
    s.history[3] = QStringLiteral("/x, y");
    s.numbers[5] = 7;
    const ParsedSettings p = ParseSettings(FormatSettings(s), Settings{});
    QVERIFY(p.complete);
    QCOMPARE(p.values.currentPath, s.currentPath);
    QCOMPARE(p.values.history[3], s.history[3]);
    QCOMPARE(p.values.numbers[5], 7.0f);
}

void TestSettings::fortyTwoLinesHaveNoHistory() {
    Settings s;
    s.currentPath = QStringLiteral("/p");
    s.history[0] = QStringLiteral("/h");
    QByteArray data = FormatSettings(s);
    // Keep the first 42 lines only.
    qsizetype at = 0;
    for (int i = 0; i < 42; ++i)
        at = data.indexOf('\n', at) + 1;
    data.truncate(at);
    const ParsedSettings p = ParseSettings(data, Settings{});
    QVERIFY(p.complete);
    QCOMPARE(p.values.currentPath, QStringLiteral("/p"));
    QVERIFY(p.values.history[0].isEmpty());
}

void TestSettings::linesAfterFiftyTwoIgnored() {
    Settings s;
    s.history[9] = QStringLiteral("/nine");
    const QByteArray data = FormatSettings(s) + "\"/extra\"\r\n12\r\ngarbage\r\n";
    const ParsedSettings p = ParseSettings(data, Settings{});
    QVERIFY(p.complete);
    QCOMPARE(p.values.history[9], QStringLiteral("/nine"));
}

void TestSettings::badFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("currentPath");
    QTest::addColumn<float>("slot7");
    QTest::addColumn<float>("slot12");
    QTest::addColumn<QString>("history0");

    Settings good;
    good.currentPath = QStringLiteral("/good");
    good.numbers[7] = 0;
    good.numbers[12] = 4;
    good.history[0] = QStringLiteral("/h0");
    const QByteArray full = FormatSettings(good);
    QList<QByteArray> lines = full.split('\n');

    auto joined = [](QList<QByteArray> l) { return l.join('\n'); };
    QTest::newRow("empty file") << QByteArray() << "" << 1.0f << 2.0f << "";
    QTest::newRow("ten lines") << joined(lines.mid(0, 10)) << "/good" << 0.0f << 2.0f << "";
    {
        QList<QByteArray> l = lines;
        l[1 + 12] = "abc\r";
        QTest::newRow("slot 12 not a number") << joined(l) << "/good" << 0.0f << 2.0f << "/h0";
    }
    {
        QList<QByteArray> l = lines;
        l[42] = "\"/h0";
        QByteArray unterminated = joined(l.mid(0, 43));
        QTest::newRow("unterminated quote") << unterminated << "/good" << 0.0f << 4.0f << "";
    }
    {
        QList<QByteArray> l = lines;
        l[0] = "\"/bad\xff\xfe\"\r";
        QTest::newRow("not UTF-8") << joined(l) << "" << 0.0f << 4.0f << "/h0";
    }
    QTest::newRow("history cut short")
        << joined(lines.mid(0, 45)) << "/good" << 0.0f << 4.0f << "/h0";
}

void TestSettings::badFiles() {
    QFETCH(QByteArray, content);
    QFETCH(QString, currentPath);
    QFETCH(float, slot7);
    QFETCH(float, slot12);
    QFETCH(QString, history0);
    TestFolder dir;
    dir.write("PicSet.Ini", content);
    MsgBoxRecorder boxes;
    mdlSt::IniRead();
    QCOMPARE(mdlSt::strCurrentPath, currentPath);
    QCOMPARE(mdlSt::sngSetting[7], slot7);
    QCOMPARE(mdlSt::sngSetting[12], slot12);
    QCOMPARE(mdlSt::strHistory[0], history0);
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("注意"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Exclamation));
}

void TestSettings::directoryInPlaceOfFile() {
    TestFolder dir;
    dir.mkdir("PicSet.Ini");
    MsgBoxRecorder boxes;
    mdlSt::IniRead();
    QCOMPARE(mdlSt::sngSetting[7], 1.0f);
    QCOMPARE(mdlSt::sngSetting[13], 2.0f);
    QCOMPARE(boxes.calls().size(), 1);
}

void TestSettings::defaultsTouchOnlyTheirSlots() {
    TestFolder dir;
    mdlSt::sngSetting.fill(5);
    mdlSt::strCurrentPath = QStringLiteral("/keep");
    mdlSt::IniDefault();
    for (int slot = 0; slot <= 40; ++slot) {
        const float expected = slot == 7 ? 1 : slot == 9 ? 0 : (slot == 12 || slot == 13) ? 2 : 5;
        QCOMPARE(mdlSt::sngSetting[slot], expected);
    }
    QCOMPARE(mdlSt::strCurrentPath, QStringLiteral("/keep"));
}

void TestSettings::settingsFolder_data() {
    QTest::addColumn<QString>("folder");    // the program's folder
    QTest::addColumn<bool>("mayWrite");     // the user may write it
    QTest::addColumn<bool>("tree");         // share/piksor lies beside it
    QTest::addColumn<QString>("xdgConfig"); // XDG_CONFIG_HOME
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const char* folder, bool mayWrite, bool tree,
                  const char* xdgConfig, const char* expected) {
        QTest::newRow(name) << folder << mayWrite << tree << xdgConfig << expected;
    };
    const char* home = "/home/ann/.config/piksor";
    row("build folder", "/home/ann/piksor/build", true, false, "/home/ann/etc",
        "/home/ann/piksor/build");
    row("installed in the home folder, XDG_CONFIG_HOME set", "/home/ann/.local/bin", true, true,
        "/home/ann/etc/", "/home/ann/etc/piksor");
    row("a folder the user may not write, XDG_CONFIG_HOME not absolute", "/opt/tools", false, false,
        "etc", home);
    row("run as root, alone in /usr/bin", "/usr/bin", true, false, "", home);
    row("run as root, alone in /usr/local/bin", "/usr/local/bin/", true, false, "", home);
}

void TestSettings::settingsFolder() {
    QFETCH(QString, folder);
    QFETCH(bool, mayWrite);
    QFETCH(bool, tree);
    QFETCH(QString, xdgConfig);
    QFETCH(QString, expected);
    QCOMPARE(
        SettingsFolder(ProgramPlace{folder, mayWrite, tree}, ConfigHome(xdgConfig, "/home/ann")),
        expected);
}

void TestSettings::installedProgramKeepsSettingsAtHome_data() {
    QTest::addColumn<QString>("program"); // the program's folder in the test folder
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("readOnly"); // a folder nobody may write, "" none
    QTest::newRow("installed tree") << "usr/bin" << true << "";
    QTest::newRow("a folder the user may not write") << "opt" << true << "opt";
    QTest::newRow("unwritable home") << "usr/bin" << false << "config";
}

// Silently in the user's configuration folder, never beside the program; a
// home that cannot take the file is told at each write.
void TestSettings::installedProgramKeepsSettingsAtHome() {
    QFETCH(QString, program);
    QFETCH(bool, saved);
    QFETCH(QString, readOnly);
    TestFolder dir;
    dir.write("usr/share/piksor/Piksor.HLP", "help");
    const QString folder = dir.mkdir(program);
    // Root writes through permission bits: a read-only file system.
    const SmallDisk disk(readOnly.isEmpty() ? QString() : dir.mkdir(readOnly), 16384);
    if (!readOnly.isEmpty() && !(disk.ok && disk.remountReadOnly()))
        QSKIP("mounting a read-only tmpfs needs root");
    mdlSt::SetProgramFolder(folder);
    const QString file = dir.file("config/piksor/PicSet.Ini");
    QCOMPARE(mdlSt::SettingsPath(), file);
    MsgBoxRecorder boxes;
    mdlSt::IniRead();
    mdlSt::strCurrentPath = QStringLiteral("/somewhere");
    mdlSt::IniWrite();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{});
    QCOMPARE(ReadAll(file).startsWith("\"/somewhere\""), saved);
    QCOMPARE(boxes.prompts(),
             saved ? QStringList() : QStringList(2, "設定ファイルを保存できませんでした。"));
}

void TestSettings::diskFullKeepsOldFile() {
    TestFolder dir;
    const QString mountPoint = dir.mkdir("tiny");
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP("mounting a small tmpfs is not allowed here");
    struct Unmount {
        QByteArray p;
        ~Unmount() { ::umount(p.constData()); }
    } unmount{QFile::encodeName(mountPoint)};

    mdlSt::SetProgramFolder(mountPoint);
    mdlSt::strCurrentPath = QStringLiteral("/old");
    MsgBoxRecorder boxes;
    mdlSt::IniWrite();
    const QByteArray old = ReadAll(mountPoint + "/PicSet.Ini");
    QVERIFY(old.startsWith("\"/old\""));
    // Fill the disk, then write a larger file.
    {
        QFile filler(mountPoint + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    mdlSt::strCurrentPath = QString(3000, QLatin1Char('n'));
    mdlSt::IniWrite();
    QCOMPARE(ReadAll(mountPoint + "/PicSet.Ini"), old);
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files).size(), 2); // no temporary left behind
    // The build folder's file goes to the user's configuration folder, and
    // the user is told where, once.
    const QString fallback = dir.file("config/piksor/PicSet.Ini");
    QVERIFY(ReadAll(fallback).startsWith("\"nnn"));
    mdlSt::IniWrite();
    QCOMPARE(boxes.calls().size(), 1);
    QVERIFY(boxes.calls()[0].prompt.endsWith(fallback));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
