#pragma once

#include "qor/kernel/geom/point3d.h"

/// An infinite plane in model space through a point, with a unit normal. A zero or NaN normal gives a
/// plane without orientation: isValid() is false and the functions that need one (mirroring) do nothing.
class QOR_EXPORT CQorPlane {
public:
    CQorPlane() = default;
    CQorPlane(const CQorPoint3d& point, const CQorVector3d& normal) : m_point(point), m_normal(normal) {
        const double len = m_normal.abs();
        if (len > 0.0 && std::isfinite(len))
            m_normal = m_normal / len;
        else
            m_normal = {};
    }

    const CQorPoint3d& pointOnPlane() const { return m_point; }
    /// Unit normal, or the zero vector for an invalid plane.
    const CQorVector3d& normal() const { return m_normal; }
    bool isValid() const { return m_normal.x != 0.0 || m_normal.y != 0.0 || m_normal.z != 0.0; }

    /// Signed distance of p from the plane, positive on the side the normal points to.
    double signedDistanceTo(const CQorPoint3d& p) const { return (p - m_point).dot(m_normal); }
    /// Foot of the perpendicular from p onto the plane.
    CQorPoint3d project(const CQorPoint3d& p) const { return p - m_normal * signedDistanceTo(p); }

private:
    CQorPoint3d m_point;
    CQorVector3d m_normal{0.0, 0.0, 1.0};
};
