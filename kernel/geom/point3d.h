#pragma once

#include "qor/kernel/geom/vector3d.h"

/// A position in model space: three doubles in drawing units. Points compare equal when their distance
/// is at most CQorVector3d::tol (see there; NaN never compares equal).
class QOR_EXPORT CQorPoint3d {
public:
    static const CQorPoint3d kOrigin;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CQorPoint3d() = default;
    constexpr CQorPoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    CQorPoint3d& set(double xx, double yy, double zz) {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    /// Coordinate 0 (x), 1 (y) or 2 (z); another index behaves as for CQorVector3d.
    double operator[](int i) const {
        switch (i) {
        case 0:
            return x;
        case 1:
            return y;
        case 2:
            return z;
        default:
            return NAN;
        }
    }
    double& operator[](int i);

    double distanceTo(const CQorPoint3d& p) const { return (*this - p).abs(); }
    /// The vector from the origin to this point.
    CQorVector3d asVector() const { return {x, y, z}; }

    /// Applies m, translation included (see the matrix header).
    CQorPoint3d& transformBy(const CQorMatrix3d& m);
    CQorPoint3d& operator*=(const CQorMatrix3d& m) { return transformBy(m); }

    /// The vector that leads from p to this point.
    CQorVector3d operator-(const CQorPoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    CQorPoint3d operator+(const CQorVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    CQorPoint3d operator-(const CQorVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    CQorPoint3d& operator+=(const CQorVector3d& v) { return *this = *this + v; }
    CQorPoint3d& operator-=(const CQorVector3d& v) { return *this = *this - v; }

    bool operator==(const CQorPoint3d& p) const {
        // Coinciding points, the usual case at the joints of a polyline, need no square root.
        const CQorVector3d d = *this - p;
        if (d.x == 0.0 && d.y == 0.0 && d.z == 0.0) return 0.0 <= CQorVector3d::tol;
        return d.abs() <= CQorVector3d::tol;
    }
    bool operator!=(const CQorPoint3d& p) const { return !(*this == p); }
};
