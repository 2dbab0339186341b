#!/usr/bin/env python3
"""Writes the seed corpus of the picture fuzz target: small BMP, GIF, ICO, CUR
and JPEG files that between them use every layout and coding the readers
know. JPEG files are made with ImageMagick's convert. Run from the repository
root:
    python3 fuzz/make_picture_seeds.py fuzz/picture-corpus
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 9, 7


def pixel(x, y):
    return ((x * 40) % 256, (y * 50) % 256, ((x + y) * 30) % 256)


def rows(width, height, encode, bottom_up=True):
    """Bottom row first unless told otherwise, each padded to four bytes."""
    out = b""
    for y in reversed(range(height)) if bottom_up else range(height):
        row = encode(y)
        out += row + b"\0" * (-len(row) % 4)
    return out


def pack_bits(values, bits):
    out, acc, held = bytearray(), 0, 0
    for v in values:
        acc = (acc << bits) | v
        held += bits
        while held >= 8:
            held -= 8
            out.append((acc >> held) & 0xFF)
    if held:
        out.append((acc << (8 - held)) & 0xFF)
    return bytes(out)


def info(width, height, bits, compression=0, size=40, colours=0, data=0):
    head = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, data,
                       2835, 2835, colours, 0)
    return head + b"\0" * (size - 40)


def bmp(dib_info, palette, data):
    offset = 14 + len(dib_info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + dib_info + \
        palette + data


def palette(n):
    return b"".join(bytes([i * 255 // max(1, n - 1), 255 - i * 255 // max(1, n - 1),
                           (i * 97) % 256, 0]) for i in range(n))


def bmps():
    out = {}
    for bits in (1, 4, 8):
        n = 1 << bits
        data = rows(W, H, lambda y: pack_bits([(x + y) % n for x in range(W)], bits))
        out["bmp-%dbit.bmp" % bits] = bmp(info(W, H, bits, colours=n), palette(n), data)
    data = rows(W, H, lambda y: b"".join(struct.pack(
        "<H", (pixel(x, y)[0] >> 3) << 10 | (pixel(x, y)[1] >> 3) << 5 | pixel(x, y)[2] >> 3)
        for x in range(W)))
    out["bmp-16bit.bmp"] = bmp(info(W, H, 16), b"", data)
    rgb = rows(W, H, lambda y: b"".join(bytes(reversed(pixel(x, y))) for x in range(W)))
    out["bmp-24bit.bmp"] = bmp(info(W, H, 24), b"", rgb)
    out["bmp-24bit-cut.bmp"] = bmp(info(W, H, 24), b"", rgb)[:-40]
    top_down = rows(W, H, lambda y: b"".join(bytes(reversed(pixel(x, y))) for x in range(W)),
                    bottom_up=False)
    out["bmp-top-down.bmp"] = bmp(info(W, -H, 24), b"", top_down)
    argb = rows(W, H, lambda y: b"".join(bytes(reversed(pixel(x, y))) + bytes([x * 28])
                                        for x in range(W)))
    out["bmp-32bit.bmp"] = bmp(info(W, H, 32), b"", argb)
    masks = struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    v4 = struct.pack("<IiiHHIIiiII", 108, W, H, 1, 32, 3, len(argb), 0, 0, 0, 0) + masks + \
        b"sRGB" + b"\0" * 48
    out["bmp-v4-alpha.bmp"] = bmp(v4, b"", argb)
    v5 = v4.replace(struct.pack("<I", 108), struct.pack("<I", 124), 1) + b"\0" * 16
    out["bmp-v5.bmp"] = bmp(v5, b"", argb)
    rgb565 = rows(W, H, lambda y: b"".join(struct.pack("<H", (x * 3) << 11 | (y * 9) << 5 | x)
                                          for x in range(W)))
    out["bmp-bitfields-565.bmp"] = bmp(info(W, H, 16, 3), struct.pack("<III", 0xF800, 0x7E0, 0x1F),
                                       rgb565)
    core = struct.pack("<IhhHH", 12, W, H, 1, 24)
    out["bmp-os2.bmp"] = bmp(core, b"", rgb)
    # Run-length 8: encoded runs, an absolute run, a delta, end of line and of
    # bitmap.
    rle8 = bytes([3, 1, 0, 4, 2, 3, 4, 5, 6, 2, 0, 0]) + bytes([0, 2, 2, 1, 5, 7, 0, 0]) + \
        bytes([W, 3, 0, 0, 0, 1])
    out["bmp-rle8.bmp"] = bmp(info(W, H, 8, 1, colours=8, data=len(rle8)), palette(8), rle8)
    rle4 = bytes([4, 0x12, 0, 3, 0x34, 0x50, 5, 0x67, 0, 0, 0, 2, 1, 1, 3, 0xAB, 0, 1])
    out["bmp-rle4.bmp"] = bmp(info(W, H, 4, 2, colours=16, data=len(rle4)), palette(16), rle4)
    return out


def lzw(indices, min_bits):
    """GIF's LZW, least significant bit first, with a clear code when full."""
    clear, end = 1 << min_bits, (1 << min_bits) + 1
    width, table = min_bits + 1, {(i,): i for i in range(clear)}
    codes, word = [(clear, width)], ()
    for i in indices:
        if word + (i,) in table:
            word += (i,)
            continue
        codes.append((table[word], width))
        if len(table) + 2 < 4096:
            table[word + (i,)] = len(table) + 2
            if len(table) + 2 > (1 << width) and width < 12:
                width += 1
        word = (i,)
    codes.append((table[word], width))
    codes.append((end, width))
    out, acc, held = bytearray(), 0, 0
    for code, bits in codes:
        acc |= code << held
        held += bits
        while held >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            held -= 8
    if held:
        out.append(acc & 0xFF)
    return bytes(out)


