#include <gtest/gtest.h>

#include "image_pattern.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/ico_codec.h"

using namespace image_pattern;

namespace {

struct LoadedIcon {
    CBitmap color;
    CBitmap mask;
    bool load(const std::string& file, int w, int h) {
        return QOR::iconRead(color, mask, path(file).c_str(), w, h);
    }
    bool transparent(int x, int y) const { return mask.surface()->colorAt(x, y) == RGB(255, 255, 255); }
};

} // namespace

TEST(IcoCodec, EveryBitDepthKeepsColourAndMaskApart) {
    for (const int bpp : {1, 4, 8, 24, 32}) {
        LoadedIcon icon;
        ASSERT_TRUE(icon.load("ico/depth_" + std::to_string(bpp) + ".ico", 0, 0)) << bpp;
        ASSERT_EQ(icon.color.width(), 7);
        ASSERT_EQ(icon.color.height(), 5);
        ASSERT_EQ(icon.mask.bitsPerPixel(), 1);
        ASSERT_EQ(icon.mask.width(), 7);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                EXPECT_EQ(icon.color.surface()->colorAt(x, y), expected(bpp, x, y))
                    << bpp << " " << x << "," << y;
                EXPECT_EQ(icon.transparent(x, y), masked(x, y)) << bpp << " " << x << "," << y;
            }
    }
}

TEST(IcoCodec, AlphaAndPngImagesTakeTheirMaskFromAlpha) {
    for (const char* file : {"ico/alpha_32.ico", "ico/png.ico"}) {
        LoadedIcon icon;
        ASSERT_TRUE(icon.load(file, 0, 0)) << file;
        for (int y = 0; y < icon.color.height(); ++y)
            for (int x = 0; x < icon.color.width(); ++x) {
                EXPECT_EQ(icon.transparent(x, y), masked(x, y)) << file << " " << x << "," << y;
                EXPECT_EQ(icon.color.surface()->colorAt(x, y), trueColor(x, y)) << file;
            }
    }
}

TEST(IcoCodec, BestSizeIsChosenThenResampled) {
    struct Case {
        int w, h, nativeW, expectedColours;
    };
    // sizes.ico: 16 x 16 at 4 bits, 32 x 32 at 8 and at 1 bit, 48 x 48 at 24 bits.
    const Case cases[] = {{16, 16, 16, 4}, {32, 32, 32, 8}, {0, 0, 32, 8},     {40, 40, 48, 24},
                          {20, 20, 16, 4}, {24, 24, 32, 8}, {100, 100, 48, 24}};
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(QOR::detail::readFileBytes(path("ico/sizes.ico").c_str(), 1 << 20, bytes));
    for (const Case& c : cases) {
        QOR::detail::Icon picked;
        ASSERT_EQ(QOR::detail::decodeIco(bytes, c.w, c.h, picked), QOR::detail::Status::Ok);
        const int side = c.w ? c.w : c.nativeW;
        EXPECT_EQ(picked.color.width, side) << c.w;
        EXPECT_EQ(picked.mask.height, side) << c.w;
        // Resampling takes native pixel (x * native / side) for x; far from the origin the palette
        // index (x + 2y) tells the depths apart.
        const int x = side - 1, y = side / 2;
        EXPECT_EQ(picked.color.colorAt(x, y),
                  expected(c.expectedColours, x * c.nativeW / side, y * c.nativeW / side))
            << c.w;
    }
}

TEST(IcoCodec, MalformedFilesAreRefused) {
    for (const std::string& file : filesIn("ico/malformed")) {
        LoadedIcon icon;
        EXPECT_FALSE(icon.load(file, 0, 0)) << file;
        EXPECT_FALSE(icon.color.isCreated()) << file;
        EXPECT_FALSE(icon.mask.isCreated()) << file;
    }
}

TEST(IcoCodec, EveryTruncationOfAValidFileIsRefused) {
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(QOR::detail::readFileBytes(path("ico/depth_4.ico").c_str(), 1 << 20, bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        QOR::detail::Icon icon;
        EXPECT_NE(QOR::detail::decodeIco(std::span(bytes.data(), n), 0, 0, icon), QOR::detail::Status::Ok)
            << n;
    }
}

TEST(IcoCodec, BadArgumentsFail) {
    LoadedIcon icon;
    EXPECT_FALSE(icon.load("ico/depth_8.ico", -1, 16));
    EXPECT_FALSE(QOR::iconRead(icon.color, icon.mask, nullptr, 16, 16));
    ASSERT_TRUE(icon.load("ico/depth_8.ico", 16, 16));
    EXPECT_FALSE(icon.load("ico/depth_8.ico", 16, 16)); // bitmaps already created
}
