#pragma once

#include "platform/JpegHead.h"
#include "platform/PictureClaim.h"

// A file's bytes, held in memory, that count what is read of them.
class CountedSource final : public ByteSource {
public:
    explicit CountedSource(QByteArray bytes) : m_file(std::move(bytes)) {}
    qint64 size() const override { return m_file.size(); }
    QByteArray read(qint64 offset, qint64 length) const override {
        QByteArray out = m_file.read(offset, length);
        m_bytes += out.size();
        m_segments += out.size() > kMarkerPeek;
        return out;
    }
    // Whether no more was read than a JPEG's head: a peek at each marker, one segment.
    bool headOnly() const {
        return m_segments <= 1 && m_bytes <= 0xFFFF + kMostHeadMarkers * kMarkerPeek;
    }

private:
    BufferSource m_file;
    mutable qint64 m_bytes = 0;
    mutable int m_segments = 0;
};
