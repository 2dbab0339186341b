// The folder chooser and the move-or-copy question.
#include "TestSupport.h"
#include "app/frmDir.h"
#include "app/mdlSt.h"
#include "fileops/frmFileMove.h"
#include "platform/DirList.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"
#include "platform/ShowModal.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

class TestChoosers : public QObject {
    Q_OBJECT
private slots:
    void okReturnsStart();
    void openedFolderIsTheChoice();
    void cancelAndCloseBox_data();
    void cancelAndCloseBox();
    void missingStartFolder();
    void fourImageTypesOnly();
    void driveNotReady();
    void placedOnScreen_data();
    void placedOnScreen();
    void fileMoveAnswers_data();
    void fileMoveAnswers();
};

void TestChoosers::okReturnsStart() {
    TestFolder dir;
    mdlSt::strDestPath = dir.path();
    ModalScript modal;
    modal.then([](QDialog& d) {
        auto& f = static_cast<frmDir&>(d);
        QCOMPARE(f.windowTitle(), QStringLiteral("フォルダー指定"));
        QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    });
    frmDir chooser;
    ShowModal(chooser);
    QCOMPARE(mdlSt::strDestPath, dir.path());
}

void TestChoosers::openedFolderIsTheChoice() {
    TestFolder dir;
    dir.mkdir("sub");
    mdlSt::strDestPath = dir.path();
    ModalScript modal;
    modal.then([&](QDialog& d) {
        auto& f = static_cast<frmDir&>(d);
        // A highlighted row is not the choice; an opened one is. Enter in the
        // list opens the row and leaves the dialog open.
        const int row = f.dirCSelect->count() - 1;
        QCOMPARE(f.dirCSelect->rowPath(row), dir.file("sub"));
        f.dirCSelect->setCurrentRow(row);
        QTest::keyClick(f.dirCSelect, Qt::Key_Return);
        QVERIFY(f.isVisible());
        QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    });
    frmDir chooser;
    ShowModal(chooser);
    QCOMPARE(mdlSt::strDestPath, dir.file("sub"));
}

void TestChoosers::cancelAndCloseBox_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close box") << 2;
}

void TestChoosers::cancelAndCloseBox() {
    QFETCH(int, how);
    TestFolder dir;
    mdlSt::strDestPath = dir.path();
    ModalScript modal;
    modal.then([how](QDialog& d) {
        auto& f = static_cast<frmDir&>(d);
        if (how == 0)
            QTest::mouseClick(f.cmdCancel, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(&f, Qt::Key_Escape);
        else
            f.close();
    });
    frmDir chooser;
    ShowModal(chooser);
    QCOMPARE(mdlSt::strDestPath, QString());
}

void TestChoosers::missingStartFolder() {
    TestFolder dir;
    mdlSt::strDestPath = dir.file("gone/deeper");
    ModalScript modal;
    modal.then(
        [](QDialog& d) { QTest::mouseClick(static_cast<frmDir&>(d).cmdOK, Qt::LeftButton); });
    frmDir chooser;
    ShowModal(chooser);
    QCOMPARE(mdlSt::strDestPath, dir.path());
}

void TestChoosers::fourImageTypesOnly() {
    TestFolder dir;
    for (const char* n : {"a.jpg", "b.BMP", "c.gif", "d.ico", "e.cur", "f.wmf"})
        dir.write(n, "x");
    mdlSt::strDestPath = dir.path();
    frmDir chooser;
    QCOMPARE(chooser.flbCSelect->ListCount(), 4);
}

void TestChoosers::driveNotReady() {
    TestFolder dir;
    const QString usb = dir.mkdir("usb");
    mdlSt::strDestPath = dir.path();
    MsgBoxRecorder boxes;
    frmDir chooser;
    chooser.drvCSelect->setVolumes({"/", usb});
    chooser.dirCSelect->setVolumeRoots({"/", usb});
    QDir(usb).removeRecursively();
    chooser.drvCSelect->setCurrentIndex(1);
    QCOMPARE(boxes.prompts(), QStringList{"ディスクがセットされていません。"});
    QCOMPARE(chooser.dirCSelect->Path(), dir.path());
    QCOMPARE(chooser.drvCSelect->drive(), QStringLiteral("/"));
}

void TestChoosers::placedOnScreen_data() {
    QTest::addColumn<QPoint>("pointer");
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    QTest::newRow("top left") << s.topLeft();
    QTest::newRow("bottom right") << s.bottomRight();
}

void TestChoosers::placedOnScreen() {
    QFETCH(QPoint, pointer);
    TestFolder dir;
    mdlSt::strDestPath = dir.path();
    QCursor::setPos(pointer);
    frmDir chooser;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(screen.contains(chooser.geometry()));
    frmFileMove question;
    QVERIFY(screen.contains(question.geometry()));
}

void TestChoosers::fileMoveAnswers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("operation");
    QTest::newRow("copy") << "コピー" << int(mdlSt::OpCopy);
    QTest::newRow("move") << "移動" << int(mdlSt::OpMove);
    QTest::newRow("cancel") << "Cancel" << int(mdlSt::OpAsk);
    QTest::newRow("close box") << "" << int(mdlSt::OpAsk);
}

void TestChoosers::fileMoveAnswers() {
    QFETCH(QString, button);
    QFETCH(int, operation);
    TestFolder dir;
    mdlSt::bytOperation = mdlSt::OpAsk;
    ModalScript modal;
    modal.then([&](QDialog& d) {
        auto& q = static_cast<frmFileMove&>(d);
        QCOMPARE(q.windowTitle(), QStringLiteral("ファイル操作"));
        QCOMPARE(q.lblTitle->text(), QStringLiteral("ファイルを移動しますか？コピーしますか？"));
        if (button.isEmpty()) {
            q.close();
            return;
        }
        for (QPushButton* b : {q.cmdCopy, q.cmdMove, q.cmdCancel})
            if (b->text() == button)
                QTest::mouseClick(b, Qt::LeftButton);
    });
    frmFileMove question;
    ShowModal(question);
    QCOMPARE(mdlSt::bytOperation, operation);
}

QTEST_MAIN(TestChoosers)
#include "tst_choosers.moc"
