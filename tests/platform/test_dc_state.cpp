#include <climits>

#include "qor/platform/device_coord_p.h"
#include "raster_fixture.h"

TEST(NullDc, EveryCallFails) {
    CRasterDC dc; // never created
    CPen pen(PS_SOLID, 1, 0);
    CBrush brush(0);
    CBitmap bmp;
    bmp.CreateBitmap(4, 4, 1, 32, nullptr);
    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 2, 2);
    const POINT pts[] = {{0, 0}, {3, 3}, {0, 3}};
    const int counts[] = {3};
    const RECT r{0, 0, 2, 2};
    EXPECT_FALSE(dc.isCreated());
    EXPECT_EQ(dc.MoveTo(1, 1), CPoint(0, 0));
    EXPECT_FALSE(dc.LineTo(3, 3));
    EXPECT_FALSE(dc.Polyline(pts, 3));
    EXPECT_FALSE(dc.Polygon(pts, 3));
    EXPECT_FALSE(dc.PolyPolygon(pts, counts, 1));
    EXPECT_FALSE(dc.Ellipse(0, 0, 3, 3));
    EXPECT_FALSE(dc.Rectangle(0, 0, 3, 3));
    EXPECT_FALSE(dc.FillSolidRect(&r, 0));
    EXPECT_FALSE(dc.FillRect(&r, &brush));
    EXPECT_EQ(dc.SetPixel(0, 0, 0), CLR_INVALID);
    EXPECT_FALSE(dc.SetPixelV(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0, DSTINVERT));
    EXPECT_EQ(dc.SelectObject(&pen), nullptr);
    EXPECT_EQ(dc.SelectObject(&brush), nullptr);
    EXPECT_EQ(dc.SelectObject(&bmp), nullptr);
    EXPECT_EQ(dc.SelectObject(&rgn), RGN_ERROR);
    EXPECT_EQ(dc.SelectStockObject(NULL_PEN), nullptr);
    EXPECT_EQ(dc.ExtSelectClipRgn(&rgn, RGN_AND), RGN_ERROR);
    EXPECT_EQ(dc.SetBkColor(0), CLR_INVALID);
    EXPECT_EQ(dc.SetTextColor(0), CLR_INVALID);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), 0);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), 0);
    EXPECT_EQ(dc.SaveDC(), 0);
    EXPECT_FALSE(dc.RestoreDC(-1));
    EXPECT_FALSE(dc.DeleteDC());
    EXPECT_EQ(dc.GetCurrentPen(), nullptr);
    // A created DC without a bitmap keeps state but cannot draw.
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_FALSE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.SetBkColor(RGB(1, 2, 3)), RGB(255, 255, 255));
    dc.MoveTo(0, 0);
    EXPECT_FALSE(dc.LineTo(3, 3));
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
    EXPECT_TRUE(dc.DeleteDC());
    EXPECT_EQ(dc.GetBkColor(), CLR_INVALID);
}

using DcState = RasterFixture;

TEST_F(DcState, SelectObjectReturnsThePreviousObject) {
    CPen red(PS_SOLID, 1, kRed), thick(PS_SOLID, 3, kBlack);
    EXPECT_EQ(dc.GetCurrentPen(), CPen::stock(BLACK_PEN));
    EXPECT_EQ(dc.SelectObject(&red), CPen::stock(BLACK_PEN));
    EXPECT_EQ(dc.SelectObject(&thick), &red);
    CPen uncreated;
    EXPECT_EQ(dc.SelectObject(&uncreated), nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), &thick);
    EXPECT_EQ(dc.SelectStockObject(NULL_BRUSH), CBrush::stock(WHITE_BRUSH));
    EXPECT_EQ(dc.SelectStockObject(12345), nullptr);
    EXPECT_EQ(dc.GetCurrentBitmap(), &bitmap);
    // The DC copied the pen: changing the pen object afterwards does not reach it.
    red.DeleteObject();
    red.CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    dc.SelectObject(&red);
    red.DeleteObject();
    dc.MoveTo(0, 0);
    dc.LineTo(2, 0);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 255));
}

TEST_F(DcState, StockObjectsCannotBeDeleted) {
    EXPECT_FALSE(CPen::stock(NULL_PEN)->DeleteObject());
    EXPECT_TRUE(CPen::stock(NULL_PEN)->isCreated());
    CPen p;
    EXPECT_TRUE(p.CreateStockObject(WHITE_PEN));
    EXPECT_FALSE(p.CreateStockObject(WHITE_PEN));
    EXPECT_FALSE(p.DeleteObject());
    EXPECT_FALSE(CPen().CreatePen(PS_SOLID, -1, 0));
    EXPECT_FALSE(CPen().CreatePen(3, 1, 0)); // dash styles are not supported
}

