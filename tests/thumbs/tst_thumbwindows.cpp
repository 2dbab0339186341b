// Thumbnail windows for real: opening and closing with their slots, listing
// and loading real picture files, the layout of the grid and scrolling.
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "app/mdlSt.h"
#include "platform/DirList.h"
#include "thumbs/ThumbDecoder.h"
#include "thumbs/ThumbWidgets.h"

#include <QComboBox>
#include <QDir>
#include <QImageWriter>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

class TestThumbWindows : public QObject {
    Q_OBJECT
private slots:
    void slotsAreReused();
    void caseDifferentFolders();
    void secondPressActivates();
    void newWindowActiveAfterMessages();
    void onlySixExtensions_data();
    void onlySixExtensions();
    void caption_data();
    void caption();
    void boxSizeRoundsHalfToEven();
    void limitOf255_data();
    void limitOf255();
    void progressTextWhileLoading();
    void closedWhileLoadingFreesSlot();
    void badInput();
    void folderVanishes();
    void fittedBoxesAndPictures_data();
    void fittedBoxesAndPictures();
    void largeAndTurnedPhotographs_data();
    void largeAndTurnedPhotographs();
    void hiddenEntryLeavesNoGap();
    void gridReflowsWithWidth();
    void everyImageShownAndScrollsToEnd_data();
    void everyImageShownAndScrollsToEnd();
    void shortGridDoesNotScroll();
    void addImage();
    void pathBoxReadOnlyAndColours();
    void closeAndPanic();
};

namespace {
QStringList names(const frmPreview& w) {
    QStringList out;
    for (const QString& p : w.strFiles)
        out.append(QFileInfo(p).fileName());
    return out;
}

// Opens the folder's thumbnails; from the thumbnail cache when asked: the
// files are dated back (so that the cache takes them), listed once, and
// listed again in a new window once every thumbnail is in the cache.
frmPreview* openThumbnails(frmMain& f, const QString& folder, bool fromCache) {
    if (!fromCache)
        return OpenThumbnails(f, folder);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& file : files)
        Backdate(file.filePath());
    frmPreview* first = OpenThumbnails(f, folder);
    ThumbDecoder::finish();
    if (!first || QDir(ThumbnailCache() + "/normal").entryList(QDir::Files).size() != files.size())
        return nullptr;
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return OpenThumbnails(f, folder);
}

// The names WritePictures gives, first to last.
QStringList pictureNames(int count) {
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(QStringLiteral("img%1.bmp").arg(i, 3, 10, QLatin1Char('0')));
    return out;
}
} // namespace

void TestThumbWindows::slotsAreReused() {
    TestFolder dir;
    for (const char* name : {"A", "B", "C", "D"})
        WritePictures(dir.file(name), 1);
    frmMain f;
    f.show();
    frmPreview* a = OpenThumbnails(f, dir.file("A"));
    frmPreview* b = OpenThumbnails(f, dir.file("B"));
    frmPreview* c = OpenThumbnails(f, dir.file("C"));
    QVERIFY(a && b && c);
    QCOMPARE(mdlSt::strWinPath, QStringList({dir.file("A"), dir.file("B"), dir.file("C"), ""}));
    QCOMPARE(mdlSt::intWinMax, 2);
    QCOMPARE(f.frmPre.size(), 3);
    QCOMPARE(f.frmPre[1].data(), b);
    QPointer<frmPreview> closed = b;
    f.mdiArea->setActiveSubWindow(b);
    f.cmdClose->click();
    QCOMPARE(mdlSt::strWinPath[1], QString());
    QTRY_VERIFY(closed.isNull());
    frmPreview* d = OpenThumbnails(f, dir.file("D"));
    QVERIFY(d);
    QCOMPARE(f.frmPre[1].data(), d);
    QCOMPARE(mdlSt::strWinPath, QStringList({dir.file("A"), dir.file("D"), dir.file("C"), ""}));
    QCOMPARE(mdlSt::intWinMax, 2);
    QCOMPARE(mdlSt::WinSearch(dir.file("D")), 1);
    QCOMPARE(d->slot(), 1);
    // The history has the folders in the order they were opened, latest first.
    QCOMPARE(mdlSt::strHistory[0], dir.file("D"));
    QCOMPARE(mdlSt::strHistory[3], dir.file("A"));
}

