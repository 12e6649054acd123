#include "raster_fixture.h"

namespace {

// A second memory DC with its own bitmap, as the source of transfers.
struct SourceDc {
    CRasterDC dc;
    CBitmap bitmap;
    SourceDc(int width, int height, int bpp) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height, 1, UINT(bpp), nullptr);
        dc.SelectObject(&bitmap);
    }
};

} // namespace

using RasterDcBitBlt = RasterFixture;

TEST_F(RasterDcBitBlt, EachRopCombinesColourPixels) {
    const COLORREF dstColours[] = {RGB(0x12, 0x34, 0x56), RGB(0xFF, 0x00, 0xF0), RGB(0, 0, 0),
                                   RGB(255, 255, 255)};
    const COLORREF srcColours[] = {RGB(0xF0, 0x0F, 0x55), RGB(0x0F, 0xF0, 0xAA), RGB(0x80, 0x81, 0x82),
                                   RGB(1, 2, 3)};
    struct Case {
        DWORD rop;
        COLORREF (*expected)(COLORREF d, COLORREF s);
    };
    const Case cases[] = {
        {SRCCOPY, [](COLORREF, COLORREF s) { return s; }},
        {SRCAND, [](COLORREF d, COLORREF s) { return d & s; }},
        {SRCINVERT, [](COLORREF d, COLORREF s) { return d ^ s; }},
        {SRCPAINT, [](COLORREF d, COLORREF s) { return d | s; }},
        {DSTINVERT, [](COLORREF d, COLORREF) { return ~d & 0x00FFFFFF; }},
        {BLACKNESS, [](COLORREF, COLORREF) { return COLORREF(0); }},
        {WHITENESS, [](COLORREF, COLORREF) { return COLORREF(0x00FFFFFF); }},
    };
    SourceDc src(4, 1, 32);
    for (int i = 0; i < 4; ++i)
        src.dc.SetPixelV(i, 0, srcColours[i]);
    for (const Case& c : cases) {
        for (int i = 0; i < 4; ++i)
            dc.SetPixelV(i + 2, 3, dstColours[i]);
        EXPECT_TRUE(dc.BitBlt(2, 3, 4, 1, &src.dc, 0, 0, c.rop)) << std::hex << c.rop;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(dc.GetPixel(i + 2, 3), c.expected(dstColours[i], srcColours[i]))
                << std::hex << c.rop << " " << i;
        EXPECT_EQ(cell(1, 3), '.');
        EXPECT_EQ(cell(6, 3), '.');
    }
    EXPECT_FALSE(dc.BitBlt(0, 0, 4, 1, &src.dc, 0, 0, 0x00BB0226)); // an unsupported ROP
    EXPECT_FALSE(dc.BitBlt(0, 0, 4, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(dc.BitBlt(0, 0, -4, 1, &src.dc, 0, 0, SRCCOPY));
}

TEST_F(RasterDcBitBlt, OnlyTheExistingSourceBlockIsTransferred) {
    SourceDc src(4, 4, 32);
    src.dc.FillSolidRect(0, 0, 4, 4, kBlack);
    EXPECT_TRUE(dc.BitBlt(10, 5, 10, 10, &src.dc, -2, -1, SRCCOPY));
    // Source columns -2, -1 and row -1 do not exist: the block lands at (12, 6) with the source's size.
    EXPECT_EQ(rows(11, 5, 17, 11), (Rows{"......", ".####.", ".####.", ".####.", ".####.", "......"}));
    EXPECT_TRUE(dc.BitBlt(0, 0, 5, 5, &src.dc, 4, 0, SRCCOPY)); // entirely outside the source: nothing
    EXPECT_EQ(cell(0, 0), '.');
}

TEST_F(RasterDcBitBlt, MonochromeToColourUsesDestinationColours) {
    // 1 0 1 1 / 0 0 1 0 in a monochrome source.
    const unsigned char bits[] = {0xB0, 0x00, 0x20, 0x00};
    CRasterDC src;
    src.CreateCompatibleDC(nullptr);
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, bits));
    src.SelectObject(&mono);
    dc.SetBkColor(kRed);            // 1 becomes this
    dc.SetTextColor(kBlack);        // 0 becomes this
    src.SetBkColor(RGB(0, 255, 0)); // the source's colours play no part here
    dc.BitBlt(1, 1, 4, 2, &src, 0, 0, SRCCOPY);
    EXPECT_EQ(rows(0, 0, 6, 4), (Rows{"......", ".o#oo.", ".##o#.", "......"}));
}

