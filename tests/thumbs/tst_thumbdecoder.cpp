// Decoding ahead on worker threads: every picture of a long list arrives,
// in listing order, whatever the workers do meanwhile; the shared thumbnail
// cache read before decoding and written after, whatever state it is in, and
// the entries of a file that is gone forgotten.
#include "ImageFiles.h"
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "thumbs/CacheFiles.h"
#include "thumbs/PngText.h"
#include "thumbs/ThumbCache.h"
#include "thumbs/ThumbDecoder.h"

#include <QDir>
#include <QDirIterator>
#include <QImageWriter>
#include <QtTest>
#include <sys/stat.h>

namespace {
// What the cache holds for a file, as a reader of every kind of PNG text
// sees it; nothing for a link.
PngTags cachedTags(const QString& path) {
    PngTags tags;
    const QImage img = QFileInfo(path).isSymLink() ? QImage() : QImage(path, "png");
    for (const QString& key : img.textKeys())
        tags.insert(key.toLatin1(), img.text(key).toLatin1());
    return tags;
}

// The files below a folder, by their paths relative to it.
QStringList filesUnder(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(folder).relativeFilePath(it.next()));
    out.sort();
    return out;
}

FileStamp stampOf(const QString& path) {
    const QFileInfo info(path);
    return {FileUri(path), info.lastModified().toSecsSinceEpoch(), info.size()};
}

// A picture's thumbnail through the cache for a 64-pixel box; whether the
// cache was told something afterwards.
Thumb throughCache(const QString& path, qreal ratio = 1, bool* told = nullptr,
                   bool standIns = false) {
    ThumbCache cache(QSize(64, 64), ratio);
    std::function<void()> afterwards;
    const Thumb t = CachedThumb(path, QSize(64, 64), ratio, cache, &afterwards, standIns);
    if (told)
        *told = bool(afterwards);
    if (afterwards)
        afterwards();
    return t;
}
} // namespace

