// Picture loading and the viewer windows.
#include "TestSupport.h"
#include "app/frmMain.h"
#include "app/mdlSt.h"
#include "platform/FileList.h"
#include "platform/Picture.h"
#include "viewer/frmOpenPreview.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGuiApplication>
#include <QImageWriter>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

namespace {
QByteArray jpeg(int w, int h, int quality = 80) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / std::max(1, w), (y * 255) / std::max(1, h), 90));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter writer(&b, "jpeg");
    writer.setQuality(quality);
    writer.write(img);
    return b.data();
}

// A JPEG with an EXIF orientation tag inserted after its start marker.
QByteArray withOrientation(QByteArray data, quint16 orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0", 2);                   // one entry
    tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8); // orientation, SHORT, 1
    tiff += char(orientation) + QByteArray("\0\0\0", 3);
    tiff += QByteArray(4, '\0'); // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    const int len = int(payload.size()) + 2;
    app1 += char(len >> 8);
    app1 += char(len & 0xFF);
    app1 += payload;
    data.insert(2, app1);
    return data;
}

// An icon (type 1) or cursor (type 2) file with one 32-bit image per size.
QByteArray icon(int type, QList<int> sizes) {
    QByteArray head, body;
    auto le16 = [](QByteArray& b, int v) {
        b += char(v & 0xFF);
        b += char((v >> 8) & 0xFF);
    };
    auto le32 = [&](QByteArray& b, int v) {
        le16(b, v & 0xFFFF);
        le16(b, (v >> 16) & 0xFFFF);
    };
    le16(head, 0);
    le16(head, type);
    le16(head, int(sizes.size()));
    int offset = 6 + 16 * int(sizes.size());
    for (int s : sizes) {
        QByteArray dib;
        le32(dib, 40);
        le32(dib, s);
        le32(dib, 2 * s);
        le16(dib, 1);
        le16(dib, 32);
        for (int i = 0; i < 6; ++i)
            le32(dib, 0);
        for (int i = 0; i < s * s; ++i)
            dib += QByteArray("\x20\x40\xC0\xFF", 4);
        dib += QByteArray(((s + 31) / 32) * 4 * s, '\0');
        head += char(s >= 256 ? 0 : s);
        head += char(s >= 256 ? 0 : s);
        head += char(0);
        head += char(0);
        le16(head, type == 2 ? 1 : 1);
        le16(head, type == 2 ? 1 : 32);
        le32(head, int(dib.size()));
        le32(head, offset);
        offset += int(dib.size());
        body += dib;
    }
    return head + body;
}

frmOpenPreview* viewer(int slot) {
    return qobject_cast<frmOpenPreview*>(mdlSt::frmViewer[slot].data());
}
} // namespace

class TestViewer : public QObject {
    Q_OBJECT
private slots:
    void statuses_data();
    void statuses();
    void iconTakesLargest();
    void largePhotograph();
    void orientationApplied();
    void reducedDecode();
    void slotsReused();
    void sameFileTwice();
    void notAPicture();
    void missingFileStaysOpen();
    void zoomInThenOut();
    void scrollsToFarCorner();
    void fitLargerThanScreen();
    void fitWhileMaximised();
    void fileListDoubleClick();
};

void TestViewer::statuses_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::newRow("jpeg") << jpeg(40, 30) << "a.jpg" << int(FsStatus::Ok);
    QTest::newRow("jpeg named gif") << jpeg(40, 30) << "a.gif" << int(FsStatus::Ok);
    QByteArray noise(3000, Qt::Uninitialized);
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) % 251);
    QTest::newRow("random bytes") << noise << "r.jpg" << int(FsStatus::InvalidPicture);
    QTest::newRow("empty") << QByteArray() << "e.gif" << int(FsStatus::InvalidPicture);
    QTest::newRow("text") << QByteArray("not a picture") << "t.bmp"
                          << int(FsStatus::InvalidPicture);
    QTest::newRow("missing") << QByteArray() << "" << int(FsStatus::NotFound);
    QTest::newRow("folder") << QByteArray() << "folder" << int(FsStatus::NotFound);
}

void TestViewer::statuses() {
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(int, status);
    TestFolder dir;
    dir.mkdir("folder");
    const QString path = name.isEmpty()     ? dir.file("none.jpg")
                         : name == "folder" ? dir.file("folder")
                                            : dir.write(name, content);
    QCOMPARE(int(LoadPicture(path).status), status);
}

void TestViewer::iconTakesLargest() {
    TestFolder dir;
    const Picture ico = LoadPicture(dir.write("i.ico", icon(1, {16, 48, 32})));
    QCOMPARE(ico.status, FsStatus::Ok);
    QCOMPARE(ico.image.size(), QSize(48, 48));
    const Picture cur = LoadPicture(dir.write("c.cur", icon(2, {32})));
    QCOMPARE(cur.status, FsStatus::Ok);
    QCOMPARE(cur.image.size(), QSize(32, 32));
}

void TestViewer::largePhotograph() {
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("big.jpg", jpeg(8000, 6000, 50)));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(8000, 6000));
}

void TestViewer::orientationApplied() {
    TestFolder dir;
    const QString path = dir.write("turned.jpg", withOrientation(jpeg(60, 20), 6));
    const Picture p = LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(20, 60));
    QCOMPARE(p.naturalSize, QSize(20, 60));
    const Picture small = LoadPicture(path, QSize(10, 10));
    QCOMPARE(small.naturalSize, QSize(20, 60));
    QCOMPARE(small.image.height() > small.image.width(), true);
}

void TestViewer::reducedDecode() {
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("p.jpg", jpeg(1000, 500)), QSize(64, 64));
    QCOMPARE(p.naturalSize, QSize(1000, 500));
    QVERIFY(p.image.width() < 1000);
    QVERIFY(p.image.width() >= 64 && p.image.height() >= 32);
}

