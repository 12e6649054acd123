#include <gtest/gtest.h>

#include "gdx_test_util.h"

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

TEST(DisplListSort, PutsClassesInDrawOrder) {
    CQorGDX gdx = plainList();
    gdx.addDisplayList({item(QorDisplayTxt, 1, 1), item(QorDisplayReg, 0, 2), item(QorDisplayVl, 0, 3),
                        item(QorDisplayPicture, 0, 4), item(QorDisplayReg, 1, 5), item(QorDisplayPt, 2, 6)});
    gdx.displListSort();
    EXPECT_EQ(ids(gdx), (std::vector<int>{2, 3, 6, 5, 1, 4}));
}

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
    CQorGDX single = plainList();
    single.addDisplayList({item(QorDisplayPicture, 0, 1)});
    single.displListSort();
    EXPECT_EQ(single.lenGet(), 1);
}
