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
    qint64 claimed = 0;  // the pixels a decoder allocates, as the header says
    qint64 possible = 0; // the most of them that the file's bytes can define
};

// Each reads a header as the decoder of its format does. Nothing when the
// decoder would refuse that header anyway.
//
// BMP: uncompressed rows hold their bits per pixel; a run of the run-length
// codings fills at most 255 pixels from two bytes. Pixels skipped by the
// end-of-line, delta and end-of-bitmap escapes cost nothing and so are not
// counted as data.
std::optional<PixelClaim> BmpClaim(const ByteSource& file);
// JPEG: every block of the first scan costs at least one bit of the data
// after it (a progressive file codes its DC coefficients first; one that
// starts with AC coefficients can hold nothing). The arithmetic coding can
// code a flat area in less and is held to the same rule.
std::optional<PixelClaim> JpegClaim(const ByteSource& file);
// GIF: the canvas of the first frame; an LZW code of b bits stands for at most
// 2^b pixels, so a bit of data yields at most 4096 / 12 pixels.
std::optional<PixelClaim> GifClaim(const ByteSource& file);
// ICO and CUR: image index of the directory. A PNG image inflates at most
// 1032 bytes from one; a device-independent bitmap holds its bits per pixel.
std::optional<PixelClaim> IconClaim(const ByteSource& file, int index);

// Whether a decoder may be given the file: what it claims is at most sixteen
// times what its bytes can hold (a file cut short still shows what it has),
// or no more than an icon of 256 x 256 pixels, which costs next to nothing.
bool ClaimCredible(const PixelClaim& claim);
