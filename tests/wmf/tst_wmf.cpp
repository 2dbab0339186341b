// The metafile reader: finding the format by content, natural sizes, where
// shapes, text and bitmaps land, scaled drawing, the third-party files, and
// every kind of malformed input.
#include "tst_wmf.h"

void TestWmf::foundByContent_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isWmf");
    const WmfWriter drawn = redCanvas().rectangle(10, 10, 20, 20);
    QTest::newRow("placeable") << WmfWriter(drawn).placeable(0, 0, 100, 100, 96).bytes() << true;
    QTest::newRow("plain, memory type") << drawn.bytes() << true;
    QTest::newRow("plain, disk type") << WmfWriter(drawn).headerType(2).bytes() << true;
    QTest::newRow("plain, type 3") << WmfWriter(drawn).headerType(3).bytes() << false;
    QByteArray eightWords = drawn.bytes();
    eightWords[2] = 8;
    QTest::newRow("header size 8") << eightWords << false;
    QTest::newRow("text") << QByteArray("\x01\x00\x09 not really") << false;
}

void TestWmf::foundByContent() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isWmf);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.canRead() && reader.format() == "wmf", isWmf);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("picture.bmp", bytes)); // the name does not count
    QCOMPARE(p.status, isWmf ? FsStatus::Ok : FsStatus::InvalidPicture);
}

void TestWmf::naturalSize_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("expected");
    auto placeable = [](int right, int bottom, int inch) {
        return redCanvas().rectangle(0, 0, 10, 10).placeable(0, 0, right, bottom, inch).bytes();
    };
    QTest::newRow("1440 per inch") << placeable(2880, 1440, 1440) << QSize(192, 96);
    QTest::newRow("576 per inch") << placeable(576, 288, 576) << QSize(96, 48);
    QTest::newRow("1000 per inch") << placeable(1000, 500, 1000) << QSize(96, 48);
    QTest::newRow("2540 per inch") << placeable(2540, 1270, 2540) << QSize(96, 48);
    QTest::newRow("box off the origin")
        << redCanvas().rectangle(0, 0, 10, 10).placeable(-720, -360, 720, 360, 1440).bytes()
        << QSize(96, 48);
    QTest::newRow("too small: one pixel") << placeable(1, 1, 1440) << QSize(1, 1);
    QTest::newRow("too large: proportions kept")
        << placeable(32000, 16000, 72) << QSize(8192, 4096);
    QTest::newRow("window extent, scalable mode") << WmfWriter()
                                                         .mapMode(8)
                                                         .windowOrg(-50, 7)
                                                         .windowExt(300, 200)
                                                         .rectangle(0, 0, 9, 9)
                                                         .bytes()
                                                  << QSize(300, 200);
    QTest::newRow("window extent, text mode")
        << WmfWriter().windowOrg(0, 0).windowExt(120, 80).rectangle(0, 0, 9, 9).bytes()
        << QSize(120, 80);
    QTest::newRow("window extent in hundredths of a millimetre")
        << WmfWriter().mapMode(3).windowExt(2540, 1270).rectangle(0, 0, 9, 9).bytes()
        << QSize(96, 48);
    QTest::newRow("window extent in twips")
        << WmfWriter().mapMode(6).windowExt(1440, 720).rectangle(0, 0, 9, 9).bytes()
        << QSize(96, 48);
    QTest::newRow("viewport extent given") << WmfWriter()
                                                  .mapMode(8)
                                                  .windowExt(1000, 800)
                                                  .viewportExt(50, 40)
                                                  .rectangle(0, 0, 9, 9)
                                                  .bytes()
                                           << QSize(50, 40);
    QTest::newRow("no extent: the drawing's bounds")
        << WmfWriter().polygon({{10, 10}, {60, 10}, {60, 40}}).bytes() << QSize(50, 30);
}

void TestWmf::naturalSize() {
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, expected);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.size(), expected);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("a.wmf", bytes));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.naturalSize, expected);
    QCOMPARE(p.image.size(), expected);
}

void TestWmf::redPolygonLandsWhereExpected_data() {
    QTest::addColumn<bool>("placeable");
    QTest::addColumn<QSize>("box"); // invalid: natural size
    for (bool placeable : {false, true}) {
        const char* kind = placeable ? "placeable" : "plain";
        QTest::addRow("%s, natural size", kind) << placeable << QSize();
        QTest::addRow("%s, 50 x 50 box", kind) << placeable << QSize(50, 50);
        QTest::addRow("%s, 30 x 30 box", kind) << placeable << QSize(30, 30);
    }
}

