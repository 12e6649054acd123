#include <filesystem>
#include <fstream>

#include "qor/platform/png_codec.h"
#include "raster_fixture.h"

namespace {

class PngFiles : public RasterFixture {
protected:
    void SetUp() override {
        RasterFixture::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("qor_png_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::wstring path(const char* name) const { return (dir / name).wstring(); }

    std::filesystem::path dir;
};

} // namespace

TEST_F(PngFiles, ColourRoundTripIsExact) {
    for (int x = 0; x < 24; ++x)
        dc.SetPixelV(x, x % 16, RGB(x * 10, 255 - x, x * 3));
    ASSERT_TRUE(QOR::bitmapWritePng(bitmap, path("c.png").c_str()));
    CBitmap back;
    ASSERT_TRUE(QOR::bitmapReadPng(back, path("c.png").c_str()));
    ASSERT_EQ(back.width(), 24);
    ASSERT_EQ(back.height(), 16);
    ASSERT_EQ(back.bitsPerPixel(), 32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(back.surface()->colorAt(x, y), bitmap.surface()->colorAt(x, y));
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(PngFiles, MonochromeStaysMonochrome) {
    make(13, 3, 1);
    dc.SetPixelV(12, 2, kBlack);
    dc.SetPixelV(0, 0, kBlack);
    ASSERT_TRUE(QOR::bitmapWritePng(bitmap, path("m.png").c_str()));
    CBitmap back;
    ASSERT_TRUE(QOR::bitmapReadPng(back, path("m.png").c_str()));
    EXPECT_EQ(back.bitsPerPixel(), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(back.surface()->colorAt(x, y), bitmap.surface()->colorAt(x, y));
}

TEST_F(PngFiles, BadFilesAndPathsFail) {
    CBitmap b;
    EXPECT_FALSE(QOR::bitmapReadPng(b, path("missing.png").c_str()));
    EXPECT_FALSE(QOR::bitmapReadPng(b, nullptr));
    std::ofstream(dir / "junk.png") << "not a png at all";
    EXPECT_FALSE(QOR::bitmapReadPng(b, path("junk.png").c_str()));
    // A real file cut short.
    ASSERT_TRUE(QOR::bitmapWritePng(bitmap, path("whole.png").c_str()));
    std::filesystem::resize_file(dir / "whole.png", 60);
    EXPECT_FALSE(QOR::bitmapReadPng(b, path("whole.png").c_str()));
    EXPECT_FALSE(b.isCreated());
    EXPECT_FALSE(QOR::bitmapWritePng(CBitmap(), path("none.png").c_str()));
    EXPECT_FALSE(QOR::bitmapWritePng(bitmap, (dir / "no_such_dir" / "x.png").wstring().c_str()));
    // A failed write leaves an existing file as it was.
    ASSERT_TRUE(QOR::bitmapWritePng(bitmap, path("keep.png").c_str()));
    const auto size = std::filesystem::file_size(dir / "keep.png");
    EXPECT_FALSE(QOR::bitmapWritePng(CBitmap(), path("keep.png").c_str()));
    EXPECT_EQ(std::filesystem::file_size(dir / "keep.png"), size);
}
