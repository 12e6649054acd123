#include "qor/kernel/geom/intersect_p.h"

#include <cmath>

namespace QOR::detail {
namespace {

struct Circle {
    double cx, cy, r;
};

// A straight or arc vertex seen in the XY plane, with its frame for parameters.
// A vertex flattened into the XY plane, with its frame for parameters.
struct Curve {
    explicit Curve(const CQorVertex& v) : vertex(flatXY(v)), frame(vertex, CQorVector3d::kZAxis) {}
    CQorVertex vertex;
    ArcFrame frame;

    Circle circle() const { return {frame.origin.x + frame.cx, frame.origin.y + frame.cy, frame.radius}; }
    double distanceTo(double x, double y) const {
        const CQorPoint3d p{x, y, frame.origin.z};
        const CQorPoint3d q = frame.at(frame.nearestParam(p));
        return std::hypot(q.x - x, q.y - y);
    }
};

// Accepting distance for a candidate point: rounding of circle intersections grows with the size of
// the coordinates, so the tolerance does too (64 ulps of the largest coordinate) but never drops
// below kOnTol.
double acceptTol(const CQorVertex& a, const CQorVertex& b) {
    const double m =
        std::max({std::abs(a.start.x), std::abs(a.start.y), std::abs(a.end.x), std::abs(a.end.y),
                  std::abs(b.start.x), std::abs(b.start.y), std::abs(b.end.x), std::abs(b.end.y)});
    return std::max(kOnTol, 64.0 * 2.220446049250313e-16 * m);
}

class HitList {
public:
    HitList(const CQorVertex& original, const Curve& a, const Curve& b, Hit* out)
        : m_original(original, CQorVector3d::kZAxis), m_a(a), m_b(b), m_out(out) {
        m_tol = acceptTol(a.vertex, b.vertex);
    }
    // Keeps (x, y) when it lies on both curves and is not yet known.
    void offer(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y) || m_count >= kMaxHits) return;
        if (!(m_a.distanceTo(x, y) <= m_tol) || !(m_b.distanceTo(x, y) <= m_tol)) return;
        const double t = m_a.frame.nearestParam({x, y, 0.0});
        const CQorPoint3d p = m_original.at(t);
        for (int i = 0; i < m_count; ++i)
            if (std::hypot(m_out[i].point.x - p.x, m_out[i].point.y - p.y) <= m_tol) return;
        m_out[m_count++] = {t, p};
    }
    // Overlapping pieces: each end point of either curve that lies on the other.
    void offerEnds() {
        offer(m_b.vertex.start.x, m_b.vertex.start.y);
        offer(m_b.vertex.end.x, m_b.vertex.end.y);
        offer(m_a.vertex.start.x, m_a.vertex.start.y);
        offer(m_a.vertex.end.x, m_a.vertex.end.y);
    }
    int count() const { return m_count; }
    double tol() const { return m_tol; }

private:
    ArcFrame m_original;
    const Curve& m_a;
    const Curve& m_b;
    Hit* m_out;
    int m_count = 0;
    double m_tol = kOnTol;
};

void lineLine(const CQorVertex& a, const CQorVertex& b, HitList& hits) {
    const double rx = a.end.x - a.start.x, ry = a.end.y - a.start.y;
    const double qx = b.end.x - b.start.x, qy = b.end.y - b.start.y;
    const double wx = b.start.x - a.start.x, wy = b.start.y - a.start.y;
    const double denom = rx * qy - ry * qx;
    const double ra = std::hypot(rx, ry), qa = std::hypot(qx, qy);
    if (std::abs(denom) <= 1e-12 * ra * qa || ra == 0.0 || qa == 0.0) {
        // Parallel or degenerate: only overlapping (collinear) pieces meet, at their ends.
        hits.offerEnds();
        return;
    }
    const double t = (wx * qy - wy * qx) / denom;
    hits.offer(a.start.x + rx * t, a.start.y + ry * t);
    // A crossing that rounding put just beyond an end shows up as that end instead.
    hits.offerEnds();
}

void lineCircle(const CQorVertex& line, const Circle& c, HitList& hits) {
    const double rx = line.end.x - line.start.x, ry = line.end.y - line.start.y;
    const double a = rx * rx + ry * ry;
    if (!(a > 0.0)) {
        hits.offerEnds();
        return;
    }
    const double px = line.start.x - c.cx, py = line.start.y - c.cy;
    // Foot of the perpendicular from the centre, then half the chord the circle cuts from the line.
    const double tFoot = -(px * rx + py * ry) / a;
    const double fx = px + rx * tFoot, fy = py + ry * tFoot;
    const double h2 = c.r * c.r - (fx * fx + fy * fy);
    const double dist = std::hypot(fx, fy);
    if (dist > c.r + hits.tol()) {
        hits.offerEnds();
        return;
    }
    if (h2 <= 0.0 || dist >= c.r - hits.tol() * 1e-3) {
        hits.offer(c.cx + fx, c.cy + fy); // tangent
    }
    if (h2 > 0.0) {
        const double dt = std::sqrt(h2 / a);
        hits.offer(c.cx + px + rx * (tFoot - dt), c.cy + py + ry * (tFoot - dt));
        hits.offer(c.cx + px + rx * (tFoot + dt), c.cy + py + ry * (tFoot + dt));
    }
    hits.offerEnds();
}

void circleCircle(const Circle& c1, const Circle& c2, HitList& hits) {
    const double dx = c2.cx - c1.cx, dy = c2.cy - c1.cy;
    const double d = std::hypot(dx, dy);
    if (d <= hits.tol() && std::abs(c1.r - c2.r) <= hits.tol()) {
        hits.offerEnds(); // the same circle: the arcs overlap
        return;
    }
    if (!(d > 0.0) || d > c1.r + c2.r + hits.tol() || d < std::abs(c1.r - c2.r) - hits.tol()) {
        hits.offerEnds();
        return;
    }
    const double a = (d * d + c1.r * c1.r - c2.r * c2.r) / (2.0 * d);
    const double h = std::sqrt(std::max(0.0, c1.r * c1.r - a * a));
    const double mx = c1.cx + dx * a / d, my = c1.cy + dy * a / d;
    hits.offer(mx - dy * h / d, my + dx * h / d);
    hits.offer(mx + dy * h / d, my - dx * h / d);
    hits.offerEnds();
}

} // namespace

int intersectXY(const CQorVertex& a, const CQorVertex& b, Hit* out) {
    const Curve ca(a), cb(b);
    HitList hits(a, ca, cb, out);
    if (!ca.frame.arc && !cb.frame.arc)
        lineLine(a, b, hits);
    else if (!ca.frame.arc)
        lineCircle(a, cb.circle(), hits);
    else if (!cb.frame.arc)
        lineCircle(b, ca.circle(), hits);
    else
        circleCircle(ca.circle(), cb.circle(), hits);
    return hits.count();
}

} // namespace QOR::detail
