#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "qor/kernel/geom/arc_math.h"
#include "qor/objlib/solid.h"

namespace {

using Edges = CQorArrayTempl<CQorVertexArrayEx>;

/// View coordinates to model coordinates, the eye on +z of the view.
CQorMatrix3d viewMatrix(const CQorVector3d& x, const CQorVector3d& z) {
    const CQorVector3d xn = x.normal(), zn = z.normal();
    CQorMatrix3d m;
    m.setCoordSystem(CQorPoint3d::kOrigin, xn, zn * xn, zn);
    return m;
}

const CQorMatrix3d kTop;                                       // identity: looking down -Z
const CQorMatrix3d kFront = viewMatrix({1, 0, 0}, {0, -1, 0}); // looking along +Y
const CQorMatrix3d kIso = viewMatrix({1, 1, 0}, {1, -1, 1});   // the drill image's view

CQorVertexArray rectangle(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.append({x0, y0, 0}, {x1, y0, 0});
    vl.append({x1, y0, 0}, {x1, y1, 0});
    vl.append({x1, y1, 0}, {x0, y1, 0});
    vl.append({x0, y1, 0}, {x0, y0, 0});
    return vl;
}

bool extents(const Edges& edges, CQorPoint3d& min, CQorPoint3d& max) {
    bool any = false;
    for (const CQorVertexArrayEx& vl : edges) {
        CQorPoint3d a, b;
        if (!vl.extents(a, b)) continue;
        min = any ? QOR::p_min(min, a) : a;
        max = any ? QOR::p_max(max, b) : b;
        any = true;
    }
    return any;
}

/// A 100 x 60 x 10 plate (z from 0 to 10) with four through holes of diameter 10.
class PlateWithHoles : public ::testing::Test {
protected:
    static constexpr double kRadius = 5;
    static constexpr double kThickness = 10;
    static constexpr CQorPoint3d kHoles[4] = {{15, 15, 0}, {85, 15, 0}, {15, 45, 0}, {85, 45, 0}};

    static void SetUpTestSuite() {
        plate = new CQor_Solid;
        ASSERT_TRUE(plate->addPrism(rectangle(0, 0, 100, 60), {0, 0, kThickness}));
        for (const CQorPoint3d& c : kHoles)
            ASSERT_TRUE(plate->addCylinder(c + CQorVector3d(0, 0, -1), {0, 0, 1}, kRadius, kThickness + 2,
                                           CQor_Solid::kCut));
        ASSERT_TRUE(plate->solid());
    }
    static void TearDownTestSuite() {
        delete plate;
        plate = nullptr;
    }

    /// Where the ray through view point p meets the plane z = height of the model.
    static CQorPoint3d onPlane(const CQorMatrix3d& view, const CQorPoint3d& p, double height) {
        const CQorPoint3d origin = view * CQorPoint3d(p.x, p.y, 0);
        const CQorVector3d towardsEye = view.axis(2);
        return origin + towardsEye * ((height - origin.z) / towardsEye.z);
    }
    static bool onHoleRim(const CQorPoint3d& q) {
        return std::any_of(std::begin(kHoles), std::end(kHoles), [&](const CQorPoint3d& c) {
            return std::abs(std::hypot(q.x - c.x, q.y - c.y) - kRadius) < 1e-6;
        });
    }
    /// True when q (on the top face's plane) lies on material: inside the plate, outside every hole.
    static bool onTopMaterial(const CQorPoint3d& q) {
        if (q.x < -1e-9 || q.x > 100 + 1e-9 || q.y < -1e-9 || q.y > 60 + 1e-9) return false;
        return std::none_of(std::begin(kHoles), std::end(kHoles), [&](const CQorPoint3d& c) {
            return std::hypot(q.x - c.x, q.y - c.y) < kRadius - 1e-6;
        });
    }

