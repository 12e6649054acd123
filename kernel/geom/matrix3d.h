#pragma once

// Conventions (binding for the whole library)
//  - A matrix acts on points written as columns: p' = M p, with p = (x, y, z, 1).
//  - In a product A * B applied to a point, B acts first: (A * B) p = A (B p). Chains are therefore
//    written right to left in the order they act; `A *= B` makes B act before the old A.
//  - The translation sits in column 3: entry[0][3] is x, entry[1][3] is y, entry[2][3] is z.
//  - setCoordSystem(origin, x, y, z) puts the x, y, z axes and the origin in columns 0, 1, 2 and 3, so the
//    matrix takes coordinates in that system to the coordinates the system is given in; axis(i) reads
//    column i back.
//  - Vectors are directions: a matrix applied to a vector (m * v, v * m or v.transformBy(m), all the
//    same) ignores the translation. Points take it (m * p, p * m or p.transformBy(m)).
//  - Angles are in radians, counter-clockwise when looking against the axis (right-hand rule).

#include "qor/kernel/geom/plane.h"

/// A 4 x 4 transformation of model space, readable as double[4][4] (entry[row][column]).
class QOR_EXPORT CQorMatrix3d {
public:
    static const CQorMatrix3d kIdentity;

    double entry[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    CQorMatrix3d() = default;

    /// Row r, so that m[r][c] reads entry[r][c]. A row outside 0..3 reads as NaN; writes to it are lost.
    const double* operator[](int r) const;
    double* operator[](int r);

    CQorMatrix3d& setToIdentity();
    CQorMatrix3d& setToTranslation(const CQorVector3d& v);
    /// Rotation by angle (radians, right-handed about axis) about the line through point along axis.
    /// A zero or NaN axis gives the identity.
    CQorMatrix3d& setToRotation(double angle, const CQorVector3d& axis,
                                const CQorPoint3d& point = CQorPoint3d::kOrigin);
    /// Uniform scaling by factor with point held fixed.
    CQorMatrix3d& setToScaling(double factor, const CQorPoint3d& point = CQorPoint3d::kOrigin);
    /// Reflection in plane; an invalid plane (zero normal) gives the identity.
    CQorMatrix3d& setToMirroring(const CQorPlane& plane);
    /// Takes coordinates of the plane system of normal (origin at the world origin, axes chosen by the
    /// DXF arbitrary-axis algorithm) to world coordinates: columns 0..2 are that system's X, Y and Z
    /// (= the normalized normal). The algorithm picks X = (world Y x N) when both |Nx| and |Ny| are below
    /// 1/64 and X = (world Z x N) otherwise, then Y = N x X. A zero or NaN normal gives the identity.
    CQorMatrix3d& setToPlaneToWorld(const CQorVector3d& normal);
    /// Columns 0..3 = xAxis, yAxis, zAxis, origin; taken as given (neither normalized nor checked).
    CQorMatrix3d& setCoordSystem(const CQorPoint3d& origin, const CQorVector3d& xAxis,
                                 const CQorVector3d& yAxis, const CQorVector3d& zAxis);

    /// Replaces the matrix by its inverse. A singular matrix (or one with a non-finite entry) is left
    /// unchanged and the result is false. Singular means a pivot of Gauss-Jordan elimination with
    /// partial pivoting is at most kSingularRatio times the largest entry.
    bool invert();
    /// The inverse; a copy of this matrix unchanged when it is singular (see invert()).
    CQorMatrix3d inverse() const;

    /// Column i (0..2) as a vector; i == 3 gives the translation; another index the zero vector.
    CQorVector3d axis(int i) const;
    /// Column 3: the image of the origin.
    CQorVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }

    bool isEqualTo(const CQorMatrix3d& m, double tolerance) const;

    /// A * B: B acts first.
    CQorMatrix3d operator*(const CQorMatrix3d& b) const {
        CQorMatrix3d r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                r.entry[i][j] = entry[i][0] * b.entry[0][j] + entry[i][1] * b.entry[1][j] +
                                entry[i][2] * b.entry[2][j] + entry[i][3] * b.entry[3][j];
        return r;
    }
    /// this = this * b: b acts before the matrix had so far.
    CQorMatrix3d& operator*=(const CQorMatrix3d& b) { return *this = *this * b; }

    CQorPoint3d apply(const CQorPoint3d& p) const {
        CQorPoint3d r{entry[0][0] * p.x + entry[0][1] * p.y + entry[0][2] * p.z + entry[0][3],
                      entry[1][0] * p.x + entry[1][1] * p.y + entry[1][2] * p.z + entry[1][3],
                      entry[2][0] * p.x + entry[2][1] * p.y + entry[2][2] * p.z + entry[2][3]};
        const double w = entry[3][0] * p.x + entry[3][1] * p.y + entry[3][2] * p.z + entry[3][3];
        // Affine matrices (the usual case) keep w == 1; a projective row divides through.
        if (w != 1.0 && w != 0.0) r = {r.x / w, r.y / w, r.z / w};
        return r;
    }
    CQorVector3d apply(const CQorVector3d& v) const {
        return {entry[0][0] * v.x + entry[0][1] * v.y + entry[0][2] * v.z,
                entry[1][0] * v.x + entry[1][1] * v.y + entry[1][2] * v.z,
                entry[2][0] * v.x + entry[2][1] * v.y + entry[2][2] * v.z};
    }

    /// Ratio of pivot to largest entry below which invert() calls a matrix singular: a few hundred ulps
    /// of relative precision, far below any scaling a drawing uses yet above elimination noise.
    static constexpr double kSingularRatio = 1e-14;
};

inline CQorPoint3d operator*(const CQorMatrix3d& m, const CQorPoint3d& p) {
    return m.apply(p);
}
inline CQorPoint3d operator*(const CQorPoint3d& p, const CQorMatrix3d& m) {
    return m.apply(p);
}
inline CQorVector3d operator*(const CQorMatrix3d& m, const CQorVector3d& v) {
    return m.apply(v);
}
inline CQorVector3d operator*(const CQorVector3d& v, const CQorMatrix3d& m) {
    return m.apply(v);
}
