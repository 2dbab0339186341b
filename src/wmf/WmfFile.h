#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// The byte layer of the Windows Metafile reader: the headers and the record
// list, every length checked against what the file holds. Nothing here draws.
namespace wmf {

// Limits that keep a malformed or hostile file from costing without bound.
struct Limits {
    qsizetype maxFileBytes = qsizetype(128) << 20;
    qsizetype maxRecords = 1'000'000;
    int maxSavedStates = 128;
    int maxObjects = 65535;
    qint64 maxBitmapPixels = qint64(16) << 20;      // one embedded bitmap
    qint64 maxTotalBitmapPixels = qint64(48) << 20; // all bitmaps of one rendering
    int maxRenderMilliseconds = 5000;
    int maxSide = 8192; // natural and rendered size, each side
};

// The placeable header some writers put before the metafile: the picture's
// box in metafile units and how many of those make an inch.
struct Placeable {
    qint16 left = 0, top = 0, right = 0, bottom = 0;
    quint16 unitsPerInch = 0;
};

struct Record {
    quint16 function = 0;
    qsizetype offset = 0; // of the parameters, in the file
    qsizetype size = 0;   // bytes of parameters
};

struct File {
    QByteArray data;
    std::optional<Placeable> placeable;
    quint16 objectCount = 0; // the object table's size the header states
    QList<Record> records;   // up to, not including, the end record
};

// Whether the first bytes start a metafile: the placeable magic, or a plain
// header of type 1 (memory) or 2 (disk) with a header size of nine words.
bool LooksLikeWmf(QByteArrayView head);

// Reads the headers and splits the records. A record whose size is below the
// three-word minimum or runs past the end ends the list (what came before is
// kept); nullopt when the headers are not a metafile's or no record is
// readable.
std::optional<File> ParseWmf(QByteArray data, const Limits& limits = {});

// Little-endian reads from one record's parameters. Reads past the end give 0
// and clear ok(), so callers check has() first or ok() after.
class Params {
public:
    Params(const File& file, const Record& record)
        : m_data(file.data.constData() + record.offset), m_size(record.size) {}
    Params(const char* data, qsizetype size) : m_data(data), m_size(size) {}

    qsizetype size() const { return m_size; }
    bool has(qint64 bytes) const { return bytes >= 0 && bytes <= m_size; }
    // The index-th 16-bit word.
    qint16 s16(qint64 index) const { return qint16(u16(index)); }
    quint16 u16(qint64 index) const { return quint16(le(index * 2, 2)); }
    quint32 u32At(qint64 byteOffset) const { return le(byteOffset, 4); }
    quint16 u16At(qint64 byteOffset) const { return quint16(le(byteOffset, 2)); }
    quint8 u8At(qint64 byteOffset) const { return quint8(le(byteOffset, 1)); }
    QByteArrayView bytes(qint64 byteOffset, qint64 count) const;
    bool ok() const { return m_ok; }

private:
    quint32 le(qint64 byteOffset, int count) const;

    const char* m_data;
    qsizetype m_size;
    mutable bool m_ok = true;
};

} // namespace wmf
