// Hatch coverage as a property: every line family of a pattern covers a square region with a hole
// completely, at every hatch angle, near and far from the pattern origin and at several scales. The
// expected lines come from the region's width across each family, not from the generator's own steps.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "qor/gdx/gdx.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/render/hatch.h"
#include "qor/render/hatch_p.h"
#include "qor/render/render.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSide = 100.0;

CQorVertexArray square(double x, double y, double side) {
    CQorVertexArray vl;
    vl.append({x, y, 0}, {x + side, y, 0});
    vl.append({x + side, y, 0}, {x + side, y + side, 0});
    vl.append({x + side, y + side, 0}, {x, y + side, 0});
    vl.append({x, y + side, 0}, {x, y, 0});
    return vl;
}

/// The square of side kSide at (x, y) with a hole of a third of its side in the middle.
CQorArrayTempl<CQorVertexArray> region(double x, double y) {
    return {square(x, y, kSide), square(x + kSide / 3, y + kSide / 3, kSide / 3)};
}

/// A line family as the tests see it: the direction of its lines and where they lie across it.
struct FamilyModel {
    double angle = 0.0;   // radians, of the lines' direction
    double spacing = 0.0; // distance between neighbouring lines
    double offset = 0.0;  // distance across the lines of the one through the pattern line's origin
    double period = 0.0;  // length of one repeat of the dash pattern; 0 for solid lines
};

CQorVector3d normalOf(double angle) {
    return {-std::sin(angle), std::cos(angle), 0.0};
}

std::vector<FamilyModel> familiesOf(const QOR::CHatchProp& hatch) {
    std::vector<FamilyModel> families;
    if (hatch.m_double) families = familiesOf({hatch.m_name, hatch.m_angle + kPi / 2, hatch.m_scale, false});
    for (const CQorArrayTempl<double>& line : QOR::detail::hatchPattern(hatch.m_name)) {
        FamilyModel f;
        f.angle = line[0] * kPi / 180 + hatch.m_angle;
        f.spacing = std::abs(hatch.m_scale * line[4]);
        CQorMatrix3d turn;
        turn.setToRotation(hatch.m_angle, CQorVector3d::kZAxis);
        const CQorPoint3d origin = turn * CQorPoint3d(hatch.m_scale * line[1], hatch.m_scale * line[2], 0);
        f.offset = normalOf(f.angle).dot(origin - CQorPoint3d::kOrigin);
        for (int i = 5; i < line.len(); ++i)
            f.period += std::abs(hatch.m_scale * line[i]);
        families.push_back(f);
    }
    return families;
}

/// The family a hatch line belongs to: its dashes run along the family and it lies a whole number of
/// spacings from the family's origin line; -1 for none.
int familyOf(const CQorVertexArray& line, const std::vector<FamilyModel>& families) {
    const CQorVertex& dash = line[0];
    for (int i = 0; i < int(families.size()); ++i) {
        const FamilyModel& f = families[std::size_t(i)];
        const CQorVector3d normal = normalOf(f.angle);
        const double across = normal.dot(dash.start - CQorPoint3d::kOrigin) - f.offset;
        const double along = std::abs(normal.dot(dash.end - dash.start));
        if (along > 1e-6 * kSide) continue;
        if (std::abs(std::remainder(across, f.spacing)) < 1e-5 * f.spacing) return i;
    }
    return -1;
}

/// Length of the chord that the line at distance c across direction angle cuts from the square of side
/// kSide at (x, y).
double chord(double x, double y, double angle, double c) {
    const double ux = std::cos(angle), uy = std::sin(angle);
    const CQorVector3d n = normalOf(angle);
    double lo = -1e300, hi = 1e300; // along the line, from its foot point c * n
    const auto clip = [&](double foot, double u, double min) {
        if (std::abs(u) < 1e-12) {
            if (foot < min || foot > min + kSide) hi = lo - 1;
            return;
        }
        const double t0 = (min - foot) / u, t1 = (min + kSide - foot) / u;
        lo = std::max(lo, std::min(t0, t1));
        hi = std::min(hi, std::max(t0, t1));
    };
    clip(c * n.x, ux, x);
    clip(c * n.y, uy, y);
    return std::max(0.0, hi - lo);
}

/// How many lines of family f a hatch of the square at (x, y) has: at least those whose chord is long
/// enough for a whole dash pattern on either side of the hole, at most those that cross the square.
void expectedLines(const FamilyModel& f, double x, double y, int& fewest, int& most) {
    const CQorVector3d n = normalOf(f.angle);
    double cmin = 1e300, cmax = -1e300;
    for (const double cx : {x, x + kSide})
        for (const double cy : {y, y + kSide}) {
            cmin = std::min(cmin, n.x * cx + n.y * cy);
            cmax = std::max(cmax, n.x * cx + n.y * cy);
        }
    const double holeDiagonal = std::sqrt(2.0) * kSide / 3;
    fewest = most = 0;
    for (double k = std::ceil((cmin - f.offset) / f.spacing); f.offset + k * f.spacing <= cmax; ++k) {
        const double length = chord(x, y, f.angle, f.offset + k * f.spacing);
        most += length > 0.0;
        fewest += f.period == 0.0 ? length > 0.0 : length >= 2 * f.period + holeDiagonal;
    }
}

