// Reading picture files: the file is opened here first so that a missing
// file, a folder and a permission error are told apart from bytes that are no
// picture; QImageReader then decodes from the open file, finding the format
// from the content.
#include "platform/Picture.h"

#include "platform/Files.h"
#include "platform/PictureClaim.h"
#include "wmf/WmfImport.h"

#include <QFile>
#include <QImageReader>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt refuses to allocate a decoded image above 128 MiB, which turns an
// 8000 x 6000 photograph (183 MiB as 32-bit pixels) into an "invalid
// picture". 1 GiB admits pictures up to about 268 megapixels (16384 x 16384)
// while three decodes at once (the thumbnail workers and the viewer) stay far
// inside this machine's 24 GiB.
constexpr int kAllocationLimitMiB = 1024;

void setUpOnce() {
    static const bool done = [] {
        QImageReader::setAllocationLimit(kAllocationLimitMiB);
        ImportWmfPlugin();
        return true;
    }();
    (void)done;
}

// The formats this program reads (names in lower case); whatever else Qt
// could decode is not a picture to it.
bool isOurFormat(const QByteArray& format) {
    static const QList<QByteArray> ours{"bmp", "dib", "jpeg", "jpg", "gif", "ico", "cur", "wmf"};
    return ours.contains(format);
}

bool isIcon(const QByteArray& format) {
    return format == "ico" || format == "cur";
}

// Of an icon with several images, the one with the most pixels (the first of
// equals); its directory entry gives the size without decoding. Entries the
// file is too short to hold are not looked at. Returns the image's index.
int jumpToLargestIcon(QImageReader& reader, qint64 fileSize) {
    const int count = int(std::min<qint64>(reader.imageCount(), (fileSize - 6) / 16));
    int best = 0;
    qint64 bestArea = -1;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize s = reader.size();
        const qint64 area = qint64(s.width()) * s.height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    reader.jumpToImage(best);
    return best;
}

// The open file, read without moving the position the decoder reads from.
class OpenFileSource final : public ByteSource {
public:
    explicit OpenFileSource(const QFile& file) : m_fd(file.handle()), m_size(file.size()) {}
    qint64 size() const override { return m_size; }
    QByteArray read(qint64 offset, qint64 length) const override {
        return ReadSpan(m_fd, m_size, offset, length);
    }

private:
    const int m_fd;
    const qint64 m_size;
};

// Whether the decoder may be given the file: its header reads as the decoder
// reads it and claims no more than the bytes can hold. The metafile reader
// bounds its own work.
bool worthDecoding(const QByteArray& format, const ByteSource& file, int image) {
    std::optional<PixelClaim> claim;
    if (format == "bmp" || format == "dib")
        claim = BmpClaim(file);
    else if (format == "jpeg" || format == "jpg")
        claim = JpegClaim(file);
    else if (format == "gif")
        claim = GifClaim(file);
    else if (isIcon(format))
        claim = IconClaim(file, image);
    else
        return true;
    return claim && ClaimCredible(*claim);
}

quint32 le(const QByteArray& b, int at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

// Qt's BMP reader leaves the rows of a truncated file that it never reached
// as they happened to be in memory; they are painted white here, so that only
// what the file holds is shown.
void blankUnreadBmpRows(QFile& file, QImage& image) {
    if (!file.seek(0))
        return;
    const QByteArray h = file.read(54);
    if (h.size() < 26 || h[0] != 'B' || h[1] != 'M')
        return;
    const qint64 offset = le(h, 10, 4);
    const quint32 infoSize = le(h, 14, 4);
    qint64 width = 0, height = 0, bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = le(h, 18, 2);
        height = le(h, 20, 2);
        bits = le(h, 24, 2);
    } else if (infoSize >= 40 && h.size() >= 34) {
        width = qint32(le(h, 18, 4));
        height = qint32(le(h, 22, 4));
        bits = le(h, 28, 2);
        compression = le(h, 30, 4);
    } else {
        return;
    }
    // Run-length data has no fixed row size; the reader clears those itself.
    if (compression != 0 && compression != 3 && compression != 6)
        return;
    const bool bottomUp = height > 0;
    height = std::abs(height);
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    if (rowBytes <= 0 || image.size() != QSize(int(width), int(height)))
        return;
    const qint64 rowsInFile = std::max<qint64>(0, (file.size() - offset) / rowBytes);
    if (rowsInFile >= height)
        return;
    const int unread = int(height - rowsInFile);
    const int first = bottomUp ? 0 : int(rowsInFile);
    if (image.depth() < 16)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    // Every channel at its maximum: opaque white in each direct format.
    for (int y = first; y < first + unread; ++y)
        std::memset(image.scanLine(y), 0xFF, size_t(image.bytesPerLine()));
}

