// Splitting a metafile into its records. All arithmetic on sizes read from
// the file is done in 64 bits before it is compared with what remains.
#include "wmf/WmfFile.h"

#include "wmf/WmfRecords.h"

namespace wmf {

namespace {

constexpr quint32 kPlaceableMagic = 0x9AC6CDD7;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;
constexpr qsizetype kRecordHeaderBytes = 6;

quint32 read(const QByteArray& b, qsizetype at, int count) {
    quint32 v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

bool plainHeaderAt(QByteArrayView b, qsizetype at) {
    if (b.size() - at < 4)
        return false;
    const quint16 type = quint8(b[at]) | quint16(quint8(b[at + 1])) << 8;
    const quint16 words = quint8(b[at + 2]) | quint16(quint8(b[at + 3])) << 8;
    return (type == 1 || type == 2) && words == 9;
}

} // namespace

bool LooksLikeWmf(QByteArrayView head) {
    if (head.size() >= 4) {
        const quint32 magic = quint8(head[0]) | quint8(head[1]) << 8 | quint8(head[2]) << 16 |
                              quint32(quint8(head[3])) << 24;
        if (magic == kPlaceableMagic)
            return true;
    }
    return plainHeaderAt(head, 0);
}

std::optional<File> ParseWmf(QByteArray data, const Limits& limits) {
    if (data.size() > limits.maxFileBytes || !LooksLikeWmf(data))
        return std::nullopt;
    File file;
    qsizetype at = 0;
    if (read(data, 0, 4) == kPlaceableMagic) {
        if (data.size() < kPlaceableBytes)
            return std::nullopt;
        Placeable p;
        p.left = qint16(read(data, 6, 2));
        p.top = qint16(read(data, 8, 2));
        p.right = qint16(read(data, 10, 2));
        p.bottom = qint16(read(data, 12, 2));
        p.unitsPerInch = quint16(read(data, 14, 2));
        file.placeable = p;
        at = kPlaceableBytes;
        if (!plainHeaderAt(data, at))
            return std::nullopt;
    }
    if (data.size() - at < kHeaderBytes)
        return std::nullopt;
    file.objectCount = quint16(read(data, at + 10, 2));
    at += kHeaderBytes;

    while (data.size() - at >= kRecordHeaderBytes && file.records.size() < limits.maxRecords) {
        const qint64 bytes = qint64(read(data, at, 4)) * 2;
        const quint16 function = quint16(read(data, at + 4, 2));
        if (bytes < kRecordHeaderBytes || bytes > data.size() - at)
            break;
        if (function == EOF_)
            break;
        file.records.append(
            {function, at + kRecordHeaderBytes, qsizetype(bytes) - kRecordHeaderBytes});
        at += qsizetype(bytes);
    }
    if (file.records.isEmpty())
        return std::nullopt;
    file.data = std::move(data);
    return file;
}

quint32 Params::le(qint64 byteOffset, int count) const {
    if (byteOffset < 0 || byteOffset > m_size - count) {
        m_ok = false;
        return 0;
    }
    quint32 v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = (v << 8) | quint8(m_data[byteOffset + i]);
    return v;
}

QByteArrayView Params::bytes(qint64 byteOffset, qint64 count) const {
    if (byteOffset < 0 || count < 0 || byteOffset > m_size || count > m_size - byteOffset) {
        m_ok = false;
        return {};
    }
    return QByteArrayView(m_data + byteOffset, qsizetype(count));
}

} // namespace wmf
