#pragma once

// Pen strokes: one-pixel lines (Bresenham) and wide round-capped lines, as spans into a SpanSink.
//
// Conventions
//  - Line end points name pixels: the point (x, y) stands for pixel (x, y), as in scan_fill.h; device
//    ints clamped to kDeviceLimit (device_coord.h).
//  - One-pixel line from a to b (a != b): with dx = b.x - a.x, dy = b.y - a.y and the major axis the
//    one with the larger |d| (x when equal), it paints n = max(|dx|, |dy|) pixels i = 0 .. n - 1: the
//    major coordinate moves by i, the minor one by floor((2 i |minor| + n) / (2 n)), i.e. the ideal line
//    rounded with halves going toward b. Pixel b itself (i = n) is never painted; a == b paints nothing.
//  - Wide line of width w >= 2: every pixel whose sample point lies within w / 2 of the segment, with
//    round caps and therefore round joins when segments meet. The sample point of pixel (x, y) is (x, y) for
//    odd w and (x + 0.5, y + 0.5) for even w, so a horizontal line covers exactly w rows:
//    (w - 1) / 2 above the line's row and w / 2 below it for odd w, w / 2 above and w / 2 - 1 below for
//    even w. a == b paints the round dot.
//  - Pixels outside the sink's box are skipped arithmetically: the cost depends on the pixels inside,
//    not on the length of the line.

#include "qor/platform/raster/span_ops.h"
#include "qor/platform/win_types.h"

namespace QOR::detail {

void strokeThinLine(POINT a, POINT b, SpanSink& sink);
void strokeWideLine(POINT a, POINT b, int widthPx, SpanSink& sink);
/// The same between points given in doubles (pixel (x, y) at the point (x, y)), for curves laid out as
/// segments.
void strokeWideLine(double ax, double ay, double bx, double by, int widthPx, SpanSink& sink);

} // namespace QOR::detail
