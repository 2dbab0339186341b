// The image viewer: viewer slots, loading and its failures, zoom, fitting
// the window to the picture, scrolling, keeping on top, and the file list's
// double click that opens a viewer.
#include "ImageFiles.h"
#include "TestSupport.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/FileList.h"
#include "viewer/ViewerSlots.h"
#include "viewer/ViewingArea.h"
#include "viewer/frmOpenPreview.h"

#include <QCheckBox>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

using mdlSt::blnViewerUsed;
using mdlSt::frmViewer;

class TestViewer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void slotTaking_data();
    void slotTaking();
    void closedSlotIsReused();
    void sameFileTwice();
    void notAPicture_data();
    void notAPicture();
    void missingFileLeavesEmptyWindow();
    void opensAtNaturalSize();
    void zoomInThenOut();
    void layoutFollowsWindow_data();
    void layoutFollowsWindow();
    void fitSmallPicture();
    void fitPictureLargerThanScreen();
    void fitWhileMaximised();
    void farCornerAfterManyZoomSteps();
    void zoomOutPullsScrollValueBack();
    void exifOrientationShownUpright();
    void finePictureDrawnPixelForPixel_data();
    void finePictureDrawnPixelForPixel();
    void keepOnTop();
    void closingAfterSlotsWereReset();
    void fileListDoubleClickOpensViewer();

private:
    frmOpenPreview* viewer(int slot) const {
        return qobject_cast<frmOpenPreview*>(frmViewer.value(slot).data());
    }
    frmOpenPreview* open(const QString& path) {
        m_main->ImageOpened(path);
        return viewer(int(blnViewerUsed.lastIndexOf(true)));
    }
    QColor shownAt(frmOpenPreview* v, QPoint p) const {
        return v->picBack->grab().toImage().pixelColor(p);
    }
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<QTemporaryDir> m_programFolder;
    std::unique_ptr<frmMain> m_main;
};

void TestViewer::initTestCase() {
    m_programFolder = std::make_unique<QTemporaryDir>();
    ResetForTest(m_programFolder->path());
    m_main = std::make_unique<frmMain>();
}

void TestViewer::cleanupTestCase() {
    m_main.reset();
}

void TestViewer::cleanup() {
    for (const QPointer<QWidget>& w : frmViewer)
        if (w)
            w->close();
    settle();
}

void TestViewer::slotTaking_data() {
    QTest::addColumn<QList<bool>>("before");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<bool>>("after");
    QTest::newRow("start") << QList<bool>{false} << 0 << QList<bool>{true, false};
    QTest::newRow("lowest free, not the last")
        << QList<bool>{true, false, true, false} << 1 << QList<bool>{true, true, true, false};
    QTest::newRow("the last") << QList<bool>{true, true, false} << 2
                              << QList<bool>{true, true, true, false};
    QTest::newRow("nothing free") << QList<bool>{true} << 1 << QList<bool>{true, true, false};
    QTest::newRow("empty") << QList<bool>{} << 0 << QList<bool>{true, false};
}

void TestViewer::slotTaking() {
    QFETCH(QList<bool>, before);
    QFETCH(int, slot);
    QFETCH(QList<bool>, after);
    QList<bool> used = before;
    QList<QPointer<QWidget>> viewers(before.size());
    QCOMPARE(TakeViewerSlot(used, viewers), slot);
    QCOMPARE(used, after);
    QCOMPARE(viewers.size(), after.size());
}

void TestViewer::closedSlotIsReused() {
    TestFolder dir;
    QStringList paths;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        paths << dir.write(name, Jpeg(QImage(30, 20, QImage::Format_RGB32)));
    for (int i = 0; i < 3; ++i) {
        frmOpenPreview* v = open(paths[i]);
        QVERIFY(v);
        QCOMPARE(v->intNum, i);
        QVERIFY(v->isVisible());
    }
    QCOMPARE(blnViewerUsed, (QList<bool>{true, true, true, false}));
    viewer(1)->close();
    QCOMPARE(blnViewerUsed, (QList<bool>{true, false, true, false}));
    settle();
    m_main->ImageOpened(paths[3]);
    QCOMPARE(blnViewerUsed, (QList<bool>{true, true, true, false}));
    QCOMPARE(frmViewer.size(), 4);
    QCOMPARE(viewer(1)->intNum, 1);
    QCOMPARE(viewer(1)->windowTitle(), QStringLiteral("d.jpg"));
    QCOMPARE(viewer(2)->windowTitle(), QStringLiteral("c.jpg"));
}