void TestWmf::redPolygonLandsWhereExpected() {
    QFETCH(bool, placeable);
    QFETCH(QSize, box);
    WmfWriter w = redCanvas().polygon({{20, 20}, {60, 20}, {60, 60}, {20, 60}});
    if (placeable)
        w.placeable(0, 0, 1000, 1000, 960);
    TestFolder dir;
    const QString path = dir.write("red.wmf", w.bytes());
    const Picture p = box.isValid() ? LoadPicture(path, box) : LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.naturalSize, QSize(100, 100));
    const int side = box.isValid() ? box.width() : 100;
    QCOMPARE(p.image.size(), QSize(side, side));
    auto at = [&](double fx, double fy) { return QPoint(int(fx * side), int(fy * side)); };
    for (QPoint inside : {at(0.4, 0.4), at(0.22, 0.22), at(0.58, 0.58)})
        QVERIFY2(near(onWhite(p.image, inside.x(), inside.y()), kRed),
                 qPrintable(pixelText(p.image, inside)));
    for (QPoint outside : {at(0.1, 0.1), at(0.7, 0.7), at(0.4, 0.15), at(0.9, 0.4)})
        QVERIFY2(p.image.pixelColor(outside).alpha() == 0, qPrintable(pixelText(p.image, outside)));
}

void TestWmf::negativeExtentFlips_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QPoint>("redAt"); // centre of the 10..40 square as drawn
    auto square = [](WmfWriter w) {
        w.pen(5, 0, Qt::black).select(0).brush(0, kRed).select(1);
        return w.rectangle(10, 10, 40, 40).bytes();
    };
    QTest::newRow("no flip") << square(WmfWriter().mapMode(8).windowExt(100, 100))
                             << QPoint(25, 25);
    QTest::newRow("window extent, negative y")
        << square(WmfWriter().mapMode(8).windowOrg(0, 100).windowExt(100, -100)) << QPoint(25, 75);
    QTest::newRow("window extent, negative x")
        << square(WmfWriter().mapMode(8).windowOrg(100, 0).windowExt(-100, 100)) << QPoint(75, 25);
    QTest::newRow("viewport extent, negative y")
        << square(WmfWriter().mapMode(8).windowExt(100, 100).viewportOrg(0, 100).viewportExt(100,
                                                                                             -100))
        << QPoint(25, 75);
    QTest::newRow("viewport extent, negative x, origin left")
        << square(WmfWriter().mapMode(8).windowExt(100, 100).viewportExt(-100, 100))
        << QPoint(75, 25);
    QTest::newRow("placeable, window extent negative y")
        << square(WmfWriter().placeable(0, 0, 100, 100, 96).windowOrg(0, 100).windowExt(100, -100))
        << QPoint(25, 75);
}

void TestWmf::negativeExtentFlips() {
    QFETCH(QByteArray, bytes);
    QFETCH(QPoint, redAt);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("flip.wmf", bytes));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(100, 100));
    for (QPoint corner : {QPoint(25, 25), QPoint(75, 25), QPoint(25, 75), QPoint(75, 75)}) {
        const bool red = near(onWhite(p.image, corner.x(), corner.y()), kRed);
        QVERIFY2(red == (corner == redAt), qPrintable(pixelText(p.image, corner)));
    }
}

void TestWmf::pieIsAPie_data() {
    QTest::addColumn<quint16>("function");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("end");
    QTest::addColumn<QList<QPoint>>("red");
    QTest::addColumn<QList<QPoint>>("notRed");
    const QPoint three(100, 50), twelve(50, 0), nine(0, 50);
    const QPoint ne(72, 28), nw(28, 28), sw(28, 72), se(72, 72), corner(96, 4), centre(50, 50);
    QTest::newRow("pie, three to twelve o'clock")
        << quint16(0x081A) << three << twelve << QList<QPoint>{ne, QPoint(55, 45)}
        << QList<QPoint>{nw, sw, se, corner};
    QTest::newRow("pie, twelve to three o'clock")
        << quint16(0x081A) << twelve << three << QList<QPoint>{nw, sw, se}
        << QList<QPoint>{ne, corner};
    QTest::newRow("chord, three to nine o'clock: the upper half")
        << quint16(0x0830) << three << nine << QList<QPoint>{ne, nw, QPoint(50, 45)}
        << QList<QPoint>{sw, se, QPoint(50, 55)};
    QTest::newRow("pie, start and end together: the whole ellipse")
        << quint16(0x081A) << three << three << QList<QPoint>{ne, nw, sw, se, centre}
        << QList<QPoint>{corner};
}

