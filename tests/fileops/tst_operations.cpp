// The file commands through the real main window: the operations and their
// questions, the gates, the thumbnail windows kept in step with the disk, and
// the closing steps of each branch.
#include "ImageFiles.h"
#include "OpTestKit.h"
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "app/mdlSt.h"
#include "fileops/frmFileMove.h"
#include "fileops/frmReadOnly.h"
#include "platform/DirList.h"
#include "platform/FileList.h"
#include "platform/FileOps.h"
#include "rename/frmNameInput.h"
#include "rename/frmReName.h"
#include "thumbs/ThumbDecoder.h"
#include "thumbs/ThumbDrag.h"
#include "thumbs/ThumbWidgets.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace mdlSt;

namespace {
// The names of a folder's files, in code-point order.
QStringList Files(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.sort(Qt::CaseSensitive);
    return names;
}
} // namespace

class TestOperations : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void copyArrivesInUpperCase();
    void collisionAsksForAnotherName_data();
    void collisionAsksForAnotherName();
    void moveIntoAnOpenWindow();
    void sameFolderRefused_data();
    void sameFolderRefused();
    void dropAsksMoveOrCopy_data();
    void dropAsksMoveOrCopy();
    void deleteConfirmation_data();
    void deleteConfirmation();
    void readOnlyGate_data();
    void readOnlyGate();
    void ignoreAllLastsOneCall();
    void renameAllNumbers_data();
    void renameAllNumbers();
    void renameOneTakesTheFirst();
    void openOpensEachInOrder();
    void nothingSelectedDoesNothing();
    void foreignDropsRefused_data();
    void foreignDropsRefused();
    void noSecondOperationInside();
    void editMenuShortcutUsesActiveWindow();
    void retryRetries();
    void cacheForgetsOldNames_data();
    void cacheForgetsOldNames();
    void changedWhileRealThumbnailsPending();

private:
    std::unique_ptr<TestFolder> m_dir;
    std::unique_ptr<frmMain> m_main;
    QString m_src;
    QString m_dst;
    frmPreview* m_w = nullptr;

    // Opens the folder in a thumbnail window.
    frmPreview* open(const QString& folder) { return OpenThumbnails(*m_main, folder); }
    // Drops this window's selection on a target as a drag of its labels.
    void drop(QWidget* target, const QMimeData& data);
    QMimeData* labelsOf(frmPreview& w) const;
};

void TestOperations::init() {
    m_dir = std::make_unique<TestFolder>();
    m_src = m_dir->file("src");
    m_dst = m_dir->file("dst");
    QDir().mkpath(m_dst);
    WritePicture(m_src, "photo.jpg", QSize(20, 10), "JPG");
    WritePicture(m_src, "b.gif", QSize(10, 20), "BMP");
    WritePicture(m_src, "c.BMP", QSize(8, 8));
    m_main = std::make_unique<frmMain>();
    m_main->show();
    m_w = open(m_src);
    QVERIFY(m_w);
}

void TestOperations::cleanup() {
    SetFileFaultHook({});
    m_main.reset();
    m_dir.reset();
}

QMimeData* TestOperations::labelsOf(frmPreview& w) const {
    // A press on a selected label gathers the window's selection and starts
    // the drag; its data is what the drop target receives.
    for (int i = 0; i < w.intFileCount; ++i)
        if (w.lblName[i]->selectedLook()) {
            QTest::mousePress(w.lblName[i], Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
            QTest::mouseRelease(w.lblName[i], Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
            return w.DragData();
        }
    return nullptr;
}

void TestOperations::drop(QWidget* target, const QMimeData& data) {
    const QPoint at(3, 3);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    // The drop's own work runs once the drag has ended.
    QCoreApplication::processEvents();
}

void TestOperations::copyArrivesInUpperCase() {
    MsgBoxRecorder boxes;
    const QString source = m_dir->file("src/photo.jpg");
    const QByteArray before = Sha(source);
    {
        QFile f(source);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000),
                              QFileDevice::FileModificationTime));
    }
    SelectNames(*m_w, {"photo.jpg", "b.gif"});
    ModalScript modal;
    ChooseFolder(modal, m_dst);
    m_main->cmdCopy->click();
    QCOMPARE(modal.shown(), 1);
    QVERIFY(boxes.calls().isEmpty());
    QCOMPARE(Files(m_dst), (QStringList{"B.GIF", "PHOTO.JPG"}));
    QCOMPARE(Sha(m_dst + "/PHOTO.JPG"), before);
    QCOMPARE(QFileInfo(m_dst + "/PHOTO.JPG").lastModified().toSecsSinceEpoch(), 1000000000);
    // The source window keeps its files; only its selection is gone.
    QCOMPARE(ShownNames(*m_w).size(), 3);
    QVERIFY(!m_w->blnSelected.contains(true));
    QVERIFY(strSelectFiles.isEmpty());
    QVERIFY(!m_main->cmdCopy->isEnabled());
    // The chooser started from the current folder; the panel was read again.
    QCOMPARE(m_main->lblCount->text(), m_src + " ﾌｧｲﾙ数 3");
}

