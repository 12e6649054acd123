// Solid fills of loops with holes. The window fills the outer loop as a polygon with the holes cut out
// of the clip region; the metafile fills by horizontal scan lines clipped to the loops, which every
// metafile player shows the same way.
#include <algorithm>

#include "qor/kernel/geom/polyline_clip.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Appends the device points of loop after transforming it by d, its arcs as chords of half a device unit.
void appendLoopPoints(const CQorVertexArray& loop, const CQorMatrix3d& d, DeviceLoops& out) {
    const std::size_t first = out.points.size();
    if (loop.hasArcs()) {
        const CQorPoint3dArray pts = loop.getTransformedCopy(d).pts(true, kPointTolerance);
        for (const CQorPoint3d& p : pts)
            out.points.push_back(devicePoint(p));
    } else {
        // What the points of the transformed copy come to, without the copy: each start point unless it
        // repeats the point before it exactly, then each end point.
        CQorPoint3d last;
        for (const CQorVertex& vx : loop) {
            const CQorPoint3d start = vx.start * d;
            if (out.points.size() == first || !sameCoordinates(last, start))
                out.points.push_back(devicePoint(start));
            last = vx.end * d;
            out.points.push_back(devicePoint(last));
        }
    }
    out.counts.push_back(int(out.points.size() - first));
}

/// False for a polygon that encloses no pixel: fewer than three points, or all on one row or column.
bool enclosesPixels(const POINT* points, int count) {
    if (count < 3) return false;
    bool oneRow = true, oneColumn = true;
    for (int i = 1; i < count && (oneRow || oneColumn); ++i) {
        oneRow = oneRow && points[i].y == points[0].y;
        oneColumn = oneColumn && points[i].x == points[0].x;
    }
    return !oneRow && !oneColumn;
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

SolidFill::SolidFill(const Frame& frame, COLORREF color) : m_frame(frame), m_brush(color) {
    CDC& dc = frame.dc;
    dc.SetBkColor(frame.back);
    m_oldBrush = dc.SelectObject(&m_brush);
    dc.SetPolyFillMode(ALTERNATE);
}

SolidFill::~SolidFill() {
    if (m_oldBrush) m_frame.dc.SelectObject(m_oldBrush);
}

void SolidFill::fill(const DeviceLoops& loops, bool outline) {
    if (loops.counts.empty()) return;
    CDC& dc = m_frame.dc;
    bool holesCut = false;
    std::size_t first = std::size_t(loops.counts[0]);
    for (std::size_t i = 1; i < loops.counts.size(); ++i) {
        const int count = loops.counts[i];
        if (enclosesPixels(&loops.points[first], count)) {
            CRgn& hole = m_frame.scratch.hole;
            hole.DeleteObject(); // emptied: its storage serves this hole
            if (hole.CreatePolygonRgn(&loops.points[first], count, ALTERNATE))
                holesCut |= dc.ExtSelectClipRgn(&hole, RGN_DIFF) != RGN_ERROR;
        }
        first += std::size_t(count);
    }
    CGdiObject* oldPen = outline ? nullptr : dc.SelectStockObject(NULL_PEN);
    if (loops.counts[0] >= 2) dc.Polygon(loops.points.data(), loops.counts[0]);
    if (oldPen) dc.SelectObject(static_cast<CPen*>(oldPen));
    // Selecting a region copies it: only undo a clip that holes changed.
    if (holesCut) dc.SelectClipRgn(const_cast<CRgn*>(m_frame.clientClip));
}

void fillDeviceLoops(const Frame& frame, const DeviceLoops& loops, COLORREF color) {
    if (loops.counts.empty()) return;
    SolidFill(frame, color).fill(loops, true);
}

void fillLoops(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& d,
               COLORREF color, bool scanLines) {
    if (loops.len() == 0) return;
    if (!scanLines) {
        DeviceLoops& device = frame.scratch.loops;
        device.clear();
        for (const CQorVertexArray& loop : loops)
            appendLoopPoints(loop, d, device);
        fillDeviceLoops(frame, device, color);
        return;
    }
    CQorArrayTempl<CQorVertexArray> placed = loops;
    for (int i = 0; i < placed.len(); ++i)
        placed[i].transformBy(d);
    fillByScanLines(frame, placed, color);
}

} // namespace QOR::render