void TestThumbWindows::caseDifferentFolders() {
    TestFolder dir;
    WritePictures(dir.file("Pics"), 1);
    WritePictures(dir.file("pics"), 1);
    frmMain f;
    f.show();
    frmPreview* upper = OpenThumbnails(f, dir.file("Pics"));
    frmPreview* lower = OpenThumbnails(f, dir.file("pics"));
    QVERIFY(upper && lower && upper != lower);
    QCOMPARE(f.mdiArea->subWindowList().size(), 2);
    QCOMPARE(mdlSt::WinSearch(dir.file("pics")), 1);
}

void TestThumbWindows::secondPressActivates() {
    TestFolder dir;
    WritePictures(dir.file("A"), 3);
    WritePictures(dir.file("B"), 2);
    frmMain f;
    f.show();
    frmPreview* a = OpenThumbnails(f, dir.file("A"));
    QVERIFY(a);
    ThumbBox* firstBox = a->picPre1[0];
    frmPreview* b = OpenThumbnails(f, dir.file("B"));
    QCOMPARE(f.mdiArea->currentSubWindow(), b);
    QSignalSpy reloaded(a->txtPath, &QLineEdit::textChanged);
    QCOMPARE(OpenThumbnails(f, dir.file("A")), a);
    QCOMPARE(f.mdiArea->subWindowList().size(), 2);
    QCOMPARE(f.mdiArea->currentSubWindow(), a);
    QCOMPARE(reloaded.count(), 0);
    QCOMPARE(a->picPre1[0], firstBox);
    QVERIFY(f.cmdSam->isEnabled());
    QVERIFY(f.dirSelect->isEnabled());
}

void TestThumbWindows::newWindowActiveAfterMessages() {
    TestFolder dir;
    WritePictures(dir.file("ten"), 10);
    WritePictures(dir.file("many"), 300);
    dir.write("many/img004.bmp", "broken");
    frmMain f;
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QPointer<frmPreview> ten = OpenThumbnails(f, dir.file("ten"));
    QVERIFY(ten);
    QTest::mouseClick(ten->picPre1[0], Qt::LeftButton);
    QCOMPARE(mdlSt::strSelectFiles.size(), 1);
    // Real message boxes, answered with OK once they are up: each takes the
    // activation from the frame, which gets it back when the box has closed
    // (from the window manager on a desktop, from here on this platform).
    QStringList told;
    bool commandsWhileListing = false;
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        commandsWhileListing |= !f.cmdSam->isEnabled() && f.cmdDelete->isEnabled();
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            told.append(box->text());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            QTimer::singleShot(0, &f, [&f] { f.activateWindow(); });
        }
    });
    answer.start();
    QPointer<frmPreview> many = OpenThumbnails(f, dir.file("many"));
    answer.stop();
    QVERIFY(many && many != ten);
    QCOMPARE(told, QStringList({QStringLiteral("ファイルが255個以上あります。"),
                                QStringLiteral("画像の一部が表示出来ませんでした")}));
    QVERIFY(!commandsWhileListing);
    QTRY_VERIFY(f.isActiveWindow());
    QCOMPARE(f.mdiArea->currentSubWindow(), many.data());
    QVERIFY(mdlSt::strSelectFiles.isEmpty());
    QVERIFY(!f.cmdDelete->isEnabled());
    f.cmdAllSelect->click();
    QCOMPARE(mdlSt::strSelectFiles.size(), 254);
    QCOMPARE(ten->blnSelected.count(true), 1);
    f.cmdClose->click();
    QTRY_VERIFY(many.isNull());
    QVERIFY(ten);
}

