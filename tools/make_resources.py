#!/usr/bin/env python3
"""Draws the library's icons and its pan cursor, writes them as ICO/CUR files under res/icons/, and writes
platform/resource_data.cpp, which embeds the same bytes and the demo slide res/demo/demo.sld in the library
(looked up by platform/resources.h).

Each icon has a 16 x 16 and a 32 x 32 image, stored as PNG (RGBA). Shapes are drawn in a unit square and
anti-aliased by 4 x 4 supersampling. Run from anywhere: python3 tools/make_resources.py
"""
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SAMPLES = 4


# ---- shapes: functions of (x, y) in the unit square, true inside

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width, start_deg=0, end_deg=360):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(-(y - cy), x - cx)) % 360
        return start_deg <= a <= end_deg if start_deg <= end_deg else (a >= start_deg or a <= end_deg)
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= width / 2
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


# ---- the pictures: lists of (shape, (r, g, b)), later layers over earlier ones

BLUE, DARK, WHITE = (30, 90, 170), (40, 40, 48), (255, 255, 255)
RED, GREEN, ORANGE, YELLOW, GREY = (200, 40, 40), (40, 150, 70), (225, 120, 20), (245, 200, 40), (150, 150, 155)

PICTURES = {
    # Application icon: a blue tile with a white angle profile and a drill hole.
    2000: [(round_rect(0.03, 0.03, 0.97, 0.97, 0.16), BLUE),
           (polygon([(0.22, 0.2), (0.4, 0.2), (0.4, 0.62), (0.8, 0.62), (0.8, 0.8), (0.22, 0.8)]), WHITE),
           (circle(0.66, 0.36, 0.12), WHITE)],
    # Material that does not meet the filter: a grey block, struck through.
    2001: [(rect(0.12, 0.25, 0.88, 0.8), GREY), (segment(0.15, 0.85, 0.85, 0.15, 0.14), RED)],
    # Library material: stacked blue plates.
    2002: [(rect(0.1, 0.18, 0.9, 0.36), BLUE), (rect(0.1, 0.42, 0.9, 0.6), BLUE), (rect(0.1, 0.66, 0.9, 0.84), BLUE)],
    # Drawing-only material: a green block with a white pencil stroke.
    2003: [(rect(0.1, 0.2, 0.9, 0.84), GREEN), (segment(0.25, 0.7, 0.75, 0.34, 0.12), WHITE)],
    # Single-line text.
    2004: [(rect(0.1, 0.42, 0.9, 0.58), DARK)],
    # Multi-line text.
    2005: [(rect(0.1, 0.16, 0.9, 0.3), DARK), (rect(0.1, 0.43, 0.9, 0.57), DARK), (rect(0.1, 0.7, 0.62, 0.84), DARK)],
    # Second product's application icon: an orange tile with a white T profile.
    2007: [(round_rect(0.03, 0.03, 0.97, 0.97, 0.16), ORANGE),
           (rect(0.2, 0.2, 0.8, 0.36), WHITE), (rect(0.42, 0.2, 0.58, 0.82), WHITE)],
    # System icons: application, error, question, warning, information, the system's own logo.
    32512: [(rect(0.06, 0.12, 0.94, 0.88), DARK), (rect(0.1, 0.28, 0.9, 0.84), WHITE), (rect(0.1, 0.16, 0.9, 0.25), BLUE)],
    32513: [(circle(0.5, 0.5, 0.46), RED), (segment(0.32, 0.32, 0.68, 0.68, 0.13), WHITE),
            (segment(0.68, 0.32, 0.32, 0.68, 0.13), WHITE)],
    32514: [(circle(0.5, 0.5, 0.46), BLUE), (ring(0.5, 0.38, 0.14, 0.1, 330, 210), WHITE),
            (segment(0.62, 0.44, 0.5, 0.54, 0.1), WHITE), (segment(0.5, 0.54, 0.5, 0.62, 0.1), WHITE),
            (circle(0.5, 0.76, 0.065), WHITE)],
    32515: [(polygon([(0.5, 0.05), (0.96, 0.9), (0.04, 0.9)]), YELLOW), (segment(0.5, 0.33, 0.5, 0.62, 0.11), DARK),
            (circle(0.5, 0.76, 0.06), DARK)],
    32516: [(circle(0.5, 0.5, 0.46), BLUE), (circle(0.5, 0.28, 0.07), WHITE), (rect(0.44, 0.42, 0.56, 0.78), WHITE)],
    32517: [(rect(0.1, 0.1, 0.48, 0.48), RED), (rect(0.52, 0.1, 0.9, 0.48), GREEN),
            (rect(0.1, 0.52, 0.48, 0.9), BLUE), (rect(0.52, 0.52, 0.9, 0.9), YELLOW)],
}