void TestWmf::pieIsAPie() {
    QFETCH(quint16, function);
    QFETCH(QPoint, start);
    QFETCH(QPoint, end);
    QFETCH(QList<QPoint>, red);
    QFETCH(QList<QPoint>, notRed);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write(
        "pie.wmf", redCanvas().arcLike(function, QRect(0, 0, 100, 100), start, end).bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    for (QPoint at : red)
        QVERIFY2(near(onWhite(p.image, at.x(), at.y()), kRed), qPrintable(pixelText(p.image, at)));
    for (QPoint at : notRed)
        QVERIFY2(!near(onWhite(p.image, at.x(), at.y()), kRed), qPrintable(pixelText(p.image, at)));
}

void TestWmf::clipAndSavedContexts_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QPoint>>("red");
    QTest::addColumn<QList<QPoint>>("blue");
    QTest::addColumn<QList<QPoint>>("empty");
    // Objects: 0 null pen, 1 red brush, 2 blue brush.
    auto canvas = [] { return redCanvas().brush(0, kBlue); };
    QTest::newRow("intersect clip cuts the rectangle")
        << canvas().intersectClip(0, 0, 50, 100).rectangle(10, 10, 90, 90).bytes()
        << QList<QPoint>{{30, 50}} << QList<QPoint>{} << QList<QPoint>{{70, 50}};
    QTest::newRow("exclude clip leaves a hole")
        << canvas().excludeClip(40, 40, 60, 60).rectangle(10, 10, 90, 90).bytes()
        << QList<QPoint>{{20, 20}, {80, 80}} << QList<QPoint>{} << QList<QPoint>{{50, 50}};
    QTest::newRow("relative restore returns brush and clip")
        << canvas()
               .saveDc()
               .select(2)
               .intersectClip(0, 0, 50, 100)
               .restoreDc(-1)
               .rectangle(10, 10, 90, 90)
               .bytes()
        << QList<QPoint>{{30, 50}, {70, 50}} << QList<QPoint>{} << QList<QPoint>{};
    QTest::newRow("absolute restore to the first saved context")
        << canvas()
               .saveDc()
               .select(2)
               .saveDc()
               .intersectClip(0, 0, 50, 100)
               .restoreDc(1)
               .rectangle(10, 10, 90, 90)
               .bytes()
        << QList<QPoint>{{30, 50}, {70, 50}} << QList<QPoint>{} << QList<QPoint>{};
    QTest::newRow("restore of one level keeps the outer save")
        << canvas()
               .saveDc()
               .select(2)
               .saveDc()
               .intersectClip(0, 0, 50, 100)
               .restoreDc(-1)
               .rectangle(10, 10, 90, 90)
               .bytes()
        << QList<QPoint>{} << QList<QPoint>{{30, 50}, {70, 50}} << QList<QPoint>{};
    const QList<int> leftHalf{0, 6, 0, 0, 40, 1, 2, 0, 0, 50, 100, 2, 0, 100, 0, 50, 2};
    QTest::newRow("clip region selected")
        << canvas().record(0x06FF, leftHalf).record(0x012C, {3}).rectangle(10, 10, 90, 90).bytes()
        << QList<QPoint>{{30, 50}} << QList<QPoint>{} << QList<QPoint>{{70, 50}};
    QTest::newRow("selecting what is no region removes the clip")
        << canvas()
               .intersectClip(0, 0, 50, 100)
               .record(0x012C, {99})
               .rectangle(10, 10, 90, 90)
               .bytes()
        << QList<QPoint>{{30, 50}, {70, 50}} << QList<QPoint>{} << QList<QPoint>{};
    QTest::newRow("restore past what was saved does nothing")
        << canvas().select(2).restoreDc(-3).restoreDc(4).rectangle(10, 10, 90, 90).bytes()
        << QList<QPoint>{} << QList<QPoint>{{30, 50}} << QList<QPoint>{};
}

