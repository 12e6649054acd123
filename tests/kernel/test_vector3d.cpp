#include <gtest/gtest.h>

#include "qor/kernel/geom/line_parm.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/point3d_array.h"

#include <cmath>
#include <limits>

namespace {
const double kNan = std::numeric_limits<double>::quiet_NaN();

// Restores the process-wide tolerance when a test changes it.
class ToleranceGuard {
public:
    ToleranceGuard() : m_saved(CQorVector3d::tol) {}
    ~ToleranceGuard() { CQorVector3d::tol = m_saved; }

private:
    double m_saved;
};
} // namespace

TEST(Vector3d, CrossProductIsRightHanded) {
    const CQorVector3d a{1, 2, 3};
    const CQorVector3d b{4, -5, 6};
    EXPECT_EQ(CQorVector3d::kXAxis * CQorVector3d::kYAxis, CQorVector3d::kZAxis);
    EXPECT_EQ(CQorVector3d::kYAxis * CQorVector3d::kXAxis, -CQorVector3d::kZAxis);
    const CQorVector3d c = a * b;
    EXPECT_DOUBLE_EQ(c.dot(a), 0.0);
    EXPECT_DOUBLE_EQ(c.dot(b), 0.0);
    EXPECT_DOUBLE_EQ(CQorVector3d(3, 4, 12).abs(), 13.0);
}

TEST(Vector3d, NormalizeLeavesZeroAndNanAlone) {
    CQorVector3d v{0, 3, 4};
    v.normalize();
    EXPECT_DOUBLE_EQ(v.abs(), 1.0);
    CQorVector3d zero;
    zero.normalize();
    EXPECT_TRUE(zero.isZeroLength());
    CQorVector3d bad{kNan, 1, 0};
    bad.normalize();
    EXPECT_TRUE(std::isnan(bad.x));
    EXPECT_EQ(bad.y, 1.0);
    CQorVector3d huge{1e300, 1e300, 0};
    huge.normalize(); // length overflows to infinity: left as it is rather than turned into zeros
    EXPECT_EQ(huge.x, 1e300);
}

TEST(Vector3d, NanIsNeverEqual) {
    const CQorVector3d n{kNan, 0, 0};
    EXPECT_FALSE(n == n);
    EXPECT_TRUE(n != n);
    EXPECT_FALSE(n == CQorVector3d{});
    const CQorPoint3d p{0, kNan, 0};
    EXPECT_TRUE(p != p);
    EXPECT_TRUE(std::isnan(p.distanceTo(CQorPoint3d::kOrigin)));
}

TEST(Vector3d, ToleranceGovernsEquality) {
    ToleranceGuard guard;
    EXPECT_EQ(CQorVector3d::tol, 1e-10);
    const CQorPoint3d a{1, 1, 1};
    const CQorPoint3d b{1, 1, 1.0005};
    EXPECT_NE(a, b);
    CQorVector3d::tol = 0.001;
    EXPECT_EQ(a, b);
    EXPECT_EQ(a - b, CQorVector3d{});
    EXPECT_NE(a, CQorPoint3d(1, 1, 1.002));
}

TEST(Vector3d, IndexOutsideRangeIsHarmless) {
    CQorVector3d v{1, 2, 3};
    EXPECT_EQ(v[2], 3.0);
    EXPECT_TRUE(std::isnan(v[3]));
    EXPECT_TRUE(std::isnan(v[-1]));
    v[5] = 9.0;
    v[1] = 7.0;
    EXPECT_EQ(v, CQorVector3d(1, 7, 3));
    CQorPoint3d p;
    p[-2] = 4.0;
    p[0] = 4.0;
    EXPECT_EQ(p, CQorPoint3d(4, 0, 0));
}

TEST(Point3d, MatrixMovesPointsButNotVectors) {
    CQorMatrix3d m;
    m.setToTranslation({10, 20, 30});
    EXPECT_EQ(CQorVector3d(1, 2, 3) * m, CQorVector3d(1, 2, 3));
    EXPECT_EQ(m * CQorPoint3d(1, 2, 3), CQorPoint3d(11, 22, 33));
    CQorVector3d v{1, 0, 0};
    CQorPoint3d p{1, 0, 0};
    v *= m;
    p *= m;
    EXPECT_EQ(v, CQorVector3d(1, 0, 0));
    EXPECT_EQ(p, CQorPoint3d(11, 20, 30));
    v.transformBy(m);
    EXPECT_EQ(v, CQorVector3d(1, 0, 0));
}

TEST(Point3dArray, SortByDirectionIsStableAndPutsNanLast) {
    CQorPoint3dArray a{{3, 0, 0}, {0, kNan, 0}, {1, 5, 0}, {1, -5, 0}, {-2, 0, 0}};
    a.sort(CQorVector3d::kXAxis);
    ASSERT_EQ(a.len(), 5);
    EXPECT_EQ(a[0], CQorPoint3d(-2, 0, 0));
    EXPECT_EQ(a[1], CQorPoint3d(1, 5, 0)); // equal projections keep their order
    EXPECT_EQ(a[2], CQorPoint3d(1, -5, 0));
    EXPECT_EQ(a[3], CQorPoint3d(3, 0, 0));
    EXPECT_TRUE(std::isnan(a[4].y));
    a.sort(CQorVector3d(-1, 0, 0));
    EXPECT_EQ(a[0], CQorPoint3d(3, 0, 0));
    const CQorPoint3dArray before = a;
    a.sort(CQorVector3d{});
    EXPECT_EQ(a[0], before[0]);
    EXPECT_EQ(a[4].x, before[4].x);
}

TEST(Point3dArray, IndexOfUsesPointTolerance) {
    const CQorPoint3dArray a{{1, 1, 0}, {2, 2, 0}, {3, 3, 0}};
    EXPECT_EQ(a.indexOf(CQorPoint3d(2, 2, 1e-12)), 1);
    EXPECT_EQ(a.indexOf(CQorPoint3d(2, 2, 1e-6)), -1);
}

TEST(LineParm, TwoDoublesAreADashArray) {
    const CQorLineParm dots(0.0, -2.5);
    ASSERT_EQ(dots.len(), 2);
    EXPECT_EQ(dots[1], -2.5);
    EXPECT_DOUBLE_EQ(dots.patternLength(), 2.5);
    EXPECT_FALSE(dots.isContinuous());
    EXPECT_TRUE(CQorLineParm(CQorArrayTempl<double>{1.0}).isContinuous());
}
