// Feeds arbitrary bytes to EmbeddedPreview as the head of a JPEG file, as the
// thumbnail windows read it. Reading stays bounded: the first bytes of each
// marker and one segment at the most, never the rest of the file. A preview
// taken keeps the picture's proportions within 2 % and is no larger than the
// picture; and where the JPEG decoder reads the same bytes' header, it finds
// the size and the turn the preview was given.
#include "CountedSource.h"
#include "platform/ExifPreview.h"
#include "platform/JpegHead.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdlib>

namespace {
[[noreturn]] void finding(const char* what) {
    qWarning("%s", what);
    std::abort();
}

// The picture's size, upright, and its turn as the decoder reads them; an
// invalid size when it cannot read the header.
QSize decoderSize(const QByteArray& bytes, QImageIOHandler::Transformations& turn) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize stored = reader.size();
    turn = reader.transformation();
    return turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CountedSource head(bytes);
    const std::optional<SourcePicture> p = EmbeddedPreview(head);
    if (head.segmentsRead() > 1 || head.bytesRead() > CountedSource::kMostHeadBytes)
        finding("read more than the head");
    if (!p)
        return 0;
    const QSize shown = p->image.size();
    if (p->image.isNull() || !CloseProportions(shown, p->natural) ||
        shown.width() > p->natural.width() || shown.height() > p->natural.height())
        finding("a preview of other proportions, or larger than the picture");
    QImageIOHandler::Transformations turn;
    const QSize natural = decoderSize(bytes, turn);
    if (natural.isValid() &&
        (natural != p->natural || turn != TurnOf(ReadJpegHead(BufferSource(bytes))->orientation)))
        finding("the decoder reads another size or turn");
    return 0;
}