void TestThumbWindows::onlySixExtensions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow(".jpeg") << "photo.jpeg" << false;
    QTest::newRow(".Jpg") << "photo.Jpg" << true;
    QTest::newRow(".GIF") << "PHOTO.GIF" << true;
}

void TestThumbWindows::onlySixExtensions() {
    QFETCH(QString, name);
    QFETCH(bool, opens);
    TestFolder dir;
    dir.write("pics/notes.txt", "not a picture");
    WritePicture(dir.file("pics"), name, QSize(20, 10), "JPG");
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    OpenThumbnails(f, dir.file("pics"));
    QCOMPARE(f.mdiArea->subWindowList().size(), opens ? 1 : 0);
    QCOMPARE(mdlSt::WinSearch(dir.file("pics")), opens ? 0 : -1);
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(f.cmdSam->isEnabled());
    QVERIFY(f.dirSelect->isEnabled());
}

void TestThumbWindows::caption_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("caption");
    QTest::newRow("space") << "Photos/trip 2"
                           << "TRIP 2";
    QTest::newRow("plain") << "Trip"
                           << "TRIP";
}

void TestThumbWindows::caption() {
    QFETCH(QString, folder);
    QFETCH(QString, caption);
    TestFolder dir;
    WritePictures(dir.file(folder), 1);
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, dir.file(folder));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->txtPath->text(), dir.file(folder));
}

void TestThumbWindows::boxSizeRoundsHalfToEven() {
    TestFolder dir;
    WritePictures(dir.file("A"), 1);
    WritePictures(dir.file("B"), 1);
    frmMain f;
    f.show();
    mdlSt::sngSetting[10] = 62.5f;
    mdlSt::sngSetting[11] = 63.5f;
    frmPreview* a = OpenThumbnails(f, dir.file("A"));
    QCOMPARE(a->intPicWidth, 62);
    QCOMPARE(a->intPicHeight, 64);
    // A size chosen later applies only to windows opened afterwards.
    f.cmbDot[0]->setCurrentIndex(f.cmbDot[0]->findText("E判"));
    frmPreview* b = OpenThumbnails(f, dir.file("B"));
    QCOMPARE(a->intPicWidth, 62);
    QCOMPARE(b->intPicWidth, 387);
}

void TestThumbWindows::limitOf255_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("listed");
    QTest::addColumn<bool>("told");
    QTest::newRow("254") << 254 << 254 << false;
    QTest::newRow("255") << 255 << 255 << true;
    QTest::newRow("300") << 300 << 255 << true;
}

void TestThumbWindows::limitOf255() {
    QFETCH(int, files);
    QFETCH(int, listed);
    QFETCH(bool, told);
    TestFolder dir;
    // Made last name first: the window lists the first names all the same.
    const QStringList all = pictureNames(files);
    for (int i = files - 1; i >= 0; --i)
        WritePicture(dir.file("many"), all[i], QSize(8, 8));
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, dir.file("many"));
    QVERIFY(w);
    QCOMPARE(w->intFileCount, listed);
    QCOMPARE(ShownEntries(*w).size(), listed);
    QCOMPARE(names(*w), all.mid(0, listed));
    QCOMPARE(boxes.calls().size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("ファイルが255個以上あります。"));
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("注意"));
        QCOMPARE(boxes.calls()[0].buttons, Msg::OkOnly | Msg::Exclamation);
    }
}

