#include <gtest/gtest.h>

#include "geom_test_util.h"

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/kernel/geom/polyline_ops.h"

#include <cmath>
#include <cstring>
#include <vector>

using geomtest::expectNear;

namespace {
constexpr double kEps = 1e-9;

// Distance along the path from its start to the point of it nearest to p.
double positionOn(const CQorVertexArray& path, const CQorPoint3d& p) {
    double best = INFINITY, pos = 0, walked = 0;
    for (const CQorVertex& v : path) {
        const CQorPoint3d q = v.lotp(p);
        if (q.distanceTo(p) < best) {
            best = q.distanceTo(p);
            pos = walked + QOR::g_vl_cut(v, v.start, q).bulgLen();
        }
        walked += v.bulgLen();
    }
    return pos;
}

struct Interval {
    double from, to;
};

// Where the pattern puts its dashes and dots along a path of the given length.
std::vector<Interval> expectedDashes(const std::vector<double>& pattern, double length) {
    std::vector<Interval> out;
    double pos = 0;
    bool lastWasDash = false;
    for (std::size_t k = 0; pos < length; k = (k + 1) % pattern.size()) {
        const double e = pattern[k];
        if (e > 0 && lastWasDash)
            out.back().to = std::min(pos + e, length);
        else if (e >= 0)
            out.push_back({pos, std::min(pos + e, length)});
        lastWasDash = e > 0;
        pos += std::abs(e);
    }
    return out;
}

CQorVertexArray testPath() {
    CQorVertexArray vl; // corners, a half circle and a shallow arc
    vl.append({0, 0, 0}, {10, 0, 0});
    vl.append({10, 0, 0}, {10, 7, 0});
    vl.append({10, 7, 0}, {4, 7, 0}, 1.0);
    vl.append({4, 7, 0}, {0, 3, 0}, -0.2);
    return vl;
}
} // namespace

TEST(DashLaying, ConservesThePathLength) {
    const CQorVertexArray path = testPath();
    const double length = path.length();
    for (const std::vector<double>& pattern :
         {std::vector<double>{3, -1}, {2.5, -0.7, 0, -0.7}, {0, -1.5}, {0.1, -0.1}, {12, -0.5}, {1, -1, 2}}) {
        CQorArrayTempl<double> dashes;
        for (double d : pattern)
            dashes.append(d / 2); // laid at scale 2
        const auto laid = QOR::vl_measure(path, 2.0, CQorLineParm(dashes));
        const std::vector<Interval> want = expectedDashes(pattern, length);
        ASSERT_EQ(laid.len(), int(want.size()));
        double covered = 0, wantCovered = 0;
        for (int k = 0; k < laid.len(); ++k) {
            const CQorVertexArray& dash = laid[k];
            EXPECT_TRUE(dash.isContinuous());
            const double from = positionOn(path, dash[0].start);
            EXPECT_NEAR(from, want[std::size_t(k)].from, 1e-6);
            EXPECT_NEAR(dash.length(), want[std::size_t(k)].to - want[std::size_t(k)].from, 1e-9);
            for (const CQorVertex& v : dash) {
                EXPECT_NEAR(positionOn(path, v.mid()) - positionOn(path, v.start), v.bulgLen() / 2, 1e-6);
            }
            covered += dash.length();
            wantCovered += want[std::size_t(k)].to - want[std::size_t(k)].from;
        }
        EXPECT_NEAR(covered, wantCovered, 1e-9);
    }
}

// Dashes running across corners are covered above; a jump between vertices ends a dash.
TEST(DashLaying, StopsAtGaps) {
    CQorVertexArray jump;
    jump.append({0, 0, 0}, {3, 0, 0});
    jump.append({10, 0, 0}, {13, 0, 0});
    const auto split = QOR::vl_measure(jump, 1.0, CQorLineParm(5.0, -1.0));
    ASSERT_EQ(split.len(), 2);
    expectNear(split[1][0].start, {10, 0, 0});
    expectNear(split[1][0].end, {12, 0, 0});
}

TEST(DashLaying, TheWorkedExample) {
    CQorVertexArray line;
    line.append({0, 0, 0}, {30, 0, 0});
    const auto dashes = QOR::vl_measure(line, 1.0, CQorLineParm(CQorArrayTempl<double>{5, -5, 5}));
    ASSERT_EQ(dashes.len(), 3); // 5 on, 5 off, 5 + 5 on (the pattern's end and start), 5 off, 5 on
    EXPECT_NEAR(dashes[1].length(), 10.0, kEps);
}

