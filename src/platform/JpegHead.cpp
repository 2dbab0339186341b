#include "platform/JpegHead.h"

namespace {

int byteAt(const QByteArray& b, qint64 at) {
    return quint8(b[at]);
}

int be16(const QByteArray& b, qint64 at) {
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}

// The TIFF structure of an EXIF block: numbers in its byte order, and
// whether a run of bytes lies inside it.
class Tiff {
public:
    explicit Tiff(QByteArray bytes) : m_bytes(std::move(bytes)) {
        if (m_bytes.startsWith("II"))
            m_order = Order::Little;
        else if (m_bytes.startsWith("MM"))
            m_order = Order::Big;
    }
    bool sound() const { return m_order != Order::None && has(0, 8) && u16(2) == 42; }
    bool has(qint64 at, qint64 length) const {
        return at >= 0 && length >= 0 && at + length <= m_bytes.size();
    }
    quint32 u16(qint64 at) const { return quint32(number(at, 2)); }
    quint32 u32(qint64 at) const { return quint32(number(at, 4)); }
    QByteArray bytes(qint64 at, qint64 length) const { return m_bytes.mid(at, length); }

private:
    qint64 number(qint64 at, int length) const {
        qint64 v = 0;
        for (int i = 0; i < length; ++i)
            v = v << 8 | byteAt(m_bytes, at + (m_order == Order::Big ? i : length - 1 - i));
        return v;
    }
    enum class Order { None, Little, Big };
    QByteArray m_bytes;
    Order m_order = Order::None;
};

constexpr int kEntryBytes = 12;
constexpr int kShort = 3, kLong = 4;

// An image directory whose entries and pointer to the next one lie inside
// the block.
struct Directory {
    qint64 at = 0;
    int count = 0;
    qint64 end = 0; // just past the pointer to the next directory
    quint32 next = 0;
};

// The directory at an offset, read only forward of where the last one ended
// (as the decoder reads them): no directory is read twice.
std::optional<Directory> directoryAt(const Tiff& t, qint64 at, qint64 from) {
    if (at < from || !t.has(at, 2))
        return std::nullopt;
    Directory d;
    d.at = at;
    d.count = int(t.u16(at));
    d.end = at + 2 + qint64(kEntryBytes) * d.count + 4;
    if (!t.has(at, d.end - at))
        return std::nullopt;
    d.next = t.u32(d.end - 4);
    return d;
}

// The first entry of the directory with the tag: where its type is.
std::optional<qint64> entryOf(const Tiff& t, const Directory& d, quint32 tag) {
    for (int i = 0; i < d.count; ++i) {
        const qint64 entry = d.at + 2 + qint64(kEntryBytes) * i;
        if (t.u16(entry) == tag)
            return entry + 2;
    }
    return std::nullopt;
}

// The orientation the decoder finds in a directory: nothing when it has no
// orientation entry; an entry that is not one short of 1 to 8 turns nothing.
std::optional<int> orientationIn(const Tiff& t, const Directory& d) {
    const std::optional<qint64> entry = entryOf(t, d, 0x0112);
    if (!entry)
        return std::nullopt;
    const quint32 value = t.u16(*entry + 6);
    const bool sound =
        t.u16(*entry) == kShort && t.u32(*entry + 2) == 1 && value >= 1 && value <= 8;
    return sound ? int(value) : 1;
}

// A number of one short or long.
std::optional<quint32> numberIn(const Tiff& t, const Directory& d, quint32 tag) {
    const std::optional<qint64> entry = entryOf(t, d, tag);
    if (!entry || t.u32(*entry + 2) != 1)
        return std::nullopt;
    const quint32 type = t.u16(*entry);
    if (type == kShort)
        return t.u16(*entry + 6);
    if (type == kLong)
        return t.u32(*entry + 6);
    return std::nullopt;
}

// The bytes the second directory's JPEG interchange offset and length name,
// when they lie inside the block.
QByteArray previewIn(const Tiff& t, const Directory& d) {
    const std::optional<quint32> offset = numberIn(t, d, 0x0201);
    const std::optional<quint32> length = numberIn(t, d, 0x0202);
    if (!offset || !length || *length == 0 || !t.has(*offset, *length))
        return {};
    return t.bytes(*offset, *length);
}

// The orientation and the preview of an EXIF block (the TIFF structure after
// "Exif\0\0"). The decoder reads the orientation from the first directory
// that has one, up to ten of them; past the second one this reader does not
// follow, and gives no preview when the decoder would.
void readExif(const Tiff& t, JpegHead& head) {
    if (!t.sound())
        return;
    const std::optional<Directory> first = directoryAt(t, t.u32(4), 8);
    if (!first)
        return;
    std::optional<int> orientation = orientationIn(t, *first);
    head.orientation = orientation.value_or(1);
    const std::optional<Directory> second =
        first->next != 0 ? directoryAt(t, first->next, first->end) : std::nullopt;
    if (!second)
        return;
    if (!orientation) {
        orientation = orientationIn(t, *second);
        if (!orientation && second->next != 0)
            return;
        head.orientation = orientation.value_or(1);
    }
    head.preview = previewIn(t, *second);
}

// Frame headers the decoder reads: Huffman baseline, extended and
// progressive; arithmetic sequential and progressive.
bool isReadFrame(int marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

} // namespace

std::optional<JpegHead> ReadJpegHead(const ByteSource& file) {
    const QByteArray start = file.read(0, 2);
    if (start.size() < 2 || byteAt(start, 0) != 0xFF || byteAt(start, 1) != 0xD8)
        return std::nullopt;
    JpegHead head;
    bool firstApp1 = true;
    qint64 pos = 2;
    for (int step = 0; step < kMostHeadMarkers; ++step) {
        const QByteArray m = file.read(pos, kMarkerPeek);
        if (m.size() < 2 || byteAt(m, 0) != 0xFF)
            return std::nullopt;
        const int marker = byteAt(m, 1);
        if (marker == 0xFF) { // a fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length follows
            pos += 2;
            continue;
        }
        if (m.size() < 4 || be16(m, 2) < 2)
            return std::nullopt;
        const int length = be16(m, 2);
        if (isReadFrame(marker)) {
            // Precision, height and width; the decoder reads 8-bit samples only.
            if (length < 8 || m.size() < 9 || byteAt(m, 4) != 8)
                return std::nullopt;
            head.stored = QSize(be16(m, 7), be16(m, 5));
            if (head.stored.isEmpty())
                return std::nullopt;
            return head;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return std::nullopt; // a frame the decoder does not read
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return std::nullopt;
        if (marker == 0xE1 && firstApp1) {
            firstApp1 = false;
            if (m.size() == kMarkerPeek && m.mid(4, 6) == QByteArray("Exif\0\0", 6)) {
                const QByteArray segment = file.read(pos + 4, length - 2);
                if (segment.size() != length - 2)
                    return std::nullopt;
                readExif(Tiff(segment.mid(6)), head);
            }
        }
        pos += 2 + length;
    }
    return std::nullopt;
}
