#pragma once

// Conventions (the polyline kernel: arc_math.h, vertex.h, vertex_array.h, polyline_*.h)
//  - Model space: doubles in drawing units; angles in radians, counter-clockwise from +X.
//  - A vertex is one segment from its start point to its end point. bulge = tan(included angle / 4);
//    positive runs counter-clockwise seen from the tip of the plane normal; 0 is straight; |bulge| = 1 is
//    a half circle. A vertex on its own lies in a plane parallel to XY (normal +Z); inside a polyline it
//    lies in the polyline's plane (CQorVertexArray::normal()). A start and end point at different heights
//    along the normal make the arc rise linearly (a piece of helix); its length counts that rise.
//  - Region functions (polyline_clip.h, polyline_regions.h, intersectWith, vl_extmax) work in the XY
//    projection; callers bring loops into their plane first.

#include <cmath>
#include <initializer_list>

#include "qor/kernel/base/export.h"
#include "qor/kernel/geom/point3d.h"

class CQorVertex;

namespace QOR {

/// The angle in [0, 2 pi); a non-finite angle gives 0.
QOR_EXPORT double g_ang(double angle);
/// The XY vector of length dist at angle (radians).
QOR_EXPORT CQorVector3d polar(double angle, double dist);
/// p moved by dist in the XY direction angle (radians); z is kept.
QOR_EXPORT CQorPoint3d polar(const CQorPoint3d& p, double angle, double dist);
/// Componentwise minimum and maximum. A NaN coordinate of one point yields the other's coordinate.
QOR_EXPORT CQorPoint3d p_min(const CQorPoint3d& a, const CQorPoint3d& b);
QOR_EXPORT CQorPoint3d p_max(const CQorPoint3d& a, const CQorPoint3d& b);

/// Number of chords (at least 1, at most kMaxChords) into which the arc of vx must be split so that no
/// chord lies farther than deviation from the arc. A straight or degenerate vertex gives 1; a deviation
/// that is not positive gives kMaxChords.
QOR_EXPORT int vx_split_dif(const CQorVertex& vx, double deviation);

namespace detail {

/// The arc of one vertex in a frame of its plane: 2D coordinates (along u and v) relative to the start
/// point, plus a linear rise along n. Built once, then queried many times.
struct ArcFrame {
    CQorPoint3d origin; ///< the start point
    CQorPoint3d end;    ///< the end point, returned exactly at t = 1
    CQorVector3d u{1, 0, 0}, v{0, 1, 0}, n{0, 0, 1};
    double ex = 0, ey = 0; ///< the end point in (u, v)
    double rise = 0;       ///< the end point's height along n above the start
    bool arc = false;      ///< false: straight (or the bulge was NaN or tiny)
    double cx = 0, cy = 0; ///< centre in (u, v)
    double radius = 0;
    double a0 = 0;    ///< angle of the start point about the centre
    double sweep = 0; ///< signed included angle, positive counter-clockwise

    ArcFrame(const CQorVertex& vx, const CQorVector3d& normal);

    /// Point at parameter t in [0, 1] (by angle for arcs, by length for lines).
    CQorPoint3d at(double t) const;
    /// Parameter of the point of the segment nearest to p (clamped to [0, 1]).
    double nearestParam(const CQorPoint3d& p) const;
    /// Length in the plane (arc length or chord), without the rise.
    double planarLength() const;
    /// Length along the segment, the rise included (CQorVertex::bulgLen).
    double length() const;
    /// The part between parameters t0 and t1 (CQorVertex::subSegment).
    CQorVertex piece(double t0, double t1) const;
    /// Unit tangent directions of the plane (u, v) for the plane normal; exact X, Y for +Z.
    static void planeAxes(const CQorVector3d& normal, CQorVector3d& u, CQorVector3d& v);

    /// Parameter in [0, 1] of the arc point at angle a about the centre, or -1 when a lies outside it.
    double paramOfAngle(double a) const;
    /// Calls fn(point) for each inner point of the arc where the direction dir has an extreme (at most
    /// two); nothing for a straight segment.
    template <class Fn>
    void forEachExtreme(const CQorVector3d& dir, Fn&& fn) const {
        if (!arc) return;
        const double du = u.dot(dir);
        const double dv = v.dot(dir);
        if (du == 0.0 && dv == 0.0) return;
        const double a = std::atan2(dv, du);
        for (const double angle : {a, a + 3.14159265358979323846}) {
            const double t = paramOfAngle(angle);
            if (t > 0.0 && t < 1.0) fn(at(t));
        }
    }
};

/// Chords needed so that none deviates more than deviation from the arc of f (see vx_split_dif).
int chordCount(const ArcFrame& f, double deviation);

} // namespace detail
} // namespace QOR