TEST_F(RasterDcBitBlt, ColourToMonochromeMarksTheSourceBackground) {
    SourceDc src(4, 1, 32);
    src.dc.FillSolidRect(0, 0, 4, 1, kRed);
    src.dc.SetPixelV(1, 0, kBlack);
    src.dc.SetPixelV(2, 0, RGB(254, 0, 0)); // near red is not red
    src.dc.SetBkColor(kRed);
    SourceDc mask(4, 1, 1);
    mask.dc.BitBlt(0, 0, 4, 1, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(mask.dc.GetPixel(0, 0), kWhite);
    EXPECT_EQ(mask.dc.GetPixel(1, 0), kBlack);
    EXPECT_EQ(mask.dc.GetPixel(2, 0), kBlack);
    EXPECT_EQ(mask.dc.GetPixel(3, 0), kWhite);
    // Monochrome ROPs work bit by bit.
    mask.dc.BitBlt(0, 0, 4, 1, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(mask.dc.GetPixel(0, 0), kBlack);
    EXPECT_EQ(mask.dc.GetPixel(1, 0), kWhite);
    SourceDc other(4, 1, 1);
    other.dc.SetPixelV(0, 0, kWhite);
    other.dc.SetPixelV(1, 0, kWhite);
    mask.dc.BitBlt(0, 0, 4, 1, &other.dc, 0, 0, SRCINVERT); // 0110 ^ 1100 = 1010
    EXPECT_EQ(mask.dc.GetPixel(0, 0), kWhite);
    EXPECT_EQ(mask.dc.GetPixel(1, 0), kBlack);
    EXPECT_EQ(mask.dc.GetPixel(2, 0), kWhite);
    EXPECT_EQ(mask.dc.GetPixel(3, 0), kBlack);
}

TEST_F(RasterDcBitBlt, MaskedTransparentCopyKeepsTheTargetUnderTheBackground) {
    // The classic sequence: a mask where the picture shows its background colour, then XOR, AND, XOR.
    SourceDc picture(3, 2, 32);
    picture.dc.FillSolidRect(0, 0, 3, 2, RGB(0, 255, 0)); // background: green
    picture.dc.SetPixelV(1, 0, kBlack);
    picture.dc.SetPixelV(2, 1, kRed);
    picture.dc.SetBkColor(RGB(0, 255, 0));
    SourceDc mask(3, 2, 1);
    mask.dc.BitBlt(0, 0, 3, 2, &picture.dc, 0, 0, SRCCOPY);
    dc.FillSolidRect(0, 0, 24, 16, RGB(10, 20, 30));
    dc.SetBkColor(kWhite);
    dc.SetTextColor(kBlack);
    dc.BitBlt(5, 5, 3, 2, &picture.dc, 0, 0, SRCINVERT);
    dc.BitBlt(5, 5, 3, 2, &mask.dc, 0, 0, SRCAND);
    dc.BitBlt(5, 5, 3, 2, &picture.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(6, 5), kBlack);
    EXPECT_EQ(dc.GetPixel(7, 6), kRed);
    EXPECT_EQ(dc.GetPixel(6, 6), RGB(10, 20, 30));
}

TEST_F(RasterDcBitBlt, OverlappingCopyWithinOneBitmapReadsOldPixels) {
    for (int x = 0; x < 6; ++x)
        dc.SetPixelV(x, 0, RGB(x * 10, 0, 0));
    EXPECT_TRUE(dc.BitBlt(2, 0, 6, 1, &dc, 0, 0, SRCCOPY));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(dc.GetPixel(x + 2, 0), RGB(x * 10, 0, 0)) << x;
}

TEST_F(RasterDcBitBlt, DestinationClipRegionWithHole) {
    SourceDc src(10, 10, 32);
    src.dc.FillSolidRect(0, 0, 10, 10, kBlack);
    CRgn hole;
    hole.CreateRectRgn(3, 3, 6, 6);
    dc.ExtSelectClipRgn(&hole, RGN_DIFF);
    dc.BitBlt(1, 1, 7, 7, &src.dc, 0, 0, SRCCOPY);
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(rows(0, 0, 9, 9), (Rows{".........", ".#######.", ".#######.", ".##...##.", ".##...##.",
                                      ".##...##.", ".#######.", ".#######.", "........."}));
}
