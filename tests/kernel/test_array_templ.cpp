#include <gtest/gtest.h>

#include "qor/kernel/base/array_templ.h"

#include <string>

TEST(ArrayTemplAccess, NegativeIndexCountsFromTheEnd) {
    CQorArrayTempl<int> a{10, 20, 30};
    EXPECT_EQ(a[-1], 30);
    EXPECT_EQ(a[-3], 10);
    EXPECT_EQ(a[-4], 30); // (3 - 4) mod 3 = 2
    EXPECT_EQ(a[-2147483647 - 1], a[(3 + (-2147483647 - 1) % 3) % 3]);
}

TEST(ArrayTemplAccess, NegativeIndexOnShortArraysIsZero) {
    CQorArrayTempl<int> one{7};
    EXPECT_EQ(one[-1], 7);
    EXPECT_EQ(one[-5], 7);
    CQorArrayTempl<int> empty;
    const auto& constEmpty = empty;
    EXPECT_EQ(constEmpty[-1], 0);
    EXPECT_EQ(empty.len(), 0);
    empty[-3] = 4; // writes index 0
    ASSERT_EQ(empty.len(), 1);
    EXPECT_EQ(empty[0], 4);
}

TEST(ArrayTemplAccess, ConstReadPastTheEndYieldsDefaultAndLeavesArray) {
    const CQorArrayTempl<std::string> a{"x"};
    EXPECT_EQ(a[1000000], "");
    EXPECT_EQ(a.len(), 1);
}

TEST(ArrayTemplAccess, WritePastTheEndGrowsWithDefaults) {
    CQorArrayTempl<double> a{1.0};
    a[3] = 4.0;
    ASSERT_EQ(a.len(), 4);
    EXPECT_EQ(a[1], 0.0);
    EXPECT_EQ(a[2], 0.0);
    EXPECT_EQ(a[3], 4.0);
}

TEST(ArrayTemplAccess, WildWriteIndexDoesNotGrow) {
    CQorArrayTempl<double> a{1.0};
    a[0x7FFFFFFF] = 9.0;
    EXPECT_EQ(a.len(), 1);
    a[0x7FFFFFFF] += 1.0; // the scratch element starts from the default each time
    EXPECT_EQ(a[0x7FFFFFFF], 0.0);
    EXPECT_EQ(a.len(), 1);
}

TEST(ArrayTemplGrowth, CapacityStartsAtEightAndDoubles) {
    CQorArrayTempl<int> a;
    EXPECT_EQ(a.capacity(), 0);
    a.append(1);
    EXPECT_EQ(a.capacity(), 8);
    for (int i = 0; i < 8; ++i)
        a.append(i);
    EXPECT_EQ(a.capacity(), 16);
    a[40] = 1;
    EXPECT_EQ(a.capacity(), 64);
    EXPECT_FALSE(a.setLogicalLength(-1));
    EXPECT_EQ(a.len(), 41);
}

TEST(ArrayTemplEdit, RemoveAtClipsToTheEnd) {
    CQorArrayTempl<int> a{1, 2, 3, 4, 5};
    EXPECT_TRUE(a.removeAt(1, 2));
    EXPECT_EQ(a, (CQorArrayTempl<int>{1, 4, 5}));
    EXPECT_TRUE(a.removeAt(-1, 10));
    EXPECT_EQ(a, (CQorArrayTempl<int>{1, 4}));
    EXPECT_FALSE(a.removeAt(2));
    EXPECT_FALSE(a.removeAt(0, 0));
    EXPECT_EQ(a.len(), 2);
}

TEST(ArrayTemplEdit, AppendSelfIndexOfRevertSort) {
    CQorArrayTempl<int> a{3, 1, 2};
    a += a;
    EXPECT_EQ(a, (CQorArrayTempl<int>{3, 1, 2, 3, 1, 2}));
    EXPECT_EQ(a.indexOf(2), 2);
    EXPECT_EQ(a.indexOf(2, 3), 5);
    EXPECT_EQ(a.indexOf(9), -1);
    a.revert();
    EXPECT_EQ(a, (CQorArrayTempl<int>{2, 1, 3, 2, 1, 3}));
    a.sort();
    EXPECT_EQ(a, (CQorArrayTempl<int>{1, 1, 2, 2, 3, 3}));
}

TEST(ArrayTemplCopy, CopiesAreDeep) {
    CQorArrayTempl<CQorArrayTempl<int>> nested;
    nested[1][2] = 5;
    CQorArrayTempl<CQorArrayTempl<int>> copy = nested;
    copy[1][2] = 6;
    EXPECT_EQ(nested[1][2], 5);
    EXPECT_EQ(copy[1].len(), 3);
}

TEST(ArrayTemplEdit, AppendingOwnElementSurvivesGrowth) {
    CQorArrayTempl<std::string> a;
    for (int i = 0; i < 8; ++i)
        a.append(std::string(40, char('a' + i)));
    ASSERT_EQ(a.len(), a.capacity()); // the next append moves the storage
    a.append(a[0]);
    EXPECT_EQ(a[8], std::string(40, 'a'));
}