void TestOperations::collisionAsksForAnotherName_data() {
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("answer"); // "" = Cancel
    QTest::addColumn<QStringList>("after");
    QTest::newRow("Cancel skips only that file")
        << false << "PHOTO.JPG" << QString() << QStringList{"B.GIF", "PHOTO.JPG"};
    QTest::newRow("another name") << false << "PHOTO.JPG"
                                  << "PHOTO2.JPG"
                                  << QStringList{"B.GIF", "PHOTO.JPG", "PHOTO2.JPG"};
    QTest::newRow("move onto the name in mixed case, another name")
        << true << "Photo.Jpg"
        << "PHOTO2.JPG" << QStringList{"B.GIF", "PHOTO2.JPG", "Photo.Jpg"};
}

void TestOperations::collisionAsksForAnotherName() {
    QFETCH(bool, move);
    QFETCH(QString, existing);
    QFETCH(QString, answer);
    QFETCH(QStringList, after);
    MsgBoxRecorder boxes;
    m_dir->write("dst/" + existing, "taken");
    const QByteArray photo = Sha(m_src + "/photo.jpg");
    SelectNames(*m_w, {"photo.jpg", "b.gif"});
    ModalScript modal;
    ChooseFolder(modal, m_dst);
    QString asked;
    if (answer.isEmpty())
        modal.then([&](QDialog& d) {
            asked = static_cast<frmNameInput&>(d).txtName->text();
            QTest::mouseClick(static_cast<frmNameInput&>(d).cmdCancel, Qt::LeftButton);
        });
    else
        TypeNameAndOk(modal, answer);
    (move ? m_main->cmdMove : m_main->cmdCopy)->click();
    QCOMPARE(modal.shown(), 2);
    if (answer.isEmpty())
        QVERIFY2(asked.startsWith("PHOTO."), qPrintable(asked));
    QCOMPARE(Files(m_dst), after);
    QCOMPARE(ReadAll(m_dst + "/" + existing), QByteArray("taken"));
    // The file itself is where the answer sent it, unchanged.
    QCOMPARE(Sha(answer.isEmpty() || !move ? m_src + "/photo.jpg" : m_dst + "/" + answer), photo);
    QVERIFY(boxes.calls().isEmpty());
}

void TestOperations::moveIntoAnOpenWindow() {
    MsgBoxRecorder boxes;
    WritePicture(m_dst, "old.bmp", QSize(8, 8));
    frmPreview* target = open(m_dst);
    QVERIFY(target && target != m_w);
    Activate(*m_main, *m_w);
    // The last entry stays; the two before it move.
    QStringList order;
    for (int i = 0; i < m_w->intFileCount; ++i)
        order.append(QFileInfo(m_w->strFiles[i]).fileName());
    const QString kept = order.takeLast();
    const QPoint firstCell = m_w->lblName[0]->pos();
    SelectNames(*m_w, order);
    ModalScript modal;
    PressButton(modal, QStringLiteral("移動"));
    // Dragged onto the folder list, which shows the destination.
    std::unique_ptr<QMimeData> data(labelsOf(*m_w));
    QVERIFY(data);
    QCOMPARE(m_main->dirSelect->setPath(m_dst), FsStatus::Ok);
    drop(m_main->dirSelect->viewport(), *data);
    QCOMPARE(modal.shown(), 1);
    QVERIFY(boxes.calls().isEmpty());
    QCOMPARE(Files(m_src), QStringList{kept});
    QStringList arrived{"old.bmp"};
    for (const QString& name : order)
        arrived.append(name.toUpper());
    // Appended to the destination window, whose folder is back in its box.
    QCOMPARE(ShownNames(*target), arrived);
    arrived.sort(Qt::CaseSensitive);
    QCOMPARE(Files(m_dst), arrived);
    QCOMPARE(target->txtPath->text(), m_dst);
    QCOMPARE(strCurrentPath, m_dst);
    QVERIFY(!target->picPre1[2]->picture().isNull());
    // Blanked here, and the one left moved to the first cell.
    QCOMPARE(ShownNames(*m_w), QStringList{kept});
    QCOMPARE(m_w->lblName[EntryOf(*m_w, kept)]->pos(), firstCell);
    QVERIFY(!m_w->blnSelected.contains(true));
}