class TestThumbDecoder : public QObject {
    Q_OBJECT
private slots:
    void everyPictureArrives_data();
    void everyPictureArrives();
    void notRegularFilesAreNotRead();
    void standIns_data();
    void standIns();
    void cacheEntries_data();
    void cacheEntries();
    void cacheFolders_data();
    void cacheFolders();
    void pixelsOfTheScreen_data();
    void pixelsOfTheScreen();
    void colourTypes_data();
    void colourTypes();
    void blockedEntrySkipped();
    void forgetting_data();
    void forgetting();
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

void TestThumbDecoder::standIns_data() {
    QTest::addColumn<QSize>("size");  // of the photograph, red, with a blue preview
    QTest::addColumn<bool>("cached"); // its real thumbnail in the cache already
    QTest::addColumn<bool>("standIn");
    QTest::newRow("the preview stands in") << QSize(400, 300) << false << true;
    QTest::newRow("the cache first") << QSize(400, 300) << true << false;
    QTest::newRow("no larger than the box") << QSize(60, 45) << false << false;
    // (Turned, trimmed and refused previews: the picture tests.)
}

void TestThumbDecoder::standIns() {
    QFETCH(QSize, size);
    QFETCH(bool, cached);
    QFETCH(bool, standIn);
    TestFolder dir;
    QImage blue(size.width() > 160 ? QSize(160, 120) : QSize(40, 30), QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QString path = Backdate(WriteCameraPicture(dir.path(), "p.jpg", size, Qt::red, blue));
    if (cached)
        throughCache(path);
    bool told = false;
    const Thumb t = throughCache(path, 1, &told, true);
    QCOMPARE(t.standIn, standIn);
    QCOMPARE(t.fit.box, QSize(64, 48));
    QVERIFY(Near(t.image.pixelColor(t.image.width() / 2, 1), standIn ? Qt::blue : Qt::red));
    // Only the picture itself is written to the cache.
    QCOMPARE(told, !cached && !standIn);
    QCOMPARE(QFile::exists(ThumbnailCache() + "/normal/" + CacheFileName(FileUri(path))), !standIn);
}

void TestThumbDecoder::cacheEntries_data() {
    QTest::addColumn<QString>("cached"); // what the cache holds for the photograph
    QTest::addColumn<bool>("written");   // a thumbnail of the file afterwards
    QTest::addColumn<QString>("shown");  // "cached", "decoded", or "none" (no picture)
    QTest::newRow("nothing") << "nothing" << true << "decoded";
    QTest::newRow("its thumbnail") << "valid" << true << "cached";
    QTest::newRow("from another program") << "foreign" << true << "cached";
    QTest::newRow("file changed since") << "newer" << true << "decoded";
    QTest::newRow("another file's") << "uri" << true << "decoded";
    QTest::newRow("empty") << "empty" << true << "decoded";
    QTest::newRow("truncated") << "truncated" << true << "decoded";
    QTest::newRow("corrupt pixels") << "corrupt" << true << "decoded";
    QTest::newRow("claims 60000 x 60000") << "enormous" << true << "decoded";
    QTest::newRow("fewer pixels than the box") << "small" << true << "decoded";
    QTest::newRow("link to elsewhere") << "link" << true << "decoded";
    QTest::newRow("a pipe") << "pipe" << true << "decoded";
    QTest::newRow("recorded as no picture") << "failed" << false << "none";
    QTest::newRow("stale failure record") << "stale failure" << true << "decoded";
    QTest::newRow("no picture") << "garbage" << false << "none";
    QTest::newRow("changed a moment ago") << "new" << false << "decoded";
}

void TestThumbDecoder::cacheEntries() {
    QFETCH(QString, cached);
    QFETCH(bool, written);
    QFETCH(QString, shown);
    TestFolder dir;
    const QString photo =
        WritePicture(dir.file("pics"), "photo one.jpg", QSize(400, 300), "JPG", Qt::red);
    if (cached == "garbage")
        dir.write("pics/photo one.jpg", "not a picture at all");
    if (cached != "new")
        Backdate(photo);
    const FileStamp file = stampOf(photo);
    const QString name = CacheFileName(file.uri);
    const QString normal = dir.mkdir("cache/thumbnails/normal");
    const QString thumb = normal + "/" + name;
    auto blue = [](FileStamp f, QSize size = QSize(128, 96)) {
        return ThumbnailPng(size, Qt::blue, TagsToWrite(f, QSize(400, 300)));
    };
    // Whole chunks, but the pixel data damaged.
    auto corrupt = [](QByteArray png) { return png.replace(png.indexOf("IDAT") + 6, 4, "xxxx"); };
    const QMap<QString, QByteArray> contents{
        {"valid", blue(file)},
        {"foreign", ThumbnailPng(QSize(128, 96), Qt::blue, {}, file)},
        {"newer", blue({file.uri, file.mtime - 7, file.size})},
        {"uri", blue({FileUri(dir.file("b.jpg")), file.mtime, file.size})},
        {"empty", QByteArray()},
        {"truncated", blue(file).left(300)},
        {"corrupt", corrupt(blue(file))},
        {"small", blue(file, QSize(40, 30))},
    };
    if (contents.contains(cached))
        dir.write("cache/thumbnails/normal/" + name, contents[cached]);
    if (cached == "enormous") {
        // The header says 60000 x 60000, with a checksum that fits.
        QByteArray png = blue(file);
        png.replace(16, 8, QByteArray::fromHex("0000ea600000ea60"));
        const quint32 crc = PngCrc(png.mid(12, 17));
        png.replace(29, 4, QByteArray::fromHex(QByteArray::number(crc, 16).rightJustified(8, '0')));
        dir.write("cache/thumbnails/normal/" + name, png);
    }
    const QString outside = dir.write("elsewhere.png", contents["valid"]);
    if (cached == "link")
        QVERIFY(QFile::link(outside, thumb));
    if (cached == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(thumb).constData(), 0600), 0);
    const QString record = "cache/thumbnails/" + FailureFolder() + "/" + name;
    if (cached == "failed" || cached == "stale failure")
        dir.write(record, ThumbnailPng(QSize(1, 1), Qt::transparent,
                                       TagsToWrite({file.uri, file.mtime - (cached != "failed"),
                                                    file.size})));

    const Thumb t = throughCache(photo);
    QCOMPARE(t.status, shown == "none" ? FsStatus::InvalidPicture : FsStatus::Ok);
    if (shown != "none") {
        // Fitted as the decoded picture is, whichever way it came.
        QCOMPARE(t.fit.box, QSize(64, 48));
        QCOMPARE(t.image.size(), QSize(64, 48));
        const QColor c = t.image.pixelColor(32, 24);
        QCOMPARE(c.blue() > 150 && c.red() < 100, shown == "cached");
    }
    // Nothing outside the cache changed; the link was not followed.
    QCOMPARE(ReadAll(outside), contents["valid"]);
    QCOMPARE(filesUnder(dir.file("pics")), QStringList{"photo one.jpg"});
    QCOMPARE(TagsHold(cachedTags(thumb), stampOf(photo)), written);
    if (written && shown == "decoded") {
        // Written as the standard asks: the tags in plain text chunks, the
        // file the owner's alone, inside the folder's square.
        const QByteArray png = ReadAll(thumb);
        QCOMPARE(ReadPngSummary(png).size, QSize(128, 96));
        // Eight bits a channel, red, green and blue (the photograph is
        // opaque), not interlaced.
        QCOMPARE(png.mid(24, 5), QByteArray("\x08\x02\0\0\0", 5));
        for (const auto& [key, value] : TagsToWrite(stampOf(photo), QSize(400, 300)))
            QVERIFY2(png.contains("tEXt" + key + '\0' + value), key.constData());
        QCOMPARE(QFileInfo(thumb).permissions() & 0x0777, QFileDevice::Permissions(0x0600));
        QCOMPARE(filesUnder(normal), QStringList{name});
    }
    QCOMPARE(TagsHold(cachedTags(dir.file(record)), stampOf(photo)),
             cached == "garbage" || cached == "failed");
}

void TestThumbDecoder::cacheFolders_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("usable");
    QTest::newRow("missing") << "missing" << true;
    QTest::newRow("a file") << "file" << false;
    QTest::newRow("size folder a link elsewhere") << "link" << false;
    QTest::newRow("read-only") << "read-only" << false;
    QTest::newRow("full disk") << "full" << false;
    QTest::newRow("unreadable") << "unreadable" << false;
    QTest::newRow("the picture inside it") << "inside" << false;
}