void TestThumbWindows::progressTextWhileLoading() {
    TestFolder dir;
    WritePictures(dir.file("pics"), 6);
    frmMain f;
    f.show();
    QStringList texts;
    QList<bool> panelOff, windowOff, firstInView;
    // Watches every window that appears while the button runs.
    connect(f.mdiArea, &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow* sub) {
        auto* w = qobject_cast<frmPreview*>(sub);
        if (!w || w->property("watched").toBool())
            return;
        w->setProperty("watched", true);
        connect(w->txtPath, &QLineEdit::textChanged, this, [&, w](const QString& t) {
            texts.append(t);
            panelOff.append(!f.cmdSam->isEnabled() && !f.dirSelect->isEnabled() &&
                            !f.cmbDot[0]->isEnabled());
            windowOff.append(!w->isEnabled());
            // The first thumbnail, once placed, is seen whole while the rest load.
            const ThumbBox* first = w->picPre1[0];
            firstInView.append(w->isLoading() && first->isVisible() &&
                               first->visibleRegion() == QRegion(first->rect()));
        });
    });
    frmPreview* w = OpenThumbnails(f, dir.file("pics"));
    QVERIFY(w);
    const QStringList order = pictureNames(6);
    QStringList expected;
    for (int i = 0; i < order.size(); ++i)
        expected.append(QString::number(i) + QStringLiteral("読込み中   ") + order[i]);
    expected.append(dir.file("pics"));
    QCOMPARE(texts, expected);
    for (int i = 0; i < texts.size() - 1; ++i) {
        QVERIFY2(panelOff[i], qPrintable(texts[i]));
        QVERIFY2(windowOff[i], qPrintable(texts[i]));
        QVERIFY2(firstInView[i] == (i > 0), qPrintable(texts[i]));
    }
    QVERIFY(w->isEnabled());
    QVERIFY(f.cmdSam->isEnabled());
    QCOMPARE(w->txtPath->text(), dir.file("pics"));
}

void TestThumbWindows::closedWhileLoadingFreesSlot() {
    TestFolder dir;
    WritePictures(dir.file("A"), 1);
    WritePictures(dir.file("B"), 20, QSize(600, 400));
    frmMain f;
    f.show();
    OpenThumbnails(f, dir.file("A"));
    QPointer<frmPreview> loading;
    connect(f.mdiArea, &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow* sub) {
        auto* w = qobject_cast<frmPreview*>(sub);
        if (!w || w->windowTitle() != "B" || w->property("watched").toBool())
            return;
        w->setProperty("watched", true);
        loading = w;
        connect(w->txtPath, &QLineEdit::textChanged, w, [w](const QString& t) {
            if (t.startsWith(QStringLiteral("3読込み中")))
                QTimer::singleShot(0, w, [w] { w->close(); });
        });
    });
    f.dirSelect->setPath(dir.file("B"));
    f.cmdSam->click();
    QVERIFY(loading.isNull());
    QCOMPARE(mdlSt::strWinPath, QStringList({dir.file("A"), "", ""}));
    QVERIFY(f.cmdSam->isEnabled());
    QVERIFY(f.dirSelect->isEnabled());
    // The freed slot is taken by the next window.
    WritePictures(dir.file("C"), 1);
    OpenThumbnails(f, dir.file("C"));
    QCOMPARE(mdlSt::WinSearch(dir.file("C")), 1);
}

void TestThumbWindows::badInput() {
    TestFolder dir;
    const QString folder = dir.file("bad");
    WritePicture(folder, "good1.bmp", QSize(40, 30));
    WritePicture(folder, "good2.jpg", QSize(30, 40), "JPG");
    QByteArray corrupt = ReadAll(WritePicture(folder, "corrupt.jpg", QSize(50, 50), "JPG"));
    corrupt.truncate(20);
    corrupt += QByteArray(200, 'x');
    dir.write("bad/corrupt.jpg", corrupt);
    dir.write("bad/empty.gif", QByteArray());
    dir.write("bad/text.bmp", "this is no picture at all");
    // 154 bytes whose header claims 16000 x 16000 pixels.
    QByteArray lie = ReadAll(WritePicture(folder, "lie.bmp", QSize(6, 5)));
    lie.replace(18, 8, QByteArray("\x80\x3E\0\0\x80\x3E\0\0", 8));
    dir.write("bad/lie.bmp", lie);
    WritePicture(folder, "drawing.wmf", QSize(24, 24), "PNG");
    QVERIFY(QFile::link(dir.file("bad/nowhere.bmp"), dir.file("bad/vanished.jpg")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.file("bad/pipe.gif")).constData(), 0644), 0);
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, folder);
    QVERIFY(w);
    QCOMPARE(w->intFileCount, 9);
    QStringList shown;
    QList<int> entries = ShownEntries(*w);
    for (int i : entries)
        shown.append(w->lblName[i]->text());
    shown.sort();
    // A PNG is no format of ours, whatever its name says.
    QCOMPARE(shown, QStringList({"good1.bmp", "good2.jpg"}));
    QCOMPARE(boxes.prompts(), QStringList{QStringLiteral("画像の一部が表示出来ませんでした")});
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("注意"));
    QCOMPARE(boxes.calls()[0].buttons, Msg::OkOnly | Msg::Exclamation);
    QVERIFY(!w->blnAllShown);
    // The good thumbnails fill the first cells; the others stay invisible.
    const int columns = (w->picPre->width() - 16) / (w->intPicWidth + 16);
    for (int n = 0; n < entries.size(); ++n) {
        const int k = entries[n];
        QCOMPARE(w->picPre1[k]->pos(), QPoint(80 * (n % columns) + 16, (n / columns) * 97 + 16));
        QVERIFY(w->picPre1[k]->isVisible());
    }
    for (int i = 0; i < w->intFileCount; ++i)
        if (!entries.contains(i))
            QVERIFY(!w->picPre1[i]->isVisible() && !w->lblName[i]->isVisible());
    QVERIFY(f.cmdSam->isEnabled());
}

