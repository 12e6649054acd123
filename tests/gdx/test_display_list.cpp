#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "gdx_test_util.h"

using namespace gdxtest;

TEST(DisplayAdders, RegionStoresFillColourOnlyWhenFilled) {
    CQorGDX gdx = plainList();
    const CQorArrayTempl<CQorVertexArray> regions{square(0, 0, 10)};
    addReg(gdx, {1}, regions, QOR::GdxItemHatch, CQorColor()); // fill colour without index
    addReg(gdx, {2}, regions, QOR::GdxItemFill, CQorColor(5)); // its own fill colour
    addReg(gdx, {3}, regions, 0, CQorColor(5));                // not filled
    EXPECT_EQ(gdx.fcolorGet(0).colorIndex(), 3);               // the line colour
    EXPECT_EQ(gdx.fcolorGet(1).colorIndex(), 5);
    EXPECT_EQ(gdx.fcolorGet(2), CQorColor());
}

TEST(DisplayAdders, StoreFieldsAsGivenAndSolidLineForEmptyLinetype) {
    CQorGDX gdx = plainList();
    CQorMatrix3d mtx;
    mtx.setToTranslation({1, 2, 3});
    gdx.imageVl(path({4, 5}), 0x1234, square(0, 0, 1), CQorColor(6), mtx, {}, 2.5, 3, CQorPoint3d(9, 9, 9));
    gdx.imageVl(path({4}), QOR::GdxItemAnchored, square(0, 0, 1), CQorColor(6), mtx, {0.5, -0.25}, 1.0, 0,
                CQorPoint3d(9, 8, 7));
    EXPECT_EQ(gdx.linetypeGet(0), (CQorArrayTempl<double>{1.0}));
    EXPECT_EQ(gdx.linetypeGet(1), (CQorArrayTempl<double>{0.5, -0.25}));
    EXPECT_EQ(gdx.flagGet(0), 0x1234u);
    EXPECT_EQ(gdx.ltscaleGet(0), 2.5);
    EXPECT_EQ(gdx.thicknGet(0), 3);
    EXPECT_TRUE(gdx.mtxGet(0).isEqualTo(mtx, 0.0));
    CQorPoint3d anchor;
    gdx.geomGet(anchor, 0);
    EXPECT_EQ(anchor, CQorPoint3d()); // only anchored items keep their anchor
    gdx.geomGet(anchor, 1);
    EXPECT_EQ(anchor, CQorPoint3d(9, 8, 7));
    CQorVertexArray vl;
    gdx.geomGet(vl, 1);
    EXPECT_EQ(vl.len(), 4);
}

TEST(DisplayAdders, AnchoredPointCarriesAnchorVertex) {
    CQorGDX gdx = plainList();
    gdx.imagePt(path({1}), QOR::GdxItemAnchored, {1, 1, 0}, CQorColor(1), CQorMatrix3d{}, 2.0, 3,
                CQorPoint3d(5, 6, 0));
    CQorVertexArray vl;
    gdx.geomGet(vl, 0);
    ASSERT_EQ(vl.len(), 1);
    EXPECT_EQ(vl[0].start, CQorPoint3d(5, 6, 0));
    EXPECT_EQ(vl[0].end, CQorPoint3d::kOrigin);
    EXPECT_EQ(vl[0].bulge, 0.0);
    CQorPoint3d lo, hi;
    EXPECT_FALSE(gdx.extmaxGet(lo, hi)); // anchored items never count
}

TEST(DisplayAdders, ExtentsFollowFlags) {
    CQorGDX gdx = plainList();
    addPt(gdx, {1}, {1, 1, 0});
    addPt(gdx, {2}, {50, 50, 0}, QOR::GdxItemNoExtents);
    addPt(gdx, {3}, {-50, 0, 0}, QOR::GdxItemAnchored);
    gdx.imagePicture(path({4}), 0, L"pic", 7, {-100, -100, 0}, {100, 100, 0});
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(lo, CQorPoint3d(1, 1, 0));
    EXPECT_EQ(hi, CQorPoint3d(1, 1, 0));
    addPt(gdx, {5}, {-2, 3, 4}, QOR::GdxItemHidden); // hidden items still count
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_EQ(lo, CQorPoint3d(-2, 1, 0));
    EXPECT_EQ(hi, CQorPoint3d(1, 3, 4));
}

