#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus: small metafiles that between them use
every record the reader plays. Run from the repository root:
    python3 fuzz/make_seeds.py fuzz/corpus
"""
import os
import struct
import sys


def rec(function, payload=b""):
    if len(payload) % 2:
        payload += b"\0"
    return struct.pack("<IH", 3 + len(payload) // 2, function) + payload


def words(*values):
    return b"".join(struct.pack("<H", v & 0xFFFF) for v in values)


def colour(r, g, b):
    return bytes([r, g, b, 0])


def metafile(records, placeable=None, objects=16):
    body = b"".join(records) + rec(0)
    largest = max(struct.unpack_from("<I", r)[0] for r in records + [rec(0)])
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, objects, largest, 0)
    out = header + body
    if placeable:
        p = struct.pack("<IH4hHI", 0x9AC6CDD7, 0, *placeable, 0)
        checksum = 0
        for i in range(10):
            checksum ^= struct.unpack_from("<H", p, 2 * i)[0]
        out = p + struct.pack("<H", checksum) + out
    return out


def dib(width, height, bits, compression, colours, data, header=40):
    h = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, compression, len(data),
                    3780, 3780, len(colours), 0)
    return h + b"".join(bytes([b, g, r, 0]) for (r, g, b) in colours) + data


def pen(style, width, c):
    return rec(0x02FA, words(style, width, 0) + c)


def brush(style, c, hatch=0):
    return rec(0x02FC, words(style) + c + words(hatch))


def font(height, charset, face, width=0, escapement=0):
    p = words(height, width, escapement, escapement, 400) + bytes([0, 1, 1, charset, 0, 0, 0, 0])
    return rec(0x02FB, p + face.ljust(32, b"\0")[:32])


def select(i):
    return rec(0x012D, words(i))


def window(ext_x, ext_y, org_x=0, org_y=0, mode=8):
    return [rec(0x0103, words(mode)), rec(0x020B, words(org_y, org_x)),
            rec(0x020C, words(ext_y, ext_x))]


def stretchdib(x, y, w, h, sw, sh, bitmap, rop=0x00CC0020, usage=0):
    return rec(0x0F43, struct.pack("<I", rop) + words(usage, sh, sw, 0, 0, h, w, y, x) + bitmap)


seeds = {}
seeds["shapes"] = metafile(window(200, 100) + [
    pen(0, 3, colour(0, 0, 0)), select(0), brush(0, colour(255, 0, 0)), select(1),
    rec(0x0324, words(3, 10, 10, 60, 10, 30, 50)),
    rec(0x0325, words(3, 70, 10, 90, 50, 110, 10)),
    rec(0x0538, words(2, 3, 3, 120, 10, 150, 10, 135, 40, 125, 15, 145, 15, 135, 35)),
    rec(0x041B, words(90, 60, 60, 10)), rec(0x0418, words(90, 120, 60, 70)),
    rec(0x061C, words(10, 10, 90, 190, 60, 130)),
    rec(0x0817, words(0, 100, 50, 200, 100, 200, 0, 100)),
    rec(0x081A, words(0, 150, 50, 200, 100, 200, 0, 100)),
    rec(0x0830, words(50, 0, 50, 200, 100, 200, 0, 0)),
    rec(0x0214, words(5, 5)), rec(0x0213, words(95, 195)),
    rec(0x041F, colour(0, 255, 0) + words(3, 3)),
    rec(0x01F0, words(0)), rec(0x01F0, words(1)),
], placeable=(0, 0, 200, 100, 96))
seeds["modes"] = metafile([
    rec(0x0103, words(3)), rec(0x020B, words(0, 0)), rec(0x020C, words(2540, 2540)),
    rec(0x020D, words(10, 10)), rec(0x020E, words(-50, 50)),
    rec(0x0211, words(2, 2)), rec(0x020F, words(5, 5)), rec(0x0410, words(1, 2, 1, 2)),
    rec(0x0412, words(2, 1, 2, 1)), rec(0x0103, words(7)), rec(0x0102, words(2)),
    rec(0x0201, colour(0, 0, 255)), rec(0x0106, words(2)), rec(0x0104, words(7)),
    brush(2, colour(0, 128, 0), 4), select(0), pen(1, 1, colour(1, 2, 3)), select(1),
    rec(0x001E), rec(0x0416, words(800, 800, 100, 100)), rec(0x0415, words(500, 500, 300, 300)),
    rec(0x0324, words(4, 0, 0, 1000, 0, 1000, -1000, 0, -1000)), rec(0x0127, words(0xFFFF)),
    rec(0x001E), rec(0x001E), rec(0x0127, words(1)), rec(0x0220, words(5, 5)),
    rec(0x061D, struct.pack("<I", 0x00F00021) + words(50, 50, 10, 10)),
    rec(0x061D, struct.pack("<I", 0x00550009) + words(50, 50, 10, 10)),
])
seeds["text"] = metafile(window(400, 200) + [
    rec(0x0209, colour(200, 0, 0)), rec(0x0102, words(1)),
    font(-40, 128, b"\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"), select(0),
    rec(0x012E, words(24)), rec(0x0521, words(4) + b"\x93\xfa\x96\x7b" + words(50, 10)),
    font(-30, 134, b"SimSun", 10, 450), select(1), rec(0x012E, words(6 | 8)),
    rec(0x0521, words(4) + b"\xbb\xad\xcf\xf1" + words(100, 200)),
    font(30, 0, b"Arial"), select(2), rec(0x012E, words(1)), rec(0x0108, words(2)),
    rec(0x0A32, words(150, 10, 3, 6, 5, 120, 150, 190) + b"abc\0" + words(20, 20, 20)),
    rec(0x0A32, words(180, 10, 2, 0x2000) + b"xy" + words(10, 0, 10, 0)),
    rec(0x0A32, words(190, 10, 2, 0) + b"\x82\xa0"),
])
redblue = [(255, 0, 0), (0, 0, 255)]
seeds["bitmaps"] = metafile(window(100, 100) + [
    stretchdib(0, 0, 50, 50, 4, 2, dib(4, 2, 8, 1, redblue, b"\x04\x01\x00\x00\x04\x00\x00\x01")),
    stretchdib(50, 0, 50, 50, 4, 2, dib(4, 2, 4, 2, redblue, b"\x04\x11\x00\x00\x04\x00\x00\x01")),
    stretchdib(0, 50, 50, 50, 2, 2, dib(2, 2, 24, 0, [], b"\xff\0\0\0\xff\0\0\0" * 2), 0x008800C6),
    stretchdib(50, 50, -50, 50, 2, 2,
               dib(2, -2, 16, 3, [], b"\x00\xf8\0\0\xe0\x07\0\0\x1f\0\0\0" + b"\x1f\x00" * 4)),
    stretchdib(10, 10, 20, 20, 2, 2, dib(2, 2, 1, 0, [(0, 0, 0), (255, 255, 255)], b"\x80\0\0\0" * 2)),
    rec(0x0B41, struct.pack("<I", 0x00CC0020) + words(2, 2, 0, 0, 30, 30, 60, 60)
        + dib(2, 2, 32, 0, [], b"\x10\x20\x30\x00" * 4)),
    rec(0x0940, struct.pack("<I", 0x00660046) + words(0, 0, 2, 2, 5, 5)
        + dib(2, 2, 8, 0, redblue, b"\x00\x01\0\0\x01\x00\0\0")),
    rec(0x0940, struct.pack("<I", 0x00000042) + words(0, 0, 0, 10, 10, 80, 80)),
    rec(0x0B23, struct.pack("<I", 0x00CC0020) + words(8, 8, 0, 0, 20, 20, 0, 70)
        + words(0, 8, 8, 2) + bytes([1, 1]) + b"\xaa\x00\x55\x00" * 4),
    rec(0x0922, struct.pack("<I", 0x00CC0020) + words(0, 0, 1, 1, 90, 90)
        + words(0, 1, 1, 4) + bytes([1, 24]) + b"\x00\xff\x00\x00"),
    rec(0x0142, words(5, 0) + dib(8, 8, 1, 0, [(0, 0, 0), (255, 255, 0)], b"\xaa\0\0\0\x55\0\0\0" * 4)),
    select(0), rec(0x0418, words(100, 100, 0, 0)),
    rec(0x00F7, words(0x300, 2) + colour(10, 20, 30) + colour(40, 50, 60)), rec(0x0234, words(1)),
    rec(0x0035), stretchdib(0, 0, 10, 10, 2, 2, dib(2, 2, 8, 0, [], b"") + words(0, 1)
        + b"\x00\x01\0\0\x01\x00\0\0", usage=1),
])
region = words(0, 6, 0, 0, 40, 2, 10, 10, 10, 60, 60) \
    + words(2, 10, 30, 10, 60, 2) + words(4, 30, 60, 10, 30, 40, 60, 4)
seeds["regions"] = metafile(window(100, 100) + [
    rec(0x06FF, region), brush(0, colour(0, 0, 255)), rec(0x0228, words(0, 1)),
    select(1), rec(0x012B, words(0)), rec(0x012A, words(0)),
    rec(0x0429, words(0, 1, 2, 2)), rec(0x012C, words(0)),
    rec(0x041B, words(100, 100, 0, 0)), rec(0x012C, words(7)),
    rec(0x0626, words(15, 4) + b"WMFC"), rec(0x0419, colour(1, 1, 1) + words(5, 5)),
    rec(0x0548, words(0) + colour(1, 1, 1) + words(5, 5)),
])
seeds["no_extent"] = metafile([
    rec(0x0324, words(3, 10, 10, 60, 10, 60, 40)),
    rec(0x0521, words(2) + b"hi" + words(20, 20)),
])

os.makedirs(sys.argv[1], exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(sys.argv[1], "seed-" + name + ".wmf"), "wb") as f:
        f.write(data)
