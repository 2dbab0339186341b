#!/usr/bin/env python3
"""Writes the seed corpus of the preview fuzz target: JPEG files with an EXIF
block as cameras lay it out (little- and big-endian, every orientation, a
preview with black bars) and as it goes wrong (a preview outside its segment
or past its end, directories pointing back, counts past the segment, no
second directory, previews that are no JPEG, too large or of the wrong shape),
and files whose previews exiftool wrote (-ThumbnailImage<=). Pictures are
encoded by libjpeg's cjpeg. The files exiftool wrote also go to the
tests' folder when one is given. Run from the repository root:
    python3 fuzz/make_preview_seeds.py fuzz/preview-corpus tests/viewer/previews
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

# Where the layout below puts things, from the start of the TIFF header.
IFD0, IFD0_NEXT, IFD1, PREVIEW_OFFSET, PREVIEW_LENGTH, IFD1_NEXT, PREVIEW = \
    8, 22, 26, 48, 60, 64, 68


def ensure(tool, package):
    if shutil.which(tool):
        return
    subprocess.run(["apt-get", "install", "-y", "-qq", package], check=True,
                   env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def picture(work, width, height, bars=0, colour=(0, 0, 0), quality=80):
    """A JPEG of a gradient with four corners of their own colours; `bars`
    black lines above and below it, within the height."""
    ppm = os.path.join(work, "in.ppm")
    rows = []
    for y in range(height):
        row = b""
        for x in range(width):
            if y < bars or y >= height - bars:
                row += bytes(colour)
            else:
                corner = (x * 2 // width) + 2 * (y * 2 // height)
                base = [(220, 40, 40), (40, 200, 40), (40, 40, 220), (230, 210, 30)][corner]
                row += bytes((c + (x + y) % 24) % 256 for c in base)
        rows.append(row)
    with open(ppm, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (width, height) + b"".join(rows))
    ensure("cjpeg", "libjpeg-turbo-progs")
    return subprocess.run(["cjpeg", "-quality", str(quality), ppm], check=True,
                          stdout=subprocess.PIPE).stdout


def with_exif(jpeg, orientation, preview, big):
    """The JPEG with an EXIF block after its start: orientation in the first
    directory (a resolution unit instead when 0), the preview's offset and
    length in the second, the preview after it."""
    order = ">" if big else "<"

    def entry(tag, kind, value):
        if kind == 3:
            return struct.pack(order + "HHIHH", tag, kind, 1, value, 0)
        return struct.pack(order + "HHII", tag, kind, 1, value)

    tiff = (b"MM\0*" if big else b"II*\0") + struct.pack(order + "I", IFD0)
    tiff += struct.pack(order + "H", 1)
    tiff += entry(0x0112, 3, orientation) if orientation else entry(0x0128, 3, 2)
    tiff += struct.pack(order + "I", IFD1 if preview else 0)
    if preview:
        tiff += struct.pack(order + "H", 3) + entry(0x0103, 3, 6) + \
            entry(0x0201, 4, PREVIEW) + entry(0x0202, 4, len(preview)) + b"\0" * 4 + preview
    payload = b"Exif\0\0" + tiff
    return jpeg[:2] + b"\xFF\xE1" + struct.pack(">H", len(payload) + 2) + payload + jpeg[2:]


def patched(file, at, value, size, big):
    """The file with a number of the TIFF structure (at bytes from its start) changed."""
    tiff = 12
    packed = struct.pack((">" if big else "<") + ("H" if size == 2 else "I"), value)
    return file[:tiff + at] + packed + file[tiff + at + size:]


def seeds(work):
    out = {}
    photo, preview = picture(work, 64, 48), picture(work, 32, 24, quality=60)
    for big in (False, True):
        for orientation in range(1, 9):
            name = "camera-%s-%d.jpg" % ("mm" if big else "ii", orientation)
            out[name] = with_exif(photo, orientation, preview, big)
    out["camera-no-orientation.jpg"] = with_exif(photo, 0, preview, False)
    out["camera-160x120.jpg"] = with_exif(picture(work, 320, 240), 1,
                                          picture(work, 160, 120, quality=75), True)
    wide = picture(work, 64, 36)
    out["camera-barred.jpg"] = with_exif(wide, 6, picture(work, 32, 24, bars=3), False)
    out["wrong-shape.jpg"] = with_exif(wide, 1, preview, False)
    out["preview-larger.jpg"] = with_exif(preview, 1, photo, True)
    out["preview-not-jpeg.jpg"] = with_exif(photo, 1, b"\x89PNG\r\n\x1a\n" + b"\0" * 40, True)
    out["no-second-directory.jpg"] = with_exif(photo, 3, b"", False)
    good = with_exif(photo, 1, preview, True)
    out["preview-outside.jpg"] = patched(good, PREVIEW_OFFSET, 0x10000, 4, True)
    out["preview-past-end.jpg"] = patched(good, PREVIEW_LENGTH, len(preview) + 1, 4, True)
    out["preview-wrapping.jpg"] = patched(patched(good, PREVIEW_OFFSET, 0xFFFFFFF0, 4, True),
                                          PREVIEW_LENGTH, 0x20, 4, True)
    out["first-directory-loop.jpg"] = patched(good, IFD0_NEXT, IFD0, 4, True)
    out["second-directory-loop.jpg"] = patched(good, IFD1_NEXT, IFD1, 4, True)
    out["count-overflow.jpg"] = patched(good, IFD1, 0xFFFF, 2, True)
    return out


def exiftool_files(work):
    """Pictures whose previews exiftool wrote, big-endian (its default) and
    little-endian, with other tags around them as a camera writes them."""
    ensure("exiftool", "libimage-exiftool-perl")
    out = {}
    thumb = os.path.join(work, "thumb.jpg")
    with open(thumb, "wb") as f:
        f.write(picture(work, 160, 120, quality=75))
    barred = os.path.join(work, "barred.jpg")
    with open(barred, "wb") as f:
        f.write(picture(work, 160, 120, bars=15, quality=75))
    made = {
        "exiftool-mm-6.jpg": (picture(work, 400, 300), thumb,
                              ["-Orientation#=6", "-Make=Piksor", "-DateTimeOriginal=2024:05:01 10:00:00"]),
        "exiftool-ii-barred.jpg": (picture(work, 480, 270), barred,
                                   ["-ExifByteOrder=II", "-Orientation#=1", "-Model=Card"]),
    }
    for name, (jpeg, preview, tags) in made.items():
        target = os.path.join(work, name)
        with open(target, "wb") as f:
            f.write(jpeg)
        subprocess.run(["exiftool", "-q", "-overwrite_original", "-ThumbnailImage<=" + preview]
                       + tags + [target], check=True)
        with open(target, "rb") as f:
            out[name] = f.read()
    return out


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else "fuzz/preview-corpus"
    tests = sys.argv[2] if len(sys.argv) > 2 else None
    with tempfile.TemporaryDirectory() as work:
        files = seeds(work)
        written = exiftool_files(work)
    files.update(written)
    for folder, group in ((corpus, files), (tests, written)):
        if folder:
            os.makedirs(folder, exist_ok=True)
            for name, data in group.items():
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(data)


if __name__ == "__main__":
    main()
