// Segments to device lines: transforming, chord splitting, one-pixel pieces and line types.
#include <cmath>

#include "kernel/polyline_ops.h"
#include "platform/device_coord.h"
#include "render/polyline_prep.h"
#include "render/render_p.h"

namespace QOR::render {

POINT devicePoint(const CQorPoint3d& p) {
    return POINT{deviceCoord(p.x), deviceCoord(p.y)};
}

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

void drawPoints(CDC& dc, const std::vector<POINT>& points) {
    if (points.empty()) return;
    dc.MoveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        dc.LineTo(points[i]);
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

void drawStyledPolyline(const Frame& frame, CQorVertexArray& vl, const CQorArrayTempl<double>& dashes,
                        const CQorMatrix3d& m, COLORREF color) {
    applyLineType(vl, dashes);
    const bool continuous = vl.isContinuous() || (!frame.window() && vl.isClosed());
    if (vl.hasArcs()) vl = qor_gdx_image_vl_split(vl);
    std::vector<POINT>& points = frame.scratch.points;
    for (const CQorVertex& vx : std::as_const(vl)) {
        if (!continuous && vx.end.distanceTo(vx.start) < frame.minSegment) {
            drawPixel(frame, devicePoint(vx.start * m), color);
            continue;
        }
        segmentPoints(vx, m, points);
        drawPoints(frame.dc, points);
    }
}

} // namespace QOR::render
