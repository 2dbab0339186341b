// Copy, move, delete and rename never lose or change a file: faults at every
// step leave every source and every existing target as it was, and no
// partial file behind.
#include "TestSupport.h"
#include "platform/FileOps.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray sha(const QString& path) {
    return QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha256).toHex();
}

QByteArray noise(qsizetype size) {
    QByteArray b(size, Qt::Uninitialized);
    QRandomGenerator gen(size);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

// Every file of a folder with its hash.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        out.insert(fi.fileName(), sha(fi.filePath()));
    return out;
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT
private slots:
    void copyKeepsContentAndTime_data();
    void copyKeepsContentAndTime();
    void copyRefusesExisting_data();
    void copyRefusesExisting();
    void moveDeletesOnlyAfterCopy();
    void moveKeepsWhereLinksLead_data();
    void moveKeepsWhereLinksLead();
    void sourceVanished();
    void diskFull_data();
    void diskFull();
    void readOnlyDestination();
    void deniedThroughSeam_data();
    void deniedThroughSeam();
    void renameRefusesExisting();
    void deleteRefusesFolder();
};

void TestFileOps::copyKeepsContentAndTime_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::newRow("empty") << qsizetype(0);
    QTest::newRow("under a block") << qsizetype(4095);
    QTest::newRow("20 MiB") << qsizetype(20 << 20);
}