void TestOperations::sameFolderRefused_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the same text") << QString() << true;
    QTest::newRow("with a trailing slash") << "/" << false;
}

void TestOperations::sameFolderRefused() {
    QFETCH(QString, suffix);
    QFETCH(bool, refused);
    MsgBoxRecorder boxes;
    SelectNames(*m_w, {"photo.jpg"});
    ModalScript modal;
    if (!refused)
        PressButton(modal, QStringLiteral("Cancel"));
    const auto before = Snapshot(m_src);
    m_dir->write("src/new.bmp", "x"); // seen only if the panel is read again
    strDestPath = strCurrentPath;
    bytOperation = OpAsk;
    m_main->CopyAndMove(m_src + suffix);
    if (refused) {
        QCOMPARE(boxes.prompts(), QStringList{"送り側と受け側が同じです。"});
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("警告"));
        QCOMPARE(boxes.calls()[0].buttons, Msg::OkOnly | Msg::Critical);
        QCOMPARE(modal.shown(), 0);
    } else {
        QVERIFY(boxes.calls().isEmpty());
        QCOMPARE(modal.shown(), 1);
    }
    QFile::remove(m_dir->file("src/new.bmp"));
    QCOMPARE(Snapshot(m_src), before);
    QVERIFY(strSelectFiles.isEmpty());
    QVERIFY(!m_w->blnSelected.contains(true));
    // Neither branch reads the panel again.
    QCOMPARE(m_main->flbSelect->ListCount(), 3);
}

void TestOperations::dropAsksMoveOrCopy_data() {
    QTest::addColumn<int>("how"); // 0 コピー, 1 移動, 2 Cancel, 3 close box
    QTest::addColumn<QStringList>("inSource");
    QTest::addColumn<QStringList>("inDest");
    const QStringList all{"b.gif", "c.BMP", "photo.jpg"};
    QTest::newRow("copy") << 0 << all << QStringList{"PHOTO.JPG"};
    QTest::newRow("move") << 1 << QStringList{"b.gif", "c.BMP"} << QStringList{"PHOTO.JPG"};
    QTest::newRow("Cancel") << 2 << all << QStringList{};
    QTest::newRow("close box") << 3 << all << QStringList{};
}

void TestOperations::dropAsksMoveOrCopy() {
    QFETCH(int, how);
    QFETCH(QStringList, inSource);
    QFETCH(QStringList, inDest);
    MsgBoxRecorder boxes;
    SelectNames(*m_w, {"photo.jpg"});
    std::unique_ptr<QMimeData> data(labelsOf(*m_w));
    QCOMPARE(m_main->dirSelect->setPath(m_dst), FsStatus::Ok);
    ModalScript modal;
    modal.then([how](QDialog& d) {
        auto& ask = static_cast<frmFileMove&>(d);
        QCOMPARE(ask.windowTitle(), QStringLiteral("ファイル操作"));
        if (how == 3)
            ask.close();
        else
            QTest::mouseClick(how == 0   ? ask.cmdCopy
                              : how == 1 ? ask.cmdMove
                                         : ask.cmdCancel,
                              Qt::LeftButton);
    });
    m_dir->write("dst/seen.bmp", "x");
    drop(m_main->dirSelect->viewport(), *data);
    QCOMPARE(modal.shown(), 1);
    QVERIFY(boxes.calls().isEmpty());
    QCOMPARE(Files(m_src), inSource);
    QCOMPARE(QDir(m_dst).entryList({"*.JPG"}, QDir::Files), inDest);
    QVERIFY(strSelectFiles.isEmpty());
    // Only a real operation reads the panel again.
    QCOMPARE(m_main->flbSelect->ListCount(), how < 2 ? 2 : 0);
}

