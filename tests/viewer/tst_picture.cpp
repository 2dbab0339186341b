// Reading picture files: what each kind of failure reports, the formats we
// read, icons, truncated and very large files, EXIF orientation, decoding
// at reduced size, and the previews cameras embed.
#include "CountedSource.h"
#include "ImageFiles.h"
#include "TestSupport.h"
#include "platform/ExifPreview.h"
#include "platform/Picture.h"
#include "platform/PictureClaim.h"

#include <QFile>
#include <QPainter>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(FsStatus)

namespace {
quint32 le32At(const QByteArray& b, int at) {
    return quint8(b[at]) | quint8(b[at + 1]) << 8 | quint8(b[at + 2]) << 16 |
           quint32(quint8(b[at + 3])) << 24;
}

// The pixels a BMP, GIF or JPEG file's header claims.
std::optional<PixelClaim> claimOf(const QByteArray& file) {
    const BufferSource source(file);
    return file.startsWith("BM")     ? BmpClaim(source)
           : file.startsWith("GIF")  ? GifClaim(source)
           : file.startsWith("\xFF") ? JpegClaim(source)
                                     : std::nullopt;
}

// Four quarters of their own colours: every turn and mirror of it differs.
QImage quarters(QSize size) {
    QImage image = Halves(size, Qt::red, Qt::green, Qt::Horizontal);
    QPainter(&image).drawImage(0, size.height() / 2,
                               Halves(size, Qt::blue, Qt::yellow, Qt::Horizontal));
    return image;
}

// The content within bars of the colour, through JPEG at a camera's quality.
QImage barred(const QImage& content, QMargins bars, QColor colour = Qt::black) {
    QImage image(content.size().grownBy(bars), QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).drawImage(bars.left(), bars.top(), content);
    return QImage::fromData(Jpeg(image, 75), "jpeg");
}

// The file with a big-endian number at byte `at` of WithExif's TIFF header changed.
QByteArray patched(QByteArray file, int at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        file[CameraLayout::Tiff + at + i] = char(value >> 8 * (bytes - 1 - i));
    return file;
}

} // namespace

class TestPicture : public QObject {
    Q_OBJECT
private slots:
    void failures_data();
    void failures();
    void deniedIsNotInvalid();
    void formats_data();
    void formats();
    void gifShowsFirstFrame();
    void iconTakesLargestImage_data();
    void iconTakesLargestImage();
    void truncatedJpegShowsDecodedPart();
    void truncatedBmpShowsOnlyItsRows_data();
    void truncatedBmpShowsOnlyItsRows();
    void largePictureLoads_data();
    void largePictureLoads();
    void claims_data();
    void claims();
    void exifOrientationUpright();
    void reducedDecoding_data();
    void reducedDecoding();
    void embeddedPreview_data();
    void embeddedPreview();
    void fuzzFindings_data();
    void fuzzFindings();
};

void TestPicture::failures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty name: no file at all
    QTest::addColumn<FsStatus>("expected");
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    const QByteArray png = Encoded(QImage(8, 8, QImage::Format_RGB32), "PNG");
    QTest::newRow("missing") << "" << QByteArray() << FsStatus::NotFound;
    QTest::newRow("folder") << "folder.jpg" << QByteArray() << FsStatus::Other;
    QTest::newRow("random bytes named jpg") << "noise.jpg" << noise << FsStatus::InvalidPicture;
    QTest::newRow("empty file") << "empty.bmp" << QByteArray("") << FsStatus::InvalidPicture;
    QTest::newRow("text") << "note.gif" << QByteArray("not a picture\n")
                          << FsStatus::InvalidPicture;
    QTest::newRow("jpeg header only")
        << "head.jpg" << QByteArray("\xFF\xD8\xFF", 3) << FsStatus::InvalidPicture;
    QTest::newRow("a format we do not read") << "png.jpg" << png << FsStatus::InvalidPicture;
}