void TestViewer::sameFileTwice() {
    TestFolder dir;
    const QString path = dir.write("Same.JPG", Jpeg(QImage(60, 40, QImage::Format_RGB32)));
    frmOpenPreview* first = open(path);
    frmOpenPreview* second = open(path);
    QVERIFY(first && second && first != second);
    QCOMPARE(blnViewerUsed, (QList<bool>{true, true, false}));
    QCOMPARE(first->windowTitle(), QStringLiteral("Same.JPG"));
    QCOMPARE(second->windowTitle(), QStringLiteral("Same.JPG"));
    QTest::mouseClick(second->cmdBig, Qt::LeftButton);
    QCOMPARE(first->ImgMain->Width(), 60.0);
    QCOMPARE(second->ImgMain->Width(), 60 * 1.1);
}

void TestViewer::notAPicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QByteArray noise(2048, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 31 + 7) % 253);
    QTest::newRow("random bytes named jpg") << "noise.jpg" << noise;
    QTest::newRow("text named bmp") << "text.bmp" << QByteArray("hello\n");
    QTest::newRow("empty gif") << "empty.gif" << QByteArray("");
}

void TestViewer::notAPicture() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    TestFolder dir;
    MsgBoxRecorder boxes;
    m_main->ImageOpened(dir.write(name, content));
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("画像の表示に失敗しました。"));
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("注意"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Exclamation));
    QCOMPARE(boxes.calls()[0].buttonSet(), int(Msg::OkOnly));
    QVERIFY(!blnViewerUsed.contains(true));
    settle();
    QVERIFY(!viewer(0));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<frmOpenPreview*>(w));
}

void TestViewer::missingFileLeavesEmptyWindow() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmOpenPreview* v = open(dir.file("gone.jpg"));
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(v && v->isVisible());
    QCOMPARE(v->windowTitle(), QStringLiteral("gone.jpg"));
    QCOMPARE(blnViewerUsed, (QList<bool>{true, false}));
    QTest::mouseClick(v->cmdBig, Qt::LeftButton);
    QCOMPARE(v->ImgMain->Width(), 0.0);
    QCOMPARE(v->hscChange->maximum(), 0);
}

void TestViewer::opensAtNaturalSize() {
    TestFolder dir;
    QImage quarters(200, 100, QImage::Format_RGB32);
    quarters.fill(Qt::red);
    for (int y = 50; y < 100; ++y)
        for (int x = 100; x < 200; ++x)
            quarters.setPixelColor(x, y, Qt::green);
    frmOpenPreview* v = open(dir.write("q.bmp", Encoded(quarters, "BMP")));
    QCOMPARE(v->ImgMain->Width(), 200.0);
    QCOMPARE(v->ImgMain->Height(), 100.0);
    QCOMPARE(v->dblRatio, 0.5);
    QCOMPARE(v->chkTop->isChecked(), false);
    // Placed by the system, not pinned to a corner by the load.
    QVERIFY(!v->testAttribute(Qt::WA_Moved));
    QTRY_VERIFY(v->isActiveWindow());
    QCOMPARE(shownAt(v, {10, 10}), QColor(Qt::red));
    QCOMPARE(shownAt(v, {150, 75}), QColor(Qt::green));
    // Outside the picture the viewing area shows its own background.
    QCOMPARE(shownAt(v, {250, 75}), v->picBack->palette().color(QPalette::Window));
}