void TestOperations::deleteConfirmation_data() {
    QTest::addColumn<int>("trigger"); // 0 button, 1 Edit menu, 2 popup, 3 waste bin
    QTest::addColumn<int>("answer");
    for (int t = 0; t < 4; ++t) {
        const char* names[] = {"button", "Edit menu", "popup", "waste bin"};
        QTest::addRow("%s, Yes", names[t]) << t << int(Msg::Yes);
        QTest::addRow("%s, No", names[t]) << t << int(Msg::No);
    }
}

void TestOperations::deleteConfirmation() {
    QFETCH(int, trigger);
    QFETCH(int, answer);
    MsgBoxRecorder boxes;
    boxes.answer(answer);
    SelectNames(*m_w, {"photo.jpg", "c.BMP"});
    const int photo = EntryOf(*m_w, "photo.jpg");
    m_dir->write("src/new.bmp", "x"); // seen only if the panel is read again
    switch (trigger) {
    case 0:
        m_main->cmdDelete->click();
        break;
    case 1:
        m_main->mnuMove[OpDelete]->trigger();
        break;
    case 2:
        m_main->mnuChange[OpDelete]->trigger();
        break;
    default: {
        std::unique_ptr<QMimeData> data(labelsOf(*m_w));
        drop(m_main->imgDust, *data);
    }
    }
    QCOMPARE(boxes.calls().size(), 1);
    const MsgBoxCall& ask = boxes.calls()[0];
    QCOMPARE(ask.prompt, QStringLiteral("ファイルを削除しますか？"));
    QCOMPARE(ask.title, QStringLiteral("ファイルの削除"));
    QCOMPARE(ask.buttons, Msg::YesNo | Msg::Question | Msg::DefaultButton2);
    if (answer == Msg::Yes) {
        QCOMPARE(Files(m_src), (QStringList{"b.gif", "new.bmp"}));
        QCOMPARE(ShownNames(*m_w), QStringList{"b.gif"});
        QVERIFY(m_w->picPre1[photo]->picture().isNull());
        // No thumbnail cache was there, and none is made.
        QVERIFY(!QFileInfo::exists(m_dir->file("cache")));
    } else {
        QCOMPARE(Files(m_src).size(), 4);
        QCOMPARE(ShownNames(*m_w).size(), 3);
    }
    QVERIFY(strSelectFiles.isEmpty());
    QVERIFY(!m_w->blnSelected.contains(true));
    // Both answers read the panel again.
    QCOMPARE(m_main->flbSelect->ListCount(), answer == Msg::Yes ? 2 : 4);
}

void TestOperations::readOnlyGate_data() {
    QTest::addColumn<bool>("autoClear");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Cancel keeps it") << false << "Cancel" << QStringList{"b.gif"};
    QTest::newRow("無視 deletes it") << false << "無視" << QStringList{};
    QTest::newRow("automatic clearing") << true << QString() << QStringList{};
}

void TestOperations::readOnlyGate() {
    QFETCH(bool, autoClear);
    QFETCH(QString, button);
    QFETCH(QStringList, left);
    MsgBoxRecorder boxes;
    boxes.answer(Msg::Yes);
    sngSetting[SlotAutoClearReadOnly] = autoClear ? 1 : 0;
    QFile::setPermissions(m_dir->file("src/b.gif"), QFile::ReadOwner);
    SelectNames(*m_w, {"photo.jpg", "b.gif", "c.BMP"});
    ModalScript modal;
    QString askedFor;
    if (!button.isEmpty())
        modal.then([&](QDialog& d) {
            askedFor = strWorkName;
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->text() == button)
                    QTest::mouseClick(b, Qt::LeftButton);
        });
    m_main->cmdDelete->click();
    QCOMPARE(modal.shown(), button.isEmpty() ? 0 : 1);
    if (!button.isEmpty())
        QCOMPARE(askedFor, QStringLiteral("B.GIF"));
    QCOMPARE(Files(m_src), left);
    QCOMPARE(ShownNames(*m_w), left);
}