void TestViewer::slotsReused() {
    TestFolder dir;
    const QString a = dir.write("a.jpg", jpeg(40, 30));
    frmMain f;
    for (int i = 0; i < 3; ++i)
        f.ImageOpened(a);
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>({true, true, true, false}));
    viewer(1)->close();
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>({true, false, true, false}));
    f.ImageOpened(a);
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>({true, true, true, false}));
    QCOMPARE(mdlSt::frmViewer.size(), 4);
    QCOMPARE(viewer(1)->intNum, 1);
    for (int i = 0; i < 3; ++i)
        viewer(i)->close();
}

void TestViewer::sameFileTwice() {
    TestFolder dir;
    const QString a = dir.write("Photo.jpg", jpeg(40, 30));
    frmMain f;
    f.ImageOpened(a);
    f.ImageOpened(a);
    QVERIFY(viewer(0) != viewer(1));
    QCOMPARE(viewer(1)->windowTitle(), QStringLiteral("Photo.jpg"));
    viewer(0)->Zoom(1.1);
    QCOMPARE(viewer(1)->imageSize(), QSizeF(40, 30));
    viewer(0)->close();
    viewer(1)->close();
}

void TestViewer::notAPicture() {
    TestFolder dir;
    const QString bad = dir.write("bad.jpg", "this is text");
    MsgBoxRecorder boxes;
    frmMain f;
    f.ImageOpened(bad);
    QCOMPARE(boxes.prompts(), QStringList{"画像の表示に失敗しました。"});
    QCOMPARE(boxes.calls()[0].title, QStringLiteral("注意"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Exclamation));
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>({false, false}));
    QTRY_VERIFY(mdlSt::frmViewer[0].isNull()); // closed and gone
}

void TestViewer::missingFileStaysOpen() {
    TestFolder dir;
    MsgBoxRecorder boxes;
    frmMain f;
    f.ImageOpened(dir.file("gone.jpg"));
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(viewer(0)->isVisible());
    QCOMPARE(viewer(0)->windowTitle(), QStringLiteral("gone.jpg"));
    viewer(0)->close();
}

void TestViewer::zoomInThenOut() {
    TestFolder dir;
    const QString a = dir.write("a.jpg", jpeg(300, 200));
    frmMain f;
    f.ImageOpened(a);
    frmOpenPreview* v = viewer(0);
    QTest::mouseClick(v->cmdBig, Qt::LeftButton);
    QTest::mouseClick(v->cmdSmall, Qt::LeftButton);
    QCOMPARE(v->imageSize().width(), 300 * 1.1 * 0.9);
    QCOMPARE(v->imageSize().height(), 300 * 1.1 * 0.9 * (200.0 / 300.0));
    QVERIFY(v->imageSize().width() != 300);
    v->close();
}

void TestViewer::scrollsToFarCorner() {
    TestFolder dir;
    const QString a = dir.write("a.jpg", jpeg(2000, 1500));
    frmMain f;
    f.ImageOpened(a);
    frmOpenPreview* v = viewer(0);
    for (int i = 0; i < 40; ++i)
        v->Zoom(1.1);
    const int far = int(std::lround(v->imageSize().width())) - v->picBack->width();
    QVERIFY(far > 32767);
    QCOMPARE(v->hscChange->maximum(), far);
    v->hscChange->setValue(v->hscChange->maximum());
    v->vscChange->setValue(v->vscChange->maximum());
    QCOMPARE(v->picBack->offset, QPoint(v->hscChange->maximum(), v->vscChange->maximum()));
    v->close();
}

void TestViewer::fitLargerThanScreen() {
    TestFolder dir;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QString a = dir.write("a.jpg", jpeg(screen.width() + 300, 100));
    frmMain f;
    f.ImageOpened(a);
    frmOpenPreview* v = viewer(0);
    QTest::mouseClick(v->cmdFrmSize, Qt::LeftButton);
    QVERIFY(v->frameGeometry().width() <= screen.width());
    QVERIFY(v->frameGeometry().width() >= screen.width() - 20);
    QCOMPARE(v->height(), frmOpenPreview::FittedClientSize(QSize(1, 100)).height());
    // The fitted viewing area is 5 pixels wider and 9 pixels taller than the image.
    const QSize small = frmOpenPreview::FittedClientSize(QSize(200, 100));
    v->resize(small);
    QCOMPARE(v->picBack->size(), QSize(205, 109));
    v->close();
}

void TestViewer::fitWhileMaximised() {
    TestFolder dir;
    const QString a = dir.write("a.jpg", jpeg(50, 40));
    frmMain f;
    f.ImageOpened(a);
    frmOpenPreview* v = viewer(0);
    v->showMaximized();
    QTRY_VERIFY(v->isMaximized());
    QVERIFY(!v->cmdFrmSize->isEnabled());
    const QSize before = v->size();
    v->FitWindow();
    QCOMPARE(v->size(), before);
    v->close();
}

void TestViewer::fileListDoubleClick() {
    TestFolder dir;
    dir.write("a.jpg", jpeg(40, 30));
    frmMain f;
    f.flbSelect_DblClick(); // nothing chosen: nothing opens
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>{false});
    f.flbSelect->setCurrentRow(0);
    QTest::keyClick(f.flbSelect, Qt::Key_Return);
    QCOMPARE(mdlSt::strWorkPath, dir.file("a.jpg"));
    QCOMPARE(mdlSt::blnViewerUsed, QList<bool>({true, false}));
    QCOMPARE(viewer(0)->imageSize(), QSizeF(40, 30));
    viewer(0)->close();
}

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
