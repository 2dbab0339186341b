// Creating a folder, and deleting a folder with everything below it.
#include "TestSupport.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "fileops/FolderDelete.h"
#include "fileops/frmMakeFolder.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <sys/mount.h>

class TestFolders : public QObject {
    Q_OBJECT
private slots:
    void makeFolder_data();
    void makeFolder();
    void makeFolderCancel();
    void deleteDeepestFirst();
    void deleteKeepsLinkTargets();
    void deleteRefusedWhileOpen();
    void deleteCancelled();
    void deleteRefusesVolumeRoot();
    void deleteReportsLeftovers();
};

void TestFolders::makeFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message"); // "" = created
    QTest::newRow("new") << "新しい"
                         << "";
    QTest::newRow("existing folder") << "old"
                                     << "名前が重複しています。";
    QTest::newRow("existing file") << "photo.jpg"
                                   << "名前が重複しています。";
    QTest::newRow("existing folder in another case") << "OLD"
                                                     << "名前が重複しています。";
    QTest::newRow("empty") << ""
                           << "名前が重複しています。";
    QTest::newRow("slash") << "a/b"
                           << "フォルダー名に「/」は使えません。";
}

void TestFolders::makeFolder() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    TestFolder dir;
    dir.mkdir("old");
    dir.write("photo.jpg", "x");
    MsgBoxRecorder boxes;
    ModalScript modal;
    frmMain f;
    bool stayedOpen = false;
    modal.then([&](QDialog& d) {
        auto& m = static_cast<frmMakeFolder&>(d);
        QCOMPARE(m.windowTitle(), QStringLiteral("フォルダーの作成"));
        TypeText(m.txtName, name);
        QTest::mouseClick(m.cmdOk, Qt::LeftButton);
        stayedOpen = m.isVisible();
        if (stayedOpen)
            QTest::mouseClick(m.cmdCancel, Qt::LeftButton);
    });
    const int rowsBefore = f.dirSelect->count();
    f.mnuMakeFolder->trigger();
    QCOMPARE(modal.shown(), 1);
    if (message.isEmpty()) {
        QVERIFY(!stayedOpen);
        QVERIFY(QFileInfo(dir.file(name)).isDir());
        QCOMPARE(f.dirSelect->count(), rowsBefore + 1); // the list shows it
        QVERIFY(boxes.calls().isEmpty());
    } else {
        QVERIFY(stayedOpen);
        QCOMPARE(boxes.prompts(), QStringList{message});
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("警告"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 3); // old, photo.jpg, PicSet.Ini
    }
}

void TestFolders::makeFolderCancel() {
    TestFolder dir;
    ModalScript modal;
    frmMain f;
    modal.then([](QDialog& d) {
        auto& m = static_cast<frmMakeFolder&>(d);
        QTest::keyClicks(m.txtName, "x");
        QTest::keyClick(&m, Qt::Key_Escape);
    });
    f.cmdMakeFolder->click();
    QVERIFY(!QFileInfo::exists(dir.file("x")));
}

void TestFolders::deleteDeepestFirst() {
    TestFolder dir;
    dir.write("t/a.jpg", "x");
    dir.write("t/b/c/deep.jpg", "x");
    dir.write("t/b/.hidden.jpg", "x");
    dir.write("t/b/ro.jpg", "x");
    QFile::setPermissions(dir.file("t/b/ro.jpg"), QFileDevice::ReadOwner);
    dir.mkdir("t/.hiddenfolder");
    const DeletionLists lists = DelListMake(dir.file("t"));
    QCOMPARE(lists.folders.last(), dir.file("t"));
    QVERIFY(lists.folders.indexOf(dir.file("t/b/c")) < lists.folders.indexOf(dir.file("t/b")));
    QCOMPARE(lists.files.size(), 4);

    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t/b")), FsStatus::Ok);
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    boxes.answer(Msg::Ok);
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls()[0].prompt,
             QStringLiteral("フォルダーとその下のファイルをすべて削除します"));
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("フォルダーの削除"));
    QCOMPARE(boxes.calls()[0].buttonSet(), int(Msg::OkCancel));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
    QVERIFY(!QFileInfo::exists(dir.file("t")));
    QCOMPARE(f.dirSelect->Path(), dir.path());
    QCOMPARE(mdlSt::strCurrentPath, dir.path());
}

