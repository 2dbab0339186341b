// Feeds arbitrary bytes to LoadPicture as a file, at natural size and into a
// thumbnail box, as the viewer and the thumbnail windows read them: our own
// code reads the headers and sets their claims against the bytes, Qt's
// decoders read what passes. The file lives in memory (memfd), so that a run
// never writes to disk.
#include "platform/Picture.h"

#include <QGuiApplication>
#include <sys/mman.h>
#include <unistd.h>

namespace {
int memoryFile = -1;
QString memoryPath;
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
    LoadPicture(memoryPath);
    LoadPicture(memoryPath, QSize(side, side * 3 / 4));
    return 0;
}
