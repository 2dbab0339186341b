// Malformed metafiles: each is read as far as it is sound, or refused, and
// never crashes, hangs or allocates without bound.
#include "tst_wmf.h"

void TestWmf::badInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FsStatus>("expected");
    QTest::addColumn<bool>("redShown"); // whether the red square at 20..60 is drawn

    const QByteArray square = redCanvas().rectangle(20, 20, 60, 60).bytes(false);
    auto after = [&](const QByteArray& more) { return square + more; };
    auto rec = [](quint32 words, quint16 function, const QByteArray& params = {}) {
        WmfWriter w;
        w.sized(words, function, params);
        return w.bytes(false).mid(18);
    };
    const QByteArray header = WmfWriter().bytes(false);

    QTest::newRow("nothing after the header") << header << FsStatus::InvalidPicture << false;
    QTest::newRow("only an end record") << WmfWriter().bytes() << FsStatus::InvalidPicture << false;
    QTest::newRow("header cut short") << header.left(12) << FsStatus::InvalidPicture << false;
    QTest::newRow("placeable header alone")
        << WmfWriter().placeable(0, 0, 100, 100, 96).bytes().left(22) << FsStatus::InvalidPicture
        << false;
    QTest::newRow("first record of size 0")
        << header + rec(0, 0x0324, QByteArray(8, '\x10')) << FsStatus::InvalidPicture << false;
    QTest::newRow("record of size 0 ends the list")
        << after(rec(0, 0x041B) + WmfWriter().rectangle(0, 0, 100, 100).bytes().mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("record size past the end")
        << after(rec(100000, 0x041B, QByteArray(8, 0))) << FsStatus::Ok << true;
    QTest::newRow("record size of 2^31 words")
        << after(rec(0x80000000u, 0x0324)) << FsStatus::Ok << true;
    QTest::newRow("record cut in its header")
        << after(QByteArray("\x05\x00\x00", 3)) << FsStatus::Ok << true;
    QTest::newRow("object indexes past the table") << after(WmfWriter()
                                                                .select(999)
                                                                .remove(65535)
                                                                .select(65535)
                                                                .record(0x012C, {4000})
                                                                .bytes(false)
                                                                .mid(18))
                                                   << FsStatus::Ok << true;
    QTest::newRow("window extent 0 is refused")
        << redCanvas().windowExt(0, 0).windowExt(0, 50).rectangle(20, 20, 60, 60).bytes()
        << FsStatus::Ok << true;
    QTest::newRow("only a window extent of 0, no drawing")
        << WmfWriter().mapMode(8).windowExt(0, 0).bytes() << FsStatus::InvalidPicture << false;
    QTest::newRow("scale of window extent by 0") << after(WmfWriter()
                                                              .record(0x0410, {0, 1, 0, 1})
                                                              .record(0x0412, {1, 0, 1, 0})
                                                              .bytes(false)
                                                              .mid(18))
                                                 << FsStatus::Ok << true;
    QTest::newRow("huge coordinates")
        << after(WmfWriter()
                     .mapMode(8)
                     .windowExt(1, 1)
                     .viewportExt(32767, 32767)
                     .polygon({{-32768, -32768}, {32767, -32768}, {32767, 32767}})
                     .ellipse(-32768, -32768, 32767, 32767)
                     .record(0x0213, {32767, -32768})
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("point count past the end") << after(WmfWriter()
                                                           .record(0x0324, {30000, 1, 1, 5, 5})
                                                           .record(0x0325, {65535, 0, 0})
                                                           .bytes(false)
                                                           .mid(18))
                                              << FsStatus::Ok << true;
    QTest::newRow("polygon counts past the end")
        << after(WmfWriter()
                     .record(0x0538, {3, 65535, 65535, 65535, 0, 0})
                     .record(0x0538, {65535})
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("string length past the end")
        << after(WmfWriter()
                     .record(0x0521, {60000, 0x4141})
                     .record(0x0A32, {10, 10, 32767, 6, 0, 0})
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("bitmap larger than its data")
        << after(WmfWriter()
                     .stretchDib(QRect(0, 0, 100, 100), QSize(60000, 60000),
                                 Dib(60000, 60000, 8, 0, {}, QByteArray(64, 1)))
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("run-length bitmap beyond the pixel cap")
        << after(WmfWriter()
                     .stretchDib(QRect(0, 0, 100, 100), QSize(60000, 60000),
                                 Dib(60000, 60000, 8, 1, {}, QByteArray("\x00\x01", 2)))
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("bitmap colour table past the end")
        << after(WmfWriter()
                     .stretchDib(QRect(0, 0, 100, 100), QSize(2, 2),
                                 Dib(2, 2, 8, 0, {}, {}).replace(32, 4, "\xff\xff\x00\x00"))
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("palette size past the end")
        << after(WmfWriter().record(0x00F7, {0x300, 65535, 0, 0}).bytes(false).mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("region scans past the end")
        << after(WmfWriter()
                     .record(0x06FF, {0, 6, 0, 0, 0, 5000, 0, 0, 0, 10, 10, 2, 0, 10})
                     .record(0x012C, {3})
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("huge font") << after(WmfWriter()
                                            .mapMode(8)
                                            .windowExt(1, 1)
                                            .viewportExt(100, 100)
                                            .font(-32768, 0, "Arial")
                                            .select(3)
                                            .textOut(0, 0, "AB")
                                            .bytes(false)
                                            .mid(18))
                               << FsStatus::Ok << true;
    QTest::newRow("fonts stretched far beyond their height")
        << after(WmfWriter()
                     .record(0x02FB, {38, 1793, 0, 0, 400, 0, 0, 0, 0})
                     .select(3)
                     .textOut(5, 50, "Stretched text")
                     .record(0x02FB, {-60, 32767, 0, 0, 400, 0, 0, 0, 0})
                     .select(4)
                     .textOut(5, 80, "WW")
                     .record(0x02FB, {-90, 1, 0, 0, 400, 0, 0, 0, 0})
                     .select(5)
                     .textOut(5, 90, "WW")
                     .bytes(false)
                     .mid(18))
        << FsStatus::Ok << true;
    QTest::newRow("every record type with no parameters") << [&] {
        QByteArray b = square;
        for (int f = 0; f < 0x1000; ++f)
            if ((f & 0xFF) != 0)
                b += rec(3, quint16(f));
        return b;
    }() << FsStatus::Ok << true;
    QTest::newRow("placeable box of zero size, no window")
        << WmfWriter().placeable(0, 0, 0, 0, 1440).bytes() << FsStatus::InvalidPicture << false;
    QTest::newRow("placeable units per inch 0, window extent given")
        << WmfWriter(redCanvas()).rectangle(20, 20, 60, 60).placeable(0, 0, 100, 100, 0).bytes()
        << FsStatus::Ok << true;
}

void TestWmf::badInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(FsStatus, expected);
    QFETCH(bool, redShown);
    TestFolder dir;
    const QString path = dir.write("bad.wmf", bytes);
    for (const Picture& p : {LoadPicture(path), LoadPicture(path, QSize(50, 50))}) {
        QCOMPARE(p.status, expected);
        if (expected != FsStatus::Ok)
            continue;
        QCOMPARE(p.image.isNull(), false);
        const QPoint centre(p.image.width() * 2 / 5, p.image.height() * 2 / 5);
        if (p.naturalSize == QSize(100, 100))
            QCOMPARE(near(onWhite(p.image, centre.x(), centre.y()), kRed), redShown);
    }
}

void TestWmf::recordCap() {
    WmfWriter w = redCanvas();
    for (int i = 0; i < 100; ++i)
        w.rectangle(i, 0, i + 1, 1);
    wmf::Limits limits;
    limits.maxRecords = 10;
    const auto file = wmf::ParseWmf(w.bytes(), limits);
    QVERIFY(file);
    QCOMPARE(file->records.size(), 10);
}

void TestWmf::renderTimeCap() {
    WmfWriter w = WmfWriter().mapMode(8).windowExt(1000, 1000).pen(0, 40, Qt::black).select(0);
    for (int i = 0; i < 20000; ++i)
        w.ellipse(i % 50, i % 70, 1000 - i % 30, 1000 - i % 40);
    const auto file = wmf::ParseWmf(w.bytes());
    QVERIFY(file);
    const auto frame = wmf::ComputeFrame(*file);
    QVERIFY(frame);
    wmf::Limits limits;
    limits.maxRenderMilliseconds = 100;
    QImage image(1000, 1000, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    wmf::Player player(*file, *frame, painter, image.size(), limits);
    QElapsedTimer clock;
    clock.start();
    player.play();
    QVERIFY2(player.played() < file->records.size(), qPrintable(QString::number(player.played())));
    QVERIFY(clock.elapsed() < 3000);
}

void TestWmf::farShapesDrawQuickly_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");
    // The picture's frame comes from the 100 x 100 window; after it one
    // logical unit is half the picture's width and its whole height, so these
    // shapes reach three million pixels below it. Their edges stay within
    // the picture's columns, where the rasterizer walks every row.
    const WmfWriter page = redCanvas().rectangle(0, 0, 1, 1).windowExt(2, 1);
    const QList<QPoint> tall = {{0, 0}, {2, 0}, {1, 3000}};
    QTest::newRow("filled, no outline")
        << WmfWriter(page).polygon(tall).bytes() << QPoint(50, 50) << kRed;
    QTest::newRow("filled, wide outline")
        << WmfWriter(page).pen(0, 1, Qt::black).select(2).polygon(tall).bytes() << QPoint(50, 75)
        << kRed;
    QTest::newRow("wide open line")
        << WmfWriter(page).pen(0, 1, Qt::black).select(2).polyline({{1, 0}, {2, 3000}}).bytes()
        << QPoint(50, 75) << QColor(Qt::black);
}

void TestWmf::farShapesDrawQuickly() {
    // The anti-aliased rasterizer pays for a shape's whole extent once for
    // every band of the image's rows: drawn at 1000 x 1000 these took seconds
    // each.
    QFETCH(QByteArray, bytes);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    const auto file = wmf::ParseWmf(bytes);
    QVERIFY(file);
    const auto frame = wmf::ComputeFrame(*file);
    QVERIFY(frame);
    QCOMPARE(frame->natural, QSize(100, 100));
    QElapsedTimer clock;
    clock.start();
    const QImage image = wmf::RenderWmf(*file, *frame, QSize(1000, 1000));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    at *= 10;
    QVERIFY2(near(onWhite(image, at.x(), at.y()), colour), qPrintable(pixelText(image, at)));
}

void TestWmf::savedContextCap() {
    // Far more saves than kept: the restores still return to the right state.
    WmfWriter w = redCanvas().brush(0, kBlue); // 2: blue
    w.saveDc().select(2);
    for (int i = 0; i < 5000; ++i)
        w.saveDc();
    for (int i = 0; i < 5000; ++i)
        w.restoreDc(-1);
    w.rectangle(10, 10, 40, 40).restoreDc(-1).rectangle(60, 60, 90, 90);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("saves.wmf", w.bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY(near(onWhite(p.image, 25, 25), kBlue));
    QVERIFY(near(onWhite(p.image, 75, 75), kRed));
}

void TestWmf::fuzzFindings_data() {
    QTest::addColumn<QString>("path");
    const QString folder = QFINDTESTDATA("crashes");
    QVERIFY(!folder.isEmpty());
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.wmf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no fuzz findings kept");
    for (const QFileInfo& f : files)
        QTest::newRow(qPrintable(f.fileName())) << f.absoluteFilePath();
}

void TestWmf::fuzzFindings() {
    // Inputs that once crashed or hung the reader: each is read to an end.
    QFETCH(QString, path);
    QElapsedTimer clock;
    clock.start();
    for (const Picture& p : {LoadPicture(path), LoadPicture(path, QSize(64, 64))})
        QVERIFY(p.status == FsStatus::Ok || p.status == FsStatus::InvalidPicture);
    QVERIFY(clock.elapsed() < 15000);
}
