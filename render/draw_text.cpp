// Text items: each glyph's loops are turned into device points; the first loop is filled (holes clipped
// out) and every loop is traced with a one-pixel pen. What a trace visits, each arc in chords, is prepared
// once per item (and kept by a painter), so that a repaint only places the points.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_ops.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Deviation, in model units, of the chords that replace the arcs of glyph outlines in the window.
constexpr double kGlyphDeviation = 0.1;

/// Sets out to loop with every arc replaced by chords.
void explode(const CQorVertexArray& loop, CQorVertexArray& out) {
    out.clear();
    for (const CQorVertex& vx : loop) {
        if (!vx.isArc()) {
            out.append(vx);
            continue;
        }
        g_vl_expl_append(vx, vx_split_dif(vx, kGlyphDeviation), out);
    }
}

/// Appends the points a trace of the straight loop visits: each segment's end, and its start where it does
/// not begin at the very point the segment before it ended.
void appendLoop(const CQorVertexArray& loop, PreparedText& text, ModelBox& bounds) {
    const CQorPoint3d* lastEnd = nullptr;
    for (const CQorVertex& vx : loop) {
        if (!lastEnd || !sameCoordinates(vx.start, *lastEnd)) {
            text.points.push_back(vx.start);
            text.starts.push_back(1);
            bounds.add(vx.start);
        }
        text.points.push_back(vx.end);
        text.starts.push_back(0);
        bounds.add(vx.end);
        lastEnd = &vx.end;
    }
    text.loopEnds.push_back(int(text.points.size()));
}

/// Prepares the glyphs of strokes into text. The window draws arcs as chords; a metafile keeps a curved
/// glyph's arcs and draws it from strokes.
void prepare(const Frame& frame, const CQorStrokeGroups& strokes, PreparedText& text) {
    text.clear();
    CQorVertexArray& chords = frame.scratch.chords;
    for (int g = 0; g < strokes.len(); ++g) {
        const CQorArrayTempl<CQorVertexArray>& loops = strokes[g];
        if (loops.len() == 0) continue;
        PreparedText::Glyph glyph;
        glyph.group = g;
        if (std::none_of(loops.begin(), loops.end(), [](const CQorVertexArray& l) { return l.hasArcs(); })) {
            for (const CQorVertexArray& loop : loops)
                appendLoop(loop, text, glyph.bounds);
            glyph.closed = loops[0].isClosed();
        } else if (!frame.window()) {
            glyph.curved = true;
        } else {
            for (int i = 0; i < loops.len(); ++i) {
                explode(loops[i], chords);
                appendLoop(chords, text, glyph.bounds);
                if (i == 0) glyph.closed = chords.isClosed();
            }
        }
        glyph.loopEnd = int(text.loopEnds.size());
        text.bounds.add(glyph.bounds);
        text.glyphs.push_back(glyph);
    }
    text.made = true;
}

/// Sets device to the device points of loops first to end - 1 of text after transforming them by d.
/// Consecutive repeats are left out, as a repeated point adds nothing to a fill or to a thin trace; a loop
/// that comes to a single point keeps it twice, so that a wide pen still marks it. Affine: d is affine and
/// every point finite.
template <bool Affine>
void place(const PreparedText& text, int first, int end, const CQorMatrix3d& d, DeviceLoops& device) {
    device.clear();
    std::vector<POINT>& out = device.points;
    std::size_t at = first == 0 ? 0 : std::size_t(text.loopEnds[std::size_t(first - 1)]);
    for (int loop = first; loop < end; ++loop) {
        const std::size_t loopStart = out.size();
        for (const std::size_t loopEnd = std::size_t(text.loopEnds[std::size_t(loop)]); at < loopEnd; ++at) {
            const POINT p = Affine ? affineDevicePoint(d, text.points[at]) : devicePoint(text.points[at] * d);
            // A loop always opens with a segment's start, so out has a point for an end to compare with.
            if (!text.starts[at]) {
                if (!samePoint(out.back(), p)) out.push_back(p);
            } else if (out.size() == loopStart || !samePoint(out.back(), p)) {
                if (out.size() > loopStart) device.gaps.push_back(out.size());
                out.push_back(p);
            }
        }
        if (out.size() == loopStart + 1) out.push_back(out.back());
        device.counts.push_back(int(out.size() - loopStart));
    }
}

/// Whether anything of a glyph whose device points lie within bounds can reach the window, when nothing
/// wider than one pixel draws it: a glyph that comes to one point draws nothing.
bool reachesWindow(const Frame& frame, const DeviceBounds& bounds) {
    if (bounds.left == bounds.right && bounds.top == bounds.bottom) return false;
    return bounds.right >= 0 && bounds.bottom >= 0 && bounds.left < frame.width && bounds.top < frame.height;
}

/// The bounds of device points.
DeviceBounds boundsOf(const std::vector<POINT>& points) {
    DeviceBounds bounds{kDeviceLimit, kDeviceLimit, -kDeviceLimit, -kDeviceLimit};
    for (const POINT& p : points)
        bounds = DeviceBounds{std::min(bounds.left, p.x), std::min(bounds.top, p.y),
                              std::max(bounds.right, p.x), std::max(bounds.bottom, p.y)};
    return bounds;
}

