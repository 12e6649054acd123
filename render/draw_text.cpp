// Text items: each glyph's loops are turned into device points once; the first loop is filled (holes
// clipped out) and every loop is traced with a one-pixel pen.
#include <algorithm>
#include <span>
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

/// Sets glyph to the device points of loops after transforming them by d; false at the first arc.
/// Consecutive repeats are left out, as a repeated point adds nothing to a fill or to a thin trace; a loop
/// that comes to a single point keeps it twice, so that a wide pen still marks it.
bool toDevice(std::span<const CQorVertexArray> loops, const CQorMatrix3d& d, DeviceLoops& glyph) {
    glyph.clear();
    std::vector<POINT>& points = glyph.points;
    for (const CQorVertexArray& loop : loops) {
        const std::size_t first = points.size();
        const CQorVertex* vx = loop.data();
        const CQorVertex* const end = vx + loop.len();
        for (const CQorPoint3d* lastEnd = nullptr; vx != end; lastEnd = &vx->end, ++vx) {
            if (vx->isArc()) return false;
            // A segment that starts where the one before it ended adds its end point only.
            if (!lastEnd || !sameCoordinates(vx->start, *lastEnd)) {
                const POINT p = devicePoint(vx->start * d);
                if (points.size() == first || !samePoint(points.back(), p)) {
                    if (points.size() > first) glyph.gaps.push_back(points.size());
                    points.push_back(p);
                }
            }
            const POINT p = devicePoint(vx->end * d);
            if (!samePoint(points.back(), p)) points.push_back(p);
        }
        if (points.size() == first + 1) points.push_back(points.back());
        glyph.counts.push_back(int(points.size() - first));
    }
    return true;
}

/// Whether anything of a glyph with these device points can reach the window, when nothing wider than one
/// pixel draws it: a glyph that came to one point draws nothing.
bool reachesWindow(const Frame& frame, const std::vector<POINT>& points) {
    RECT bounds{kDeviceLimit, kDeviceLimit, -kDeviceLimit, -kDeviceLimit};
    for (const POINT& p : points)
        bounds = RECT{std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                      std::max(bounds.bottom, p.y)};
    if (bounds.left == bounds.right && bounds.top == bounds.bottom) return false;
    return bounds.right >= 0 && bounds.bottom >= 0 && bounds.left < frame.width && bounds.top < frame.height;
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
    const CQorMatrix3d d = style.base * frame.gdx.viewDirectionMtxGet() * frame.gdx.mtxGet(item);
    // The fill outlines the glyph with the item's pen. When that pen is thin, it draws in the window what
    // the one-pixel pen of the trace draws, and a glyph that cannot reach the window may be skipped.
    const int thickness = frame.gdx.thicknGet(item);
    const bool thinPen = frame.window() && (thickness == 0 || thickness == 1);
    DeviceLoops& device = frame.scratch.loops;
    // Loops once exploded keep their room from glyph to glyph: the array only grows.
    std::vector<CQorVertexArray>& chords = frame.scratch.glyphChords;
    for (const CQorArrayTempl<CQorVertexArray>& stored : frame.item(item).m_strokes) {
        if (stored.len() == 0) continue;
        std::span<const CQorVertexArray> glyph(stored.data(), std::size_t(stored.len()));
        if (!toDevice(glyph, d, device)) {
            if (!frame.window()) {
                drawCurvedGlyph(frame, stored, d, style.color);
                continue;
            }
            if (chords.size() < glyph.size()) chords.resize(glyph.size());
            for (std::size_t i = 0; i < glyph.size(); ++i)
                explode(glyph[i], chords[i]);
            glyph = std::span<const CQorVertexArray>(chords.data(), glyph.size());
            toDevice(glyph, d, device);
        }
        if (thinPen && !reachesWindow(frame, device.points)) continue;
        if (glyph[0].isClosed()) fillDeviceLoops(frame, device, style.color);
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
