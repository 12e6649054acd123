#pragma once

// Internal: intersections of single vertices in the XY projection, shared by CQorVertexArray and the
// clipping functions. Conventions: arc_math.h.

#include <algorithm>
#include <cmath>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/vertex.h"

namespace QOR::detail {

/// An XY box; an empty box (from NaN input) overlaps nothing.
struct Box2 {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1;

    /// A box that surely holds the vertex: the chord's box, widened by the sagitta for shallow arcs
    /// and by the whole circle's box for arcs beyond a half circle; grown by kOnTol.
    static Box2 of(const CQorVertex& v) {
        Box2 b{std::min(v.start.x, v.end.x), std::min(v.start.y, v.end.y), std::max(v.start.x, v.end.x),
               std::max(v.start.y, v.end.y)};
        double grow = kOnTol;
        if (v.isArc()) {
            const double chord = std::hypot(v.end.x - v.start.x, v.end.y - v.start.y);
            const double bulge = std::abs(v.bulge);
            // Sagitta b c / 2 for |b| <= 1; beyond, the arc stays within the diameter c (1 + b^2)/(2|b|).
            grow += bulge <= 1.0 ? bulge * chord / 2.0 : chord / (2.0 * bulge) + chord * bulge / 2.0;
        }
        b.x0 -= grow;
        b.y0 -= grow;
        b.x1 += grow;
        b.y1 += grow;
        return b;
    }
    void add(const Box2& o) {
        x0 = std::min(x0, o.x0);
        y0 = std::min(y0, o.y0);
        x1 = std::max(x1, o.x1);
        y1 = std::max(y1, o.y1);
    }
    bool overlaps(const Box2& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
    bool contains(double x, double y) const { return x0 <= x && x <= x1 && y0 <= y && y <= y1; }
};

/// The vertex dropped onto the XY plane (z = 0), bulge kept.
inline CQorVertex flatXY(const CQorVertex& v) {
    return {{v.start.x, v.start.y, 0.0}, {v.end.x, v.end.y, 0.0}, v.bulge};
}

struct Hit {
    double ta = 0;     ///< parameter on the first vertex, in [0, 1]
    CQorPoint3d point; ///< the point on the first vertex
};

/// Most hits two vertices can have (two for crossing circles; up to four ends for overlaps).
inline constexpr int kMaxHits = 4;

/// Where vertices a and b meet in the XY projection; returns the number of hits written to out.
int intersectXY(const CQorVertex& a, const CQorVertex& b, Hit* out);

} // namespace QOR::detail
