#include <algorithm>
#include <climits>
#include <cstdlib>

#include "raster_fixture.h"

using RasterDcLines = RasterFixture;

TEST_F(RasterDcLines, BresenhamRoundsHalvesTowardTheEnd) {
    // dx = 4, dy = 2: the minor step falls at the exact half, which goes to the end point's side; the end
    // point itself is left out.
    dc.MoveTo(0, 0);
    dc.LineTo(4, 2);
    EXPECT_EQ(rows(0, 0, 5, 3), (Rows{"#....", ".##..", "...#."}));
}

TEST_F(RasterDcLines, PolylineDrawsInnerVerticesButNotTheLast) {
    const POINT pts[] = {{1, 1}, {5, 1}, {5, 4}};
    EXPECT_TRUE(dc.Polyline(pts, 3));
    EXPECT_EQ(rows(0, 0, 7, 5), (Rows{".......", ".#####.", ".....#.", ".....#.", "......."}));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 0)); // Polyline does not move the position
    EXPECT_FALSE(dc.Polyline(pts, 1));
    EXPECT_FALSE(dc.Polyline(nullptr, 3));
}

TEST_F(RasterDcLines, ClippedLineKeepsTheSamePixels) {
    // Drawn once whole and once from far outside: the pixels inside must be identical, since clipping
    // skips steps arithmetically.
    make(64, 64);
    dc.MoveTo(-1000, -331);
    dc.LineTo(1000, 400);
    const Rows whole = rows(0, 0, 64, 64);
    make(64, 64);
    CRgn clipRgn;
    clipRgn.CreateRectRgn(10, 0, 50, 64);
    dc.SelectClipRgn(&clipRgn);
    dc.MoveTo(-1000, -331);
    dc.LineTo(1000, 400);
    dc.SelectClipRgn(nullptr); // reading outside the clip gives CLR_INVALID
    const Rows clipped = rows(0, 0, 64, 64);
    for (int y = 0; y < 64; ++y) {
        EXPECT_EQ(clipped[std::size_t(y)].substr(10, 40), whole[std::size_t(y)].substr(10, 40)) << y;
        EXPECT_EQ(clipped[std::size_t(y)].substr(0, 10), std::string(10, '.'));
    }
    EXPECT_GT(count('#'), 30);
}

TEST_F(RasterDcLines, OneStepLinesPaintTheirStartWhereItShows) {
    // A line to a neighbour paints its first pixel alone: inside the bitmap and the clip, nowhere else.
    make(8, 8);
    CRgn clipRgn;
    clipRgn.CreateRectRgn(2, 0, 8, 6);
    dc.SelectClipRgn(&clipRgn);
    for (int y = -1; y <= 8; ++y)
        for (int x = -1; x <= 8; ++x)
            for (int d = 0; d < 9; ++d) {
                if (d == 4) continue; // no step
                dc.SelectClipRgn(nullptr);
                dc.FillSolidRect(0, 0, 8, 8, kWhite);
                dc.SelectClipRgn(&clipRgn);
                const POINT line[] = {{x, y}, {x + d % 3 - 1, y + d / 3 - 1}};
                dc.Polyline(line, 2);
                dc.SelectClipRgn(nullptr);
                const bool shows = x >= 2 && x < 8 && y >= 0 && y < 6;
                ASSERT_EQ(count('#'), shows ? 1 : 0)
                    << x << "," << y << " to " << line[1].x << "," << line[1].y;
                if (shows) {
                    EXPECT_EQ(cell(x, y), '#');
                }
            }
}

TEST_F(RasterDcLines, ThinLineMatchesReferenceBresenham) {
    // Every direction of short lines against a plain per-step evaluation of the documented formula.
    make(40, 40);
    for (int dx = -6; dx <= 6; ++dx) {
        for (int dy = -6; dy <= 6; ++dy) {
            dc.FillSolidRect(0, 0, 40, 40, kWhite);
            dc.MoveTo(20, 20);
            EXPECT_TRUE(dc.LineTo(20 + dx, 20 + dy)); // a zero length draws nothing and succeeds
            EXPECT_EQ(dc.GetCurrentPosition(), CPoint(20 + dx, 20 + dy));
            const int n = std::max(std::abs(dx), std::abs(dy));
            const int m = std::min(std::abs(dx), std::abs(dy));
            const bool xMajor = std::abs(dx) >= std::abs(dy);
            int painted = 0;
            for (int i = 0; i < n; ++i) {
                const int k = (2 * i * m + n) / (2 * n);
                const int x = 20 + (xMajor ? i * (dx > 0 ? 1 : -1) : k * (dx >= 0 ? 1 : -1));
                const int y = 20 + (xMajor ? k * (dy >= 0 ? 1 : -1) : i * (dy > 0 ? 1 : -1));
                EXPECT_EQ(cell(x, y), '#') << dx << "," << dy << " step " << i;
                ++painted;
            }
            EXPECT_EQ(count('#'), painted) << dx << "," << dy;
        }
    }
}

TEST_F(RasterDcLines, WidePenHasExactWidthAndRoundCaps) {
    usePen(3);
    dc.MoveTo(4, 5);
    dc.LineTo(12, 5);
    // Three rows centred on y = 5; caps reach 1.5 px beyond both ends (x = 3 .. 13 on the centre row).
    EXPECT_EQ(rows(0, 3, 16, 8), (Rows{"................", "...###########..", "...###########..",
                                       "...###########..", "................"}));
    make(24, 16);
    usePen(4);
    dc.MoveTo(4, 5);
    dc.LineTo(12, 5);
    // Even width: two rows above the line's row, one below; the samples sit half a pixel down-right.
    EXPECT_EQ(rows(0, 2, 16, 8), (Rows{"................", "...##########...", "..############..",
                                       "..############..", "...##########...", "................"}));
}

TEST_F(RasterDcLines, WidePenDotForZeroLength) {
    usePen(5);
    dc.MoveTo(8, 8);
    const POINT pts[] = {{8, 8}, {8, 8}};
    dc.Polyline(pts, 2);
    EXPECT_EQ(rows(5, 5, 12, 12),
              (Rows{".......", "..###..", ".#####.", ".#####.", ".#####.", "..###..", "......."}));
}

TEST_F(RasterDcLines, ExtremeCoordinatesFinishQuickly) {
    // INT_MIN/INT_MAX are clamped to the device limit; clipping makes the cost depend on visible pixels.
    dc.MoveTo(INT_MIN, INT_MIN);
    EXPECT_TRUE(dc.LineTo(INT_MAX, INT_MAX));
    EXPECT_EQ(cell(0, 0), '#');
    EXPECT_EQ(cell(15, 15), '#');
    usePen(7);
    EXPECT_TRUE(dc.LineTo(INT_MIN, INT_MAX));
    dc.MoveTo(INT_MAX, 3);
    EXPECT_TRUE(dc.LineTo(INT_MIN, 3));
    EXPECT_EQ(cell(23, 3), '#');
}
