#include "thumbs/PngText.h"

#include <array>

namespace {
constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype SignatureSize = 8;

quint32 be32(const QByteArray& b, qsizetype at) {
    return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16) |
           (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
}

void appendBe32(QByteArray& out, quint32 v) {
    out.append(char(v >> 24));
    out.append(char(v >> 16));
    out.append(char(v >> 8));
    out.append(char(v));
}

// One chunk of a PNG: where its data starts and how long it is.
struct Chunk {
    QByteArray type;
    qsizetype data = 0;
    qsizetype length = 0;
};

// Walks the chunks after the signature; stops at the first one that does not
// fit in the bytes. Returns the position after the last whole chunk.
template <typename Visit> qsizetype walk(const QByteArray& png, Visit visit) {
    qsizetype at = SignatureSize;
    while (at + 12 <= png.size()) {
        const quint32 length = be32(png, at);
        if (length > 0x7fffffffu || qsizetype(length) > png.size() - at - 12)
            break;
        Chunk c{png.mid(at + 4, 4), at + 8, qsizetype(length)};
        at += 12 + qsizetype(length);
        if (!visit(c))
            break;
    }
    return at;
}

bool isPng(const QByteArray& png) {
    return png.size() >= SignatureSize + 25 &&
           png.startsWith(QByteArray(Signature, SignatureSize)) &&
           png.mid(SignatureSize + 4, 4) == "IHDR" && be32(png, SignatureSize) == 13;
}

bool isText(const QByteArray& type) {
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

// The tags whose compressed text is read (each once): other programs' PNG
// encoders compress long values such as the URI.
bool readsCompressed(const QByteArray& key, const PngTags& read) {
    static const QList<QByteArray> keys{"Thumb::URI", "Thumb::MTime", "Thumb::Size",
                                        "Thumb::Image::Width", "Thumb::Image::Height"};
    return keys.contains(key) && !read.contains(key);
}

// Compressed text (zlib data) of a few kilobytes at most, inflated to at
// most 64 KiB; empty when it is more or not whole.
QByteArray inflated(const QByteArray& z) {
    if (z.isEmpty() || z.size() > 4096)
        return QByteArray();
    // qUncompress wants the inflated size first; none is known.
    const QByteArray out = qUncompress(QByteArray(4, '\0') + z);
    return out.size() <= 65536 ? out : QByteArray();
}
} // namespace

quint32 PngCrc(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xffffffffu;
    for (const char b : bytes)
        c = table[(c ^ quint8(b)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

PngSummary ReadPngSummary(const QByteArray& png) {
    PngSummary out;
    if (!isPng(png))
        return out;
    const quint32 w = be32(png, SignatureSize + 8);
    const quint32 h = be32(png, SignatureSize + 12);
    // A side beyond 2^31 - 1 is no valid PNG.
    if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu)
        return out;
    out.size = QSize(int(w), int(h));
    bool ended = false;
    const qsizetype end = walk(png, [&](const Chunk& c) {
        if (c.type == "IEND") {
            ended = true;
            return false;
        }
        if (!isText(c.type))
            return true;
        const QByteArray data = png.mid(c.data, c.length);
        const qsizetype zero = data.indexOf('\0');
        if (zero <= 0)
            return true;
        const QByteArray key = data.left(zero);
        if (c.type == "tEXt") {
            out.text.insert(key, data.mid(zero + 1));
        } else if (c.type == "zTXt") {
            // Compression method 0, then the zlib data.
            if (data.size() > zero + 1 && data[zero + 1] == 0 && readsCompressed(key, out.text))
                out.text.insert(key, inflated(data.mid(zero + 2)));
        } else if (data.size() > zero + 2 && data[zero + 2] == 0) {
            // International text: compressed or not, method 0; language and
            // translated keyword skipped.
            const bool compressed = data[zero + 1] != 0;
            const qsizetype lang = data.indexOf('\0', zero + 3);
            const qsizetype trans = lang < 0 ? -1 : data.indexOf('\0', lang + 1);
            if (trans >= 0 && !compressed)
                out.text.insert(key, data.mid(trans + 1));
            else if (trans >= 0 && readsCompressed(key, out.text))
                out.text.insert(key, inflated(data.mid(trans + 1)));
        }
        return true;
    });
    out.complete = ended && end == png.size();
    return out;
}

QByteArray WithPngText(const QByteArray& png, const QList<QPair<QByteArray, QByteArray>>& tags) {
    if (!isPng(png))
        return QByteArray();
    QByteArray out = png.left(SignatureSize);
    walk(png, [&](const Chunk& c) {
        if (isText(c.type))
            return true;
        out.append(png.mid(c.data - 8, c.length + 12));
        if (c.type != "IHDR")
            return true;
        for (const auto& [key, value] : tags) {
            QByteArray body = "tEXt" + key;
            body.append('\0');
            body.append(value);
            appendBe32(out, quint32(body.size() - 4));
            out.append(body);
            appendBe32(out, PngCrc(body));
        }
        return true;
    });
    return out;
}
