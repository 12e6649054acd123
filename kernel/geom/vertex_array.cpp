#include "qor/kernel/geom/vertex_array.h"

#include <algorithm>
#include <cmath>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/intersect_p.h"

using QOR::detail::ArcFrame;

bool CQorVertexArray::fromPoints(const CQorPoint3dArray& points, bool closed) {
    clear();
    const int n = points.len();
    if (n == 0) return false;
    if (n == 1) {
        append(points[0], points[0]);
        return true;
    }
    reserve(n);
    for (int i = 0; i + 1 < n; ++i)
        append(points[i], points[i + 1]);
    if (closed && points[n - 1] != points[0]) append(points[n - 1], points[0]);
    return true;
}

bool CQorVertexArray::hasArcs() const {
    return std::any_of(begin(), end(), [](const CQorVertex& v) { return v.isArc(); });
}

CQorVertexArray& CQorVertexArray::transformBy(const CQorMatrix3d& m) {
    if (!hasArcs()) {
        for (CQorVertex& v : *this) {
            v.start.transformBy(m);
            v.end.transformBy(m);
        }
        return *this;
    }
    const CQorVector3d before = normal();
    for (CQorVertex& v : *this) {
        v.start.transformBy(m);
        v.end.transformBy(m);
    }
    const CQorVector3d after = normal();
    // Arcs are judged about the polyline's normal, which the transformation may turn or flip.
    CQorVector3d u, w;
    ArcFrame::planeAxes(before, u, w);
    if ((m.apply(u) * m.apply(w)).dot(after) < 0.0)
        for (CQorVertex& v : *this)
            v.bulge = -v.bulge;
    return *this;
}

CQorVertexArray CQorVertexArray::getTransformedCopy(const CQorMatrix3d& m) const {
    CQorVertexArray copy(*this);
    copy.transformBy(m);
    return copy;
}

CQorVertexArray& CQorVertexArray::move(const CQorVector3d& v) {
    for (CQorVertex& vx : *this) {
        vx.start += v;
        vx.end += v;
    }
    return *this;
}

CQorVertexArray& CQorVertexArray::revert() {
    CQorArrayTempl<CQorVertex>::revert();
    for (CQorVertex& v : *this) {
        std::swap(v.start, v.end);
        v.bulge = -v.bulge;
    }
    return *this;
}

bool CQorVertexArray::breakVertex(int index, const CQorPoint3d& p) {
    const CQorArrayTempl<CQorVertex>& self = *this;
    if (index >= len() || isEmpty()) return false;
    const int i = index >= 0 ? index : (len() < 2 ? 0 : (len() + index % len()) % len());
    const CQorVertex v = self[i];
    const CQorVector3d n = normal();
    const ArcFrame f(v, n);
    const double t = f.nearestParam(p);
    const CQorPoint3d at = f.at(t);
    if (!(at.distanceTo(p) <= QOR::kOnTol)) return false;
    if (at.distanceTo(v.start) <= QOR::kOnTol || at.distanceTo(v.end) <= QOR::kOnTol) return false;
    CQorVertex first = v.subSegment(0.0, t, n);
    CQorVertex second = v.subSegment(t, 1.0, n);
    // The halves meet exactly at the break point, and the outer ends stay bit for bit as they were.
    first.start = v.start;
    first.end = at;
    second.start = at;
    second.end = v.end;
    (*this)[i] = first;
    append(second);
    std::rotate(begin() + i + 1, end() - 1, end());
    return true;
}

int CQorVertexArray::intersectWith(const CQorVertexArray& other, CQorPoint3dArray& points) const {
    const int before = points.len();
    QOR::detail::Hit hits[QOR::detail::kMaxHits];
    for (const CQorVertex& a : *this) {
        const QOR::detail::Box2 boxA = QOR::detail::Box2::of(a);
        for (const CQorVertex& b : other) {
            if (!boxA.overlaps(QOR::detail::Box2::of(b))) continue;
            const int n = QOR::detail::intersectXY(a, b, hits);
            for (int k = 0; k < n; ++k) {
                bool seen = false;
                for (int j = before; j < points.len() && !seen; ++j)
                    seen = points[j].distanceTo(hits[k].point) <= QOR::kOnTol;
                if (!seen) points.append(hits[k].point);
            }
        }
    }
    return points.len() - before;
}

