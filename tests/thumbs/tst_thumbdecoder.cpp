// Decoding ahead on worker threads: every picture of a long list arrives,
// in listing order, whatever the workers do meanwhile.
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "thumbs/ThumbDecoder.h"

#include <QDir>
#include <QtTest>
#include <sys/stat.h>

class TestThumbDecoder : public QObject {
    Q_OBJECT
private slots:
    void everyPictureArrives_data();
    void everyPictureArrives();
    void notRegularFilesAreNotRead();
    void pixelsOfTheScreen_data();
    void pixelsOfTheScreen();
};

void TestThumbDecoder::everyPictureArrives_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("one") << 1;
    QTest::newRow("a few") << 8;
    QTest::newRow("a full window") << 255;
}

void TestThumbDecoder::everyPictureArrives() {
    QFETCH(int, count);
    TestFolder dir;
    const QString folder = dir.file("pics");
    WritePictures(folder, count, QSize(20, 10));
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(
            QDir(folder).filePath(QStringLiteral("img%1.bmp").arg(i, 3, 10, QLatin1Char('0'))));
    // Many rounds: the workers share the list, and a copy made behind their
    // backs would lose or mix up paths now and then.
    for (int round = 0; round < 4000 / count + 10; ++round) {
        ThumbDecoder decoder(paths, QSize(16, 16));
        for (int i = 0; i < count; ++i) {
            const Thumb t = decoder.take(i, [] { return false; });
            QVERIFY2(t.status == FsStatus::Ok, qPrintable(paths[i]));
            QCOMPARE(t.image.size(), QSize(16, 8));
        }
    }
}

void TestThumbDecoder::notRegularFilesAreNotRead() {
    TestFolder dir;
    const QString pipe = dir.file("pipe.gif");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    dir.mkdir("folder.jpg");
    // A reader of the pipe would wait for a writer for ever.
    QCOMPARE(DecodeThumb(pipe, QSize(16, 16)).status, FsStatus::Other);
    QCOMPARE(DecodeThumb(dir.file("folder.jpg"), QSize(16, 16)).status, FsStatus::Other);
    QCOMPARE(DecodeThumb(dir.file("missing.jpg"), QSize(16, 16)).status, FsStatus::NotFound);
}

void TestThumbDecoder::pixelsOfTheScreen_data() {
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("carried");
    QTest::newRow("ratio 1") << QSize(400, 300) << 1.0 << QSize(64, 48) << 1.0;
    QTest::newRow("ratio 2") << QSize(400, 300) << 2.0 << QSize(128, 96) << 2.0;
    QTest::newRow("ratio 1.5") << QSize(400, 300) << 1.5 << QSize(96, 72) << 1.5;
    QTest::newRow("fewer pixels than the screen's")
        << QSize(100, 75) << 2.0 << QSize(128, 96) << 2.0;
    QTest::newRow("smaller than the box: its own pixels")
        << QSize(40, 30) << 2.0 << QSize(40, 30) << 1.0;
}

void TestThumbDecoder::pixelsOfTheScreen() {
    QFETCH(QSize, natural);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    QFETCH(qreal, carried);
    TestFolder dir;
    const QString path = WritePicture(dir.path(), "p.jpg", natural, "JPG");
    const Thumb t = DecodeThumb(path, QSize(64, 64), ratio);
    QCOMPARE(t.fit.box, QSize(64, 48));
    QCOMPARE(t.image.size(), pixels);
    QCOMPARE(t.image.devicePixelRatio(), carried);
}

QTEST_MAIN(TestThumbDecoder)
#include "tst_thumbdecoder.moc"
