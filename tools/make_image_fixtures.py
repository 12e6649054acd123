#!/usr/bin/env python3
"""Writes the BMP and ICO test fixtures under tests/data/bmp and tests/data/ico, well-formed and malformed.

Every well-formed image follows one pattern that the tests recompute (tests/platform/image_pattern.h):
  palette images: index (x + 2*y) % colours, palette entry i = RGB(i*37 % 256, i*91 % 256, i*13 % 256)
  true-colour images: RGB(x*40 % 256, y*60 % 256, (x + y)*25 % 256)
  icon masks: transparent (1) where (x + y) % 3 == 0
Run-length files (rle*.bmp) come with an uncompressed twin (*_plain.bmp) holding the same pixels, which is
all the tests compare with; their palette entry 0 is not black, so that skipped pixels show.
With ImageMagick installed, magick_rle8.bmp and its twin come from another program's encoder; without it
the committed pair is left as it is.
Run from the repository root: python3 tools/make_image_fixtures.py
"""
import copy
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data")


def palette_color(i):
    return (i * 37 % 256, i * 91 % 256, i * 13 % 256)


def true_color(x, y):
    return (x * 40 % 256, y * 60 % 256, (x + y) * 25 % 256)


def masked(x, y):
    return (x + y) % 3 == 0


def stride(w, bpp):
    return (w * bpp + 31) // 32 * 4


def pixel_rows(w, h, bpp, alpha=False):
    """Rows top-down, each padded to 4 bytes."""
    rows = []
    colours = 1 << bpp if bpp <= 8 else 0
    for y in range(h):
        row = bytearray(stride(w, bpp))
        for x in range(w):
            if bpp <= 8:
                idx = (x + 2 * y) % colours
                bit = x * bpp
                row[bit // 8] |= idx << (8 - bpp - bit % 8)
            else:
                r, g, b = true_color(x, y)
                if bpp == 24:
                    row[3 * x:3 * x + 3] = bytes((b, g, r))
                elif bpp == 16:
                    v = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)
                    row[2 * x:2 * x + 2] = struct.pack("<H", v)
                else:
                    a = (0 if masked(x, y) else 255) if alpha else 0
                    row[4 * x:4 * x + 4] = bytes((b, g, r, a))
        rows.append(bytes(row))
    return rows


def palette(bpp):
    if bpp > 8:
        return b""
    return b"".join(bytes((b, g, r, 0)) for r, g, b in (palette_color(i) for i in range(1 << bpp)))


def info_header(w, h, bpp, compression=0, colours_used=0, image_size=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression, image_size, 3780, 3780, colours_used, 0)


def bmp_file(dib, body):
    off = 14 + len(dib)
    return b"BM" + struct.pack("<IHHI", off + len(body), 0, 0, off) + dib + body


def bmp(w, h, bpp, top_down=False):
    rows = pixel_rows(w, h, bpp)
    body = b"".join(rows if top_down else reversed(rows))
    return bmp_file(info_header(w, -h if top_down else h, bpp) + palette(bpp), body)


# Run-length encoded files ------------------------------------------------------------------------------

def rle_palette(bpp):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in (palette_color(i + 1) for i in range(1 << bpp)))


