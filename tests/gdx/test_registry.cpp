#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "gdx_test_util.h"
#include "qor/gdx/registry.h"
#include "qor/kernel/base/color.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/host/host_app.h"

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

// Lists made at the same time on two threads get a key each: finding a free key and storing under it is
// one step.
TEST_F(Registry, ListsCreatedOnTwoThreadsGetKeysOfTheirOwn) {
    constexpr int kEach = 24;
    int keys[2][kEach];
    const auto create = [&](int thread) {
        for (int& key : keys[thread])
            key = createGdxInMap(nullptr);
    };
    std::thread other(create, 1);
    create(0);
    other.join();
    std::set<int> distinct;
    for (const auto& made : keys)
        distinct.insert(std::begin(made), std::end(made));
    EXPECT_EQ(distinct.size(), std::size_t(2 * kEach));
    EXPECT_EQ(*distinct.begin(), 1);
    EXPECT_EQ(*distinct.rbegin(), 2 * kEach);
}

namespace {

/// Configuration "OLV_MENU\COLOR" as the tests want it, restored afterwards.
class CreateGdxInMap : public Registry {
protected:
    void SetUp() override {
        Registry::SetUp();
        CQorDataItem* menu = QOR::cfg_dir_make(L"OLV_MENU\\COLOR");
        ASSERT_NE(menu, nullptr);
        menu->set(3, L"PDSIZE");
        menu->set(34, L"PDMODE");
        menu->set(1, L"HIGHLIGHT");
        menu->set(2, L"AXIS");
        menu->set(4, L"BASE");
        menu->set(5, L"AUX");
        menu->set(250, L"BACKGROUND");
        menu->remove(L"REFER");
        menu->set(6, L"REFER\\COLOR"); // a complete colour
        menu->set(L"1193046", L"REFER\\RGB");
    }
    QOR::CCfgBackup m_backup{CQorDataKey(L"OLV_MENU")};
};

} // namespace

TEST_F(CreateGdxInMap, WithoutDataReadsOnlyTheConfiguration) {
    const int key = createGdxInMap(nullptr);
    EXPECT_EQ(key, 1);
    const CQorGDX* gdx = getGdxFromMap(key);
    ASSERT_NE(gdx, nullptr);
    EXPECT_TRUE(gdx->projMtxGet().isEqualTo(CQorMatrix3d{}, 0.0));
    EXPECT_EQ(gdx->pdSizeGet(), 3.0);
    EXPECT_EQ(gdx->pdModeGet(), 34u);
    EXPECT_EQ(gdx->ColorTabLenGet(), 5);
    EXPECT_EQ(gdx->colorTabGet(QOR::GdxColorHighlight).colorIndex(), 1);
    EXPECT_EQ(gdx->colorTabGet(QOR::GdxColorRefer).colorIndex(), 6);
    EXPECT_EQ(gdx->colorTabGet(QOR::GdxColorRefer).oleColor(), 0x563412u); // 0x123456 as 0x00BBGGRR
    EXPECT_EQ(gdx->colorTabGet(QOR::GdxColorAux).colorIndex(), 5);
    EXPECT_EQ(gdx->backColorGet().colorIndex(), 250);
    CQorPoint3d lo(9, 9, 9), hi(9, 9, 9);
    gdx->extMaxViewGet(lo, hi); // view box unset, no extents
    EXPECT_EQ(lo, CQorPoint3d(9, 9, 9));
    EXPECT_EQ(createGdxInMap(nullptr), 2);
}