void TestThumbWindows::folderVanishes() {
    TestFolder dir;
    WritePictures(dir.file("going"), 3);
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    f.dirSelect->setPath(dir.file("going"));
    // Gone after the button has checked the folder, before the listing.
    QTimer::singleShot(0, this, [&] { QDir(dir.file("going")).removeRecursively(); });
    f.cmdSam->click();
    QCOMPARE(boxes.calls().size(), 1);
    QVERIFY(boxes.calls()[0].prompt.startsWith(QStringLiteral("フォルダーを開けませんでした。")));
    QVERIFY(boxes.calls()[0].prompt.contains(dir.file("going")));
    QCOMPARE(boxes.calls()[0].buttons, Msg::OkOnly | Msg::Critical);
    QCOMPARE(mdlSt::WinSearch(dir.file("going")), -1);
    QTRY_COMPARE(f.mdiArea->subWindowList().size(), 0);
    QVERIFY(f.cmdSam->isEnabled());
    QVERIFY(f.dirSelect->isEnabled());
    QVERIFY(f.mnuFile->isEnabled());
    QCOMPARE(mdlSt::strHistory[0], QString());
}

void TestThumbWindows::fittedBoxesAndPictures_data() {
    QTest::addColumn<bool>("fromCache");
    QTest::newRow("decoded") << false;
    QTest::newRow("from the thumbnail cache") << true;
}

void TestThumbWindows::fittedBoxesAndPictures() {
    QFETCH(bool, fromCache);
    TestFolder dir;
    const QString folder = dir.file("fit");
    WritePicture(folder, "wide.bmp", QSize(1000, 500), "BMP", Qt::red);
    WritePicture(folder, "tall.bmp", QSize(500, 1000), "BMP", Qt::green);
    WritePicture(folder, "icon.bmp", QSize(16, 16), "BMP", Qt::blue);
    WritePicture(folder, "small.bmp", QSize(32, 16), "BMP", Qt::yellow);
    WritePicture(folder, "strip.bmp", QSize(100, 40), "BMP", Qt::white);
    frmMain f;
    f.show();
    frmPreview* w = openThumbnails(f, folder, fromCache);
    QVERIFY(w);
    QHash<QString, QSize> boxes;
    for (int i = 0; i < w->intFileCount; ++i)
        boxes.insert(w->lblName[i]->text(), w->picPre1[i]->size());
    QCOMPARE(boxes.value("wide.bmp"), QSize(64, 32));
    QCOMPARE(boxes.value("tall.bmp"), QSize(32, 64));
    QCOMPARE(boxes.value("icon.bmp"), QSize(64, 64));
    QCOMPARE(boxes.value("small.bmp"), QSize(64, 32));
    QCOMPARE(boxes.value("strip.bmp"), QSize(64, 26));
    // What the boxes show, drawn again from what they keep.
    for (int i = 0; i < w->intFileCount; ++i) {
        const QImage shot = w->picPre1[i]->grab().toImage();
        const QString name = w->lblName[i]->text();
        if (name == "icon.bmp") {
            QCOMPARE(shot.pixelColor(15, 15), QColor(Qt::blue));
            QCOMPARE(shot.pixelColor(16, 16), QColor(0x40, 0x40, 0x40));
            QCOMPARE(shot.pixelColor(63, 63), QColor(0x40, 0x40, 0x40));
        } else if (name == "small.bmp") {
            QCOMPARE(shot.pixelColor(31, 15), QColor(Qt::yellow));
            QCOMPARE(shot.pixelColor(32, 0), QColor(0x40, 0x40, 0x40));
        } else if (name == "wide.bmp") {
            QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::red));
            QCOMPARE(shot.pixelColor(63, 31), QColor(Qt::red));
        }
        QCOMPARE(w->lblName[i]->toolTip(), name);
        QCOMPARE(w->lblName[i]->size(), QSize(64, 17));
    }
}