CQorPoint3dArray CQorVertexArray::pts(bool flag, double tolerance) const {
    CQorPoint3dArray out;
    const bool arcs = flag && hasArcs();
    const CQorVector3d n = arcs ? normal() : CQorVector3d::kZAxis;
    for (const CQorVertex& v : *this) {
        const CQorPoint3d& last = out.isEmpty() ? v.end : out[out.len() - 1];
        if (out.isEmpty() || last.x != v.start.x || last.y != v.start.y || last.z != v.start.z)
            out.append(v.start);
        if (arcs && v.isArc()) {
            const ArcFrame f(v, n);
            const int k = QOR::detail::chordCount(f, tolerance);
            for (int i = 1; i < k; ++i)
                out.append(f.at(double(i) / k));
        }
        out.append(v.end);
    }
    return out;
}

bool CQorVertexArray::isContinuous() const {
    if (isEmpty()) return false;
    const CQorArrayTempl<CQorVertex>& self = *this;
    for (int i = 1; i < len(); ++i)
        if (self[i - 1].end != self[i].start) return false;
    return true;
}

bool CQorVertexArray::isClosed() const {
    if (!isContinuous()) return false;
    const CQorArrayTempl<CQorVertex>& self = *this;
    if (self[len() - 1].end != self[0].start) return false;
    // Every point has passed a comparison above, so all are finite: a loop without arcs has a length
    // exactly when one of its segments has, and the first one usually does.
    if (!hasArcs())
        return std::any_of(begin(), end(),
                           [](const CQorVertex& v) { return v.start.distanceTo(v.end) > 0.0; });
    return length() > 0.0;
}

bool CQorVertexArray::extents(CQorPoint3d& min, CQorPoint3d& max) const {
    if (isEmpty()) return false;
    const CQorArrayTempl<CQorVertex>& self = *this;
    CQorPoint3d lo = self[0].start;
    CQorPoint3d hi = lo;
    auto widen = [&](const CQorPoint3d& p) {
        lo = QOR::p_min(lo, p);
        hi = QOR::p_max(hi, p);
    };
    const CQorVector3d n = hasArcs() ? normal() : CQorVector3d::kZAxis;
    for (const CQorVertex& v : *this) {
        widen(v.start);
        widen(v.end);
        if (!v.isArc()) continue;
        const ArcFrame f(v, n);
        for (const CQorVector3d& axis : {CQorVector3d::kXAxis, CQorVector3d::kYAxis, CQorVector3d::kZAxis})
            f.forEachExtreme(axis, widen);
    }
    min = lo;
    max = hi;
    return true;
}

CQorVector3d CQorVertexArray::normal() const {
    if (len() == 0) return CQorVector3d::kZAxis;
    const CQorArrayTempl<CQorVertex>& self = *this;
    // Newell's method over the chain of points, relative to the first point for precision.
    const CQorPoint3d o = self[0].start;
    CQorVector3d sum;
    double scale = 0.0;
    CQorVector3d prev;
    auto add = [&](const CQorPoint3d& p) {
        const CQorVector3d d = p - o;
        sum += prev * d;
        scale = std::max(scale, d.abs());
        prev = d;
    };
    for (int i = 0; i < len(); ++i) {
        if (i > 0) add(self[i].start);
        add(self[i].end);
    }
    const double len = sum.abs();
    // Collinear within rounding: the doubled area is a tiny fraction of the square of the size.
    if (!(len > 1e-12 * scale * scale) || !std::isfinite(len)) return CQorVector3d::kZAxis;
    CQorVector3d n = sum / len;
    const double limit = 1e-9;
    const double key = std::abs(n.z) > limit ? n.z : std::abs(n.y) > limit ? n.y : n.x;
    if (key < 0.0) n = -n;
    return n;
}

double CQorVertexArray::length() const {
    const CQorVector3d n = hasArcs() ? normal() : CQorVector3d::kZAxis;
    double sum = 0.0;
    for (const CQorVertex& v : *this)
        sum += v.bulgLen(n);
    return sum;
}