def blocks(data):
    return b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                    for i in range(0, len(data), 255)) + b"\0"


def gif_frame(left, top, width, height, indices, local=None, interlaced=False, control=None):
    out = b""
    if control is not None:
        out += b"\x21\xF9\x04" + bytes([control, 10, 0, 1]) + b"\0"
    flags = (0x80 | 1) if local else 0
    flags |= 0x40 if interlaced else 0
    out += b"\x2C" + struct.pack("<HHHHB", left, top, width, height, flags)
    if local:
        out += local
    return out + b"\x02" + blocks(lzw(indices, 2))


def gifs():
    colours = bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255])
    image = [(x * y) % 4 for y in range(H) for x in range(W)]
    head = struct.pack("<HHBBB", W, H, 0x81, 0, 0) + colours
    out = {"gif87a.gif": b"GIF87a" + head + gif_frame(0, 0, W, H, image) + b"\x3B"}
    loop = b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    comment = b"\x21\xFE" + blocks(b"seed")
    out["gif-animated.gif"] = b"GIF89a" + head + loop + comment + \
        gif_frame(0, 0, W, H, image, control=0x05) + \
        gif_frame(2, 1, 4, 3, [1] * 12, local=bytes(range(12)), control=0x09) + b"\x3B"
    out["gif-interlaced.gif"] = b"GIF89a" + head + gif_frame(0, 0, W, H, image, interlaced=True) \
        + b"\x3B"
    out["gif-offset-frame.gif"] = b"GIF89a" + head + gif_frame(3, 2, 4, 4, [2] * 16) + b"\x3B"
    no_screen = struct.pack("<HHBBB", 0, 0, 0x81, 0, 0) + colours
    out["gif-no-screen.gif"] = b"GIF89a" + no_screen + gif_frame(0, 0, W, H, image) + b"\x3B"
    return out


def png(width, height):
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) + b"\xFF" for x in range(width))
                   for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) \
        + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def icon_dib(size, bits):
    colours = 1 << bits if bits <= 8 else 0
    if bits <= 8:
        xor = rows(size, size, lambda y: pack_bits([(x ^ y) % colours for x in range(size)], bits))
    else:
        xor = rows(size, size, lambda y: b"".join(bytes(reversed(pixel(x, y))) +
                                                  (b"\x80" if bits == 32 else b"")
                                                  for x in range(size)))
    mask = rows(size, size, lambda y: pack_bits([(x + y) % 2 for x in range(size)], 1))
    return info(size, 2 * size, bits, colours=colours) + palette(colours) + xor + mask


def icon(kind, images):
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        second = (size // 2, size // 2) if kind == 2 else (1, bits)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, *second, len(data), offset)
        offset += len(data)
    return out + b"".join(d for _, _, d in images)


def icons():
    out = {}
    for bits in (1, 4, 8, 24, 32):
        out["ico-%dbit.ico" % bits] = icon(1, [(16, bits, icon_dib(16, bits))])
    out["ico-sizes.ico"] = icon(1, [(16, 32, icon_dib(16, 32)), (24, 8, icon_dib(24, 8)),
                                    (8, 4, icon_dib(8, 4))])
    out["ico-png.ico"] = icon(1, [(16, 32, icon_dib(16, 32)), (32, 32, png(32, 32))])
    out["cur-two.cur"] = icon(2, [(32, 1, icon_dib(32, 1)), (16, 32, icon_dib(16, 32))])
    return out


def exif(jpeg, orientation):
    tiff = b"MM\0*\0\0\0\x08" + struct.pack(">HHHIHH", 1, 0x0112, 3, 1, orientation, 0) + b"\0" * 4
    payload = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xFF\xE1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:]


def jpegs():
    out = {}
    with tempfile.TemporaryDirectory() as work:
        ppm = os.path.join(work, "in.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 %d %d 255\n" % (24, 16))
            f.write(b"".join(bytes(pixel(x, y)) for y in range(16) for x in range(24)))
        variants = {
            "jpeg-420.jpg": ["-sampling-factor", "2x2"],
            "jpeg-444.jpg": ["-sampling-factor", "1x1"],
            "jpeg-grey.jpg": ["-colorspace", "Gray"],
            "jpeg-progressive.jpg": ["-interlace", "Plane"],
            "jpeg-restarts.jpg": ["-define", "jpeg:restart-interval=1"],
            "jpeg-cmyk.jpg": ["-colorspace", "CMYK"],
        }
        for name, options in variants.items():
            target = os.path.join(work, name)
            subprocess.run(["convert", ppm, "-quality", "70"] + options + ["-strip", target],
                           check=True)
            with open(target, "rb") as f:
                out[name] = f.read()
    out["jpeg-exif-turned.jpg"] = exif(out["jpeg-420.jpg"], 6)
    # Arithmetic coding: a frame, a scan and a few bytes of data.
    out["jpeg-arithmetic.jpg"] = b"\xFF\xD8\xFF\xDB\0\x43\0" + b"\x01" * 64 + \
        b"\xFF\xC9\0\x0B\x08\0\x10\0\x18\x01\x01\x11\0" + \
        b"\xFF\xDA\0\x08\x01\x01\0\0\x3F\0" + bytes(range(40)) + b"\xFF\xD9"
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "fuzz/picture-corpus"
    os.makedirs(folder, exist_ok=True)
    for group in (bmps(), gifs(), icons(), jpegs()):
        for name, data in group.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