TEST_F(DcState, SaveAndRestoreBringBackEverything) {
    CRgn clipRgn;
    clipRgn.CreateRectRgn(0, 0, 5, 5);
    dc.MoveTo(3, 4);
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.SelectClipRgn(&clipRgn);
    dc.SetBkColor(kRed);
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    dc.SetPolyFillMode(WINDING);
    dc.MoveTo(7, 7);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetBkColor(kBlack);
    EXPECT_EQ(dc.SaveDC(), 3);
    EXPECT_FALSE(dc.RestoreDC(4));
    EXPECT_FALSE(dc.RestoreDC(-4));
    EXPECT_FALSE(dc.RestoreDC(0));
    EXPECT_TRUE(dc.RestoreDC(-1)); // back to level 3's saved state
    EXPECT_EQ(dc.GetBkColor(), kBlack);
    EXPECT_TRUE(dc.RestoreDC(1)); // discards level 2 on the way
    EXPECT_FALSE(dc.RestoreDC(1));
    EXPECT_EQ(dc.GetCurrentPen(), CPen::stock(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentBrush(), CBrush::stock(WHITE_BRUSH));
    EXPECT_EQ(dc.GetBkColor(), kWhite);
    EXPECT_EQ(dc.GetTextColor(), kBlack);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(3, 4));
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 24, 16));
}

TEST_F(DcState, DrawingOnMonochromeTakesTheNearestOfBlackAndWhite) {
    make(8, 4, 1);
    EXPECT_EQ(dc.SetPixel(0, 0, RGB(200, 100, 90)), kWhite); // 390 >= 383
    EXPECT_EQ(dc.SetPixel(1, 0, RGB(200, 100, 80)), kBlack); // 380
    usePen(1, RGB(255, 255, 0));
    dc.MoveTo(0, 2);
    dc.LineTo(8, 2);
    EXPECT_EQ(rows(0, 2, 8, 3), Rows{"........"});
    usePen(1, RGB(0, 0, 255));
    dc.LineTo(3, 2);
    EXPECT_EQ(rows(0, 2, 8, 3), Rows{"....####"});
    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&dc, 5, 5));
    EXPECT_EQ(compatible.bitsPerPixel(), 1);
}

TEST_F(DcState, DeletedSelectedBitmapStaysUsable) {
    auto temp = std::make_unique<CBitmap>();
    temp->CreateBitmap(4, 4, 1, 32, nullptr);
    dc.SelectObject(temp.get());
    temp.reset();
    EXPECT_TRUE(dc.FillSolidRect(0, 0, 4, 4, kRed));
    EXPECT_EQ(dc.GetPixel(3, 3), kRed);
    EXPECT_EQ(dc.GetPixel(4, 3), CLR_INVALID);
}

TEST(Bitmap, SizesAreChecked) {
    CBitmap b;
    EXPECT_FALSE(b.CreateBitmap(0, 5, 1, 32, nullptr));
    EXPECT_FALSE(b.CreateBitmap(-5, 5, 1, 32, nullptr));
    EXPECT_FALSE(b.CreateBitmap(INT_MAX, INT_MAX, 1, 32, nullptr));
    EXPECT_FALSE(b.CreateBitmap(1 << 18, 1 << 18, 1, 32, nullptr)); // 2^38 bytes
    EXPECT_FALSE(b.CreateBitmap(4, 4, 1, 24, nullptr));
    EXPECT_FALSE(b.CreateBitmap(4, 4, 2, 1, nullptr));
    EXPECT_TRUE(b.CreateBitmap(3, 2, 1, 32, nullptr));
    BITMAP info{};
    EXPECT_EQ(b.GetBitmap(&info), int(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmWidthBytes, 12);
    EXPECT_EQ(info.bmBitsPixel, 32);
}

TEST(WinTypes, ColoursAndRects) {
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x00563412u);
    const CRect r(0, 0, 100, 50);
    EXPECT_TRUE(r.PtInRect(CPoint(99, 49)));
    EXPECT_FALSE(r.PtInRect(CPoint(100, 49)));
    EXPECT_EQ(CRect(INT_MIN, 0, INT_MAX, 1).Width(), INT_MAX);
    CRect n(5, 6, 1, 2);
    n.NormalizeRect();
    EXPECT_EQ(n, CRect(1, 2, 5, 6));
    CRect i;
    EXPECT_FALSE(i.IntersectRect(CRect(0, 0, 5, 5), CRect(5, 0, 9, 5)));
    EXPECT_EQ(QOR::deviceCoord(std::nan("")), 0);
    EXPECT_EQ(QOR::deviceCoord(1e300), QOR::kDeviceLimit);
    EXPECT_EQ(QOR::deviceCoord(-2.9), -2);
}
