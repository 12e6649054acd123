#include <gtest/gtest.h>

#include "gdx/registry.h"
#include "gdx_test_util.h"

using namespace gdxtest;

namespace {

/// Every test starts and ends with an empty registry.
class Registry : public ::testing::Test {
protected:
    void SetUp() override { emptyRegistry(); }
    void TearDown() override { emptyRegistry(); }
    static void emptyRegistry() {
        for (int key = 1; key < 64; ++key)
            gdxMapRemoveAt(key);
    }
};

} // namespace

TEST_F(Registry, NewKeysFillTheFirstGap) {
    EXPECT_EQ(gdxMapKeyNew(), 1);
    EXPECT_EQ(gdxMapKeyNew(), 1); // reserves nothing
    CQorGDX gdx = plainList();
    gdxMapSetAt(1, gdx);
    gdxMapSetAt(2, gdx);
    gdxMapSetAt(4, gdx);
    EXPECT_EQ(gdxMapKeyNew(), 3);
    EXPECT_TRUE(gdxMapRemoveAt(1));
    EXPECT_EQ(gdxMapKeyNew(), 1);
}

TEST_F(Registry, StoresCopiesAndReplacesInPlace) {
    CQorGDX a = plainList();
    addPt(a, {1}, {1, 2, 3});
    CQorGDX b = plainList();
    addVl(b, {2}, square(0, 0, 1));
    addVl(b, {3}, square(0, 0, 1));
    gdxMapSetAt(5, a);
    CQorGDX* stored = getGdxFromMap(5);
    ASSERT_NE(stored, nullptr);
    EXPECT_NE(stored, &a);
    EXPECT_EQ(*stored, a);
    addPt(a, {9}, {});
    EXPECT_EQ(stored->lenGet(), 1); // a copy
    gdxMapSetAt(5, b);
    EXPECT_EQ(getGdxFromMap(5), stored); // the same entry, now holding b
    EXPECT_EQ(*stored, b);
    gdxMapSetAt(5, *stored); // storing an entry onto itself changes nothing
    EXPECT_EQ(*getGdxFromMap(5), b);
}

TEST_F(Registry, UnknownKeysGiveNullAndFalse) {
    CQorGDX gdx = plainList();
    gdxMapSetAt(3, gdx);
    EXPECT_FALSE(gdxMapRemoveAt(9));
    EXPECT_EQ(getGdxFromMap(9), nullptr);
    EXPECT_EQ(getGdxFromMap(-1), nullptr);
    EXPECT_NE(getGdxFromMap(3), nullptr);
    EXPECT_TRUE(gdxMapRemoveAt(3));
    EXPECT_EQ(getGdxFromMap(3), nullptr);
    EXPECT_FALSE(gdxMapRemoveAt(3));
}
