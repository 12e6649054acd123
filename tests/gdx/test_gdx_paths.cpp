#include <gtest/gtest.h>

#include "gdx_test_util.h"

using namespace gdxtest;

namespace {

/// Items with paths [5], [5, 2], [6], [5, 3, 1], [] in that order.
class PathOps : public ::testing::Test {
protected:
    void SetUp() override {
        addVl(gdx, {5}, square(0, 0, 1));
        addVl(gdx, {5, 2}, square(10, 0, 1));
        addPt(gdx, {6}, {100, 100, 0});
        addVl(gdx, {5, 3, 1}, square(20, 0, 1));
        addPt(gdx, {}, {-100, 0, 0});
    }
    OpenGdx gdx;
};

} // namespace

TEST_F(PathOps, StackToItemNrFindsPrefixesInOrder) {
    EXPECT_EQ(gdx.StackToItemNr(path({5})), path({0, 1, 3}));
    EXPECT_EQ(gdx.StackToItemNr(path({5, 3})), path({3}));
    EXPECT_TRUE(gdx.StackToItemNr(path({})).isEmpty());
    EXPECT_TRUE(gdx.StackToItemNr(path({7})).isEmpty());
}

TEST_F(PathOps, StackGetReportsFreeIds) {
    EXPECT_EQ(gdx.stackGet(), 6);
    EXPECT_EQ(gdx.stackGet(path({5})), 3);
    EXPECT_EQ(gdx.stackGet(path({6})), 0); // only items carrying exactly [6]
    EXPECT_EQ(gdx.stackGet(path({5, 3})), 1);
    EXPECT_EQ(gdx.stackGet(path({9})), -1);
    EXPECT_EQ(plainList().stackGet(), 0);
}

TEST_F(PathOps, PropSetAppliesToTheWholeObjectAndRecomputesExtents) {
    EXPECT_TRUE(gdx.propSet(path({5}), 2));
    EXPECT_TRUE(gdx.flagGet(0) & QOR::GdxItemHidden);
    EXPECT_TRUE(gdx.flagGet(1) & QOR::GdxItemHidden);
    EXPECT_TRUE(gdx.flagGet(3) & QOR::GdxItemHidden);
    EXPECT_FALSE(gdx.flagGet(2) & QOR::GdxItemHidden);
    EXPECT_TRUE(gdx.propSet(path({6}), 4)); // out of the extents
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(hi, CQorPoint3d(21, 1, 0));
    EXPECT_TRUE(gdx.propSet(path({6}), 3));
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(hi, CQorPoint3d(100, 100, 0));
    EXPECT_FALSE(gdx.propSet(path({}), 2));
    EXPECT_FALSE(gdx.propSet(path({8}), 2));
    EXPECT_FALSE(plainList().propSet(path({5}), 2));
}

TEST_F(PathOps, FlagOperationsPairUp) {
    const DWORD bits[] = {0x04, 0x04, 0x08, 0x08, 0x10, 0x10, 0x20, 0x20, 0x40, 0x40};
    for (DWORD op = 1; op <= 10; ++op) {
        // Odd ops clear in the first two pairs and set in the other three.
        const bool sets = (op <= 4) ? op % 2 == 0 : op % 2 == 1;
        gdx.flagSet(2, sets ? op + (op <= 4 ? -1 : 1) : op + (op <= 4 ? 1 : -1)); // the opposite first
        gdx.flagSet(2, op);
        EXPECT_EQ((gdx.flagGet(2) & bits[op - 1]) != 0, sets) << "op " << op;
    }
    const DWORD before = gdx.flagGet(2);
    gdx.flagSet(2, 11);
    gdx.flagSet(2, 0);
    gdx.flagSet(99, 2);
    EXPECT_EQ(gdx.flagGet(2), before);
}

TEST_F(PathOps, RedrawWithAnEmptyPathTouchesEveryItem) {
    EXPECT_TRUE(gdx.redraw(path({}), 2));
    for (int i = 0; i < gdx.lenGet(); ++i)
        EXPECT_TRUE(gdx.flagGet(i) & QOR::GdxItemHidden);
    EXPECT_TRUE(gdx.redraw(path({42}), 1)); // nothing matched, still true
    EXPECT_FALSE(plainList().redraw(path({}), 1));
}

TEST_F(PathOps, CModeSetMasksTheModeAndClearsHighBits) {
    gdx.imageVl(path({7}), 0xFFFF00FF, square(0, 0, 1), CQorColor(1), CQorMatrix3d{}, {}, 1, 0, {});
    EXPECT_TRUE(gdx.cModeSet(path({7}), QOR::GdxColorMode(17)));
    EXPECT_EQ(gdx.flagGet(-1), 0x1FFu);
    EXPECT_EQ(QOR::gdxColorMode(gdx.flagGet(-1)), QOR::GdxColorHighlight);
    gdx.cFlagSet(0, QOR::GdxColorRefer);
    EXPECT_EQ(gdx.flagGet(0), 0x200u);
    EXPECT_FALSE(gdx.cModeSet(path({}), QOR::GdxColorRefer));
    EXPECT_FALSE(gdx.cModeSet(path({9}), QOR::GdxColorRefer));
}