struct Position {
    const char* name;
    double x, y;
};
constexpr Position kPositions[] = {
    {"near", 200, 200}, {"(2000, 1500)", 2000, 1500}, {"survey", 250e3, 5.6e6}};
constexpr double kScales[] = {0.5, 1.0, 5.0};
struct Pattern {
    const wchar_t* name;
    bool doubled;
};
constexpr Pattern kPatterns[] = {{L"ANSI31", false}, {L"_U", true}, {L"DASH", false}, {L"BRICK", false}};

std::string describe(const Pattern& p, double degrees, const Position& at, double scale) {
    return CQorString(p.name).toUtf8() + " at " + std::to_string(int(degrees)) + " degrees, " + at.name +
           ", scale " + std::to_string(scale);
}

} // namespace

TEST(HatchCoverage, EveryFamilyCoversTheRegionAtAnyAngleScaleAndPlace) {
    int cases = 0;
    for (const Pattern& pattern : kPatterns)
        for (const Position& at : kPositions)
            for (const double scale : kScales)
                for (int degrees = 0; degrees < 360; degrees += 15) {
                    const QOR::CHatchProp hatch(pattern.name, degrees * kPi / 180, scale, pattern.doubled);
                    SCOPED_TRACE(describe(pattern, degrees, at, scale));
                    const CQorArrayTempl<CQorVertexArray> loops = region(at.x, at.y);
                    const auto lines = qor_gdx_image_reg_hatch2(loops, CQorMatrix3d::kIdentity, hatch);
                    const std::vector<FamilyModel> families = familiesOf(hatch);
                    std::vector<int> counts(families.size());
                    for (const CQorVertexArray& line : lines) {
                        const int family = familyOf(line, families);
                        ASSERT_GE(family, 0) << "a line of no family";
                        ++counts[std::size_t(family)];
                        // Inside, or on the boundary where a line runs along an edge.
                        for (const CQorVertex& dash : line)
                            ASSERT_GE(QOR::g_vll_pt_inside(loops, dash.mid()), 0)
                                << "dash midpoint outside the region (" << dash.mid().x << ", "
                                << dash.mid().y << ")";
                    }
                    for (std::size_t i = 0; i < families.size(); ++i) {
                        const FamilyModel& f = families[i];
                        const double width =
                            kSide * (std::abs(std::cos(f.angle)) + std::abs(std::sin(f.angle)));
                        int fewest = 0, most = 0;
                        expectedLines(f, at.x, at.y, fewest, most);
                        // Solid lines: one per spacing across the region. A dashed line may fall into a gap
                        // where the region is too narrow for its pattern, never elsewhere.
                        if (f.period == 0.0) {
                            EXPECT_NEAR(counts[i], width / f.spacing, 1.0) << "family " << i;
                        }
                        EXPECT_GE(counts[i], fewest - 1) << "family " << i;
                        EXPECT_LE(counts[i], most + 1) << "family " << i;
                    }
                    ++cases;
                }
    EXPECT_EQ(cases, 4 * 3 * 3 * 24);
}

TEST(HatchCoverage, TheRendererDrawsTheHatchWhereverTheRegionLies) {
    constexpr int kPx = 200;
    const CQorColor fill(1); // red, on the default black background
    for (const Pattern& pattern : kPatterns)
        for (const Position& at : kPositions)
            for (const double scale : {2.0, 5.0})
                for (int degrees = 0; degrees < 360; degrees += 15) {
                    SCOPED_TRACE(describe(pattern, degrees, at, scale));
                    CQorGDX gdx;
                    const QOR::CHatchProp hatch(pattern.name, degrees * kPi / 180, scale, pattern.doubled);
                    gdx.imageReg(CQorArrayTempl<int>{1}, QOR::GdxItemHatch, region(at.x, at.y), fill,
                                 CQorMatrix3d(), {}, 1.0, 1, fill, hatch, {});
                    CQorPoint3d min, max;
                    gdx.extMaxViewGet(min, max);
                    gdx.viewMtxSet(getViewMtx(min, max, kPx, kPx, 0.05));
                    CBitmap bitmap;
                    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kPx, kPx));
                    int hatched = 0;
                    for (int y = 0; y < kPx; ++y)
                        for (int x = 0; x < kPx; ++x)
                            hatched += bitmap.surface()->colorAt(x, y) == fill.oleColor();
                    // Lines, not a solid fill: present, yet far fewer than the region's pixels.
                    EXPECT_GT(hatched, 100);
                    EXPECT_LT(hatched, kPx * kPx / 2);
                }
}