TEST_F(CreateGdxInMap, DataOverridesTheConfiguration) {
    CQorDataItem data;
    data.mkDir();
    data.set(7, L"PDSIZE");
    data.set(2, L"PDMODE");
    data.set(CQorPoint3dArray{{-1, -2, 0}, {3, 4, 0}}, L"EXTVIEW");
    CQorMatrix3d proj;
    proj.setToScaling(2.0);
    data.set(proj, L"MTX");
    data.set(7, L"COLOR");
    data.set(L"16711680", L"RGB");
    data.set(L"RAL", L"TBL");
    const CQorGDX* gdx = getGdxFromMap(createGdxInMap(&data));
    ASSERT_NE(gdx, nullptr);
    EXPECT_EQ(gdx->pdSizeGet(), 7.0);
    EXPECT_EQ(gdx->pdModeGet(), 2u);
    EXPECT_TRUE(gdx->projMtxGet().isEqualTo(proj, 0.0));
    CQorPoint3d lo, hi;
    gdx->extMaxViewGet(lo, hi);
    EXPECT_EQ(lo, CQorPoint3d(-1, -2, 0));
    EXPECT_EQ(hi, CQorPoint3d(3, 4, 0));
    EXPECT_EQ(gdx->backColorGet().colorIndex(), 7);
    EXPECT_EQ(gdx->backColorGet().oleColor(), 0x0000FFu); // red
    EXPECT_STREQ(gdx->backColorGet().bookName(), L"RAL");
    EXPECT_STREQ(gdx->backColorGet().colorName(), L"RAL");
    EXPECT_EQ(gdx->ColorTabLenGet(), 5);
}

TEST_F(CreateGdxInMap, DataWithoutColourKeepsTheConfiguredBackgroundAndValueItemsAreIgnored) {
    CQorDataItem data;
    data.mkDir();
    data.set(5, L"PDMODE");
    const CQorGDX* gdx = getGdxFromMap(createGdxInMap(&data));
    ASSERT_NE(gdx, nullptr);
    EXPECT_EQ(gdx->backColorGet().colorIndex(), 250);
    EXPECT_EQ(gdx->pdModeGet(), 5u);
    EXPECT_EQ(gdx->pdSizeGet(), 3.0);
    CQorDataItem value;
    value.set(9);
    const CQorGDX* plain = getGdxFromMap(createGdxInMap(&value)); // not a directory: configuration only
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->pdModeGet(), 34u);
}

TEST_F(CreateGdxInMap, DefaultConstructorReadsTheColourTable) {
    const CQorGDX gdx;
    EXPECT_EQ(gdx.ColorTabLenGet(), 5);
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorBase).colorIndex(), 4);
    EXPECT_EQ(gdx.colorTabGet(QOR::GdxColorRefer).colorIndex(), 6);
    EXPECT_EQ(gdx.pdSizeGet(), 3.0);
    EXPECT_EQ(gdx.pdModeGet(), 34u);
}

namespace {

/// A host with a dark blue preview background, unlike the configuration's grey.
class DarkHost final : public CQorApp {
public:
    std::uint32_t imageBkColor() override { return 0x336699; }
    Qor::lFormat lengthFormat() override { return Qor::kFormatDecimal; }
    Qor::lUnit drawingUnit() override { return Qor::kUnitMillimeter; }
    CQorString msgBoxTitle() override { return CQorString(L"Dark"); }
    bool patternGet(const wchar_t*, CQorArrayTempl<CQorArrayTempl<double>>&) override { return false; }
    bool objectImage(CQorGDX*, const CQorDataItem*, const CQorDataItem*) override { return false; }
    bool entitySelect(QOR::CAdsName&, const wchar_t*, bool) override { return false; }
    int callFunction(const wchar_t*, const resbuf*, resbuf*& result) override {
        result = nullptr;
        return RTERROR;
    }
};

} // namespace

TEST_F(CreateGdxInMap, DefaultConstructorTakesTheBackgroundFromTheHost) {
    EXPECT_EQ(CQorGDX().backColorGet().oleColor(), acadRGB(250)); // the default host reads the configuration
    DarkHost host;
    CQorApp* const before = QOR::qorAppSet(&host);
    const CQorGDX gdx;
    QOR::qorAppSet(before);
    EXPECT_EQ(gdx.backColorGet().oleColor(), 0x336699u);
    EXPECT_EQ(gdx.pdModeGet(), 34u); // the rest still comes from the configuration
}
