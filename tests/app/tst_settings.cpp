// The settings file: its exact format, reading back, and files that are
// short, damaged or unwritable.
#include "TestSupport.h"
#include "app/SettingsFile.h"
#include "app/mdlSt.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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
    void unwritableFolderFallsBack();
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

void TestSettings::unwritableFolderFallsBack() {
    TestFolder dir;
    const QString fallback =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/PicSet.Ini";
    QFile::remove(fallback);
    const QString folder = dir.mkdir("readonly");
    // Root writes through permission bits: give it a read-only file system.
    QByteArray mounted;
    if (::geteuid() == 0) {
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_RDONLY,
                    "size=16k") != 0)
            QSKIP("mounting a read-only tmpfs is not allowed here");
        mounted = QFile::encodeName(folder);
    } else {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    struct Undo {
        QByteArray mounted;
        QString folder;
        ~Undo() {
            if (!mounted.isEmpty())
                ::umount(mounted.constData());
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        }
    } undo{mounted, folder};
    mdlSt::SetProgramFolder(folder);
    MsgBoxRecorder boxes;
    mdlSt::strCurrentPath = QStringLiteral("/somewhere");
    mdlSt::IniWrite();
    mdlSt::IniWrite();
    QVERIFY(QFileInfo::exists(fallback));
    QVERIFY(!QFileInfo::exists(folder + "/PicSet.Ini"));
    QCOMPARE(boxes.calls().size(), 1); // told once
    QVERIFY(boxes.calls()[0].prompt.contains(QDir::toNativeSeparators(fallback)));

    ResetForTest(folder);
    mdlSt::IniRead();
    QCOMPARE(mdlSt::strCurrentPath, QStringLiteral("/somewhere"));
    // The next run, as an installed program's every run, is not told again.
    mdlSt::strCurrentPath = QStringLiteral("/elsewhere");
    mdlSt::IniWrite();
    QCOMPARE(boxes.calls().size(), 1);
    QVERIFY(ReadAll(fallback).startsWith("\"/elsewhere\""));
    QFile::remove(fallback);
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
    const QString fallback =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/PicSet.Ini";
    QFile::remove(fallback);
    mdlSt::strCurrentPath = QString(3000, QLatin1Char('n'));
    mdlSt::IniWrite();
    QCOMPARE(ReadAll(mountPoint + "/PicSet.Ini"), old);
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files).size(), 2); // no temporary left behind
    QVERIFY(ReadAll(fallback).startsWith("\"nnn"));
    QFile::remove(fallback);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