TEST(DisplayAdders, ExtentsOfArcsRegionsAndMatrices) {
    CQorGDX gdx = plainList();
    CQorVertexArray half; // half circle from (1,0) to (-1,0) through (0,1)
    half.append({1, 0, 0}, {-1, 0, 0}, 1.0);
    addVl(gdx, {1}, half);
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_NEAR(hi.y, 1.0, 1e-12);
    EXPECT_NEAR(lo.y, 0.0, 1e-12);
    // Only boundary 0 of a region counts; the item matrix applies.
    CQorMatrix3d move;
    move.setToTranslation({100, 0, 0});
    gdx.imageReg(path({2}), 0, {square(0, 0, 2), square(-500, -500, 1)}, CQorColor(1), move, {}, 1, 0,
                 CQorColor(), QOR::CHatchProp(), CQorPoint3d{});
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_NEAR(lo.x, -1.0, 1e-12);
    EXPECT_NEAR(hi.x, 102.0, 1e-12);
    EXPECT_NEAR(lo.y, 0.0, 1e-12);
}

TEST(DisplayAdders, AddDisplayListCopiesWithoutTouchingExtents) {
    CQorGDX source = plainList();
    addPt(source, {1}, {10, 10, 0});
    addVl(source, {2}, square(0, 0, 1));
    CQorGDX target = plainList();
    EXPECT_FALSE(target.addDisplayList({}));
    EXPECT_TRUE(target.addDisplayList(source.getDisplayList()));
    EXPECT_EQ(target.lenGet(), 2);
    CQorPoint3d lo, hi;
    EXPECT_FALSE(target.extmaxGet(lo, hi));
    EXPECT_EQ(target.getDisplayList()[1], source.getDisplayList()[1]);
}

TEST(DisplayGetters, ReadPastTheEndAndFromTheEnd) {
    CQorGDX gdx = plainList();
    EXPECT_EQ(gdx.typeGet(0), QorDisplayObj(0));
    addPt(gdx, {1}, {1, 2, 3});
    addVl(gdx, {2}, square(0, 0, 1), 0x10);
    EXPECT_EQ(gdx.typeGet(5), QorDisplayObj(0));
    EXPECT_EQ(gdx.flagGet(5), 0u);
    EXPECT_EQ(gdx.typeGet(-1), QorDisplayVl);
    EXPECT_EQ(gdx.typeGet(-2), QorDisplayPt);
    QOR::CHatchProp hatch(L"ANSI31", 0.5, 2.0, false);
    EXPECT_FALSE(gdx.hatchGet(2, hatch));
    EXPECT_EQ(hatch.m_name, L"ANSI31"); // untouched
    EXPECT_TRUE(gdx.hatchGet(0, hatch));
    EXPECT_EQ(hatch, QOR::CHatchProp());
}

TEST(DisplayGetters, PointDefaultsFallBackToTheList) {
    CQorGDX gdx(CQorColor(0), CQorMatrix3d{}, 4.5, 34, {}, {});
    gdx.imagePt(path({1}), 0, {}, CQorColor(1), CQorMatrix3d{}, 0.0, QOR::kGdxPdModeDefault, {});
    gdx.imagePt(path({2}), 0, {}, CQorColor(1), CQorMatrix3d{}, 1.5, 3, {});
    EXPECT_EQ(gdx.pdModeGet(0), 34u);
    EXPECT_EQ(gdx.pdSizeGet(0), 4.5);
    EXPECT_EQ(gdx.pdModeGet(1), 3u);
    EXPECT_EQ(gdx.pdSizeGet(1), 1.5);
    gdx.pdModeSet(DWORD(2));
    gdx.pdSizeSet(0.25);
    EXPECT_EQ(gdx.pdModeGet(0), 2u);
    EXPECT_EQ(gdx.pdSizeGet(0), 0.25);
}