void TestThumbDecoder::cacheFolders() {
    QFETCH(QString, state);
    QFETCH(bool, usable);
    TestFolder dir;
    const QString root = dir.file("cache/thumbnails");
    const QString photo = Backdate(WritePicture(
        state == "inside" ? root + "/pics" : dir.file("pics"), "a.jpg", QSize(400, 300), "JPG"));
    const QString elsewhere = dir.mkdir("elsewhere");
    if (state == "file")
        dir.write("cache/thumbnails", "a file");
    if (state == "link")
        QVERIFY(QDir().mkpath(root) && QFile::link(elsewhere, root + "/normal"));
    std::unique_ptr<SmallDisk> disk;
    if (state == "read-only" || state == "full") {
        disk = std::make_unique<SmallDisk>(dir.mkdir("cache/thumbnails"), 64 * 1024);
        if (!disk->ok)
            QSKIP("mounting a tmpfs is not allowed here");
        QVERIFY(state == "full" ? disk->leaveFree(0) : disk->remountReadOnly());
    }
    std::unique_ptr<AsNobody> nobody;
    if (state == "unreadable") {
        // The pictures open to everyone, the cache to its owner only.
        dir.mkdir("cache/thumbnails");
        for (const QString& d : {dir.path(), dir.file("pics")})
            QFile::setPermissions(d, QFile::Permissions(0x7755));
        QFile::setPermissions(photo, QFile::Permissions(0x6644));
        QFile::setPermissions(dir.file("cache"), QFile::Permissions(0x7700));
        nobody = std::make_unique<AsNobody>();
        if (!nobody->ok)
            QSKIP("cannot run as another user here");
    }
    const Thumb t = throughCache(photo);
    nobody.reset();
    QCOMPARE(t.status, FsStatus::Ok);
    QCOMPARE(t.image.size(), QSize(64, 48));
    const QStringList files = QFileInfo(root).isDir() ? filesUnder(root) : QStringList();
    const QString expected = usable              ? "normal/" + CacheFileName(FileUri(photo))
                             : state == "full"   ? "filler.bin"
                             : state == "inside" ? "pics/a.jpg"
                                                 : "";
    QCOMPARE(files.join(""), expected);
    QVERIFY(QDir(elsewhere).isEmpty());
    if (usable)
        QCOMPARE(QFileInfo(root).permissions() & 0x0777, QFileDevice::Permissions(0x0700));
}

void TestThumbDecoder::pixelsOfTheScreen_data() {
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("carried");
    QTest::newRow("ratio 2") << QSize(400, 300) << 2.0 << QSize(128, 96) << 2.0;
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
    const QString path = Backdate(WritePicture(dir.path(), "p.jpg", natural, "JPG"));
    // Decoded and written to the thumbnail cache the first time; from the
    // cache the second, with the same pixels.
    QImage first;
    for (int visit = 0; visit < 2; ++visit) {
        bool told = false;
        const Thumb c = throughCache(path, ratio, &told);
        QCOMPARE(told, visit == 0);
        QCOMPARE(c.fit.box, QSize(64, 48));
        QCOMPARE(c.image.size(), pixels);
        QCOMPARE(c.image.devicePixelRatio(), carried);
        if (visit == 0)
            first = c.image;
        else
            QCOMPARE(c.image, first);
    }
}

