// The built-in stroke font: which characters it holds, how its table fills the map, and the shape rules
// every glyph keeps (closed straight loops, holes inside their outer outline, the glyph cell).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gdx_test_util.h"
#include "qor/gdx/stroke_font.h"
#include "qor/gdx/stroke_font_p.h"
#include "qor/kernel/geom/polyline_clip.h"

namespace {

using QOR::detail::fillStrokeFontMap;
using QOR::detail::kStrokeFont;
using QOR::detail::StrokeFontMap;
using QOR::detail::StrokeFontTable;

/// The characters the font holds, in the order of its eight builder routines.
std::wstring fontCharacters() {
    std::wstring s;
    for (wchar_t c = 0x21; c <= 0x7E; ++c)
        if (c != 0x60) s += c;
    return s + L"±²³º¼½¾ÄäÖöÜüß";
}

TEST(StrokeFont, HoldsExactlyItsCharactersInBuilderOrder) {
    StrokeFontMap map;
    EXPECT_EQ(fillStrokeFontMap(map, kStrokeFont), 107);
    EXPECT_EQ(map.len(), 107);
    for (wchar_t c : fontCharacters())
        EXPECT_TRUE(map.contains(c)) << int(c);

    // The table's codes follow the routines one by one.
    std::wstring order;
    for (std::size_t i = 0; i < kStrokeFont.layout.size();) {
        order += wchar_t(kStrokeFont.layout[i]);
        const int shapes = kStrokeFont.layout[i + 1];
        i += 2;
        for (int s = 0; s < shapes; ++s)
            i += 1 + std::size_t(kStrokeFont.layout[i]);
    }
    EXPECT_EQ(order, fontCharacters());
}

TEST(StrokeFont, PublicLookupCopiesGlyphsAndHasNoneForOtherCharacters) {
    EXPECT_FALSE(get_ascii_from_map(L'Ä').isEmpty());
    EXPECT_EQ(get_ascii_from_map(L'A').len(), 1); // one shape: outline with its counter
    EXPECT_EQ(get_ascii_from_map(L'A')[0].len(), 2);
    EXPECT_EQ(get_ascii_from_map(L'!').len(), 2); // bar and dot
    for (wchar_t none : {L' ', L'`', L'é', L'\0', L'\t', wchar_t(0x20AC)})
        EXPECT_TRUE(get_ascii_from_map(none).isEmpty()) << int(none);
    // A copy: changing it leaves the font alone.
    CQorStrokeGroups b = get_ascii_from_map(L'B');
    b[0][0].move({5, 0, 0});
    EXPECT_NE(b, get_ascii_from_map(L'B'));
}

TEST(StrokeFont, LaterDefinitionOfACharacterReplacesTheEarlierOne) {
    // Two routines, "[" defined by both: a triangle first, then a square.
    const int layout[] = {'[', 1, 1, 3, '[', 1, 1, 4, 'x', 1, 1, 3};
    const double points[] = {0, 0, 1, 0, 0, 1, /**/ 0, 0, 2, 0, 2, 2, 0, 2, /**/ 0, 0, 1, 0, 1, 1};
    const int routines[] = {1, 2};
    StrokeFontMap map;
    EXPECT_EQ(fillStrokeFontMap(map, StrokeFontTable{layout, points, routines}), 3);
    ASSERT_EQ(map.len(), 2);
    const CQorStrokeGroups* bracket = map.find(L'[');
    ASSERT_NE(bracket, nullptr);
    ASSERT_EQ((*bracket)[0][0].len(), 4);
    EXPECT_EQ((*bracket)[0][0][2].start, CQorPoint3d(2, 2, 0));
    EXPECT_TRUE((*bracket)[0][0].isClosed());
}

TEST(StrokeFont, MalformedTablesFailTheFill) {
    const double points[] = {0, 0, 1, 0, 0, 1};
    const int one[] = {1};
    struct Case {
        const char* what;
        std::vector<int> layout;
        std::vector<double> points;
        std::vector<int> routines;
    };
    const Case cases[] = {
        {"layout ends inside a glyph", {'a', 1, 1}, {points, points + 6}, {one, one + 1}},
        {"points run out", {'a', 1, 1, 4}, {points, points + 6}, {one, one + 1}},
        {"loop of two corners", {'a', 1, 1, 2}, {points, points + 4}, {one, one + 1}},
        {"glyph without shapes", {'a', 0}, {}, {one, one + 1}},
        {"routine past the layout", {'a', 1, 1, 3}, {points, points + 6}, {2}},
        {"negative routine", {'a', 1, 1, 3}, {points, points + 6}, {-1}},
    };
    for (const Case& c : cases) {
        StrokeFontMap map;
        EXPECT_EQ(fillStrokeFontMap(map, StrokeFontTable{c.layout, c.points, c.routines}), -1) << c.what;
    }
}

TEST(StrokeFont, EveryGlyphIsClosedStraightLoopsWithHolesInsideTheirOutline) {
    int segments = 0;
    for (wchar_t c : fontCharacters()) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << int(c));
        CQorStrokeGroups glyph = get_ascii_from_map(c);
        ASSERT_FALSE(glyph.isEmpty());
        for (CQorArrayTempl<CQorVertexArray>& group : glyph) {
            ASSERT_FALSE(group.isEmpty());
            for (CQorVertexArray& loop : group) {
                segments += loop.len();
                EXPECT_TRUE(loop.isClosed());
                EXPECT_FALSE(loop.hasArcs());
                for (const CQorVertex& v : loop) {
                    EXPECT_EQ(v.start.z, 0.0);
                    // Six decimals.
                    EXPECT_NEAR(v.start.x * 1e6, std::round(v.start.x * 1e6), 1e-6);
                    EXPECT_NEAR(v.start.y * 1e6, std::round(v.start.y * 1e6), 1e-6);
                }
                // Stored: outer outlines counter-clockwise, holes clockwise; either way a real area, so
                // turning it counter-clockwise as the layout does makes it so.
                const bool outer = &loop == group.data();
                EXPECT_EQ(QOR::g_vl_orient(loop, CQorVector3d::kZAxis), outer);
                if (!QOR::g_vl_orient(loop, CQorVector3d::kZAxis)) loop.revert();
                EXPECT_TRUE(QOR::g_vl_orient(loop, CQorVector3d::kZAxis));
            }
            const CQorArrayTempl<CQorVertexArray> outline{group[0]};
            for (int h = 1; h < group.len(); ++h) {
                for (const CQorVertex& v : std::as_const(group)[h])
                    EXPECT_GT(QOR::g_vll_pt_inside(outline, v.start), 0) << "hole " << h;
                CQorPoint3dArray crossings;
                EXPECT_EQ(group[0].intersectWith(group[h], crossings), 0) << "hole " << h;
            }
        }
    }
    // Coarse polygons: about 1 600 straight segments for the whole font.
    EXPECT_GT(segments, 1400);
    EXPECT_LT(segments, 1800);
}

TEST(StrokeFont, GlyphCellHasCapHeightOneOnTheBaseline) {
    for (wchar_t c : {L'H', L'E', L'I'}) {
        const gdxtest::Box b = gdxtest::strokeBox(get_ascii_from_map(c));
        EXPECT_EQ(b.lo.y, 0.0) << char(c);
        EXPECT_EQ(b.hi.y, 1.0) << char(c);
        EXPECT_GT(b.lo.x, 0.0) << char(c); // the left side bearing is kept
    }
    EXPECT_LT(gdxtest::strokeBox(get_ascii_from_map(L'p')).lo.y, -0.2); // descender below the baseline
    EXPECT_GT(gdxtest::strokeBox(get_ascii_from_map(L'Ä')).hi.y, 1.1);  // the dots above the capital
}

} // namespace
