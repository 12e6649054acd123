#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/matrix3d.h"

#include <cmath>
#include <limits>

using geomtest::expectNear;

namespace {
constexpr double kEps = 1e-12;

CQorMatrix3d translation(double x, double y, double z) {
    CQorMatrix3d m;
    return m.setToTranslation({x, y, z});
}
CQorMatrix3d rotationZ(double angle) {
    CQorMatrix3d m;
    return m.setToRotation(angle, CQorVector3d::kZAxis);
}
double determinant3(const CQorMatrix3d& m) {
    return m.axis(0).dot(m.axis(1) * m.axis(2));
}
} // namespace

TEST(Matrix3dProduct, RightFactorActsFirst) {
    const CQorMatrix3d t = translation(1, 0, 0);
    const CQorMatrix3d r = rotationZ(M_PI / 2);
    const CQorPoint3d p{1, 0, 0};
    expectNear((t * r) * p, {1, 1, 0}); // rotate to (0,1), then shift
    expectNear((r * t) * p, {0, 2, 0}); // shift to (2,0), then rotate
    CQorMatrix3d m = t;
    m *= r;
    EXPECT_TRUE(m.isEqualTo(t * r, kEps));
}

TEST(Matrix3dProduct, ReadableAsRowsWithTranslationInColumnThree) {
    const CQorMatrix3d t = translation(4, 5, 6);
    EXPECT_EQ(t[0][3], 4.0);
    EXPECT_EQ(t[1][3], 5.0);
    EXPECT_EQ(t.entry[2][3], 6.0);
    EXPECT_EQ(t[3][3], 1.0);
    EXPECT_EQ(t.translation(), CQorVector3d(4, 5, 6));
    EXPECT_TRUE(std::isnan(t[4][0]));
    EXPECT_TRUE(std::isnan(t[-1][2]));
    CQorMatrix3d w;
    w[9][1] = 3.0; // lost, never out of bounds
    EXPECT_TRUE(w.isEqualTo(CQorMatrix3d::kIdentity, 0.0));
    EXPECT_EQ(w.axis(7), CQorVector3d{});
}

TEST(Matrix3dInverse, ProductWithInverseIsIdentity) {
    CQorMatrix3d r;
    r.setToRotation(0.7, {1, 2, 3}, {5, -1, 2});
    CQorMatrix3d s;
    s.setToScaling(2.5, {1, 1, 1});
    const CQorMatrix3d m = translation(10, -3, 7) * r * s;
    const CQorMatrix3d inv = m.inverse();
    EXPECT_TRUE((m * inv).isEqualTo(CQorMatrix3d::kIdentity, 1e-12));
    EXPECT_TRUE((inv * m).isEqualTo(CQorMatrix3d::kIdentity, 1e-12));
    CQorMatrix3d copy = m;
    EXPECT_TRUE(copy.invert());
    EXPECT_TRUE(copy.isEqualTo(inv, 0.0));
    CQorMatrix3d tiny;
    tiny.setToScaling(1e-9);
    EXPECT_TRUE(tiny.invert()); // small but regular scalings stay invertible
    EXPECT_NEAR(tiny[0][0], 1e9, 1e-3);
}

TEST(Matrix3dInverse, SingularOrNanLeavesMatrixUnchanged) {
    CQorMatrix3d flat;
    flat.setToScaling(0.0, {1, 2, 3});
    const CQorMatrix3d before = flat;
    EXPECT_FALSE(flat.invert());
    EXPECT_TRUE(flat.isEqualTo(before, 0.0));
    EXPECT_TRUE(flat.inverse().isEqualTo(before, 0.0));

    CQorMatrix3d projection; // drops z: rank 3 of 4
    projection[2][2] = 0.0;
    EXPECT_FALSE(projection.invert());

    CQorMatrix3d bad = translation(1, 2, 3);
    bad[1][1] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(bad.invert());
    EXPECT_EQ(bad[0][3], 1.0);
}

TEST(Matrix3dCoordSystem, AxesAndOriginInColumns) {
    const CQorPoint3d origin{10, 20, 30};
    const CQorVector3d x{0, 1, 0};
    const CQorVector3d y{-1, 0, 0};
    const CQorVector3d z{0, 0, 1};
    CQorMatrix3d m;
    m.setCoordSystem(origin, x, y, z);
    // Local coordinates (2, 3, 4) lie at origin + 2x + 3y + 4z: distinct factors tell the columns apart.
    expectNear(m * CQorPoint3d(2, 3, 4), origin + x * 2 + y * 3 + z * 4);
    expectNear(m.inverse() * CQorPoint3d(7, 22, 31), {2, 3, 1});
}