void TestThumbWindows::largeAndTurnedPhotographs_data() {
    fittedBoxesAndPictures_data();
}

void TestThumbWindows::largeAndTurnedPhotographs() {
    QFETCH(bool, fromCache);
    TestFolder dir;
    const QString folder = dir.file("camera");
    // Larger than the decoder's default allocation limit at full size.
    WritePicture(folder, "BIG.JPG", QSize(8000, 6000), "JPG", QColor(30, 90, 160));
    // Taken upright: stored wide, with the orientation in its EXIF data.
    QImage wide(100, 40, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    QImageWriter writer(QDir(folder).filePath("UPRIGHT.JPG"), "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(writer.write(wide));
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    frmPreview* w = openThumbnails(f, folder, fromCache);
    QVERIFY(w);
    QStringList shown;
    for (int i : ShownEntries(*w))
        shown.append(w->lblName[i]->text());
    QStringList told;
    for (const MsgBoxCall& c : boxes.calls())
        told.append(c.prompt);
    QVERIFY2(shown.size() == 2 && told.isEmpty(),
             qPrintable("shown: " + shown.join(',') + "; told: " + told.join(',')));
    // Sharp on the screen: decoded at the screen's pixels, laid out in logical
    // ones. (Run with QT_SCALE_FACTOR=2 as well.)
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(w->devicePixelRatioF(), ratio);
    for (int i = 0; i < 2; ++i) {
        const QString name = w->lblName[i]->text();
        const QSize box = w->picPre1[i]->size();
        QCOMPARE(box, name == "BIG.JPG" ? QSize(64, 48) : QSize(26, 64));
        QCOMPARE(w->picPre1[i]->picture().size(), box * ratio);
        QCOMPARE(w->picPre1[i]->picture().devicePixelRatio(), ratio);
        QCOMPARE(
            w->picPre1[i]->grab().toImage().pixelColor(box.width() / 2, box.height() / 2).green() >
                60,
            true);
    }
}

void TestThumbWindows::hiddenEntryLeavesNoGap() {
    TestFolder dir;
    const QString folder = dir.file("five");
    WritePictures(folder, 5);
    dir.write("five/img002.bmp", "broken");
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, folder);
    QVERIFY(w);
    QCOMPARE(w->intFileCount, 5);
    const int bad = int(names(*w).indexOf("img002.bmp"));
    QVERIFY(bad >= 0);
    QVERIFY(!w->picPre1[bad]->isVisible());
    int cell = 0;
    const int columns = (w->picPre->width() - 16) / 80;
    for (int k = 0; k < 5; ++k) {
        if (k == bad)
            continue;
        QCOMPARE(w->picPre1[k]->pos(),
                 QPoint(80 * (cell % columns) + 16, cell / columns * 97 + 16));
        QCOMPARE(w->lblName[k]->pos(), w->picPre1[k]->pos() + QPoint(0, 64));
        ++cell;
    }
    // The file operations hide an entry by clearing its label; the layout closes up.
    const int first = ShownEntries(*w).first();
    w->lblName[first]->clear();
    w->PicPosiChange();
    QCOMPARE(w->picPre1[ShownEntries(*w).first()]->pos(), QPoint(16, 16));
    QVERIFY(!w->picPre1[first]->isVisible());
    QVERIFY(f.cmdSam->isEnabled());
}

void TestThumbWindows::gridReflowsWithWidth() {
    TestFolder dir;
    WritePictures(dir.file("pics"), 8);
    frmMain f;
    f.show();
    f.resize(1000, 700);
    frmPreview* w = OpenThumbnails(f, dir.file("pics"));
    QVERIFY(w);
    w->resize(w->size() + QSize(400 - w->picPreview->width(), 0));
    QCOMPARE(w->picPreview->width(), 400);
    QCOMPARE(w->picPre->width(), 400);
    QCOMPARE(w->picPre1[5]->pos(), QPoint(96, 113));
    QCOMPARE(w->lblName[5]->pos(), QPoint(96, 177));
    // 17 pixels below the last label: row 1 of two.
    QCOMPARE(w->picPre->height(), 64 + 113 + 17 + 17);
    // The design client area, divided on this window system.
    const QRect client = w->client->rect();
    QCOMPARE(w->vscScroll->geometry().right(), client.right());
    QCOMPARE(w->txtPath->geometry().bottom(), client.bottom());
    QCOMPARE(w->txtPath->width(), client.width());
    QCOMPARE(w->vscScroll->x(), w->picPreview->width() + 1);
    QCOMPARE(w->txtPath->y(), w->picPreview->height() + 1);
    // Narrower than one cell: one column.
    w->resize(w->size() - QSize(w->picPreview->width() - 60, 0));
    QCOMPARE(w->picPre1[1]->pos(), QPoint(16, 113));
}

void TestThumbWindows::everyImageShownAndScrollsToEnd_data() {
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("box");
    QTest::newRow("256") << "256" << 256;
    QTest::newRow("E判") << "E判" << 387;
}

void TestThumbWindows::everyImageShownAndScrollsToEnd() {
    QFETCH(QString, size);
    QFETCH(int, box);
    TestFolder dir;
    WritePictures(dir.file("many"), 260, QSize(20, 20));
    MsgBoxRecorder boxes;
    frmMain f;
    f.show();
    ChooseBoxSize(f, size);
    frmPreview* w = OpenThumbnails(f, dir.file("many"));
    QVERIFY(w);
    QCOMPARE(w->intPicWidth, box);
    QCOMPARE(ShownEntries(*w).size(), 255);
    const int rowHeight = box + 16 + 17;
    ThumbLabel* last = w->lblName[254];
    QCOMPARE(w->picPre1[254]->pos(), QPoint(16, 254 * rowHeight + 16));
    QVERIFY(last->isVisible());
    QCOMPARE(w->picPre->height(), last->geometry().bottom() + 1 + 17);
    QCOMPARE(w->vscScroll->maximum(), w->picPre->height() - w->picPreview->height());
    w->vscScroll->setValue(w->vscScroll->maximum());
    QCOMPARE(w->picPre->y(), -w->vscScroll->maximum());
    // The last label lies wholly inside the viewport's height.
    const int top = w->picPre->mapTo(w->picPreview, last->pos()).y();
    QVERIFY(top >= 0);
    QCOMPARE(top + last->height() + 17, w->picPreview->height());
}

void TestThumbWindows::shortGridDoesNotScroll() {
    TestFolder dir;
    WritePictures(dir.file("few"), 2);
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, dir.file("few"));
    QVERIFY(w);
    QVERIFY(w->picPre->height() < w->picPreview->height());
    QCOMPARE(w->vscScroll->maximum(), 0);
}