TEST(DisplayGetters, PictureByNumberOrName) {
    CQorGDX gdx = plainList();
    gdx.imagePicture(path({1}), 0, L"", 0x7FFFFFFF, {}, {});
    gdx.imagePicture(path({2}), 0, L"logo.bmp", 0x7FFFFFFF, {0, 0, 0}, {10, 20, 0});
    gdx.imagePicture(path({3}), 0, nullptr, 4006, {}, {});
    CQorString name;
    int number = 0;
    EXPECT_FALSE(gdx.pictureGet(0, name, number));
    EXPECT_EQ(number, 0x7FFFFFFF);
    EXPECT_TRUE(gdx.pictureGet(1, name, number));
    EXPECT_EQ(name, L"logo.bmp");
    EXPECT_TRUE(gdx.pictureGet(2, name, number));
    EXPECT_EQ(number, 4006);
    CQorVertexArray rect;
    gdx.geomGet(rect, 0);
    EXPECT_TRUE(rect.isEmpty()); // equal corners: no rectangle
    gdx.geomGet(rect, 1);
    ASSERT_EQ(rect.len(), 1);
    EXPECT_EQ(rect[0].end, CQorPoint3d(10, 20, 0));
}

TEST(ColorTable, GrowsWithDefaultsAndRefusesOutOfRangeModes) {
    CQorGDX gdx = plainList();
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_TRUE(gdx.ColorTabSet(QOR::GdxColorMode(slot), CQorColor(slot)));
    EXPECT_TRUE(gdx.ColorTabSet(QOR::GdxColorMode(7), CQorColor(77)));
    EXPECT_EQ(gdx.ColorTabLenGet(), 7);
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorMode(6)), CQorColor());
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorMode(7)).colorIndex(), 77);
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorRefer).colorIndex(), 2);
    EXPECT_FALSE(gdx.ColorTabSet(QOR::GdxColorOwn, CQorColor(1)));
    EXPECT_FALSE(gdx.ColorTabSet(QOR::GdxColorInverse, CQorColor(1)));
    EXPECT_FALSE(gdx.ColorTabSet(QOR::GdxColorMode(-3), CQorColor(1)));
    EXPECT_EQ(gdx.ColorTabLenGet(), 7);
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorMode(14)), CQorColor());
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorOwn), CQorColor()); // not the last slot
}

TEST(DisplayList, ClearKeepsTheViewState) {
    CQorGDX gdx = plainList();
    gdx.ColorTabSet(QOR::GdxColorHighlight, CQorColor(1));
    addVl(gdx, {1}, square(0, 0, 1));
    gdx.extMaxViewSet({-1, -1, 0}, {1, 1, 0});
    CQorMatrix3d zoom;
    zoom.setToScaling(2.0);
    gdx.zoomMtxSet(zoom);
    gdx.clear();
    EXPECT_EQ(gdx.lenGet(), 0);
    CQorPoint3d lo(7, 7, 7), hi(8, 8, 8);
    EXPECT_FALSE(gdx.extmaxGet(lo, hi));
    gdx.extMaxViewGet(lo, hi); // view box unset and no extents: untouched
    EXPECT_EQ(lo, CQorPoint3d(7, 7, 7));
    EXPECT_TRUE(gdx.zoomMtxGet().isEqualTo(zoom, 0.0));
    EXPECT_EQ(gdx.ColorTabLenGet(), 1);
}

