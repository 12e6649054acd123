// One drawing of every raster primitive, compared pixel for pixel with a committed reference image.
// To regenerate it after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_platform --gtest_filter='RasterReference.*'
// and open tests/data/platform/raster_scene.ref.png to review it before committing.

#include <cstdlib>
#include <filesystem>

#include "qor/platform/png_codec.h"
#include "raster_fixture.h"

namespace {

void drawScene(CDC& dc) {
    dc.FillSolidRect(0, 0, 160, 120, RGB(255, 255, 255));
    CPen thin(PS_SOLID, 1, RGB(0, 0, 0)), wide(PS_SOLID, 6, RGB(0, 90, 200)),
        even(PS_SOLID, 4, RGB(200, 0, 120));
    CBrush red(RGB(230, 40, 30)), green(RGB(40, 160, 60));
    // A fan of one-pixel lines in every octant.
    dc.SelectObject(&thin);
    for (int i = 0; i < 16; ++i) {
        static const int dx[16] = {20, 20, 20, 10, 0, -10, -20, -20, -20, -20, -20, -10, 0, 10, 20, 20};
        static const int dy[16] = {0, 10, 20, 20, 20, 20, 20, 10, 0, -10, -20, -20, -20, -20, -20, -10};
        dc.MoveTo(25, 25);
        dc.LineTo(25 + dx[i], 25 + dy[i]);
    }
    // Wide strokes with round joins.
    dc.SelectObject(&wide);
    const POINT zigzag[] = {{55, 10}, {75, 40}, {95, 12}, {115, 40}};
    dc.Polyline(zigzag, 4);
    dc.SelectObject(&even);
    dc.MoveTo(125, 10);
    dc.LineTo(150, 35);
    // A polygon with a hole, and a self-overlapping pair filled by winding.
    dc.SelectObject(&thin);
    dc.SelectObject(&red);
    const POINT holed[] = {{5, 55}, {45, 55}, {45, 95}, {5, 95}, {15, 65}, {35, 65}, {25, 85}};
    const int holedCounts[] = {4, 3};
    dc.PolyPolygon(holed, holedCounts, 2);
    dc.SetPolyFillMode(WINDING);
    const POINT star[] = {{70, 50}, {82, 90}, {50, 65}, {90, 65}, {58, 90}};
    dc.Polygon(star, 5);
    dc.SetPolyFillMode(ALTERNATE);
    dc.Polygon(star, 0); // rejected: nothing drawn
    // Rectangles and ellipses, with and without pen.
    dc.SelectObject(&green);
    dc.Rectangle(100, 50, 125, 70);
    dc.Ellipse(128, 50, 157, 75);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(100, 75, 125, 95);
    dc.Ellipse(128, 80, 140, 92);
    dc.SelectObject(&wide);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Ellipse(95, 98, 155, 118);
    // Clipping with a hole, then a monochrome mask drawn through it.
    CRgn area, hole;
    area.CreateRectRgn(5, 100, 90, 118);
    const POINT diamond[] = {{47, 100}, {57, 109}, {47, 118}, {37, 109}};
    hole.CreatePolygonRgn(diamond, 4, ALTERNATE);
    dc.SaveDC();
    dc.SelectClipRgn(&area);
    dc.ExtSelectClipRgn(&hole, RGN_DIFF);
    dc.FillSolidRect(0, 95, 160, 25, RGB(250, 200, 0));
    CRasterDC maskDc;
    maskDc.CreateCompatibleDC(&dc);
    CBitmap mask;
    const unsigned char bits[] = {0xF0, 0x00, 0xF0, 0x00, 0x0F, 0x00, 0x0F, 0x00};
    mask.CreateBitmap(8, 4, 1, 1, bits);
    maskDc.SelectObject(&mask);
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    for (int x = 8; x < 88; x += 8)
        dc.BitBlt(x, 106, 8, 4, &maskDc, 0, 0, SRCAND);
    dc.RestoreDC(-1);
    for (int x = 0; x < 160; x += 3)
        dc.SetPixelV(x, 119, RGB(0, 0, 0));
}

} // namespace

TEST(RasterReference, SceneMatchesReferenceImage) {
    CRasterDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(160, 120, 1, 32, nullptr));
    dc.SelectObject(&bitmap);
    drawScene(dc);
    const std::filesystem::path ref =
        std::filesystem::path(QOR_TEST_DATA_DIR) / "platform" / "raster_scene.ref.png";
    if (std::getenv("QOR_UPDATE_REFERENCES")) {
        std::filesystem::create_directories(ref.parent_path());
        ASSERT_TRUE(QOR::bitmapWritePng(bitmap, ref.wstring().c_str()));
        GTEST_SKIP() << "reference written: " << ref;
    }
    CBitmap expected;
    ASSERT_TRUE(QOR::bitmapReadPng(expected, ref.wstring().c_str())) << ref;
    ASSERT_EQ(expected.width(), 160);
    ASSERT_EQ(expected.height(), 120);
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            differing += expected.surface()->colorAt(x, y) != bitmap.surface()->colorAt(x, y);
    if (differing) {
        const auto actual = std::filesystem::temp_directory_path() / "raster_scene.actual.png";
        QOR::bitmapWritePng(bitmap, actual.wstring().c_str());
        ADD_FAILURE() << differing << " pixels differ; this run's image: " << actual;
    }
}