void TestPicture::failures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(FsStatus, expected);
    TestFolder dir;
    QString path = dir.file("gone.jpg");
    if (name == "folder.jpg")
        path = dir.mkdir(name);
    else if (!name.isEmpty())
        path = dir.write(name, content);
    for (const Picture& p : {LoadPicture(path), LoadPicture(path, QSize(64, 64))}) {
        QCOMPARE(p.status, expected);
        QVERIFY(p.image.isNull());
    }
}

void TestPicture::deniedIsNotInvalid() {
    TestFolder dir;
    const QString path = dir.write("a.jpg", Jpeg(QImage(4, 4, QImage::Format_RGB32)));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
    Picture p;
    if (::geteuid() == 0) {
        // Root reads through permission bits: look as an ordinary user.
        if (::seteuid(65534) != 0)
            QSKIP("cannot take another user's identity here");
        p = LoadPicture(path);
        QVERIFY(::seteuid(0) == 0);
    } else {
        p = LoadPicture(path);
    }
    QCOMPARE(p.status, FsStatus::Denied);
    QVERIFY(p.image.isNull());
}

void TestPicture::formats_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    const QImage halves = Halves(QSize(40, 30), Qt::red, Qt::blue, Qt::Horizontal);
    const QByteArray bmp = Encoded(halves, "BMP");
    QTest::newRow("bmp") << "a.bmp" << bmp;
    QTest::newRow("jpeg") << "a.jpg" << Jpeg(halves);
    // The name does not decide the format.
    QTest::newRow("bmp named jpg") << "b.jpg" << bmp;
    QTest::newRow("jpeg named gif") << "c.gif" << Jpeg(halves);
    QTest::newRow("jpeg without extension") << "photo" << Jpeg(halves);
}

void TestPicture::formats() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    TestFolder dir;
    const Picture p = LoadPicture(dir.write(name, content));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(40, 30));
    QCOMPARE(p.naturalSize, QSize(40, 30));
    QVERIFY(Near(p.image.pixelColor(5, 15), Qt::red));
    QVERIFY(Near(p.image.pixelColor(35, 15), Qt::blue));
}

void TestPicture::gifShowsFirstFrame() {
    TestFolder dir;
    const Picture p = LoadPicture(dir.write("anim.gif", TwoFrameGif()));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(1, 1));
    QCOMPARE(p.image.pixelColor(0, 0), QColor(Qt::red));
}

void TestPicture::iconTakesLargestImage_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QSize>("expected");
    QTest::addColumn<QColor>("colour");
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QTest::newRow("ico, largest in the middle")
        << 1 << QList<QSize>{{16, 16}, {48, 48}, {32, 32}} << QSize(48, 48) << colours[1];
    QTest::newRow("ico, largest last")
        << 1 << QList<QSize>{{16, 16}, {24, 24}, {32, 32}} << QSize(32, 32) << colours[2];
    QTest::newRow("ico, one image") << 1 << QList<QSize>{{24, 24}} << QSize(24, 24) << colours[0];
    QTest::newRow("cur, two sizes")
        << 2 << QList<QSize>{{32, 32}, {16, 16}} << QSize(32, 32) << colours[0];
}

void TestPicture::iconTakesLargestImage() {
    QFETCH(int, type);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QSize, expected);
    QFETCH(QColor, colour);
    TestFolder dir;
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue, Qt::yellow};
    const QString path = dir.write(type == 2 ? "pointer.cur" : "icon.ico",
                                   IconFile(type, sizes, colours.mid(0, sizes.size())));
    const Picture p = LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), expected);
    QCOMPARE(p.naturalSize, expected);
    QCOMPARE(p.image.pixelColor(expected.width() / 2, expected.height() / 2), colour);
}

void TestPicture::truncatedJpegShowsDecodedPart() {
    TestFolder dir;
    const QByteArray whole = Jpeg(Halves(QSize(200, 200), Qt::red, Qt::blue, Qt::Vertical));
    const Picture p = LoadPicture(dir.write("cut.jpg", whole.left(whole.size() * 2 / 5)));
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(200, 200));
    QVERIFY(Near(p.image.pixelColor(100, 10), Qt::red));
    QVERIFY(!Near(p.image.pixelColor(100, 190), Qt::blue)); // never decoded
}