void TestFileOps::copyKeepsContentAndTime() {
    QFETCH(qsizetype, size);
    TestFolder dir;
    const QString src = dir.write("a/photo.jpg", noise(size));
    dir.mkdir("b");
    QFile::setPermissions(src, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const QDateTime old = QDateTime::currentDateTime().addDays(-400);
    {
        QFile f(src);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QCOMPARE(CopyFileSafe(src, dir.file("b/PHOTO.JPG")), FsStatus::Ok);
    QCOMPARE(sha(dir.file("b/PHOTO.JPG")), sha(src));
    QCOMPARE(QFileInfo(dir.file("b/PHOTO.JPG")).lastModified(), QFileInfo(src).lastModified());
    QCOMPARE(QFile::permissions(dir.file("b/PHOTO.JPG")), QFile::permissions(src));
    QCOMPARE(QDir(dir.file("b")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestFileOps::copyRefusesExisting_data() {
    QTest::addColumn<QString>("existing");
    QTest::newRow("plain") << "PHOTO.JPG";
    QTest::newRow("link to elsewhere") << "LINK.JPG";
}

void TestFileOps::copyRefusesExisting() {
    QFETCH(QString, existing);
    TestFolder dir;
    const QString src = dir.write("a/photo.jpg", noise(5000));
    dir.write("b/PHOTO.JPG", "old target");
    dir.write("b/.HIDDEN.JPG", "hidden target");
    dir.write("elsewhere.jpg", "elsewhere");
    QFile::link(dir.file("elsewhere.jpg"), dir.file("b/LINK.JPG"));
    const auto before = snapshot(dir.file("b"));
    QCOMPARE(CopyFileSafe(src, dir.file("b/" + existing)), FsStatus::Exists);
    QCOMPARE(CopyFileSafe(src, dir.file("b/.HIDDEN.JPG")), FsStatus::Exists);
    QCOMPARE(snapshot(dir.file("b")), before);
    QCOMPARE(ReadAll(dir.file("elsewhere.jpg")), QByteArray("elsewhere"));
}

void TestFileOps::moveDeletesOnlyAfterCopy() {
    TestFolder dir;
    const QByteArray content = noise(100000);
    const QString src = dir.write("a/photo.jpg", content);
    dir.write("b/PHOTO.JPG", "taken");
    QCOMPARE(MoveFileSafe(src, dir.file("b/PHOTO.JPG")), FsStatus::Exists);
    QCOMPARE(ReadAll(src), content);
    QCOMPARE(MoveFileSafe(src, dir.file("b/OTHER.JPG")), FsStatus::Ok);
    QVERIFY(!QFileInfo::exists(src));
    QCOMPARE(ReadAll(dir.file("b/OTHER.JPG")), content);
}

void TestFileOps::moveKeepsWhereLinksLead_data() {
    QTest::addColumn<QString>("text");   // of the link a/LINK.JPG
    QTest::addColumn<QString>("target"); // where it moves
    QTest::addColumn<QString>("moved");  // its text there
    QTest::addColumn<QByteArray>("leads");
    auto row = [](const char* name, const char* text, const char* target, const char* moved,
                  const char* leads) {
        QTest::newRow(name) << text << target << moved << QByteArray(leads);
    };
    row("one level deeper", "../pics/real.jpg", "a/deep/LINK.JPG", "../../pics/real.jpg", "real");
    row("one level up", "../pics/real.jpg", "LINK.JPG", "pics/real.jpg", "real");
    row("through a linked folder", "../via/real.jpg", "a/deep/LINK.JPG", "../../pics/real.jpg",
        "real");
    row("to a link, kept a link", "../pics/hop.jpg", "a/deep/LINK.JPG", "../../pics/hop.jpg",
        "real");
    row("leading nowhere", "../gone.jpg", "a/deep/LINK.JPG", "../gone.jpg", "");
}

void TestFileOps::moveKeepsWhereLinksLead() {
    QFETCH(QString, text);
    QFETCH(QString, target);
    QFETCH(QString, moved);
    QFETCH(QByteArray, leads);
    TestFolder dir;
    dir.write("pics/real.jpg", "real");
    // Beside the link's new place, a picture of the same name that the old
    // text would lead to.
    dir.write("a/pics/real.jpg", "decoy");
    dir.write("a/deep/pics/real.jpg", "decoy");
    QVERIFY(QFile::link("real.jpg", dir.file("pics/hop.jpg")));
    QVERIFY(QFile::link("pics", dir.file("via")));
    QVERIFY(::symlink(QFile::encodeName(text), QFile::encodeName(dir.file("a/LINK.JPG"))) == 0);
    QCOMPARE(MoveFileSafe(dir.file("a/LINK.JPG"), dir.file(target)), FsStatus::Ok);
    char written[256] = {};
    QVERIFY(::readlink(QFile::encodeName(dir.file(target)), written, sizeof written - 1) > 0);
    QCOMPARE(QString::fromUtf8(written), moved);
    QCOMPARE(QFileInfo::exists(dir.file(target)) ? ReadAll(dir.file(target)) : QByteArray(), leads);
}

void TestFileOps::sourceVanished() {
    TestFolder dir;
    dir.mkdir("b");
    QCOMPARE(CopyFileSafe(dir.file("a/gone.jpg"), dir.file("b/GONE.JPG")), FsStatus::NotFound);
    QCOMPARE(MoveFileSafe(dir.file("a/gone.jpg"), dir.file("b/GONE.JPG")), FsStatus::NotFound);
    QCOMPARE(DeleteFileSafe(dir.file("a/gone.jpg")), FsStatus::NotFound);
    QVERIFY(QDir(dir.file("b")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestFileOps::diskFull_data() {
    QTest::addColumn<qint64>("leave");
    QTest::newRow("at the first block") << qint64(0);
    QTest::newRow("at the last block") << qint64(200 * 1024 - 4096);
}

void TestFileOps::diskFull() {
    QFETCH(qint64, leave);
    TestFolder dir;
    const QString src = dir.write("a/photo.jpg", noise(200 * 1024));
    const QString dst = dir.mkdir("full");
    SmallDisk disk(dst, 1 << 20);
    if (!disk.ok)
        QSKIP("mounting a small tmpfs is not allowed here");
    dir.write("full/EXISTING.JPG", "existing");
    QVERIFY(disk.leaveFree(leave));
    const auto before = snapshot(dst);
    const QByteArray source = sha(src);
    QCOMPARE(CopyFileSafe(src, dst + "/PHOTO.JPG"), FsStatus::NoSpace);
    QCOMPARE(MoveFileSafe(src, dst + "/PHOTO.JPG"), FsStatus::NoSpace);
    QCOMPARE(sha(src), source);
    QCOMPARE(snapshot(dst), before); // no partial file, nothing changed
}

void TestFileOps::readOnlyDestination() {
    TestFolder dir;
    const QString src = dir.write("a/photo.jpg", noise(4095));
    const QString dst = dir.mkdir("ro");
    SmallDisk disk(dst, 1 << 20);
    if (!disk.ok || !disk.remountReadOnly())
        QSKIP("mounting a read-only tmpfs is not allowed here");
    QCOMPARE(MoveFileSafe(src, dst + "/PHOTO.JPG"), FsStatus::Denied);
    QVERIFY(QFileInfo::exists(src));
    QVERIFY(QDir(dst).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestFileOps::deniedThroughSeam_data() {
    QTest::addColumn<QString>("step");
    QTest::newRow("copy") << "copy";
    QTest::newRow("delete") << "delete";
    QTest::newRow("rename") << "rename";
}

void TestFileOps::deniedThroughSeam() {
    QFETCH(QString, step);
    TestFolder dir;
    const QString src = dir.write("a/photo.jpg", noise(3000));
    dir.mkdir("b");
    SetFileFaultHook([step](const char* s, const QString&) {
        return step == QLatin1String(s) ? FsStatus::Denied : FsStatus::Ok;
    });
    const QByteArray before = sha(src);
    FsStatus st = FsStatus::Ok;
    if (step == "copy")
        st = MoveFileSafe(src, dir.file("b/PHOTO.JPG"));
    else if (step == "delete")
        st = DeleteFileSafe(src);
    else
        st = RenameFileSafe(src, dir.file("a/NEW.JPG"));
    SetFileFaultHook({});
    QCOMPARE(st, FsStatus::Denied);
    QCOMPARE(sha(src), before);
    QVERIFY(QDir(dir.file("b")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestFileOps::renameRefusesExisting() {
    TestFolder dir;
    const QString a = dir.write("a.jpg", "a");
    dir.write(".B.JPG", "b");
    QCOMPARE(RenameFileSafe(a, dir.file(".B.JPG")), FsStatus::Exists);
    QCOMPARE(ReadAll(dir.file(".B.JPG")), QByteArray("b"));
    QCOMPARE(RenameFileSafe(a, dir.file("C.JPG")), FsStatus::Ok);
    QCOMPARE(ReadAll(dir.file("C.JPG")), QByteArray("a"));
    QVERIFY(!QFileInfo::exists(a));
}

void TestFileOps::deleteRefusesFolder() {
    TestFolder dir;
    dir.write("sub/x.jpg", "x");
    QCOMPARE(DeleteFileSafe(dir.file("sub")), FsStatus::Other);
    QVERIFY(QFileInfo::exists(dir.file("sub/x.jpg")));
}

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