    static bool nearBoundary(const CQorPoint3d& q) {
        constexpr double kMargin = 1e-3;
        if (std::abs(q.x) < kMargin || std::abs(q.x - 100) < kMargin || std::abs(q.y) < kMargin ||
            std::abs(q.y - 60) < kMargin)
            return true;
        return std::any_of(std::begin(kHoles), std::end(kHoles), [&](const CQorPoint3d& c) {
            return std::abs(std::hypot(q.x - c.x, q.y - c.y) - kRadius) < kMargin;
        });
    }

    static inline CQor_Solid* plate = nullptr;
};

TEST_F(PlateWithHoles, FrontViewIsTheRectangleWithTheHolesHidden) {
    Edges visible, hidden;
    ASSERT_TRUE(plate->project(kFront, false, visible, hidden, 1));
    CQorPoint3d min, max;
    ASSERT_TRUE(extents(visible, min, max));
    EXPECT_NEAR(min.x, 0, 1e-6);
    EXPECT_NEAR(max.x, 100, 1e-6);
    EXPECT_NEAR(min.y, 0, 1e-6);
    EXPECT_NEAR(max.y, 10, 1e-6);
    for (const CQorVertexArrayEx& vl : visible)
        for (const CQorVertex& vx : vl) {
            EXPECT_FALSE(vx.isArc());
            EXPECT_TRUE(std::abs(vx.start.x - vx.end.x) < 1e-9 || std::abs(vx.start.y - vx.end.y) < 1e-9);
            EXPECT_FALSE(vl.isHidden());
        }
    // Each hole shows as two hidden lines, its silhouettes, through the whole thickness.
    for (const double x : {10.0, 20.0, 80.0, 90.0}) {
        const bool found = std::any_of(hidden.begin(), hidden.end(), [&](const CQorVertexArrayEx& vl) {
            return vl.isHidden() && vl.len() == 1 && std::abs(vl[0].start.x - x) < 1e-6 &&
                   std::abs(vl[0].end.x - x) < 1e-6 &&
                   std::abs(std::abs(vl[0].end.y - vl[0].start.y) - 10) < 1e-6;
        });
        EXPECT_TRUE(found) << "no hidden silhouette at x = " << x;
    }
}

TEST_F(PlateWithHoles, IsometricViewHidesTheHolesBehindTheTopFace) {
    Edges visible, hidden;
    ASSERT_TRUE(plate->project(kIso, false, visible, hidden, 1));
    ASSERT_FALSE(hidden.isEmpty());
    // Points of the hole rims on the bottom face are hidden exactly where the top face lies between them
    // and the eye (the ray meets the top plane on material). Seen this steeply the eye never looks through
    // a 10 deep hole of diameter 10, so every such point is hidden, while the top rims, which nothing
    // covers, are visible. The chords' ends lie on the rims; points where the view of a rim passes a
    // boundary are left out.
    int hiddenBottom = 0, visibleTop = 0;
    for (const Edges* edges : {&hidden, &visible})
        for (const CQorVertexArrayEx& vl : *edges)
            for (const CQorVertex& vx : vl) {
                const CQorPoint3d bottom = onPlane(kIso, vx.start, 0);
                const CQorPoint3d top = onPlane(kIso, vx.start, kThickness);
                if (onHoleRim(top)) {
                    EXPECT_FALSE(vl.isHidden()) << "top rim point " << top.x << ", " << top.y;
                    visibleTop += !vl.isHidden();
                } else if (onHoleRim(bottom) && !nearBoundary(top)) {
                    EXPECT_EQ(vl.isHidden(), onTopMaterial(top))
                        << "rim point " << bottom.x << ", " << bottom.y << " seen through " << top.x << ", "
                        << top.y;
                    hiddenBottom += vl.isHidden();
                }
            }
    EXPECT_GT(hiddenBottom, 8);
    EXPECT_GT(visibleTop, 8);
    // Tilted circles are ellipses on the screen: chords, no arcs.
    for (const CQorVertexArrayEx& vl : visible)
        EXPECT_FALSE(vl.hasArcs());
}

TEST_F(PlateWithHoles, IsometricSilhouetteIsTheBoxOutline) {
    Edges visible, hidden;
    ASSERT_TRUE(plate->project(kIso, false, visible, hidden, 1));
    // The outline of the box is the hexagon of the projected corners that are not the nearest and the
    // farthest one; it must be covered by visible edges, and nothing lies outside it.
    const CQorMatrix3d toView = kIso.inverse();
    const CQorPoint3d corners[6] = {{0, 0, 0},     {100, 0, 0}, {100, 60, 0},
                                    {100, 60, 10}, {0, 60, 10}, {0, 0, 10}};
    auto nearVisible = [&](const CQorPoint3d& p) {
        return std::any_of(visible.begin(), visible.end(), [&](const CQorVertexArrayEx& vl) {
            return std::any_of(vl.begin(), vl.end(),
                               [&](const CQorVertex& vx) { return vx.isPoint(p, 1e-6); });
        });
    };
    for (int i = 0; i < 6; ++i) {
        const CQorPoint3d a = toView * corners[i], b = toView * corners[(i + 1) % 6];
        for (const double t : {0.0, 0.3, 0.7, 1.0}) {
            const CQorPoint3d p(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), 0);
            EXPECT_TRUE(nearVisible(p)) << "outline edge " << i << " at " << t;
        }
        // Every point of every edge lies on the inner side of the outline edge (counter-clockwise turn).
        for (const Edges* edges : {&visible, &hidden})
            for (const CQorVertexArrayEx& vl : *edges)
                for (const CQorVertex& vx : vl) {
                    const double cross = (b.x - a.x) * (vx.start.y - a.y) - (b.y - a.y) * (vx.start.x - a.x);
                    EXPECT_GT(cross, -1e-6 * 100);
                }
    }
}

