#include <gtest/gtest.h>

#include "qor/kernel/data/data_color.h"

TEST(DataColor, IndexOnlyColoursAreBareInts) {
    CQorDataItem root;
    ASSERT_TRUE(QOR::dataItemSet(&root, L"HIGHLIGHT", CQorColor(1)));
    int index = 0;
    EXPECT_TRUE(root.get(index, L"HIGHLIGHT"));
    EXPECT_EQ(index, 1);
    CQorColor read;
    EXPECT_TRUE(QOR::dataItemGet(&root, L"HIGHLIGHT", read));
    EXPECT_EQ(read, CQorColor(1));
}

TEST(DataColor, TrueColourAndNamesRoundTripThroughADirectory) {
    CQorColor color(5);
    color.setColor(0x123456);
    ASSERT_TRUE(color.setNames(L"RAL CLASSIC", L"RAL 5015"));
    CQorDataItem root;
    ASSERT_TRUE(QOR::dataItemSet(&root, L"BACK", color));
    EXPECT_TRUE(root.getItem(L"BACK")->isDir());
    CQorColor read;
    ASSERT_TRUE(QOR::dataItemGet(&root, L"BACK", read));
    EXPECT_EQ(read, color);
    EXPECT_EQ(read.oleColor(), 0x563412u);

    // Overwriting with a plain index leaves no stale true colour behind, also in place.
    ASSERT_TRUE(QOR::dataItemSet(root.getItem(L"BACK"), {}, CQorColor(3)));
    ASSERT_TRUE(QOR::dataItemGet(&root, L"BACK", read));
    EXPECT_FALSE(read.hasTrueColor());
    EXPECT_EQ(read.colorIndex(), 3);
}

TEST(DataColor, TrueColourAsDecimalTextAndBadEntries) {
    CQorDataItem root;
    CQorDataItem* entry = root.makeDir(L"C");
    ASSERT_NE(entry, nullptr);
    entry->set(7, L"COLOR");
    entry->set(L"1193046", L"RGB"); // 0x123456
    CQorColor read;
    ASSERT_TRUE(QOR::dataItemGet(&root, L"C", read));
    EXPECT_EQ(read.oleColor(), 0x563412u);

    root.set(L"red", L"TEXT");
    CQorColor untouched(2);
    EXPECT_FALSE(QOR::dataItemGet(&root, L"TEXT", untouched));
    EXPECT_FALSE(QOR::dataItemGet(&root, L"MISSING", untouched));
    EXPECT_FALSE(QOR::dataItemGet(nullptr, L"C", untouched));
    EXPECT_FALSE(QOR::dataItemSet(nullptr, L"C", untouched));
    EXPECT_EQ(untouched, CQorColor(2));
}