void TestOperations::ignoreAllLastsOneCall() {
    MsgBoxRecorder boxes;
    sngSetting[SlotAutoClearReadOnly] = 0;
    for (const char* name : {"r1.bmp", "r2.bmp", "r3.bmp"})
        WritePicture(m_src, name, QSize(8, 8));
    m_w = open(m_src);
    for (const char* name : {"r1.bmp", "r2.bmp", "r3.bmp"})
        QFile::setPermissions(m_dir->file(QStringLiteral("src/") + name), QFile::ReadOwner);
    m_w->ListPre(m_src);
    ModalScript modal;
    PressButton(modal, QStringLiteral("すべて無視"));
    SelectNames(*m_w, {"r1.bmp", "r2.bmp"});
    boxes.answer(Msg::Yes);
    m_main->cmdDelete->click();
    // One question for both files of the call.
    QCOMPARE(modal.shown(), 1);
    QCOMPARE(sngSetting[SlotIgnoreAllReadOnly], 0.0f);
    PressButton(modal, QStringLiteral("Cancel"));
    SelectNames(*m_w, {"r3.bmp"});
    boxes.answer(Msg::Yes);
    m_main->cmdDelete->click();
    // The next call asks again.
    QCOMPARE(modal.shown(), 2);
    QVERIFY(QFile::exists(m_dir->file("src/r3.bmp")));
    QVERIFY(!QFile::exists(m_dir->file("src/r1.bmp")));
    QVERIFY(!QFile::exists(m_dir->file("src/r2.bmp")));
}

void TestOperations::renameAllNumbers_data() {
    QTest::addColumn<bool>("skipSecond");
    QTest::addColumn<bool>("variant"); // the first new name is taken in lower case
    QTest::newRow("all renamed") << false << false;
    QTest::newRow("a skipped file uses no number") << true << false;
    QTest::newRow("a name taken in another case is a collision") << false << true;
}

void TestOperations::renameAllNumbers() {
    QFETCH(bool, skipSecond);
    QFETCH(bool, variant);
    MsgBoxRecorder boxes;
    sngSetting[SlotAutoClearReadOnly] = 0;
    const QString trip = m_dir->file("trip");
    // Made in reverse: the entries, and so the numbers, follow the names.
    WritePicture(trip, "photo.jpg", QSize(8, 8), "JPG");
    WritePicture(trip, "c.BMP", QSize(8, 8));
    WritePicture(trip, "b.gif", QSize(8, 8), "BMP");
    frmPreview* w = open(trip);
    QVERIFY(w);
    const QStringList order{"b.gif", "c.BMP", "photo.jpg"};
    QCOMPARE(ShownNames(*w), order);
    QStringList after;
    int number = 1;
    for (int k = 0; k < order.size(); ++k) {
        if ((skipSecond && k == 1) || (variant && k == 0)) {
            after.append(order[k]);
            continue;
        }
        after.append(QStringLiteral("TRIP %1.").arg(number++, 3, 10, QLatin1Char('0')) +
                     QFileInfo(order[k]).suffix().toUpper());
    }
    if (skipSecond)
        QFile::setPermissions(trip + "/" + order[1], QFile::ReadOwner);
    const QString taken = "trip 001." + QFileInfo(order[0]).suffix().toLower();
    if (variant)
        m_dir->write("trip/" + taken, "taken");
    SelectNames(*w, order);
    QCOMPARE(strSelectFiles.size(), 3);
    ModalScript modal;
    QString base;
    modal.then([&](QDialog& d) {
        auto& r = static_cast<frmReName&>(d);
        base = r.txtName->text();
        QTest::mouseClick(r.cmdOk, Qt::LeftButton);
    });
    if (skipSecond || variant)
        PressButton(modal, QStringLiteral("Cancel"));
    m_main->cmdReName->click();
    QCOMPARE(base, QStringLiteral("TRIP"));
    QCOMPARE(modal.shown(), skipSecond || variant ? 2 : 1);
    QStringList sortedAfter = after;
    if (variant)
        sortedAfter.append(taken);
    sortedAfter.sort(Qt::CaseSensitive);
    QCOMPARE(Files(trip), sortedAfter);
    // The labels show the new names; the entries hold the new paths.
    QCOMPARE(ShownNames(*w), after);
    for (int i = 0; i < after.size(); ++i)
        QCOMPARE(w->strFiles[i], trip + "/" + after[i]);
    if (variant)
        QCOMPARE(ReadAll(trip + "/" + taken), QByteArray("taken"));
    QVERIFY(boxes.calls().isEmpty());
}