TEST_F(PlateWithHoles, TopViewGivesCirclesAsArcs) {
    Edges visible, hidden;
    ASSERT_TRUE(plate->project(kTop, false, visible, hidden, 1));
    int arcs = 0;
    for (const CQorVertexArrayEx& vl : visible)
        for (const CQorVertex& vx : vl) {
            if (!vx.isArc()) continue;
            ++arcs;
            // Both ends and the middle of the arc lie on a hole's rim: the bulge is the circle's.
            for (const CQorPoint3d& p : {vx.start, vx.mid(), vx.end})
                EXPECT_TRUE(onHoleRim(p)) << p.x << ", " << p.y;
        }
    EXPECT_GE(arcs, 4);
    CQorPoint3d min, max;
    ASSERT_TRUE(extents(visible, min, max));
    EXPECT_NEAR(max.x - min.x, 100, 1e-6);
    EXPECT_NEAR(max.y - min.y, 60, 1e-6);
}

TEST_F(PlateWithHoles, WithoutHidingEverythingIsVisible) {
    Edges visible, hidden;
    ASSERT_TRUE(plate->project(kIso, false, visible, hidden, 0));
    EXPECT_TRUE(hidden.isEmpty());
    Edges exactVisible, exactHidden;
    ASSERT_TRUE(plate->project(kIso, false, exactVisible, exactHidden, 1));
    EXPECT_GT(visible.len(), exactVisible.len());
}

