// Selection in thumbnail windows with real mouse clicks on the real boxes and
// labels: the click rules, the shown state, the shared lists and the command
// states, the popup menu, select all and clear, dragging out, and the keys.
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "thumbs/ThumbDrag.h"
#include "thumbs/ThumbWidgets.h"

#include <QDialog>
#include <QDrag>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QtTest>

class TestThumbSelect : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void plainClicks();
    void ctrlAndShiftClicks();
    void shownState();
    void deletedFileLeftOut();
    void rightClick();
    void activationGathers();
    void selectAllAndClear();
    void dragComesFromItsOwnWindow();
    void winNumAndReName();
    void doubleClickOpensViewer();
    void keyPresses_data();
    void keyPresses();
    void focusFrame();
    void ctrlTabWalksWindows();
    void keysIdleWhileListing();

private:
    std::unique_ptr<TestFolder> m_dir;
    std::unique_ptr<frmMain> m_main;
    frmPreview* m_w = nullptr;
    // Entry numbers by file name: the listing keeps the folder's own order.
    int entry(const QString& name) const;
    void click(const QString& name, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    QStringList selectedNames() const;
    // Key presses in the window, as "Right Shift+Down Space".
    void keys(const QString& sequence);
};

void TestThumbSelect::init() {
    m_dir = std::make_unique<TestFolder>();
    for (int i = 0; i < 10; ++i)
        WritePicture(m_dir->file("pics"), QStringLiteral("p%1.bmp").arg(i), QSize(8, 8));
    m_main = std::make_unique<frmMain>();
    m_main->show();
    m_w = OpenThumbnails(*m_main, m_dir->file("pics"));
    QVERIFY(m_w);
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void TestThumbSelect::cleanup() {
    m_main.reset();
    m_dir.reset();
}

int TestThumbSelect::entry(const QString& name) const {
    for (int i = 0; i < m_w->intFileCount; ++i)
        if (m_w->lblName[i]->text() == name)
            return i;
    return -1;
}

void TestThumbSelect::click(const QString& name, Qt::KeyboardModifiers mods,
                            Qt::MouseButton button) {
    QTest::mouseClick(m_w->picPre1[entry(name)], button, mods, QPoint(3, 3));
}

void TestThumbSelect::keys(const QString& sequence) {
    for (const QString& key : sequence.split(' ', Qt::SkipEmptyParts)) {
        const QKeyCombination k = QKeySequence::fromString(key)[0];
        QTest::keyClick(m_w->picPreview, k.key(), k.keyboardModifiers());
    }
}

QStringList TestThumbSelect::selectedNames() const {
    QStringList out;
    for (int i = 0; i < m_w->intFileCount; ++i)
        if (m_w->blnSelected[i])
            out.append(m_w->lblName[i]->text());
    out.sort();
    return out;
}

void TestThumbSelect::plainClicks() {
    frmMain& f = *m_main;
    click("p3.bmp");
    QCOMPARE(selectedNames(), QStringList{"p3.bmp"});
    QCOMPARE(mdlSt::strSelectFiles, QStringList{m_dir->file("pics/p3.bmp")});
    QCOMPARE(mdlSt::intSelectIndex, QList<int>{entry("p3.bmp")});
    QCOMPARE(mdlSt::intActiveWin, 0);
    QVERIFY(f.cmdReNameSingle->isEnabled() && f.cmdCopy->isEnabled());
    click("p5.bmp", Qt::ControlModifier);
    click("p7.bmp", Qt::ControlModifier);
    QVERIFY(!f.cmdReNameSingle->isEnabled() && f.cmdDelete->isEnabled());
    // A plain click on another entry leaves it alone; a second one clears it.
    click("p1.bmp");
    QCOMPARE(selectedNames(), QStringList{"p1.bmp"});
    QVERIFY(f.cmdReNameSingle->isEnabled());
    click("p1.bmp");
    QCOMPARE(selectedNames(), QStringList());
    QVERIFY(mdlSt::strSelectFiles.isEmpty());
    for (QToolButton* b : {f.cmdOpen, f.cmdReNameSingle, f.cmdCopy, f.cmdMove, f.cmdDelete})
        QVERIFY(!b->isEnabled());
    QVERIFY(!f.mnuMove[9]->isEnabled());
}

void TestThumbSelect::ctrlAndShiftClicks() {
    // Entries by number, whatever the names: the rules count entries.
    auto clickEntry = [&](int k, Qt::KeyboardModifiers mods) {
        QTest::mouseClick(m_w->picPre1[k], Qt::LeftButton, mods, QPoint(2, 2));
    };
    auto selected = [&] {
        QList<int> out;
        for (int i = 0; i < m_w->intFileCount; ++i)
            if (m_w->blnSelected[i])
                out.append(i);
        return out;
    };
    clickEntry(2, Qt::NoModifier);
    clickEntry(6, Qt::ShiftModifier);
    QCOMPARE(selected(), QList<int>({2, 3, 4, 5, 6}));
    QCOMPARE(mdlSt::intSelectIndex, QList<int>({2, 3, 4, 5, 6}));
    clickEntry(1, Qt::NoModifier);
    clickEntry(9, Qt::ControlModifier);
    clickEntry(5, Qt::ShiftModifier);
    QCOMPARE(selected(), QList<int>({1, 5, 6, 7, 8, 9}));
    clickEntry(6, Qt::ControlModifier);
    QCOMPARE(selected(), QList<int>({1, 5, 7, 8, 9}));
    clickEntry(5, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(selected(), QList<int>({1, 5, 7, 8, 9}));
    // Shift with nothing selected selects the clicked entry only.
    m_w->SelectFileClear();
    clickEntry(4, Qt::ShiftModifier);
    QCOMPARE(selected(), QList<int>{4});
    QCOMPARE(mdlSt::strSelectFiles.size(), 1);
}

void TestThumbSelect::shownState() {
    click("p2.bmp");
    click("p4.bmp", Qt::ControlModifier);
    const QColor blue(0x80, 0x80, 0xFF);
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (int i = 0; i < m_w->intFileCount; ++i) {
        const bool on = m_w->blnSelected[i];
        QCOMPARE(m_w->lblName[i]->palette().color(QPalette::Window), on ? blue : face);
        QCOMPARE(m_w->lblName[i]->grab().toImage().pixelColor(1, 1), on ? blue : face);
    }
}

void TestThumbSelect::deletedFileLeftOut() {
    click("p2.bmp");
    click("p4.bmp", Qt::ControlModifier);
    QFile::remove(m_dir->file("pics/p2.bmp"));
    click("p6.bmp", Qt::ControlModifier);
    QStringList expected{m_dir->file("pics/p4.bmp"), m_dir->file("pics/p6.bmp")};
    if (entry("p6.bmp") < entry("p4.bmp"))
        std::swap(expected[0], expected[1]);
    QCOMPARE(mdlSt::strSelectFiles, expected);
    QVERIFY(m_w->lblName[entry("p2.bmp")]->selectedLook());
    QVERIFY(m_main->cmdCopy->isEnabled() && !m_main->cmdReNameSingle->isEnabled());
}

void TestThumbSelect::rightClick() {
    frmMain& f = *m_main;
    click("p3.bmp", Qt::NoModifier, Qt::RightButton);
    QVERIFY(!f.mnuPop->isVisible());
    QCOMPARE(selectedNames(), QStringList());
    // On an unselected label, with a selection: the popup, nothing selected more.
    click("p3.bmp");
    QTest::mouseClick(m_w->lblName[entry("p5.bmp")], Qt::RightButton);
    QTRY_VERIFY(f.mnuPop->isVisible());
    QCOMPARE(selectedNames(), QStringList{"p3.bmp"});
    QCOMPARE(mdlSt::strSelectFiles, QStringList{m_dir->file("pics/p3.bmp")});
    f.mnuPop->close();
    QTest::mouseClick(m_w->picPre1[entry("p7.bmp")], Qt::RightButton);
    QTRY_VERIFY(f.mnuPop->isVisible());
    f.mnuPop->close();
}

void TestThumbSelect::activationGathers() {
    frmMain& f = *m_main;
    WritePicture(m_dir->file("other"), "q.bmp", QSize(8, 8));
    click("p1.bmp");
    frmPreview* other = OpenThumbnails(f, m_dir->file("other"));
    QVERIFY(other);
    QCOMPARE(f.mdiArea->currentSubWindow(), other);
    QCOMPARE(mdlSt::intActiveWin, 1);
    QVERIFY(mdlSt::strSelectFiles.isEmpty());
    QVERIFY(!f.cmdCopy->isEnabled());
    f.mdiArea->setActiveSubWindow(m_w);
    QCOMPARE(mdlSt::intActiveWin, 0);
    QCOMPARE(mdlSt::strSelectFiles, QStringList{m_dir->file("pics/p1.bmp")});
    QVERIFY(f.cmdCopy->isEnabled());
}

void TestThumbSelect::selectAllAndClear() {
    frmMain& f = *m_main;
    m_w->lblName[entry("p0.bmp")]->clear(); // an entry the file operations hid
    QFile::remove(m_dir->file("pics/p9.bmp"));
    f.mnuAllSelect->trigger();
    QCOMPARE(mdlSt::strSelectFiles.size(), 8);
    QVERIFY(!mdlSt::strSelectFiles.contains(m_dir->file("pics/p9.bmp")));
    QVERIFY(!m_w->blnSelected[entry("p9.bmp")]);
    QVERIFY(f.cmdMove->isEnabled() && !f.cmdReNameSingle->isEnabled());
    QCOMPARE(mdlSt::intActiveWin, 0);
    QVERIFY(f.cmdAllSelect->isEnabled());
    m_w->SelectFileClear();
    QCOMPARE(selectedNames(), QStringList());
    QCOMPARE(mdlSt::intActiveWin, -1);
    QVERIFY(mdlSt::strSelectFiles.isEmpty());
    QVERIFY(!f.cmdMove->isEnabled());
    for (int i = 0; i < m_w->intFileCount; ++i)
        QVERIFY(!m_w->lblName[i]->selectedLook());
    // Nothing left to select: the lists stay as they were.
    mdlSt::strSelectFiles = QStringList{"kept"};
    for (int i = 0; i < m_w->intFileCount; ++i)
        m_w->lblName[i]->clear();
    m_w->AllSelectFiles();
    QCOMPARE(mdlSt::strSelectFiles, QStringList{"kept"});
    // Without any thumbnail window, select all does nothing.
    f.cmdPanic->click();
    QTRY_COMPARE(f.mdiArea->subWindowList().size(), 0);
    f.cmdAllSelect->click();
    QVERIFY(f.cmdAllSelect->isEnabled());
}

void TestThumbSelect::dragComesFromItsOwnWindow() {
    frmMain& f = *m_main;
    for (int i = 0; i < 10; ++i)
        WritePicture(m_dir->file("twin"), QStringLiteral("p%1.bmp").arg(i), QSize(8, 8));
    click("p4.bmp");
    frmPreview* twin = OpenThumbnails(f, m_dir->file("twin"));
    QVERIFY(twin && twin != m_w);
    for (int i = 0; i < twin->intFileCount; ++i)
        if (twin->lblName[i]->text() == "p4.bmp" || twin->lblName[i]->text() == "p5.bmp")
            QTest::mouseClick(twin->picPre1[i], Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(mdlSt::intActiveWin, 1);
    QCOMPARE(mdlSt::strSelectFiles.size(), 2);
    // Pressing the selected label of the first window drags its selection.
    ThumbLabel* label = m_w->lblName[entry("p4.bmp")];
    QVERIFY(label->selectedLook());
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(mdlSt::intActiveWin, 0);
    QCOMPARE(mdlSt::strSelectFiles, QStringList{m_dir->file("pics/p4.bmp")});
    QDrag* drag = label->findChild<QDrag*>();
    QVERIFY(drag);
    const QMimeData* data = drag->mimeData();
    QCOMPARE(ThumbDragSource(data), 0);
    QCOMPARE(data->urls(), QList<QUrl>{QUrl::fromLocalFile(m_dir->file("pics/p4.bmp"))});
    QCOMPARE(drag->supportedActions(), Qt::CopyAction);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    // The selection itself is not changed by the drag.
    QCOMPARE(selectedNames(), QStringList{"p4.bmp"});
    // An unselected label starts no drag.
    ThumbLabel* plain = m_w->lblName[entry("p6.bmp")];
    QTest::mousePress(plain, Qt::LeftButton);
    QVERIFY(!plain->findChild<QDrag*>());
    // A drag of several selected files offers every one of them, copy only.
    ThumbLabel* twinLabel = nullptr;
    for (int i = 0; i < twin->intFileCount; ++i)
        if (twin->lblName[i]->text() == "p5.bmp")
            twinLabel = twin->lblName[i];
    QVERIFY(twinLabel && twinLabel->selectedLook());
    QTest::mousePress(twinLabel, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QDrag* many = twinLabel->findChild<QDrag*>();
    QVERIFY(many);
    QStringList offered;
    for (const QUrl& url : many->mimeData()->urls())
        offered.append(url.toLocalFile());
    offered.sort();
    QCOMPARE(offered, (QStringList{m_dir->file("twin/p4.bmp"), m_dir->file("twin/p5.bmp")}));
    QCOMPARE(many->supportedActions(), Qt::CopyAction);
    QTest::mouseRelease(twinLabel, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
}

void TestThumbSelect::winNumAndReName() {
    frmMain& f = *m_main;
    WritePicture(m_dir->file("other"), "q.bmp", QSize(8, 8));
    OpenThumbnails(f, m_dir->file("other"));
    QCOMPARE(mdlSt::intActiveWin, 1);
    click("p2.bmp");
    mdlSt::intActiveWin = 5;
    const QStringList lists = mdlSt::strSelectFiles;
    m_w->WinNum();
    QCOMPARE(mdlSt::intActiveWin, 0);
    QCOMPARE(mdlSt::strSelectFiles, lists);
    const int k = entry("p2.bmp");
    m_w->ReName(k, m_dir->file("pics/NEW.BMP"));
    QCOMPARE(m_w->strFiles[k], m_dir->file("pics/NEW.BMP"));
    QCOMPARE(m_w->lblName[k]->text(), QStringLiteral("p2.bmp"));
    QVERIFY(m_w->blnSelected[k]);
}

void TestThumbSelect::doubleClickOpensViewer() {
    click("p2.bmp");
    click("p5.bmp", Qt::ControlModifier);
    const int k = entry("p7.bmp");
    // What the window system delivers for a double click: a click, then the
    // double click in place of the second press.
    QTest::mouseClick(m_w->picPre1[k], Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseDClick(m_w->picPre1[k], Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTest::mouseRelease(m_w->picPre1[k], Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    // The press of the double click applied the plain-click rule once.
    QCOMPARE(selectedNames(), QStringList{"p7.bmp"});
    QCOMPARE(mdlSt::strWorkPath, m_dir->file("pics/p7.bmp"));
    QVERIFY(mdlSt::blnViewerUsed.value(0));
    QVERIFY(mdlSt::frmViewer.value(0));
    QVERIFY(mdlSt::frmViewer.value(0)->isVisible());
    QVERIFY(mdlSt::frmViewer.value(0)->parentWidget() == nullptr);
    // Closing all thumbnails closes the viewer too.
    QPointer<QWidget> viewer = mdlSt::frmViewer.value(0).data();
    m_main->cmdPanic->click();
    QTRY_VERIFY(viewer.isNull() || !viewer->isVisible());
}

void TestThumbSelect::keyPresses_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("opened");
    // Ten entries in rows 0-3, 4-7 and 8-9, two rows in view; the first is
    // current at the start.
    using L = QList<int>;
    QTest::newRow("left past a row's end, down") << "Down Left Down Down Down" << 9 << L{9} << "";
    QTest::newRow("home, left at the first") << "End Home Left" << 0 << L{0} << "";
    QTest::newRow("up in the column, stays at the top") << "End Up Up Up" << 1 << L{1} << "";
    QTest::newRow("page down") << "Right PgDown" << 9 << L{9} << "";
    QTest::newRow("page up") << "End PgUp" << 1 << L{1} << "";
    QTest::newRow("ctrl, shift") << "Right Ctrl+Right Shift+Down" << 6 << L{1, 2, 3, 4, 5, 6} << "";
    QTest::newRow("ctrl moves, space") << "Ctrl+Right Ctrl+Down Space" << 5 << L{5} << "";
    QTest::newRow("ctrl+a") << "Right Ctrl+A Space" << 1 << L{0, 2, 3, 4, 5, 6, 7, 8, 9} << "";
    QTest::newRow("enter") << "Right Right Ctrl+Right Return" << 3 << L{2} << "viewer p3.bmp";
    // Cancelled, the rename lets go of the selection.
    QTest::newRow("f2") << "Right F2" << 1 << L{} << "frmNameInputSingle";
    // The entry deleted is hidden: the next takes its place and its cell.
    QTest::newRow("delete") << "Right Right Delete Down" << 7 << L{7} << "ファイルを削除しますか？";
    QTest::newRow("menu key without a selection") << "Menu" << 0 << L{} << "";
    QTest::newRow("menu key") << "End Menu" << 9 << L{9} << "popup";
    QTest::newRow("shift+f10") << "Right Shift+F10" << 1 << L{1} << "popup";
}

void TestThumbSelect::keyPresses() {
    QFETCH(QString, keys);
    QFETCH(int, current);
    QFETCH(QList<int>, selected);
    // Four columns, two whole rows in view.
    m_w->resize(m_w->size() + QSize(16 + 4 * 80 + 8, 2 * (64 + 16 + 17) + 30) -
                m_w->picPreview->size());
    MsgBoxRecorder boxes;
    ModalScript modal;
    QStringList opened;
    modal.then([&](QDialog& d) {
        opened << d.metaObject()->className();
        // Keys do nothing while an operation shows its dialog.
        this->keys("Right Space");
        d.reject();
    });
    this->keys(keys);
    opened += boxes.prompts();
    if (mdlSt::frmViewer.value(0))
        opened << "viewer " + QFileInfo(mdlSt::strWorkPath).fileName();
    if (m_main->mnuPop->isVisible()) {
        opened << "popup";
        const QRect entry(m_w->picPre1[current]->mapToGlobal(QPoint()), QSize(64, 64 + 17));
        QVERIFY(entry.contains(m_main->mnuPop->pos()));
    }
    QTEST(opened.join(' '), "opened");
    QCOMPARE(m_w->CurrentEntry(), current);
    // The current entry is scrolled into view with the gap its frame takes.
    const QRect frame = m_w->focusFrame->geometry().translated(m_w->picPre->pos());
    QVERIFY(m_w->picPreview->rect().contains(frame));
    QCOMPARE(mdlSt::intSelectIndex, selected);
}

void TestThumbSelect::focusFrame() {
    QCOMPARE(QApplication::focusWidget(), m_w->picPreview);
    // A click makes an entry current, framed; across the label's row: the
    // white ring, the black one, a pixel of canvas, the light blue label.
    click("p6.bmp");
    const QImage frame = m_w->picPre->grab(m_w->focusFrame->geometry()).toImage();
    const qreal r = frame.devicePixelRatio();
    const QColor across[] = {Qt::white, Qt::white, Qt::black, ThumbBackground, SelectedLabel};
    for (int x = 0; x < int(5 * r); ++x)
        QCOMPARE(frame.pixelColor(x, int(76 * r)), across[int(x / r)]);
    m_main->dirSelect->setFocus();
    QVERIFY(!m_w->focusFrame->isVisible());
}

void TestThumbSelect::ctrlTabWalksWindows() {
    WritePictures(m_dir->file("other"), 1);
    WritePictures(m_dir->file("third"), 1);
    frmPreview* other = OpenThumbnails(*m_main, m_dir->file("other"));
    frmPreview* third = OpenThumbnails(*m_main, m_dir->file("third"));
    // In the window menu's order, wrapping around, at each press; the window
    // takes the keyboard focus.
    const std::pair<bool, frmPreview*> walk[] = {
        {false, m_w}, {false, other}, {true, m_w}, {true, third}};
    for (const auto& [back, to] : walk) {
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        QCOMPARE(m_main->mdiArea->currentSubWindow(), to);
        QCOMPARE(QApplication::focusWidget(), to->picPreview);
    }
}

void TestThumbSelect::keysIdleWhileListing() {
    // The last message of a listing comes before its window is enabled.
    WritePictures(m_dir->file("busy"), 2);
    m_dir->write("busy/bad.bmp", "not a picture");
    SetMsgBoxHandler([this](const MsgBoxCall&) {
        m_w = qobject_cast<frmPreview*>(m_main->mdiArea->subWindowList().last());
        keys("Right Space");
        return int(Msg::Ok);
    });
    frmPreview* busy = OpenThumbnails(*m_main, m_dir->file("busy"));
    QCOMPARE(busy, m_w);
    SetMsgBoxHandler({});
    QCOMPARE(m_w->CurrentEntry(), ShownEntries(*m_w).first());
    QVERIFY(!m_w->blnSelected.contains(true));
}

QTEST_MAIN(TestThumbSelect)
#include "tst_thumbselect.moc"
