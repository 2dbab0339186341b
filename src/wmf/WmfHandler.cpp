#include "wmf/WmfHandler.h"

#include "wmf/WmfPlayer.h"

#include <QIODevice>
#include <QImage>
#include <QVariant>

bool WmfHandler::canRead(QIODevice* device) {
    return device && device->isReadable() && wmf::LooksLikeWmf(device->peek(4));
}

bool WmfHandler::canRead() const {
    if (m_loaded)
        return m_frame.has_value();
    if (!canRead(device()))
        return false;
    setFormat("wmf");
    return true;
}

// Reads the whole file once (a file beyond the size cap is refused).
bool WmfHandler::load() const {
    if (m_loaded)
        return m_frame.has_value();
    m_loaded = true;
    if (!device())
        return false;
    // In pieces: QIODevice::read(n) reserves all of n at once.
    QByteArray data;
    while (data.size() <= m_limits.maxFileBytes) {
        const QByteArray piece = device()->read(
            std::min<qint64>(qint64(1) << 20, m_limits.maxFileBytes + 1 - data.size()));
        if (piece.isEmpty())
            break;
        data += piece;
    }
    m_file = wmf::ParseWmf(data, m_limits);
    if (m_file)
        m_frame = wmf::ComputeFrame(*m_file, m_limits);
    return m_frame.has_value();
}

bool WmfHandler::read(QImage* image) {
    if (!load())
        return false;
    const QSize size =
        m_scaledSize.isValid() && !m_scaledSize.isEmpty() ? m_scaledSize : m_frame->natural;
    const QImage result = wmf::RenderWmf(*m_file, *m_frame, size, m_limits);
    if (result.isNull())
        return false;
    *image = result;
    return true;
}

QVariant WmfHandler::option(ImageOption option) const {
    switch (option) {
    case Size:
        return load() ? QVariant(m_frame->natural) : QVariant();
    case ScaledSize:
        return m_scaledSize;
    case ImageFormat:
        return QImage::Format_ARGB32_Premultiplied;
    default:
        return {};
    }
}

void WmfHandler::setOption(ImageOption option, const QVariant& value) {
    if (option == ScaledSize)
        m_scaledSize = value.toSize();
}

bool WmfHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ScaledSize || option == ImageFormat;
}