void TestWmf::clipAndSavedContexts() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QPoint>, red);
    QFETCH(QList<QPoint>, blue);
    QFETCH(QList<QPoint>, empty);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("clip.wmf", bytes));
    QCOMPARE(p.status, FsStatus::Ok);
    for (QPoint at : red)
        QVERIFY2(near(onWhite(p.image, at.x(), at.y()), kRed), qPrintable(pixelText(p.image, at)));
    for (QPoint at : blue)
        QVERIFY2(near(onWhite(p.image, at.x(), at.y()), kBlue), qPrintable(pixelText(p.image, at)));
    for (QPoint at : empty)
        QVERIFY2(p.image.pixelColor(at).alpha() == 0, qPrintable(pixelText(p.image, at)));
}

void TestWmf::fillModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("centreFilled");
    QTest::newRow("alternate") << 1 << false;
    QTest::newRow("winding") << 2 << true;
}

void TestWmf::fillModes() {
    // A five-pointed star drawn in one stroke: its centre is inside twice.
    QFETCH(int, mode);
    QFETCH(bool, centreFilled);
    QList<QPoint> star;
    for (int i = 0; i < 5; ++i) {
        const double a = (-90 + 144 * i) * M_PI / 180;
        star.append(QPoint(int(std::lround(50 + 45 * std::cos(a))),
                           int(std::lround(50 + 45 * std::sin(a)))));
    }
    TestFolder dir;
    const Picture p = LoadPicture(
        dir.write("star.wmf", redCanvas().record(0x0106, {mode}).polygon(star).bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY(near(onWhite(p.image, 50, 12), kRed)); // the top point
    QCOMPARE(near(onWhite(p.image, 50, 52), kRed), centreFilled);
}

void TestWmf::brushes() {
    // Left: a pattern of single red and blue pixels; middle: the same from an
    // old monochrome pattern in text (red) and background (blue) colours;
    // right: black horizontal hatching on an opaque yellow background.
    QByteArray pattern = Dib(2, 2, 8, 0, {qRgb(255, 0, 0), qRgb(0, 0, 255)},
                             QByteArray("\x00\x01\0\0\x01\x00\0\0", 8));
    QByteArray usage("\x05\x00\x00\x00", 4);
    QByteArray old("\x00\x00\x02\x00\x02\x00\x02\x00\x01\x01", 10);
    old += QByteArray(18, '\0') + QByteArray("\x40\x00\x80\x00", 4);
    TestFolder dir;
    const Picture p =
        LoadPicture(dir.write("brushes.wmf", redCanvas()
                                                 .raw(0x0142, usage + pattern)
                                                 .select(2)
                                                 .rectangle(0, 0, 33, 100)
                                                 .textColor(kRed)
                                                 .raw(0x0201, WmfWriter::colorRef(kBlue))
                                                 .raw(0x01F9, old)
                                                 .select(3)
                                                 .rectangle(33, 0, 66, 100)
                                                 .brush(2, Qt::black, 0)
                                                 .select(4)
                                                 .raw(0x0201, WmfWriter::colorRef(Qt::yellow))
                                                 .rectangle(66, 0, 100, 100)
                                                 .bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    for (const QRect& patterned : {QRect(5, 10, 20, 80), QRect(38, 10, 20, 80)}) {
        QVERIFY(countNear(p.image, patterned, kRed, 10) > 600);
        QVERIFY(countNear(p.image, patterned, kBlue, 10) > 600);
        const QPoint at = patterned.center();
        QVERIFY(!near(onWhite(p.image, at.x(), at.y()), onWhite(p.image, at.x() + 1, at.y()), 10));
    }
    const QRect hatched(71, 10, 20, 80);
    QVERIFY(countNear(p.image, hatched, Qt::yellow, 10) > 600);
    QVERIFY(countNear(p.image, hatched, Qt::black, 10) > 100);
}

void TestWmf::textAlignment_data() {
    // "I" at (100, 50) with a 40-unit font: where its ink lies around that point.
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("escapement");
    QTest::addColumn<QRect>("ink");
    QTest::addColumn<QRect>("noInk");
    QTest::newRow("left, top") << 0 << 0 << QRect(100, 50, 20, 40) << QRect(60, 0, 40, 100);
    QTest::newRow("right, top") << 2 << 0 << QRect(80, 50, 20, 40) << QRect(101, 0, 40, 100);
    QTest::newRow("centre, top") << 6 << 0 << QRect(95, 55, 10, 30) << QRect(110, 0, 40, 100);
    QTest::newRow("left, bottom") << 8 << 0 << QRect(100, 10, 20, 40) << QRect(60, 51, 80, 49);
    QTest::newRow("left, baseline") << 24 << 0 << QRect(100, 20, 20, 28) << QRect(60, 53, 80, 47);
    // Turned a quarter to the left the text runs upwards; its bottom, at the
    // point, is now its right side.
    QTest::newRow("turned a quarter, left, bottom")
        << 8 << 900 << QRect(60, 30, 40, 20) << QRect(60, 51, 80, 49);
}

void TestWmf::textAlignment() {
    QFETCH(int, align);
    QFETCH(int, escapement);
    QFETCH(QRect, ink);
    QFETCH(QRect, noInk);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("align.wmf", WmfWriter()
                                                             .mapMode(8)
                                                             .windowExt(200, 100)
                                                             .bkMode(1)
                                                             .font(-40, 0, "Arial", 700, escapement)
                                                             .select(0)
                                                             .textAlign(align)
                                                             .textOut(100, 50, "I")
                                                             .bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY(countNear(p.image, ink, Qt::black, 100) > 20);
    QCOMPARE(countNear(p.image, noInk, Qt::black, 100), 0);
}

void TestWmf::mixModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("twice"); // a red rectangle drawn twice over white
    QTest::newRow("copy pen") << 13 << kRed;
    QTest::newRow("xor pen: twice is nothing") << 7 << QColor(Qt::white);
    QTest::newRow("no operation") << 11 << QColor(Qt::white);
    QTest::newRow("black") << 1 << QColor(Qt::black);
    QTest::newRow("not: twice is nothing") << 6 << QColor(Qt::white);
    QTest::newRow("mask pen") << 9 << kRed;
}

void TestWmf::mixModes() {
    QFETCH(int, mode);
    QFETCH(QColor, twice);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write(
        "rop.wmf",
        redCanvas().rop2(mode).rectangle(10, 10, 90, 90).rectangle(10, 10, 90, 90).bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY2(near(onWhite(p.image, 50, 50), twice, 2), qPrintable(pixelText(p.image, {50, 50})));
}

void TestWmf::charsetsDecode_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("Shift-JIS kanji")
        << 128 << QByteArray("\x93\xfa\x96\x7b") << QStringList{"日", "本"};
    QTest::newRow("Shift-JIS half-width katakana and ASCII") << 128
                                                             << QByteArray("\xb1\xb2"
                                                                           "a")
                                                             << QStringList{"ｱ", "ｲ", "a"};
    QTest::newRow("Shift-JIS lead byte at the end")
        << 128 << QByteArray("\x82\xa0\x82") << QStringList{"あ", "\uFFFD"};
    QTest::newRow("GBK") << 134 << QByteArray("\xbb\xad\xcf\xf1") << QStringList{"画", "像"};
    QTest::newRow("Windows Latin") << 0 << QByteArray("\x80\xe9") << QStringList{"€", "é"};
    QTest::newRow("Windows Cyrillic") << 204 << QByteArray("\xcf\xf0") << QStringList{"П", "р"};
}

void TestWmf::charsetsDecode() {
    QFETCH(int, charset);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, pieces);
    QStringList got;
    int total = 0;
    for (const wmf::TextPiece& piece : wmf::DecodePieces(bytes, charset)) {
        got << piece.text;
        total += piece.bytes;
    }
    QCOMPARE(got, pieces);
    QCOMPARE(total, bytes.size());
}

void TestWmf::shiftJisTextDrawsJapaneseGlyphs() {
    // "日本" in Shift-JIS, font "ＭＳ ゴシック" (a face this machine lacks).
    const QByteArray face("\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
    auto file = [&](int charset) {
        return WmfWriter()
            .mapMode(8)
            .windowExt(200, 100)
            .bkMode(1)
            .textColor(Qt::black)
            .font(-60, charset, face)
            .select(0)
            .textAlign(0)
            .textOut(20, 20, "\x93\xfa\x96\x7b")
            .bytes();
    };
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("sjis.wmf", file(128)));
    QCOMPARE(p.status, FsStatus::Ok);

    // The same characters drawn straight with the Japanese font.
    QImage expected(200, 100, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPointSizeF(60 * 72.0 / expected.logicalDpiY());
        painter.setFont(font);
        painter.drawText(QPointF(20, 20 + QFontMetricsF(font, &expected).ascent()),
                         QStringLiteral("日本"));
    }
    const QRect area(0, 0, 200, 100);
    const int ink = countNear(p.image, area, Qt::black, 100);
    QVERIFY2(ink > 300, qPrintable(QString::number(ink)));
    QVERIFY2(meanDifference(p.image, expected) < 3,
             qPrintable(QString::number(meanDifference(p.image, expected))));
    // Read as Western text the same bytes are other glyphs.
    const Picture latin = LoadPicture(dir.write("latin.wmf", file(0)));
    QVERIFY(meanDifference(latin.image, expected) > meanDifference(p.image, expected) + 2);
}

void TestWmf::extTextOutSpacingAndClip() {
    // Two "I" with 80 units between them; the clip box keeps only the first.
    auto file = [](int options) {
        return WmfWriter()
            .mapMode(8)
            .windowExt(200, 100)
            .bkMode(1)
            .textColor(Qt::black)
            .font(-50, 0, "Arial")
            .select(0)
            .extTextOut(20, 20, options, QRect(0, 0, 60, 100), "II", {80, 80})
            .bytes();
    };
    TestFolder dir;
    const Picture spaced = LoadPicture(dir.write("spaced.wmf", file(0)));
    QCOMPARE(spaced.status, FsStatus::Ok);
    QVERIFY(countNear(spaced.image, QRect(15, 20, 30, 60), Qt::black, 100) > 20);
    QVERIFY(countNear(spaced.image, QRect(95, 20, 30, 60), Qt::black, 100) > 20);
    QCOMPARE(countNear(spaced.image, QRect(50, 20, 40, 60), Qt::black, 100), 0);
    const Picture clipped = LoadPicture(dir.write("clipped.wmf", file(0x0004)));
    QVERIFY(countNear(clipped.image, QRect(15, 20, 30, 60), Qt::black, 100) > 20);
    QCOMPARE(countNear(clipped.image, QRect(95, 20, 30, 60), Qt::black, 100), 0);
    const Picture opaque = LoadPicture(dir.write("opaque.wmf", file(0x0002)));
    QCOMPARE(opaque.image.pixelColor(50, 90), QColor(Qt::white)); // the box, in background colour
}

void TestWmf::embeddedBitmaps_data() {
    // Each bitmap is 4 x 2 pixels: the top row red, the bottom row blue.
    QTest::addColumn<QByteArray>("dib");
    const QList<QRgb> redBlue{qRgb(255, 0, 0), qRgb(0, 0, 255)};
    QTest::newRow("8 bits, run-length") << Dib(4, 2, 8, 1, redBlue, rle8TwoRows());
    QTest::newRow("4 bits, run-length")
        << Dib(4, 2, 4, 2, redBlue, QByteArray("\x04\x11\x00\x00\x04\x00\x00\x01", 8));
    QTest::newRow("8 bits") << Dib(4, 2, 8, 0, redBlue,
                                   QByteArray("\x01\x01\x01\x01\x00\x00\x00\x00", 8));
    QTest::newRow("8 bits, top-down")
        << Dib(4, -2, 8, 0, redBlue, QByteArray("\x00\x00\x00\x00\x01\x01\x01\x01", 8));
    QTest::newRow("1 bit") << Dib(4, 2, 1, 0, redBlue, QByteArray("\xf0\0\0\0\x00\0\0\0", 8));
    QTest::newRow("4 bits") << Dib(4, 2, 4, 0, redBlue, QByteArray("\x11\x11\0\0\x00\x00\0\0", 8));
    QByteArray rgb24 =
        QByteArray("\xff\x00\x00", 3).repeated(4) + QByteArray("\x00\x00\xff", 3).repeated(4);
    QTest::newRow("24 bits") << Dib(4, 2, 24, 0, {}, rgb24);
    QByteArray rgb32 = QByteArray("\xff\x00\x00\x00", 4).repeated(4) +
                       QByteArray("\x00\x00\xff\x00", 4).repeated(4);
    QTest::newRow("32 bits") << Dib(4, 2, 32, 0, {}, rgb32);
    // 16 bits with 5-6-5 masks given after the header.
    QByteArray masks("\x00\xf8\x00\x00\xe0\x07\x00\x00\x1f\x00\x00\x00", 12);
    QByteArray bits565 =
        QByteArray("\x1f\x00", 2).repeated(4) + QByteArray("\x00\xf8", 2).repeated(4);
    QByteArray fields = Dib(4, 2, 16, 3, {}, {});
    fields += masks + bits565;
    QTest::newRow("16 bits, bit fields") << fields;
}

void TestWmf::embeddedBitmaps() {
    QFETCH(QByteArray, dib);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write(
        "bitmap.wmf", redCanvas().stretchDib(QRect(0, 0, 100, 100), QSize(4, 2), dib).bytes()));
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY2(near(onWhite(p.image, 50, 20), kRed), qPrintable(pixelText(p.image, {50, 20})));
    QVERIFY2(near(onWhite(p.image, 50, 80), kBlue), qPrintable(pixelText(p.image, {50, 80})));
}

void TestWmf::bitmapRecords_data() {
    // Each record draws a 4 x 2 bitmap, top row red and bottom row blue,
    // onto the whole 4 x 2 unit picture (96 x 48 pixels).
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("upsideDown");
    const QByteArray dib = Dib(4, 2, 8, 1, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, rle8TwoRows());
    auto le16 = [](const QList<int>& words) {
        QByteArray b;
        for (int w : words) {
            b.append(char(w & 0xFF));
            b.append(char((w >> 8) & 0xFF));
        }
        return b;
    };
    const QByteArray srcCopy("\x20\x00\xCC\x00", 4);
    // The old device-dependent form: 24 bits, rows top-down.
    const QByteArray old24 = le16({0, 4, 2, 12}) + QByteArray("\x01\x18", 2) +
                             QByteArray("\x00\x00\xff", 3).repeated(4) +
                             QByteArray("\xff\x00\x00", 3).repeated(4);
    const QByteArray mono =
        le16({0, 4, 2, 2}) + QByteArray("\x01\x01", 2) + QByteArray("\x00\x00\xf0\x00", 4);
    auto file = [](const QByteArray& record, quint16 function) {
        WmfWriter w;
        w.placeable(0, 0, 4, 2, 4).textColor(kRed).raw(0x0201, WmfWriter::colorRef(kBlue));
        return w.raw(function, record).bytes();
    };
    QTest::newRow("STRETCHDIB") << WmfWriter()
                                       .placeable(0, 0, 4, 2, 4)
                                       .stretchDib(QRect(0, 0, 4, 2), QSize(4, 2), dib)
                                       .bytes()
                                << false;
    QTest::newRow("STRETCHDIB, negative target height")
        << WmfWriter()
               .placeable(0, 0, 4, 2, 4)
               .stretchDib(QRect(0, 2, 4, -2), QSize(4, 2), dib)
               .bytes()
        << true;
    QTest::newRow("DIBSTRETCHBLT")
        << file(srcCopy + le16({2, 4, 0, 0, 2, 4, 0, 0}) + dib, 0x0B41) << false;
    QTest::newRow("DIBBITBLT") << file(srcCopy + le16({0, 0, 2, 4, 0, 0}) + dib, 0x0940) << false;
    QTest::newRow("STRETCHBLT, old 24-bit bitmap")
        << file(srcCopy + le16({2, 4, 0, 0, 2, 4, 0, 0}) + old24, 0x0B23) << false;
    QTest::newRow("BITBLT, old monochrome bitmap in text and background colours")
        << file(srcCopy + le16({0, 0, 2, 4, 0, 0}) + mono, 0x0922) << false;
    QTest::newRow("STRETCHBLT carrying a device-independent bitmap")
        << file(srcCopy + le16({2, 4, 0, 0, 2, 4, 0, 0}) + dib, 0x0B23) << false;
    QTest::newRow("SETDIBTODEV") << file(le16({0, 2, 0, 0, 0, 2, 4, 0, 0}) + dib, 0x0D33) << false;
}

void TestWmf::bitmapRecords() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, upsideDown);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("blit.wmf", bytes));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(96, 48));
    const QColor top = upsideDown ? kBlue : kRed, bottom = upsideDown ? kRed : kBlue;
    QVERIFY2(near(onWhite(p.image, 48, 10), top), qPrintable(pixelText(p.image, {48, 10})));
    QVERIFY2(near(onWhite(p.image, 48, 38), bottom), qPrintable(pixelText(p.image, {48, 38})));
}