void TestPicture::truncatedBmpShowsOnlyItsRows_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QSize>("box");
    QTest::newRow("24-bit") << QImage::Format_RGB888 << QSize();
    QTest::newRow("8-bit palette") << QImage::Format_Indexed8 << QSize();
    QTest::newRow("24-bit into a box") << QImage::Format_RGB888 << QSize(50, 50);
}

void TestPicture::truncatedBmpShowsOnlyItsRows() {
    // Rows are stored bottom row first: cut in half, the file still holds the
    // lower half (blue); the upper half was never read and shows white.
    QFETCH(QImage::Format, format);
    QFETCH(QSize, box);
    TestFolder dir;
    QImage halves = Halves(QSize(100, 100), Qt::red, Qt::blue, Qt::Vertical);
    halves = format == QImage::Format_Indexed8 ? halves.convertToFormat(format, Qt::ThresholdDither)
                                               : halves.convertToFormat(format);
    const QByteArray bmp = Encoded(halves, "BMP");
    const qint64 pixels = bmp.size() - qint64(le32At(bmp, 10));
    const QString path = dir.write("cut.bmp", bmp.left(bmp.size() - pixels / 2));
    const Picture p = box.isValid() ? LoadPicture(path, box) : LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.naturalSize, QSize(100, 100));
    const QSize size = p.image.size();
    QCOMPARE(size, box.isValid() ? box : QSize(100, 100));
    for (int x : {0, size.width() / 2, size.width() - 1}) {
        QCOMPARE(p.image.pixelColor(x, 0), QColor(Qt::white));
        QCOMPARE(p.image.pixelColor(x, size.height() / 4), QColor(Qt::white));
        QVERIFY(Near(p.image.pixelColor(x, size.height() * 3 / 4), Qt::blue));
        QVERIFY(Near(p.image.pixelColor(x, size.height() - 1), Qt::blue));
    }
}

void TestPicture::largePictureLoads_data() {
    // Large pictures of one colour, which compress as far as their formats
    // allow: whatever bounds the cost of files that lie must let them pass.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("size");
    const QColor c(30, 120, 200);
    QImage flat(8000, 6000, QImage::Format_RGB32);
    flat.fill(c);
    // 8000 x 6000 is above Qt's own allocation limit of 128 MiB.
    QTest::newRow("jpeg") << Jpeg(flat, 50) << QSize(8000, 6000);
    QTest::newRow("progressive jpeg")
        << Jpeg(flat.copy(0, 0, 4000, 3000), 50, true) << QSize(4000, 3000);
    QTest::newRow("run-length bmp") << FlatRunLengthBmp({8000, 6000}, c) << QSize(8000, 6000);
    QTest::newRow("gif") << FlatGif({2000, 2000}, c) << QSize(2000, 2000);
    QTest::newRow("icon with a png")
        << IconWithPng(Encoded(flat.copy(0, 0, 2048, 2048), "PNG")) << QSize(2048, 2048);
}

void TestPicture::largePictureLoads() {
    QFETCH(QByteArray, file);
    QFETCH(QSize, size);
    TestFolder dir;
    const QString path = dir.write("big", file);
    const Picture full = LoadPicture(path);
    QCOMPARE(full.status, FsStatus::Ok);
    QCOMPARE(full.image.size(), size);
    QVERIFY(Near(full.image.pixelColor(size.width() - 1, size.height() - 1), QColor(30, 120, 200)));
    const Picture small = LoadPicture(path, QSize(160, 160));
    QCOMPARE(small.status, FsStatus::Ok);
    QCOMPARE(small.image.size(), size.scaled(160, 160, Qt::KeepAspectRatio));
    QCOMPARE(small.naturalSize, size);
}

