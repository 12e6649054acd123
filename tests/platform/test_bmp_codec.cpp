#include <gtest/gtest.h>

#include "image_pattern.h"
#include "qor/platform/bmp_codec.h"
#include "qor/platform/file_io_p.h"

using namespace image_pattern;

TEST(BmpCodec, EveryBitDepthDecodesToThePattern) {
    for (const int bpp : {1, 4, 8, 16, 24, 32}) {
        CBitmap bitmap;
        ASSERT_TRUE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_" + std::to_string(bpp) + ".bmp").c_str()))
            << bpp;
        ASSERT_EQ(bitmap.width(), 5);
        ASSERT_EQ(bitmap.height(), 3);
        ASSERT_EQ(bitmap.bitsPerPixel(), 32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(bitmap.surface()->colorAt(x, y), expected(bpp, x, y))
                    << bpp << " " << x << "," << y;
    }
}

TEST(BmpCodec, TopDownRowsKeepTheirOrder) {
    CBitmap bitmap;
    ASSERT_TRUE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_24_top_down.bmp").c_str()));
    EXPECT_EQ(bitmap.surface()->colorAt(0, 0), expected(24, 0, 0));
    EXPECT_EQ(bitmap.surface()->colorAt(4, 2), expected(24, 4, 2));
}

TEST(BmpCodec, RequestedSizeResamplesByNearestPixel) {
    CBitmap bitmap;
    ASSERT_TRUE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_24.bmp").c_str(), 10, 3));
    ASSERT_EQ(bitmap.width(), 10);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(bitmap.surface()->colorAt(x, 1), expected(24, x / 2, 1)) << x;
    CBitmap keepHeight;
    ASSERT_TRUE(QOR::bitmapReadBmp(keepHeight, path("bmp/pattern_24.bmp").c_str(), 0, 6));
    EXPECT_EQ(keepHeight.width(), 5);
    EXPECT_EQ(keepHeight.height(), 6);
}

TEST(BmpCodec, MalformedFilesAreRefused) {
    for (const std::string& file : filesIn("bmp/malformed")) {
        CBitmap bitmap;
        EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, path(file).c_str())) << file;
        EXPECT_FALSE(bitmap.isCreated()) << file;
    }
}

TEST(BmpCodec, BadArgumentsFail) {
    CBitmap bitmap;
    EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, nullptr));
    EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, L""));
    EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, path("bmp/no_such_file.bmp").c_str()));
    EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_8.bmp").c_str(), -1, 4));
    ASSERT_TRUE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_8.bmp").c_str()));
    EXPECT_FALSE(QOR::bitmapReadBmp(bitmap, path("bmp/pattern_8.bmp").c_str())); // already created
}

TEST(BmpCodec, EveryTruncationOfAValidFileIsRefused) {
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(QOR::detail::readFileBytes(path("bmp/pattern_4.bmp").c_str(), 1 << 20, bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        QOR::detail::Surface surface;
        EXPECT_NE(QOR::detail::decodeBmp(std::span(bytes.data(), n), surface), QOR::detail::Status::Ok) << n;
    }
}