void TestWmf::indexesPastTheColourTable_data() {
    // Pixels whose index the colour table does not reach: Qt's drawing would
    // read past the table (the fuzz target's first finding), so they are black.
    QTest::addColumn<QByteArray>("dib");
    QTest::addColumn<QList<QColor>>("pixels");
    const QList<QRgb> two{qRgb(255, 0, 0), qRgb(0, 0, 255)};
    QTest::newRow("8 bits, index 200 of 2") << Dib(2, 1, 8, 0, two, QByteArray("\x01\xc8\0\0", 4))
                                            << QList<QColor>{kBlue, QColor(Qt::black)};
    QTest::newRow("8 bits run-length, index 255 of 2")
        << Dib(2, 1, 8, 1, two, QByteArray("\x01\x00\x01\xff\x00\x01", 6))
        << QList<QColor>{kRed, QColor(Qt::black)};
    QTest::newRow("1 bit, one colour given")
        << Dib(2, 1, 1, 0, {qRgb(0, 255, 0)}, QByteArray("\x40\0\0\0", 4))
        << QList<QColor>{QColor(Qt::green), QColor(Qt::black)};
}

void TestWmf::indexesPastTheColourTable() {
    QFETCH(QByteArray, dib);
    QFETCH(QList<QColor>, pixels);
    wmf::BitmapBudget budget(100, 100);
    const QImage image = wmf::DecodeDib(dib, false, {}, budget);
    QCOMPARE(image.size(), QSize(int(pixels.size()), 1));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    for (int x = 0; x < pixels.size(); ++x)
        QCOMPARE(image.pixelColor(x, 0), pixels[x]);
}

