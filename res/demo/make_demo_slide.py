#!/usr/bin/env python3
"""Writes the demo slide res/demo/demo.sld (a flange in a title frame, 480 x 320 dots, level 2,
little-endian, with every kind of record) and the slide library res/demo/demo.slb holding it as FLANGE
next to a second slide, ARROW. tools/make_resources.py embeds demo.sld in the library as resource 1 of
type RT_SLIDE. The same bytes seed the slide fuzzers: tests/data/slide/demo_level2_little.sld and
tests/data/slide_library/demo.slb. Run from anywhere: python3 res/demo/make_demo_slide.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
TEST_DATA = os.path.join(HERE, "..", "..", "tests", "data")


class Slide:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.body = bytearray()

    def word(self, value):
        self.body += struct.pack("<H", value & 0xFFFF)

    def color(self, index):
        self.word(0xFF00 | index)

    def vector(self, x0, y0, x1, y1):
        for v in (x0, y0, x1, y1):
            self.word(v)

    def offset_vector(self, dx0, dy0, dx1, dy1):
        self.word(0xFB00 | (dx0 & 0xFF))
        self.body += struct.pack("<bbb", dy0, dx1, dy1)

    def common_endpoint(self, dx, dy):
        self.word(0xFE00 | (dx & 0xFF))
        self.body += struct.pack("<b", dy)

    def fill(self, points):
        self.word(0xFD00), self.word(len(points)), self.word(-1)
        for x, y in points:
            self.word(0xFD00), self.word(x), self.word(y)
        self.word(0xFD00), self.word(0), self.word(-1)

    def polyline(self, points):
        """Common-endpoint steps where a step fits in a signed byte, else a vector written backwards: a
        vector leaves its from point as the last point, where the next step starts."""
        last = None
        for x, y in points:
            if last is not None:
                dx, dy = x - last[0], y - last[1]
                if max(abs(dx), abs(dy)) <= 127 and not first:
                    self.common_endpoint(dx, dy)
                else:
                    self.vector(x, y, last[0], last[1])
            first = last is None
            last = (x, y)

    def bytes(self):
        header = b"AutoCAD Slide\r\n\x1a\x00" + bytes([0x56, 2])
        header += struct.pack("<HHiHH", self.width, self.height, int(1.5 * 10000000), 0, 0x1234)
        return header + bytes(self.body) + struct.pack("<H", 0xFC00)


def circle(cx, cy, r, steps):
    return [(round(cx + r * math.cos(2 * math.pi * i / steps)), round(cy + r * math.sin(2 * math.pi * i / steps)))
            for i in range(steps + 1)]


def flange():
    s = Slide(479, 319)
    # Title frame and title block.
    s.color(7)
    s.polyline([(4, 4), (475, 4), (475, 315), (4, 315), (4, 4)])
    s.vector(300, 44, 300, 4)
    s.common_endpoint(127, 0), s.common_endpoint(48, 0)
    s.color(8)
    s.fill([(304, 8), (471, 8), (471, 40), (304, 40)])
    # The flange: a filled ring of blue segments, the outline in cyan.
    s.color(5)
    outer, inner = circle(170, 170, 120, 48), circle(170, 170, 60, 48)
    for i in range(48):
        s.fill([outer[i], outer[i + 1], inner[i + 1], inner[i]])
    s.color(4)
    s.polyline(outer)
    s.polyline(inner)
    # Bolt holes: red discs, drawn clockwise on purpose (the converter turns them round).
    s.color(1)
    for k in range(6):
        a = 2 * math.pi * k / 6 + math.pi / 6
        cx, cy = round(170 + 90 * math.cos(a)), round(170 + 90 * math.sin(a))
        s.fill(list(reversed(circle(cx, cy, 12, 16)[:-1])))
    # Centre lines as offset vectors: dashes 12 dots long with gaps of 4, each relative to the last start.
    s.color(2)
    s.vector(30, 170, 42, 170)
    for _ in range(18):
        s.offset_vector(16, 0, 28, 0)
    s.vector(170, 30, 170, 42)
    for _ in range(18):
        s.offset_vector(0, 16, 0, 28)
    # A dimension in the hue wheel's orange and a yellow-green arrow head.
    s.color(30)
    s.vector(310, 170, 440, 170)
    s.vector(310, 100, 310, 240)
    s.color(60)
    s.fill([(440, 170), (420, 178), (420, 162)])
    return s.bytes()


def arrow():
    s = Slide(99, 49)
    s.color(3)
    s.fill([(0, 20), (70, 20), (70, 5), (99, 25), (70, 45), (70, 30), (0, 30)])
    return s.bytes()


def library(slides):
    directory_end = 32 + 36 * (len(slides) + 1)
    out = bytearray(b"AutoCAD Slide Library 1.0\r\n\x1a".ljust(32, b"\x00"))
    offset = directory_end
    for name, data in slides:
        out += name.encode("cp1252").ljust(32, b"\x00") + struct.pack("<I", offset)
        offset += len(data)
    out += bytes(36)
    for _, data in slides:
        out += data
    return bytes(out)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    demo = flange()
    demo_library = library([("FLANGE", demo), ("ARROW", arrow())])
    write(os.path.join(HERE, "demo.sld"), demo)
    write(os.path.join(HERE, "demo.slb"), demo_library)
    # Fuzzer seeds (fuzz/README.md): the fuzzers start from valid input of every record kind.
    write(os.path.join(TEST_DATA, "slide", "demo_level2_little.sld"), demo)
    write(os.path.join(TEST_DATA, "slide_library", "demo.slb"), demo_library)


if __name__ == "__main__":
    main()
