// The platform layer: exact lookups with attribute masks, attributes, the
// verified write, placement at the pointer, and the list widgets.
#include "TestSupport.h"
#include "platform/DirList.h"
#include "platform/FileList.h"
#include "platform/Files.h"
#include "platform/FolderEntries.h"
#include "platform/Screen.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void lookupMasks_data();
    void lookupMasks();
    void lookupIsExact();
    void enumerateInNameOrder_data();
    void enumerateInNameOrder();
    void readOnlyAndClear();
    void readableNames_data();
    void readableNames();
    void verifiedWriteReplaces();
    void placement_data();
    void placement();
    void volumeOf_data();
    void volumeOf();
    void driveVolumes_data();
    void driveVolumes();
    void dirListChain();
    void dirListRefusesMissingFolder();
    void fileListPatternAndHidden();
};

void TestPlatform::lookupMasks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("found");
    QTest::newRow("plain, mask 0") << "a.jpg" << 0 << true;
    QTest::newRow("hidden, mask 0") << ".h.jpg" << 0 << false;
    QTest::newRow("hidden, mask 2") << ".h.jpg" << 2 << true;
    QTest::newRow("hidden, mask 6") << ".h.jpg" << 6 << true;
    QTest::newRow("folder, mask 0") << "sub" << 0 << false;
    QTest::newRow("folder, mask 2") << "sub" << 2 << false;
    QTest::newRow("folder, mask 16") << "sub" << 16 << true;
    QTest::newRow("plain, mask 16") << "a.jpg" << 16 << true;
    QTest::newRow("read-only, mask 0") << "ro.jpg" << 0 << true;
    QTest::newRow("missing") << "none.jpg" << 6 << false;
    QTest::newRow("other case") << "A.JPG" << 0 << true;
    QTest::newRow("other case, full width") << "ＰＩＣ.jpg" << 0 << true;
    QTest::newRow("other case, hidden, mask 0") << ".H.JPG" << 0 << false;
    QTest::newRow("other case, hidden, mask 2") << ".H.Jpg" << 2 << true;
    QTest::newRow("other case, folder, mask 0") << "SUB" << 0 << false;
    QTest::newRow("other case, folder, mask 16") << "Sub" << 16 << true;
    QTest::newRow("link that leads nowhere") << "dangling.jpg" << 0 << true;
    QTest::newRow("wildcard") << "*.jpg" << 6 << false;
}

void TestPlatform::lookupMasks() {
    QFETCH(QString, name);
    QFETCH(int, mask);
    QFETCH(bool, found);
    TestFolder dir;
    dir.write("a.jpg", "x");
    dir.write(".h.jpg", "x");
    dir.write("ro.jpg", "x");
    dir.write("ｐｉｃ.jpg", "x");
    QFile::setPermissions(dir.file("ro.jpg"), QFileDevice::ReadOwner);
    dir.mkdir("sub");
    QVERIFY(QFile::link(dir.file("gone.jpg"), dir.file("dangling.jpg")));
    // The lookup of a path finds only what is there under exactly that name.
    QCOMPARE(DirExists(dir.file(name), mask), found && QFileInfo::exists(dir.file(name)));
    QCOMPARE(NameExists(dir.path(), name, mask), found);
    QCOMPARE(FolderNames(dir.path() + '/').contains(name, mask), found);
}

void TestPlatform::lookupIsExact() {
    TestFolder dir;
    dir.write("photo.jpg", "x");
    QVERIFY(!DirExists(dir.file("*.jpg"), 6));
    QVERIFY(!DirExists(dir.file("photo.jp?"), 6));
    QVERIFY(!DirExists(dir.file("PHOTO.JPG"), 6));
    QVERIFY(!DirExists(QString(), 6));
}

void TestPlatform::enumerateInNameOrder_data() {
    QTest::addColumn<QStringList>("created");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("made in reverse")
        << QStringList{"c.jpg", "b.jpg", "a.jpg"} << QStringList{"a.jpg", "b.jpg", "c.jpg"};
    QTest::newRow("letter case ignored")
        << QStringList{"b.JPG", "C.bmp", "a.gif", "A.gif", "B_2.jpg"}
        << QStringList{"A.gif", "a.gif", "b.JPG", "B_2.jpg", "C.bmp"};
    QTest::newRow("digits as text")
        << QStringList{"photo174.jpg", "photo17.jpg", "photo001.jpg", "写真.jpg", "photo2.jpg"}
        << QStringList{"photo001.jpg", "photo17.jpg", "photo174.jpg", "photo2.jpg", "写真.jpg"};
}

