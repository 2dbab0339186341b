#include "thumbs/PngWrite.h"

#include <csetjmp>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace {
void append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void flush(png_structp) {}

// One row of 32-bit pixels as the bytes of a PNG row: R G B, or R G B A.
void packRow(const QRgb* from, int width, bool alpha, png_byte* to) {
    for (int x = 0; x < width; ++x) {
        *to++ = png_byte(qRed(from[x]));
        *to++ = png_byte(qGreen(from[x]));
        *to++ = png_byte(qBlue(from[x]));
        if (alpha)
            *to++ = png_byte(qAlpha(from[x]));
    }
}

// libpng reports its errors by a long jump back here: nothing between the
// jump and its target has a destructor to run.
bool encode(const QImage& pixels, bool alpha, std::vector<png_byte>& row, QByteArray& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, png_uint_32(pixels.width()), png_uint_32(pixels.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    for (int y = 0; y < pixels.height(); ++y) {
        packRow(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), pixels.width(), alpha,
                row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}
} // namespace

QByteArray EncodeThumbnailPng(const QImage& image) {
    if (image.isNull())
        return QByteArray();
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<png_byte> row(std::size_t(pixels.width()) * (alpha ? 4 : 3));
    QByteArray out;
    out.reserve(qsizetype(row.size()) * pixels.height() / 2);
    if (!encode(pixels, alpha, row, out))
        return QByteArray();
    return out;
}
