// The bundled demo drawing rendered in the window target, compared pixel for pixel with a committed
// reference image. To regenerate it after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_render --gtest_filter='RenderReference.*'
// and open tests/data/render/demo_400x300.ref.png to review it before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gdx/gdx_json.h"
#include "kernel/file_find.h"
#include "platform/png_codec.h"
#include "render/render.h"

namespace {

namespace fs = std::filesystem;

TEST(RenderReference, DemoMatchesReferenceImage) {
    constexpr int kWidth = 400, kHeight = 300;
    CQorGDX gdx;
    const fs::path demo = fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    std::string error;
    ASSERT_TRUE(QOR::gdxReadJsonFile(gdx, demo, &error)) << error;
    // As qor-render draws it: the extents fitted to the picture.
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet()));
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));

    const fs::path ref = fs::path(QOR_TEST_DATA_DIR) / "render" / "demo_400x300.ref.png";
    if (std::getenv("QOR_UPDATE_REFERENCES")) {
        fs::create_directories(ref.parent_path());
        ASSERT_TRUE(QOR::bitmapWritePng(bitmap, ref.wstring().c_str()));
        GTEST_SKIP() << "reference written: " << ref;
    }
    CBitmap expected;
    ASSERT_TRUE(QOR::bitmapReadPng(expected, ref.wstring().c_str())) << ref;
    ASSERT_EQ(expected.width(), kWidth);
    ASSERT_EQ(expected.height(), kHeight);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            differing += expected.surface()->colorAt(x, y) != bitmap.surface()->colorAt(x, y);
    if (differing) {
        const fs::path actual = fs::temp_directory_path() / "demo_400x300.actual.png";
        QOR::bitmapWritePng(bitmap, actual.wstring().c_str());
        ADD_FAILURE() << differing << " pixels differ; this run's image: " << actual;
    }
}

} // namespace