TEST(DashLaying, FlatFormAppendsTheDashesOneAfterTheOther) {
    CQorVertexArray path = testPath();
    path.append({20, 0, 0}, {30, 0, 0}); // a jump
    for (const CQorLineParm& lp :
         {CQorLineParm(3.0, -1.0), CQorLineParm(CQorArrayTempl<double>{2.5, -0.7, 0, -0.7}),
          CQorLineParm(CQorArrayTempl<double>{1, -1, 2}), CQorLineParm(1.0, 2.0),
          CQorLineParm(1e-9, -1e-9)}) {
        CQorVertexArray joined, flat;
        joined.append({99, 99, 0}, {98, 98, 0}); // what the output held before
        flat = joined;
        for (const CQorVertexArray& dash : QOR::vl_measure(path, 0.5, lp))
            for (const CQorVertex& v : dash)
                joined.append(v);
        QOR::vl_measure_flat(path, 0.5, lp, flat);
        ASSERT_EQ(flat.len(), joined.len());
        for (int i = 0; i < flat.len(); ++i) {
            const CQorVertex& a = std::as_const(flat)[i];
            const CQorVertex& b = std::as_const(joined)[i];
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << i; // bit for bit
        }
    }
}

TEST(DashLaying, SolidWhenThePatternCannotBeLaid) {
    CQorVertexArray line;
    line.append({0, 0, 0}, {1e9, 0, 0});
    line.append({1e9, 0, 0}, {1e9, 1, 0});
    for (const CQorLineParm& lp : {CQorLineParm(CQorArrayTempl<double>{1.0}), CQorLineParm(0.0, 0.0),
                                   CQorLineParm(1.0, 2.0), CQorLineParm(1e-6, -1e-6)}) {
        const auto laid = QOR::vl_measure(line, 1.0, lp);
        ASSERT_EQ(laid.len(), 1);
        EXPECT_EQ(laid[0].len(), 2);
    }
    EXPECT_EQ(QOR::vl_measure(line, -1.0, CQorLineParm(1, -1)).len(), 1);
    EXPECT_EQ(QOR::vl_measure(line, std::nan(""), CQorLineParm(1, -1)).len(), 1);
    EXPECT_EQ(QOR::vl_measure(CQorVertexArray(), 1.0, CQorLineParm(1, -1)).len(), 0);
}

TEST(ExtremePoints, ExtmaxAndExtrectFollowTheAngle) {
    CQorVertexArray diamond;
    diamond.fromPoints({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}}, true);
    CQorPoint3dArray e = QOR::vl_extmax(diamond, 0.0);
    ASSERT_EQ(e.len(), 2);
    expectNear(e[0], {-1, -1, 0});
    expectNear(e[1], {1, 1, 0});
    e = QOR::vl_extmax(diamond, M_PI / 4); // the diamond's own sides
    const double h = std::sqrt(0.5);
    expectNear(e[0], CQorPoint3d::kOrigin + QOR::polar(M_PI / 4, -h) + QOR::polar(3 * M_PI / 4, -h));
    EXPECT_NEAR(e[0].distanceTo(e[1]), 2.0, kEps);

    CQorVertexArray circle;
    circle.append({3, 0, 0}, {1, 0, 0}, 1.0);
    circle.append({1, 0, 0}, {3, 0, 0}, 1.0);
    for (const double a : {0.0, 0.3, 2.0}) {
        e = QOR::vl_extmax(circle, a);
        EXPECT_NEAR(e[0].distanceTo({2, 0, 0}), std::sqrt(2.0), kEps);
        EXPECT_NEAR(e[1].distanceTo({2, 0, 0}), std::sqrt(2.0), kEps);
    }
    const CQorVertexArray rect = QOR::vl_extrect(circle, 0.0);
    ASSERT_EQ(rect.len(), 4);
    EXPECT_TRUE(rect.isClosed());
    EXPECT_TRUE(QOR::g_vl_orient(rect, CQorVector3d::kZAxis));
    expectNear(rect[0].start, {1, -1, 0});
    expectNear(rect[2].start, {3, 1, 0});
    EXPECT_EQ(QOR::vl_extmax(CQorVertexArray(), 0.0).len(), 0);
    EXPECT_EQ(QOR::vl_extrect(CQorVertexArray(), 0.0).len(), 0);
}
