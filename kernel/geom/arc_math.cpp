#include "qor/kernel/geom/arc_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "qor/kernel/geom/vertex.h"

namespace QOR {

double g_ang(double angle) {
    if (!std::isfinite(angle)) return 0.0;
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0) a += kTwoPi;
    // fmod of a tiny negative angle plus 2 pi rounds to exactly 2 pi, which is outside the range.
    return a >= kTwoPi ? 0.0 : a;
}

CQorVector3d polar(double angle, double dist) {
    return {std::cos(angle) * dist, std::sin(angle) * dist, 0.0};
}

CQorPoint3d polar(const CQorPoint3d& p, double angle, double dist) {
    return p + polar(angle, dist);
}

namespace {
double minOf(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return std::min(a, b);
}
double maxOf(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return std::max(a, b);
}
} // namespace

CQorPoint3d p_min(const CQorPoint3d& a, const CQorPoint3d& b) {
    return {minOf(a.x, b.x), minOf(a.y, b.y), minOf(a.z, b.z)};
}

CQorPoint3d p_max(const CQorPoint3d& a, const CQorPoint3d& b) {
    return {maxOf(a.x, b.x), maxOf(a.y, b.y), maxOf(a.z, b.z)};
}

int vx_split_dif(const CQorVertex& vx, double deviation) {
    return detail::chordCount(detail::ArcFrame(vx, CQorVector3d::kZAxis), deviation);
}

namespace detail {

int chordCount(const ArcFrame& f, double deviation) {
    if (!f.arc || !std::isfinite(f.radius)) return 1;
    if (!(deviation > 0.0)) return kMaxChords;
    // A chord over the angle phi lies at most r (1 - cos(phi / 2)) from its arc.
    const double c = 1.0 - deviation / f.radius;
    const double phiMax = c <= -1.0 ? 2.0 * std::numbers::pi : 2.0 * std::acos(std::clamp(c, -1.0, 1.0));
    if (!(phiMax > 0.0)) return kMaxChords;
    const double n = std::ceil(std::abs(f.sweep) / phiMax - 1e-9);
    if (!(n < kMaxChords)) return kMaxChords;
    return std::max(1, int(n));
}

void ArcFrame::planeAxes(const CQorVector3d& normal, CQorVector3d& u, CQorVector3d& v) {
    if (normal.x == 0.0 && normal.y == 0.0 && normal.z > 0.0) {
        u = CQorVector3d::kXAxis;
        v = CQorVector3d::kYAxis;
        return;
    }
    CQorMatrix3d m;
    m.setToPlaneToWorld(normal);
    u = m.axis(0);
    v = m.axis(1);
}

ArcFrame::ArcFrame(const CQorVertex& vx, const CQorVector3d& normal) : origin(vx.start), end(vx.end) {
    // +Z, the usual plane, is already a unit normal and has the exact X and Y axes.
    if (normal.x == 0.0 && normal.y == 0.0 && normal.z == 1.0) {
        n = normal;
        u = CQorVector3d::kXAxis;
        v = CQorVector3d::kYAxis;
    } else {
        n = normal.normal();
        if (!(std::abs(n.abs() - 1.0) < 1e-9)) n = CQorVector3d::kZAxis;
        planeAxes(n, u, v);
    }
    const CQorVector3d d = vx.end - vx.start;
    ex = d.dot(u);
    ey = d.dot(v);
    rise = d.dot(n);
    const double b = vx.bulge;
    if (!(std::abs(b) >= kBulgeTol && std::isfinite(b))) return;
    const double chord = std::hypot(ex, ey);
    arc = chord > 0.0 && std::isfinite(chord);
    if (!arc) return;
    sweep = 4.0 * std::atan(b);
    // r = c (1 + b^2) / (4 |b|) and the centre's offset c (1 - b^2) / (4 b) to the left of the chord,
    // written so that a huge bulge (nearly a full circle) does not overflow.
    radius = chord / (4.0 * std::abs(b)) + chord * std::abs(b) / 4.0;
    const double offset = chord / (4.0 * b) - chord * b / 4.0;
    cx = ex / 2.0 - ey / chord * offset;
    cy = ey / 2.0 + ex / chord * offset;
    a0 = std::atan2(-cy, -cx);
}

double ArcFrame::length() const {
    if (!arc) return origin.distanceTo(end);
    return std::hypot(planarLength(), rise);
}

CQorVertex ArcFrame::piece(double t0, double t1) const {
    if (std::isnan(t0)) t0 = 0.0;
    if (std::isnan(t1)) t1 = 1.0;
    t0 = std::clamp(t0, 0.0, 1.0);
    t1 = std::clamp(t1, 0.0, 1.0);
    return {at(t0), at(t1), arc ? std::tan(sweep * (t1 - t0) / 4.0) : 0.0};
}

CQorPoint3d ArcFrame::at(double t) const {
    if (t <= 0.0) return origin;
    if (t >= 1.0) return end;
    if (!arc) return origin + (end - origin) * t;
    const double a = a0 + sweep * t;
    return origin + u * (cx + radius * std::cos(a)) + v * (cy + radius * std::sin(a)) + n * (rise * t);
}

double ArcFrame::nearestParam(const CQorPoint3d& p) const {
    const CQorVector3d d = p - origin;
    if (!arc) {
        const CQorVector3d chord = end - origin;
        const double len2 = chord.dot(chord);
        if (!(len2 > 0.0)) return 0.0;
        const double t = d.dot(chord) / len2;
        return std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    }
    const double px = d.dot(u) - cx;
    const double py = d.dot(v) - cy;
    if (std::isnan(px) || std::isnan(py)) return 0.0;
    const double phi = std::atan2(py, px);
    const double delta = sweep > 0.0 ? g_ang(phi - a0) : g_ang(a0 - phi);
    if (delta <= std::abs(sweep)) return delta / std::abs(sweep);
    // Outside the arc's angular range: the nearer end point.
    const double ds = std::hypot(px + cx, py + cy);
    const double de = std::hypot(px + cx - ex, py + cy - ey);
    return ds <= de ? 0.0 : 1.0;
}

double ArcFrame::paramOfAngle(double a) const {
    if (!arc) return -1.0;
    const double delta = sweep > 0.0 ? g_ang(a - a0) : g_ang(a0 - a);
    return delta <= std::abs(sweep) ? delta / std::abs(sweep) : -1.0;
}

double ArcFrame::planarLength() const {
    return arc ? radius * std::abs(sweep) : std::hypot(ex, ey);
}

} // namespace detail
} // namespace QOR
