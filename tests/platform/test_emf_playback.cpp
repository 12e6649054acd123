// Differential tests of the metafile backend and the player together: each scene is drawn once straight
// onto a raster DC and once recorded, played onto a second raster DC; the two bitmaps must match pixel for
// pixel. Every recorded metafile also goes through emf2svg-conv.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "emf_fixture.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/raster/raster_dc.h"

namespace {

constexpr int kWidth = 96, kHeight = 64;
constexpr COLORREF kBackground = RGB(250, 245, 240);

using Scene = std::function<void(CDC&)>;

struct Canvas {
    CRasterDC dc;
    CBitmap bitmap;
    Canvas() {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, kWidth, kHeight, kBackground);
        dc.SetBkColor(RGB(255, 255, 255));
    }
};

/// A source of bit-block transfers: a colour image and a monochrome mask.
struct Sources {
    CRasterDC colour, mono;
    CBitmap colourBits, monoBits;
    Sources() {
        colour.CreateCompatibleDC(nullptr);
        colourBits.CreateBitmap(12, 9, 1, 32, nullptr);
        colour.SelectObject(&colourBits);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x)
                colour.SetPixelV(x, y, RGB(x * 21, y * 28, (x * y * 7) % 256));
        mono.CreateCompatibleDC(nullptr);
        monoBits.CreateBitmap(12, 9, 1, 1, nullptr);
        mono.SelectObject(&monoBits);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x)
                mono.SetPixelV(x, y, (x + y) % 3 ? RGB(255, 255, 255) : 0);
    }
};

class EmfPlayback : public ::testing::Test {
protected:
    /// Draws the scene both ways and compares; returns the recorded metafile.
    CEnhMetaFile check(const Scene& scene, const std::string& name) {
        Canvas direct, played;
        scene(direct.dc);
        CMetaFileDC recorder;
        EXPECT_TRUE(recorder.CreateEnhanced(nullptr, nullptr, nullptr, L"Qor tests\0playback\0\0"));
        scene(recorder);
        EXPECT_FALSE(recorder.hasFailed()) << name;
        CEnhMetaFile mf = recorder.CloseEnhanced();
        EXPECT_FALSE(mf.isNull()) << name;
        EXPECT_TRUE(PlayEnhMetaFile(&played.dc, mf, nullptr)) << name;
        int differences = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const COLORREF a = direct.bitmap.surface()->colorAt(x, y),
                               b = played.bitmap.surface()->colorAt(x, y);
                if (a != b && differences++ < 5)
                    ADD_FAILURE() << name << ": pixel (" << x << ", " << y << ") direct " << std::hex << a
                                  << " played " << b;
            }
        EXPECT_EQ(differences, 0) << name;
        emf_test::expectConverts(mf, name);
        return mf;
    }

    CPen pens[4];
    CBrush brushes[3];
    void SetUp() override {
        pens[0].CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
        pens[1].CreatePen(PS_SOLID, 0, RGB(0, 0, 160));
        pens[2].CreatePen(PS_SOLID, 5, RGB(0, 120, 0));
        pens[3].CreatePen(PS_SOLID, 2, RGB(90, 90, 0));
        brushes[0].CreateSolidBrush(RGB(255, 200, 0));
        brushes[1].CreateSolidBrush(RGB(0, 200, 255));
        brushes[2].CreateStockObject(NULL_BRUSH);
    }
};

} // namespace

TEST_F(EmfPlayback, Lines) {
    check(
        [&](CDC& dc) {
            dc.MoveTo(2, 2);
            dc.LineTo(90, 7);
            dc.LineTo(40, 60);
            dc.SelectObject(&pens[0]);
            dc.LineTo(3, 30);
            dc.SelectStockObject(NULL_PEN);
            dc.LineTo(60, 30); // moves without drawing
            dc.SelectObject(&pens[2]);
            dc.LineTo(80, 50);
            dc.SelectObject(&pens[3]);
            const POINT zigzag[] = {{5, 50}, {15, 40}, {25, 55}, {35, 40}, {45, 62}};
            dc.Polyline(zigzag, 5);
            dc.SelectObject(&pens[1]);
            dc.MoveTo(70, 10);
            dc.LineTo(70, 10); // zero length
            dc.LineTo(-20, -40);
        },
        "lines");
}

