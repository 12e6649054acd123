// Window-target pictures compared pixel for pixel with committed reference images
// (tests/data/render/*.ref.png). To regenerate them after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_render --gtest_filter='RenderReference.*'
// and open the images to review them before committing.
#include <gtest/gtest.h>

#include <filesystem>

#include "qor/gdx/gdx_json.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/resources.h"
#include "qor/render/render.h"
#include "reference_image.h"

namespace {

namespace fs = std::filesystem;
using Path = CQorArrayTempl<int>;

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
    expectMatchesReference(bitmap, "render", "demo_400x300");
}

// Pictures sit at device rectangles whatever the view, on top of the drawing, at the size asked for
// (system icons at their own size); icons show the back colour where they are transparent. A picture
// that cannot be made, or whose rectangle runs backwards, draws nothing.
TEST(RenderReference, PicturePlacement) {
    CQorGDX gdx(CQorColor(8), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
    CQorVertexArray diagonal;
    diagonal.append(CQorPoint3d(0, 0, 0), CQorPoint3d(120, 64, 0));
    gdx.imageVl(Path{1}, 0, diagonal, CQorColor(2), CQorMatrix3d(), {}, 1.0, 3, {});
    const std::string bmp = std::string(QOR_TEST_DATA_DIR) + "/bmp/pattern_24.bmp";
    const auto picture = [&](const wchar_t* name, int number, double x0, double y0, double x1, double y1) {
        gdx.imagePicture(Path{2}, 0, name, number, CQorPoint3d(x0, y0, 0), CQorPoint3d(x1, y1, 0));
    };
    picture(nullptr, 2000, 4, 4, 36, 36);                            // library icon, 32 x 32
    picture(nullptr, 2000, 40, 4, 56.9, 20.9);                       // 16 x 16: sizes truncate
    picture(nullptr, IDI_APPLICATION, 60, 4, 70, 14);                // system icon: its own size
    picture(CQorString::fromUtf8(bmp).c_str(), 0, 4, 40, 34, 60);    // bitmap stretched to 30 x 20
    picture(CQorString::fromUtf8(bmp).c_str(), 0, 110, 60, 100, 40); // backwards: nothing
    picture(L"no_such_picture.bmp", 0, 40, 40, 60, 60);              // missing: nothing
    gdx.projMtxSet(CQorMatrix3d());
    CQorMatrix3d zoom;
    zoom.setToScaling(0.5); // moves the line, not the pictures
    gdx.zoomMtxSet(zoom);
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, 120, 64));
    expectMatchesReference(bitmap, "render", "pictures_120x64");
}

} // namespace
