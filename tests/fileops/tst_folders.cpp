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
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class TestFolders : public QObject {
    Q_OBJECT
private slots:
    void makeFolder_data();
    void makeFolder();
    void makeFolderCancel();
    void deleteDeepestFirst();
    void deleteKeepsLinkTargets();
    void deleteRefusedWhileOpen_data();
    void deleteRefusedWhileOpen();
    void deleteCancelled();
    void deleteRefusesVolumeRoot_data();
    void deleteRefusesVolumeRoot();
    void deleteStopsAtMounts_data();
    void deleteStopsAtMounts();
    void deleteLeavesUndecodableNames();
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
    QTest::newRow("spaces only") << "  "
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
    QVERIFY(DeleteTree(dir.file("t")).isEmpty());
    QVERIFY(!QFileInfo::exists(dir.file("t")));
    QCOMPARE(ReadAll(dir.file("outside/keep.jpg")), QByteArray("keep"));
    QCOMPARE(ReadAll(dir.file("outside.jpg")), QByteArray("keep"));
    QCOMPARE(QFile::permissions(dir.file("outside.jpg")) & QFileDevice::WriteOwner,
             QFileDevice::Permissions{}); // the target's permissions untouched
    // A folder reached through a link goes as a link.
    QVERIFY(DeleteTree(dir.file("folderlink")).isEmpty());
    QCOMPARE(ReadAll(dir.file("outside/keep.jpg")), QByteArray("keep"));
}

void TestFolders::deleteRefusedWhileOpen_data() {
    QTest::addColumn<QString>("open");   // the folder of the thumbnail window
    QTest::addColumn<QString>("target"); // the folder to delete
    QTest::addColumn<bool>("refused");
    QTest::newRow("a subfolder open") << "t/sub"
                                      << "t" << true;
    QTest::newRow("open through a link to it") << "photos/LD"
                                               << "outside" << true;
    QTest::newRow("open, its link deleted") << "outside"
                                            << "photos/LD" << true;
    QTest::newRow("open, a link to it in the tree") << "outside"
                                                    << "t" << false;
}

void TestFolders::deleteRefusedWhileOpen() {
    QFETCH(QString, open);
    QFETCH(QString, target);
    QFETCH(bool, refused);
    TestFolder dir;
    dir.write("t/sub/a.jpg", "x");
    dir.write("outside/deeper/keep.jpg", "keep");
    dir.mkdir("photos");
    QVERIFY(QFile::link(dir.file("outside"), dir.file("photos/LD")));
    QVERIFY(QFile::link(dir.file("outside"), dir.file("t/link")));
    MsgBoxRecorder boxes;
    boxes.answer(Msg::Cancel); // the confirmation, when it comes
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file(target)), FsStatus::Ok);
    mdlSt::strWinPath = {dir.file(open), ""};
    mdlSt::intWinMax = 0;
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.prompts(),
             QStringList{refused ? "指定されたフォルダーは開いています。"
                                 : "フォルダーとその下のファイルをすべて削除します"});
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("フォルダーの削除"));
    QCOMPARE(ReadAll(dir.file("t/sub/a.jpg")), QByteArray("x"));
    QCOMPARE(ReadAll(dir.file("photos/LD/deeper/keep.jpg")), QByteArray("keep"));
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

void TestFolders::deleteRefusesVolumeRoot_data() {
    QTest::addColumn<bool>("listed"); // a volume of the drive list, or only mounted
    QTest::newRow("in the volume list") << true;
    QTest::newRow("a mount point not in the list") << false;
}

void TestFolders::deleteRefusesVolumeRoot() {
    QFETCH(bool, listed);
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    QString root = dir.path();
    std::optional<SmallDisk> disk;
    if (listed) {
        // The panel shows the program's folder; make it the root of a volume.
        f.drvSelect->setVolumes({"/", dir.path()});
    } else {
        root = dir.mkdir("mnt");
        if (!disk.emplace(root, 64 * 1024).ok)
            QSKIP("mounting a tmpfs is not allowed here");
        dir.write("mnt/PicSet.Ini", "x");
        QCOMPARE(f.dirSelect->setPath(root), FsStatus::Ok);
    }
    QCOMPARE(f.dirSelect->Path(), root);
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.prompts(), QStringList{"ドライブのいちばん上のフォルダーは削除できません。"});
    QVERIFY(QFileInfo::exists(root + "/PicSet.Ini"));
}

void TestFolders::deleteStopsAtMounts_data() {
    QTest::addColumn<QString>("kind"); // what is mounted at t/sub/mnt
    QTest::addColumn<bool>("late");    // mounted after the confirmation
    QTest::newRow("a folder of the same disk") << "bind" << false;
    QTest::newRow("a memory disk") << "tmpfs" << false;
    QTest::newRow("mounted after the confirmation") << "bind" << true;
}

