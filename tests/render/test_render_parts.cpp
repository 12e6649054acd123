// A large list is drawn for the window in two parts at once; the picture must be the one a single pass
// over the list draws, pixel for pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "gdx/gdx_json.h"
#include "kernel/file_find.h"
#include "platform/raster/raster_dc.h"
#include "render/render.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320, kHeight = 240;

/// The demo drawing repeated side by side until the list holds at least minItems items (every kind,
/// hatches and the picture included), fitted to the picture.
bool tiledDemo(CQorGDX& gdx, int minItems) {
    const fs::path demo = fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    if (!QOR::gdxReadJsonFile(gdx, demo)) return false;
    CQorPoint3d min, max;
    gdx.extmaxGet(min, max);
    const CQorArrayTempl<CQorDisplayItem> one = gdx.getDisplayList();
    int columns = 1;
    while (columns * columns * one.len() < minItems)
        ++columns;
    for (int n = 1; n < columns * columns; ++n) {
        CQorMatrix3d shift;
        shift.setToTranslation(
            CQorVector3d((max.x - min.x) * 1.1 * (n % columns), (max.y - min.y) * 1.1 * (n / columns), 0.0));
        CQorArrayTempl<CQorDisplayItem> copy = one;
        for (int i = 0; i < copy.len(); ++i)
            copy[i].m_mtx = shift * copy[i].m_mtx;
        if (!gdx.addDisplayList(copy)) return false;
    }
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet()));
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    return true;
}

TEST(RenderParts, LargeListLooksAsDrawnInOnePass) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 30000));
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
