#include "qor/kernel/geom/matrix3d.h"

#include <algorithm>
#include <cmath>
#include <utility>

const CQorMatrix3d CQorMatrix3d::kIdentity{};

namespace {
double* scratchRow() {
    thread_local double row[4];
    std::fill(row, row + 4, NAN);
    return row;
}
const double kNanRow[4] = {NAN, NAN, NAN, NAN};

bool isUsableDirection(const CQorVector3d& v) {
    const double len = v.abs();
    return len > 0.0 && std::isfinite(len);
}
} // namespace

const double* CQorMatrix3d::operator[](int r) const {
    return r >= 0 && r < 4 ? entry[r] : kNanRow;
}

double* CQorMatrix3d::operator[](int r) {
    return r >= 0 && r < 4 ? entry[r] : scratchRow();
}

CQorMatrix3d& CQorMatrix3d::setToIdentity() {
    return *this = CQorMatrix3d{};
}

CQorMatrix3d& CQorMatrix3d::setToTranslation(const CQorVector3d& v) {
    setToIdentity();
    entry[0][3] = v.x;
    entry[1][3] = v.y;
    entry[2][3] = v.z;
    return *this;
}

CQorMatrix3d& CQorMatrix3d::setToRotation(double angle, const CQorVector3d& axis, const CQorPoint3d& point) {
    setToIdentity();
    if (!isUsableDirection(axis)) return *this;
    const CQorVector3d u = axis.normal();
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t = 1.0 - c;
    // Rodrigues: R = c I + s [u]x + t u u^T.
    entry[0][0] = c + t * u.x * u.x;
    entry[0][1] = t * u.x * u.y - s * u.z;
    entry[0][2] = t * u.x * u.z + s * u.y;
    entry[1][0] = t * u.y * u.x + s * u.z;
    entry[1][1] = c + t * u.y * u.y;
    entry[1][2] = t * u.y * u.z - s * u.x;
    entry[2][0] = t * u.z * u.x - s * u.y;
    entry[2][1] = t * u.z * u.y + s * u.x;
    entry[2][2] = c + t * u.z * u.z;
    // The fixed point stays: translation = point - R point.
    const CQorVector3d moved = apply(point.asVector());
    entry[0][3] = point.x - moved.x;
    entry[1][3] = point.y - moved.y;
    entry[2][3] = point.z - moved.z;
    return *this;
}

CQorMatrix3d& CQorMatrix3d::setToScaling(double factor, const CQorPoint3d& point) {
    setToIdentity();
    for (int i = 0; i < 3; ++i) {
        entry[i][i] = factor;
        entry[i][3] = (1.0 - factor) * point[i];
    }
    return *this;
}

CQorMatrix3d& CQorMatrix3d::setToMirroring(const CQorPlane& plane) {
    setToIdentity();
    if (!plane.isValid()) return *this;
    // p' = p - 2 ((p - q) . n) n for a point q on the plane and the unit normal n.
    const CQorVector3d n = plane.normal();
    const double d = plane.pointOnPlane().asVector().dot(n);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            entry[i][j] = (i == j ? 1.0 : 0.0) - 2.0 * n[i] * n[j];
        entry[i][3] = 2.0 * d * n[i];
    }
    return *this;
}

CQorMatrix3d& CQorMatrix3d::setToPlaneToWorld(const CQorVector3d& normal) {
    setToIdentity();
    if (!isUsableDirection(normal)) return *this;
    // The arbitrary-axis algorithm: near the world Z axis (both |Nx| and |Ny| below 1/64) the plane's X
    // axis is taken from world Y, elsewhere from world Z, so that every normal gets one fixed system.
    constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
    const CQorVector3d n = normal.normal();
    CQorVector3d ax = std::abs(n.x) < kArbitraryAxisLimit && std::abs(n.y) < kArbitraryAxisLimit
                          ? CQorVector3d::kYAxis * n
                          : CQorVector3d::kZAxis * n;
    ax.normalize();
    const CQorVector3d ay = (n * ax).normalize();
    return setCoordSystem(CQorPoint3d::kOrigin, ax, ay, n);
}

CQorMatrix3d& CQorMatrix3d::setCoordSystem(const CQorPoint3d& origin, const CQorVector3d& xAxis,
                                           const CQorVector3d& yAxis, const CQorVector3d& zAxis) {
    setToIdentity();
    for (int i = 0; i < 3; ++i) {
        entry[i][0] = xAxis[i];
        entry[i][1] = yAxis[i];
        entry[i][2] = zAxis[i];
        entry[i][3] = origin[i];
    }
    return *this;
}

bool CQorMatrix3d::invert() {
    double a[4][4];
    double inv[4][4];
    double largest = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = entry[i][j];
            inv[i][j] = i == j ? 1.0 : 0.0;
            if (!std::isfinite(a[i][j])) return false;
            largest = std::max(largest, std::abs(a[i][j]));
        }
    const double limit = largest * kSingularRatio;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        if (!(std::abs(a[pivot][col]) > limit)) return false;
        if (pivot != col) {
            std::swap(a[pivot], a[col]);
            std::swap(inv[pivot], inv[col]);
        }
        const double f = 1.0 / a[col][col];
        for (int j = 0; j < 4; ++j) {
            a[col][j] *= f;
            inv[col][j] *= f;
        }
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0) continue;
            const double g = a[r][col];
            for (int j = 0; j < 4; ++j) {
                a[r][j] -= g * a[col][j];
                inv[r][j] -= g * inv[col][j];
            }
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!std::isfinite(inv[i][j])) return false;
    std::copy(&inv[0][0], &inv[0][0] + 16, &entry[0][0]);
    return true;
}

CQorMatrix3d CQorMatrix3d::inverse() const {
    CQorMatrix3d r = *this;
    r.invert();
    return r;
}

CQorVector3d CQorMatrix3d::axis(int i) const {
    if (i < 0 || i > 3) return {};
    return {entry[0][i], entry[1][i], entry[2][i]};
}

bool CQorMatrix3d::isEqualTo(const CQorMatrix3d& m, double tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::abs(entry[i][j] - m.entry[i][j]) <= tolerance)) return false;
    return true;
}
