#!/usr/bin/env python3
"""Writes demo.json, the bundled demo drawing of qor-render: a flange plate in plan view with its
bolt holes and centre lines, a hatched section with a bore (an island), a hidden slot, points in
several point modes, a highlighted and a referenced item, an anchored datum symbol, the library's
icon as a picture in the top left corner of the window, and dimensions and a title block in the
stroke font.

Run from anywhere: python3 res/demo/make_demo.py (writes next to this script)."""
import json
import math
import os

IDENTITY = [[1, 0, 0, 0], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]
items = []
pts_for_extents = []

# Flag bits and colour modes of display items.
FILL, HATCH, OUTLINE, ANCHORED = 0x01, 0x02, 0x10, 0x80
HIGHLIGHT, REFER = 1 << 8, 2 << 8


def v(x0, y0, x1, y1, bulge=0.0):
    return [x0, y0, 0.0, x1, y1, 0.0, bulge]


def poly(points, closed=False, bulges=None):
    """A polyline through points; bulges[i] belongs to the segment starting at point i."""
    out = []
    n = len(points)
    last = n if closed else n - 1
    for i in range(last):
        a, b = points[i], points[(i + 1) % n]
        out.append(v(a[0], a[1], b[0], b[1], (bulges or {}).get(i, 0.0)))
    return out


def circle(cx, cy, r):
    return [v(cx - r, cy, cx + r, cy, 1.0), v(cx + r, cy, cx - r, cy, 1.0)]


def track(vl):
    # Extents: end points plus, for arcs, a few points along them.
    for s in vl:
        x0, y0, _, x1, y1, _, b = s
        pts_for_extents.append((x0, y0))
        pts_for_extents.append((x1, y1))
        if b:
            chord = math.hypot(x1 - x0, y1 - y0)
            d = chord / 2 * (1 - b * b) / (2 * b)
            nx, ny = -(y1 - y0) / chord, (x1 - x0) / chord
            cx, cy = (x0 + x1) / 2 + nx * d, (y0 + y1) / 2 + ny * d
            r = math.hypot(x0 - cx, y0 - cy)
            a0, sweep = math.atan2(y0 - cy, x0 - cx), 4 * math.atan(b)
            for k in range(1, 16):
                a = a0 + sweep * k / 16
                pts_for_extents.append((cx + r * math.cos(a), cy + r * math.sin(a)))


def add_vl(vl, color, stack, linetype=None, ltscale=1.0, thickness=0, flags=0, point=None):
    item = {"type": 1, "stack": stack, "color": color, "vl": vl, "thickness": thickness, "flags": flags}
    if linetype:
        item["linetype"] = linetype
        item["ltscale"] = ltscale
    if point:
        item["point"] = point
    if not flags & ANCHORED:
        track(vl)
    items.append(item)


def add_reg(loops, color, fcolor, stack, flags, hatch=None, thickness=0, point=None):
    item = {"type": 3, "stack": stack, "color": color, "fillColor": fcolor, "regions": loops,
            "flags": flags, "thickness": thickness}
    if hatch:
        item["hatch"] = hatch
    if point:
        item["point"] = point
    if not flags & ANCHORED:
        track(loops[0])
    items.append(item)


def add_pt(x, y, mode, size, color, stack):
    items.append({"type": 2, "stack": stack, "color": color, "point": [x, y, 0.0], "pdMode": mode,
                  "pdSize": size})
    pts_for_extents.append((x, y))


# Plate outline: 200 x 120 with rounded corners (r 12) and a semicircular tab on the right.
r = 12.0
k = math.tan(math.pi / 8)  # bulge of a quarter arc
outline = [
    v(r, 0, 140, 0), v(140, 0, 200 - r, 0), v(200 - r, 0, 200, r, k), v(200, r, 200, 40),
    v(200, 40, 200, 80, 1.0),  # semicircular tab bulging outwards
    v(200, 80, 200, 120 - r), v(200, 120 - r, 200 - r, 120, k), v(200 - r, 120, r, 120),
    v(r, 120, 0, 120 - r, k), v(0, 120 - r, 0, r), v(0, r, r, 0, k),
]
add_vl(outline, 7, [1], thickness=2)

