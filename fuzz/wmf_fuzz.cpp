// Feeds arbitrary bytes to the metafile reader: parse, find the frame, and
// draw at a small size, as a thumbnail would.
#include "platform/wmf/WmfFile.h"
#include "platform/wmf/WmfFrame.h"
#include "platform/wmf/WmfPlayer.h"

#include <QGuiApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // text needs the font database
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wmf::Limits limits;
    limits.maxRenderMilliseconds = 2000;
    const auto file =
        wmf::ParseWmf(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), limits);
    if (!file)
        return 0;
    const auto frame = wmf::ComputeFrame(*file, limits);
    if (!frame)
        return 0;
    // Small renders keep the run fast; the byte a file ends with varies the size.
    const int side = 16 + (size > 0 ? data[size - 1] % 160 : 0);
    wmf::RenderWmf(*file, *frame, frame->natural.scaled(side, side, Qt::KeepAspectRatio), limits);
    return 0;
}
