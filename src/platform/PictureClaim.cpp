#include "platform/PictureClaim.h"

#include <QList>

#include <algorithm>
#include <cstdlib>
#include <limits>

QByteArray BufferSource::read(qint64 offset, qint64 length) const {
    if (offset < 0 || offset >= m_bytes.size() || length <= 0)
        return {};
    return m_bytes.mid(offset, std::min(length, m_bytes.size() - offset));
}

namespace {

// Reads a file through a window, so that walking a header byte by byte costs
// one read per window.
class Cursor {
public:
    explicit Cursor(const ByteSource& file) : m_file(file), m_size(file.size()) {}

    qint64 size() const { return m_size; }
    bool has(qint64 at, qint64 bytes) const {
        return at >= 0 && bytes >= 0 && at + bytes <= m_size;
    }

    // The byte at the offset, or -1 past the end.
    int at(qint64 pos) {
        if (pos < m_start || pos >= m_start + m_window.size()) {
            if (pos < 0 || pos >= m_size)
                return -1;
            m_start = pos;
            m_window = m_file.read(pos, kWindow);
            if (m_window.isEmpty())
                return -1;
        }
        return quint8(m_window[pos - m_start]);
    }
    // Little- and big-endian numbers; bytes past the end read as 0.
    quint32 le(qint64 pos, int bytes) {
        quint32 v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | quint32(std::max(0, at(pos + i)));
        return v;
    }
    quint32 be(qint64 pos, int bytes) {
        quint32 v = 0;
        for (int i = 0; i < bytes; ++i)
            v = (v << 8) | quint32(std::max(0, at(pos + i)));
        return v;
    }

private:
    static constexpr qint64 kWindow = 64 * 1024;
    const ByteSource& m_file;
    const qint64 m_size;
    qint64 m_start = 0;
    QByteArray m_window;
};

qint64 ceilDiv(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}

// Where the bytes' share of the picture is known exactly (uncompressed rows),
// or where the format may skip pixels for nothing (run-length escapes) or
// code them in less than the bound (arithmetic coding), a decoder is allowed
// this many times what the bytes define: a file cut short still shows what it
// has, and a picture that skips much still loads.
constexpr qint64 kSlack = 16;

// The claim when the data can define `units` of the `needed` units the
// picture's pixels are made of, the allowance that many times over.
PixelClaim shareOf(qint64 pixels, qint64 units, qint64 needed, qint64 times) {
    PixelClaim c;
    c.claimed = pixels;
    // (In floating point: the product of two counts can pass 2^63.)
    const double share = double(std::max<qint64>(0, units)) * double(times) / double(needed);
    c.allowed = share >= 1 ? pixels : qint64(double(pixels) * share);
    return c;
}

constexpr int kPngExpansion = 1032; // deflate: 258 bytes from 2 bits at best

// --- BMP ------------------------------------------------------------------

constexpr int kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitfields = 3;

bool bmpLayoutReadable(int bits, int planes, quint32 compression) {
    if (planes != 1)
        return false;
    switch (compression) {
    case kBmpRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBmpRle8:
        return bits == 8;
    case kBmpRle4:
        return bits == 4;
    case kBmpBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// --- JPEG -----------------------------------------------------------------

struct JpegComponent {
    int id = 0, h = 1, v = 1;
};

struct JpegFrame {
    qint64 width = 0, height = 0;
    bool progressive = false;
    bool arithmetic = false;
    QList<JpegComponent> components;
    int maxH = 1, maxV = 1;
};

std::optional<JpegFrame> readJpegFrame(Cursor& c, qint64 pos, qint64 length, bool progressive,
                                       bool arithmetic) {
    JpegFrame f;
    f.progressive = progressive;
    f.arithmetic = arithmetic;
    f.height = c.be(pos + 1, 2);
    f.width = c.be(pos + 3, 2);
    const int count = c.at(pos + 5);
    if (f.width == 0 || f.height == 0 || count <= 0 || length != 6 + 3 * count ||
        !c.has(pos, length))
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        JpegComponent comp;
        comp.id = c.at(pos + 6 + 3 * i);
        const int sampling = c.at(pos + 7 + 3 * i);
        comp.h = sampling >> 4;
        comp.v = sampling & 15;
        if (comp.h < 1 || comp.h > 4 || comp.v < 1 || comp.v > 4)
            return std::nullopt;
        f.maxH = std::max(f.maxH, comp.h);
        f.maxV = std::max(f.maxV, comp.v);
        f.components.append(comp);
    }
    return f;
}

// The blocks the first scan codes, or nothing when it names a component the
// frame lacks.
std::optional<qint64> firstScanBlocks(Cursor& c, qint64 pos, const JpegFrame& f) {
    const int count = c.at(pos);
    if (count < 1 || count > 4 || !c.has(pos, 1 + 2 * count))
        return std::nullopt;
    const qint64 mcus = ceilDiv(f.width, 8 * f.maxH) * ceilDiv(f.height, 8 * f.maxV);
    qint64 blocks = 0;
    for (int i = 0; i < count; ++i) {
        const int id = c.at(pos + 1 + 2 * i);
        const auto comp = std::find_if(f.components.begin(), f.components.end(),
                                       [id](const JpegComponent& k) { return k.id == id; });
        if (comp == f.components.end())
            return std::nullopt;
        if (count == 1) {
            // A scan of one component codes its own blocks, not whole units.
            const qint64 w = ceilDiv(f.width * comp->h, f.maxH);
            const qint64 h = ceilDiv(f.height * comp->v, f.maxV);
            return ceilDiv(w, 8) * ceilDiv(h, 8);
        }
        blocks += mcus * comp->h * comp->v;
    }
    return blocks;
}

bool isSupportedSof(int marker) {
    // Huffman baseline, extended and progressive; arithmetic sequential and
    // progressive. The decoder refuses the lossless and hierarchical kinds.
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

bool isOtherSof(int marker) {
    return marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC &&
           !isSupportedSof(marker);
}

// --- GIF ------------------------------------------------------------------

// The decoder's canvas side: the screen's, or where the first frame ends
// when the screen has no size.
qint64 gifCanvasSide(int screen, int frameStart, int frameLength) {
    return screen > 0 ? screen : qint64(frameStart) + frameLength;
}

// --- ICO ------------------------------------------------------------------

int pngBitsPerPixel(int depth, int colourType) {
    static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    if (colourType < 0 || colourType > 6 || channels[colourType] == 0 || depth <= 0)
        return 0;
    return depth * channels[colourType];
}

} // namespace

std::optional<PixelClaim> BmpClaim(const ByteSource& file) {
    Cursor c(file);
    if (c.at(0) != 'B' || c.at(1) != 'M' || !c.has(14, 12))
        return std::nullopt;
    const quint32 infoSize = c.le(14, 4);
    qint64 width = 0, height = 0;
    int planes = 0, bits = 0;
    quint32 compression = kBmpRgb;
    if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
        if (!c.has(14, 20))
            return std::nullopt;
        width = qint32(c.le(18, 4));
        height = qint32(c.le(22, 4));
        planes = int(c.le(26, 2));
        bits = int(c.le(28, 2));
        compression = c.le(30, 4);
    } else {
        // Any other header is read as the oldest one, with 16-bit sides.
        width = qint16(c.le(18, 2));
        height = qint16(c.le(20, 2));
        planes = int(c.le(22, 2));
        bits = int(c.le(24, 2));
    }
    height = std::abs(height);
    if (!bmpLayoutReadable(bits, planes, compression) || width <= 0 || height <= 0 ||
        height > std::numeric_limits<qint32>::max())
        return std::nullopt;
    const qint64 data = std::max<qint64>(0, c.size() - 14 - infoSize);
    PixelClaim claim;
    claim.claimed = width * height;
    if (compression == kBmpRle8 || compression == kBmpRle4)
        claim.allowed = kSlack * (data / 2 * 255);
    else
        claim.allowed = kSlack * (data * 8 / bits);
    return claim;
}

std::optional<PixelClaim> JpegClaim(const ByteSource& file) {
    Cursor c(file);
    if (c.at(0) != 0xFF || c.at(1) != 0xD8)
        return std::nullopt;
    std::optional<JpegFrame> frame;
    qint64 pos = 2;
    for (;;) {
        // The next marker: bytes before its 0xFF are skipped, as are fill
        // bytes; 0xFF 0x00 is no marker.
        int marker = 0;
        while (marker == 0) {
            while (c.at(pos) != 0xFF) {
                if (c.at(pos) < 0)
                    return std::nullopt;
                ++pos;
            }
            while (c.at(pos) == 0xFF)
                ++pos;
            marker = c.at(pos++);
            if (marker < 0)
                return std::nullopt;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length follows
        if (marker == 0xD8 || marker == 0xD9 || isOtherSof(marker))
            return std::nullopt;
        const qint64 length = c.be(pos, 2);
        if (!c.has(pos, 2) || length < 2)
            return std::nullopt;
        if (isSupportedSof(marker)) {
            if (frame)
                return std::nullopt;
            frame = readJpegFrame(c, pos + 2, length - 2, marker == 0xC2 || marker == 0xCA,
                                  marker == 0xC9 || marker == 0xCA);
            if (!frame)
                return std::nullopt;
        } else if (marker == 0xDA) {
            if (!frame)
                return std::nullopt;
            const std::optional<qint64> blocks = firstScanBlocks(c, pos + 2, *frame);
            if (!blocks)
                return std::nullopt;
            const int count = c.at(pos + 2);
            const int spectralStart = c.at(pos + 3 + 2 * count);
            const qint64 pixels = frame->width * frame->height;
            if (frame->progressive && spectralStart != 0)
                return shareOf(pixels, 0, *blocks, 1);
            const qint64 bits = std::max<qint64>(0, c.size() - pos - length) * 8;
            return shareOf(pixels, bits, *blocks, frame->arithmetic ? kSlack : 1);
        }
        pos += length;
    }
}

std::optional<PixelClaim> GifClaim(const ByteSource& file) {
    Cursor c(file);
    if (!c.has(0, 13) || c.at(0) != 'G' || c.at(1) != 'I' || c.at(2) != 'F')
        return std::nullopt;
    const int screenWidth = int(c.le(6, 2)), screenHeight = int(c.le(8, 2));
    const int flags = c.at(10);
    qint64 pos = 13 + ((flags & 0x80) ? 3 * (2 << (flags & 7)) : 0);
    for (;;) {
        const int introducer = c.at(pos);
        if (introducer == 0x21) {
            // An extension: its label, then blocks up to an empty one.
            pos += 2;
            for (int n = c.at(pos); n > 0; n = c.at(pos))
                pos += n + 1;
            if (c.at(pos) < 0)
                return std::nullopt;
            ++pos;
        } else if (introducer == 0x2C) {
            if (!c.has(pos, 10))
                return std::nullopt;
            const int left = int(c.le(pos + 1, 2)), top = int(c.le(pos + 3, 2));
            const int width = int(c.le(pos + 5, 2)), height = int(c.le(pos + 7, 2));
            PixelClaim claim;
            claim.claimed =
                gifCanvasSide(screenWidth, left, width) * gifCanvasSide(screenHeight, top, height);
            claim.allowed = std::max<qint64>(0, c.size() - pos - 10) * 8 * 4096 / 12;
            return claim;
        } else {
            return std::nullopt; // the trailer or a stray byte: no picture
        }
    }
}

std::optional<PixelClaim> IconClaim(const ByteSource& file, int index) {
    Cursor c(file);
    const int type = int(c.le(2, 2)), count = int(c.le(4, 2));
    if (!c.has(0, 6) || c.le(0, 2) != 0 || (type != 1 && type != 2) || index < 0 ||
        index >= count || !c.has(6 + 16 * qint64(index), 16))
        return std::nullopt;
    const qint64 entry = 6 + 16 * qint64(index);
    const int entryWidth = c.at(entry), entryHeight = c.at(entry + 1);
    const int entryBits = int(c.le(entry + 6, 2));
    const qint64 resourceBytes = c.le(entry + 8, 4);
    const qint64 offset = c.le(entry + 12, 4);
    if (c.be(offset, 4) == 0x89504E47 && c.be(offset + 4, 4) == 0x0D0A1A0A) {
        // A PNG image, read whole by the PNG decoder.
        if (c.be(offset + 12, 4) != 0x49484452) // "IHDR"
            return std::nullopt;
        const int bits = pngBitsPerPixel(c.at(offset + 24), c.at(offset + 25));
        const quint32 width = c.be(offset + 16, 4), height = c.be(offset + 20, 4);
        // Sides above 2^31 - 1 are refused by the PNG decoder.
        if (bits == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
            return std::nullopt;
        const qint64 bytes = std::min(resourceBytes, std::max<qint64>(0, c.size() - offset));
        PixelClaim claim;
        claim.claimed = qint64(width) * height;
        claim.allowed = bytes * kPngExpansion * 8 / bits;
        return claim;
    }
    // A device-independent bitmap: the directory's sides, 0 meaning those of
    // the bitmap's own header (whose height counts the mask rows too).
    if (!c.has(offset, 40))
        return std::nullopt;
    const int headerBits = int(c.le(offset + 14, 2));
    const int bits = headerBits ? headerBits : entryBits;
    const qint64 width = entryWidth ? entryWidth : qint32(c.le(offset + 4, 4));
    const qint64 height = entryHeight ? entryHeight : qint32(c.le(offset + 8, 4)) / 2;
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) ||
        width <= 0 || height <= 0 || width > 256 || height > 256)
        return std::nullopt;
    PixelClaim claim;
    claim.claimed = width * height;
    claim.allowed = kSlack * ((c.size() - offset - 40) * 8 / bits);
    return claim;
}

bool ClaimCredible(const PixelClaim& claim) {
    constexpr qint64 kAlwaysRead = 256 * 256;
    return claim.claimed <= std::max(kAlwaysRead, claim.allowed);
}
