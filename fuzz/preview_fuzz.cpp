// Feeds arbitrary bytes to EmbeddedPreview as the head of a JPEG file. Only
// the head is read; a preview taken keeps the picture's proportions within 2 %
// and is no larger than it; the JPEG decoder, where it reads the header,
// finds the size and the turn the preview was given.
#include "CountedSource.h"
#include "platform/ExifPreview.h"
#include "platform/JpegHead.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CountedSource head(bytes);
    const std::optional<SourcePicture> p = EmbeddedPreview(head);
    if (!head.headOnly())
        qFatal("read more than the head");
    if (!p)
        return 0;
    const QSize shown = p->image.size();
    if (!CloseProportions(shown, p->natural) || shown.boundedTo(p->natural) != shown)
        qFatal("a preview of other proportions, or larger than the picture");
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "jpeg");
    QSize natural = reader.size(); // invalid when the decoder cannot read the header
    const QImageIOHandler::Transformations turn = reader.transformation();
    if (turn & QImageIOHandler::TransformationRotate90)
        natural.transpose();
    if (natural.isValid() &&
        (natural != p->natural || turn != TurnOf(ReadJpegHead(BufferSource(bytes))->orientation)))
        qFatal("the decoder reads another size or turn");
    return 0;
}
