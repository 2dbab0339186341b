// Selection in thumbnail windows with real mouse clicks on the real boxes and
// labels: the click rules, the shown state, the shared lists and the command
// states, the popup menu, select all and clear, and dragging out; and the same
// through the keyboard, with the current entry and its focus frame.
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "rename/frmNameInputSingle.h"
#include "thumbs/ThumbDrag.h"
#include "thumbs/ThumbRules.h"
#include "thumbs/ThumbWidgets.h"

#include <QDialog>
#include <QDrag>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
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
    void keyMoves_data();
    void keyMoves();
    void keysReachTheMouseRoutines();
    void currentScrolledIntoView();
    void focusFrame();
    void ctrlTabWalksWindows();
    void keysIdleWhileBusy();

private:
    std::unique_ptr<TestFolder> m_dir;
    std::unique_ptr<frmMain> m_main;
    frmPreview* m_w = nullptr;
    // Entry numbers by file name: the listing keeps the folder's own order.
    int entry(const QString& name) const;
    void click(const QString& name, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    QStringList selectedNames() const;
    // Key presses in the window, as "Right Shift+Down Space"; "Hide" hides the
    // current entry as a file operation does.
    void keys(const QString& sequence);
    // Four columns, and two whole rows in view.
    void shapeGrid();
};

void TestThumbSelect::init() {
    m_dir = std::make_unique<TestFolder>();
    for (int i = 0; i < 10; ++i)
        WritePicture(m_dir->file("pics"), QStringLiteral("p%1.bmp").arg(i), QSize(8, 8));
    m_main = std::make_unique<frmMain>();
    m_main->show();
    m_w = OpenThumbnails(*m_main, m_dir->file("pics"));
    QVERIFY(m_w);
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
        if (key == "Hide") {
            m_w->lblName[m_w->CurrentEntry()]->clear();
            m_w->PicPosiChange();
            continue;
        }
        const QKeyCombination k = QKeySequence::fromString(key)[0];
        QTest::keyClick(m_w->picPreview, k.key(), k.keyboardModifiers());
    }
}

void TestThumbSelect::shapeGrid() {
    const QSize viewport(GridMargin + 4 * 80 + 8, 2 * (64 + 16 + 17) + 30);
    m_w->resize(m_w->size() + viewport - m_w->picPreview->size());
    QCOMPARE(m_w->picPreview->size(), viewport);
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

void TestThumbSelect::keyMoves_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("selected");
    // Ten entries in rows 0-3, 4-7 and 8-9; the first is current at the start.
    using L = QList<int>;
    QTest::newRow("right") << "Right" << L{} << 1 << L{1};
    QTest::newRow("left at the first") << "Left" << L{} << 0 << L{0};
    QTest::newRow("up in the top row keeps it selected") << "Right Up" << L{} << 1 << L{1};
    QTest::newRow("down into the short row") << "Right Right Right Down Down" << L{} << 9 << L{9};
    QTest::newRow("down in the last row") << "End Down" << L{} << 9 << L{9};
    QTest::newRow("up from the short row") << "End Up" << L{} << 5 << L{5};
    QTest::newRow("left over a row's end") << "Down Left" << L{} << 3 << L{3};
    QTest::newRow("page down, page up") << "Down Right PgDown" << L{} << 9 << L{9};
    QTest::newRow("page up, home") << "End PgUp Home" << L{} << 0 << L{0};
    QTest::newRow("shift") << "Right Shift+Right Shift+Down" << L{} << 6 << L{1, 2, 3, 4, 5, 6};
    QTest::newRow("shift after ctrl")
        << "Right Ctrl+Right Shift+Down" << L{} << 6 << L{1, 2, 3, 4, 5, 6};
    QTest::newRow("ctrl moves, space") << "Ctrl+Right Ctrl+Down Space" << L{} << 5 << L{5};
    QTest::newRow("space on a selected") << "Right Shift+Right Space" << L{} << 2 << L{1};
    QTest::newRow("ctrl+a selects all")
        << "Right Ctrl+A" << L{3} << 1 << L{0, 1, 2, 4, 5, 6, 7, 8, 9};
    QTest::newRow("hidden skipped") << "Right Right" << L{2, 5} << 3 << L{3};
    QTest::newRow("hidden leave no gap") << "Right Down" << L{2, 5} << 7 << L{7};
    QTest::newRow("hidden current hands on") << "Right Right Hide Space" << L{} << 3 << L{2, 3};
}

void TestThumbSelect::keyMoves() {
    QFETCH(QString, keys);
    QFETCH(QList<int>, hidden);
    QFETCH(int, current);
    QFETCH(QList<int>, selected);
    shapeGrid();
    for (int k : hidden)
        m_w->lblName[k]->clear();
    m_w->PicPosiChange();
    this->keys(keys);
    QCOMPARE(m_w->CurrentEntry(), current);
    QList<int> flags;
    for (int i = 0; i < m_w->intFileCount; ++i)
        if (m_w->blnSelected[i])
            flags.append(i);
    QCOMPARE(flags, selected);
    // The shared lists leave out the hidden entry, as after a click.
    flags.removeIf([this](int i) { return m_w->lblName[i]->text().isEmpty(); });
    QCOMPARE(mdlSt::intSelectIndex, flags);
    QCOMPARE(m_main->cmdReNameSingle->isEnabled(), flags.size() == 1);
}

