// The arithmetic of thumbnail windows: picture names, fitting into boxes, the
// grid, the client area, scrolling and the click rules; the rules of the
// shared thumbnail cache.
#include "thumbs/CacheRules.h"
#include "thumbs/ThumbRules.h"

#include <QtTest>

using Flags = QList<bool>;
Q_DECLARE_METATYPE(BoxFit)

namespace {
Flags flagsOf(int n, const QList<int>& on) {
    Flags f(n, false);
    for (int i : on)
        f[i] = true;
    return f;
}
} // namespace

class TestThumbRules : public QObject {
    Q_OBJECT
private slots:
    void imageNames_data();
    void imageNames();
    void progressText();
    void fitBox_data();
    void fitBox();
    void grid_data();
    void grid();
    void canvasAndScroll();
    void clientLayout_data();
    void clientLayout();
    void clicks_data();
    void clicks();
    void cacheNames_data();
    void cacheNames();
    void cacheFolders();
    void cacheTags_data();
    void cacheTags();
    void thumbnailServes_data();
    void thumbnailServes();
};

void TestThumbRules::imageNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("image");
    QTest::newRow("upper") << "IMAGE.BMP"
                           << "BMP" << true;
    QTest::newRow("mixed") << "photo.Gif"
                           << "GIF" << true;
    QTest::newRow("Jpg") << "a.Jpg"
                         << "JPG" << true;
    QTest::newRow("jpeg") << "a.jpeg"
                          << "JPEG" << false;
    QTest::newRow("tif") << "b.tif"
                         << "TIF" << false;
    QTest::newRow("icon") << "x.ico"
                          << "ICO" << true;
    QTest::newRow("cursor") << "x.cur"
                            << "CUR" << true;
    QTest::newRow("metafile") << "x.wmf"
                              << "WMF" << true;
    QTest::newRow("last dot") << "a.jpg.txt"
                              << "TXT" << false;
    QTest::newRow("no dot") << "jpg"
                            << "" << false;
    QTest::newRow("dot last") << "photo."
                              << "" << false;
    QTest::newRow("hidden") << ".jpg"
                            << "JPG" << true;
}

void TestThumbRules::imageNames() {
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(bool, image);
    QCOMPARE(GetExtension(name), extension);
    QCOMPARE(IsImageName(name), image);
}

void TestThumbRules::progressText() {
    QCOMPARE(ProgressText(3, "photo.jpg"), QStringLiteral("3読込み中   photo.jpg"));
    QCOMPARE(ProgressText(0, "a b.bmp"), QStringLiteral("0読込み中   a b.bmp"));
    QCOMPARE(ProgressText(254, "z.gif"), QStringLiteral("254読込み中   z.gif"));
}

void TestThumbRules::fitBox_data() {
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("fitted");
    QTest::addColumn<bool>("scaled");
    QTest::newRow("wide") << QSize(1000, 500) << QSize(64, 64) << QSize(64, 32) << true;
    QTest::newRow("tall") << QSize(500, 1000) << QSize(64, 64) << QSize(32, 64) << true;
    QTest::newRow("small icon") << QSize(16, 16) << QSize(64, 64) << QSize(64, 64) << false;
    QTest::newRow("small wide") << QSize(32, 16) << QSize(64, 64) << QSize(64, 32) << false;
    QTest::newRow("wider lower") << QSize(100, 40) << QSize(64, 64) << QSize(64, 26) << true;
    QTest::newRow("same ratio") << QSize(128, 128) << QSize(64, 64) << QSize(64, 64) << true;
    QTest::newRow("exact size") << QSize(64, 64) << QSize(64, 64) << QSize(64, 64) << true;
    QTest::newRow("photo in E") << QSize(4000, 3000) << QSize(387, 387) << QSize(387, 290) << true;
    QTest::newRow("wide box") << QSize(300, 300) << QSize(128, 32) << QSize(32, 32) << true;
    QTest::newRow("hair line") << QSize(10000, 1) << QSize(64, 64) << QSize(64, 1) << true;
}

void TestThumbRules::fitBox() {
    QFETCH(QSize, natural);
    QFETCH(QSize, box);
    QFETCH(QSize, fitted);
    QFETCH(bool, scaled);
    const BoxFit fit = FitBox(natural, box);
    QCOMPARE(fit.box, fitted);
    QCOMPARE(fit.scaled, scaled);
}

void TestThumbRules::grid_data() {
    QTest::addColumn<int>("canvasWidth");
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("400 px, sixth") << 400 << 64 << 5 << 4 << QPoint(96, 113);
    QTest::newRow("400 px, first") << 400 << 64 << 0 << 4 << QPoint(16, 16);
    QTest::newRow("400 px, fourth") << 400 << 64 << 3 << 4 << QPoint(256, 16);
    QTest::newRow("narrow") << 90 << 64 << 2 << 1 << QPoint(16, 16 + 2 * 97);
    QTest::newRow("none wide") << 0 << 64 << 1 << 1 << QPoint(16, 113);
    QTest::newRow("exactly two") << 176 << 64 << 3 << 2 << QPoint(96, 113);
    QTest::newRow("deep 256") << 300 << 256 << 200 << 1 << QPoint(16, 200 * 289 + 16);
}

