#include <gtest/gtest.h>

#include <filesystem>

#include "qor/platform/raster/raster_dc.h"
#include "qor/platform/resources.h"
#include "qor/render/picture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct Surface {
    CRasterDC dc;
    CBitmap bitmap;
    Surface(int w, int h, COLORREF fill) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(w, h, 1, 32, nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, fill);
        dc.SetBkColor(kWhite);
    }
    BITMAP info() const {
        BITMAP b{};
        bitmap.GetBitmap(&b);
        return b;
    }
};

CQorString dataPath(const char* relative) {
    return CQorString::fromUtf8(std::string(QOR_TEST_DATA_DIR) + "/" + relative);
}

} // namespace

TEST(PictureBkColor, MostFrequentSampleWinsAndTiesGoToTheSmallerColour) {
    Surface s(9, 7, kWhite);
    s.dc.SetPixelV(4, 3, kRed); // the centre
    BITMAP info = s.info();
    EXPECT_EQ(qor_gdx_picture_bkcolor_get(&s.dc, &info), kWhite);
    s.dc.SetPixelV(0, 6, kBlack);
    s.dc.SetPixelV(8, 6, kBlack); // two white, two black, one red
    EXPECT_EQ(qor_gdx_picture_bkcolor_get(&s.dc, &info), kBlack);
    s.dc.SetPixelV(0, 0, RGB(1, 1, 1));
    s.dc.SetPixelV(8, 0, RGB(2, 2, 2));
    s.dc.SetPixelV(8, 6, RGB(3, 3, 3)); // all five different: the smallest
    EXPECT_EQ(qor_gdx_picture_bkcolor_get(&s.dc, &info), kBlack);
    EXPECT_EQ(qor_gdx_picture_bkcolor_get(nullptr, &info), CLR_INVALID);
    EXPECT_EQ(qor_gdx_picture_bkcolor_get(&s.dc, nullptr), CLR_INVALID);
}

TEST(PictureTransparent, BackgroundPixelsKeepTheTarget) {
    Surface picture(6, 5, kWhite);
    picture.dc.FillSolidRect(2, 1, 2, 3, kRed);
    Surface target(20, 12, kBlue);
    target.dc.SetBkColor(RGB(9, 8, 7));
    target.dc.SetTextColor(RGB(1, 2, 3));
    qor_gdx_picture_transparent(&target.dc, 5, 4, 99, 99, &picture.bitmap);
    EXPECT_EQ(target.dc.GetPixel(5, 4), kBlue); // picture background
    EXPECT_EQ(target.dc.GetPixel(7, 5), kRed);  // picture content
    EXPECT_EQ(target.dc.GetPixel(8, 7), kRed);
    EXPECT_EQ(target.dc.GetPixel(9, 7), kBlue);  // right of the red block
    EXPECT_EQ(target.dc.GetPixel(11, 4), kBlue); // outside: its own size, not cx
    EXPECT_EQ(target.dc.GetBkColor(), RGB(9, 8, 7));
    EXPECT_EQ(target.dc.GetTextColor(), RGB(1, 2, 3));
    qor_gdx_picture_transparent(nullptr, 0, 0, 0, 0, &picture.bitmap); // nothing happens
    qor_gdx_picture_transparent(&target.dc, 0, 0, 0, 0, nullptr);
}

TEST(PictureLoad, SystemIconIsDrawnOnTheBackColour) {
    bool flag = true;
    const HBITMAP bitmap = qor_gdx_image_get_bitmap(CQorString(), IDI_APPLICATION, 100, 50, flag, kRed);
    ASSERT_TRUE(bitmap);
    EXPECT_FALSE(flag);
    EXPECT_EQ(bitmap->width(), 32); // the system icon size, whatever was asked for
    EXPECT_EQ(bitmap->height(), 32);
    EXPECT_EQ(bitmap->surface()->colorAt(0, 0), kRed);   // transparent corner
    EXPECT_NE(bitmap->surface()->colorAt(16, 20), kRed); // the window's body
}

TEST(PictureLoad, LibraryIconsTakeTheRequestedSize) {
    bool flag = true;
    const HBITMAP bitmap = qor_gdx_image_get_bitmap(CQorString(), 0x10000 + 2000, 16, 16, flag, kWhite);
    ASSERT_TRUE(bitmap); // the low 16 bits count
    EXPECT_EQ(bitmap->width(), 16);
    EXPECT_FALSE(qor_gdx_image_get_bitmap(CQorString(), 1234, 16, 16, flag, kWhite));
}

TEST(PictureLoad, FilesByExtensionInAnyCase) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qor_picture_tests";
    std::filesystem::create_directories(dir);
    const auto upper = dir / "PATTERN.BMP";
    std::filesystem::copy_file(std::string(QOR_TEST_DATA_DIR) + "/bmp/pattern_24.bmp", upper,
                               std::filesystem::copy_options::overwrite_existing);
    bool flag = true;
    const HBITMAP bmp = qor_gdx_image_get_bitmap(CQorString::fromUtf8(upper.string()), 0, 0, 0, flag, kWhite);
    ASSERT_TRUE(bmp);
    EXPECT_TRUE(flag); // only icons write it
    EXPECT_EQ(bmp->width(), 5);

    const HBITMAP icon = qor_gdx_image_get_bitmap(dataPath("ico/depth_8.ico"), 0, 14, 10, flag, kBlue);
    ASSERT_TRUE(icon);
    EXPECT_FALSE(flag);
    EXPECT_EQ(icon->width(), 14);
    EXPECT_EQ(icon->surface()->colorAt(0, 0), kBlue); // masked where (x + y) % 3 == 0

    EXPECT_FALSE(qor_gdx_image_get_bitmap(dataPath("png/scene_rgb.png"), 0, 0, 0, flag, kWhite));
    EXPECT_FALSE(qor_gdx_image_get_bitmap(dataPath("ico/no_such.ico"), 0, 0, 0, flag, kWhite));
    EXPECT_FALSE(qor_gdx_image_get_bitmap(dataPath("ico/malformed/type_3.ico"), 0, 0, 0, flag, kWhite));
}
