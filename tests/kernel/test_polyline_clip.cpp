#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"

#include <cmath>
#include <random>

using geomtest::circle;
using geomtest::expectNear;
using geomtest::line;
using geomtest::rect;

namespace {
constexpr double kEps = 1e-9;

// A 10 x 10 square with a 2 x 2 square hole at (4..6, 4..6).
CQorArrayTempl<CQorVertexArray> squareWithHole() {
    return {rect(0, 0, 10, 10), rect(4, 4, 6, 6)};
}

double totalLength(const CQorArrayTempl<CQorVertexArray>& pieces) {
    double sum = 0;
    for (const CQorVertexArray& p : pieces)
        sum += p.length();
    return sum;
}
} // namespace

TEST(Orientation, CounterClockwiseAboutTheAxis) {
    CQorVertexArray sq = rect(0, 0, 1, 1);
    EXPECT_TRUE(QOR::g_vl_orient(sq, CQorVector3d::kZAxis));
    EXPECT_FALSE(QOR::g_vl_orient(sq, -CQorVector3d::kZAxis));
    sq.revert();
    EXPECT_FALSE(QOR::g_vl_orient(sq, CQorVector3d::kZAxis));
    EXPECT_TRUE(QOR::g_vl_orient(circle(0, 0, 1), CQorVector3d::kZAxis)); // area from the arcs alone
    EXPECT_FALSE(QOR::g_vl_orient(circle(0, 0, 1, -1), CQorVector3d::kZAxis));
    // An open polyline counts as closed by a straight vertex.
    CQorVertexArray open;
    open.fromPoints({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false);
    EXPECT_TRUE(QOR::g_vl_orient(open, CQorVector3d::kZAxis));
    // A clockwise square whose edges bulge out far enough to enclose more counter-clockwise area.
    CQorVertexArray flower;
    flower.append({0, 0, 0}, {1, 0, 0}, 0.9);
    flower.append({1, 0, 0}, {0, 0, 0}, 0.9);
    EXPECT_TRUE(QOR::g_vl_orient(flower, CQorVector3d::kZAxis));
    EXPECT_FALSE(QOR::g_vl_orient(line(0, 0, 5, 5), CQorVector3d::kZAxis));
    EXPECT_FALSE(QOR::g_vl_orient(rect(0, 0, 1, 1), CQorVector3d{}));
    EXPECT_FALSE(QOR::g_vl_orient(CQorVertexArray(), CQorVector3d::kZAxis));
    CQorMatrix3d stand;
    stand.setToRotation(M_PI / 2, CQorVector3d::kXAxis);
    EXPECT_TRUE(QOR::g_vl_orient(rect(0, 0, 1, 1).getTransformedCopy(stand), -CQorVector3d::kYAxis));
}

TEST(PointInRegion, InsideOnBoundaryOutside) {
    const auto region = squareWithHole();
    EXPECT_GT(QOR::g_vll_pt_inside(region, {1, 1, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(region, {5, 5, 0}), 0);
    EXPECT_EQ(QOR::g_vll_pt_inside(region, {10, 3, 0}), 0);
    EXPECT_EQ(QOR::g_vll_pt_inside(region, {4, 5, 0}), 0);
    EXPECT_EQ(QOR::g_vll_pt_inside(region, {0, 0, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(region, {11, 5, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(region, {std::nan(""), 5, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside({}, {0, 0, 0}), 0);
    // Clockwise loops give the same answers; z is ignored.
    CQorArrayTempl<CQorVertexArray> cw = region;
    cw[0].revert();
    cw[1].revert();
    EXPECT_GT(QOR::g_vll_pt_inside(cw, {1, 9, 42}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(cw, {5.5, 4.5, 0}), 0);
    // The caps between chords and arcs.
    const CQorArrayTempl<CQorVertexArray> disc{circle(0, 0, 1)};
    EXPECT_GT(QOR::g_vll_pt_inside(disc, {0, 0.99, 0}), 0);
    EXPECT_GT(QOR::g_vll_pt_inside(disc, {0, -0.99, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(disc, {0.8, 0.8, 0}), 0);
    EXPECT_EQ(QOR::g_vll_pt_inside(disc, {0, 1, 0}), 0);
    CQorVertexArray dent = rect(0, 0, 4, 4); // the bottom edge bent inwards
    dent[0].bulge = -0.5;
    EXPECT_LT(QOR::g_vll_pt_inside({dent}, {2, 0.5, 0}), 0);
    EXPECT_GT(QOR::g_vll_pt_inside({dent}, {2, 1.5, 0}), 0);
}

TEST(PointInRegion, HoleTouchingTheOuterLoopAndHugeCoordinates) {
    const CQorArrayTempl<CQorVertexArray> notch{rect(0, 0, 10, 10), rect(0, 4, 3, 6)};
    EXPECT_LT(QOR::g_vll_pt_inside(notch, {1, 5, 0}), 0);
    EXPECT_EQ(QOR::g_vll_pt_inside(notch, {0, 5, 0}), 0);
    EXPECT_GT(QOR::g_vll_pt_inside(notch, {1, 7, 0}), 0);
    const CQorArrayTempl<CQorVertexArray> huge{rect(-1e9, -1e9, 1e9, 1e9)};
    EXPECT_GT(QOR::g_vll_pt_inside(huge, {123456789, -987654321, 0}), 0);
    EXPECT_LT(QOR::g_vll_pt_inside(huge, {2e9, 0, 0}), 0);
}

TEST(RegionClipping, ScanLineStopsAtTheHole) {
    const auto pieces = QOR::vl_punch_reg(line(-5, 5, 15, 5), squareWithHole(), true);
    ASSERT_EQ(pieces.len(), 2);
    expectNear(pieces[0][0].start, {0, 5, 0});
    expectNear(pieces[0][-1].end, {4, 5, 0});
    expectNear(pieces[1][0].start, {6, 5, 0});
    expectNear(pieces[1][-1].end, {10, 5, 0});
    const auto outside = QOR::vl_punch_reg(line(-5, 5, 15, 5), squareWithHole(), false);
    ASSERT_EQ(outside.len(), 3);
    EXPECT_NEAR(totalLength(outside), 12.0, kEps);
    // Backwards, the pieces come in the segment's own order.
    const auto back = QOR::vl_punch_reg(line(15, 5, -5, 5), squareWithHole(), true);
    ASSERT_EQ(back.len(), 2);
    expectNear(back[0][0].start, {10, 5, 0});
}

TEST(RegionClipping, EdgesTouchesAndCorners) {
    // Along the bottom edge: the boundary belongs to the region.
    auto along = QOR::vl_punch_reg(line(-5, 0, 15, 0), squareWithHole(), true);
    ASSERT_EQ(along.len(), 1);
    EXPECT_NEAR(along[0].length(), 10.0, kEps);
    // Touching the circle at its top: nothing inside.
    EXPECT_EQ(QOR::vl_punch_reg(line(-5, 1, 5, 1), {circle(0, 0, 1)}, true).len(), 0);
    // Through two corners of the hole, along its diagonal.
    auto diagonal = QOR::vl_punch_reg(line(0, 0, 10, 10), squareWithHole(), true);
    ASSERT_EQ(diagonal.len(), 2);
    EXPECT_NEAR(totalLength(diagonal), std::sqrt(200.0) - std::sqrt(8.0), 1e-9);
    // A polyline with a zero-length vertex and a repeated point in the loop.
    CQorVertexArray loop = rect(0, 0, 10, 10);
    loop.append({0, 0, 0}, {0, 0, 0});
    CQorVertexArray path;
    path.append({-1, 1, 0}, {5, 1, 0});
    path.append({5, 1, 0}, {5, 1, 0});
    path.append({5, 1, 0}, {5, 20, 0});
    auto bent = QOR::vl_punch_reg(path, {loop}, true);
    ASSERT_EQ(bent.len(), 1);
    EXPECT_NEAR(bent[0].length(), 14.0, kEps);
    expectNear(bent[0][-1].end, {5, 10, 0});
}

TEST(RegionClipping, CollinearEdgesAndHolesTouchingTheOuterLoop) {
    CQorVertexArray split; // a square whose bottom and right edges are split into collinear parts
    split.fromPoints({{0, 0, 0}, {3, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    auto pieces = QOR::vl_punch_reg(line(-1, 5, 11, 5), {split}, true);
    ASSERT_EQ(pieces.len(), 1);
    EXPECT_NEAR(pieces[0].length(), 10.0, kEps);
    pieces = QOR::vl_punch_reg(line(3, -5, 3, 5), {split}, true); // through the split point
    ASSERT_EQ(pieces.len(), 1);
    expectNear(pieces[0][0].start, {3, 0, 0});

    const CQorArrayTempl<CQorVertexArray> notch{rect(0, 0, 10, 10), rect(0, 4, 3, 6)};
    pieces = QOR::vl_punch_reg(line(-1, 5, 11, 5), notch, true);
    ASSERT_EQ(pieces.len(), 1);
    expectNear(pieces[0][0].start, {3, 5, 0});
    pieces = QOR::vl_punch_reg(line(-1, 4, 11, 4), notch, true); // along the hole's lower edge
    ASSERT_EQ(pieces.len(), 1);
    EXPECT_NEAR(pieces[0].length(), 10.0, kEps);
}

TEST(RegionClipping, ArcsAreCutAsArcs) {
    CQorVertexArray arc; // half circle of radius 5 about (5, 0), over the square's bottom half
    arc.append({0, 0, 0}, {10, 0, 0}, -1.0);
    const auto pieces = QOR::vl_punch_reg(arc, {rect(1, -10, 9, 10)}, true);
    ASSERT_EQ(pieces.len(), 1);
    for (const CQorVertex& v : pieces[0]) {
        EXPECT_TRUE(v.isArc());
        EXPECT_NEAR(v.mid().distanceTo({5, 0, 0}), 5.0, 1e-9);
    }
    EXPECT_NEAR(pieces[0][0].start.x, 1.0, 1e-9);
    EXPECT_NEAR(pieces[0][-1].end.x, 9.0, 1e-9);
}

TEST(RegionClipping, PunchKeepsInsideOrOutsideOfOneLoop) {
    CQorArrayTempl<CQorVertexArray> pieces{line(-5, 5, 15, 5), line(5, -5, 5, 15)};
    CQorArrayTempl<CQorVertexArray> outside = pieces;
    EXPECT_TRUE(QOR::vl_punch(pieces, rect(0, 0, 10, 10), true));
    ASSERT_EQ(pieces.len(), 2);
    EXPECT_NEAR(totalLength(pieces), 20.0, kEps);
    EXPECT_TRUE(QOR::vl_punch(outside, rect(0, 0, 10, 10), false));
    EXPECT_EQ(outside.len(), 4);
    EXPECT_FALSE(QOR::vl_punch(outside, CQorVertexArray(), true));
    EXPECT_EQ(outside.len(), 4);
}

TEST(RegionClipping, BadInputGivesNothingOrEverything) {
    const auto nan = QOR::vl_punch_reg(line(std::nan(""), 0, 5, 5), squareWithHole(), true);
    EXPECT_EQ(nan.len(), 0);
    EXPECT_EQ(QOR::vl_punch_reg(line(0, 0, 5, 5), {}, true).len(), 0);
    EXPECT_EQ(QOR::vl_punch_reg(line(0, 0, 5, 5), {}, false).len(), 1);
    const auto dot = QOR::vl_punch_reg(line(2, 2, 2, 2), squareWithHole(), true);
    ASSERT_EQ(dot.len(), 1);
    const CQorArrayTempl<CQorVertexArray> huge{rect(-1e9, -1e9, 1e9, 1e9), rect(-1, -1, 1, 1)};
    const auto far = QOR::vl_punch_reg(line(-2e9, 0, 2e9, 0), huge, true);
    ASSERT_EQ(far.len(), 2);
    EXPECT_NEAR(totalLength(far), 2e9 - 2, 1e-3);
}

namespace {

// A star-shaped outer loop (radii 60..100, some edges bulged) with round and square holes that fit
// inside radius 55 without overlapping; loops come in random orientation.
CQorArrayTempl<CQorVertexArray> randomRegion(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int n = 5 + int(unit(rng) * 40);
    CQorPoint3dArray pts;
    for (int i = 0; i < n; ++i) {
        const double a = (i + 0.8 * unit(rng)) * 2 * M_PI / n;
        pts.append(CQorPoint3d::kOrigin + QOR::polar(a, 60 + 40 * unit(rng)));
    }
    CQorVertexArray outer;
    outer.fromPoints(pts, true);
    for (CQorVertex& v : outer)
        if (unit(rng) < 0.3) v.bulge = (unit(rng) - 0.5) * 0.4;
    if (unit(rng) < 0.5) outer.revert();
    CQorArrayTempl<CQorVertexArray> loops{outer};
    CQorPoint3dArray centres;
    for (int tries = 0; tries < 40 && loops.len() < 8; ++tries) {
        const CQorPoint3d c = CQorPoint3d::kOrigin + QOR::polar(unit(rng) * 2 * M_PI, unit(rng) * 45);
        bool free = true;
        for (const CQorPoint3d& o : centres)
            free = free && o.distanceTo(c) > 21;
        if (!free) continue;
        centres.append(c);
        CQorVertexArray hole =
            unit(rng) < 0.5 ? circle(c.x, c.y, 3 + 6 * unit(rng)) : rect(c.x - 7, c.y - 5, c.x + 5, c.y + 7);
        if (unit(rng) < 0.5) hole.revert();
        loops.append(hole);
    }
    return loops;
}

// Length of the segment inside the region, by sampling the midpoints of many equal steps.
double sampledInsideLength(const CQorVertexArray& seg, const CQorArrayTempl<CQorVertexArray>& loops,
                           int steps) {
    const double length = seg.length();
    int inside = 0;
    for (int i = 0; i < steps; ++i)
        if (QOR::g_vll_pt_inside(loops, seg[0].pointAt((i + 0.5) / steps)) > 0) ++inside;
    return length * inside / steps;
}

} // namespace

TEST(RegionClippingProperty, PiecesLieInsideAndMatchSampledLength) {
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 12; ++round) {
        const auto loops = randomRegion(rng);
        for (int s = 0; s < 8; ++s) {
            const CQorPoint3d a = CQorPoint3d::kOrigin + QOR::polar(unit(rng) * 2 * M_PI, 120 * unit(rng));
            const CQorPoint3d b = CQorPoint3d::kOrigin + QOR::polar(unit(rng) * 2 * M_PI, 120 * unit(rng));
            CQorVertexArray seg;
            seg.append(a, b, s % 3 == 0 ? (unit(rng) - 0.5) : 0.0);
            const auto in = QOR::vl_punch_reg(seg, loops, true);
            for (const CQorVertexArray& piece : in) {
                EXPECT_TRUE(piece.isContinuous());
                for (const CQorVertex& v : piece)
                    EXPECT_GE(QOR::g_vll_pt_inside(loops, v.mid()), 0)
                        << "round " << round << " segment " << s;
            }
            const auto out = QOR::vl_punch_reg(seg, loops, false);
            EXPECT_NEAR(totalLength(in) + totalLength(out), seg.length(), 1e-6);
            // Each change between inside and outside can misplace at most one sample step.
            const int steps = 1000;
            const double slack = seg.length() / steps * (in.len() + out.len() + 1);
            EXPECT_NEAR(totalLength(in), sampledInsideLength(seg, loops, steps), slack)
                << "round " << round << " segment " << s;
            for (const CQorVertexArray& piece : out)
                for (const CQorVertex& v : piece)
                    EXPECT_LE(QOR::g_vll_pt_inside(loops, v.mid()), 0);
        }
    }
}
