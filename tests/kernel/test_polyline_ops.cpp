#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_ops.h"

#include <cmath>

using geomtest::expectNear;

namespace {
constexpr double kEps = 1e-9;

// Largest distance of a chord's midpoint from the circle of radius r about c.
double worstChordDeviation(const CQorVertexArray& chords, const CQorPoint3d& c, double r) {
    double worst = 0;
    for (const CQorVertex& v : chords) {
        EXPECT_EQ(v.bulge, 0.0);
        worst = std::max(worst, r - v.mid().distanceTo(c));
    }
    return worst;
}
} // namespace

TEST(AngleHelpers, GAngPolarAndComponentwiseExtremes) {
    EXPECT_DOUBLE_EQ(QOR::g_ang(-M_PI / 2), 1.5 * M_PI);
    EXPECT_DOUBLE_EQ(QOR::g_ang(5 * M_PI), M_PI);
    EXPECT_EQ(QOR::g_ang(2 * M_PI), 0.0);
    EXPECT_LT(QOR::g_ang(-1e-18), 2 * M_PI);
    EXPECT_EQ(QOR::g_ang(std::nan("")), 0.0);
    EXPECT_EQ(QOR::g_ang(INFINITY), 0.0);
    EXPECT_EQ(QOR::polar(M_PI / 2, 2.0), CQorVector3d(0, 2, 0));
    expectNear(QOR::polar({1, 1, 7}, M_PI, 3.0), {-2, 1, 7});
    EXPECT_EQ(QOR::p_min({1, 5, -2}, {3, 0, 4}), CQorPoint3d(1, 0, -2));
    EXPECT_EQ(QOR::p_max({1, 5, -2}, {3, 0, 4}), CQorPoint3d(3, 5, 4));
    EXPECT_EQ(QOR::p_min({std::nan(""), 5, 0}, {3, 0, 0}), CQorPoint3d(3, 0, 0));
}

TEST(ArcSplitting, ChordCountKeepsTheDeviation) {
    const CQorVertex half{{10, 0, 0}, {-10, 0, 0}, 1.0};
    for (const double dev : {1.0, 0.1, 0.01, 0.001}) {
        const int n = QOR::vx_split_dif(half, dev);
        EXPECT_LE(worstChordDeviation(QOR::g_vl_expl(half, n), {0, 0, 0}, 10), dev);
        // One chord fewer would break the limit: the count is the smallest that keeps it.
        if (n > 1) {
            EXPECT_GT(worstChordDeviation(QOR::g_vl_expl(half, n - 1), {0, 0, 0}, 10), dev);
        }
    }
    EXPECT_EQ(QOR::vx_split_dif(CQorVertex({0, 0, 0}, {1, 0, 0}), 0.01), 1);
    EXPECT_EQ(QOR::vx_split_dif(half, 100.0), 1);
    EXPECT_EQ(QOR::vx_split_dif(half, 0.0), QOR::kMaxChords);
    EXPECT_EQ(QOR::vx_split_dif(half, std::nan("")), QOR::kMaxChords);
    EXPECT_EQ(QOR::vx_split_dif(CQorVertex({-1e9, 0, 0}, {1e9, 0, 0}, 1.0), 1e-12), QOR::kMaxChords);
}

TEST(ArcSplitting, ExplodeKeepsEndsAndOrder) {
    const CQorVertex arc{{1, 0, 0}, {0, 1, 0}, std::tan(M_PI / 8)};
    const CQorVertexArray chords = QOR::g_vl_expl(arc, 4);
    ASSERT_EQ(chords.len(), 4);
    EXPECT_EQ(chords[0].start, arc.start);
    EXPECT_EQ(chords[3].end, arc.end);
    EXPECT_TRUE(chords.isContinuous());
    expectNear(chords[1].end, arc.mid());
    EXPECT_EQ(QOR::g_vl_expl(arc, -5).len(), 1);
    EXPECT_EQ(QOR::g_vl_expl(CQorVertex({0, 0, 0}, {2, 0, 0}), 8).len(), 1);
}

