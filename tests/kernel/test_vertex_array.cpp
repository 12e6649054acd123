#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/vertex_array.h"

#include <cmath>

using geomtest::circle;
using geomtest::expectNear;
using geomtest::rect;

namespace {
constexpr double kEps = 1e-9;

CQorVertexArray square(double size) {
    return rect(0, 0, size, size);
}

} // namespace

TEST(VertexArray, FromPointsAndClosure) {
    const CQorVertexArray sq = square(2);
    EXPECT_EQ(sq.len(), 4);
    EXPECT_TRUE(sq.isContinuous());
    EXPECT_TRUE(sq.isClosed());
    CQorVertexArray open;
    EXPECT_TRUE(open.fromPoints({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, false));
    EXPECT_TRUE(open.isContinuous());
    EXPECT_FALSE(open.isClosed());
    EXPECT_FALSE(open.fromPoints({}, true));
    EXPECT_FALSE(open.isContinuous());
    EXPECT_TRUE(open.fromPoints({{5, 5, 0}}, true));
    EXPECT_EQ(open.len(), 1);
    EXPECT_FALSE(open.isClosed()); // a lone point encloses nothing
    CQorVertexArray gap = square(1);
    gap[2].start.x += 0.5;
    EXPECT_FALSE(gap.isContinuous());
    EXPECT_FALSE(gap.isClosed());
}

TEST(VertexArray, RevertRunsBackwardsWithNegatedBulges) {
    CQorVertexArray vl;
    vl.append({0, 0, 0}, {2, 0, 0}, 0.5);
    vl.append({2, 0, 0}, {2, 3, 0});
    const CQorPoint3d mid0 = vl[0].mid();
    vl.revert();
    EXPECT_EQ(vl[0].start, CQorPoint3d(2, 3, 0));
    EXPECT_EQ(vl[1].end, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(vl[1].bulge, -0.5);
    expectNear(vl[1].mid(), mid0);
}

TEST(VertexArray, BreakVertexSplitsLinesAndArcs) {
    CQorVertexArray vl = circle(0, 0, 1);
    const double before = vl.length();
    EXPECT_TRUE(vl.breakVertex(0, {0, 1, 0}));
    ASSERT_EQ(vl.len(), 3);
    expectNear(vl[0].end, {0, 1, 0});
    EXPECT_EQ(vl[0].end, vl[1].start);
    EXPECT_NEAR(vl[0].bulge, std::tan(M_PI / 8), kEps);
    EXPECT_NEAR(vl.length(), before, kEps);
    EXPECT_TRUE(vl.isClosed());
    EXPECT_FALSE(vl.breakVertex(0, {0, 2, 0}));  // not on it
    EXPECT_FALSE(vl.breakVertex(0, {1, 0, 0}));  // at its start
    EXPECT_FALSE(vl.breakVertex(7, {0, -1, 0})); // no such vertex
    EXPECT_TRUE(vl.breakVertex(-1, {0, -1, 0})); // the last one
    EXPECT_EQ(vl.len(), 4);
}

TEST(VertexArray, IntersectWithLinesArcsAndOverlaps) {
    CQorVertexArray line;
    line.append({-5, 0.5, 0}, {5, 0.5, 0});
    CQorPoint3dArray hits;
    EXPECT_EQ(circle(0, 0, 1).intersectWith(line, hits), 2);
    hits.sort(CQorVector3d::kXAxis);
    expectNear(hits[0], {-std::sqrt(0.75), 0.5, 0});
    expectNear(hits[1], {std::sqrt(0.75), 0.5, 0});

    CQorPoint3dArray tangent; // touching the top of the circle
    CQorVertexArray top;
    top.append({-5, 1, 0}, {5, 1, 0});
    EXPECT_EQ(top.intersectWith(circle(0, 0, 1), tangent), 1);
    expectNear(tangent[0], {0, 1, 0});

    CQorPoint3dArray corner; // through a corner of the square: reported once
    CQorVertexArray diagonal;
    diagonal.append({-1, -1, 0}, {3, 3, 0});
    EXPECT_EQ(diagonal.intersectWith(square(2), corner), 2);

    CQorPoint3dArray overlap; // running along an edge: the overlap's ends
    CQorVertexArray along;
    along.append({1, 0, 0}, {5, 0, 0});
    EXPECT_EQ(along.intersectWith(square(2), overlap), 2);
    overlap.sort(CQorVector3d::kXAxis);
    expectNear(overlap[0], {1, 0, 0});
    expectNear(overlap[1], {2, 0, 0});

    CQorPoint3dArray twoCircles;
    EXPECT_EQ(circle(0, 0, 1).intersectWith(circle(1, 0, 1, -1), twoCircles), 2);
    twoCircles.sort(CQorVector3d::kYAxis);
    expectNear(twoCircles[0], {0.5, -std::sqrt(0.75), 0});
    CQorPoint3dArray none;
    EXPECT_EQ(circle(0, 0, 1).intersectWith(circle(5, 0, 1), none), 0);
}

TEST(VertexArray, PtsKeepsItsTolerance) {
    for (const double tol : {0.5, 0.01, 1e-4}) {
        const CQorVertexArray c = circle(3, 4, 10);
        const CQorPoint3dArray p = c.pts(true, tol);
        ASSERT_GE(p.len(), 3);
        for (int i = 0; i + 1 < p.len(); ++i) {
            // Every chord's midpoint lies within tol of the circle, and every point on it.
            const CQorPoint3d m{(p[i].x + p[i + 1].x) / 2, (p[i].y + p[i + 1].y) / 2, 0};
            EXPECT_LE(10 - m.distanceTo({3, 4, 0}), tol + 1e-12);
            EXPECT_NEAR(p[i].distanceTo({3, 4, 0}), 10, 1e-9);
        }
        EXPECT_EQ(p[0], p[-1]);
    }
    // Straight segments give their two end points; shared points are not repeated.
    const CQorPoint3dArray sq = square(1).pts(true, 0.5);
    EXPECT_EQ(sq.len(), 5);
    EXPECT_EQ(circle(0, 0, 1).pts(false, 0.5).len(), 3);
}

TEST(VertexArray, ExtentsIncludeArcBulges) {
    CQorPoint3d lo, hi;
    EXPECT_FALSE(CQorVertexArray().extents(lo, hi));
    auto arc = [](double bulge) {
        CQorVertexArray vl;
        vl.append({1, 0, 0}, {-1, 0, 0}, bulge);
        return vl;
    };
    CQorVertexArray shallow; // a shallow clockwise arc bulges to the left: its chord's box plus the sagitta
    shallow.append({0, 0, 0}, {2, 0, 0}, -0.25);
    const struct {
        CQorVertexArray vl;
        CQorPoint3d lo, hi;
    } rows[] = {
        {arc(1.0), {-1, 0, 0}, {1, 1, 0}},   // half circle above the chord
        {arc(-1.0), {-1, -1, 0}, {1, 0, 0}}, // and below it
        {circle(5, -2, 3), {2, -5, 0}, {8, 1, 0}},
        {circle(5, -2, 3, -1), {2, -5, 0}, {8, 1, 0}}, // run clockwise: the same box
        {shallow, {0, 0, 0}, {2, 0.25, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        ASSERT_TRUE(row.vl.extents(lo, hi));
        expectNear(lo, row.lo);
        expectNear(hi, row.hi);
    }
}

TEST(VertexArray, NormalAndTiltedArcs) {
    EXPECT_EQ(square(1).normal(), CQorVector3d::kZAxis);
    CQorVertexArray cw = square(1);
    cw.revert();
    EXPECT_EQ(cw.normal(), CQorVector3d::kZAxis); // the plane, not the sense of the loop
    CQorVertexArray line;
    line.append({0, 0, 0}, {1, 1, 1});
    EXPECT_EQ(line.normal(), CQorVector3d::kZAxis);

    // A rounded square stood up into the XZ plane keeps its arcs: same length, same box.
    CQorVertexArray rounded;
    rounded.append({1, 0, 0}, {2, 1, 0}, std::tan(M_PI / 8));
    rounded.append({2, 1, 0}, {2, 2, 0});
    rounded.append({2, 2, 0}, {0, 2, 0});
    rounded.append({0, 2, 0}, {0, 0, 0});
    rounded.append({0, 0, 0}, {1, 0, 0});
    CQorMatrix3d stand;
    stand.setToRotation(M_PI / 2, CQorVector3d::kXAxis);
    const CQorVertexArray stood = rounded.getTransformedCopy(stand);
    EXPECT_NEAR(std::abs(stood.normal().y), 1.0, kEps);
    EXPECT_NEAR(stood.length(), rounded.length(), kEps);
    expectNear(stood[0].mid(stood.normal()), stand * rounded[0].mid());
    CQorPoint3d lo, hi;
    stood.extents(lo, hi);
    expectNear(lo, {0, 0, 0});
    expectNear(hi, {2, 0, 2});
    // And back again.
    const CQorVertexArray back = stood.getTransformedCopy(stand.inverse());
    for (int i = 0; i < back.len(); ++i) {
        EXPECT_EQ(back[i], rounded[i]);
    }
}

TEST(VertexArray, MoveAndExArray) {
    CQorVertexArray vl = square(1);
    vl.move({1, 2, 3});
    EXPECT_EQ(vl[0].start, CQorPoint3d(1, 2, 3));
    EXPECT_EQ(CQorVertexArrayEx(vl, 17, true).len(), 4);
    EXPECT_EQ(CQorVertexArrayEx().edge(), -1);
}