void TestViewer::zoomInThenOut() {
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("z.jpg", Jpeg(QImage(733, 550, QImage::Format_RGB32))));
    const double ratio = 550.0 / 733.0;
    QCOMPARE(v->dblRatio, ratio);
    QTest::mouseClick(v->cmdBig, Qt::LeftButton);
    QCOMPARE(v->ImgMain->Width(), 733 * 1.1);
    QCOMPARE(v->ImgMain->Height(), 733 * 1.1 * ratio);
    QVERIFY(v->cmdBig->isEnabled());
    QTest::mouseClick(v->cmdSmall, Qt::LeftButton);
    QCOMPARE(v->ImgMain->Width(), 733 * 1.1 * 0.9);
    QVERIFY(v->ImgMain->Width() != 733.0);
    QCOMPARE(v->ImgMain->Height(), 733 * 1.1 * 0.9 * ratio);
    QVERIFY(v->ImgMain->Visible());
    QCOMPARE(v->hscChange->maximum(), qRound(733 * 1.1 * 0.9) - v->picBack->width());
}

void TestViewer::layoutFollowsWindow_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("picBack");
    QTest::addColumn<QRect>("vsc");
    QTest::addColumn<QRect>("hsc");
    QTest::newRow("larger") << QSize(500, 400) << QRect(0, 25, 483, 358) << QRect(483, 25, 17, 358)
                            << QRect(0, 383, 483, 17);
    QTest::newRow("smaller") << QSize(200, 120) << QRect(0, 25, 183, 78) << QRect(183, 25, 17, 78)
                             << QRect(0, 103, 183, 17);
    // Too low for the scroll bar and the button row: nothing moves up or down.
    QTest::newRow("too low") << QSize(200, 30) << QRect(0, 25, 183, 247) << QRect(183, 25, 17, 247)
                             << QRect(0, 272, 183, 17);
    // Narrower than the button row with its check box: held at its width.
    QTest::newRow("too narrow") << QSize(12, 300) << QRect(0, 25, 168, 258)
                                << QRect(168, 25, 17, 258) << QRect(0, 283, 168, 17);
}

void TestViewer::layoutFollowsWindow() {
    QFETCH(QSize, client);
    QFETCH(QRect, picBack);
    QFETCH(QRect, vsc);
    QFETCH(QRect, hsc);
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("l.jpg", Jpeg(QImage(40, 40, QImage::Format_RGB32))));
    QCOMPARE(v->size(), QSize(418, 289));
    v->resize(client);
    QCOMPARE(v->picBack->geometry(), picBack);
    QCOMPARE(v->vscChange->geometry(), vsc);
    QCOMPARE(v->hscChange->geometry(), hsc);
}

void TestViewer::fitSmallPicture() {
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("s.jpg", Jpeg(QImage(300, 80, QImage::Format_RGB32))));
    const QPoint place = v->pos();
    QTest::mouseClick(v->cmdFrmSize, Qt::LeftButton);
    QCOMPARE(v->picBack->size(), QSize(305, 89));
    QCOMPARE(v->pos(), place);
    QCOMPARE(v->hscChange->maximum(), 0);
    QCOMPARE(v->vscChange->maximum(), 0);
    // After zooming the fit follows the new size.
    QTest::mouseClick(v->cmdBig, Qt::LeftButton);
    QTest::mouseClick(v->cmdFrmSize, Qt::LeftButton);
    QCOMPARE(v->picBack->size(), QSize(330 + 5, 88 + 9));
    // Fitted to a tiny picture, the window keeps its controls.
    v = open(dir.write("t.jpg", Jpeg(QImage(16, 16, QImage::Format_RGB32))));
    QTest::mouseClick(v->cmdFrmSize, Qt::LeftButton);
    QVERIFY(v->rect().contains(v->chkTop->geometry())); // the rightmost control
    // Room for a title bar with the icon and three buttons.
    QVERIFY(v->width() >= 4 * v->style()->pixelMetric(QStyle::PM_TitleBarButtonSize));
    // The height still fits the picture: only the width was held.
    QCOMPARE(v->picBack->height(), 16 + 9);
    // The user cannot make it smaller either.
    v->resize(10, 10);
    QCOMPARE(v->size(), v->minimumSize());
}