// The size a picture is decoded at for a box: reduced to the box with its
// proportions kept, at least as large as the fitted box. Invalid when the
// picture fits the box already, or there is no box.
QSize reducedFor(QSize picture, QSize box) {
    if (!box.isValid() || box.isEmpty() || !picture.isValid() || picture.isEmpty() ||
        (picture.width() <= box.width() && picture.height() <= box.height()))
        return QSize();
    const double f =
        std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return QSize(std::max(1, int(std::ceil(picture.width() * f))),
                 std::max(1, int(std::ceil(picture.height() * f))));
}

bool rotatedQuarter(const QImageReader& reader) {
    return reader.transformation() & QImageIOHandler::TransformationRotate90;
}

// Opens the file for reading and says why not; a folder is not a file.
FsStatus openFile(const QString& path, QFile& file) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return StatusFromErrno(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno;
        ::close(fd);
        return S_ISDIR(st.st_mode) ? FsStatus::Other : StatusFromErrno(error ? error : EINVAL);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FsStatus::Other;
    }
    return FsStatus::Ok;
}

// Opens the file and reads its header: Ok when it holds a picture of ours
// whose claims its bytes can hold, with the reader at the image to show and
// the format's name in lower case.
FsStatus openPicture(const QString& path, QFile& file, QImageReader& reader, QByteArray& format) {
    setUpOnce();
    const FsStatus opened = openFile(path, file);
    if (opened != FsStatus::Ok)
        return opened;
    reader.setDevice(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // Asked once: the reader asks the decoder again at the device's current
    // position, which an icon's directory has moved.
    format = reader.canRead() ? reader.format().toLower() : QByteArray();
    if (!isOurFormat(format))
        return file.error() == QFileDevice::ReadError ? FsStatus::Other : FsStatus::InvalidPicture;
    const int entry =
        isIcon(format) && reader.imageCount() > 1 ? jumpToLargestIcon(reader, file.size()) : 0;
    // A picture whose header claims more than its bytes can hold is refused
    // before a decoder allocates for it.
    if (!worthDecoding(format, OpenFileSource(file), entry))
        return FsStatus::InvalidPicture;
    return FsStatus::Ok;
}

Picture load(const QString& path, QSize box) {
    Picture result;
    QFile file;
    QImageReader reader;
    QByteArray format;
    result.status = openPicture(path, file, reader, format);
    if (result.status != FsStatus::Ok)
        return result;

    // A BMP is read whole (its decoder cannot scale anyway) so that rows a
    // truncated file lacks are known before scaling; so is an icon, whose
    // directory may give another size than its image has.
    const bool whole = format == "bmp" || isIcon(format);
    // The decoder works in the file's own orientation: the box turns with it.
    const bool turned = rotatedQuarter(reader);
    const QSize stored = reader.size();
    const QSize reduced = whole ? QSize() : reducedFor(stored, turned ? box.transposed() : box);
    if (reduced.isValid())
        reader.setScaledSize(reduced);

    QImage image;
    // A truncated JPEG or GIF decodes as far as its data goes and is shown so.
    if (!reader.read(&image) || image.isNull()) {
        result.status = reader.error() == QImageReader::DeviceError ? FsStatus::Other
                                                                    : FsStatus::InvalidPicture;
        return result;
    }
    if (format == "bmp")
        blankUnreadBmpRows(file, image);
    result.naturalSize = reduced.isValid() ? (turned ? stored.transposed() : stored) : image.size();
    if (const QSize fitted = reducedFor(image.size(), box); whole && fitted.isValid())
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.image = image;
    result.status = FsStatus::Ok;
    return result;
}

} // namespace

Picture LoadPicture(const QString& path) {
    return load(path, QSize());
}

Picture LoadPicture(const QString& path, QSize box) {
    return load(path, box);
}

QSize LoadPictureSize(const QString& path) {
    QFile file;
    QImageReader reader;
    QByteArray format;
    if (openPicture(path, file, reader, format) != FsStatus::Ok)
        return QSize();
    const QSize stored = reader.size();
    return rotatedQuarter(reader) ? stored.transposed() : stored;
}
