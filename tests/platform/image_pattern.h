#pragma once

// The pattern every well-formed fixture of tests/data/bmp and tests/data/ico follows; the fixtures are
// written by tools/make_image_fixtures.py, which states the same rules.

#include <filesystem>
#include <string>
#include <vector>

#include "qor/platform/bitmap.h"

namespace image_pattern {

inline COLORREF paletteColor(int i) {
    return RGB(i * 37 % 256, i * 91 % 256, i * 13 % 256);
}
inline COLORREF trueColor(int x, int y) {
    return RGB(x * 40 % 256, y * 60 % 256, (x + y) * 25 % 256);
}
/// The colour of (x, y) in an image of the given bit depth.
inline COLORREF expected(int bpp, int x, int y) {
    if (bpp <= 8) return paletteColor((x + 2 * y) % (1 << bpp));
    const COLORREF c = trueColor(x, y);
    if (bpp != 16) return c;
    // Five bits per channel, scaled back to 0..255.
    const auto five = [](int v) { return (v >> 3) * 255 / 31; };
    return RGB(five(GetRValue(c)), five(GetGValue(c)), five(GetBValue(c)));
}
inline bool masked(int x, int y) {
    return (x + y) % 3 == 0;
}

inline std::wstring path(const std::string& relative) {
    const std::string full = std::string(QOR_TEST_DATA_DIR) + "/" + relative;
    return std::wstring(full.begin(), full.end());
}

inline std::vector<std::string> filesIn(const std::string& relativeDir) {
    std::vector<std::string> out;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(QOR_TEST_DATA_DIR) + "/" + relativeDir))
        out.push_back(relativeDir + "/" + e.path().filename().string());
    return out;
}

} // namespace image_pattern