# The pan cursor: a four-way arrow, black with a white rim, its hotspot at the centre.
ARROW_HEADS = [[(0.5, 0.04), (0.66, 0.22), (0.34, 0.22)], [(0.5, 0.96), (0.66, 0.78), (0.34, 0.78)],
               [(0.04, 0.5), (0.22, 0.34), (0.22, 0.66)], [(0.96, 0.5), (0.78, 0.34), (0.78, 0.66)]]


def pan_cursor():
    layers = []
    for colour, grow in ((WHITE, 0.05), ((0, 0, 0), 0.0)):
        layers.append((segment(0.5, 0.18, 0.5, 0.82, 0.1 + 2 * grow), colour))
        layers.append((segment(0.18, 0.5, 0.82, 0.5, 0.1 + 2 * grow), colour))
        for head in ARROW_HEADS:
            cx = sum(p[0] for p in head) / 3
            cy = sum(p[1] for p in head) / 3
            scale = 1 + grow * 4
            layers.append((polygon([(cx + (x - cx) * scale, cy + (y - cy) * scale) for x, y in head]), colour))
    return layers


def render(layers, size):
    """RGBA rows of the picture at size x size."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = a = 0.0
            for colour, shape in ((c, s) for s, c in layers):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size):
                            hits += 1
                cover = hits / (SAMPLES * SAMPLES)
                if cover:
                    # "over" compositing with straight (not premultiplied) colours
                    out_a = cover + a * (1 - cover)
                    r = (colour[0] * cover + r * a * (1 - cover)) / out_a
                    g = (colour[1] * cover + g * a * (1 - cover)) / out_a
                    b = (colour[2] * cover + b * a * (1 - cover)) / out_a
                    a = out_a
            row += bytes((round(r), round(g), round(b), round(a * 255)))
        rows.append(bytes(row))
    return rows


def png(rows, size):
    raw = b"".join(b"\0" + row for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def icon_file(layers, kind=1, hotspot=(0, 0), sizes=(16, 32)):
    images = [(s, png(render(layers, s), s)) for s in sizes]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        planes, bits = (1, 32) if kind == 1 else (hotspot[0] * size // 32, hotspot[1] * size // 32)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes, bits, len(data), offset + len(body))
        body += data
    return out + body


def main():
    resources = []  # (type, id, bytes)
    for number, layers in PICTURES.items():
        data = icon_file(layers)
        with open(os.path.join(ROOT, "res", "icons", "icon_%d.ico" % number), "wb") as f:
            f.write(data)
        resources.append((14, number, data))
    data = icon_file(pan_cursor(), kind=2, hotspot=(16, 16), sizes=(32,))
    with open(os.path.join(ROOT, "res", "icons", "cursor_4006.cur"), "wb") as f:
        f.write(data)
    resources.append((12, 4006, data))
    # The demo slide (written by res/demo/make_demo_slide.py) as slide 1 of type RT_SLIDE (slide/slide.h).
    with open(os.path.join(ROOT, "res", "demo", "demo.sld"), "rb") as f:
        resources.append((256, 1, f.read()))

    lines = ["// Generated by tools/make_resources.py from the pictures drawn there; do not edit.",
             '#include "qor/platform/resources.h"', "", "namespace QOR::detail {", "", "namespace {", ""]
    for kind, number, data in resources:
        lines.append("const unsigned char kRes%d[] = {" % number)
        for i in range(0, len(data), 20):
            lines.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 20]) + ",")
        lines.append("};")
    lines += ["", "} // namespace", "", "const ResourceEntry kEmbeddedResources[] = {"]
    for kind, number, data in resources:
        lines.append("    {%d, %d, kRes%d, sizeof(kRes%d)}," % (kind, number, number, number))
    lines += ["};", "const std::size_t kEmbeddedResourceCount = sizeof(kEmbeddedResources) / sizeof(kEmbeddedResources[0]);",
              "", "} // namespace QOR::detail", ""]
    with open(os.path.join(ROOT, "platform", "resource_data.cpp"), "w") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
