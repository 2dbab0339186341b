// Feeds arbitrary bytes to the metafile reader: parse, find the frame, and
// draw at a small size, as a thumbnail would; every other input goes through
// the image handler (natural size, then a scaled read) as QImageReader does.
#include "wmf/WmfFile.h"
#include "wmf/WmfFrame.h"
#include "wmf/WmfHandler.h"
#include "wmf/WmfPlayer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // text needs the font database
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The byte a file ends with picks the size to draw at and the way in.
    const int last = size > 0 ? data[size - 1] : 0;
    const int side = 16 + last % 160;
    if (last % 2) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        WmfHandler handler;
        handler.setDevice(&buffer);
        if (!handler.canRead())
            return 0;
        const QSize natural = handler.option(QImageIOHandler::Size).toSize();
        if (natural.isValid())
            handler.setOption(QImageIOHandler::ScaledSize,
                              natural.scaled(side, side, Qt::KeepAspectRatio));
        QImage image;
        handler.read(&image);
        return 0;
    }
    wmf::Limits limits;
    limits.maxRenderMilliseconds = 2000;
    const auto file = wmf::ParseWmf(bytes, limits);
    if (!file)
        return 0;
    const auto frame = wmf::ComputeFrame(*file, limits);
    if (!frame)
        return 0;
    wmf::RenderWmf(*file, *frame, frame->natural.scaled(side, side, Qt::KeepAspectRatio), limits);
    return 0;
}
