#pragma once

// What a picture file's header claims, set against what its bytes can hold.
// A decoder allocates the picture its header claims before it reads a pixel,
// and fills what the data does not reach: a file of 154 bytes that claims
// 16000 x 16000 pixels costs a gigabyte and seconds. These functions read
// only headers, as the decoders read them, so that such a file is refused
// before any decoder sees it.
#include <QByteArray>
#include <optional>

// A file's bytes at any offset; fewer, or none, past its end.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    virtual QByteArray read(qint64 offset, qint64 length) const = 0;
};

// Bytes held in memory.
class BufferSource final : public ByteSource {
public:
    explicit BufferSource(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    qint64 size() const override { return m_bytes.size(); }
    QByteArray read(qint64 offset, qint64 length) const override;

private:
    QByteArray m_bytes;
};

struct PixelClaim {
    qint64 claimed = 0; // the pixels a decoder allocates, as the header says
    qint64 allowed = 0; // the most a decoder is given for the file's bytes
};

// Each reads a header as the decoder of its format does. Nothing when the
// decoder would refuse that header anyway. What the bytes can define is the
// best the format can do; a decoder is allowed that, or sixteen times that
// where a file cut short, or one that skips pixels for nothing, deserves it.
//
// BMP: uncompressed rows hold their bits per pixel (sixteen times: a cut file
// still shows its rows). A run of the run-length codings fills at most 255
// pixels from two bytes; pixels skipped by the end-of-line, delta and
// end-of-bitmap escapes cost no data, and sixteen times the runs are allowed.
std::optional<PixelClaim> BmpClaim(const ByteSource& file);
// JPEG: every block of the first scan costs at least one bit of the data
// after it with Huffman coding (a progressive file codes its DC coefficients
// first; one that starts with AC coefficients is allowed nothing). The
// arithmetic coding can code a flat area in less: sixteen times that.
std::optional<PixelClaim> JpegClaim(const ByteSource& file);
// GIF: the canvas of the first frame; an LZW code of b bits stands for at most
// 2^b pixels, so a bit of data yields at most 4096 / 12 pixels.
std::optional<PixelClaim> GifClaim(const ByteSource& file);
// ICO and CUR: image index of the directory. A PNG image inflates at most
// 1032 bytes from one; a device-independent bitmap holds its bits per pixel
// (sixteen times, as a BMP).
std::optional<PixelClaim> IconClaim(const ByteSource& file, int index);

// Whether a decoder may be given the file: it claims no more than it is
// allowed, or no more than an icon of 256 x 256 pixels, which costs next to
// nothing whatever the file holds.
bool ClaimCredible(const PixelClaim& claim);
