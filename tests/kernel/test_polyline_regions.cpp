#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_regions.h"

using geomtest::rect;

namespace {
bool sameLoop(const CQorVertexArray& a, const CQorVertexArray& b) {
    CQorPoint3d alo, ahi, blo, bhi;
    return a.extents(alo, ahi) && b.extents(blo, bhi) && alo == blo && ahi == bhi;
}
} // namespace

TEST(RegionGrouping, NestedLoopsBecomeOuterLoopsAndHoles) {
    // A frame with two holes, an island inside one hole, and a separate square.
    const CQorArrayTempl<CQorVertexArray> loops{rect(2, 2, 4, 4),   rect(0, 0, 20, 10), rect(12, 2, 18, 8),
                                                rect(14, 4, 16, 6), rect(30, 0, 31, 1), rect(1, 1, 5, 5)};
    const auto regions = QOR::g_vll_regions(loops, QOR::kRegionsOrient);
    ASSERT_EQ(regions.len(), 4);
    // Regions follow the order of their outer loops.
    EXPECT_TRUE(sameLoop(regions[0][0], rect(2, 2, 4, 4)));
    EXPECT_EQ(regions[0].len(), 1);
    ASSERT_EQ(regions[1].len(), 3);
    EXPECT_TRUE(sameLoop(regions[1][0], rect(0, 0, 20, 10)));
    EXPECT_TRUE(sameLoop(regions[1][1], rect(12, 2, 18, 8)));
    EXPECT_TRUE(sameLoop(regions[1][2], rect(1, 1, 5, 5)));
    EXPECT_TRUE(sameLoop(regions[2][0], rect(14, 4, 16, 6)));
    EXPECT_TRUE(sameLoop(regions[3][0], rect(30, 0, 31, 1)));
    for (const auto& region : regions)
        for (int i = 0; i < region.len(); ++i)
            EXPECT_EQ(QOR::g_vl_orient(region[i], CQorVector3d::kZAxis), i == 0);
    EXPECT_GT(QOR::g_vll_pt_inside(regions[1], {10, 5, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(regions[1], {3, 3, 0}), 0);
}

TEST(RegionGrouping, TouchingHoleAndOrientationFlag) {
    CQorVertexArray hole = rect(0, 2, 3, 4); // shares part of the outer loop's left edge
    const CQorArrayTempl<CQorVertexArray> loops{rect(0, 0, 10, 10), hole};
    const auto kept = QOR::g_vll_regions(loops, 0);
    ASSERT_EQ(kept.len(), 1);
    ASSERT_EQ(kept[0].len(), 2);
    EXPECT_TRUE(QOR::g_vl_orient(kept[0][1], CQorVector3d::kZAxis)); // left as given
    const auto oriented = QOR::g_vll_regions(loops, QOR::kRegionsOrient);
    EXPECT_FALSE(QOR::g_vl_orient(oriented[0][1], CQorVector3d::kZAxis));
    EXPECT_EQ(QOR::g_vll_regions({}, 4).len(), 0);
    CQorVertexArray flat;
    flat.fromPoints({{0, 0, 0}, {5, 0, 0}}, true);
    EXPECT_EQ(QOR::g_vll_regions({flat}, 4).len(), 0);
}

TEST(RegionPreparation, ChainsLoosePiecesIntoLoops) {
    CQorVertexArray a, b, c;
    a.fromPoints({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, false);
    b.fromPoints({{0, 4, 0}, {4, 4, 1e-8}}, false); // runs the wrong way, ends within tolerance
    c.fromPoints({{0, 0, 0}, {0, 4, 0}}, false);
    CQorVertexArray stray;
    stray.fromPoints({{10, 10, 0}, {11, 10, 0}}, false);
    CQorVertexArray closed = rect(20, 20, 21, 21);
    closed.append({20, 20, 0}, {20, 20, 0}); // zero-length tail
    const auto loops = QOR::vll_regions_prepare({a, stray, closed, b, c});
    ASSERT_EQ(loops.len(), 2);
    EXPECT_TRUE(sameLoop(loops[0], rect(20, 20, 21, 21)));
    EXPECT_EQ(loops[0].len(), 4);
    EXPECT_TRUE(loops[1].isClosed());
    EXPECT_EQ(loops[1].len(), 4);
    const auto regions = QOR::g_vll_regions(loops, 4);
    EXPECT_EQ(regions.len(), 2);
}