void TestPlatform::enumerateInNameOrder() {
    QFETCH(QStringList, created);
    QFETCH(QStringList, listed);
    TestFolder dir;
    for (const QString& n : created)
        dir.write(n, "x");
    dir.write(".hidden.jpg", "x");
    dir.mkdir("d");
    DirListing plain = DirEnumerate(dir.path(), 0);
    QCOMPARE(plain.status, FsStatus::Ok);
    QCOMPARE(plain.names, listed);
    // The file list shows the names in the same order.
    FileList list;
    list.setPattern("*.*");
    list.setPath(dir.path());
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    QCOMPARE(shown, listed);
    DirListing all = DirEnumerate(dir.path(), 2 | 16);
    QCOMPARE(all.names.size(), listed.size() + 2);
    QCOMPARE(DirEnumerate(dir.file("gone"), 0).status, FsStatus::NotFound);
}

void TestPlatform::readOnlyAndClear() {
    TestFolder dir;
    const QString f = dir.write(".hidden.jpg", "x");
    QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QVERIFY(IsReadOnly(f));
    QCOMPARE(ClearAttributes(f), FsStatus::Ok);
    QVERIFY(!IsReadOnly(f));
    QVERIFY(QFileInfo::exists(f)); // clearing never renames a hidden file
    QCOMPARE(ClearAttributes(dir.file("gone")), FsStatus::NotFound);
}

void TestPlatform::readableNames_data() {
    QTest::addColumn<QByteArray>("native");
    QTest::addColumn<QString>("readable");
    QTest::addColumn<bool>("decodes");
    QTest::newRow("Japanese") << QString("写真.jpg").toUtf8() << "写真.jpg" << true;
    QTest::newRow("replacement character") << QByteArray("\xef\xbf\xbd") << "\uFFFD" << true;
    QTest::newRow("Shift-JIS, partly like UTF-8")
        << QByteArray("\x8e\xca\x90\x5e") << "\\x8E\\xCA\\x90^" << false;
    QTest::newRow("only the undecodable part escaped")
        << QByteArray("/写真/\x93\xfa/a") << "/写真/\\x93\\xFA/a" << false;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << "\\xC0\\xAF" << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << "\\xED\\xA0\\x80" << false;
}

void TestPlatform::readableNames() {
    QFETCH(QByteArray, native);
    QFETCH(QString, readable);
    QFETCH(bool, decodes);
    QCOMPARE(ReadableName(native), readable);
    QCOMPARE(DecodesExactly(native), decodes);
}

void TestPlatform::verifiedWriteReplaces() {
    TestFolder dir;
    const QString f = dir.write("s.ini", "old");
    QCOMPARE(WriteFileVerified(f, "new content"), FsStatus::Ok);
    QCOMPARE(ReadAll(f), QByteArray("new content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    QCOMPARE(WriteFileVerified(dir.file("missing/s.ini"), "x"), FsStatus::NotFound);
}

void TestPlatform::placement_data() {
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("topLeft");
    const QRect screen(0, 0, 1024, 768);
    QTest::newRow("middle") << QPoint(500, 400) << QPoint(400, 350);
    QTest::newRow("top left") << QPoint(5, 5) << QPoint(0, 0);
    QTest::newRow("bottom right") << QPoint(1020, 760) << QPoint(824, 668);
    QTest::newRow("top right") << QPoint(1023, 0) << QPoint(824, 0);
    QTest::newRow("bottom left") << QPoint(0, 767) << QPoint(0, 668);
}

void TestPlatform::placement() {
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, topLeft);
    QCOMPARE(CentredOnPointer(pointer, QSize(200, 100), QRect(0, 0, 1024, 768)), topLeft);
}

void TestPlatform::volumeOf_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("root");
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("on root") << "/home/u"
                             << "/";
    QTest::newRow("mount point") << "/media/usb"
                                 << "/media/usb";
    QTest::newRow("inside mount") << "/media/usb/a/b"
                                  << "/media/usb";
    QTest::newRow("name prefix only") << "/media/usb2/x"
                                      << "/";
}

