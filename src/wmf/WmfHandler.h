#pragma once

// The Windows Metafile reader: a component of its own (the piksor_wmf library)
// that needs Qt Gui and nothing else of the program. It turns the bytes of a
// metafile, with or without the placeable header, into a QImage at the
// picture's natural size (96 pixels per inch) or drawn directly at any size.
//
// Its layers, each usable on its own:
//   WmfFile     bytes to headers and records, every length checked;
//   WmfFrame    where the picture lies and how large it is by nature;
//   WmfPlayer   records onto a QPainter, keeping the device context they
//               change (WmfMapping, WmfObjects, WmfText, WmfBitmap);
//   WmfHandler  this file: the QImageIOHandler over them;
//   WmfPlugin   the image-format plugin (key "wmf", MIME types image/wmf and
//               image/x-wmf, found by content) that offers the handler;
//   WmfImport   registers the plugin's static copy in a program linking it.
// The same sources build the plugin as a module (libpiksorwmf.so) that any
// Qt 6 program loads from its imageformats folder.
//
// What it promises: any input, however malformed or hostile, is read in
// bounded time and memory, and nothing is read outside the bytes given.
// wmf::Limits holds the bounds: the file's size, the number of records, saved
// contexts and objects, the pixels of each embedded bitmap and of all of them,
// the time one rendering may take and each side of the picture. A file beyond
// a bound is refused (size) or drawn as far as the bound allows (the rest).

#include "wmf/WmfFile.h"
#include "wmf/WmfFrame.h"

#include <QImageIOHandler>
#include <optional>

// The image-format handler for Windows Metafiles: natural size at 96 pixels
// per inch, drawn directly at a scaled size when one is asked for.
class WmfHandler : public QImageIOHandler {
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant& value) override;
    bool supportsOption(ImageOption option) const override;

    // Whether the device's next bytes start a metafile (it is not consumed).
    static bool canRead(QIODevice* device);

private:
    bool load() const;

    mutable bool m_loaded = false;
    mutable std::optional<wmf::File> m_file;
    mutable std::optional<wmf::Frame> m_frame;
    QSize m_scaledSize;
    wmf::Limits m_limits;
};
