#include "qor/render/hatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

CQorVertexArray rect(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.append({x0, y0, 0}, {x1, y0, 0});
    vl.append({x1, y0, 0}, {x1, y1, 0});
    vl.append({x1, y1, 0}, {x0, y1, 0});
    vl.append({x0, y1, 0}, {x0, y0, 0});
    return vl;
}

CQorMatrix3d rotation(double angle) {
    CQorMatrix3d m;
    m.setToRotation(angle, CQorVector3d::kZAxis);
    return m;
}

/// Direction angle of a straight vertex in [0, pi): a line has no sense.
double lineAngle(const CQorVertex& v) {
    return std::fmod(std::atan2(v.end.y - v.start.y, v.end.x - v.start.x) + 2 * kPi, kPi);
}

bool sameLineAngle(double a, double b) {
    const double d = std::fmod(std::abs(a - b), kPi);
    return std::min(d, kPi - d) < 1e-9;
}

/// Checks that every dash runs at angle a; gives the signed distances of the lines from the parallel
/// through the origin, sorted.
std::vector<double> sortedOffsets(const CQorArrayTempl<CQorVertexArray>& lines, double a) {
    std::vector<double> offsets;
    for (const CQorVertexArray& line : lines) {
        for (const CQorVertex& v : line)
            EXPECT_TRUE(sameLineAngle(lineAngle(v), a));
        offsets.push_back(-std::sin(a) * line[0].start.x + std::cos(a) * line[0].start.y);
    }
    std::sort(offsets.begin(), offsets.end());
    return offsets;
}

class Hatch : public ::testing::Test {
protected:
    // A 100 x 60 region with a 20 x 20 hole, both given clockwise to show that orientation does not matter.
    Hatch() {
        CQorVertexArray outer = rect(0, 0, 100, 60), hole = rect(40, 20, 60, 40);
        region.append(outer.revert());
        region.append(hole.revert());
    }

    /// Every dash of every line lies inside the region and outside its holes, by its midpoint.
    void expectInside(const CQorArrayTempl<CQorVertexArray>& lines) {
        int dashes = 0;
        for (const CQorVertexArray& line : lines)
            for (const CQorVertex& v : line) {
                ++dashes;
                if (v.isZeroLength()) continue;
                EXPECT_GT(QOR::g_vll_pt_inside(region, v.mid()), 0)
                    << "dash (" << v.start.x << ", " << v.start.y << ") - (" << v.end.x << ", " << v.end.y
                    << ")";
            }
        EXPECT_GT(dashes, 0);
    }

    CQorArrayTempl<CQorVertexArray> region;
};

} // namespace

TEST_F(Hatch, DashesOfEveryPatternStayInsideTheRegionAndOutOfItsHoles) {
    for (const wchar_t* name :
         {L"ANSI31", L"ANSI33", L"ANSI35", L"DASH", L"BRICK", L"HEX", L"GRAVEL", L"DOTS"}) {
        SCOPED_TRACE(CQorString(name).toUtf8());
        expectInside(qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {name, 0.3, 1.5, false}));
    }
    // Pattern space placed in the region by a turn and a shift.
    CQorMatrix3d placed = rotation(0.7);
    placed = CQorMatrix3d().setToTranslation({13, -7, 0}) * placed;
    expectInside(qor_gdx_image_reg_hatch2(region, placed, {L"ANSI33", -0.2, 2.0, false}));
}

TEST_F(Hatch, LinesFollowTheScaledDistanceAndTheSummedAngle) {
    const double hatchAngle = 10 * kPi / 180;
    const double scale = 1.5;
    const auto lines =
        qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"ANSI31", hatchAngle, scale, false});
    ASSERT_GT(lines.len(), 10);
    const std::vector<double> offsets = sortedOffsets(lines, 45 * kPi / 180 + hatchAngle);
    for (std::size_t i = 1; i < offsets.size(); ++i)
        EXPECT_NEAR(offsets[i] - offsets[i - 1], scale * 3.175, 1e-6);
}

TEST_F(Hatch, UserLinesAndTheDoubleFlag) {
    const double angle = 30 * kPi / 180;
    const auto single = qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"_U", angle, 2.0, false});
    ASSERT_GT(single.len(), 0);
    // User lines are `scale` apart and run through the origin.
    const std::vector<double> offsets = sortedOffsets(single, angle);
    EXPECT_NEAR(std::remainder(offsets[0], 2.0), 0.0, 1e-6);
    for (std::size_t i = 1; i < offsets.size(); ++i)
        EXPECT_NEAR(offsets[i] - offsets[i - 1], 2.0, 1e-6);

    const auto both = qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"_USER", angle, 2.0, true});
    ASSERT_GT(both.len(), single.len());
    const int across90 = both.len() - single.len();
    for (int i = 0; i < both.len(); ++i)
        EXPECT_TRUE(sameLineAngle(lineAngle(both[i][0]), i < across90 ? angle + kPi / 2 : angle))
            << "the perpendicular family comes first; line " << i;
    expectInside(both);
}

