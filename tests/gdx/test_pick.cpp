#include <gtest/gtest.h>

#include "gdx_test_util.h"

using namespace gdxtest;

TEST(ImagePtWc, InvertsTheWholeChainOrGivesThePointBack) {
    CQorGDX gdx = plainList();
    gdx.viewMtxSet(getViewMtx({0, 0, 0}, {100, 50, 0}, 240, 320, 0.05));
    CQorMatrix3d zoom;
    zoom.setToScaling(1.2, {160, 120, 0});
    gdx.zoomMtxSet(zoom);
    gdx.viewDirectionSet(L"NO");
    const CQorPoint3d model(12, 34, 0);
    const CQorMatrix3d chain =
        gdx.zoomMtxGet() * gdx.viewMtxGet() * gdx.projMtxGet() * gdx.viewDirectionMtxGet();
    const CQorPoint3d back = gdx.imagePtWc(chain * model);
    EXPECT_NEAR(back.x, 12.0, 1e-9);
    EXPECT_NEAR(back.y, 34.0, 1e-9);

    // Without an inverse (the projection drops z) the point comes back as given.
    CQorMatrix3d flat;
    flat.entry[2][2] = 0.0;
    gdx.projMtxSet(flat);
    EXPECT_EQ(gdx.imagePtWc({3, 4, 5}), CQorPoint3d(3, 4, 5));
}

TEST(ImageItemGet, PointsHitUpToExactlyTheTolerance) {
    CQorGDX gdx = plainList();
    addPt(gdx, {7}, {0, 0, 0});
    EXPECT_EQ(gdx.imageItemGet({5.0, 0, 0}), 7);
    EXPECT_EQ(gdx.imageItemGet({3.0, 4.0, 0}), 7);
    EXPECT_EQ(gdx.imageItemGet({5.0001, 0, 0}), -1);
    EXPECT_EQ(plainList().imageItemGet({0, 0, 0}), -1);
}

TEST(ImageItemGet, SegmentsHitByTheirNearestPoint) {
    CQorGDX gdx = plainList();
    CQorMatrix3d move;
    move.setToTranslation({0, 100, 0});
    addVl(gdx, {3}, segment({0, 0, 0}, {100, 0, 0}), 0, move);
    EXPECT_EQ(gdx.imageItemGet({50, 105, 0}), 3);
    EXPECT_EQ(gdx.imageItemGet({-5, 100, 0}), 3); // beyond the end: distance to the end point
    EXPECT_EQ(gdx.imageItemGet({-5.0001, 100, 0}), -1);
    EXPECT_EQ(gdx.imageItemGet({50, 5, 0}), -1); // where it would be without its matrix
    addVl(gdx, {2}, segment({1, 1, 0}, {1, 1, 0}));
    EXPECT_EQ(gdx.imageItemGet({1, 1, 0}), -1); // zero length never hits
}

TEST(ImageItemGet, RegionsOnlyByTheirOuterBoundaryAndTextsNever) {
    CQorGDX gdx = plainList();
    addReg(gdx, {4}, {square(0, 0, 100), square(40, 40, 20)});
    CQorDisplayItem text;
    text.m_type = QorDisplayTxt;
    text.m_stack = path({9});
    text.m_strokes = {{square(40, 40, 20)}};
    gdx.addDisplayList({text});
    EXPECT_EQ(gdx.imageItemGet({50, 40, 0}), -1); // on the hole and the text only
    EXPECT_EQ(gdx.imageItemGet({50, 2, 0}), 4);
}

TEST(ImageItemGet, ReversesSoTheOtherOverlappingItemComesNext) {
    CQorGDX gdx = plainList();
    addVl(gdx, {1}, segment({0, 0, 0}, {10, 0, 0}));
    addVl(gdx, {2}, segment({0, 0, 0}, {10, 0, 0}), QOR::GdxItemHidden); // hidden items are picked too
    EXPECT_EQ(gdx.imageItemGet({5, 0, 0}), 2);
    EXPECT_EQ(gdx.getDisplayList()[0].m_stack[0], 2); // the list stays reversed
    EXPECT_EQ(gdx.imageItemGet({5, 0, 0}), 1);
    EXPECT_EQ(gdx.imageItemGet({5, 0, 0}), 2);
}

TEST(ImageItemGet, TopMostByDrawOrderWins) {
    CQorGDX gdx = plainList();
    addVl(gdx, {1}, segment({0, 0, 0}, {10, 0, 0}), QOR::GdxColorHighlight << 8);
    addReg(gdx, {2}, {segment({0, 0, 0}, {10, 0, 0})});
    addVl(gdx, {3}, segment({0, 0, 0}, {10, 0, 0}));
    gdx.imagePicture(path({4}), 0, L"pic", 1, {0, 0, 0}, {10, 10, 0});
    EXPECT_EQ(gdx.imageItemGet({5, 0, 0}), 1); // highlighted lines are drawn last
}

TEST(ImageItemGet, WorksInWindowPixels) {
    CQorGDX gdx = plainList();
    addPt(gdx, {6}, {50, 25, 0});
    gdx.viewMtxSet(getViewMtx({0, 0, 0}, {100, 50, 0}, 240, 320, 0.05));
    EXPECT_EQ(gdx.imageItemGet({160, 120, 0}), 6); // the window centre
    EXPECT_EQ(gdx.imageItemGet({0, 0, 0}), -1);
}
