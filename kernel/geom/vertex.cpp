#include "qor/kernel/geom/vertex.h"

#include <cmath>

#include "qor/kernel/geom/arc_math.h"

using QOR::detail::ArcFrame;

CQorPoint3d CQorVertex::mid(const CQorVector3d& normal) const {
    return ArcFrame(*this, normal).at(0.5);
}

double CQorVertex::bulgLen(const CQorVector3d& normal) const {
    // A bulge that cannot make an arc leaves the chord, whatever the plane.
    if (!(std::abs(bulge) >= QOR::kBulgeTol && std::isfinite(bulge))) return start.distanceTo(end);
    return ArcFrame(*this, normal).length();
}

bool CQorVertex::isPoint(const CQorPoint3d& p, double tol, const CQorVector3d& normal) const {
    return lotp(p, normal).distanceTo(p) <= tol;
}

CQorPoint3d CQorVertex::lotp(const CQorPoint3d& p, const CQorVector3d& normal) const {
    const ArcFrame f(*this, normal);
    return f.at(f.nearestParam(p));
}

CQorPoint3d CQorVertex::pointAt(double t, const CQorVector3d& normal) const {
    return ArcFrame(*this, normal).at(std::isnan(t) ? 0.0 : t);
}

CQorVertex CQorVertex::subSegment(double t0, double t1, const CQorVector3d& normal) const {
    return ArcFrame(*this, normal).piece(t0, t1);
}

CQorVertex& CQorVertex::transformBy(const CQorMatrix3d& m, const CQorVector3d& normal) {
    return transformBy(m, normal, normal);
}

CQorVertex& CQorVertex::transformBy(const CQorMatrix3d& m, const CQorVector3d& normal,
                                    const CQorVector3d& newNormal) {
    start.transformBy(m);
    end.transformBy(m);
    if (isArc()) {
        // The image of an arc turning counter-clockwise about u x v turns counter-clockwise about
        // (M u) x (M v); it runs the other way about newNormal when that points against it.
        CQorVector3d u, v;
        ArcFrame::planeAxes(normal.normal(), u, v);
        const CQorVector3d turned = m.apply(u) * m.apply(v);
        if (turned.dot(newNormal) < 0.0) bulge = -bulge;
    }
    return *this;
}