void TestViewer::fitPictureLargerThanScreen() {
    TestFolder dir;
    frmOpenPreview* probe = open(dir.file("none.jpg"));
    const QSize screen = probe->screen()->geometry().size();
    probe->close();
    const QSize picture = screen + QSize(300, 200);
    frmOpenPreview* v = open(dir.write("huge.jpg", Jpeg(QImage(picture, QImage::Format_RGB32))));
    QTest::mouseClick(v->cmdFrmSize, Qt::LeftButton);
    QCOMPARE(v->frameGeometry().size(), screen);
    QCOMPARE(v->hscChange->maximum(), picture.width() - v->picBack->width());
    QCOMPARE(v->vscChange->maximum(), picture.height() - v->picBack->height());
    QVERIFY(v->hscChange->maximum() > 0 && v->vscChange->maximum() > 0);
}

void TestViewer::fitWhileMaximised() {
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("m.jpg", Jpeg(QImage(50, 50, QImage::Format_RGB32))));
    QVERIFY(v->cmdFrmSize->isEnabled());
    v->showMaximized();
    QTRY_VERIFY(v->isMaximized());
    QVERIFY(!v->cmdFrmSize->isEnabled());
    const QSize before = v->size();
    v->cmdFrmSize_Click();
    QCOMPARE(v->size(), before);
    QVERIFY(v->isMaximized());
    v->showNormal();
    QTRY_VERIFY(!v->isMaximized());
    QVERIFY(v->cmdFrmSize->isEnabled());
}

void TestViewer::farCornerAfterManyZoomSteps() {
    // The bottom-right quarter is green; zoomed in 80 times the picture is
    // about 200000 pixels wide, far beyond what 16 bits could scroll.
    TestFolder dir;
    QImage quarters(100, 80, QImage::Format_RGB32);
    quarters.fill(Qt::red);
    for (int y = 40; y < 80; ++y)
        for (int x = 50; x < 100; ++x)
            quarters.setPixelColor(x, y, Qt::green);
    frmOpenPreview* v = open(dir.write("far.jpg", Jpeg(quarters, 100)));
    for (int i = 0; i < 80; ++i)
        QTest::mouseClick(v->cmdBig, Qt::LeftButton);
    const double width = v->ImgMain->Width();
    QVERIFY(width > 100000);
    QCOMPARE(v->hscChange->maximum(), int(std::round(width)) - v->picBack->width());
    QVERIFY(v->vscChange->maximum() > 32767);
    v->hscChange->triggerAction(QAbstractSlider::SliderToMaximum);
    v->vscChange->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(v->ImgMain->Left(), -double(v->hscChange->maximum()));
    QCOMPARE(v->ImgMain->Top(), -double(v->vscChange->maximum()));
    const QSize area = v->picBack->size();
    QVERIFY(Near(shownAt(v, {0, 0}), Qt::green));
    QVERIFY(Near(shownAt(v, {area.width() - 1, area.height() - 1}), Qt::green));
    // The top-left corner, back at the start.
    v->hscChange->triggerAction(QAbstractSlider::SliderToMinimum);
    v->vscChange->triggerAction(QAbstractSlider::SliderToMinimum);
    QVERIFY(Near(shownAt(v, {area.width() / 2, area.height() / 2}), Qt::red));
}

void TestViewer::zoomOutPullsScrollValueBack() {
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("w.jpg", Jpeg(QImage(1000, 800, QImage::Format_RGB32))));
    v->hscChange->triggerAction(QAbstractSlider::SliderToMaximum);
    const int before = v->hscChange->maximum();
    QCOMPARE(v->ImgMain->Left(), -double(before));
    QTest::mouseClick(v->cmdSmall, Qt::LeftButton);
    const int after = v->hscChange->maximum();
    QCOMPARE(after, qRound(900.0) - v->picBack->width());
    QCOMPARE(v->hscChange->value(), after);
    QCOMPARE(v->ImgMain->Left(), -double(after));
}

void TestViewer::exifOrientationShownUpright() {
    TestFolder dir;
    const QByteArray jpeg = Jpeg(Halves(QSize(120, 60), Qt::red, Qt::blue, Qt::Horizontal));
    frmOpenPreview* v = open(dir.write("upright.jpg", WithExif(jpeg, 6)));
    QCOMPARE(v->ImgMain->Width(), 60.0);
    QCOMPARE(v->ImgMain->Height(), 120.0);
    QCOMPARE(v->dblRatio, 2.0);
    QVERIFY(Near(shownAt(v, {30, 20}), Qt::red));
    QVERIFY(Near(shownAt(v, {30, 100}), Qt::blue));
}

