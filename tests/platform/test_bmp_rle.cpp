#include <gtest/gtest.h>

#include "image_pattern.h"
#include "qor/platform/bmp_codec.h"
#include "qor/platform/file_io_p.h"

// Run-length files are checked against an uncompressed twin written from the same pixels
// (tools/make_image_fixtures.py); their malformed relatives sit in bmp/malformed with the others, which
// test_bmp_codec.cpp refuses one by one.

using namespace image_pattern;
using QOR::detail::Status;

namespace {

std::vector<unsigned char> fileBytes(const std::string& file) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(QOR::detail::readFileBytes(path(file).c_str(), 1 << 20, bytes)) << file;
    return bytes;
}

} // namespace

TEST(BmpRle, DecodesToThePixelsOfItsUncompressedTwin) {
    // rle8_delta leaves pixels unwritten (index 0, not black); magick_rle8 comes from another encoder.
    for (const char* name : {"rle8", "rle4", "rle8_delta", "magick_rle8"}) {
        CBitmap rle, plain;
        ASSERT_TRUE(QOR::bitmapReadBmp(rle, path("bmp/" + std::string(name) + ".bmp").c_str())) << name;
        ASSERT_TRUE(QOR::bitmapReadBmp(plain, path("bmp/" + std::string(name) + "_plain.bmp").c_str()))
            << name;
        ASSERT_EQ(rle.width(), plain.width()) << name;
        ASSERT_EQ(rle.height(), plain.height()) << name;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                ASSERT_EQ(rle.surface()->colorAt(x, y), plain.surface()->colorAt(x, y))
                    << name << " " << x << "," << y;
    }
}

TEST(BmpRle, MemoryBoundGrowsWithTheStream) {
    // Both files hold a stream of one end of bitmap: 4 MiB of pixels is allowed, one column more is not.
    QOR::detail::Surface blank;
    ASSERT_EQ(QOR::detail::decodeBmp(fileBytes("bmp/rle8_blank_1024.bmp"), blank), Status::Ok);
    ASSERT_EQ(blank.width, 1024);
    ASSERT_EQ(blank.height, 1024);
    for (const auto& [x, y] : {std::pair{0, 0}, {1023, 0}, {0, 1023}, {1023, 1023}, {512, 700}})
        EXPECT_EQ(blank.colorAt(x, y), paletteColor(1)) << x << "," << y; // palette entry 0
    QOR::detail::Surface refused;
    EXPECT_EQ(QOR::detail::decodeBmp(fileBytes("bmp/malformed/rle8_beyond_memory_bound.bmp"), refused),
              Status::TooLarge);
}

TEST(BmpRle, OnlyTheWholeStreamDecodes) {
    for (const char* file : {"bmp/rle4.bmp", "bmp/rle8_delta.bmp", "bmp/magick_rle8.bmp"}) {
        std::vector<unsigned char> bytes = fileBytes(file);
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            QOR::detail::Surface surface;
            ASSERT_NE(QOR::detail::decodeBmp(std::span(bytes.data(), n), surface), Status::Ok)
                << file << " " << n;
        }
        // What follows the end of bitmap is never read.
        bytes.insert(bytes.end(), {0, 200, 7});
        QOR::detail::Surface surface;
        EXPECT_EQ(QOR::detail::decodeBmp(bytes, surface), Status::Ok) << file;
    }
}
