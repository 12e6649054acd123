#include "qor/objlib/fsheet_profile_p.h"

#include <algorithm>
#include <cmath>

namespace QOR::detail {

namespace {

bool finite(const CQorPoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

/// Unit direction from a to b in XY; zero for coinciding points.
CQorVector3d direction(const CQorPoint3d& a, const CQorPoint3d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    return len > 0 ? CQorVector3d(dx / len, dy / len, 0) : CQorVector3d(0, 0, 0);
}

/// The right-hand normal of a direction in XY.
CQorVector3d rightOf(const CQorVector3d& d) {
    return CQorVector3d(d.y, -d.x, 0);
}

double cross(const CQorVector3d& a, const CQorVector3d& b) {
    return a.x * b.y - a.y * b.x;
}

} // namespace

bool tileProfile(const CQorPoint3dArray& period, double seg, double length, int maxPoints,
                 CQorPoint3dArray& out) {
    out.clear();
    if (!(seg > 0) || !(length > 0) || !std::isfinite(seg) || !std::isfinite(length) || period.isEmpty())
        return false;
    for (const CQorPoint3d& p : period)
        if (!finite(p)) return false;
    // Checked before the loop: the count of periods bounds the work as well as the memory.
    if (length / seg * period.len() > maxPoints) return false;
    for (int i = 0; double(i) * seg < length; ++i) {
        const double shift = i * seg;
        for (const CQorPoint3d& p : period) {
            CQorPoint3d q(p.x + shift, p.y, p.z);
            if (!out.isEmpty() && q.x > length) {
                const CQorPoint3d& last = out[out.len() - 1];
                if (last.x >= length) return true;
                const double t = (length - last.x) / (q.x - last.x);
                out.append(CQorPoint3d(length, last.y + t * (q.y - last.y), 0));
                return true;
            }
            if (out.isEmpty() || q.x != out[out.len() - 1].x || q.y != out[out.len() - 1].y) out.append(q);
        }
    }
    return true;
}

CQorPoint3dArray offsetProfile(const CQorPoint3dArray& points, double s) {
    CQorPoint3dArray out;
    const int n = points.len();
    for (int i = 0; i < n; ++i) {
        const CQorVector3d in =
            i > 0 ? direction(points[i - 1], points[i]) : direction(points[i], points[i + 1]);
        const CQorVector3d on = i + 1 < n ? direction(points[i], points[i + 1]) : in;
        const CQorVector3d n1 = rightOf(in), n2 = rightOf(on);
        const double join = 1.0 + n1.x * n2.x + n1.y * n2.y;
        // Where the moved pieces meet; a piece that turns right back has no such point.
        const CQorVector3d shift = join > 1e-9 ? (n1 + n2) * (s / join) : n1 * s;
        const double bend = cross(in, on);
        double radius = points[i].z;
        if (radius > 0) radius = bend >= 0 ? radius + s : std::max(radius - s, 0.0);
        out.append(CQorPoint3d(points[i].x + shift.x, points[i].y + shift.y, radius));
    }
    return out;
}

CQorVertexArray filletProfile(const CQorPoint3dArray& points, const CQorPoint3dArray& shape) {
    CQorVertexArray out;
    const int n = std::min(points.len(), shape.len());
    if (n == 0) return out;
    const auto flat = [&](int i) { return CQorPoint3d(points[i].x, points[i].y, 0); };
    CQorPoint3d cursor = flat(0);
    for (int i = 1; i < n; ++i) {
        const CQorPoint3d p = flat(i);
        const CQorVector3d a = direction(shape[i - 1], shape[i]);
        const CQorVector3d b = i + 1 < n ? direction(shape[i], shape[i + 1]) : a;
        const double turn = std::acos(std::clamp(a.x * b.x + a.y * b.y, -1.0, 1.0));
        if (i + 1 == n || !(shape[i].z > 0) || turn < 1e-9 || turn > M_PI - 1e-9) {
            if (cursor.distanceTo(p) > 0) out.append(cursor, p);
            cursor = p;
            continue;
        }
        // Each bend takes at most half of either piece, so neighbouring fillets never overlap.
        const CQorPoint3d next = flat(i + 1);
        const double room = std::min(p.distanceTo(flat(i - 1)), p.distanceTo(next)) / 2;
        const double t = std::min(std::max(points[i].z, 0.0) * std::tan(turn / 2), room);
        const CQorPoint3d from = p - direction(flat(i - 1), p) * t, to = p + direction(p, next) * t;
        out.append(cursor, from);
        out.append(from, to, t > 0 ? std::copysign(std::tan(turn / 4), cross(a, b)) : 0.0);
        cursor = to;
    }
    return out;
}

CQorVertexArray sectionOutline(const CQorVertexArray& upper, const CQorVertexArray& lower) {
    CQorVertexArray out(upper);
    CQorVertexArray back(lower);
    back.revert();
    out.append(upper.lastVertex().end, back.firstVertex().start);
    out += back;
    out.append(back.lastVertex().end, upper.firstVertex().start);
    return out;
}

} // namespace QOR::detail