void TestViewer::finePictureDrawnPixelForPixel_data() {
    QTest::addColumn<double>("scale"); // device pixels per picture pixel
    QTest::newRow("one device pixel each") << 1.0;
    QTest::newRow("enlarged by half") << 1.5;
    QTest::newRow("doubled (100 % at ratio 2)") << 2.0;
    QTest::newRow("reduced to half") << 0.5;
}

void TestViewer::finePictureDrawnPixelForPixel() {
    // Stripes one pixel wide: a picture pixel that covers at least one device
    // pixel of the screen is drawn in its own colour, from the picture itself
    // (a halved copy, or smoothing, would grey it); a reduced picture is
    // smoothed. (Run with QT_SCALE_FACTOR=2 as well.)
    QFETCH(double, scale);
    TestFolder dir;
    QImage stripes(400, 300, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? 0xFFFFFFFF : 0xFF000000);
    frmOpenPreview* v = open(dir.write("s.bmp", Encoded(stripes, "BMP")));
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(v->picBack->devicePixelRatioF(), ratio);
    v->ImgMain->Move(0, 0, 400 * scale / ratio, 300 * scale / ratio);
    const QImage shot = v->picBack->grab().toImage();
    QSet<int> grays;
    for (int x = 10; x < 20; ++x)
        grays.insert(qGray(shot.pixel(x, 10)));
    if (scale < 1)
        for (const int gray : grays)
            QVERIFY2(gray > 64 && gray < 192, qPrintable(QString::number(gray)));
    else
        QCOMPARE(grays, (QSet<int>{0, 255}));
}

void TestViewer::keepOnTop() {
    TestFolder dir;
    frmOpenPreview* v = open(dir.write("t.jpg", Jpeg(QImage(30, 30, QImage::Format_RGB32))));
    QVERIFY(!(v->windowFlags() & Qt::WindowStaysOnTopHint));
    const QRect place = v->geometry();
    QTest::mouseClick(v->chkTop, Qt::LeftButton, {}, QPoint(6, v->chkTop->height() / 2));
    QVERIFY(v->chkTop->isChecked());
    QVERIFY(v->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(v->isVisible());
    QCOMPARE(v->geometry(), place);
    QTest::mouseClick(v->chkTop, Qt::LeftButton, {}, QPoint(6, v->chkTop->height() / 2));
    QVERIFY(!v->chkTop->isChecked());
    QVERIFY(!(v->windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(v->geometry(), place);
}

void TestViewer::closingAfterSlotsWereReset() {
    // Closing all thumbnail windows resets the slots; a viewer closed after
    // that must not free (or index past) slots it no longer owns.
    TestFolder dir;
    const QString path = dir.write("r.jpg", Jpeg(QImage(30, 30, QImage::Format_RGB32)));
    open(path);
    QPointer<frmOpenPreview> second = open(path);
    QCOMPARE(second->intNum, 1);
    frmViewer = QList<QPointer<QWidget>>{nullptr};
    blnViewerUsed = QList<bool>{false};
    frmOpenPreview* fresh = open(path);
    QCOMPARE(fresh->intNum, 0);
    second->close();
    QCOMPARE(blnViewerUsed, (QList<bool>{true, false}));
}

void TestViewer::fileListDoubleClickOpensViewer() {
    TestFolder dir;
    const QString folder = dir.mkdir("photos");
    dir.write("photos/IMG_0001.JPG", Jpeg(QImage(64, 48, QImage::Format_RGB32)));
    dir.write("photos/other.bmp", QByteArray("no picture"));
    FileList* list = m_main->flbSelect;
    list->setPath(folder);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    const QList<QListWidgetItem*> items = list->findItems("IMG_0001.JPG", Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    const QPoint at = list->visualItemRect(items[0]).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(mdlSt::strWorkPath, folder + "/IMG_0001.JPG");
    QCOMPARE(blnViewerUsed, (QList<bool>{true, false}));
    QCOMPARE(viewer(0)->windowTitle(), QStringLiteral("IMG_0001.JPG"));
    QCOMPARE(viewer(0)->ImgMain->Width(), 64.0);
    m_main->hide();
}

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
