// A large list is drawn for the window in two parts at once; the picture must be the one a single pass
// over the list draws, pixel for pixel.
#include <gtest/gtest.h>

#include "platform/raster/raster_dc.h"
#include "render/render.h"
#include "tiled_demo.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

TEST(RenderParts, LargeListLooksAsDrawnInOnePass) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 30000, kWidth, kHeight));
    CBitmap parts;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, parts, kWidth, kHeight));

    CBitmap single;
    ASSERT_TRUE(single.CreateBitmap(kWidth, kHeight, 1, 32, nullptr));
    CRasterDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&single);
    dc.SelectStockObject(NULL_PEN);
    dc.FillSolidRect(0, 0, kWidth, kHeight, gdx.backColorGet().oleColor() & 0xFFFFFF);
    QOR::renderItems(gdx, dc, kWidth, kHeight, QOR::RenderTarget::Window); // one pass on this thread
    dc.SelectObject(old);

    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            differing += parts.surface()->colorAt(x, y) != single.surface()->colorAt(x, y);
    EXPECT_EQ(differing, 0);
}

} // namespace