void TestPicture::claims_data() {
    // Files whose claim is not credible are refused before a decoder
    // allocates for what they claim.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("claimed");
    QTest::addColumn<bool>("credible");
    const QByteArray bmp = Encoded(Halves(QSize(300, 300), Qt::red, Qt::blue, Qt::Vertical), "BMP");
    // 270000 bytes of rows: cut to a sixteenth it still shows, to a twentieth
    // it is refused.
    QTest::newRow("bmp cut to a sixteenth") << bmp.left(54 + 270000 / 16) << qint64(90000) << true;
    QTest::newRow("bmp cut to a twentieth") << bmp.left(54 + 270000 / 20) << qint64(90000) << false;
    QTest::newRow("run-length bmp ending at once")
        << Claiming(FlatRunLengthBmp(QSize(1, 1), Qt::red), QSize(4000, 4000)) << qint64(16000000)
        << false;
    const QImage image = Halves(QSize(400, 400), Qt::red, Qt::blue, Qt::Vertical);
    const QByteArray jpeg = Jpeg(image);
    QTest::newRow("jpeg") << jpeg << qint64(160000) << true;
    // 3750 blocks, and 100 bytes after the start of the scan.
    QTest::newRow("jpeg cut soon after its scan starts")
        << jpeg.left(jpeg.indexOf("\xFF\xDA") + 114) << qint64(160000) << false;
    QTest::newRow("jpeg claiming 60000 x 60000")
        << Claiming(jpeg, QSize(60000, 60000)) << qint64(3600000000) << false;
    QByteArray acFirst = Jpeg(image, 90, true);
    const qsizetype scan = acFirst.indexOf("\xFF\xDA");
    acFirst[scan + 5 + 2 * acFirst[scan + 4]] = 1;
    QTest::newRow("progressive jpeg starting with AC") << acFirst << qint64(160000) << false;
    // A grey picture of 16000 x 16000 pixels coded arithmetically: a
    // quantization table, the start of frame and of scan, and four bytes of data.
    QTest::newRow("arithmetic-coded jpeg")
        << QByteArray("\xFF\xD8\xFF\xDB\0\x43\0", 7) + QByteArray(64, 1) +
               QByteArray("\xFF\xC9\0\x0B\x08\x3E\x80\x3E\x80\x01\x01\x11\0"
                          "\xFF\xDA\0\x08\x01\x01\0\0\x3F\0\0\0\0\0\xFF\xD9",
                          31)
        << qint64(256000000) << false;
    QByteArray noScreen = FlatGif(QSize(10, 10), Qt::red);
    noScreen.replace(6, 4, QByteArray(4, '\0'));
    QTest::newRow("gif without a screen: the frame") << noScreen << qint64(100) << true;
    QTest::newRow("gif claiming 4000 x 4000")
        << Claiming(FlatGif(QSize(4, 4), Qt::red), QSize(4000, 4000)) << qint64(16000000) << false;
    QTest::newRow("icon whose png claims 4000 x 4000")
        << Claiming(IconWithPng(Encoded(image, "PNG")), QSize(4000, 4000)) << qint64(16000000)
        << false;
}

void TestPicture::claims() {
    QFETCH(QByteArray, file);
    QFETCH(qint64, claimed);
    QFETCH(bool, credible);
    const std::optional<PixelClaim> claim =
        file.startsWith('\0') ? IconClaim(BufferSource(file), 0) : claimOf(file);
    QVERIFY(claim);
    QCOMPARE(claim->claimed, claimed);
    QCOMPARE(ClaimCredible(*claim), credible);
    TestFolder dir;
    const QString path = dir.write("claim", file);
    for (const Picture& p : {LoadPicture(path), LoadPicture(path, QSize(64, 64))})
        QCOMPARE(p.status == FsStatus::InvalidPicture, !credible);
}

void TestPicture::exifOrientationUpright() {
    // Stored lying on its side, left half red: orientation 6 turns it a
    // quarter clockwise, so red ends on top.
    TestFolder dir;
    const QByteArray jpeg = Jpeg(Halves(QSize(80, 40), Qt::red, Qt::blue, Qt::Horizontal));
    const QString path = dir.write("side.jpg", WithExif(jpeg, 6));
    const Picture p = LoadPicture(path);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), QSize(40, 80));
    QCOMPARE(p.naturalSize, QSize(40, 80));
    QVERIFY(Near(p.image.pixelColor(20, 10), Qt::red));
    QVERIFY(Near(p.image.pixelColor(20, 70), Qt::blue));
    const Picture boxed = LoadPicture(path, QSize(20, 20));
    QCOMPARE(boxed.naturalSize, QSize(40, 80));
    QCOMPARE(boxed.image.size(), QSize(10, 20));
    QVERIFY(Near(boxed.image.pixelColor(5, 2), Qt::red));
    QVERIFY(Near(boxed.image.pixelColor(5, 17), Qt::blue));
}