TEST(DisplayList, RevisionMovesWithEveryChangeOfItemsAndOnlyThen) {
    OpenGdx gdx;
    EXPECT_EQ(gdx.revisionGet(), 0u); // never held items
    std::vector<std::uint64_t> seen;
    // Each step changes the items; the number it leaves must be new.
    const auto changes = [&](const char* what, auto&& change) {
        const std::uint64_t before = gdx.revisionGet();
        change();
        const std::uint64_t after = gdx.revisionGet();
        EXPECT_NE(after, before) << what;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), after), 0) << what;
        seen.push_back(after);
    };
    changes("polyline added", [&] { addVl(gdx, {2}, square(0, 0, 1)); });
    changes("point added", [&] { addPt(gdx, {1}, {5, 5, 0}); });
    changes("text added", [&] {
        gdx.imageTxt(path({3}), 0, L"A", CQorColor(1), CQorMatrix3d{}, L"BL", CQorPoint3d{}, CQorPoint3d{});
    });
    changes("region added", [&] { addReg(gdx, {4}, {square(0, 0, 2)}, QOR::GdxItemFill); });
    changes("sorted", [&] { gdx.displListSort(); }); // the region moves below the others
    changes("text changed", [&] { gdx.txtSet(path({3}), L"B"); });
    changes("flag", [&] { gdx.propSet(path({2}), 2); });
    changes("colour mode", [&] { gdx.cModeSet(path({2}), QOR::GdxColorHighlight); });
    changes("moved", [&] {
        CQorMatrix3d m;
        m.setToTranslation({1, 0, 0});
        gdx.mtxSet(path({2}), m);
    });
    changes("point size", [&] { gdx.pdSizeSet(path({1}), 3.0); });
    changes("picked", [&] { gdx.imageItemGet({0, 0, 0}); }); // picking reverses the list
    changes("one flag", [&] { gdx.flagSet(0, 2); });
    changes("one colour mode", [&] { gdx.cFlagSet(0, QOR::GdxColorRefer); });
    changes("removed", [&] { gdx.removeItem(0); });
    changes("removed by path", [&] { gdx.clear(path({3})); });
    CQorGDX copy = gdx;
    EXPECT_EQ(copy.revisionGet(), gdx.revisionGet()); // the same items
    CQorGDX moved = std::move(copy);
    EXPECT_EQ(moved.revisionGet(), gdx.revisionGet());
    EXPECT_NE(copy.revisionGet(), gdx.revisionGet()); // moved from: it holds no items now

    // The view and the list's defaults leave it; so does a sort that finds the list in order.
    gdx.displListSort();
    const std::uint64_t kept = gdx.revisionGet();
    CQorMatrix3d zoom;
    zoom.setToScaling(2.0);
    gdx.zoomMtxSet(zoom);
    gdx.viewDirectionSet(L"NW");
    gdx.backColorSet(CQorColor(4));
    gdx.pdSizeSet(1.5);
    gdx.displListSort();
    EXPECT_EQ(gdx.revisionGet(), kept);
    changes("cleared", [&] { gdx.clear(); });
}

TEST(DisplayList, ItemStampsMoveWithTheirItemsAndChangeOnlyWithThem) {
    OpenGdx gdx;
    addVl(gdx, {1}, square(0, 0, 1));
    addReg(gdx, {2}, {square(0, 0, 2)}, QOR::GdxItemFill);
    addPt(gdx, {3}, {5, 5, 0});
    const auto stampOf = [&](int id) {
        for (const CQorDisplayItem& item : gdx.getDisplayList())
            if (item.m_stack[0] == id) return item.m_stamp;
        return std::uint64_t(0);
    };
    const std::uint64_t one = stampOf(1), two = stampOf(2), three = stampOf(3);
    EXPECT_NE(one, 0u);
    EXPECT_NE(one, two);
    gdx.displListSort(); // the region moves first: its stamp goes with it
    EXPECT_EQ(gdx.getDisplayList()[0].m_stack[0], 2);
    EXPECT_EQ(stampOf(2), two);
    gdx.cModeSet(path({1}), QOR::GdxColorHighlight);
    EXPECT_NE(stampOf(1), one);
    EXPECT_EQ(stampOf(2), two);
    EXPECT_EQ(stampOf(3), three);
    // An item handed back in, changed by the caller, is stamped anew although its copy kept the stamp.
    CQorDisplayItem copy = gdx.getDisplayList()[0];
    copy.m_regions[0] = square(7, 7, 1);
    copy.m_stack[0] = 4;
    ASSERT_TRUE(gdx.addDisplayList(CQorArrayTempl<CQorDisplayItem>{copy}));
    EXPECT_NE(stampOf(4), copy.m_stamp);
    EXPECT_EQ(CQorGDX(gdx).getDisplayList()[1].m_stamp, gdx.getDisplayList()[1].m_stamp); // copies keep them
}