void TestThumbWindows::addImage() {
    TestFolder dir;
    WritePictures(dir.file("pics"), 3);
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, dir.file("pics"));
    QVERIFY(w);
    WritePicture(dir.file("pics"), "NEW.BMP", QSize(10, 10));
    mdlSt::strCurrentPath = dir.file("pics");
    w->AddImage("NEW.BMP");
    QCOMPARE(w->intFileCount, 4);
    QCOMPARE(w->strFiles[3], dir.file("pics/NEW.BMP"));
    QCOMPARE(w->lblName[3]->text(), QStringLiteral("NEW.BMP"));
    QCOMPARE(w->txtPath->text(), QStringLiteral("3読込み中   NEW.BMP"));
    // Laid out with the others: the fourth cell.
    const int columns = (w->picPre->width() - 16) / 80;
    QCOMPARE(w->picPre1[3]->pos(), QPoint(80 * (3 % columns) + 16, 3 / columns * 97 + 16));
    // A file gone before it is added stays hidden.
    w->AddImage("GONE.BMP");
    QCOMPARE(w->intFileCount, 5);
    QVERIFY(w->lblName[4]->text().isEmpty());
    QVERIFY(!w->picPre1[4]->isVisible());
    QVERIFY(!w->blnAllShown);
}

void TestThumbWindows::pathBoxReadOnlyAndColours() {
    TestFolder dir;
    WritePictures(dir.file("pics"), 2);
    frmMain f;
    f.show();
    frmPreview* w = OpenThumbnails(f, dir.file("pics"));
    QVERIFY(w);
    w->txtPath->setFocus();
    QTest::keyClicks(w->txtPath, "xyz");
    QTest::keyClick(w->txtPath, Qt::Key_Backspace);
    QCOMPARE(w->txtPath->text(), dir.file("pics"));
    const QColor grey(0x40, 0x40, 0x40);
    QCOMPARE(w->picPreview->palette().color(QPalette::Window), grey);
    QCOMPARE(w->picPre->palette().color(QPalette::Window), grey);
    QCOMPARE(w->picPreview->grab().toImage().pixelColor(w->picPreview->width() - 2, 2), grey);
    QCOMPARE(w->lblName[0]->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
    // Made while the window was disabled, the names still read as enabled text.
    const QPalette app = QApplication::palette();
    QVERIFY(app.color(QPalette::Disabled, QPalette::ButtonText) !=
            app.color(QPalette::Active, QPalette::ButtonText));
    QCOMPARE(w->lblName[1]->palette().color(QPalette::Active, QPalette::WindowText),
             app.color(QPalette::Active, QPalette::ButtonText));
    QCOMPARE(w->txtPath->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Button));
}