TEST(Matrix3dRotation, AboutAPointKeepsThePoint) {
    CQorMatrix3d m;
    m.setToRotation(M_PI / 2, CQorVector3d::kZAxis, {1, 1, 0});
    expectNear(m * CQorPoint3d(1, 1, 0), {1, 1, 0});
    expectNear(m * CQorPoint3d(2, 1, 5), {1, 2, 5});
    m.setToRotation(2 * M_PI / 3, {1, 1, 1}, {0, 0, 0}); // permutes the axes x -> y -> z -> x
    expectNear(m * CQorPoint3d(1, 0, 0), {0, 1, 0});
    expectNear(m * CQorPoint3d(0, 0, 1), {1, 0, 0});
    EXPECT_NEAR(determinant3(m), 1.0, kEps);
    m.setToRotation(1.0, CQorVector3d{}, {3, 3, 3});
    EXPECT_TRUE(m.isEqualTo(CQorMatrix3d::kIdentity, 0.0));
}

TEST(Matrix3dScaling, AboutAPoint) {
    CQorMatrix3d m;
    m.setToScaling(3.0, {1, 1, 1});
    expectNear(m * CQorPoint3d(1, 1, 1), {1, 1, 1});
    expectNear(m * CQorPoint3d(2, 1, 0), {4, 1, -2});
    expectNear(m * CQorVector3d(1, 0, 0), {3, 0, 0});
}

TEST(Matrix3dMirroring, ReflectsInThePlane) {
    CQorMatrix3d m;
    m.setToMirroring(CQorPlane({0, 0, 5}, {0, 0, 2}));
    expectNear(m * CQorPoint3d(1, 2, 3), {1, 2, 7});
    expectNear(m * CQorPoint3d(1, 2, 5), {1, 2, 5});
    EXPECT_NEAR(determinant3(m), -1.0, kEps);
    EXPECT_TRUE((m * m).isEqualTo(CQorMatrix3d::kIdentity, kEps));

    m.setToMirroring(CQorPlane({1, 0, 0}, {1, -1, 0})); // the line y = x - 1
    expectNear(m * CQorPoint3d(0, 0, 4), {1, -1, 4});
    expectNear(m * CQorVector3d(1, 0, 0), {0, 1, 0});

    m.setToMirroring(CQorPlane({1, 1, 1}, CQorVector3d{}));
    EXPECT_TRUE(m.isEqualTo(CQorMatrix3d::kIdentity, 0.0));
}

TEST(Matrix3dPlaneToWorld, ArbitraryAxisNearWorldZ) {
    CQorMatrix3d m;
    m.setToPlaneToWorld({0, 0, 3});
    EXPECT_TRUE(m.isEqualTo(CQorMatrix3d::kIdentity, kEps));
    m.setToPlaneToWorld({0, 0, -1}); // the mirrored drawing plane: X turns to -X, Y stays
    expectNear(m.axis(0), {-1, 0, 0});
    expectNear(m.axis(1), {0, 1, 0});
    expectNear(m.axis(2), {0, 0, -1});
    // Just inside the 1/64 limit the X axis still comes from world Y: close to world X.
    m.setToPlaneToWorld({0.015, 0, 1});
    EXPECT_GT(m.axis(0).x, 0.99);
    EXPECT_NEAR(m.axis(0).y, 0.0, kEps);
}

TEST(Matrix3dPlaneToWorld, ArbitraryAxisAwayFromZ) {
    CQorMatrix3d m;
    m.setToPlaneToWorld({1, 0, 0});
    expectNear(m.axis(0), {0, 1, 0});
    expectNear(m.axis(1), {0, 0, 1});
    // Just past the limit the X axis comes from world Z: it jumps to world Y.
    const CQorVector3d n{0.016, 0, 1};
    m.setToPlaneToWorld(n);
    expectNear(m.axis(0), {0, 1, 0});
    expectNear(m.axis(2), n.normal());
    // Any normal: a right-handed orthonormal system with X horizontal (unless near Z).
    const CQorVector3d odd{0.3, -0.8, 0.2};
    m.setToPlaneToWorld(odd);
    EXPECT_NEAR(m.axis(0).z, 0.0, kEps);
    EXPECT_NEAR(m.axis(0).dot(m.axis(1)), 0.0, kEps);
    EXPECT_NEAR(m.axis(1).abs(), 1.0, kEps);
    EXPECT_NEAR(determinant3(m), 1.0, kEps);
    expectNear(m.axis(2), odd.normal());
    m.setToPlaneToWorld({std::nan(""), 0, 1});
    EXPECT_TRUE(m.isEqualTo(CQorMatrix3d::kIdentity, 0.0));
}
