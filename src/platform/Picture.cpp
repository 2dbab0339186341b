// Reading picture files: the file is opened here first so that a missing
// file, a folder and a permission error are told apart from bytes that are no
// picture; QImageReader then decodes from the open file, finding the format
// from the content.
#include "platform/Picture.h"

#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if __has_include("platform/wmf/WmfImport.h")
#include "platform/wmf/WmfImport.h"
#define PIKSOR_HAVE_WMF_PLUGIN 1
#endif

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
#ifdef PIKSOR_HAVE_WMF_PLUGIN
        ImportWmfPlugin();
#endif
        return true;
    }();
    (void)done;
}

// The formats this program reads; whatever else Qt could decode is not a
// picture to it.
bool isOurFormat(const QByteArray& format) {
    static const QList<QByteArray> ours{"bmp", "dib", "jpeg", "jpg", "gif", "ico", "cur", "wmf"};
    return ours.contains(format.toLower());
}

bool isIcon(const QByteArray& format) {
    const QByteArray f = format.toLower();
    return f == "ico" || f == "cur";
}

// Of an icon with several images, the one with the most pixels (the first of
// equals); its directory entry gives the size without decoding.
void jumpToLargestIcon(QImageReader& reader) {
    const int count = reader.imageCount();
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

Picture load(const QString& path, QSize box) {
    setUpOnce();
    Picture result;
    QFile file;
    result.status = openFile(path, file);
    if (result.status != FsStatus::Ok)
        return result;

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead() || !isOurFormat(reader.format())) {
        result.status =
            file.error() == QFileDevice::ReadError ? FsStatus::Other : FsStatus::InvalidPicture;
        return result;
    }
    if (isIcon(reader.format()) && reader.imageCount() > 1)
        jumpToLargestIcon(reader);

    // The decoder works in the file's own orientation: the box turns with it.
    const bool turned = rotatedQuarter(reader);
    const QSize stored = reader.size();
    if (box.isValid() && !box.isEmpty() && stored.isValid() && !stored.isEmpty()) {
        const QSize storedBox = turned ? box.transposed() : box;
        if (stored.width() > storedBox.width() || stored.height() > storedBox.height()) {
            const double f = std::min(double(storedBox.width()) / stored.width(),
                                      double(storedBox.height()) / stored.height());
            reader.setScaledSize(QSize(std::max(1, int(std::ceil(stored.width() * f))),
                                       std::max(1, int(std::ceil(stored.height() * f)))));
        }
    }

    QImage image;
    const bool complete = reader.read(&image);
    // A truncated file keeps what the decoder filled in before the data ended.
    if (image.isNull() || (!complete && reader.error() != QImageReader::InvalidDataError)) {
        result.status = reader.error() == QImageReader::DeviceError ? FsStatus::Other
                                                                    : FsStatus::InvalidPicture;
        return result;
    }
    result.image = image;
    result.status = FsStatus::Ok;
    if (reader.scaledSize().isValid() && stored.isValid())
        result.naturalSize = turned ? stored.transposed() : stored;
    else
        result.naturalSize = image.size();
    return result;
}

} // namespace

Picture LoadPicture(const QString& path) {
    return load(path, QSize());
}

Picture LoadPicture(const QString& path, QSize box) {
    return load(path, box);
}