void TestThumbWindows::closeAndPanic() {
    TestFolder dir;
    WritePictures(dir.file("A"), 1);
    WritePictures(dir.file("B"), 1);
    frmMain f;
    f.show();
    // With no window at all, closing does nothing.
    f.cmdClose->click();
    f.cmdPanic->click();
    QPointer<frmPreview> a = OpenThumbnails(f, dir.file("A"));
    QPointer<frmPreview> b = OpenThumbnails(f, dir.file("B"));
    QPointer<QWidget> viewer = new QWidget;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
    mdlSt::frmViewer = QList<QPointer<QWidget>>{nullptr, viewer.data()};
    mdlSt::blnViewerUsed = QList<bool>{false, true};
    // The menu item presses the button.
    f.mnuClose->trigger();
    QTRY_VERIFY(a.isNull() && b.isNull() && viewer.isNull());
    QCOMPARE(mdlSt::strWinPath, QStringList({"", "", ""}));
    QCOMPARE(mdlSt::intWinMax, 1);
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>{false});
    QCOMPARE(mdlSt::frmViewer.size(), 1);
    // The next window takes the lowest slot again.
    OpenThumbnails(f, dir.file("B"));
    QCOMPARE(mdlSt::WinSearch(dir.file("B")), 0);
}

QTEST_MAIN(TestThumbWindows)
#include "tst_thumbwindows.moc"