void TestWmf::thumbnailIsDrawnAtBoxSize() {
    // A 400 x 400 picture: a red disc with a 4-unit black outline.
    TestFolder dir;
    const QString path = dir.write("big.wmf", WmfWriter()
                                                  .mapMode(8)
                                                  .windowExt(400, 400)
                                                  .pen(0, 4, Qt::black)
                                                  .select(0)
                                                  .brush(0, kRed)
                                                  .select(1)
                                                  .ellipse(20, 20, 380, 380)
                                                  .bytes());
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QVERIFY(reader.supportsOption(QImageIOHandler::ScaledSize));
    const Picture p = LoadPicture(path, QSize(40, 40));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.naturalSize, QSize(400, 400));
    QCOMPARE(p.image.size(), QSize(40, 40));
    QVERIFY(near(onWhite(p.image, 20, 20), kRed));
    // Anti-aliased: the disc's edge has pixels between covered and empty.
    int partial = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 40; ++y) {
            const int a = p.image.pixelColor(x, y).alpha();
            partial += a > 10 && a < 245;
        }
    QVERIFY2(partial >= 8, qPrintable(QString::number(partial)));
}

void TestWmf::thirdPartyFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("shapes") << "shapes" << QSize(373, 273);
    QTest::newRow("text") << "text" << QSize(473, 172);
    QTest::newRow("bitmap") << "bitmap" << QSize(279, 219);
    QTest::newRow("curves") << "curves" << QSize(368, 368);
}