void TestPlatform::volumeOf() {
    QFETCH(QString, path);
    QFETCH(QString, root);
    QCOMPARE(VolumeRootOf(path, {"/", "/media/usb"}), root);
}

void TestPlatform::driveVolumes_data() {
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("drive");
    QTest::newRow("root, any type") << QByteArray("overlay") << "/" << true;
    QTest::newRow("disk") << QByteArray("ext4") << "/home" << true;
    QTest::newRow("card") << QByteArray("vfat") << "/media/u/CARD" << true;
    QTest::newRow("card under run") << QByteArray("vfat") << "/run/media/u/CARD" << true;
    QTest::newRow("memory, a person's") << QByteArray("tmpfs") << "/mnt/ram" << true;
    QTest::newRow("memory, /tmp") << QByteArray("tmpfs") << "/tmp" << true;
    QTest::newRow("memory, system") << QByteArray("tmpfs") << "/run/user/1000" << false;
    QTest::newRow("memory, /dev/shm") << QByteArray("tmpfs") << "/dev/shm" << false;
    QTest::newRow("pseudo") << QByteArray("proc") << "/proc" << false;
    QTest::newRow("pseudo elsewhere") << QByteArray("squashfs") << "/snap/core/1" << false;
    QTest::newRow("boot loader") << QByteArray("vfat") << "/boot/efi" << false;
}

void TestPlatform::driveVolumes() {
    QFETCH(QByteArray, type);
    QFETCH(QString, root);
    QFETCH(bool, drive);
    QCOMPARE(IsDriveVolume(type, root), drive);
}

void TestPlatform::dirListChain() {
    TestFolder dir;
    dir.mkdir("top/mid/zeta");
    dir.mkdir("top/mid/Alpha");
    dir.mkdir("top/mid/.hidden");
    dir.write("top/mid/file.jpg", "x");
    DirList list;
    list.setVolumeRoots({"/"});
    QSignalSpy changes(&list, &DirList::Change);
    QCOMPARE(list.setPath(dir.file("top/mid/")), FsStatus::Ok);
    QCOMPARE(list.Path(), dir.file("top/mid"));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(list.setPath(dir.file("top/mid")), FsStatus::Ok);
    QCOMPARE(changes.size(), 1); // the same folder raises no change
    const int depth = dir.file("top/mid").count('/');
    QCOMPARE(list.count(), depth + 1 + 2);
    QCOMPARE(list.rowPath(0), QStringLiteral("/"));
    QCOMPARE(list.rowPath(depth), dir.file("top/mid"));
    QCOMPARE(list.rowPath(depth + 1), dir.file("top/mid/Alpha"));
    QCOMPARE(list.rowPath(depth + 2), dir.file("top/mid/zeta"));

    // A double click on a subfolder opens it.
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QListWidgetItem* alpha = list.item(depth + 1);
    list.scrollToItem(alpha);
    const QPoint at = list.visualItemRect(alpha).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.Path(), dir.file("top/mid")); // a single click only selects
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.Path(), dir.file("top/mid/Alpha"));
    QCOMPARE(changes.size(), 2);
}

void TestPlatform::dirListRefusesMissingFolder() {
    TestFolder dir;
    DirList list;
    list.setVolumeRoots({"/", dir.file("vol")});
    QCOMPARE(list.setPath(dir.path()), FsStatus::Ok);
    QCOMPARE(list.setPath(dir.file("nothing")), FsStatus::NotFound);
    QCOMPARE(list.setPath(dir.file("vol")), FsStatus::NotReady); // a volume that is gone
    QCOMPARE(list.Path(), dir.path());
}

void TestPlatform::fileListPatternAndHidden() {
    TestFolder dir;
    for (const char* n : {"b.JPG", "a.jpg", "c.Gif", "d.jpeg", "e.txt", ".f.bmp", "g.wmf"})
        dir.write(n, "x");
    dir.mkdir("h.jpg");
    FileList list;
    list.setPattern("*.jpg;*.bmp;*.gif;*.ico;*.cur;*.wmf");
    list.setPath(dir.path());
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.item(i)->text();
    QCOMPARE(names, QStringList({"a.jpg", "b.JPG", "c.Gif", "g.wmf"}));
    list.setShowHidden(true);
    QCOMPARE(list.ListCount(), 5);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