void TestThumbRules::grid() {
    QFETCH(int, canvasWidth);
    QFETCH(int, box);
    QFETCH(int, cell);
    QFETCH(int, columns);
    QFETCH(QPoint, at);
    QCOMPARE(GridColumns(canvasWidth, box), columns);
    QCOMPARE(CellPosition(cell, columns, QSize(box, box), 17), at);
}

void TestThumbRules::canvasAndScroll() {
    // The label of the sixth thumbnail of the 400-pixel example is at 177.
    QCOMPARE(CanvasHeight(64, 113, 17), 113 + 64 + 17 + 17);
    QCOMPARE(ScrollMaximum(211, 300), 0);
    QCOMPARE(ScrollMaximum(300, 300), 0);
    // Far beyond 16 bits: 255 rows of 256-pixel boxes.
    const int tall = CanvasHeight(256, 254 * 289 + 16, 17);
    QCOMPARE(ScrollMaximum(tall, 200), tall - 200);
    QVERIFY(tall > 32767);
}

void TestThumbRules::clientLayout_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("viewport");
    QTest::addColumn<QRect>("scrollBar");
    QTest::addColumn<QRect>("pathBox");
    QTest::newRow("design") << QSize(347, 242) << QRect(0, 0, 330, 219) << QRect(331, 0, 16, 219)
                            << QRect(0, 220, 347, 22);
    QTest::newRow("too low") << QSize(200, 10) << QRect(0, 0, 183, 1) << QRect(184, 0, 16, 1)
                             << QRect(0, 2, 200, 22);
}

void TestThumbRules::clientLayout() {
    QFETCH(QSize, client);
    QFETCH(QRect, viewport);
    QFETCH(QRect, scrollBar);
    QFETCH(QRect, pathBox);
    const PreviewLayout g = LayoutClient(client, 16, 22);
    QCOMPARE(g.viewport, viewport);
    QCOMPARE(g.scrollBar, scrollBar);
    QCOMPARE(g.pathBox, pathBox);
}

void TestThumbRules::clicks_data() {
    QTest::addColumn<Flags>("before");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("shift");
    QTest::addColumn<Flags>("after");
    QTest::newRow("shift: 2 selected, click 6")
        << flagsOf(10, {2}) << 6 << 1 << flagsOf(10, {2, 3, 4, 5, 6});
    QTest::newRow("shift: 1 and 9, click 5, later wins")
        << flagsOf(10, {1, 9}) << 5 << 1 << flagsOf(10, {1, 5, 6, 7, 8, 9});
    QTest::newRow("shift: nothing selected") << flagsOf(10, {}) << 4 << 1 << flagsOf(10, {4});
    QTest::newRow("shift: nearer before")
        << flagsOf(10, {3, 9}) << 5 << 1 << flagsOf(10, {3, 4, 5, 9});
    QTest::newRow("shift: at the end") << flagsOf(10, {7}) << 9 << 1 << flagsOf(10, {7, 8, 9});
    QTest::newRow("shift: single entry") << flagsOf(1, {}) << 0 << 1 << flagsOf(1, {0});
    QTest::newRow("ctrl: deselect") << flagsOf(5, {1, 3}) << 3 << 2 << flagsOf(5, {1});
    QTest::newRow("ctrl: add") << flagsOf(5, {1}) << 4 << 2 << flagsOf(5, {1, 4});
    QTest::newRow("plain: one of three others")
        << flagsOf(6, {0, 2, 5}) << 3 << 0 << flagsOf(6, {3});
    QTest::newRow("plain: the only one") << flagsOf(6, {3}) << 3 << 0 << flagsOf(6, {});
    QTest::newRow("plain: one of two selected") << flagsOf(6, {3, 4}) << 3 << 0 << flagsOf(6, {});
    QTest::newRow("shift+ctrl: nothing") << flagsOf(5, {1}) << 3 << 3 << flagsOf(5, {1});
    QTest::newRow("alt: nothing") << flagsOf(5, {1}) << 3 << 4 << flagsOf(5, {1});
}

void TestThumbRules::clicks() {
    QFETCH(Flags, before);
    QFETCH(int, k);
    QFETCH(int, shift);
    QFETCH(Flags, after);
    Flags flags = before;
    ApplyClick(flags, k, shift);
    QCOMPARE(flags, after);
}

void TestThumbRules::cacheNames_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("uri");
    // The example of the thumbnail standard, with its MD5.
    QTest::newRow("standard") << "/home/jens/photos/me.png"
                              << QByteArray("file:///home/jens/photos/me.png");
    QTest::newRow("spaces") << "/tmp/my photos/a b.jpg"
                            << QByteArray("file:///tmp/my%20photos/a%20b.jpg");
    QTest::newRow("Japanese") << "/写真/猫.JPG"
                              << QByteArray("file:///%E5%86%99%E7%9C%9F/%E7%8C%AB.JPG");
    QTest::newRow("escaped") << "/a/100%#?;\"<>[]^`{|}.bmp"
                             << QByteArray(
                                    "file:///a/100%25%23%3F%3B%22%3C%3E%5B%5D%5E%60%7B%7C%7D.bmp");
    QTest::newRow("kept") << "/a/x-_.!~*'()&=+$,:@.gif"
                          << QByteArray("file:///a/x-_.!~*'()&=+$,:@.gif");
}