void TestWmf::thirdPartyFiles() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QString path = QFINDTESTDATA("fixtures/" + name + ".wmf");
    QVERIFY(!path.isEmpty());
    const Picture p = LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QVERIFY2(std::abs(p.naturalSize.width() - size.width()) <= 1 &&
                 std::abs(p.naturalSize.height() - size.height()) <= 1,
             qPrintable(
                 QStringLiteral("%1 x %2").arg(p.naturalSize.width()).arg(p.naturalSize.height())));
    const QString dump = qEnvironmentVariable("PIKSOR_WMF_RENDERS");
    if (!dump.isEmpty())
        p.image.save(QDir(dump).filePath(name + ".png"));
    if (name == "text") {
        // No reference: three lines, red, navy and green, one under the other.
        const int third = p.image.height() / 3, w = p.image.width();
        QVERIFY(countNear(p.image, QRect(0, 0, w, third), QColor(204, 0, 0), 70) > 200);
        QVERIFY(countNear(p.image, QRect(0, third, w, third), QColor(0, 0, 128), 70) > 200);
        QVERIFY(countNear(p.image, QRect(0, 2 * third, w, third), QColor(0, 128, 0), 70) > 200);
        return;
    }
    const QImage reference(QFINDTESTDATA("fixtures/" + name + ".reference.png"));
    QVERIFY(!reference.isNull());
    const double difference = drawnDifference(p.image, reference);
    QVERIFY2(difference < 12, qPrintable(QString::number(difference)));
    // A thumbnail of it looks the same.
    const Picture thumb = LoadPicture(path, QSize(96, 96));
    QCOMPARE(thumb.status, FsStatus::Ok);
    QVERIFY(std::max(thumb.image.width(), thumb.image.height()) <= 97);
    QVERIFY2(drawnDifference(thumb.image, reference) < 15,
             qPrintable(QString::number(drawnDifference(thumb.image, reference))));
}

QTEST_MAIN(TestWmf)