TEST(ArcSplitting, SplitDifReplacesOnlyArcs) {
    CQorVertexArray vl;
    vl.append({0, 0, 0}, {10, 0, 0});
    vl.append({10, 0, 0}, {10, 10, 0}, 1.0);
    vl.append({10, 10, 0}, {0, 10, 0});
    CQorVertexArray split = vl;
    EXPECT_FALSE(QOR::vl_split_dif(split, 0.0));
    EXPECT_EQ(split.len(), 3);
    EXPECT_TRUE(QOR::vl_split_dif(split, 0.05));
    EXPECT_GT(split.len(), 4);
    EXPECT_EQ(split[0], vl[0]);
    EXPECT_EQ(split[-1], vl[2]);
    EXPECT_TRUE(split.isContinuous());
    EXPECT_LE(worstChordDeviation(QOR::g_vl_expl(vl[1], QOR::vx_split_dif(vl[1], 0.05)), {10, 5, 0}, 5),
              0.05);
}

TEST(Projection, KeepsCircularArcsAndSplitsSquashedOnes) {
    CQorVertexArray vl;
    vl.append({1, 0, 5}, {-1, 0, 5}, 1.0);
    CQorMatrix3d turn;
    turn.setToRotation(M_PI / 2, CQorVector3d::kZAxis);
    CQorVertexArray a = vl;
    ASSERT_TRUE(QOR::g_vl_proje_mtx_orig(a, turn, 0.01));
    ASSERT_EQ(a.len(), 1);
    EXPECT_EQ(a[0].bulge, 1.0);
    expectNear(a[0].start, {0, 1, 0});

    CQorMatrix3d mirror;
    mirror.setToMirroring(CQorPlane({0, 0, 0}, {1, 0, 0}));
    CQorVertexArray b = vl;
    QOR::g_vl_proje_mtx_orig(b, mirror, 0.01);
    EXPECT_EQ(b[0].bulge, -1.0);
    expectNear(b[0].mid(), {0, 1, 0});

    CQorMatrix3d squash;
    squash.setToScaling(1.0);
    squash[1][1] = 0.5; // circles become ellipses
    CQorVertexArray c = vl;
    QOR::g_vl_proje_mtx_orig(c, squash, 0.01);
    EXPECT_GT(c.len(), 4);
    for (const CQorVertex& v : c) {
        EXPECT_EQ(v.bulge, 0.0);
        EXPECT_EQ(v.start.z, 0.0);
        EXPECT_NEAR(v.start.x * v.start.x + 4 * v.start.y * v.start.y, 1.0, 1e-9);
    }
    EXPECT_FALSE(QOR::g_vl_proje_mtx_orig(c, squash, -1.0));
}

TEST(Pieces, ToVllSplitsAtGaps) {
    CQorVertexArray vl;
    vl.append({0, 0, 0}, {1, 0, 0});
    vl.append({1, 0, 0}, {1, 1, 0});
    vl.append({5, 5, 0}, {6, 5, 0});
    vl.append({6, 5, 0}, {6, 5, 0});
    const auto pieces = QOR::vl_to_vll(vl);
    ASSERT_EQ(pieces.len(), 2);
    EXPECT_EQ(pieces[0].len(), 2);
    EXPECT_EQ(pieces[1].len(), 2);
    EXPECT_EQ(QOR::vl_to_vll(CQorVertexArray()).len(), 0);
}

TEST(Pieces, CutBetweenTwoPoints) {
    const CQorVertex half{{1, 0, 0}, {-1, 0, 0}, 1.0};
    const CQorVertex quarter = QOR::g_vl_cut(half, {5, 5, 0}, {0, 3, 0});
    expectNear(quarter.start, {std::sqrt(0.5), std::sqrt(0.5), 0});
    expectNear(quarter.end, {0, 1, 0});
    EXPECT_NEAR(quarter.bulgLen(), M_PI / 4, kEps);

    CQorVertexArray path;
    path.fromPoints({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, false);
    const CQorVertexArray part = QOR::g_vl_cut(path, {1, -1, 0}, {5, 2, 0});
    ASSERT_EQ(part.len(), 2);
    expectNear(part[0].start, {1, 0, 0});
    expectNear(part[1].end, {4, 2, 0});
    const CQorVertexArray back = QOR::g_vl_cut(path, {5, 2, 0}, {1, -1, 0});
    expectNear(back[0].start, {4, 2, 0});
    EXPECT_NEAR(back.length(), 5.0, kEps);
}

TEST(Pieces, FlattenKeepsBulge) {
    CQorVertexArray vl;
    vl.append({1, 2, 3}, {4, 5, 6}, 0.3);
    const CQorVertexArray flat = QOR::g_vx_xy(vl);
    EXPECT_EQ(flat[0].start, CQorPoint3d(1, 2, 0));
    EXPECT_EQ(flat[0].end, CQorPoint3d(4, 5, 0));
    EXPECT_EQ(flat[0].bulge, 0.3);
}
