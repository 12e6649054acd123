#include "qor/render/polyline_prep.h"

#include <gtest/gtest.h>

#include <cmath>

#include "qor/kernel/geom/arc_math.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

CQorVertexArray segment(double x0, double y0, double x1, double y1, double bulge = 0.0) {
    return CQorVertexArray{CQorVertex({x0, y0, 0}, {x1, y1, 0}, bulge)};
}

/// The x ranges of the dashes of a polyline along the x axis.
std::vector<std::pair<double, double>> spans(const CQorVertexArray& vl) {
    std::vector<std::pair<double, double>> out;
    for (const CQorVertex& v : vl) {
        if (!out.empty() && std::abs(out.back().second - v.start.x) < 1e-9)
            out.back().second = v.end.x;
        else
            out.emplace_back(v.start.x, v.end.x);
    }
    return out;
}

} // namespace

TEST(DashFit, HalfDashesAtBothEndsAndGapsWidenedToFitTheSegment) {
    // (10, -4) becomes (5, -4, 5); 30 holds two patterns of 14 with 2 left, so the gap grows by 1.
    CQorVertexArray vl = segment(0, 0, 30, 0);
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {10.0, -4.0}, 1));
    const auto got = spans(vl);
    const std::pair<double, double> want[] = {{0, 5}, {10, 20}, {25, 30}};
    ASSERT_EQ(got.size(), std::size(want));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].first, want[i].first, 1e-9) << i;
        EXPECT_NEAR(got[i].second, want[i].second, 1e-9) << i;
    }
}

TEST(DashFit, EachSegmentIsFittedOnItsOwnAndShortOnesStaySolid) {
    CQorVertexArray vl = segment(0, 0, 30, 0);
    vl.append({30, 0, 0}, {30, 10, 0}); // 10 is shorter than one pattern of 14
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {10.0, -4.0}, 1));
    EXPECT_EQ(vl.lastVertex(), CQorVertex({30, 0, 0}, {30, 10, 0}));
    EXPECT_NEAR(vl[-2].start.x, 25, 1e-9) << "the first segment still ends in a half dash";
}

TEST(DashFit, ModeZeroRunsThePatternOnAcrossCorners) {
    CQorVertexArray vl = segment(0, 0, 8, 0);
    vl.append({8, 0, 0}, {8, 8, 0});
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {10.0, -4.0}, 0));
    // The first dash covers 8 along x and 2 up the corner: one continuous dash of two vertices.
    ASSERT_GE(vl.len(), 2);
    EXPECT_EQ(vl[0], CQorVertex({0, 0, 0}, {8, 0, 0}));
    EXPECT_EQ(vl[1], CQorVertex({8, 0, 0}, {8, 2, 0}));
    EXPECT_EQ(vl[2].start, CQorPoint3d(8, 6, 0)) << "then a gap of 4";
}

TEST(DashFit, FewerThanTwoEntriesLeaveThePolylineSolid) {
    const CQorVertexArray original = segment(0, 0, 30, 0, 0.5);
    CQorVertexArray vl = original;
    EXPECT_FALSE(qor_gdx_image_vl_measure(vl, {10.0}, 1));
    EXPECT_FALSE(qor_gdx_image_vl_measure(vl, {}, 0));
    EXPECT_EQ(vl, original);
}

TEST(DashFit, AlignmentLooksAtTheRotatedArray) {
    // A dot-and-gap pattern (the renderer's dots are 0.21 long) has no dash to start with: it is laid
    // as given, and a dot costs 1.0 of pattern length.
    CQorVertexArray vl = segment(0, 0, 20, 0);
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {0.21, -4.0}, 1));
    EXPECT_NEAR(vl[0].start.x, 0.0, 1e-9);
    EXPECT_NEAR(vl[0].end.x, 0.21, 1e-9);
    // A zero entry becomes a dot of 0.2 mm that counts 1.0: T = 5, four patterns in 20, no rest.
    vl = segment(0, 0, 20, 0);
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {0.0, -4.0}, 1));
    ASSERT_EQ(vl.len(), 5);
    EXPECT_NEAR(vl[1].start.x, 4.2, 1e-9);
    EXPECT_NEAR(vl[1].end.x, 4.4, 1e-9);
}

TEST(DashFit, ArcsAreDashedOnChordsAndResultIsFlat) {
    CQorVertexArray vl{CQorVertex({10, 0, 5}, {-10, 0, 5}, 1.0)}; // half circle of radius 10, length 31.4
    ASSERT_TRUE(qor_gdx_image_vl_measure(vl, {4.0, -2.0}, 1));
    ASSERT_GT(vl.len(), 0);
    for (const CQorVertex& v : vl) {
        EXPECT_EQ(v.start.z, 0.0);
        EXPECT_FALSE(v.isArc());
        EXPECT_NEAR(CQorVector3d(v.start.x, v.start.y, 0).abs(), 10.0, 0.1);
    }
}

