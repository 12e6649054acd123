#include <gtest/gtest.h>

#include "gdx_test_util.h"

#include <algorithm>
#include <random>

using namespace gdxtest;

namespace {

DWORD mode(int c) {
    return DWORD(c) << 8;
}

/// The top-level ids in list order.
std::vector<int> ids(const CQorGDX& gdx) {
    std::vector<int> out;
    for (const CQorDisplayItem& item : gdx.getDisplayList())
        out.push_back(item.m_stack[0]);
    return out;
}

/// An item of the given kind and colour mode; only the fields the sort looks at matter.
CQorDisplayItem item(QorDisplayObj type, int colorMode, int id) {
    CQorDisplayItem it;
    it.m_type = type;
    it.m_flags = mode(colorMode);
    it.m_stack = path({id});
    return it;
}

} // namespace

TEST(DisplListSort, IsStableAndCoversEveryClass) {
    CQorGDX gdx = plainList();
    gdx.addDisplayList({item(QorDisplayPicture, 1, 1), item(QorDisplayReg, 2, 2), item(QorDisplayVl, 1, 3),
                        item(QorDisplayReg, 5, 4), item(QorDisplayObj(0), 0, 5),
                        item(QorDisplayPicture, 2, 6), item(QorDisplayReg, 1, 7), item(QorDisplayVl, 15, 8),
                        item(QorDisplayReg, 0, 9), item(QorDisplayTxt, 2, 10), item(QorDisplayPt, 1, 11)});
    gdx.displListSort();
    // regions (4, 9) | others (5, 8) | REFER (2, 10) | HIGHLIGHT regions (7) | HIGHLIGHT others (3, 11) |
    // pictures (1, 6)
    EXPECT_EQ(ids(gdx), (std::vector<int>{4, 9, 5, 8, 2, 10, 7, 3, 11, 1, 6}));
}

TEST(DisplListSort, LeavesAnOrderedListUntouched) {
    CQorGDX gdx = plainList();
    gdx.addDisplayList({item(QorDisplayReg, 0, 1), item(QorDisplayVl, 0, 2), item(QorDisplayPicture, 0, 3)});
    const CQorDisplayItem* before = gdx.getDisplayList().data();
    gdx.displListSort();
    EXPECT_EQ(gdx.getDisplayList().data(), before); // not rebuilt
    EXPECT_EQ(ids(gdx), (std::vector<int>{1, 2, 3}));
}

TEST(DisplListSort, MatchesAStableSortByClassOnRandomLists) {
    const QorDisplayObj kinds[] = {QorDisplayObj(0), QorDisplayVl,  QorDisplayPt,
                                   QorDisplayReg,    QorDisplayTxt, QorDisplayPicture};
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        CQorArrayTempl<CQorDisplayItem> items;
        std::vector<std::pair<int, int>> expected; // (class, id)
        for (int id = 0; id < 300; ++id) {
            const QorDisplayObj kind = kinds[random() % 6];
            const int c = int(random() % 16);
            items.append(item(kind, c, id));
            const int cls = kind == QorDisplayPicture ? 5
                            : c == 2                  ? 2
                            : c == 1                  ? (kind == QorDisplayReg ? 3 : 4)
                                                      : (kind == QorDisplayReg ? 0 : 1);
            expected.emplace_back(cls, id);
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        CQorGDX gdx = plainList();
        gdx.addDisplayList(items);
        gdx.displListSort();
        std::vector<int> want;
        for (const auto& e : expected)
            want.push_back(e.second);
        ASSERT_EQ(ids(gdx), want);
    }
}

TEST(DisplListSort, SortsAgainWhateverChangedTheClassOfAnItem) {
    // A list found in order is not read through again until its items change: each change below must
    // still be sorted.
    OpenGdx gdx;
    gdx.addDisplayList({item(QorDisplayReg, 0, 1), item(QorDisplayVl, 0, 2), item(QorDisplayVl, 0, 3)});
    gdx.displListSort();
    gdx.displListSort();
    ASSERT_TRUE(gdx.cModeSet(path({2}), QOR::GdxColorHighlight));
    gdx.displListSort();
    EXPECT_EQ(ids(gdx), (std::vector<int>{1, 3, 2}));
    gdx.cFlagSet(0, QOR::GdxColorRefer); // the region, now above the plain polyline
    gdx.displListSort();
    EXPECT_EQ(ids(gdx), (std::vector<int>{3, 1, 2}));
    CQorGDX copy = gdx; // sorted with its source
    copy.addDisplayList({item(QorDisplayReg, 0, 4)});
    copy.displListSort();
    EXPECT_EQ(ids(copy), (std::vector<int>{4, 3, 1, 2}));
}