TEST_F(EmfPlayback, PolygonsWithHolesClippedOut) {
    check(
        [&](CDC& dc) {
            // A clip region with a hole; the polygons beneath must show it.
            CRgn hole;
            hole.CreateRectRgn(30, 20, 50, 40);
            dc.ExtSelectClipRgn(&hole, RGN_DIFF);
            dc.SelectObject(&brushes[0]);
            const POINT ring[] = {{5, 5}, {85, 5}, {85, 58}, {5, 58}, {20, 15}, {70, 15}, {70, 48}, {20, 48}};
            const int counts[] = {4, 4};
            dc.PolyPolygon(ring, counts, 2);
            dc.SetPolyFillMode(WINDING);
            dc.SelectObject(&pens[2]);
            dc.SelectObject(&brushes[1]);
            const POINT star[] = {{48, 2}, {60, 60}, {10, 22}, {88, 22}, {36, 60}};
            dc.Polygon(star, 5);
            CRgn triangle;
            const POINT t[] = {{0, 63}, {95, 63}, {48, 30}};
            triangle.CreatePolygonRgn(t, 3, ALTERNATE);
            dc.ExtSelectClipRgn(&triangle, RGN_XOR);
            dc.SelectStockObject(NULL_PEN);
            dc.SelectStockObject(BLACK_BRUSH);
            dc.SetPolyFillMode(ALTERNATE);
            dc.PolyPolygon(ring, counts, 2);
            dc.SelectClipRgn(nullptr);
            dc.SelectObject(&pens[0]);
            const POINT far[] = {{-40000, 10}, {40000, 12}, {50, 70000}};
            dc.Polygon(far, 3); // 32-bit point records
        },
        "polygons");
}

TEST_F(EmfPlayback, ShapesPixelsAndFills) {
    // Random scenes cover most of this; these are the corner cases they rarely or never reach.
    check(
        [&](CDC& dc) {
            dc.Ellipse(2, 2, 30, 20);
            dc.SelectObject(&brushes[2]);
            dc.SelectObject(&pens[1]);
            dc.Rectangle(60, 30, 5, 60); // reversed corners
            dc.SelectStockObject(NULL_PEN);
            dc.SelectObject(&brushes[1]);
            dc.Rectangle(70, 2, 94, 20);
            dc.Ellipse(72, 40, 94, 62);
            dc.SelectObject(&pens[3]);
            dc.Rectangle(40, 50, 41, 51);
            dc.FillSolidRect(10, 10, 20, 8, RGB(1, 2, 3));
            dc.FillSolidRect(60, 40, -10, -10, RGB(100, 0, 100)); // reversed
            const RECT r{40, 30, 80, 36};
            dc.FillRect(&r, &brushes[1]);
            CRgn clip;
            clip.CreateRectRgn(0, 0, 50, 50);
            dc.SelectClipRgn(&clip);
            for (int i = 0; i < 10; ++i)
                dc.SetPixelV(45 + i, 45 + i, RGB(0, 0, i * 20)); // half of them clipped away
        },
        "shapes");
}

TEST_F(EmfPlayback, BitmapsWithEveryRop) {
    Sources src;
    check(
        [&](CDC& dc) {
            dc.FillSolidRect(0, 0, 48, 32, RGB(0x55, 0xAA, 0x0F));
            int x = 0;
            for (const DWORD rop : {SRCCOPY, SRCAND, SRCINVERT, SRCPAINT}) {
                dc.BitBlt(x, 2, 12, 9, &src.colour, 0, 0, rop);
                dc.BitBlt(x, 14, 10, 7, &src.colour, 2, 1, rop); // an inner block
                x += 13;
            }
            dc.BitBlt(60, 0, 20, 20, nullptr, 0, 0, DSTINVERT);
            dc.BitBlt(0, 40, 8, 8, nullptr, 0, 0, BLACKNESS);
            dc.BitBlt(8, 40, 8, 8, nullptr, 0, 0, WHITENESS);
            // Monochrome sources take this DC's text colour for 0 and background colour for 1.
            dc.SetTextColor(RGB(200, 0, 0));
            dc.SetBkColor(RGB(0, 0, 200));
            dc.BitBlt(20, 40, 12, 9, &src.mono, 0, 0, SRCCOPY);
            dc.BitBlt(40, 40, 12, 9, &src.mono, 0, 0, SRCAND);
            dc.BitBlt(85, 55, 30, 30, &src.colour, -3, -2, SRCCOPY); // partly outside both bitmaps
        },
        "bitmaps");
}

TEST_F(EmfPlayback, SavedStatesAndClips) {
    check(
        [&](CDC& dc) {
            dc.SelectObject(&pens[2]);
            dc.SelectObject(&brushes[0]);
            const int level = dc.SaveDC();
            CRgn band;
            band.CreateRectRgn(0, 20, 96, 40);
            dc.SelectClipRgn(&band);
            dc.SelectObject(&pens[0]);
            dc.SelectObject(&brushes[1]);
            dc.SetBkColor(RGB(9, 9, 9));
            dc.Ellipse(10, 5, 80, 60);
            dc.RestoreDC(level);
            dc.Rectangle(20, 10, 50, 55); // the outer pen and brush, no clip
            CRgn left;
            left.CreateRectRgn(0, 0, 40, 64);
            dc.ExtSelectClipRgn(&left, RGN_AND);
            dc.Ellipse(30, 30, 90, 62);
        },
        "states");
}

