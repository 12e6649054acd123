// Segments to device lines: transforming, chord splitting, one-pixel pieces and line types.
#include <algorithm>
#include <cmath>
#include <limits>

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

bool FlatPath::assign(const CQorVertexArray& path) {
    points.clear();
    runStarts.clear();
    const auto flat = [](const CQorPoint3d& p) { return p.z == 0.0 && !std::signbit(p.z); };
    for (const CQorVertex& vx : path)
        if (vx.isArc() || !flat(vx.start) || !flat(vx.end)) return false;
    const CQorPoint3d* lastEnd = nullptr;
    for (const CQorVertex& vx : path) {
        // Where LineRuns::add would place the start anew: the run ends.
        if (!lastEnd || !sameCoordinates(*lastEnd, vx.start)) {
            runStarts.push_back(std::uint32_t(points.size()));
            points.push_back(Point{vx.start.x, vx.start.y});
        }
        points.push_back(Point{vx.end.x, vx.end.y});
        lastEnd = &vx.end;
    }
    return true;
}

void KeptPath::assign(const CQorVertexArray& styled, bool isContinuous) {
    continuous = isContinuous;
    shortest = std::numeric_limits<double>::infinity();
    for (const CQorVertex& vx : styled)
        shortest = std::min(shortest, vx.end.distanceTo(vx.start)); // as tracePath measures
    if (flat.assign(styled)) {
        path = CQorVertexArray(); // its memory goes
    } else {
        path = styled;
    }
}

namespace {

/// tracePath for a flat path.
void traceFlat(const Frame& frame, const FlatPath& path, bool continuous, const CQorMatrix3d& m,
               COLORREF color, bool affine) {
    // As tracePath draws the segments these points come from, segment by segment.
    LineRuns runs(frame.dc, frame.scratch.points);
    const auto place = [&](const FlatPath::Point& p) {
        return affine ? affineDevicePoint(m, p.inSpace()) : devicePoint(p.inSpace() * m);
    };
    const std::size_t n = path.points.size();
    for (std::size_t r = 0; r < path.runStarts.size(); ++r) {
        const std::size_t end = r + 1 < path.runStarts.size() ? path.runStarts[r + 1] : n;
        bool joins = false; // the segment starts at `last`, the device point the one before it ended at
        POINT last{};
        for (std::size_t i = path.runStarts[r]; i + 1 < end; ++i) {
            const FlatPath::Point &start = path.points[i], &stop = path.points[i + 1];
            if (!continuous && stop.inSpace().distanceTo(start.inSpace()) < frame.minSegment) {
                runs.flush();
                drawPixel(frame, devicePoint(start.inSpace() * m), color);
                joins = false;
                continue;
            }
            const POINT to = place(stop);
            runs.add(joins ? last : place(start), to);
            last = to;
            joins = true;
        }
    }
}

} // namespace

void tracePath(const Frame& frame, const KeptPath& path, const CQorMatrix3d& m, COLORREF color, bool affine) {
    const bool continuous = path.continuous || path.shortest >= frame.minSegment;
    if (path.flat.empty()) {
        tracePath(frame, path.path, continuous, m, color, affine);
    } else {
        traceFlat(frame, path.flat, continuous, m, color, affine);
    }
}

void drawStyledPolyline(const Frame& frame, CQorVertexArray& vl, const CQorArrayTempl<double>& dashes,
                        const CQorMatrix3d& m, COLORREF color) {
    bool continuous = false;
    const CQorVertexArray& path = styledPath(frame, vl, dashes, continuous);
    tracePath(frame, path, continuous, m, color);
}

} // namespace QOR::render