TEST(HatchTouch, ALineThatOnlyTouchesTheRegionIsDropped) {
    // A diamond whose top and bottom corners lie on user lines 1 apart: those lines touch at one point.
    CQorVertexArray diamond;
    diamond.append({0, -5, 0}, {5, 0, 0});
    diamond.append({5, 0, 0}, {0, 5, 0});
    diamond.append({0, 5, 0}, {-5, 0, 0});
    diamond.append({-5, 0, 0}, {0, -5, 0});
    const auto lines = qor_gdx_image_reg_hatch2({diamond}, CQorMatrix3d::kIdentity, {L"_U", 0.0, 1.0, false});
    ASSERT_EQ(lines.len(), 9);
    for (const CQorVertexArray& line : lines)
        EXPECT_LT(std::abs(line[0].start.y), 4.5);
}

TEST_F(Hatch, UnknownPatternsAndEmptyRegionsGiveNoLines) {
    EXPECT_EQ(qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"NO_SUCH", 0, 1, false}).len(), 0);
    EXPECT_EQ(qor_gdx_image_reg_hatch2({}, CQorMatrix3d::kIdentity, {L"ANSI31", 0, 1, false}).len(), 0);
    // Degenerate scales and a NaN angle end without lines rather than sweeping forever.
    EXPECT_EQ(qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"DASH", 0, 0.0, false}).len(), 0);
    const auto nanAngle =
        qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, {L"_U", std::nan(""), 5, false});
    EXPECT_LE(nanAngle.len(), 1000);
}

TEST_F(Hatch, DeltaYZeroGivesOnlyTheLineThroughTheOrigin) {
    // The second family of SACNCR-like user data: a solid line at 0 degrees with no distance between lines.
    const auto lines = qor_gdx_image_reg_hatch2(region, CQorMatrix3d().setToTranslation({0, 30, 0}),
                                                {L"LINE", 0, 0.0, false});
    ASSERT_EQ(lines.len(), 1);
    EXPECT_NEAR(lines[0][0].start.y, 30.0, 1e-9);
}

TEST_F(Hatch, PatternTestRejectsDenseOrTinyPatterns) {
    const CQorMatrix3d unit;
    EXPECT_TRUE(qor_gdx_pattern_test(region, {L"ANSI31", 0, 1, false}, unit));
    // User lines are exactly `scale` apart: 2.3 device units is too close, a little more is not.
    EXPECT_FALSE(qor_gdx_pattern_test(region, {L"_U", 0, 2.3, false}, unit));
    EXPECT_TRUE(qor_gdx_pattern_test(region, {L"_U", 0, 2.31, false}, unit));
    // The 100 x 60 region is 113.1 across 45-degree lines: 95 lines need a distance below 1.19.
    EXPECT_FALSE(
        qor_gdx_pattern_test(region, {L"ANSI31", 0, 1.18 / 3.175, false}, CQorMatrix3d().setToScaling(10)));
    EXPECT_TRUE(
        qor_gdx_pattern_test(region, {L"ANSI31", 0, 1.2 / 3.175, false}, CQorMatrix3d().setToScaling(10)));
}

TEST(NamedHatch, DotsInRowsInsideTheRegion) {
    const CQorArrayTempl<CQorVertexArray> region{rect(0, 0, 10, 4)};
    const auto dots = qor_gdx_image_reg_hatch(region, CQorMatrix3d::kIdentity, L"dots", 2.0, 0.0);
    // Rows at y = 0, 2, 4 (the edges belong to the region), each with dots 2 apart from x = 0 on.
    ASSERT_GE(dots.len(), 15);
    ASSERT_LE(dots.len(), 18);
    for (const CQorVertexArray& dot : dots) {
        ASSERT_EQ(dot.len(), 1);
        EXPECT_TRUE(dot[0].isZeroLength());
        EXPECT_GE(QOR::g_vll_pt_inside(region, dot[0].start), 0);
    }
}

TEST(NamedHatch, ParallelLinesCountFollowsTheRegionSize) {
    const CQorArrayTempl<CQorVertexArray> region{rect(0, 0, 10, 5)};
    const auto lines = qor_gdx_image_reg_hatch(region, CQorMatrix3d::kIdentity, L"LINES", 0.5, 0.0);
    // The region is wider than high: 10 lines, 0.5 apart from its bottom edge, whatever the spacing.
    ASSERT_EQ(lines.len(), 10);
    for (int i = 0; i < lines.len(); ++i) {
        EXPECT_NEAR(lines[i][0].start.y, 0.5 * i, 1e-9);
        EXPECT_NEAR(std::abs(lines[i][0].end.x - lines[i][0].start.x), 10.0, 1e-9);
    }
    EXPECT_EQ(qor_gdx_image_reg_hatch({}, CQorMatrix3d::kIdentity, L"LINES", 0.5, 0.0).len(), 0);
    EXPECT_EQ(qor_gdx_image_reg_hatch(region, CQorMatrix3d::kIdentity, L"DOTS", 0.0, 0.0).len(), 0);
}
