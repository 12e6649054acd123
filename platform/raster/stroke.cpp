#include "qor/platform/raster/stroke_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QOR::detail {

namespace {

using i64 = std::int64_t;

i64 ceilDiv(i64 a, i64 b) { // b > 0
    const i64 q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// First step i >= 0 at which the minor offset floor((2 i m + n) / (2 n)) reaches k (m > 0).
i64 firstStepReaching(i64 k, i64 m, i64 n) {
    return std::max<i64>(0, ceilDiv((2 * k - 1) * n, 2 * m));
}

// Range of steps [lo, hi) whose coordinate start + s * i lies in [boxLo, boxHi) (s = +1 or -1).
void majorRange(i64 start, int s, i64 boxLo, i64 boxHi, i64& lo, i64& hi) {
    if (s > 0) {
        lo = boxLo - start;
        hi = boxHi - start;
    } else {
        lo = start - boxHi + 1;
        hi = start - boxLo + 1;
    }
}

/// The steps of a thin line from step lo to hi - 1: the major coordinate moves by sMajor each step, the
/// minor one by sMinor whenever the error term e (of step lo, with minor offset k) reaches 2n.
struct Steps {
    bool xMajor;
    i64 lo, hi, k, e, m, n;
    int sMajor, sMinor;
    i64 major0, minor0;
};

/// Writes the pixels of the steps to out (span(y, x0, x1) and pixel(x, y), as SpanSink has them): runs
/// of pixels on one row as one span.
template <class Writer>
void writeSteps(Steps s, Writer& out) {
    const i64 twoM = 2 * s.m, twoN = 2 * s.n;
    i64 e = s.e, k = s.k;
    if (s.xMajor) {
        i64 runStart = s.lo;
        for (i64 i = s.lo; i < s.hi; ++i) {
            const i64 next = e + twoM;
            if (next >= twoN || i + 1 == s.hi) {
                const int y = int(s.minor0 + s.sMinor * k);
                const i64 xa = s.major0 + s.sMajor * runStart, xb = s.major0 + s.sMajor * i;
                out.span(y, int(std::min(xa, xb)), int(std::max(xa, xb)) + 1);
                runStart = i + 1;
            }
            e = next;
            if (e >= twoN) {
                e -= twoN;
                ++k;
            }
        }
    } else {
        for (i64 i = s.lo; i < s.hi; ++i) {
            out.pixel(int(s.minor0 + s.sMinor * k), int(s.major0 + s.sMajor * i));
            e += twoM;
            if (e >= twoN) {
                e -= twoN;
                ++k;
            }
        }
    }
}

/// Writes into a 32-bit surface without a clip region, for steps that all lie inside the sink's box.
struct DirectWriter {
    Surface& surface;
    std::uint32_t value;

    void span(int y, int x0, int x1) { fillPixels(surface.row32(y) + x0, x1 - x0, value); }
    void pixel(int x, int y) { surface.row32(y)[x] = value; }
};

} // namespace

void strokeThinLine(POINT a, POINT b, SpanSink& sink) {
    const i64 dx = i64(b.x) - a.x, dy = i64(b.y) - a.y;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const i64 n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const i64 m = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int sMajor = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int sMinor = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const i64 major0 = xMajor ? a.x : a.y;
    const i64 minor0 = xMajor ? a.y : a.x;
    const RECT& box = sink.box();
    const auto inBox = [&box](POINT p) {
        return p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
    };
    // One step, to a neighbour: only its first pixel (the outlines of small text are made of these).
    if (n == 1) {
        if (inBox(a)) sink.pixel(a.x, a.y);
        return;
    }
    // Steps [lo, hi) inside the box; k, e: minor offset and error term of step lo.
    Steps steps{xMajor, 0, n, 0, n, m, n, sMajor, sMinor, major0, minor0};
    // A line whose ends both lie in the box stays in it: the short lines of a dense drawing skip the
    // divisions of clipping, and where the sink writes straight into the pixels, its checks per pixel.
    if (inBox(a) && inBox(b)) {
        if (sink.writesDirectly()) {
            sink.touch(std::min(a.y, b.y), std::max(a.y, b.y) + 1);
            DirectWriter direct{sink.surface(), sink.pixelValue()};
            writeSteps(steps, direct);
        } else {
            writeSteps(steps, sink);
        }
        return;
    }
    const i64 majLo = xMajor ? box.left : box.top, majHi = xMajor ? box.right : box.bottom;
    const i64 minLo = xMajor ? box.top : box.left, minHi = xMajor ? box.bottom : box.right;
    // Steps inside the box along the major axis, then along the minor one.
    i64 lo = 0, hi = 0;
    majorRange(major0, sMajor, majLo, majHi, lo, hi);
    lo = std::max<i64>(lo, 0);
    hi = std::min<i64>(hi, n);
    i64 kLo = 0, kHi = 0; // minor offsets inside the box
    majorRange(minor0, sMinor, minLo, minHi, kLo, kHi);
    if (m == 0) {
        if (kLo > 0 || kHi <= 0) return;
    } else {
        lo = std::max(lo, firstStepReaching(kLo, m, n));
        hi = std::min(hi, firstStepReaching(kHi, m, n));
    }
    if (lo >= hi) return;
    // e = (2 lo m + n) mod 2n.
    steps.lo = lo;
    steps.hi = hi;
    steps.k = (2 * lo * m + n) / (2 * n);
    steps.e = 2 * lo * m + n - 2 * n * steps.k;
    writeSteps(steps, sink);
}

void strokeWideLine(POINT a, POINT b, int widthPx, SpanSink& sink) {
    strokeWideLine(a.x, a.y, b.x, b.y, widthPx, sink);
}

void strokeWideLine(double ax, double ay, double bx, double by, int widthPx, SpanSink& sink) {
    // Sample points at integer coordinates: move the segment instead of the samples.
    const double shift = (widthPx % 2 == 0) ? 0.5 : 0.0;
    ax -= shift;
    ay -= shift;
    bx -= shift;
    by -= shift;
    const double r = widthPx * 0.5;
    const double dx = bx - ax, dy = by - ay;
    const double len = std::sqrt(dx * dx + dy * dy);
    const RECT& box = sink.box();
    const double yMin = std::max<double>(std::ceil(std::min(ay, by) - r), box.top);
    const double yMax = std::min<double>(std::floor(std::max(ay, by) + r), box.bottom - 1.0);
    for (double yd = yMin; yd <= yMax; yd += 1.0) {
        double lo = INFINITY, hi = -INFINITY;
        const auto disc = [&](double cx, double cy) {
            const double h2 = r * r - (yd - cy) * (yd - cy);
            if (h2 < 0) return;
            const double h = std::sqrt(h2);
            lo = std::min(lo, cx - h);
            hi = std::max(hi, cx + h);
        };
        disc(ax, ay);
        disc(bx, by);
        if (len > 0) {
            // The band: |cross(d, p - a)| <= r len and 0 <= dot(d, p - a) <= len^2, each an x interval.
            double bl = -INFINITY, bh = INFINITY;
            const double ry = yd - ay;
            if (dy != 0) {
                const double x1 = ax + (dx * ry - r * len) / dy, x2 = ax + (dx * ry + r * len) / dy;
                bl = std::max(bl, std::min(x1, x2));
                bh = std::min(bh, std::max(x1, x2));
            } else if (std::fabs(dx * ry) > r * len) {
                bh = -INFINITY;
            }
            if (dx != 0) {
                const double x1 = ax - dy * ry / dx, x2 = ax + (len * len - dy * ry) / dx;
                bl = std::max(bl, std::min(x1, x2));
                bh = std::min(bh, std::max(x1, x2));
            } else if (dy * ry < 0 || dy * ry > len * len) {
                bh = -INFINITY;
            }
            if (bl <= bh) {
                lo = std::min(lo, bl);
                hi = std::max(hi, bh);
            }
        }
        if (lo > hi) continue;
        const double x0 = std::max<double>(std::ceil(lo), box.left);
        const double x1 = std::min<double>(std::floor(hi) + 1.0, box.right);
        if (x0 < x1) sink.span(int(yd), int(x0), int(x1));
    }
}

} // namespace QOR::detail