void TestPicture::reducedDecoding_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("wide into square") << QSize(400, 300) << QSize(100, 100) << QSize(100, 75);
    QTest::newRow("tall into wide") << QSize(300, 600) << QSize(200, 100) << QSize(50, 100);
    QTest::newRow("not an exact fraction") << QSize(333, 250) << QSize(100, 100) << QSize(100, 76);
    QTest::newRow("fits already") << QSize(80, 60) << QSize(100, 100) << QSize(80, 60);
    QTest::newRow("one side too large") << QSize(120, 40) << QSize(100, 100) << QSize(100, 34);
}

void TestPicture::reducedDecoding() {
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QFETCH(QSize, expected);
    TestFolder dir;
    const QString path =
        dir.write("p.jpg", Jpeg(Halves(picture, Qt::red, Qt::blue, Qt::Horizontal)));
    const Picture p = LoadPicture(path, box);
    QCOMPARE(p.status, FsStatus::Ok);
    QCOMPARE(p.image.size(), expected);
    QCOMPARE(p.naturalSize, picture);
    QVERIFY(Near(p.image.pixelColor(1, expected.height() / 2), Qt::red));
    QVERIFY(Near(p.image.pixelColor(expected.width() - 2, expected.height() / 2), Qt::blue));
}

void TestPicture::embeddedPreview_data() {
    // Camera files as they are laid out and as they go wrong: the preview is
    // taken only from a sound layout, shows the picture as the decoder turns
    // it, and reading it never costs more than the head of the file.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("shown"); // invalid: no preview
    using namespace CameraLayout;
    const QImage photo = quarters(QSize(320, 240));
    const QByteArray picture = Jpeg(photo);
    const QByteArray preview = Jpeg(photo.scaled(160, 120), 75);
    const QByteArray good = WithExif(picture, 1, preview);
    const QSize small(160, 120), none;
    for (int o = 1; o <= 8; ++o) // big-endian when odd
        QTest::addRow("orientation %d", o)
            << WithExif(picture, o, preview, o % 2) << (o > 4 ? small.transposed() : small);
    QTest::newRow("no orientation") << WithExif(picture, 0, preview) << small;
    QTest::newRow("orientation of the wrong type: not turned")
        << patched(WithExif(picture, 6, preview), Ifd0 + 4, 4, 2) << small;
    QTest::newRow("a photograph larger than a head")
        << WithExif(Jpeg(quarters(QSize(4000, 3000))), 1, preview) << small;
    QTest::newRow("written by exiftool, turned")
        << ReadAll(QFINDTESTDATA("previews/exiftool-mm-6.jpg")) << QSize(120, 160);
    QTest::newRow("written by exiftool, little-endian, barred")
        << ReadAll(QFINDTESTDATA("previews/exiftool-ii-barred.jpg")) << QSize(160, 90);
    QTest::newRow("second directory pointing at itself, not followed")
        << patched(good, Ifd1Next, Ifd1, 4) << small;
    QTest::newRow("second directory pointing at itself, no orientation")
        << patched(WithExif(picture, 0, preview), Ifd1Next, Ifd1, 4) << none;
    QTest::newRow("entry count past the segment") << patched(good, Ifd1, 0xFFFF, 2) << none;
    QTest::newRow("preview past the segment's end")
        << patched(good, PreviewLength, quint32(preview.size() + 1), 4) << none;
    QTest::newRow("preview cut short")
        << patched(good, PreviewLength, quint32(preview.size() / 2), 4) << none;
    QTest::newRow("preview no jpeg")
        << WithExif(picture, 1, Encoded(photo.scaled(160, 120), "PNG")) << none;
    QTest::newRow("preview larger than the picture")
        << WithExif(Jpeg(photo.scaled(80, 60)), 1, preview) << none;
    QTest::newRow("preview of the wrong shape")
        << WithExif(Jpeg(quarters(QSize(320, 180))), 1, preview) << none;
    // Bars a camera puts round a preview of another shape, and what is no bar.
    const QByteArray hd = Jpeg(quarters(QSize(320, 180)));
    const QImage wide = quarters(QSize(160, 90));
    const QMargins bars(0, 15, 0, 15);
    auto barredIn = [](const QByteArray& picture, const QImage& preview) {
        return WithExif(picture, 1, Jpeg(preview, 75));
    };
    QTest::newRow("bars left and right")
        << barredIn(Jpeg(quarters(QSize(240, 240))), barred(quarters({120, 120}), {20, 0, 20, 0}))
        << QSize(120, 120);
    QTest::newRow("bars off centre") << barredIn(hd, barred(wide, {0, 17, 0, 13})) << wide.size();
    QTest::newRow("bars above and below a picture dark at its edges")
        << barredIn(hd,
                    barred(barred(quarters({160, 66}), {0, 12, 0, 12}, QColor(14, 14, 14)), bars))
        << wide.size();
    QTest::newRow("grey bars") << barredIn(hd, barred(wide, bars, QColor(90, 90, 90))) << none;
    QTest::newRow("bars too thin")
        << barredIn(hd, barred(quarters({160, 100}), {0, 10, 0, 10})) << none;
    QImage lit = barred(wide, bars);
    QPainter(&lit).fillRect(70, 4, 4, 4, Qt::white);
    QTest::newRow("a light in a bar") << barredIn(hd, lit) << none;
}

