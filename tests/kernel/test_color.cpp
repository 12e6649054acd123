#include <gtest/gtest.h>

#include "qor/kernel/base/color.h"

#include <cstdint>

namespace {

struct AcadRow {
    int index;
    int r, g, b;
};

std::uint32_t bgr(int r, int g, int b) {
    return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
}

} // namespace

TEST(AcadRgb, MatchesTheTellingRows) {
    const AcadRow rows[] = {
        {0, 0, 0, 0},       {1, 255, 0, 0},       {2, 255, 255, 0},     {3, 0, 255, 0},
        {4, 0, 255, 255},   {5, 0, 0, 255},       {6, 255, 0, 255},     {7, 255, 255, 255},
        {8, 127, 127, 127}, {9, 191, 191, 191},   {10, 255, 0, 0},      {11, 255, 127, 127},
        {12, 165, 0, 0},    {13, 165, 82, 82},    {19, 51, 25, 25},     {20, 255, 63, 0},
        {30, 255, 127, 0},  {60, 191, 255, 0},    {130, 0, 255, 255},   {249, 51, 25, 31},
        {250, 84, 84, 84},  {253, 187, 187, 187}, {255, 255, 255, 255}, {90, 0, 255, 0},
        {170, 0, 0, 255},   {210, 255, 0, 255}, // the hue wheel's sectors at 120, 240 and 300 degrees
    };
    for (const AcadRow& row : rows)
        EXPECT_EQ(acadRGB(row.index), bgr(row.r, row.g, row.b)) << "index " << row.index;
}

TEST(AcadRgb, OutOfRangeIsBlack) {
    EXPECT_EQ(acadRGB(-1), 0u);
    EXPECT_EQ(acadRGB(256), 0u);
    EXPECT_EQ(acadRGB(-2147483647 - 1), 0u);
}

TEST(QorColor, DefaultIsNoColourAndSmall) {
    CQorColor c;
    EXPECT_EQ(c.colorIndex(), -1);
    EXPECT_FALSE(c.hasTrueColor());
    EXPECT_EQ(c.oleColor(), 0u);
    EXPECT_STREQ(c.bookName(), L"");
    EXPECT_LE(sizeof(CQorColor), 16u);
}

TEST(QorColor, IndexGivesAcadRgbAndRejectsBadIndices) {
    CQorColor c;
    ASSERT_TRUE(c.setColorIndex(30));
    EXPECT_EQ(c.red(), 255);
    EXPECT_EQ(c.green(), 127);
    EXPECT_EQ(c.blue(), 0);
    EXPECT_FALSE(c.setColorIndex(256));
    EXPECT_FALSE(c.setColorIndex(-2));
    EXPECT_EQ(c.colorIndex(), 30);
    EXPECT_EQ(CQorColor(999).colorIndex(), -1);
}

TEST(QorColor, TrueColourLayouts) {
    CQorColor c(7);
    c.setColor(0x102030); // AutoCAD 0x00RRGGBB
    EXPECT_EQ(c.colorIndex(), 7);
    EXPECT_EQ(c.red(), 0x10);
    EXPECT_EQ(c.green(), 0x20);
    EXPECT_EQ(c.blue(), 0x30);
    EXPECT_EQ(c.oleColor(), 0x302010u);

    CQorColor ole;
    ole.setOleColor(0xFF302010); // OLE flag byte ignored
    EXPECT_EQ(ole.oleColor(), 0x302010u);
    EXPECT_EQ(ole.red(), 0x10);
}

TEST(QorColor, TrueColourOnNoColourTakesNearestIndex) {
    CQorColor c;
    c.setOleColor(bgr(250, 2, 3));
    EXPECT_EQ(c.colorIndex(), 1);
    EXPECT_EQ(c.oleColor(), bgr(250, 2, 3));
    CQorColor grey;
    grey.setOleColor(bgr(128, 128, 128));
    EXPECT_EQ(grey.colorIndex(), 8);
}

TEST(QorColor, IndexDropsTrueColourAndNames) {
    CQorColor c(3);
    c.setColor(0x123456);
    ASSERT_TRUE(c.setNames(L"RAL CLASSIC", L"RAL 5010"));
    ASSERT_TRUE(c.setColorIndex(5));
    EXPECT_FALSE(c.hasTrueColor());
    EXPECT_STREQ(c.colorName(), L"");
    EXPECT_EQ(c.oleColor(), acadRGB(5));
}

TEST(QorColor, NamesCopyDeeplyAndCompare) {
    CQorColor a(1);
    ASSERT_TRUE(a.setNames(L"PANTONE", L"485 C"));
    CQorColor b(a);
    EXPECT_EQ(a, b);
    ASSERT_TRUE(a.setNames(L"PANTONE", L"Red 032 C"));
    EXPECT_STREQ(b.colorName(), L"485 C");
    EXPECT_FALSE(a == b);
    b = a;
    EXPECT_EQ(a, b);
    CQorColor moved(std::move(b));
    EXPECT_STREQ(moved.bookName(), L"PANTONE");
    ASSERT_TRUE(moved.setNames(nullptr, L""));
    EXPECT_STREQ(moved.bookName(), L"");
    EXPECT_EQ(moved, CQorColor(1));
}
