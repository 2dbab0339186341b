#pragma once

#include "platform/wmf/WmfFile.h"
#include "platform/wmf/WmfFrame.h"

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
