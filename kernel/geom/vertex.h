#pragma once

// Geometry conventions: see arc_math.h. Tolerances: polyline_tol.h.

#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/polyline_tol.h"

/// One polyline segment: start point, end point and bulge (0 = straight). The functions that need the
/// arc's plane take its normal, +Z by default (see arc_math.h); a NaN bulge counts as straight.
class QOR_EXPORT CQorVertex {
public:
    CQorPoint3d start;
    CQorPoint3d end;
    double bulge = 0.0;

    CQorVertex() = default;
    CQorVertex(const CQorPoint3d& s, const CQorPoint3d& e, double b = 0.0) : start(s), end(e), bulge(b) {}

    CQorVertex& set(const CQorPoint3d& s, const CQorPoint3d& e, double b = 0.0) {
        start = s;
        end = e;
        bulge = b;
        return *this;
    }

    /// True when the bulge makes this an arc (|bulge| >= kBulgeTol, not NaN).
    bool isArc() const { return std::abs(bulge) >= QOR::kBulgeTol; }
    /// True when start and end coincide (CQorPoint3d::operator==).
    bool isZeroLength() const { return start == end; }

    /// The point halfway along the segment or arc.
    CQorPoint3d mid(const CQorVector3d& normal = CQorVector3d::kZAxis) const;
    /// Arc length; the chord length when straight.
    double bulgLen(const CQorVector3d& normal = CQorVector3d::kZAxis) const;
    /// True when p lies on the segment or arc within tol.
    bool isPoint(const CQorPoint3d& p, double tol = QOR::kOnTol,
                 const CQorVector3d& normal = CQorVector3d::kZAxis) const;
    /// The point of the segment or arc nearest to p, clamped to its ends. Picking relies on it.
    CQorPoint3d lotp(const CQorPoint3d& p, const CQorVector3d& normal = CQorVector3d::kZAxis) const;
    /// The point at parameter t in [0, 1] (by angle along an arc, by length along a line).
    CQorPoint3d pointAt(double t, const CQorVector3d& normal = CQorVector3d::kZAxis) const;
    /// The part of this segment between parameters t0 and t1 (t0 > t1 runs backwards).
    CQorVertex subSegment(double t0, double t1, const CQorVector3d& normal = CQorVector3d::kZAxis) const;

    /// Transforms both end points by m. The bulge changes sign when m mirrors the arc's plane as seen
    /// from its normal (the normal stays +Z for a lone vertex). The arc stays exact under similarity
    /// transformations; other transformations keep the bulge (see QOR::g_vl_proje_mtx_orig).
    CQorVertex& transformBy(const CQorMatrix3d& m, const CQorVector3d& normal = CQorVector3d::kZAxis);
    /// As transformBy(m, normal), for a vertex whose plane normal becomes newNormal: the bulge changes
    /// sign when the image of the arc runs the other way about newNormal.
    CQorVertex& transformBy(const CQorMatrix3d& m, const CQorVector3d& normal, const CQorVector3d& newNormal);

    /// Same end points (CQorPoint3d::operator==) and bulges within kBulgeTol.
    bool operator==(const CQorVertex& o) const {
        return start == o.start && end == o.end && std::abs(bulge - o.bulge) <= QOR::kBulgeTol;
    }
    bool operator!=(const CQorVertex& o) const { return !(*this == o); }
};
