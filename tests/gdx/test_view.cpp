#include <gtest/gtest.h>

#include "gdx_test_util.h"
#include "qor/kernel/geom/view_matrix.h"

using namespace gdxtest;

TEST(GetViewMtx, FitsTheLargerRelativeSideAndCentresTheOther) {
    const CQorMatrix3d m = getViewMtx({0, 0, 0}, {100, 50, 0}, 240, 320, 0.05);
    const double s = 320.0 / 110.0;
    EXPECT_NEAR(m.entry[0][0], s, 1e-12);
    EXPECT_NEAR(m.entry[1][1], -s, 1e-12);
    const CQorPoint3d corner = m * CQorPoint3d(-5, -16.25, 0);
    EXPECT_NEAR(corner.x, 0.0, 1e-9);
    EXPECT_NEAR(corner.y, 240.0, 1e-9); // with the scale, the box's centre lands on the window's
}

TEST(GetViewMtx, TallBoxFillsTheHeight) {
    const CQorMatrix3d m = getViewMtx({0, 0, 0}, {10, 100, 0}, 200, 400, 0.0);
    const CQorPoint3d top = m * CQorPoint3d(5, 100, 0);
    const CQorPoint3d bottom = m * CQorPoint3d(5, 0, 0);
    EXPECT_NEAR(top.y, 0.0, 1e-9);
    EXPECT_NEAR(bottom.y, 200.0, 1e-9);
    EXPECT_NEAR(top.x, 200.0, 1e-9);
}

TEST(GetViewMtx, DegenerateBoxesGiveTheIdentityAndZeroSizesDefault) {
    EXPECT_TRUE(getViewMtx({3, 3, 0}, {3, 3, 0}, 100, 100, 0.05).isEqualTo(CQorMatrix3d{}, 0.0));
    EXPECT_TRUE(getViewMtx({0, 0, 0}, {NAN, 5, 0}, 100, 100, 0.05).isEqualTo(CQorMatrix3d{}, 0.0));
    EXPECT_TRUE(getViewMtx({5, 5, 0}, {0, 0, 0}, 100, 100, 0.0).isEqualTo(CQorMatrix3d{}, 0.0));
    const CQorMatrix3d m = getViewMtx({0, 0, 0}, {320, 240, 0}, 0, 0, 0.0);
    const CQorPoint3d p = m * CQorPoint3d(320, 0, 0);
    EXPECT_NEAR(p.x, 320.0, 1e-9);
    EXPECT_NEAR(p.y, 240.0, 1e-9);
}

TEST(ViewDirection, NamesMapToTheirVectors) {
    EXPECT_EQ(qor_gdx_view_vdir_get(L"P"), CQorVector3d(0, 0, 1));
    EXPECT_EQ(qor_gdx_view_vdir_get(L"O"), CQorVector3d(-1, 0, 0));
    EXPECT_EQ(qor_gdx_view_vdir_get(L"W"), CQorVector3d(1, 0, 0));
    EXPECT_EQ(qor_gdx_view_vdir_get(L"NO"), CQorVector3d(1, 1, 1));
    EXPECT_EQ(qor_gdx_view_vdir_get(L"SW"), CQorVector3d(-1, -1, 1));
    EXPECT_EQ(qor_gdx_view_vdir_get(L"p"), CQorVector3d());
    EXPECT_EQ(qor_gdx_view_vdir_get(L""), CQorVector3d());
}

TEST(ViewDirection, SetByNameRecomputesTheExtents) {
    CQorGDX gdx = plainList();
    addVl(gdx, {1}, segment({0, 0, 0}, {10, 0, 5}));
    EXPECT_FALSE(gdx.viewDirectionSet(L"X"));
    EXPECT_TRUE(gdx.viewDirectionMtxGet().isEqualTo(CQorMatrix3d{}, 0.0));
    EXPECT_TRUE(gdx.viewDirectionSet(L"S")); // front view: x stays right, z goes up
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_NEAR(hi.x, 10.0, 1e-12);
    EXPECT_NEAR(hi.y, 5.0, 1e-12);
    EXPECT_TRUE(gdx.viewDirectionSet(L"O"));
    EXPECT_TRUE(gdx.viewDirectionMtxGet().isEqualTo(QOR::g_mtx_view({-1, 0, 0}, {}, true), 0.0));
    gdx.viewDirectionHvcSet(CQorVector3d(0, 0, 1));
    EXPECT_TRUE(gdx.viewDirectionMtxGet().isEqualTo(CQorMatrix3d{}, 1e-15));
}