void TestFolders::deleteKeepsLinkTargets() {
    TestFolder dir;
    dir.write("outside/keep.jpg", "keep");
    dir.write("outside.jpg", "keep");
    dir.mkdir("t");
    QVERIFY(QFile::link(dir.file("outside"), dir.file("t/linkdir")));
    QVERIFY(QFile::link(dir.file("outside.jpg"), dir.file("t/link.jpg")));
    QVERIFY(QFile::link(dir.file("outside"), dir.file("folderlink")));
    QFile::setPermissions(dir.file("outside.jpg"), QFileDevice::ReadOwner);
    QVERIFY(DeleteLists(DelListMake(dir.file("t"))).isEmpty());
    QVERIFY(!QFileInfo::exists(dir.file("t")));
    QCOMPARE(ReadAll(dir.file("outside/keep.jpg")), QByteArray("keep"));
    QCOMPARE(ReadAll(dir.file("outside.jpg")), QByteArray("keep"));
    QCOMPARE(QFile::permissions(dir.file("outside.jpg")) & QFileDevice::WriteOwner,
             QFileDevice::Permissions{}); // the target's permissions untouched
    // A folder reached through a link goes as a link.
    QVERIFY(DeleteLists(DelListMake(dir.file("folderlink"))).isEmpty());
    QCOMPARE(ReadAll(dir.file("outside/keep.jpg")), QByteArray("keep"));
}

void TestFolders::deleteRefusedWhileOpen() {
    TestFolder dir;
    dir.write("t/sub/a.jpg", "x");
    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    mdlSt::strWinPath = {dir.file("t/sub"), ""};
    mdlSt::intWinMax = 0;
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.prompts(), QStringList{"指定されたフォルダーは開いています。"});
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("フォルダーの削除"));
    QVERIFY(QFileInfo::exists(dir.file("t/sub/a.jpg")));
}

void TestFolders::deleteCancelled() {
    TestFolder dir;
    dir.write("t/a.jpg", "x");
    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    boxes.answer(Msg::Cancel);
    f.mnuFolderDelete->trigger();
    QVERIFY(QFileInfo::exists(dir.file("t/a.jpg")));
    QCOMPARE(f.dirSelect->Path(), dir.file("t"));
}

void TestFolders::deleteRefusesVolumeRoot() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    // The panel shows the program's folder; make it the root of a volume.
    f.drvSelect->setVolumes({"/", dir.path()});
    QCOMPARE(f.dirSelect->Path(), dir.path());
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.prompts(), QStringList{"ドライブのいちばん上のフォルダーは削除できません。"});
    QVERIFY(QFileInfo::exists(dir.file("PicSet.Ini")));
}

void TestFolders::deleteReportsLeftovers() {
    TestFolder dir;
    dir.write("t/gone.jpg", "x");
    const QString mountPoint = dir.mkdir("t/keep");
    const QByteArray native = QFile::encodeName(mountPoint);
    if (::mount("tmpfs", native.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("mounting a tmpfs is not allowed here");
    struct Unmount {
        QByteArray p;
        ~Unmount() { ::umount(p.constData()); }
    } unmount{native};
    dir.write("t/keep/stuck.jpg", "x");
    QVERIFY(::mount("tmpfs", native.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0);

    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    boxes.answer(Msg::Ok);
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.calls().size(), 2);
    const MsgBoxCall& report = boxes.calls()[1];
    QCOMPARE(report.prompt, QStringLiteral("次のファイルを削除できませんでした。\n") +
                                dir.file("t/keep/stuck.jpg"));
    QVERIFY(QFileInfo::exists(dir.file("t/keep/stuck.jpg")));
    QVERIFY(!QFileInfo::exists(dir.file("t/gone.jpg")));
    QCOMPARE(f.dirSelect->Path(), dir.path());
}

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
