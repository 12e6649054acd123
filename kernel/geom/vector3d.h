#pragma once

#include <atomic>
#include <cmath>

#include "qor/kernel/base/export.h"

class CQorMatrix3d;

/// A direction and length in model space: three doubles in drawing units.
///
/// Equality. Two vectors are equal when the length of their difference is at most `tol`. The comparison
/// is absolute, not relative to the vectors' size. Any NaN component makes a vector unequal to every
/// vector, itself included, so `!=` is then true.
class QOR_EXPORT CQorVector3d {
public:
    /// Process-wide comparison tolerance in drawing units, used by `==` and `!=` of vectors and points.
    /// It starts at 1e-10, which for drawings in millimetres or inches tells apart anything that is
    /// meant to differ while absorbing the rounding of a few chained transformations. A host may set it
    /// (the coordinate-system icon sets 0.001); it then stays so for the whole process.
    /// Threads: any thread may read or set it (it is atomic; on common processors a read costs what a
    /// plain load does). A comparison running while another thread changes it uses either value, so a
    /// host sets it at start-up.
    static std::atomic<double> tol;

    static const CQorVector3d kXAxis;
    static const CQorVector3d kYAxis;
    static const CQorVector3d kZAxis;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CQorVector3d() = default;
    constexpr CQorVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    CQorVector3d& set(double xx, double yy, double zz) {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    /// Component 0 (x), 1 (y) or 2 (z). Another index reads NaN; a write through it lands on a scratch
    /// value that is thrown away.
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

    /// Length.
    double abs() const { return std::sqrt(x * x + y * y + z * z); }
    double dot(const CQorVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    /// True when the length is at most `tol`.
    bool isZeroLength() const { return abs() <= tol; }

    /// Scales to length 1. A vector of length zero, infinite or NaN length stays as it is, so the caller
    /// can test the result with isZeroLength() or abs().
    CQorVector3d& normalize() {
        const double len = abs();
        if (len > 0.0 && std::isfinite(len)) {
            x /= len;
            y /= len;
            z /= len;
        }
        return *this;
    }
    /// A normalized copy (see normalize()).
    CQorVector3d normal() const { return CQorVector3d(*this).normalize(); }

    /// Applies m without its translation (see the matrix header).
    CQorVector3d& transformBy(const CQorMatrix3d& m);
    CQorVector3d& operator*=(const CQorMatrix3d& m) { return transformBy(m); }

    CQorVector3d operator+(const CQorVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    CQorVector3d operator-(const CQorVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    CQorVector3d operator-() const { return {-x, -y, -z}; }
    CQorVector3d operator*(double f) const { return {x * f, y * f, z * f}; }
    CQorVector3d operator/(double f) const { return {x / f, y / f, z / f}; }
    /// Vector (cross) product: this x v, right-handed.
    CQorVector3d operator*(const CQorVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    CQorVector3d& operator+=(const CQorVector3d& v) { return *this = *this + v; }
    CQorVector3d& operator-=(const CQorVector3d& v) { return *this = *this - v; }
    CQorVector3d& operator*=(double f) { return *this = *this * f; }

    bool operator==(const CQorVector3d& v) const { return (*this - v).abs() <= tol; }
    bool operator!=(const CQorVector3d& v) const { return !(*this == v); }
};

inline CQorVector3d operator*(double f, const CQorVector3d& v) {
    return v * f;
}