# Bolt holes with dash-dot centre lines (the built-in centre pattern).
holes = [(20, 20), (20, 100), (120, 20), (120, 100)]
for n, (x, y) in enumerate(holes):
    add_vl(circle(x, y, 6), 4, [2, n + 1])
    add_vl([v(x - 10, y, x + 10, y)], 1, [2, n + 1], linetype=[1, 1, 1], ltscale=0.6)
    add_vl([v(x, y - 10, x, y + 10)], 1, [2, n + 1], linetype=[1, 1, 1], ltscale=0.6)

# Tab hole, highlighted (the selected feature).
add_vl(circle(200, 60, 9), 4, [3], flags=HIGHLIGHT, thickness=2)

# Hatched section with a bore as island: the region fills, the bore stays open.
section = poly([(45, 35), (100, 35), (100, 85), (45, 85)], closed=True)
bore = circle(72.5, 60, 12)
add_reg([section, bore], 3, 8, [4], HATCH | OUTLINE,
        hatch={"name": "ANSI31", "angle": 0.0, "scale": 1.0})
add_vl([v(72.5 - 18, 60, 72.5 + 18, 60)], 1, [4], linetype=[1, 1, 1], ltscale=0.6)
add_vl([v(72.5, 60 - 18, 72.5, 60 + 18)], 1, [4], linetype=[1, 1, 1], ltscale=0.6)

# Hidden slot (dashed built-in pattern) on the far side.
slot = [v(140, 50, 170, 50), v(170, 50, 170, 70, 1.0), v(170, 70, 140, 70), v(140, 70, 140, 50, 1.0)]
add_vl(slot, 6, [5], linetype=[1, 1, 0], ltscale=0.5)

# Referenced item: the stock the plate is cut from, drawn in the reference colour.
add_vl(poly([(-8, -8), (226, -8), (226, 128), (-8, 128)], closed=True), 7, [6], flags=REFER,
       linetype=[4.0, -2.0], ltscale=1.0)

# Measuring points in several point modes (negative size: pixels).
for n, mode in enumerate([0, 2, 3, 34, 35, 66, 98, 8]):
    add_pt(20 + n * 22, -22, mode, -12.0, 2, [7, n + 1])

# Colourless item: drawn in the complement of the back colour.
add_vl(poly([(-15, -35), (235, -35), (235, 135), (-15, 135)], closed=True), -1, [8])

# Datum symbol anchored at the plate's lower left corner: keeps its size when zooming.
tri = poly([(0, 0), (-0.05, -0.03), (-0.05, 0.03)], closed=True)
add_reg([tri], 1, 1, [9], FILL | OUTLINE | ANCHORED, point=[0.0, 0.0, 0.0])
add_vl([v(-0.05, 0, -0.09, 0)], 1, [9], flags=ANCHORED, point=[0.0, 0.0, 0.0], thickness=2)

# The library's icon (resource 2000) as a logo: pictures sit at window pixels, whatever the view.
items.append({"type": 6, "stack": [10], "pdMode": 2000, "vl": [v(6, 6, 30, 30)]})