void TestThumbRules::cacheNames() {
    QFETCH(QString, path);
    QFETCH(QByteArray, uri);
    QCOMPARE(FileUri(path), uri);
    if (QByteArray(QTest::currentDataTag()) == "standard")
        QCOMPARE(CacheFileName(uri), QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
}

void TestThumbRules::cacheFolders() {
    // The smallest folder whose square holds the box's device pixels.
    QCOMPARE(CacheSizeFor(QSize(128, 96)).folder, QStringLiteral("normal"));
    QCOMPARE(CacheSizeFor(QSize(10, 129)).folder, QStringLiteral("large"));
    QCOMPARE(CacheSizeFor(QSize(774, 774)).pixels, 1024);
    QCOMPARE(CacheSizeFor(QSize(1025, 10)).pixels, 0);
    // A relative XDG_CACHE_HOME counts as unset.
    QCOMPARE(ThumbnailCacheRoot("/x/cache", "/home/u"), QStringLiteral("/x/cache/thumbnails"));
    QCOMPARE(ThumbnailCacheRoot("rel/cache", "/home/u"),
             QStringLiteral("/home/u/.cache/thumbnails"));
}

void TestThumbRules::cacheTags_data() {
    QTest::addColumn<QByteArray>("uri");
    QTest::addColumn<QByteArray>("mtime");
    QTest::addColumn<QByteArray>("size"); // "" = no Thumb::Size
    QTest::addColumn<bool>("holds");
    const QByteArray u = "file:///p/a.jpg";
    QTest::newRow("the file") << u << QByteArray("1700000000") << QByteArray("5000") << true;
    QTest::newRow("no size tag") << u << QByteArray("1700000000") << QByteArray() << true;
    QTest::newRow("another size") << u << QByteArray("1700000000") << QByteArray("5001") << false;
    QTest::newRow("not a number") << u << QByteArray("1700000000.0") << QByteArray("5000") << false;
    QTest::newRow("no time") << u << QByteArray() << QByteArray("5000") << false;
}

void TestThumbRules::cacheTags() {
    QFETCH(QByteArray, uri);
    QFETCH(QByteArray, mtime);
    QFETCH(QByteArray, size);
    QFETCH(bool, holds);
    PngTags tags{{"Thumb::URI", uri}};
    if (!mtime.isEmpty())
        tags.insert("Thumb::MTime", mtime);
    if (!size.isEmpty())
        tags.insert("Thumb::Size", size);
    QCOMPARE(TagsHold(tags, {"file:///p/a.jpg", 1700000000, 5000}), holds);
    const PngTags picture{{"Thumb::Image::Width", "40"}, {"Thumb::Image::Height", "30"}};
    QCOMPARE(TaggedNaturalSize(picture, QSize(4, 3)), QSize(40, 30));
    QCOMPARE(TaggedNaturalSize(picture, QSize(3, 4)), QSize()); // turned on its side
}

void TestThumbRules::thumbnailServes_data() {
    // Into a 64-pixel box from the 128-pixel folder.
    QTest::addColumn<QSize>("thumb");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("serves");
    const QSize photo(4000, 3000);
    QTest::newRow("photo at ratio 2") << QSize(128, 96) << photo << 2.0 << true;
    QTest::newRow("too few pixels at ratio 2") << QSize(100, 75) << photo << 2.0 << false;
    QTest::newRow("the picture itself at ratio 2")
        << QSize(100, 75) << QSize(100, 75) << 2.0 << true;
    QTest::newRow("rounded down") << QSize(128, 95) << QSize(4000, 2980) << 1.0 << true;
    QTest::newRow("distorted") << QSize(128, 64) << photo << 1.0 << false;
    QTest::newRow("over the folder") << QSize(200, 150) << photo << 1.0 << false;
    QTest::newRow("small picture itself") << QSize(50, 30) << QSize(50, 30) << 1.0 << true;
    QTest::newRow("small picture enlarged") << QSize(128, 77) << QSize(50, 30) << 1.0 << false;
    QTest::newRow("tall read as wide") << QSize(128, 96) << QSize(3000, 4000) << 1.0 << false;
}

void TestThumbRules::thumbnailServes() {
    QFETCH(QSize, thumb);
    QFETCH(QSize, natural);
    QFETCH(qreal, ratio);
    QFETCH(bool, serves);
    QCOMPARE(ThumbnailServes(thumb, natural, 128, QSize(64, 64), ratio), serves);
}

QTEST_APPLESS_MAIN(TestThumbRules)
#include "tst_thumbrules.moc"
