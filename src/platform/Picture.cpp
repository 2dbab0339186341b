#include "platform/Picture.h"

#include "platform/Files.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// Qt refuses images above 128 MiB by default; a 12000 x 9000 photograph
// decoded as 32-bit pixels takes 412 MiB. 2 GiB leaves room for that on this
// class of machine (24 GiB) while still refusing absurd headers.
constexpr int AllocationLimitMiB = 2048;

// Opens the file ourselves first: the image reader reports a missing file, a
// folder and a permission error alike as "not found".
FsStatus openCheck(const QString& path, QFile& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return StatusFromErrno(errno);
    if (S_ISDIR(st.st_mode))
        return FsStatus::NotFound;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.error() == QFileDevice::PermissionsError ? FsStatus::Denied : FsStatus::Other;
    return FsStatus::Ok;
}

// The largest image of an icon or cursor file with several.
int largestImage(QImageReader& reader) {
    int best = 0;
    qint64 bestArea = -1;
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize s = reader.size();
        if (qint64(s.width()) * s.height() > bestArea) {
            bestArea = qint64(s.width()) * s.height();
            best = i;
        }
    }
    reader.jumpToImage(best);
    return best;
}

Picture load(const QString& path, QSize box) {
    QImageReader::setAllocationLimit(AllocationLimitMiB);
    Picture out;
    QFile file;
    out.status = openCheck(path, file);
    if (out.status != FsStatus::Ok)
        return out;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        out.status = FsStatus::InvalidPicture;
        return out;
    }
    const QByteArray format = reader.format();
    if (format == "ico" || format == "cur")
        largestImage(reader);
    QSize natural = reader.size();
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (turned)
        natural.transpose();
    if (box.isValid() && natural.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize) &&
        (natural.width() > box.width() || natural.height() > box.height())) {
        // Decode reduced, keeping the proportions, no smaller than the box.
        const double f = std::max(double(box.width()) / natural.width(),
                                  double(box.height()) / natural.height());
        QSize scaled(std::max(1, int(std::ceil(natural.width() * f))),
                     std::max(1, int(std::ceil(natural.height() * f))));
        if (turned)
            scaled.transpose();
        reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        // A read error of the file itself is not an invalid picture.
        out.status =
            file.error() != QFileDevice::NoError ? FsStatus::Other : FsStatus::InvalidPicture;
        return out;
    }
    out.naturalSize = natural.isValid() ? natural : image.size();
    out.image = std::move(image);
    out.status = FsStatus::Ok;
    return out;
}
} // namespace

Picture LoadPicture(const QString& path) {
    return load(path, QSize());
}

Picture LoadPicture(const QString& path, QSize box) {
    return load(path, box);
}