class RleStream:
    """Writes a run-length stream and, beside it, the index grid (rows bottom-up) it stands for. It checks
    nothing, so that malformed streams are written the same way."""

    def __init__(self, w, h, bpp):
        self.w, self.h, self.bpp = w, h, bpp
        self.x = self.y = 0
        self.data = bytearray()
        self.grid = [[0] * w for _ in range(h)]

    def _put(self, index):
        if self.y < self.h and self.x < self.w:
            self.grid[self.y][self.x] = index
        self.x += 1

    def run(self, n, a, b=None):
        """n pixels of a (8 bits), or alternating a and b (4 bits)."""
        b = a if b is None else b
        self.data += bytes((n, (a << 4) | b if self.bpp == 4 else a))
        for i in range(n):
            self._put(b if i % 2 else a)
        return self

    def absolute(self, indexes):
        assert len(indexes) >= 3
        if self.bpp == 4:
            padded = list(indexes) + [0] * (len(indexes) % 2)
            packed = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
        else:
            packed = bytes(indexes)
        self.data += bytes((0, len(indexes))) + packed + b"\0" * (len(packed) % 2)
        for i in indexes:
            self._put(i)
        return self

    def delta(self, dx, dy):
        self.data += bytes((0, 2, dx, dy))
        self.x += dx
        self.y += dy
        return self

    def end_of_line(self):
        self.data += b"\0\0"
        self.x = 0
        self.y += 1
        return self

    def end_of_bitmap(self):
        self.data += b"\0\1"
        return self

    def bmp(self, top_down=False, bpp=None, compression=None):
        """The RLE file; bpp and compression override the header fields for malformed files."""
        compression = compression or (1 if self.bpp == 8 else 2)
        h = -self.h if top_down else self.h
        dib = info_header(self.w, h, bpp or self.bpp, compression, image_size=len(self.data))
        return bmp_file(dib + rle_palette(self.bpp), bytes(self.data))

    def plain_bmp(self):
        """The same pixels uncompressed."""
        body = b""
        for row in self.grid:
            packed = bytearray(stride(self.w, self.bpp))
            for x, index in enumerate(row):
                bit = x * self.bpp
                packed[bit // 8] |= index << (8 - self.bpp - bit % 8)
            body += bytes(packed)
        return bmp_file(info_header(self.w, self.h, self.bpp) + rle_palette(self.bpp), body)


def rle_encode(rows, bpp):
    """An encoder as other programs write them: rows bottom-up; runs of three or more pixels (alternating
    pairs at 4 bits) in encoded mode, stretches between them absolute, an end of line after each row but
    the last and an end of bitmap."""
    s = RleStream(len(rows[0]), len(rows), bpp)

    def run_length(row, i):
        n = 1
        while i + n < len(row) and n < 255 and row[i + n] == row[i + (n % 2 if bpp == 4 else 0)]:
            n += 1
        return n

    for y, row in enumerate(rows):
        i = 0
        while i < len(row):
            n = run_length(row, i)
            if n >= 3:
                s.run(n, row[i], row[i + 1] if n > 1 else None)
                i += n
                continue
            j = i
            while j < len(row) and j - i < 255 and run_length(row, j) < 3:
                j += 1
            if j - i >= 3:
                s.absolute(row[i:j])
            else:
                for k in range(i, j):
                    s.run(1, row[k])
            i = j
        if y + 1 < len(rows):
            s.end_of_line()
    return s.end_of_bitmap()


def rle_rows(w, h, bpp):
    """Rows bottom-up with a solid stretch, an alternating pair and varied pixels, and a row of one colour."""
    colours = 1 << bpp
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if y == 2:
                row.append(9)
            elif x < 4:
                row.append((y + 1) % colours)
            elif x < 10:
                row.append((y + 3) % colours if x % 2 else (y + 7) % colours)
            else:
                row.append((x * 5 + y * 3) % colours)
        rows.append(row)
    return rows


def delta_stream():
    """RLE8 with deltas and line ends that leave pixels unwritten, one delta jumping rows."""
    s = RleStream(10, 6, 8)
    s.run(3, 5).delta(2, 0).run(2, 7).end_of_line()
    s.absolute([1, 2, 3, 4]).end_of_line()
    s.run(1, 12).delta(3, 2).run(6, 9).end_of_line()
    s.delta(9, 0).run(1, 200)
    return s.end_of_bitmap()


def imagemagick():
    """A working ImageMagick convert (a stand-in that only converts PNG may come first on the path)."""
    for name in ("convert-im6.q16", "convert-im6", "magick", "convert"):
        exe = shutil.which(name)
        if exe and b"ImageMagick" in subprocess.run([exe, "-version"], capture_output=True).stdout:
            return exe
    return None


def write_imagemagick_pair():
    exe = imagemagick()
    if not exe:
        print("ImageMagick not found: bmp/magick_rle8*.bmp left as committed")
        return
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "src.png")
        subprocess.run([exe, "-size", "48x20", "xc:#336699", "+antialias",
                        "-fill", "#ffcc00", "-draw", "circle 14,10 14,3",
                        "-fill", "#cc0033", "-draw", "rectangle 26,2 44,8",
                        "-fill", "white", "-draw", "line 0,19 47,0",
                        "-fill", "#00aa44", "-draw", "point 30,14 point 32,14 point 33,14 point 35,14",
                        "-type", "Palette", "png8:" + src], check=True)
        for name, compress in (("magick_rle8.bmp", "RLE"), ("magick_rle8_plain.bmp", "None")):
            out = os.path.join(tmp, name)
            subprocess.run([exe, src, "-type", "Palette", "-compress", compress, "BMP3:" + out], check=True)
            with open(out, "rb") as f:
                write("bmp/" + name, f.read())