void TestThumbDecoder::colourTypes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("alpha"); // of the left half; the right half is opaque
    QTest::addColumn<int>("colourType");
    QTest::newRow("icon, half translucent") << "b.ico" << 128 << 6;
    QTest::newRow("icon with alpha, all opaque") << "c.ico" << 255 << 2;
}

void TestThumbDecoder::colourTypes() {
    QFETCH(QString, file);
    QFETCH(int, alpha);
    QFETCH(int, colourType);
    TestFolder dir;
    QImage img(200, 100, QImage::Format_ARGB32);
    img.fill(QColor(200, 120, 40));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            img.setPixelColor(x, y, QColor(200, 120, 40, alpha));
    const QString path = dir.file(file);
    QVERIFY(QImageWriter(path, QFileInfo(file).suffix().toLatin1()).write(img));
    Backdate(path);
    throughCache(path);
    const QByteArray png = ReadAll(ThumbnailCache() + "/normal/" + CacheFileName(FileUri(path)));
    QCOMPARE(int(png[25]), colourType);
    // Shown from the cache with its transparency.
    const QImage shown = throughCache(path).image;
    QVERIFY(qAbs(shown.pixelColor(10, 16).alpha() - alpha) <= 1);
    QCOMPARE(shown.pixelColor(54, 16).alpha(), 255);
}

void TestThumbDecoder::blockedEntrySkipped() {
    TestFolder dir;
    QStringList paths;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        paths.append(Backdate(WritePicture(dir.file("pics"), name, QSize(400, 300), "JPG")));
    const QString blocked = "normal/" + CacheFileName(FileUri(paths[0])) + "/in the way";
    dir.write("cache/thumbnails/" + blocked, "x");
    // One cache for the three, as in a listing: the entry that cannot be
    // written is skipped, those after it are written.
    ThumbCache cache(QSize(64, 64), 1);
    for (const QString& p : paths) {
        std::function<void()> afterwards;
        CachedThumb(p, QSize(64, 64), 1, cache, &afterwards);
        if (afterwards)
            afterwards();
    }
    QStringList expected{blocked};
    for (int i = 1; i < 3; ++i) {
        expected.append("normal/" + CacheFileName(FileUri(paths[i])));
        QVERIFY(TagsHold(cachedTags(dir.file("cache/thumbnails/" + expected.last())),
                         stampOf(paths[i])));
    }
    expected.sort();
    QCOMPARE(filesUnder(dir.file("cache/thumbnails")), expected);
}

void TestThumbDecoder::forgetting_data() {
    QTest::addColumn<bool>("real"); // the entries name the file by its folder's real path
    QTest::newRow("another program's, in compressed text") << false;
    QTest::newRow("under the folder's real path") << true;
}

void TestThumbDecoder::forgetting() {
    QFETCH(bool, real);
    TestFolder dir;
    // The picture reached through a link to its folder, as a listing of the
    // link records it; a link at one entry's name stays, and what it leads
    // to is not touched.
    const QString target = Backdate(WritePicture(dir.file("pics"), "photo one.jpg", QSize(40, 30)));
    QVERIFY(QFile::link(dir.file("pics"), dir.file("via")));
    const QString path = dir.file("via/photo one.jpg");
    FileStamp stamp = stampOf(path);
    if (real)
        stamp.uri = FileUri(target);
    const QByteArray own = real ? ThumbnailPng(QSize(8, 6), Qt::red, TagsToWrite(stamp))
                                : ThumbnailPng(QSize(8, 6), Qt::red, {}, stamp);
    const QString name = CacheFileName(stamp.uri);
    const QString outside = dir.write("elsewhere.png", own);
    QVERIFY(QFile::link(outside, dir.mkdir("cache/thumbnails/fail/a-link") + "/" + name));
    QStringList places{FailureFolder(), "fail/another-1.0"};
    for (const CacheSize& size : CacheSizes())
        places.append(size.folder);
    for (QString& place : places)
        place = dir.write("cache/thumbnails/" + place + "/" + name, own);
    // At the same name, an entry whose Thumb::URI names another file stays.
    FileStamp other = stamp;
    other.uri += ".jpg";
    const QString kept = dir.write("cache/thumbnails/fail/third/" + name,
                                   ThumbnailPng(QSize(8, 6), Qt::red, TagsToWrite(other)));
    QVERIFY(QFile::remove(path));
    ForgetThumbnails(path);
    for (const QString& place : places)
        QVERIFY2(!QFile::exists(place), qPrintable(place));
    QVERIFY(QFile::exists(kept));
    QVERIFY(QFileInfo(dir.file("cache/thumbnails/fail/a-link/" + name)).isSymLink());
    QCOMPARE(ReadAll(outside), own);
}

QTEST_MAIN(TestThumbDecoder)
#include "tst_thumbdecoder.moc"
