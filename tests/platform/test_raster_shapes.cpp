#include <climits>
#include <random>
#include <vector>

#include "raster_fixture.h"

using RasterDcShapes = RasterFixture;

TEST_F(RasterDcShapes, PolygonFillExcludesRightAndBottomEdgesTheOutlineAddsThem) {
    useBrush();
    const POINT square[] = {{2, 1}, {6, 1}, {6, 4}, {2, 4}};
    EXPECT_TRUE(dc.Polygon(square, 4));
    EXPECT_EQ(rows(0, 0, 8, 6),
              (Rows{"........", "..#####.", "..#ooo#.", "..#ooo#.", "..#####.", "........"}));
    dc.FillSolidRect(0, 0, 24, 16, kWhite);
    dc.SelectStockObject(NULL_PEN);
    EXPECT_TRUE(dc.Polygon(square, 4));
    EXPECT_EQ(rows(0, 0, 8, 5), (Rows{"........", "..oooo..", "..oooo..", "..oooo..", "........"}));
}

TEST_F(RasterDcShapes, SlantedEdgeTakesPixelsWhoseCentreIsInside) {
    dc.SelectStockObject(NULL_PEN);
    useBrush();
    // The hypotenuse x = y runs through the centres of pixels (i, i); it is a right edge, so they stay
    // outside. Mirrored, it becomes a left edge and they are inside.
    const POINT tri[] = {{0, 0}, {4, 4}, {0, 4}};
    dc.Polygon(tri, 3);
    EXPECT_EQ(rows(0, 0, 5, 5), (Rows{".....", "o....", "oo...", "ooo..", "....."}));
    dc.FillSolidRect(0, 0, 24, 16, kWhite);
    const POINT mirrored[] = {{0, 0}, {4, 0}, {4, 4}};
    dc.Polygon(mirrored, 3);
    EXPECT_EQ(rows(0, 0, 5, 5), (Rows{"oooo.", ".ooo.", "..oo.", "...o.", "....."}));
}

TEST_F(RasterDcShapes, AlternateAndWindingDifferForOverlaps) {
    dc.SelectStockObject(NULL_PEN);
    useBrush();
    // Two squares drawn in the same direction: the overlap has winding number 2.
    const POINT pts[] = {{0, 0}, {6, 0}, {6, 4}, {0, 4}, {3, 1}, {9, 1}, {9, 3}, {3, 3}};
    const int counts[] = {4, 4};
    EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
    dc.PolyPolygon(pts, counts, 2);
    EXPECT_EQ(rows(0, 0, 10, 4), (Rows{"oooooo....", "ooo...ooo.", "ooo...ooo.", "oooooo...."}));
    dc.FillSolidRect(0, 0, 24, 16, kWhite);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    dc.PolyPolygon(pts, counts, 2);
    EXPECT_EQ(rows(0, 0, 10, 4), (Rows{"oooooo....", "ooooooooo.", "ooooooooo.", "oooooo...."}));
    EXPECT_FALSE(dc.PolyPolygon(pts, counts, 0));
    const int bad[] = {4, 1};
    EXPECT_FALSE(dc.PolyPolygon(pts, bad, 2));
}

// Small text leans on this: a polygon on two neighbouring rows or columns needs no fill when its outline
// is traced with a thin pen. Random polygons, self-crossing ones among them, filled red and then traced
// black must leave no red.
TEST_F(RasterDcShapes, PolygonOnTwoRowsOrColumnsFillsOnlyWhatItsThinOutlineDraws) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> along(1, 14), across(0, 1), length(3, 9);
    int filled = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const bool rows = trial % 2 == 0;
        std::vector<POINT> loop;
        for (int n = length(random); int(loop.size()) < n;) {
            const int a = along(random), b = 5 + across(random);
            const POINT p = rows ? POINT{a, b} : POINT{b, a};
            if (loop.empty() || p.x != loop.back().x || p.y != loop.back().y) loop.push_back(p);
        }
        dc.FillSolidRect(0, 0, 24, 16, kWhite);
        dc.SelectStockObject(NULL_PEN);
        useBrush();
        dc.Polygon(loop.data(), int(loop.size()));
        filled += count('o');
        usePen(1);
        loop.push_back(loop.front());
        dc.Polyline(loop.data(), int(loop.size()));
        ASSERT_EQ(count('o'), 0) << "trial " << trial;
    }
    EXPECT_GT(filled, 1000); // the fills were not empty
}