void TestOperations::renameOneTakesTheFirst() {
    MsgBoxRecorder boxes;
    SelectNames(*m_w, {"b.gif", "photo.jpg"});
    // The menus offer it for one file only; the operation itself takes the
    // first of any number.
    QVERIFY(!m_main->mnuChange[OpRenameOne]->isEnabled());
    ModalScript modal;
    TypeNameAndOk(modal, "Beach.gif");
    bytOperation = OpRenameOne;
    strDestPath = strCurrentPath;
    m_main->CopyAndMove(strDestPath);
    QCOMPARE(modal.shown(), 1);
    QCOMPARE(Files(m_src), (QStringList{"Beach.gif", "c.BMP", "photo.jpg"}));
    QVERIFY(ShownNames(*m_w).contains("Beach.gif"));
    QVERIFY(m_w->strFiles.contains(m_src + "/Beach.gif"));
}

void TestOperations::openOpensEachInOrder() {
    MsgBoxRecorder boxes;
    SelectNames(*m_w, {"photo.jpg", "b.gif", "c.BMP"});
    const QStringList order = strSelectFiles;
    m_main->cmdOpen->click();
    QStringList opened;
    for (const QPointer<QWidget>& v : frmViewer)
        if (v)
            opened.append(v->windowTitle());
    QCOMPARE(opened.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(opened[i].contains(QFileInfo(order[i]).fileName()), qPrintable(opened[i]));
    for (const QPointer<QWidget>& v : frmViewer)
        delete v.data();
}

void TestOperations::nothingSelectedDoesNothing() {
    MsgBoxRecorder boxes;
    ModalScript modal;
    const auto before = Snapshot(m_src);
    for (QToolButton* b : {m_main->cmdOpen, m_main->cmdReNameSingle, m_main->cmdCopy,
                           m_main->cmdMove, m_main->cmdDelete, m_main->cmdReName}) {
        // Enabled by hand: the handler itself must refuse an empty selection.
        b->setEnabled(true);
        b->click();
    }
    QCOMPARE(modal.shown(), 0);
    QVERIFY(boxes.calls().isEmpty());
    QCOMPARE(Snapshot(m_src), before);
    // The batch rename without any thumbnail window does nothing either.
    SelectNames(*m_w, {"b.gif"});
    m_main->cmdPanic->click();
    QTRY_COMPARE(m_main->mdiArea->subWindowList().size(), 0);
    strSelectFiles = QStringList{m_src + "/b.gif"};
    m_main->cmdReName->setEnabled(true);
    m_main->cmdReName->click();
    QCOMPARE(modal.shown(), 0);
    QCOMPARE(Snapshot(m_src), before);
}

void TestOperations::foreignDropsRefused_data() {
    QTest::addColumn<int>("kind"); // 0 files only, 1 our type with a guessed slot
    QTest::addColumn<bool>("wasteBin");
    for (bool bin : {false, true}) {
        QTest::addRow("files from a file manager%s", bin ? " on the bin" : "") << 0 << bin;
        QTest::addRow("a forged slot%s", bin ? " on the bin" : "") << 1 << bin;
    }
}

void TestOperations::foreignDropsRefused() {
    QFETCH(int, kind);
    QFETCH(bool, wasteBin);
    MsgBoxRecorder boxes;
    ModalScript modal;
    SelectNames(*m_w, {"photo.jpg"});
    QCOMPARE(m_main->dirSelect->setPath(m_dst), FsStatus::Ok);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_dir->file("src/photo.jpg"))});
    if (kind == 1)
        data.setData(QString::fromLatin1(ThumbnailMimeType), "0");
    QWidget* target = wasteBin ? m_main->imgDust : m_main->dirSelect->viewport();
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(!enter.isAccepted());
    drop(target, data);
    QCOMPARE(modal.shown(), 0);
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(QFile::exists(m_dir->file("src/photo.jpg")));
    QVERIFY(Files(m_dst).isEmpty());
}

