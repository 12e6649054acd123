// Segments to device lines: transforming, chord splitting, one-pixel pieces and line types.
#include <cmath>

#include "qor/kernel/geom/polyline_ops.h"
#include "qor/platform/device_coord_p.h"
#include "qor/render/polyline_prep.h"
#include "qor/render/render_p.h"

namespace QOR::render {

void segmentPoints(const CQorVertex& segment, const CQorMatrix3d& m, std::vector<POINT>& out) {
    out.clear();
    if (!segment.isArc()) {
        // What the chords of a straight segment come to, without building a polyline for it.
        out.push_back(devicePoint(segment.start * m));
        out.push_back(devicePoint(segment.end * m));
        return;
    }
    CQorVertexArray one;
    one.append(segment);
    one.transformBy(m);
    const CQorPoint3dArray pts = one.pts(true, kPointTolerance);
    out.reserve(std::size_t(pts.len()));
    for (const CQorPoint3d& p : pts)
        out.push_back(devicePoint(p));
}

void LineRuns::add(POINT from, POINT to) {
    m_lastEnd = nullptr;
    if (m_points.empty() || !samePoint(m_points.back(), from)) {
        flush();
        m_points.push_back(from);
    }
    if (m_points.size() == 1 || !samePoint(m_points.back(), to)) m_points.push_back(to);
}

void LineRuns::add(const CQorVertex& segment, const CQorMatrix3d& m) {
    if (segment.isArc()) {
        segmentPoints(segment, m, m_arc);
        for (std::size_t i = 1; i < m_arc.size(); ++i)
            add(m_arc[i - 1], m_arc[i]);
        return;
    }
    const auto place = [&](const CQorPoint3d& p) {
        return m_affine ? affineDevicePoint(m, p) : devicePoint(p * m);
    };
    // A segment that starts exactly where the last one ended starts at the same device point.
    const bool joins = m_lastEnd && sameCoordinates(*m_lastEnd, segment.start);
    add(joins ? m_points.back() : place(segment.start), place(segment.end));
    m_lastEnd = &segment.end;
}

void LineRuns::flush() {
    if (m_points.size() >= 2) m_dc.Polyline(m_points.data(), int(m_points.size()));
    m_points.clear();
    m_lastEnd = nullptr;
}

void drawPixel(const Frame& frame, POINT p, COLORREF color) {
    if (frame.window()) {
        frame.dc.SetPixelV(p, color);
        return;
    }
    // A metafile player may not honour set-pixel records at every scale; a one-unit line always shows.
    frame.dc.MoveTo(p);
    frame.dc.LineTo(p.x + 1, p.y);
}

const CQorVertexArray& styledPath(const Frame& frame, CQorVertexArray& vl,
                                  const CQorArrayTempl<double>& dashes, bool& continuous) {
    applyLineType(vl, dashes, frame.patternDot, frame.scratch.polyline);
    continuous = vl.isContinuous() || (!frame.window() && vl.isClosed());
    if (!vl.hasArcs()) return vl;
    detail::vlSplit(vl, frame.scratch.split);
    return frame.scratch.split;
}

void tracePath(const Frame& frame, const CQorVertexArray& path, bool continuous, const CQorMatrix3d& m,
               COLORREF color, bool affine) {
    LineRuns runs(frame.dc, frame.scratch.points, affine);
    for (const CQorVertex& vx : path) {
        if (!continuous && vx.end.distanceTo(vx.start) < frame.minSegment) {
            runs.flush();
            drawPixel(frame, devicePoint(vx.start * m), color);
            continue;
        }
        runs.add(vx, m);
    }
}

void drawStyledPolyline(const Frame& frame, CQorVertexArray& vl, const CQorArrayTempl<double>& dashes,
                        const CQorMatrix3d& m, COLORREF color) {
    bool continuous = false;
    const CQorVertexArray& path = styledPath(frame, vl, dashes, continuous);
    tracePath(frame, path, continuous, m, color);
}

} // namespace QOR::render