def mask_rows(w, h):
    rows = []
    for y in range(h):
        row = bytearray(stride(w, 1))
        for x in range(w):
            if masked(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    return rows


def icon_dib(w, h, bpp, alpha=False, with_mask=True):
    colour = b"".join(reversed(pixel_rows(w, h, bpp, alpha)))
    mask = b"".join(reversed(mask_rows(w, h))) if with_mask else b""
    return info_header(w, 2 * h, bpp) + palette(bpp) + colour + mask


def png(w, h):
    raw = b""
    for y in range(h):
        raw += b"\0"
        for x in range(w):
            r, g, b = true_color(x, y)
            raw += bytes((r, g, b, 0 if masked(x, y) else 255))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def ico(images, kind=1):
    """images: list of (width, height, bpp, data)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for w, h, bpp, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bpp, len(data), offset + len(body))
        body += data
    return out + body


def write(path, data):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


def main():
    for bpp in (1, 4, 8, 16, 24, 32):
        write("bmp/pattern_%d.bmp" % bpp, bmp(5, 3, bpp))
    write("bmp/pattern_24_top_down.bmp", bmp(5, 3, 24, top_down=True))

    write("ico/sizes.ico", ico([
        (16, 16, 4, icon_dib(16, 16, 4)),
        (32, 32, 8, icon_dib(32, 32, 8)),
        (32, 32, 1, icon_dib(32, 32, 1)),
        (48, 48, 24, icon_dib(48, 48, 24)),
    ]))
    for bpp in (1, 4, 8, 24, 32):
        write("ico/depth_%d.ico" % bpp, ico([(7, 5, bpp, icon_dib(7, 5, bpp))]))
    write("ico/alpha_32.ico", ico([(7, 5, 32, icon_dib(7, 5, 32, alpha=True, with_mask=False))]))
    write("ico/png.ico", ico([(9, 6, 32, png(9, 6))]))

    good = bmp(5, 3, 8)
    write("bmp/malformed/truncated_rows.bmp", good[:-7])
    write("bmp/malformed/not_bm_signature.bmp", b"XM" + good[2:])
    write("bmp/malformed/offset_inside_file_header.bmp", good[:10] + struct.pack("<I", 4) + good[14:])
    huge = info_header(0x7FFFFFFF, 0x7FFFFFFF, 32)
    write("bmp/malformed/huge_dimensions.bmp", b"BM" + struct.pack("<IHHI", 70, 0, 0, 54) + huge + b"\0" * 16)
    wide = info_header(100000, 100000, 1)
    write("bmp/malformed/rows_missing_for_size.bmp", b"BM" + struct.pack("<IHHI", 70, 0, 0, 62) + wide + b"\0" * 16)
    write("bmp/malformed/zero_width.bmp", good[:18] + struct.pack("<i", 0) + good[22:])
    write("bmp/malformed/int_min_height.bmp", good[:22] + struct.pack("<i", -0x80000000) + good[26:])
    write("bmp/malformed/two_planes.bmp", good[:26] + struct.pack("<H", 2) + good[28:])
    write("bmp/malformed/bit_count_7.bmp", good[:28] + struct.pack("<H", 7) + good[30:])
    write("bmp/malformed/colour_table_1000_entries.bmp", good[:46] + struct.pack("<I", 1000) + good[50:])
    write("bmp/malformed/rle8_holding_plain_rows.bmp", good[:30] + struct.pack("<I", 1) + good[34:])
    write("bmp/malformed/header_size_huge.bmp", good[:14] + struct.pack("<I", 0xFFFFFFF0) + good[18:])
    write("bmp/malformed/bitfields_not_contiguous.bmp",
          b"BM" + struct.pack("<IHHI", 0, 0, 0, 66) + info_header(1, 1, 32, 3) +
          struct.pack("<III", 0x00FF00F0, 0xFF00, 0xFF) + b"\0" * 4)

    write_rle_fixtures()

    one = icon_dib(7, 5, 8)
    write("ico/malformed/count_beyond_file.ico", struct.pack("<HHH", 0, 1, 500) + b"\0" * 40)
    write("ico/malformed/zero_images.ico", struct.pack("<HHH", 0, 1, 0))
    write("ico/malformed/type_3.ico", ico([(7, 5, 8, one)], kind=3))
    data = bytearray(ico([(7, 5, 8, one)]))
    data[18:22] = struct.pack("<I", 0xFFFFFFF0)
    write("ico/malformed/image_offset_beyond_file.ico", bytes(data))
    write("ico/malformed/missing_and_mask.ico", ico([(7, 5, 8, icon_dib(7, 5, 8, with_mask=False))]))
    write("ico/malformed/height_odd_one.ico",
          ico([(7, 5, 8, info_header(7, 1, 8) + palette(8) + b"\0" * 64)]))
    write("ico/malformed/top_down_image.ico", ico([(7, 5, 8, info_header(7, -10, 8) + palette(8) + b"\0" * 200)]))
    big_png = bytearray(png(9, 6))
    big_png[16:24] = struct.pack(">II", 30000, 30000)
    write("ico/malformed/png_header_30000_square.ico", ico([(0, 0, 32, bytes(big_png))]))
    write("ico/malformed/png_truncated.ico", ico([(9, 6, 32, png(9, 6)[:40])]))
    rle = rle_encode(rle_rows(7, 5, 8), 8)
    rle_dib = info_header(7, 10, 8, 1) + rle_palette(8) + bytes(rle.data) + b"".join(mask_rows(7, 5))
    write("ico/malformed/rle8_image.ico", ico([(7, 5, 8, rle_dib)]))


def write_rle_fixtures():
    for bpp in (8, 4):
        s = rle_encode(rle_rows(15, 6, bpp), bpp)
        write("bmp/rle%d.bmp" % bpp, s.bmp())
        write("bmp/rle%d_plain.bmp" % bpp, s.plain_bmp())
    s = delta_stream()
    write("bmp/rle8_delta.bmp", s.bmp())
    write("bmp/rle8_delta_plain.bmp", s.plain_bmp())
    # The smallest stream an image at the memory floor (1024 x 1024 x 4 bytes) may have: all index 0.
    write("bmp/rle8_blank_1024.bmp", RleStream(1024, 1024, 8).end_of_bitmap().bmp())
    write_imagemagick_pair()

    stream = RleStream
    bad = "bmp/malformed/"
    two_rows = stream(4, 2, 8).run(4, 1).end_of_line().run(4, 2).end_of_line()
    short_absolute = {}
    for bpp in (8, 4):
        short_absolute[bpp] = stream(200, 2, bpp).run(2, 1)
        short_absolute[bpp].data += b"\0\xC8" + bytes(range(10))  # 200 pixels announced, 10 bytes follow
    for name, s in (
        ("rle8_beyond_memory_bound", stream(1025, 1024, 8).end_of_bitmap()),
        ("rle8_run_past_row_end", stream(6, 2, 8).run(4, 1).run(3, 2).end_of_bitmap()),
        ("rle4_run_past_row_end", stream(5, 2, 4).run(6, 1, 2).end_of_bitmap()),
        ("rle8_absolute_past_row_end", stream(6, 2, 8).run(4, 1).absolute([1, 2, 3]).end_of_bitmap()),
        ("rle4_absolute_past_row_end", stream(5, 2, 4).absolute([1, 2, 3, 4, 5, 6]).end_of_bitmap()),
        ("rle8_delta_past_last_row", stream(6, 3, 8).run(2, 1).delta(0, 4).end_of_bitmap()),
        ("rle8_delta_past_row_end", stream(6, 3, 8).run(2, 1).delta(5, 0).end_of_bitmap()),
        ("rle8_run_above_last_row", copy.deepcopy(two_rows).run(1, 3).end_of_bitmap()),
        ("rle8_line_end_above_last_row", copy.deepcopy(two_rows).end_of_line().end_of_bitmap()),
        ("rle8_absolute_past_stream_end", short_absolute[8]),
        ("rle4_absolute_past_stream_end", short_absolute[4]),
    ):
        write(bad + name + ".bmp", s.bmp())

    whole = rle_encode(rle_rows(15, 6, 8), 8)
    cut = RleStream(15, 6, 8)
    for name, end in (("rle8_truncated", len(whole.data) // 2),
                      ("rle8_without_end_of_bitmap", -2),
                      ("rle8_truncated_inside_pair", -5)):  # ends between the two bytes of a pair
        cut.data = whole.data[:end]
        write(bad + name + ".bmp", cut.bmp())
    write(bad + "rle8_at_4_bits.bmp", whole.bmp(bpp=4))
    write(bad + "rle4_at_8_bits.bmp", rle_encode(rle_rows(15, 6, 4), 4).bmp(bpp=8))
    write(bad + "rle8_top_down.bmp", whole.bmp(top_down=True))

if __name__ == "__main__":
    main()
