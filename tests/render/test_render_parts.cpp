// A large list is drawn for the window by several threads at once; the picture must be the one a single
// pass over the list draws, pixel for pixel, however many threads share it.
#include <gtest/gtest.h>

#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"
#include "qor/render/render_p.h"
#include "tiled_demo.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

TEST(RenderParts, LargeListLooksAsDrawnInOnePass) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 30000, kWidth, kHeight));

    CBitmap single;
    ASSERT_TRUE(single.CreateBitmap(kWidth, kHeight, 1, 32, nullptr));
    CRasterDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&single);
    dc.SelectStockObject(NULL_PEN);
    dc.FillSolidRect(0, 0, kWidth, kHeight, gdx.backColorGet().oleColor() & 0xFFFFFF);
    QOR::renderItems(gdx, dc, kWidth, kHeight, QOR::RenderTarget::Window); // one pass on this thread
    dc.SelectObject(old);

    // More threads than this machine may have: they then take turns, and idle ones steal from the others.
    for (const unsigned threads : {2u, 3u, 4u}) {
        CBitmap parts;
        ASSERT_TRUE(QOR::render::paintToBitmap(&gdx, parts, kWidth, kHeight, threads));
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                differing += parts.surface()->colorAt(x, y) != single.surface()->colorAt(x, y);
        EXPECT_EQ(differing, 0) << threads << " threads";
    }
}

} // namespace