void TestThumbSelect::keysReachTheMouseRoutines() {
    MsgBoxRecorder boxes;
    ModalScript modal;
    // Enter opens the current entry and leaves the selection alone.
    keys("Right Right Ctrl+Right Return");
    QCOMPARE(mdlSt::strWorkPath, m_dir->file("pics/p3.bmp"));
    QCOMPARE(mdlSt::intSelectIndex, QList<int>{2});
    // F2 renames the one selected file; with two selected it does nothing.
    modal.then([](QDialog& d) {
        QVERIFY(qobject_cast<frmNameInputSingle*>(&d));
        d.reject();
    });
    keys("F2 Space Shift+Right F2");
    QCOMPARE(modal.shown(), 1);
    // Delete asks first, No the default.
    boxes.answer(Msg::No);
    keys("Delete");
    QCOMPARE(boxes.prompts(), QStringList{"ファイルを削除しますか？"});
    QCOMPARE(boxes.calls()[0].defaultButton(), int(Msg::DefaultButton2));
    QVERIFY(QFile::exists(m_dir->file("pics/p4.bmp")) && mdlSt::strSelectFiles.isEmpty());
    keys("Space Delete");
    QVERIFY(!QFile::exists(m_dir->file("pics/p4.bmp")));
    QCOMPARE(m_w->CurrentEntry(), 5);
    // The menu key and Shift+F10 show the popup on the current entry, only
    // with a selection.
    for (const char* key : {"Menu", "Space Menu", "Shift+F10"}) {
        keys(key);
        QCOMPARE(m_main->mnuPop->isVisible(), key != QLatin1String("Menu"));
        const QRect entry(m_w->picPre1[5]->mapToGlobal(QPoint()), QSize(64, 64 + 17));
        QVERIFY(m_main->mnuPop->isHidden() || entry.contains(m_main->mnuPop->pos()));
        m_main->mnuPop->close();
    }
}

void TestThumbSelect::currentScrolledIntoView() {
    WritePictures(m_dir->file("many"), 40);
    m_w = OpenThumbnails(*m_main, m_dir->file("many"));
    shapeGrid();
    for (const char* key : {"End", "PgUp", "Up", "Home", "PgDown", "Down", "End"}) {
        keys(key);
        const QRect frame(m_w->focusFrame->mapTo(m_w->picPreview, QPoint()),
                          m_w->focusFrame->size());
        QVERIFY2(m_w->picPreview->rect().contains(frame), key);
    }
    QCOMPARE(m_w->vscScroll->value(), m_w->vscScroll->maximum());
    keys("Home");
    QCOMPARE(m_w->vscScroll->value(), 0);
}

void TestThumbSelect::focusFrame() {
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QCOMPARE(QApplication::focusWidget(), m_w->picPreview);
    // A click makes an entry current, framed; across the label's row: the
    // white ring, the black one, a pixel of canvas, the light blue label.
    click("p6.bmp");
    QCOMPARE(m_w->CurrentEntry(), 6);
    const QImage frame = m_w->picPre->grab(m_w->focusFrame->geometry()).toImage();
    const qreal r = frame.devicePixelRatio();
    const QColor across[] = {Qt::white, Qt::white, Qt::black, ThumbBackground, SelectedLabel};
    for (int x = 0; x < int(5 * r); ++x)
        QCOMPARE(frame.pixelColor(x, int(76 * r)), across[int(x / r)]);
    m_main->dirSelect->setFocus();
    QVERIFY(!m_w->focusFrame->isVisible());
}

void TestThumbSelect::ctrlTabWalksWindows() {
    frmMain& f = *m_main;
    QVERIFY(QTest::qWaitForWindowActive(&f));
    keys("Right");
    WritePicture(m_dir->file("other"), "q.bmp", QSize(8, 8));
    WritePicture(m_dir->file("third"), "r.bmp", QSize(8, 8));
    frmPreview* other = OpenThumbnails(f, m_dir->file("other"));
    frmPreview* third = OpenThumbnails(f, m_dir->file("third"));
    // In the window menu's order, wrapping around, at each press; as a click
    // on the window, with the window's own selection gathered.
    const std::pair<bool, frmPreview*> walk[] = {
        {false, m_w}, {false, other}, {true, m_w}, {true, third}};
    for (const auto& [back, to] : walk) {
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        QCOMPARE(f.mdiArea->currentSubWindow(), to);
        QCOMPARE(QApplication::focusWidget(), to->picPreview);
        QCOMPARE(mdlSt::intActiveWin, to->slot());
        QCOMPARE(mdlSt::intSelectIndex, to == m_w ? QList<int>{1} : QList<int>{});
    }
}

void TestThumbSelect::keysIdleWhileBusy() {
    // While an operation shows its dialog, and while a window lists (its last
    // message comes before it is enabled).
    ModalScript modal;
    modal.then([this](QDialog& d) {
        keys("Right Space");
        d.reject();
    });
    keys("Space F2");
    QCOMPARE(modal.shown(), 1);
    QCOMPARE(m_w->CurrentEntry(), 0);
    WritePictures(m_dir->file("busy"), 2);
    m_dir->write("busy/bad.bmp", "not a picture");
    SetMsgBoxHandler([this](const MsgBoxCall&) {
        m_w = qobject_cast<frmPreview*>(m_main->mdiArea->subWindowList().last());
        keys("Right Space");
        return int(Msg::Ok);
    });
    OpenThumbnails(*m_main, m_dir->file("busy"));
    SetMsgBoxHandler({});
    QCOMPARE(m_w->CurrentEntry(), ShownEntries(*m_w).first());
    QVERIFY(!m_w->blnSelected.contains(true));
}

QTEST_MAIN(TestThumbSelect)
#include "tst_thumbselect.moc"