/// True when the trace of the first loop draws the very lines that outline its polygon: the loop has no
/// gap and comes back to its first point.
bool tracesOutline(const DeviceLoops& glyph) {
    const std::size_t count = std::size_t(glyph.counts[0]);
    return count > 0 && (glyph.gaps.empty() || glyph.gaps[0] >= count) &&
           samePoint(glyph.points[0], glyph.points[count - 1]);
}

/// True when a polygon within bounds fills (alternately) no pixel that a one-pixel trace of its closed
/// outline leaves out: on two neighbouring rows, the one row filled lies in its top edges; on two
/// neighbouring columns, a row fills the left column only where an edge meets it, at a vertex or along a
/// vertical edge.
bool fillsOnlyItsOutline(const DeviceBounds& bounds) {
    return bounds.right - bounds.left <= 1 || bounds.bottom - bounds.top <= 1;
}

/// Draws each loop of glyph as lines, lifting the pen at its gaps.
void trace(CDC& dc, const DeviceLoops& glyph) {
    auto gap = glyph.gaps.begin();
    std::size_t first = 0;
    for (const int count : glyph.counts) {
        const std::size_t end = first + std::size_t(count);
        std::size_t run = first;
        for (; gap != glyph.gaps.end() && *gap < end; ++gap) {
            if (*gap - run >= 2) dc.Polyline(&glyph.points[run], int(*gap - run));
            run = *gap;
        }
        if (end - run >= 2) dc.Polyline(&glyph.points[run], int(end - run));
        first = end;
    }
}

/// A glyph with arcs in a metafile: the arcs stay arcs until each is turned into device points, loop by
/// loop for the fill and segment by segment for the trace.
void drawCurvedGlyph(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& glyph, const CQorMatrix3d& d,
                     COLORREF color) {
    if (glyph[0].isClosed()) fillLoops(frame, glyph, d, color, false);
    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = frame.dc.SelectObject(&pen);
    {
        LineRuns runs(frame.dc, frame.scratch.points);
        for (const CQorVertexArray& loop : glyph)
            for (const CQorVertex& vx : loop)
                runs.add(vx, d);
    }
    if (oldPen) frame.dc.SelectObject(oldPen);
}

} // namespace

void drawText(const Frame& frame, int item, const ItemStyle& style) {
    CDC& dc = frame.dc;
    const CQorDisplayItem& it = frame.item(item);
    const CQorStrokeGroups& strokes = it.m_strokes;
    PreparedText* kept = frame.keptAs<PreparedText>(item);
    if (kept && !madeFrom(*kept, it)) {
        prepare(frame, strokes, *kept);
        kept->stamp = it.m_stamp;
    }
    PreparedText& text = kept ? *kept : frame.scratch.text;
    if (!kept) prepare(frame, strokes, text);

    const CQorMatrix3d d = style.base * frame.gdx.viewDirectionMtxGet() * frame.gdx.mtxGet(item);
    // The fill outlines the glyph with the item's pen. When that pen is thin, it draws in the window what
    // the one-pixel pen of the trace draws, and a glyph that cannot reach the window may be skipped.
    const int thickness = frame.gdx.thicknGet(item);
    // Where the points' bounds tell what they come to, most glyphs of a small text need not be placed.
    const bool bounded = frame.window() && isAffine(d) && !text.bounds.hasNaN();
    const BoxPlacer placer(d, text.bounds);
    if (bounded && placer.missesWindow(frame, text.bounds, kCullMargin + std::max(0, thickness))) return;
    const bool thinPen = frame.window() && (thickness == 0 || thickness == 1);
    // Every glyph fills and traces in the item's colour: in the window the brush stays selected from glyph
    // to glyph.
    std::optional<SolidFill> fill;
    DeviceLoops& device = frame.scratch.loops;
    int firstLoop = 0;
    for (const PreparedText::Glyph& glyph : text.glyphs) {
        const int first = std::exchange(firstLoop, glyph.loopEnd);
        if (glyph.curved) {
            drawCurvedGlyph(frame, strokes[glyph.group], d, style.color);
            continue;
        }
        if (thinPen && bounded && !reachesWindow(frame, placer.deviceBounds(glyph.bounds))) continue;
        if (bounded) {
            place<true>(text, first, glyph.loopEnd, d, device);
        } else {
            place<false>(text, first, glyph.loopEnd, d, device);
        }
        const DeviceBounds placed = thinPen ? boundsOf(device.points) : DeviceBounds{};
        if (thinPen && !reachesWindow(frame, placed)) continue;
        const bool traced = thinPen && tracesOutline(device);
        if (glyph.closed && !(traced && fillsOnlyItsOutline(placed))) {
            if (!fill) fill.emplace(frame, style.color);
            fill->fill(device, !traced);
            if (!frame.window()) fill.reset(); // a metafile records each fill with its own brush
        }
        if (thinPen) {
            trace(dc, device);
            continue;
        }
        CPen pen(PS_SOLID, 1, style.color);
        CPen* oldPen = dc.SelectObject(&pen);
        trace(dc, device);
        if (oldPen) dc.SelectObject(oldPen);
    }
}

} // namespace QOR::render