void TestPicture::embeddedPreview() {
    QFETCH(QByteArray, file);
    QFETCH(QSize, shown);
    const CountedSource head(file);
    const std::optional<SourcePicture> p = EmbeddedPreview(head);
    QVERIFY(head.headOnly());
    QCOMPARE(p.has_value(), shown.isValid());
    if (!p)
        return;
    QCOMPARE(p->image.size(), shown);
    TestFolder dir;
    const QImage full = LoadPicture(dir.write("camera.jpg", file)).image;
    QCOMPARE(p->natural, full.size());
    for (int y : {1, 3})
        for (int x : {1, 3})
            QVERIFY(Near(p->image.pixelColor(p->image.width() * x / 4, p->image.height() * y / 4),
                         full.pixelColor(full.width() * x / 4, full.height() * y / 4)));
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"

void TestPicture::fuzzFindings_data() {
    QTest::addColumn<QString>("path");
    const QString folder = QFINDTESTDATA("fuzz-inputs");
    QVERIFY(!folder.isEmpty());
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QFileInfo& f : files)
        QTest::newRow(qPrintable(f.fileName())) << f.absoluteFilePath();
}

void TestPicture::fuzzFindings() {
    // Inputs the picture fuzzer found: each is read quickly to an end, and a
    // picture read has no more pixels than its header claims.
    QFETCH(QString, path);
    const QDeadlineTimer deadline(5000);
    const Picture natural = LoadPicture(path);
    const Picture boxed = LoadPicture(path, QSize(120, 90));
    // A preview taken keeps the picture's proportions and is no larger.
    const CountedSource head(ReadAll(path));
    if (const std::optional<SourcePicture> p = EmbeddedPreview(head))
        QVERIFY(CloseProportions(p->image.size(), p->natural) &&
                p->image.size().boundedTo(p->natural) == p->image.size());
    QVERIFY(head.headOnly());
    QVERIFY(!deadline.hasExpired());
    QCOMPARE(boxed.status, natural.status);
    if (natural.status == FsStatus::InvalidPicture)
        return;
    QCOMPARE(natural.status, FsStatus::Ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (const std::optional<PixelClaim> claim = claimOf(file.readAll()))
        QVERIFY(qint64(natural.image.width()) * natural.image.height() <= claim->claimed);
}