TEST_F(RasterDcShapes, RectangleWithPenCoversItsRectWithoutOneIsOnePixelSmaller) {
    useBrush();
    EXPECT_TRUE(dc.Rectangle(1, 1, 6, 5));
    EXPECT_EQ(rows(0, 0, 7, 6), (Rows{".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}));
    dc.FillSolidRect(0, 0, 24, 16, kWhite);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(6, 5, 1, 1); // corners in either order
    EXPECT_EQ(rows(0, 0, 7, 6), (Rows{".......", ".oooo..", ".oooo..", ".oooo..", ".......", "......."}));
}

TEST_F(RasterDcShapes, HollowBrushOutlinesOnly) {
    dc.SelectStockObject(HOLLOW_BRUSH);
    dc.Rectangle(1, 1, 5, 4);
    EXPECT_EQ(rows(0, 0, 6, 5), (Rows{"......", ".####.", ".#..#.", ".####.", "......"}));
}

TEST_F(RasterDcShapes, EllipseIsSymmetricAndStaysInItsBox) {
    make(40, 30);
    useBrush();
    dc.Ellipse(3, 2, 26, 19);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const char c = cell(x, y);
            if (x < 3 || x >= 26 || y < 2 || y >= 19) {
                EXPECT_EQ(c, '.') << x << "," << y;
                continue;
            }
            EXPECT_EQ(c, cell(3 + 26 - 1 - x, y)) << "mirror x " << x << "," << y;
            EXPECT_EQ(c, cell(x, 2 + 19 - 1 - y)) << "mirror y " << x << "," << y;
        }
    }
    // The box's edges are touched at the middle of each side.
    EXPECT_EQ(cell(14, 2), '#');
    EXPECT_EQ(cell(14, 18), '#');
    EXPECT_EQ(cell(3, 10), '#');
    EXPECT_EQ(cell(25, 10), '#');
    EXPECT_EQ(cell(14, 10), 'o');
}

TEST_F(RasterDcShapes, SmallEllipseOutlineIsThin) {
    useBrush();
    dc.Ellipse(0, 0, 8, 8);
    EXPECT_EQ(rows(0, 0, 9, 9), (Rows{"..####...", ".#oooo#..", "#oooooo#.", "#oooooo#.", "#oooooo#.",
                                      "#oooooo#.", ".#oooo#..", "..####...", "........."}));
}

TEST_F(RasterDcShapes, WidePenEllipseCoversOutlineBand) {
    make(40, 40);
    usePen(5);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Ellipse(5, 5, 35, 35);
    EXPECT_EQ(cell(20, 20), '.'); // hollow centre
    EXPECT_EQ(cell(5, 20), '#');
    EXPECT_EQ(cell(7, 20), '#'); // within the pen's half width inside
    EXPECT_EQ(cell(3, 20), '#'); // and outside
    EXPECT_EQ(cell(1, 20), '.');
    EXPECT_EQ(cell(10, 20), '.');
}

TEST_F(RasterDcShapes, FillRectAndFillSolidRect) {
    CBrush red(kRed);
    const RECT r{2, 1, 5, 3};
    EXPECT_TRUE(dc.FillRect(&r, &red));
    EXPECT_EQ(rows(0, 0, 6, 4), (Rows{"......", "..ooo.", "..ooo.", "......"}));
    const RECT reversed{5, 3, 2, 1};
    EXPECT_TRUE(dc.FillRect(&reversed, CBrush::stock(BLACK_BRUSH))); // FillRect does not normalise
    EXPECT_EQ(count('#'), 0);
    EXPECT_TRUE(dc.FillSolidRect(0, 0, 1, 1, kBlack));
    EXPECT_EQ(dc.GetBkColor(), kBlack); // FillSolidRect leaves its colour as the background colour
    EXPECT_EQ(cell(0, 0), '#');
    EXPECT_EQ(cell(1, 0), '.');
}

TEST_F(RasterDcShapes, ExtremeShapesAreClampedAndClipped) {
    useBrush();
    EXPECT_TRUE(dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_EQ(count('o'), 24 * 16);
    EXPECT_TRUE(dc.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    const POINT huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MIN, INT_MAX}};
    EXPECT_TRUE(dc.Polygon(huge, 4));
    usePen(9);
    EXPECT_TRUE(dc.Polygon(huge, 4));
    EXPECT_TRUE(dc.Ellipse(INT_MIN, 0, INT_MAX, 5));
    EXPECT_TRUE(dc.FillSolidRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX, kBlack));
    EXPECT_TRUE(dc.FillSolidRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlack));
}