TEST(SolidBuild, ProfileArcsStayArcs) {
    // A slot 40 long, 10 wide, with half-circle ends, 5 high.
    CQorVertexArray slot;
    slot.append({0, 0, 0}, {40, 0, 0});
    slot.append({40, 0, 0}, {40, 10, 0}, 1.0);
    slot.append({40, 10, 0}, {0, 10, 0});
    slot.append({0, 10, 0}, {0, 0, 0}, 1.0);
    CQor_Solid solid;
    ASSERT_TRUE(solid.addPrism(slot, {0, 0, 5}));
    ASSERT_TRUE(solid.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(solid.extents(min, max));
    EXPECT_NEAR(min.x, -5, 1e-6);
    EXPECT_NEAR(max.x, 45, 1e-6);
    Edges visible, hidden;
    ASSERT_TRUE(solid.project(kTop, false, visible, hidden, 1));
    int halfCircles = 0;
    for (const CQorVertexArrayEx& vl : visible)
        for (const CQorVertex& vx : vl)
            halfCircles += std::abs(std::abs(vx.bulge) - 1) < 1e-9;
    EXPECT_EQ(halfCircles, 2);
}

TEST(SolidBuild, DrillingOfCylinderAndConeIsOneBody) {
    // A drilling as a tool body: shaft of diameter 8 and a 118 degree point below it.
    const double tip = 4 / std::tan(59 * std::numbers::pi / 180);
    CQor_Solid solid;
    ASSERT_TRUE(solid.addCylinder({0, 0, 0}, {0, 0, -1}, 4, 20));
    ASSERT_TRUE(solid.addCone({0, 0, -20}, {0, 0, -1}, 4, 0, tip));
    ASSERT_TRUE(solid.solid());
    Edges visible, hidden;
    ASSERT_TRUE(solid.project(kFront, false, visible, hidden, 1));
    CQorPoint3d min, max;
    ASSERT_TRUE(extents(visible, min, max));
    EXPECT_NEAR(min.y, -20 - tip, 1e-6);
    EXPECT_NEAR(max.y, 0, 1e-6);
    EXPECT_NEAR(max.x - min.x, 8, 1e-6);
    // The seam where shaft and point were fused is a real edge (the surfaces meet at an angle).
    const bool seam = std::any_of(visible.begin(), visible.end(), [](const CQorVertexArrayEx& vl) {
        return std::abs(vl[0].start.y + 20) < 1e-6 && std::abs(vl[0].end.y + 20) < 1e-6;
    });
    EXPECT_TRUE(seam);
}

TEST(SolidBuild, RevolutionOfARectangleIsARing) {
    // Rectangle from r = 5 to r = 10 in the XZ plane, turned about Z.
    CQorVertexArray profile;
    profile.append({5, 0, 0}, {10, 0, 0});
    profile.append({10, 0, 0}, {10, 0, 4});
    profile.append({10, 0, 4}, {5, 0, 4});
    profile.append({5, 0, 4}, {5, 0, 0});
    CQor_Solid solid;
    ASSERT_TRUE(solid.addRevolution(profile, CQorPoint3d::kOrigin, {0, 0, 1}, 2 * std::numbers::pi));
    ASSERT_TRUE(solid.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(solid.extents(min, max));
    EXPECT_NEAR(max.x, 10, 1e-6);
    EXPECT_NEAR(max.z, 4, 1e-6);
}

TEST(SolidBuild, BadBodiesAreRefusedAndNotRecorded) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CQor_Solid solid;
    CQorVertexArray open = rectangle(0, 0, 10, 10);
    open.removeAt(-1);
    EXPECT_FALSE(solid.addPrism(open, {0, 0, 1}));
    EXPECT_FALSE(solid.addPrism(rectangle(0, 0, 10, 10), {1, 0, 0})); // extrusion in the profile's plane
    EXPECT_FALSE(solid.addPrism(rectangle(0, 0, 10, 10), {0, 0, nan}));
    EXPECT_FALSE(solid.addPrism(rectangle(0, 0, 1e12, 10), {0, 0, 1}));
    EXPECT_FALSE(solid.addPrism(CQorVertexArray(), {0, 0, 1}));
    EXPECT_FALSE(solid.addCylinder({0, 0, 0}, {0, 0, 1}, 0, 10));
    EXPECT_FALSE(solid.addCylinder({0, 0, 0}, {0, 0, 0}, 1, 10));
    EXPECT_FALSE(solid.addCylinder({nan, 0, 0}, {0, 0, 1}, 1, 10));
    EXPECT_FALSE(solid.addCone({0, 0, 0}, {0, 0, 1}, 0, 0, 10));
    EXPECT_FALSE(solid.addCone({0, 0, 0}, {0, 0, 1}, 1, 2, -3));
    EXPECT_FALSE(solid.addRevolution(rectangle(1, 0, 2, 1), CQorPoint3d::kOrigin, {0, 1, 0}, 0));
    EXPECT_FALSE(solid.addCylinder({0, 0, 0}, {0, 0, 1}, 1, 1, CQor_Solid::Op(7)));
    EXPECT_EQ(solid.bodyCount(), 0);
    EXPECT_FALSE(solid.solid());
}

TEST(SolidBuild, NothingLeftOrNothingJoinedIsNoSolid) {
    CQor_Solid solid;
    ASSERT_TRUE(solid.addCylinder({0, 0, 0}, {0, 0, 1}, 1, 1, CQor_Solid::kCut));
    EXPECT_FALSE(solid.solid()); // only a cut
    ASSERT_TRUE(solid.addCylinder({0, 0, 0}, {0, 0, 1}, 1, 1));
    EXPECT_TRUE(solid.solid()); // the leading cut removes nothing
    ASSERT_TRUE(solid.addCylinder({0, 0, -1}, {0, 0, 1}, 2, 3, CQor_Solid::kCut));
    EXPECT_FALSE(solid.isSolid()); // a new body invalidates the model
    EXPECT_FALSE(solid.solid());   // everything is cut away
}

TEST(SolidProject, RefusesWhatItCannotProject) {
    CQor_Solid solid;
    Edges visible{CQorVertexArrayEx()}, hidden{CQorVertexArrayEx()};
    EXPECT_FALSE(solid.project(kTop, false, visible, hidden, 1)); // not built
    EXPECT_TRUE(visible.isEmpty());
    EXPECT_TRUE(hidden.isEmpty());
    ASSERT_TRUE(solid.addCylinder({0, 0, 0}, {0, 0, 1}, 1, 1));
    ASSERT_TRUE(solid.solid());
    CQorMatrix3d skew;
    skew.entry[0][1] = 0.5;
    EXPECT_FALSE(solid.project(skew, false, visible, hidden, 1));
    CQorMatrix3d squashed;
    squashed.entry[2][2] = 0.5;
    EXPECT_FALSE(solid.project(squashed, false, visible, hidden, 1));
    CQorMatrix3d broken;
    broken.entry[0][3] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(solid.project(broken, false, visible, hidden, 1));
    EXPECT_FALSE(solid.project(kTop, false, visible, hidden, 2));
    EXPECT_TRUE(solid.project(kTop, false, visible, hidden, 1));
}

TEST(SolidProject, ScaledAndMirroredViewsScaleAndMirrorTheEdges) {
    CQor_Solid solid;
    ASSERT_TRUE(solid.addPrism(rectangle(10, 0, 30, 5), {0, 0, 1}));
    ASSERT_TRUE(solid.solid());
    CQorMatrix3d half;
    half.setToScaling(2); // a view unit is two model units
    CQorMatrix3d mirror;
    mirror.entry[1][1] = -1;
    mirror.entry[2][2] = -1; // eye below, y flipped: a right-handed turn about X
    CQorMatrix3d flip;
    flip.entry[1][1] = -1; // eye above, y mirrored
    const struct {
        const CQorMatrix3d* view;
        double x0, x1, y0, y1;
    } cases[] = {{&half, 5, 15, 0, 2.5}, {&mirror, 10, 30, -5, 0}, {&flip, 10, 30, -5, 0}};
    for (const auto& c : cases) {
        Edges visible, hidden;
        ASSERT_TRUE(solid.project(*c.view, false, visible, hidden, 1));
        CQorPoint3d min, max;
        ASSERT_TRUE(extents(visible, min, max));
        EXPECT_NEAR(min.x, c.x0, 1e-6);
        EXPECT_NEAR(max.x, c.x1, 1e-6);
        EXPECT_NEAR(min.y, c.y0, 1e-6);
        EXPECT_NEAR(max.y, c.y1, 1e-6);
    }
}

} // namespace
