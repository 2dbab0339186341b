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

QTEST_MAIN(TestThumbDecoder)
#include "tst_thumbdecoder.moc"
