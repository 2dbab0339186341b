// Feeds arbitrary bytes to LoadPicture as a file, at natural size and into a
// thumbnail box, as the viewer and the thumbnail windows read them: our own
// code reads the headers and sets their claims against the bytes, Qt's
// decoders read what passes. A picture read at natural size must never have
// more pixels than its header claimed as we read it: more would mean that a
// decoder reads the header otherwise, and the bound does not hold. The file
// lives in memory (memfd), so that a run never writes to disk.
#include "platform/Picture.h"
#include "platform/PictureClaim.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {
int memoryFile = -1;
QString memoryPath;

// The most pixels any image of the file claims, as PictureClaim reads it;
// -1 for a format it does not read (metafiles).
qint64 claimedPixels(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.canRead() ? reader.format().toLower() : QByteArray();
    const BufferSource file(bytes);
    std::optional<PixelClaim> claim;
    if (format == "bmp")
        claim = BmpClaim(file);
    else if (format == "jpeg")
        claim = JpegClaim(file);
    else if (format == "gif")
        claim = GifClaim(file);
    else if (format == "ico" || format == "cur") {
        const int count = bytes.size() >= 6 ? quint8(bytes[4]) | quint8(bytes[5]) << 8 : 0;
        qint64 most = 0;
        for (int i = 0; i < count && 6 + 16 * qint64(i) < bytes.size(); ++i)
            if (const auto one = IconClaim(file, i))
                most = std::max(most, one->claimed);
        return most;
    } else
        return -1;
    return claim ? claim->claimed : 0;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // metafile text needs the font database
    memoryFile = memfd_create("picture", MFD_CLOEXEC);
    if (memoryFile < 0)
        qFatal("memfd_create failed");
    memoryPath = QStringLiteral("/proc/self/fd/%1").arg(memoryFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ftruncate(memoryFile, 0) != 0)
        qFatal("ftruncate failed");
    for (size_t done = 0; done < size;) {
        const ssize_t n = pwrite(memoryFile, data + done, size - done, off_t(done));
        if (n <= 0)
            qFatal("pwrite failed");
        done += size_t(n);
    }
    // The byte a file ends with picks the box.
    const int side = 16 + (size > 0 ? data[size - 1] : 0) % 240;
    const Picture natural = LoadPicture(memoryPath);
    LoadPicture(memoryPath, QSize(side, side * 3 / 4));
    if (natural.status == FsStatus::Ok) {
        const qint64 claimed = claimedPixels(
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
        const qint64 area = qint64(natural.image.width()) * natural.image.height();
        if (claimed >= 0 && area > claimed) {
            qWarning("decoded %lld pixels, the header claims %lld", area, claimed);
            std::abort();
        }
    }
    return 0;
}