void TestFolders::deleteStopsAtMounts() {
    QFETCH(QString, kind);
    QFETCH(bool, late);
    TestFolder dir;
    dir.write("t/a.jpg", "x");
    dir.write("t/sub/mnt/under.jpg", "hidden by the mount");
    dir.write("t/sub/b.jpg", "x");
    dir.write("t/z/c.jpg", "x");
    dir.write("p/deeper/ro.jpg", "keep");
    ::chmod(QFile::encodeName(dir.file("p/deeper/ro.jpg")).constData(), 0444);
    std::optional<BindMount> bind;
    std::optional<SmallDisk> disk;
    const auto mount = [&] {
        if (kind == "bind")
            return bind.emplace(dir.file("p"), dir.file("t/sub/mnt")).ok;
        if (!disk.emplace(dir.file("t/sub/mnt"), 64 * 1024).ok)
            return false;
        dir.write("t/sub/mnt/deeper/ro.jpg", "keep");
        return ::chmod(QFile::encodeName(dir.file("t/sub/mnt/deeper/ro.jpg")).constData(), 0444) ==
               0;
    };
    if (!late && !mount())
        QSKIP("mounting is not allowed here");

    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    QStringList prompts;
    bool mounted = !late;
    SetMsgBoxHandler([&](const MsgBoxCall& call) {
        prompts.append(call.prompt);
        if (late && prompts.size() == 1)
            mounted = mount();
        return int(Msg::Ok);
    });
    f.mnuFolderDelete->trigger();
    SetMsgBoxHandler({});
    if (!mounted)
        QSKIP("mounting is not allowed here");
    QCOMPARE(prompts.size(), 2);
    QCOMPARE(prompts[1],
             QStringLiteral("次のフォルダーを削除できませんでした。\n") + dir.file("t/sub/mnt"));
    // Everything on the mount is as it was; the rest of the tree is gone.
    QCOMPARE(ReadAll(dir.file("t/sub/mnt/deeper/ro.jpg")), QByteArray("keep"));
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(dir.file("t/sub/mnt/deeper/ro.jpg")).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0444));
    QCOMPARE(QDir(dir.file("t")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"sub"});
    QCOMPARE(QDir(dir.file("t/sub")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"mnt"});
    QCOMPARE(f.dirSelect->Path(), dir.path());
}

void TestFolders::deleteLeavesUndecodableNames() {
    TestFolder dir;
    dir.write("t/sub/ok.jpg", "x");
    // Names written on another system in Shift-JIS: not UTF-8.
    const QByteArray sjis("\x93\xfa\x96\x7b"), t = QFile::encodeName(dir.file("t"));
    QVERIFY(::mkdir(t + '/' + sjis, 0755) == 0);
    const auto write = [](const QByteArray& path) {
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        return fd >= 0 && ::write(fd, path.constData(), size_t(path.size())) == path.size() &&
               ::close(fd) == 0;
    };
    QVERIFY(write(t + "/sub/" + sjis + ".jpg"));
    QVERIFY(write(t + '/' + sjis + "/x.jpg"));
    MsgBoxRecorder boxes;
    frmMain f;
    QCOMPARE(f.dirSelect->setPath(dir.file("t")), FsStatus::Ok);
    boxes.answer(Msg::Ok);
    f.mnuFolderDelete->trigger();
    QCOMPARE(boxes.prompts().size(), 2);
    QCOMPARE(boxes.prompts()[1], "次のファイルを削除できませんでした。\n" + dir.file("t") +
                                     "/sub/\\x93\\xFA\\x96{.jpg\n"
                                     "次のフォルダーを削除できませんでした。\n" +
                                     dir.file("t") + "/\\x93\\xFA\\x96{");
    QCOMPARE(boxes.calls()[1].title, QStringLiteral("警告"));
    // Nothing but the named entries and the folders holding them is left,
    // and those hold what they held (each file its own path).
    for (const QByteArray& kept : {t + "/sub/" + sjis + ".jpg", t + '/' + sjis + "/x.jpg"}) {
        QFile file;
        QVERIFY(file.open(::open(kept.constData(), O_RDONLY), QIODevice::ReadOnly,
                          QFileDevice::AutoCloseHandle));
        QCOMPARE(file.readAll(), kept);
    }
    QVERIFY(!QFileInfo::exists(dir.file("t/sub/ok.jpg")));
    QCOMPARE(f.dirSelect->Path(), dir.path());
}

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
