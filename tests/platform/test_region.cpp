#include <climits>

#include "raster_fixture.h"

namespace {

std::string pixels(const CRgn& rgn, int w, int h) {
    std::string out;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            out += rgn.PtInRegion(x, y) ? '#' : '.';
        out += '|';
    }
    return out;
}

} // namespace

TEST(Region, RectEdgesAndComplexity) {
    CRgn r;
    ASSERT_TRUE(r.CreateRectRgn(1, 1, 4, 3));
    EXPECT_TRUE(r.PtInRegion(1, 1));
    EXPECT_TRUE(r.PtInRegion(3, 2));
    EXPECT_FALSE(r.PtInRegion(4, 2)); // right edge outside
    EXPECT_FALSE(r.PtInRegion(3, 3)); // bottom edge outside
    RECT box;
    EXPECT_EQ(r.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(1, 1, 4, 3));
    CRgn empty;
    empty.CreateRectRgn(5, 5, 5, 9);
    EXPECT_EQ(empty.GetRgnBox(&box), NULLREGION);
    CRgn none;
    EXPECT_EQ(none.GetRgnBox(&box), RGN_ERROR);
    EXPECT_FALSE(none.PtInRegion(0, 0));
}

TEST(Region, CombineModes) {
    CRgn a, b, out;
    a.CreateRectRgn(0, 0, 4, 3);
    b.CreateRectRgn(2, 1, 6, 4);
    EXPECT_EQ(out.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(pixels(out, 6, 4), "......|..##..|..##..|......|");
    EXPECT_EQ(out.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(pixels(out, 6, 4), "####..|######|######|..####|");
    EXPECT_EQ(out.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
    EXPECT_EQ(pixels(out, 6, 4), "####..|##..##|##..##|..####|");
    EXPECT_EQ(out.CombineRgn(&a, &b, RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(pixels(out, 6, 4), "####..|##....|##....|......|");
    EXPECT_EQ(out.CombineRgn(&a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(out.EqualRgn(&a));
    EXPECT_EQ(out.CombineRgn(&a, &b, 9), RGN_ERROR);
    EXPECT_TRUE(out.EqualRgn(&a));                              // unchanged by the failure
    EXPECT_EQ(out.CombineRgn(&out, &b, RGN_AND), SIMPLEREGION); // the destination may be a source
    EXPECT_EQ(pixels(out, 6, 4), "......|..##..|..##..|......|");
}

TEST(Region, EqualSetsHaveEqualStorage) {
    // The same L shape built two ways.
    CRgn a, b, top, left, tmp;
    a.CreateRectRgn(0, 0, 4, 2);
    tmp.CreateRectRgn(0, 2, 2, 5);
    a.CombineRgn(&a, &tmp, RGN_OR);
    const POINT l[] = {{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 5}, {0, 5}};
    ASSERT_TRUE(b.CreatePolygonRgn(l, 6, ALTERNATE));
    EXPECT_TRUE(a.EqualRgn(&b));
    // Splitting and re-joining merges the bands again.
    top.CreateRectRgn(0, 0, 4, 1);
    left.CombineRgn(&a, &top, RGN_DIFF);
    left.CombineRgn(&left, &top, RGN_OR);
    EXPECT_TRUE(left.EqualRgn(&a));
    EXPECT_EQ(a.region().bands().size(), 2u);
}

TEST(Region, ExtremeCoordinatesAndOffsets) {
    CRgn r;
    ASSERT_TRUE(r.CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(r.PtInRegion(0, 0));
    EXPECT_EQ(r.OffsetRgn(-5, INT_MIN), NULLREGION); // pushed entirely beyond the device limit
    CRgn small;
    small.CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(small.OffsetRgn((1 << 27) - 5, 0), SIMPLEREGION); // partly beyond: cut at the limit
    RECT box;
    small.GetRgnBox(&box);
    EXPECT_EQ(box.right, (1 << 27) - 1);
    EXPECT_EQ(small.OffsetRgn(INT_MAX, 0), NULLREGION);
    const POINT huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}};
    CRgn p;
    ASSERT_TRUE(p.CreatePolygonRgn(huge, 3, WINDING)); // rows limited: finishes quickly
    EXPECT_TRUE(p.PtInRegion(0, 0));
}

using ClipRegion = RasterFixture;

TEST_F(ClipRegion, PolygonRegionMatchesFilledPolygon) {
    const POINT star[] = {{10, 1}, {14, 18}, {1, 7}, {19, 7}, {5, 18}};
    for (const int mode : {ALTERNATE, WINDING}) {
        CRgn rgn;
        ASSERT_TRUE(rgn.CreatePolygonRgn(star, 5, mode));
        make(20, 20);
        dc.SelectStockObject(NULL_PEN);
        useBrush();
        dc.SetPolyFillMode(mode);
        dc.Polygon(star, 5);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                EXPECT_EQ(rgn.PtInRegion(x, y) != 0, cell(x, y) == 'o') << x << "," << y;
        EXPECT_GT(count('o'), 50);
    }
    CRgn bad;
    EXPECT_FALSE(bad.CreatePolygonRgn(star, 1, ALTERNATE));
    EXPECT_FALSE(bad.CreatePolygonRgn(star, 5, 7));
    EXPECT_FALSE(bad.CreatePolygonRgn(nullptr, 5, ALTERNATE));
}

TEST_F(ClipRegion, DrawingKeepsOutOfAPolygonHole) {
    useBrush();
    dc.SelectStockObject(NULL_PEN);
    CRgn client, hole;
    client.CreateRectRgn(0, 0, 24, 16);
    dc.SelectClipRgn(&client);
    const POINT diamond[] = {{8, 2}, {12, 6}, {8, 10}, {4, 6}};
    hole.CreatePolygonRgn(diamond, 4, ALTERNATE);
    EXPECT_EQ(dc.ExtSelectClipRgn(&hole, RGN_DIFF), COMPLEXREGION);
    dc.Rectangle(2, 1, 15, 12);
    EXPECT_EQ(dc.GetPixel(8, 6), CLR_INVALID); // reading inside the hole is outside the clip
    dc.SelectClipRgn(nullptr);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool inRect = x >= 2 && x < 14 && y >= 1 && y < 11;
            EXPECT_EQ(cell(x, y), inRect && !hole.PtInRegion(x, y) ? 'o' : '.') << x << "," << y;
        }
    EXPECT_EQ(cell(8, 6), '.');
    EXPECT_EQ(dc.SetPixel(8, 6, kBlack), kBlack);
}

TEST_F(ClipRegion, ExtSelectWithoutClipStartsFromTheBitmap) {
    CRgn r;
    r.CreateRectRgn(20, 10, 40, 40);
    EXPECT_EQ(dc.ExtSelectClipRgn(&r, RGN_AND), SIMPLEREGION);
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(20, 10, 24, 16));
    EXPECT_EQ(dc.ExtSelectClipRgn(nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 24, 16));
    EXPECT_EQ(dc.ExtSelectClipRgn(nullptr, RGN_AND), RGN_ERROR);
    CRgn outside;
    outside.CreateRectRgn(100, 100, 110, 110);
    EXPECT_EQ(dc.SelectClipRgn(&outside), NULLREGION);
    EXPECT_TRUE(dc.LineTo(20, 0)); // everything clipped away is still a success
    EXPECT_EQ(count('#'), 0);
}
