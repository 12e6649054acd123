// Solid fills of loops with holes. The window fills the outer loop as a polygon with the holes cut out
// of the clip region; the metafile fills by horizontal scan lines clipped to the loops, which every
// metafile player shows the same way.
#include <algorithm>

#include "kernel/polyline_clip.h"
#include "render/render_p.h"

namespace QOR::render {

namespace {

/// The device points of loop after transforming it by d, its arcs as chords of half a device unit.
void loopPoints(const CQorVertexArray& loop, const CQorMatrix3d& d, std::vector<POINT>& out) {
    out.clear();
    if (loop.hasArcs()) {
        const CQorPoint3dArray pts = loop.getTransformedCopy(d).pts(true, kPointTolerance);
        out.reserve(std::size_t(pts.len()));
        for (const CQorPoint3d& p : pts)
            out.push_back(devicePoint(p));
        return;
    }
    // What the points of the transformed copy come to, without the copy: each start point unless it
    // repeats the point before it exactly, then each end point.
    CQorPoint3d last;
    for (const CQorVertex& vx : loop) {
        const CQorPoint3d start = vx.start * d;
        if (out.empty() || last.x != start.x || last.y != start.y || last.z != start.z)
            out.push_back(devicePoint(start));
        last = vx.end * d;
        out.push_back(devicePoint(last));
    }
}

void fillPolygonWithHoles(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops,
                          const CQorMatrix3d& d, COLORREF color) {
    CDC& dc = frame.dc;
    std::vector<POINT>& points = frame.scratch.points;
    bool holesCut = false;
    for (int i = 1; i < loops.len(); ++i) {
        loopPoints(std::as_const(loops)[i], d, points);
        if (points.size() < 2) continue;
        CRgn hole;
        if (hole.CreatePolygonRgn(points.data(), int(points.size()), ALTERNATE))
            holesCut |= dc.ExtSelectClipRgn(&hole, RGN_DIFF) != RGN_ERROR;
    }
    loopPoints(std::as_const(loops)[0], d, points);
    dc.SetBkColor(frame.back);
    CBrush brush(color);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.SetPolyFillMode(ALTERNATE);
    if (points.size() >= 2) dc.Polygon(points.data(), int(points.size()));
    if (oldBrush) dc.SelectObject(oldBrush);
    // Selecting a region copies it: only undo a clip that holes changed.
    if (holesCut) dc.SelectClipRgn(const_cast<CRgn*>(frame.clientClip));
}

void fillByScanLines(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, COLORREF color) {
    CDC& dc = frame.dc;
    CQorPoint3d min, max;
    if (!std::as_const(loops)[0].extents(min, max)) return;
    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = dc.SelectObject(&pen);
    // Guard against a loop so tall that the scan would never end.
    const double last = std::min(max.y, min.y + double(kDeviceLimit));
    for (double y = double(deviceCoord(min.y)); y < last; y += 1.0) {
        CQorVertexArray row;
        row.append(CQorPoint3d(min.x, y, 0.0), CQorPoint3d(max.x, y, 0.0));
        for (const CQorVertexArray& piece : vl_punch_reg(row, loops, true))
            for (const CQorVertex& vx : piece) {
                dc.MoveTo(devicePoint(vx.start));
                dc.LineTo(devicePoint(vx.end));
            }
    }
    if (oldPen) dc.SelectObject(oldPen);
}

} // namespace

void fillLoops(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& d,
               COLORREF color, bool scanLines) {
    if (loops.len() == 0) return;
    if (!scanLines) {
        fillPolygonWithHoles(frame, loops, d, color);
        return;
    }
    CQorArrayTempl<CQorVertexArray> placed = loops;
    for (int i = 0; i < placed.len(); ++i)
        placed[i].transformBy(d);
    fillByScanLines(frame, placed, color);
}

} // namespace QOR::render