void TestOperations::noSecondOperationInside() {
    MsgBoxRecorder boxes;
    m_dir->write("dst/PHOTO.JPG", "taken");
    SelectNames(*m_w, {"photo.jpg", "b.gif"});
    std::unique_ptr<QMimeData> data(labelsOf(*m_w));
    ModalScript modal;
    ChooseFolder(modal, m_dst);
    bool checked = false;
    // While the collision dialog of the copy is open, every other way in is shut.
    modal.then([&](QDialog& d) {
        QVERIFY(!m_main->cmdCopy->isEnabled());
        QVERIFY(!m_main->cmdDelete->isEnabled());
        QVERIFY(!m_main->mnuMove[OpMove]->isEnabled());
        QVERIFY(!m_main->mnuChange[OpDelete]->isEnabled());
        QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_main->imgDust, &enter);
        QVERIFY(!enter.isAccepted());
        m_main->cmdDelete_Click();
        m_main->mnuChange_Click(OpDelete);
        QVERIFY(boxes.calls().isEmpty());
        checked = true;
        static_cast<frmNameInput&>(d).cmdCancel->click();
    });
    m_main->cmdCopy->click();
    QVERIFY(checked);
    QCOMPARE(modal.shown(), 2);
    QCOMPARE(Files(m_dst), (QStringList{"B.GIF", "PHOTO.JPG"}));
    QVERIFY(QFile::exists(m_dir->file("src/photo.jpg")));
    // Afterwards the popup's transfer items are back.
    QVERIFY(m_main->mnuChange[OpDelete]->isEnabled());
}

void TestOperations::editMenuShortcutUsesActiveWindow() {
    MsgBoxRecorder boxes;
    WritePicture(m_dir->file("other"), "x.bmp", QSize(8, 8));
    frmPreview* other = open(m_dir->file("other"));
    QVERIFY(other);
    SelectNames(*other, {"x.bmp"});
    Activate(*m_main, *m_w);
    SelectNames(*m_w, {"c.BMP"});
    Activate(*m_main, *other);
    Activate(*m_main, *m_w);
    ModalScript modal;
    ChooseFolder(modal, m_dst);
    // Wherever activating the window put the focus.
    QVERIFY(QApplication::focusWidget() != m_w->txtPath);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_main.get(),
                    Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(modal.shown(), 1);
    QCOMPARE(Files(m_dst), QStringList{"C.BMP"});
}

void TestOperations::retryRetries() {
    MsgBoxRecorder boxes;
    boxes.answer(Msg::Retry);
    int tries = 0;
    SetFileFaultHook([&](const char* step, const QString&) {
        return QByteArray(step) == "copy" && ++tries == 1 ? FsStatus::Denied : FsStatus::Ok;
    });
    SelectNames(*m_w, {"photo.jpg"});
    ModalScript modal;
    ChooseFolder(modal, m_dst);
    m_main->cmdMove->click();
    QCOMPARE(boxes.prompts(), QStringList{"ﾌｧｲﾙが操作出来ません"});
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("警告"));
    QCOMPARE(boxes.calls()[0].buttons, Msg::RetryCancel | Msg::Critical);
    QCOMPARE(tries, 2);
    QCOMPARE(Files(m_dst), QStringList{"PHOTO.JPG"});
    QVERIFY(!QFile::exists(m_dir->file("src/photo.jpg")));
}

// Not operation codes: the photo dropped on the waste bin, its folder deleted.
constexpr int WasteBin = -2, FolderDeletion = -1;

void TestOperations::cacheForgetsOldNames_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("newPath"); // relative to the test folder
    QTest::newRow("delete") << int(OpDelete) << QString();
    QTest::newRow("waste bin") << WasteBin << QString();
    QTest::newRow("move") << int(OpMove) << "dst/PHOTO.JPG";
    QTest::newRow("rename") << int(OpRenameOne) << "src/renamed.jpg";
    QTest::newRow("batch rename") << int(OpRenameAll) << "src/SRC 001.JPG";
    QTest::newRow("folder deletion") << FolderDeletion << QString();
}

