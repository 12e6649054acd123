#include "qor/kernel/geom/polyline_ops.h"

#include <algorithm>
#include <cmath>

#include "qor/kernel/geom/arc_math.h"

namespace QOR {

using detail::ArcFrame;

namespace {

// Appends the arc of f as n chords of equal angle; the first and last points are the vertex's own.
void appendChords(const ArcFrame& f, int n, CQorVertexArray& out) {
    n = std::clamp(n, 1, kMaxChords);
    CQorPoint3d prev = f.origin;
    for (int i = 1; i <= n; ++i) {
        const CQorPoint3d next = f.at(double(i) / n);
        out.append(prev, next);
        prev = next;
    }
}

} // namespace

CQorVertex g_vx_xy(const CQorVertex& vx) {
    return {{vx.start.x, vx.start.y, 0.0}, {vx.end.x, vx.end.y, 0.0}, vx.bulge};
}

CQorVertexArray g_vx_xy(const CQorVertexArray& vl) {
    CQorVertexArray out;
    out.reserve(vl.len());
    for (const CQorVertex& v : vl)
        out.append(g_vx_xy(v));
    return out;
}

void g_vl_expl_append(const CQorVertex& vx, int n, CQorVertexArray& out) {
    const ArcFrame f(vx, CQorVector3d::kZAxis);
    if (!f.arc)
        out.append(vx);
    else
        appendChords(f, n, out);
}

CQorVertexArray g_vl_expl(const CQorVertex& vx, int n) {
    CQorVertexArray out;
    g_vl_expl_append(vx, n, out);
    return out;
}

CQorVertexArray g_vl_expl(const CQorVertexArray& vl, int n) {
    CQorVertexArray out;
    const CQorVector3d normal = vl.hasArcs() ? vl.normal() : CQorVector3d::kZAxis;
    for (const CQorVertex& v : vl) {
        const ArcFrame f(v, normal);
        if (!f.arc)
            out.append(v);
        else
            appendChords(f, n, out);
    }
    return out;
}

bool vl_split_dif(CQorVertexArray& vl, double deviation) {
    if (!(deviation > 0.0)) return false;
    if (!vl.hasArcs()) return true;
    const CQorVector3d normal = vl.normal();
    CQorVertexArray out;
    out.reserve(vl.len());
    for (const CQorVertex& v : vl) {
        const ArcFrame f(v, normal);
        if (!f.arc)
            out.append(v);
        else
            appendChords(f, detail::chordCount(f, deviation), out);
    }
    vl = std::move(out);
    return true;
}

bool g_vl_proje_mtx_orig(CQorVertexArray& vl, const CQorMatrix3d& m, double deviation) {
    if (!(deviation > 0.0)) return false;
    const CQorVector3d normal = vl.hasArcs() ? vl.normal() : CQorVector3d::kZAxis;
    CQorVector3d u, v;
    ArcFrame::planeAxes(normal, u, v);
    // The plane's unit axes after the transformation and the drop onto XY: arcs stay circles only when
    // the two images are perpendicular and equally long.
    const CQorVector3d mu = m.apply(u), mv = m.apply(v);
    const double lu = std::hypot(mu.x, mu.y), lv = std::hypot(mv.x, mv.y);
    const double cross = mu.x * mv.y - mu.y * mv.x;
    const double scale = std::max(lu, lv);
    const bool circular = scale > 0.0 && std::abs(lu - lv) <= 1e-9 * scale &&
                          std::abs(mu.x * mv.x + mu.y * mv.y) <= 1e-9 * scale * scale;
    CQorVertexArray out;
    out.reserve(vl.len());
    for (const CQorVertex& vx : vl) {
        const ArcFrame f(vx, normal);
        if (f.arc && !circular) {
            CQorVertexArray chords;
            appendChords(f, detail::chordCount(f, deviation), chords);
            for (const CQorVertex& c : chords)
                out.append(c);
        } else {
            out.append(vx);
        }
    }
    for (CQorVertex& vx : out) {
        vx.start = m.apply(vx.start);
        vx.end = m.apply(vx.end);
        vx.start.z = 0.0;
        vx.end.z = 0.0;
        if (vx.isArc() && cross < 0.0) vx.bulge = -vx.bulge;
    }
    vl = std::move(out);
    return true;
}

CQorArrayTempl<CQorVertexArray> vl_to_vll(const CQorVertexArray& vl) {
    CQorArrayTempl<CQorVertexArray> out;
    CQorVertexArray piece;
    for (const CQorVertex& v : vl) {
        if (!piece.isEmpty() && piece.lastVertex().end != v.start) {
            out.append(std::move(piece));
            piece = CQorVertexArray();
        }
        piece.append(v);
    }
    if (!piece.isEmpty()) out.append(std::move(piece));
    return out;
}

CQorVertex g_vl_cut(const CQorVertex& segment, const CQorPoint3d& p, const CQorPoint3d& q) {
    const ArcFrame f(segment, CQorVector3d::kZAxis);
    return segment.subSegment(f.nearestParam(p), f.nearestParam(q));
}

namespace {
struct PathPos {
    int index = 0;   // vertex
    double t = 0.0;  // parameter on it
    double distance; // from p to the nearest point
};

PathPos nearestOnPath(const CQorVertexArray& vl, const CQorVector3d& normal, const CQorPoint3d& p) {
    PathPos best{0, 0.0, INFINITY};
    for (int i = 0; i < vl.len(); ++i) {
        const ArcFrame f(vl[i], normal);
        const double t = f.nearestParam(p);
        const double d = f.at(t).distanceTo(p);
        if (d < best.distance) best = {i, t, d};
    }
    return best;
}
} // namespace

CQorVertexArray g_vl_cut(const CQorVertexArray& vl, const CQorPoint3d& p, const CQorPoint3d& q) {
    CQorVertexArray out;
    if (vl.isEmpty()) return out;
    const CQorVector3d normal = vl.hasArcs() ? vl.normal() : CQorVector3d::kZAxis;
    PathPos a = nearestOnPath(vl, normal, p);
    PathPos b = nearestOnPath(vl, normal, q);
    const bool backwards = b.index < a.index || (b.index == a.index && b.t < a.t);
    if (backwards) std::swap(a, b);
    for (int i = a.index; i <= b.index; ++i) {
        const double t0 = i == a.index ? a.t : 0.0;
        const double t1 = i == b.index ? b.t : 1.0;
        if (t1 > t0 || a.index == b.index) out.append(vl[i].subSegment(t0, t1, normal));
    }
    if (backwards) out.revert();
    return out;
}

} // namespace QOR