TEST_F(PathOps, PointSettersNeedTheExactPathWhilePropSetTakesPrefixes) {
    gdx.imagePt(path({5, 2}), 0, {}, CQorColor(1), CQorMatrix3d{}, 0, 0, {});
    gdx.imagePt(path({5}), 0, {}, CQorColor(1), CQorMatrix3d{}, 0, 0, {});
    EXPECT_TRUE(gdx.pdModeSet(path({5}), DWORD(35)));
    EXPECT_TRUE(gdx.pdSizeSet(path({5}), 2.0));
    EXPECT_EQ(gdx.pdModeGet(-1), 35u);
    EXPECT_EQ(gdx.pdModeGet(-2), 0u);
    EXPECT_EQ(gdx.getDisplayList()[-1].m_pdSize, 2.0);
    EXPECT_EQ(gdx.getDisplayList()[-2].m_pdSize, 0.0);
    EXPECT_FALSE(gdx.pdModeSet(path({}), DWORD(1)));
    EXPECT_FALSE(gdx.pdSizeSet(path({5, 9}), 1.0));
}

TEST_F(PathOps, HatchSetCopiesIntoEveryItemUnderPath) {
    const QOR::CHatchProp hatch(L"ANSI31", 0.25, 3.0, true);
    EXPECT_TRUE(gdx.hatchSet(path({5}), hatch));
    QOR::CHatchProp read;
    EXPECT_TRUE(gdx.hatchGet(3, read));
    EXPECT_EQ(read, hatch);
    EXPECT_TRUE(gdx.hatchGet(2, read));
    EXPECT_EQ(read, QOR::CHatchProp());
    EXPECT_FALSE(gdx.hatchSet(path({}), hatch));
}

TEST_F(PathOps, MtxSetUsesTheShortestPathAsReference) {
    CQorMatrix3d place;
    place.setToRotation(0.5, CQorVector3d::kZAxis);
    place.entry[0][3] = 10;
    // The reference [5] has the identity: its parts take M directly.
    EXPECT_TRUE(gdx.mtxSet(path({5}), place));
    EXPECT_TRUE(gdx.mtxGet(0).isEqualTo(place, 1e-12));
    EXPECT_TRUE(gdx.mtxGet(1).isEqualTo(place, 1e-12));
    EXPECT_TRUE(gdx.mtxGet(3).isEqualTo(place, 1e-12));
    EXPECT_TRUE(gdx.mtxGet(2).isEqualTo(CQorMatrix3d{}, 0.0));
    // Moving again from a non-identity placement: the reference lands exactly on M, parts follow rigidly.
    CQorMatrix3d next;
    next.setToRotation(-1.2, CQorVector3d(1, 1, 1), CQorPoint3d(3, 4, 5));
    EXPECT_TRUE(gdx.mtxSet(path({5}), next));
    EXPECT_TRUE(gdx.mtxGet(0).isEqualTo(next, 1e-12));
    EXPECT_TRUE(gdx.mtxGet(3).isEqualTo(next, 1e-12));
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi)); // recomputed under the new matrices
    EXPECT_FALSE(gdx.mtxSet(path({}), next));
    EXPECT_FALSE(gdx.mtxSet(path({8}), next));
}

TEST(MtxSet, WithoutAnItemOfThePathsLengthTheLastIsReference) {
    CQorGDX gdx = plainList();
    CQorMatrix3d a, b;
    a.setToTranslation({1, 0, 0});
    b.setToRotation(1.0, CQorVector3d::kZAxis, CQorPoint3d(2, 0, 0));
    addVl(gdx, {5, 1}, square(0, 0, 1), 0, a);
    addVl(gdx, {5, 2}, square(0, 0, 1), 0, b);
    CQorMatrix3d target;
    target.setToTranslation({0, 7, 0});
    EXPECT_TRUE(gdx.mtxSet(path({5}), target));
    EXPECT_TRUE(gdx.mtxGet(1).isEqualTo(target, 1e-12));
    EXPECT_TRUE(gdx.mtxGet(0).isEqualTo(target * b.inverse() * a, 1e-12));
}

TEST_F(PathOps, RemovalKeepsTheOrderOfTheRest) {
    EXPECT_FALSE(gdx.removeItem(gdx.lenGet()));
    EXPECT_FALSE(gdx.removeItem(-1));
    EXPECT_FALSE(plainList().clear(path({1})));
    EXPECT_FALSE(gdx.clear(path({})));
    EXPECT_EQ(gdx.lenGet(), 5);
    EXPECT_TRUE(gdx.removeItemStack(path({5})));
    ASSERT_EQ(gdx.lenGet(), 2);
    EXPECT_EQ(gdx.typeGet(0), QorDisplayPt);
    EXPECT_EQ(gdx.typeGet(1), QorDisplayPt);
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(lo, CQorPoint3d(-100, 0, 0));
    EXPECT_FALSE(gdx.removeItemStack(path({5})));
    EXPECT_FALSE(gdx.clear(path({5})));
    EXPECT_TRUE(gdx.removeItem(0));
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(hi, CQorPoint3d(-100, 0, 0));
    EXPECT_TRUE(gdx.removeItem(0));
    EXPECT_FALSE(gdx.extmaxGet(lo, hi));
    EXPECT_FALSE(gdx.removeItem(0));
}