void TestOperations::cacheForgetsOldNames() {
    QFETCH(int, op);
    QFETCH(QString, newPath);
    MsgBoxRecorder boxes;
    if (op != FolderDeletion)
        boxes.answer(Msg::Yes);
    // Old enough to be cached, the folder is listed again: the program
    // writes the thumbnails of its three files.
    const QStringList files = Files(m_src);
    for (const QString& name : files)
        Backdate(m_src + "/" + name);
    m_w->ListPre(m_src);
    ThumbDecoder::finish();
    const QString cache = ThumbnailCache();
    const QString photo = m_src + "/photo.jpg";
    const QString name = CacheFileName(FileUri(photo));
    QVERIFY(QFile::exists(cache + "/normal/" + name));
    // What stays: the thumbnail of a file of a similar name. (Entries of the
    // other sizes and programs go too; the cache's own tests show that.)
    const FileStamp similar{FileUri(photo + ".jpg"), 1000000000, 5};
    m_dir->write("cache/thumbnails/x-large/" + CacheFileName(similar.uri),
                 ThumbnailPng(QSize(8, 4), Qt::red, TagsToWrite(similar)));
    QStringList gone{"normal/" + name};
    auto before = Snapshot(cache);
    SelectNames(*m_w, {"photo.jpg"});
    ModalScript modal;
    if (op == OpMove)
        ChooseFolder(modal, m_dst);
    if (op == OpRenameOne)
        TypeNameAndOk(modal, "renamed.jpg");
    if (op == OpRenameAll)
        modal.then([](QDialog& d) { static_cast<frmReName&>(d).cmdOk->click(); });
    if (op == FolderDeletion) {
        // The folder goes with its three pictures, once no window shows it.
        m_w->close();
        QCoreApplication::processEvents();
        QCOMPARE(m_main->dirSelect->setPath(m_src), FsStatus::Ok);
        m_main->mnuFolderDelete->trigger();
        for (const QString& other : files)
            if (other != "photo.jpg")
                gone.append("normal/" + CacheFileName(FileUri(m_src + "/" + other)));
    } else if (op == WasteBin) {
        std::unique_ptr<QMimeData> data(labelsOf(*m_w));
        drop(m_main->imgDust, *data);
    } else {
        (op == OpDelete      ? m_main->cmdDelete
         : op == OpMove      ? m_main->cmdMove
         : op == OpRenameOne ? m_main->cmdReNameSingle
                             : m_main->cmdReName)
            ->click();
    }
    ThumbDecoder::finish();
    QVERIFY(!QFile::exists(photo));
    QVERIFY(newPath.isEmpty() || QFile::exists(m_dir->file(newPath)));
    // Exactly the entries of the old name are gone; one of the new name may
    // have been written since.
    for (const QString& entry : gone)
        before.remove(entry);
    auto after = Snapshot(cache);
    after.remove("normal/" + CacheFileName(FileUri(m_dir->file(newPath))));
    QCOMPARE(after, before);
}

void TestOperations::changedWhileRealThumbnailsPending() {
    const QString card = m_dir->file("card");
    QImage blue(160, 120, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    for (int i = 0; i < 4; ++i)
        Backdate(
            WriteCameraPicture(card, QString("p%1.jpg").arg(i), QSize(400, 300), Qt::red, blue));
    MsgBoxRecorder boxes;
    ModalScript modal;
    frmPreview* w = nullptr;
    const auto centre = [&w](const QString& name) {
        const QImage shown = w->picPre1[EntryOf(*w, name)]->picture().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    };
    QRect first;
    {
        // While a listing runs anywhere the real thumbnails wait: the listing
        // is over with every box showing the camera's preview, nothing is
        // cached of them, and the files change while theirs are pending.
        const ThumbDecoder listing({}, QSize(1, 1));
        w = open(card);
        QVERIFY(w && w->isEnabled() && w->isFinishing());
        for (const QString& name : ShownNames(*w))
            QVERIFY(Near(centre(name), Qt::blue));
        first = w->picPre1[0]->geometry();
        ThumbDecoder::finish();
        QVERIFY(Snapshot(ThumbnailCache()).isEmpty());
        SelectNames(*w, {"p1.jpg"});
        m_main->cmdDelete->click();
        SelectNames(*w, {"p2.jpg"});
        ChooseFolder(modal, m_dst);
        m_main->cmdMove->click();
        SelectNames(*w, {"p3.jpg"});
        TypeNameAndOk(modal, "q3.jpg");
        m_main->cmdReNameSingle->click();
    }
    QTRY_VERIFY(!w->isFinishing());
    ThumbDecoder::finish();
    QCOMPARE(Files(card), (QStringList{"p0.jpg", "q3.jpg"}));
    QCOMPARE(Files(m_dst), QStringList{"P2.JPG"});
    // The real thumbnails took the previews' places, the renamed file's too;
    // the cache holds those of the names that hold the pictures, and nothing
    // else.
    QCOMPARE(w->picPre1[0]->geometry(), first);
    QVERIFY(Near(centre("p0.jpg"), Qt::red));
    QVERIFY(Near(centre("q3.jpg"), Qt::red));
    QStringList expected{"normal/" + CacheFileName(FileUri(card + "/p0.jpg")),
                         "normal/" + CacheFileName(FileUri(card + "/q3.jpg"))};
    expected.sort();
    QCOMPARE(Snapshot(ThumbnailCache()).keys(), expected);
}

QTEST_MAIN(TestOperations)
#include "tst_operations.moc"
