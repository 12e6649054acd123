// Every glyph of the stroke font drawn by the window target at two sizes, compared pixel for pixel with a
// committed reference image. To regenerate it after an intended change of the font or the renderer, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_render --gtest_filter='FontReference.*'
// and open tests/data/render/font_glyphs.ref.png: every character must be legible at both sizes.
#include <gtest/gtest.h>

#include <string>

#include "qor/gdx/gdx.h"
#include "qor/render/render.h"
#include "reference_image.h"

namespace {

constexpr int kWidth = 960, kHeight = 420;

/// The characters of the font in code order.
std::wstring fontCharacters() {
    std::wstring s;
    for (wchar_t c = 0x21; c <= 0x7E; ++c)
        if (c != 0x60) s += c;
    s += L"±²³º¼½¾ÄäÖöÜüß";
    return s;
}

/// One text item per glyph, bottom-centred in cells of cell x (2 cap heights) pixels, rows from top,
/// followed by one line of running text. Model units are pixels (the view matrix only flips y).
double addSheet(CQorGDX& gdx, double top, double cap, double cell, int perRow, int id) {
    const std::wstring chars = fontCharacters();
    CQorMatrix3d scale;
    scale.setToScaling(cap);
    const double rowHeight = 2.0 * cap;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const int row = int(i) / perRow, col = int(i) % perRow;
        const CQorPoint3d at((col + 0.5) * cell / cap,
                             (kHeight - top - (row + 1) * rowHeight + 0.5 * cap) / cap, 0);
        const wchar_t text[2] = {chars[i], 0};
        gdx.imageTxt(CQorArrayTempl<int>{id, int(i)}, 0, text, CQorColor(250), scale, L"BC", at,
                     CQorPoint3d{});
    }
    const int rows = int(chars.size() + perRow - 1) / perRow;
    const double lineTop = top + rows * rowHeight;
    gdx.imageTxt(CQorArrayTempl<int>{id, 1000}, 0, L"Prüfmaß 12,5±0,1 Größe ½\"", CQorColor(5), scale, L"BL",
                 CQorPoint3d(0.5, (kHeight - lineTop - rowHeight + 0.5 * cap) / cap, 0), CQorPoint3d{});
    return lineTop + rowHeight;
}

TEST(FontReference, AllGlyphsAtTwoSizesMatchReferenceImage) {
    CQorGDX gdx(CQorColor(255), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
    const double below = addSheet(gdx, 0, 24, 40, 24, 1);
    addSheet(gdx, below + 4, 10, 20, 48, 2);
    CQorMatrix3d view;
    view.setCoordSystem(CQorPoint3d(0, kHeight, 0), CQorVector3d(1, 0, 0), CQorVector3d(0, -1, 0),
                        CQorVector3d(0, 0, 1));
    gdx.viewMtxSet(view);
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));

    expectMatchesReference(bitmap, "render", "font_glyphs");
}

} // namespace
