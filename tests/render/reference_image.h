// Pictures compared pixel for pixel with committed reference images tests/data/<folder>/<name>.ref.png.
// With QOR_UPDATE_REFERENCES set the reference is written instead and the test skips: open the images
// and review them before committing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "qor/platform/bitmap.h"
#include "qor/platform/png_codec.h"

/// Expects bitmap to equal the reference of folder/name; a differing run leaves its picture in the
/// temporary folder as <name>.actual.png.
inline void expectMatchesReference(const CBitmap& bitmap, const std::string& folder,
                                   const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path ref = fs::path(QOR_TEST_DATA_DIR) / folder / (name + ".ref.png");
    if (std::getenv("QOR_UPDATE_REFERENCES")) {
        fs::create_directories(ref.parent_path());
        ASSERT_TRUE(QOR::bitmapWritePng(bitmap, ref.wstring().c_str()));
        GTEST_SKIP() << "reference written: " << ref;
    }
    CBitmap expected;
    ASSERT_TRUE(QOR::bitmapReadPng(expected, ref.wstring().c_str())) << ref;
    ASSERT_EQ(expected.width(), bitmap.width());
    ASSERT_EQ(expected.height(), bitmap.height());
    int differing = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            differing += expected.surface()->colorAt(x, y) != bitmap.surface()->colorAt(x, y);
    if (differing) {
        const fs::path actual = fs::temp_directory_path() / (name + ".actual.png");
        QOR::bitmapWritePng(bitmap, actual.wstring().c_str());
        ADD_FAILURE() << differing << " pixels differ; this run's image: " << actual;
    }
}
