#!/usr/bin/env python3
"""Writes the BMP and ICO test fixtures under tests/data/bmp and tests/data/ico, well-formed and malformed.

Every well-formed image follows one pattern that the tests recompute (tests/platform/image_pattern.h):
  palette images: index (x + 2*y) % colours, palette entry i = RGB(i*37 % 256, i*91 % 256, i*13 % 256)
  true-colour images: RGB(x*40 % 256, y*60 % 256, (x + y)*25 % 256)
  icon masks: transparent (1) where (x + y) % 3 == 0
Run from the repository root: python3 tools/make_image_fixtures.py
"""
import os
import struct
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


def bmp(w, h, bpp, top_down=False):
    rows = pixel_rows(w, h, bpp)
    body = b"".join(rows if top_down else reversed(rows))
    dib = info_header(w, -h if top_down else h, bpp) + palette(bpp)
    off = 14 + len(dib)
    return b"BM" + struct.pack("<IHHI", off + len(body), 0, 0, off) + dib + body


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
    write("bmp/malformed/rle8_compression.bmp", good[:30] + struct.pack("<I", 1) + good[34:])
    write("bmp/malformed/header_size_huge.bmp", good[:14] + struct.pack("<I", 0xFFFFFFF0) + good[18:])
    write("bmp/malformed/bitfields_not_contiguous.bmp",
          b"BM" + struct.pack("<IHHI", 0, 0, 0, 66) + info_header(1, 1, 32, 3) +
          struct.pack("<III", 0x00FF00F0, 0xFF00, 0xFF) + b"\0" * 4)

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


if __name__ == "__main__":
    main()
