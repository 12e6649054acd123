#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/vertex.h"

#include <cmath>
#include <limits>

using geomtest::expectNear;

namespace {
constexpr double kEps = 1e-9;

// Upper half of the unit circle, from (1,0) to (-1,0) counter-clockwise.
const CQorVertex kUpperHalf{{1, 0, 0}, {-1, 0, 0}, 1.0};
} // namespace

TEST(Vertex, MidAndLengthOfLinesAndArcs) {
    const CQorVertex line{{0, 0, 0}, {3, 4, 0}};
    expectNear(line.mid(), {1.5, 2, 0});
    EXPECT_DOUBLE_EQ(line.bulgLen(), 5.0);
    expectNear(kUpperHalf.mid(), {0, 1, 0});
    EXPECT_NEAR(kUpperHalf.bulgLen(), M_PI, kEps);
    const CQorVertex lowerHalf{{1, 0, 0}, {-1, 0, 0}, -1.0};
    expectNear(lowerHalf.mid(), {0, -1, 0});
    // Three quarters of a circle of radius 2 the long way round (bulge above 1).
    const CQorVertex major{{2, 0, 0}, {0, -2, 0}, std::tan(3 * M_PI / 8)};
    expectNear(major.mid(), {-std::sqrt(2.0), std::sqrt(2.0), 0});
    EXPECT_NEAR(major.bulgLen(), 3 * M_PI, kEps);
}

TEST(Vertex, LotpClampsToTheSegment) {
    const CQorVertex line{{0, 0, 0}, {10, 0, 0}};
    expectNear(line.lotp({4, 7, 0}), {4, 0, 0});
    expectNear(line.lotp({-3, 1, 0}), {0, 0, 0});
    expectNear(line.lotp({13, -1, 0}), {10, 0, 0});
    expectNear(kUpperHalf.lotp({0, 5, 0}), {0, 1, 0});
    expectNear(kUpperHalf.lotp({0.3, -4, 0}), {1, 0, 0}); // below the arc: nearer end
    const CQorVertex dot{{1, 1, 0}, {1, 1, 0}};
    expectNear(dot.lotp({5, 5, 0}), {1, 1, 0});
}

TEST(Vertex, IsPointWithinTolerance) {
    EXPECT_TRUE(kUpperHalf.isPoint({0, 1, 0}));
    EXPECT_TRUE(kUpperHalf.isPoint({0, 1 + 1e-7, 0}));
    EXPECT_FALSE(kUpperHalf.isPoint({0, 1.001, 0}));
    EXPECT_TRUE(kUpperHalf.isPoint({0, 1.001, 0}, 0.01));
    EXPECT_FALSE(kUpperHalf.isPoint({0, -1, 0}));
    const CQorVertex line{{0, 0, 0}, {10, 0, 0}};
    EXPECT_FALSE(line.isPoint({11, 0, 0}));
    EXPECT_FALSE(line.isPoint({std::nan(""), 0, 0}));
}

TEST(Vertex, TransformFlipsBulgeOnlyWhenMirrored) {
    CQorMatrix3d mirror;
    mirror.setToMirroring(CQorPlane({0, 0, 0}, {0, 1, 0}));
    CQorVertex v = kUpperHalf;
    v.transformBy(mirror);
    EXPECT_EQ(v.bulge, -1.0);
    expectNear(v.mid(), {0, -1, 0});

    CQorMatrix3d turn;
    turn.setToRotation(M_PI / 2, CQorVector3d::kZAxis, {5, 0, 0});
    v = kUpperHalf;
    v.transformBy(turn);
    EXPECT_EQ(v.bulge, 1.0);
    expectNear(v.mid(), turn * CQorPoint3d(0, 1, 0));

    // Turned over about X, the arc is seen from below: it now runs clockwise seen from +Z.
    CQorMatrix3d over;
    over.setToRotation(M_PI, CQorVector3d::kXAxis);
    v = kUpperHalf;
    v.transformBy(over);
    EXPECT_EQ(v.bulge, -1.0);
    expectNear(v.mid(), {0, -1, 0});
}

TEST(Vertex, SubSegmentKeepsTheArc) {
    const CQorVertex first = kUpperHalf.subSegment(0.0, 0.5);
    expectNear(first.end, {0, 1, 0});
    EXPECT_NEAR(first.bulge, std::tan(M_PI / 8), kEps);
    const CQorVertex back = kUpperHalf.subSegment(1.0, 0.5);
    expectNear(back.start, {-1, 0, 0});
    EXPECT_NEAR(back.bulge, -std::tan(M_PI / 8), kEps);
    expectNear(back.mid(), kUpperHalf.pointAt(0.75));
}

TEST(Vertex, NanBulgeIsStraightAndNanPointsStayHarmless) {
    const CQorVertex v{{0, 0, 0}, {2, 0, 0}, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_FALSE(v.isArc());
    EXPECT_DOUBLE_EQ(v.bulgLen(), 2.0);
    expectNear(v.mid(), {1, 0, 0});
    const CQorVertex bad{{std::nan(""), 0, 0}, {1, 1, 0}, 0.5};
    EXPECT_TRUE(std::isnan(bad.bulgLen()) || bad.bulgLen() >= 0.0);
    EXPECT_FALSE(bad.isPoint({0, 0, 0}));
    const CQorVertex huge{{-1e9, 1e9, 0}, {1e9, 1e9, 0}, 1.0};
    EXPECT_NEAR(huge.mid().y, 0.0, 1e-3);
    EXPECT_NEAR(huge.bulgLen(), M_PI * 1e9, 1e-3);
}