TEST(ArcSplit, ShortArcsAreSplitFiner) {
    // Half circles of length 3.9 and 4.0: deviation 0.01 for the first, 0.05 for the second.
    const double r39 = 3.9 / kPi, r40 = 4.0 / kPi;
    const CQorVertex a39({r39, 0, 0}, {-r39, 0, 0}, 1.0), a40({r40, 0, 0}, {-r40, 0, 0}, 1.0);
    const CQorVertexArray s39 = qor_gdx_image_vl_split(CQorVertexArray{a39});
    const CQorVertexArray s40 = qor_gdx_image_vl_split(CQorVertexArray{a40});
    EXPECT_EQ(s39.len(), QOR::vx_split_dif(a39, 0.01));
    EXPECT_EQ(s40.len(), QOR::vx_split_dif(a40, 0.05));
    EXPECT_GT(s39.len(), s40.len());
    EXPECT_EQ(s39.firstVertex().start, a39.start);
    EXPECT_EQ(s39.lastVertex().end, a39.end);
}

TEST(ArcSplit, ArcsOfATiltedPlaneStayOnTheirCircle) {
    // A quarter circle of radius 10 in the plane x = y, with a straight vertex after it. Its centre is
    // the origin or the corner opposite, whichever the bulge's sense about the plane normal picks.
    const double s = std::sqrt(0.5);
    CQorVertexArray vl{CQorVertex({10 * s, 10 * s, 0}, {0, 0, 10}, std::tan(kPi / 8))};
    vl.append({0, 0, 10}, {0, 0, 20});
    const CQorPoint3d mid = vl[0].mid(vl.normal());
    const CQorPoint3d centre = std::abs(mid.distanceTo(CQorPoint3d::kOrigin) - 10) < 1e-6
                                   ? CQorPoint3d::kOrigin
                                   : CQorPoint3d(10 * s, 10 * s, 10);
    ASSERT_NEAR(mid.distanceTo(centre), 10.0, 1e-6);

    const CQorVertexArray split = qor_gdx_image_vl_split(vl);
    ASSERT_GT(split.len(), 2);
    EXPECT_EQ(split.lastVertex(), vl[1]);
    for (int i = 0; i + 1 < split.len(); ++i) {
        EXPECT_FALSE(split[i].isArc());
        EXPECT_NEAR(centre.distanceTo(split[i].end), 10.0, 1e-9);
        EXPECT_NEAR(split[i].end.x, split[i].end.y, 1e-9);
    }
}

TEST(ArcSplit, RegionsKeepTheirLoops) {
    EXPECT_EQ(qor_gdx_image_reg_split({}).len(), 0);
    const CQorArrayTempl<CQorVertexArray> loops{segment(0, 0, 1, 0), segment(1, 0, 0, 0, 1.0),
                                                CQorVertexArray()};
    const auto split = qor_gdx_image_reg_split(loops);
    ASSERT_EQ(split.len(), 3);
    EXPECT_EQ(split[0], loops[0]);
    EXPECT_GT(split[1].len(), 1);
    EXPECT_EQ(split[2].len(), 0);
}

TEST(ArrayRotate, MovesEntriesLeftByN) {
    CQorArrayTempl<double> a{1, 2, 3, 4};
    QOR::arrayRotate(a, 1);
    EXPECT_EQ(a, (CQorArrayTempl<double>{2, 3, 4, 1}));
    QOR::arrayRotate(a, -1);
    EXPECT_EQ(a, (CQorArrayTempl<double>{1, 2, 3, 4}));
    QOR::arrayRotate(a, 6);
    EXPECT_EQ(a, (CQorArrayTempl<double>{3, 4, 1, 2}));
    CQorArrayTempl<double> one{7};
    QOR::arrayRotate(one, 1);
    EXPECT_EQ(one, CQorArrayTempl<double>{7});
}

TEST(ViewPlacement, FrontViewShowsWorldZUpwardsAndIsFlat) {
    // Seen from the front (from -Y), an outline in the XZ plane becomes a flat outline of the same size.
    CQorVertexArray vl{CQorVertex({10, 0, 0}, {0, 0, 0})};
    vl.append({0, 0, 0}, {0, 0, 10}, 0.5);
    const CQorVertexArray placed = qor_g_vl_mtx_view(vl, {0, -1, 0}, {0, 5, 0}, true);
    ASSERT_EQ(placed.len(), 2);
    EXPECT_EQ(placed[1].start, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(placed[1].end, CQorPoint3d(0, 10, 0)) << "world Z shows upwards";
    EXPECT_NEAR(std::abs(placed[1].bulge), 0.5, 1e-12);
    EXPECT_NEAR(placed.length(), vl.length(), 1e-9);
    for (const CQorVertex& v : placed)
        EXPECT_EQ(v.start.z, 0.0);
}