TEST(ViewMatrix, LooksFromTheGivenSide) {
    // Plan view keeps the model; the view direction points at the viewer, so it becomes +Z.
    EXPECT_TRUE(QOR::g_mtx_view({0, 0, 5}, {}, true).isEqualTo(CQorMatrix3d{}, 1e-15));
    const CQorMatrix3d iso = QOR::g_mtx_view({1, 1, 1}, {}, true);
    const CQorVector3d towardsViewer = iso * CQorVector3d(1, 1, 1).normal();
    EXPECT_NEAR(towardsViewer.z, 1.0, 1e-12);
    const CQorVector3d up = iso * CQorVector3d::kZAxis; // world Z shows upwards
    EXPECT_NEAR(up.x, 0.0, 1e-12);
    EXPECT_GT(up.y, 0.0);
    // The target goes to the origin; toView false is the inverse.
    const CQorPoint3d target(1, 2, 3);
    const CQorMatrix3d toView = QOR::g_mtx_view({0, -1, 0}, target, true);
    EXPECT_EQ(toView * target, CQorPoint3d());
    EXPECT_TRUE((QOR::g_mtx_view({0, -1, 0}, target, false) * toView).isEqualTo(CQorMatrix3d{}, 1e-12));
    EXPECT_TRUE(QOR::g_mtx_view({0, 0, 0}, target, true).isEqualTo(CQorMatrix3d{}, 0.0));
    EXPECT_TRUE(QOR::g_mtx_view({NAN, 0, 1}, target, true).isEqualTo(CQorMatrix3d{}, 0.0));
}

TEST(ViewBox, StandsInForTheExtentsOnceSet) {
    CQorGDX gdx = plainList();
    CQorPoint3d lo, hi;
    gdx.extMaxViewSet(); // empty extents: view box stays unset
    addVl(gdx, {1}, square(0, 0, 10));
    gdx.extMaxViewGet(lo, hi);
    EXPECT_EQ(hi, CQorPoint3d(10, 10, 0));
    gdx.extMaxViewSet({-1, -2, 0}, {3, 4, 0});
    addVl(gdx, {2}, square(100, 100, 10));
    gdx.extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CQorPoint3d(-1, -2, 0));
    EXPECT_EQ(hi, CQorPoint3d(3, 4, 0));
    gdx.extMaxViewSet();
    gdx.extMaxViewGet(lo, hi);
    EXPECT_EQ(hi, CQorPoint3d(110, 110, 0));
}

TEST(Extents, ProjectionCountsAndViewAndZoomDoNot) {
    CQorGDX gdx = plainList();
    addVl(gdx, {1}, square(0, 0, 10));
    CQorMatrix3d scale;
    scale.setToScaling(3.0);
    gdx.viewMtxSet(scale);
    gdx.zoomMtxSet(scale);
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(hi, CQorPoint3d(10, 10, 0));
    gdx.projMtxSet(scale);
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(hi, CQorPoint3d(30, 30, 0));
}

TEST(Extents, OfOneObjectMergeIntoTheCallersBox) {
    CQorGDX gdx = plainList();
    addVl(gdx, {1, 1}, square(0, 0, 10));
    addVl(gdx, {1, 2}, square(50, 0, 10), QOR::GdxItemNoExtents);
    gdx.imagePicture(path({2}), 0, L"x", 1, {}, {});
    addPt(gdx, {3}, {-5, -5, 0});
    CQorPoint3d lo(1e300, 1e300, 1e300), hi(-1e300, -1e300, -1e300);
    EXPECT_TRUE(gdx.extmaxGet(path({1}), lo, hi));
    EXPECT_EQ(lo, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(hi, CQorPoint3d(10, 10, 0));
    EXPECT_TRUE(gdx.extmaxGet(path({3}), lo, hi)); // merged, not reset
    EXPECT_EQ(lo, CQorPoint3d(-5, -5, 0));
    EXPECT_EQ(hi, CQorPoint3d(10, 10, 0));
    CQorPoint3d plo(7, 7, 7), phi(7, 7, 7);
    EXPECT_TRUE(gdx.extmaxGet(path({2}), plo, phi)); // a picture matches but adds nothing
    EXPECT_EQ(plo, CQorPoint3d(7, 7, 7));
    EXPECT_FALSE(gdx.extmaxGet(path({1, 2}), plo, phi));
    EXPECT_FALSE(gdx.extmaxGet(path({}), plo, phi));
}

TEST(Extents, NanAndHugeCoordinatesDoNotPoisonTheBox) {
    CQorGDX gdx = plainList();
    addPt(gdx, {1}, {1, 1, 1});
    addPt(gdx, {2}, {NAN, 2, 3}); // the matrix spreads the NaN over the whole point: it adds nothing
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(lo, CQorPoint3d(1, 1, 1));
    EXPECT_EQ(hi, CQorPoint3d(1, 1, 1));
    addPt(gdx, {3}, {-1e308, 2, 1e308});
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(lo.x, -1e308);
    EXPECT_EQ(hi.z, 1e308);
}