# ---------------------------------------------------------------------------------------------------
# Texts: dimensions and the title block (stroke-font text items, path [11]).
# ---------------------------------------------------------------------------------------------------
def add_texts():
    """Text items are written as imageTxt makes them, without their strokes: the reader lays them out
    from "text", "align" and "point". The glyph cell has a cap height of 1, so each text's matrix
    scales it to its height (drawing units) and places it; the stroke font has no space (words are
    separate items) and sets glyphs half a cap height apart."""
    dim, frame = 140, 7
    n = [0]

    def text(s, x, y, height, align="BL", color=frame, angle=0.0):
        n[0] += 1
        c, d = math.cos(angle) * height, math.sin(angle) * height
        c, d = round(c, 12), round(d, 12)
        items.append({"type": 5, "stack": [11, n[0]], "color": color, "linetype": [1.0, 0.0, 0.0],
                      "ltscale": 0.0, "matrix": [[c, -d, 0, x], [d, c, 0, y], [0, 0, height, 0], [0, 0, 0, 1]],
                      "align": align, "text": s})

    def arrow(x, y, dx, dy):
        # An open arrow head with its tip at (x, y), pointing along the unit vector (dx, dy).
        length, half = 3.0, 1.0
        bx, by = x - dx * length, y - dy * length
        add_vl(poly([(bx - dy * half, by + dx * half), (x, y), (bx + dy * half, by - dx * half)]), dim, [11, 0])

    def line(x0, y0, x1, y1, color=dim, stack=None):
        add_vl([v(x0, y0, x1, y1)], color, stack or [11, 0])

    # Horizontal dimension: the pitch of the upper bolt holes.
    line(20, 107, 20, 115)
    line(120, 107, 120, 115)
    line(20, 112, 120, 112)
    arrow(20, 112, -1, 0)
    arrow(120, 112, 1, 0)
    text("100", 70, 113, 3.5, "BC", dim)
    # Vertical dimension: the pitch of the left bolt holes, its text turned to read from the right.
    line(13, 20, 5, 20)
    line(13, 100, 5, 100)
    line(8, 20, 8, 100)
    arrow(8, 20, 0, -1)
    arrow(8, 100, 0, 1)
    text("80", 7, 60, 3.5, "BC", dim, math.pi / 2)
    # Leaders: the bolt holes and the tab radius.
    line(124.3, 95.7, 132, 88)
    line(132, 88, 150, 88)
    text("4xM12", 133, 89, 3.0, "BL", dim)
    line(214.1, 74.1, 222, 90)
    text("R20", 222, 91, 3.0, "BC", dim)

    # Title block in the lower right corner, below the drawing area: the frame grows by a strip.
    for x0, y0, x1, y1 in [(-15, -35, -15, -65), (235, -35, 235, -65), (-15, -65, 235, -65),
                           (95, -35, 95, -65), (95, -50, 235, -50), (95, -57.5, 235, -57.5),
                           (165, -50, 165, -65)]:
        line(x0, y0, x1, y1, frame, [11, 100])
    text("Flanschplatte", 99, -42.5, 5.0, "CL")
    text("FL-200", 231, -42.5, 4.0, "CR")
    for col, label, value in [(95, "Werkstoff", "S235JR"), (165, "Maßstab", "1:2")]:
        text(label, col + 3, -53.75, 2.6, "CL")
        text(value, col + 67, -53.75, 2.8, "CR")
    for col, label, value in [(95, "Gezeichnet", "Müller"), (165, "Blatt", "1/1")]:
        text(label, col + 3, -61.25, 2.6, "CL")
        text(value, col + 67, -61.25, 2.8, "CR")
    # Notes on the left of the strip, one word per item on a common baseline (words of different
    # heights would not line up if each were centred on its own top).
    text("Allgemeintoleranz", -11, -45.5, 3.0)
    text("ISO2768-m", 45, -45.5, 3.0)
    text("Maße", -11, -57.5, 3.0)
    text("in", 6, -57.5, 3.0)
    text("mm", 13, -57.5, 3.0)
    text("±0,1", 35, -57.5, 3.0)

add_texts()

xs = [p[0] for p in pts_for_extents]
ys = [p[1] for p in pts_for_extents]
doc = {
    "qor_gdx": 1,
    "background": {"index": 250, "trueColor": "#1E2228"},
    "pdSize": -8.0,
    "pdMode": 0,
    "projection": IDENTITY, "view": IDENTITY, "zoom": IDENTITY, "viewDirection": IDENTITY,
    "extents": [[min(xs), min(ys), 0.0], [max(xs), max(ys), 0.0]],
    "viewMin": [0.0, 0.0, 0.0], "viewMax": [0.0, 0.0, 0.0],
    "colorTable": [{"index": 2}, {"index": 3}],
    "items": items,
}
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo.json")
# One member of the list and one item per line, as the library writes it.
lines = []
for key, value in doc.items():
    if key == "items":
        body = ",\n".join("  " + json.dumps(item) for item in value)
        lines.append(' "items": [\n' + body + "\n ]")
    else:
        lines.append(" " + json.dumps(key) + ": " + json.dumps(value))
with open(path, "w") as f:
    f.write("{\n" + ",\n".join(lines) + "\n}\n")
print(path)