TEST_F(EmfPlayback, RandomScenesMatch) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        check(
            [&](CDC& dc) {
                std::mt19937 rng(seed);
                const auto coord = [&](int limit) { return int(rng() % unsigned(limit + 40)) - 20; };
                for (int i = 0; i < 60; ++i) {
                    switch (rng() % 8) {
                    case 0:
                        dc.SelectObject(&pens[rng() % 4]);
                        break;
                    case 1:
                        dc.SelectObject(&brushes[rng() % 3]);
                        break;
                    case 2:
                        dc.LineTo(coord(kWidth), coord(kHeight));
                        break;
                    case 3:
                        dc.Ellipse(coord(kWidth), coord(kHeight), coord(kWidth), coord(kHeight));
                        break;
                    case 4:
                        dc.Rectangle(coord(kWidth), coord(kHeight), coord(kWidth), coord(kHeight));
                        break;
                    case 5: {
                        POINT p[7];
                        for (POINT& q : p)
                            q = POINT{coord(kWidth), coord(kHeight)};
                        const int counts[] = {4, 3};
                        dc.SetPolyFillMode(rng() % 2 ? ALTERNATE : WINDING);
                        dc.PolyPolygon(p, counts, 2);
                        break;
                    }
                    case 6:
                        dc.SetPixelV(coord(kWidth), coord(kHeight), RGB(rng() % 256, rng() % 256, 0));
                        break;
                    default: {
                        CRgn r;
                        r.CreateRectRgn(coord(kWidth), coord(kHeight), coord(kWidth), coord(kHeight));
                        dc.ExtSelectClipRgn(&r, int(rng() % 5) + 1);
                    }
                    }
                }
            },
            "random_" + std::to_string(seed));
    }
}

TEST_F(EmfPlayback, RectPlacesTheFrame) {
    CMetaFileDC recorder;
    ASSERT_TRUE(recorder.CreateEnhanced(nullptr, nullptr, nullptr, nullptr));
    recorder.FillSolidRect(10, 20, 4, 2, RGB(0, 0, 0)); // bounds and frame: [10, 14) x [20, 22)
    const CEnhMetaFile mf = recorder.CloseEnhanced();
    ASSERT_FALSE(mf.isNull());

    Canvas same, doubled;
    const RECT frame{10, 20, 14, 22};
    ASSERT_TRUE(PlayEnhMetaFile(&same.dc, mf, &frame));
    EXPECT_EQ(same.dc.GetPixel(10, 20), RGB(0, 0, 0));
    EXPECT_EQ(same.dc.GetPixel(13, 21), RGB(0, 0, 0));
    EXPECT_EQ(same.dc.GetPixel(14, 21), kBackground);

    const RECT bigger{0, 0, 8, 4};
    ASSERT_TRUE(PlayEnhMetaFile(&doubled.dc, mf, &bigger));
    EXPECT_EQ(doubled.dc.GetPixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(doubled.dc.GetPixel(7, 3), RGB(0, 0, 0));
    EXPECT_EQ(doubled.dc.GetPixel(8, 3), kBackground);
    EXPECT_EQ(doubled.dc.GetPixel(7, 4), kBackground);
}

TEST_F(EmfPlayback, PlayingLeavesTheTargetStateAlone) {
    const CEnhMetaFile mf = check(
        [&](CDC& dc) {
            dc.SelectObject(&pens[2]);
            dc.SetBkColor(RGB(1, 1, 1));
            dc.LineTo(5, 5);
        },
        "state");
    Canvas target;
    target.dc.SelectObject(&pens[0]);
    target.dc.SetTextColor(RGB(7, 7, 7));
    target.dc.MoveTo(40, 41);
    ASSERT_TRUE(PlayEnhMetaFile(&target.dc, mf, nullptr));
    EXPECT_EQ(target.dc.GetCurrentPen(), &pens[0]);
    EXPECT_EQ(target.dc.GetTextColor(), RGB(7, 7, 7));
    EXPECT_EQ(target.dc.GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(target.dc.GetCurrentPosition(), CPoint(40, 41));
}

TEST(EmfPlayer, BadArgumentsAndDataFail) {
    CRasterDC dc;
    CEnhMetaFile none;
    EXPECT_FALSE(PlayEnhMetaFile(nullptr, none, nullptr));
    EXPECT_FALSE(PlayEnhMetaFile(&dc, none, nullptr)); // null DC and null metafile
    CMetaFileDC recorder;
    ASSERT_TRUE(recorder.CreateEnhanced(nullptr, nullptr, nullptr, nullptr));
    recorder.LineTo(3, 3);
    const CEnhMetaFile mf = recorder.CloseEnhanced();
    EXPECT_FALSE(PlayEnhMetaFile(&dc, mf, nullptr)); // dc not created
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    // Every truncation either is refused as a metafile or plays without its end record.
    for (std::size_t n = 0; n + 1 < mf.bytes().size(); ++n) {
        const CEnhMetaFile cut = CEnhMetaFile::fromBytes(mf.bytes().first(n));
        EXPECT_FALSE(PlayEnhMetaFile(&dc, cut, nullptr)) << n;
    }
}
