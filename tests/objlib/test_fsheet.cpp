// The formed-sheet services: profiles tiled along a sheet, their sections, regions, cores and axes.
#include <gtest/gtest.h>

#include <cmath>

#include "fsheet_catalogue_fixture.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/fsheet.h"

namespace {

// One trapezoid rib per 100: top flange from x = 0 to 10 at height 20, webs 10 wide.
constexpr const char* kCatalogue = R"({
    "T": {"SEG": 100.0, "": {"CALC": "TRAPEZ"},
          "FILLET_P": {"$points": [[0, 20, 0], [10, 20, 2], [20, 0, 2], [80, 0, 2], [90, 20, 2], [100, 20, 0]]}},
    "P": {"SEG": 100.0, "": {"CALC": "TRAPEZ"},
          "POINTS": {"$points": [[0, 20, 5], [10, 20, 5], [20, 0, 5], [100, 0, 0]]}},
    "SIN": {"SEG": 50.0, "": {"CALC": "SINUS"}},
    "FLAT": {"SEG": 50.0, "": {"CALC": "FLAT"}},
    "R": {"SEG": 40.0, "REGION": {"$vll": [[[[5, 0, 0], [15, 0, 0], 0], [[15, 0, 0], [15, 5, 0], 0],
                                            [[15, 5, 0], [5, 5, 0], 0], [[5, 5, 0], [5, 0, 0], 0]]]}},
    "BAD": {"SEG": "wide", "FILLET_P": 3, "REGION": {"$strs": ["x"]}},
    "A": {"B": {"SEG": 1.0}}
})";

CQorDataItem sheet(const char* stack, double length, double thickness) {
    CQorDataItem item;
    EXPECT_TRUE(
        QOR::dataFromJson(item, std::string(R"({"STACK": {"$strs": [)") + stack + "]}, \"D\": 10.0}"));
    CQorVertexArray vl;
    vl.append(CQorPoint3d::kOrigin, CQorPoint3d(length, 0, 0));
    item.set(vl, L"VL");
    item.set(thickness, L"S");
    return item;
}

class Fsheet : public ::testing::Test {
protected:
    TestSheetCatalogue m_catalogue{kCatalogue};
    CQorArrayTempl<CQorVertexArray> m_list;
    CQorVertexArray m_coat1, m_coat2;
};

TEST_F(Fsheet, CatalogueIsAddressedByThePathOfTheStack) {
    EXPECT_NE(QOR::fsheet_get({L"T"}), nullptr);
    EXPECT_NE(QOR::fsheet_get({L"A", L"B"}), nullptr);
    EXPECT_EQ(QOR::fsheet_get({L"A\\B"}), nullptr); // one text is one part, never split
    EXPECT_EQ(QOR::fsheet_get({}), nullptr);
    EXPECT_EQ(QOR::fsheet_get({L"NONE"}), nullptr);
    // A file that is no catalogue keeps the one in use.
    EXPECT_FALSE(QOR::fsheetCatalogueLoad(L"/nonexistent/fsheets.json"));
    for (const char* bad : {"7", "[1, 2]", "{\"T\": ", ""}) {
        EXPECT_FALSE(m_catalogue.load(bad)) << bad;
        EXPECT_NE(QOR::fsheet_get({L"T"}), nullptr) << bad;
    }
}

TEST_F(Fsheet, FilletedSectionRunsAlongBothFacesAndClosesAtTheCut) {
    const CQorDataItem item = sheet(R"("T")", 150.0, 1.0);
    ASSERT_TRUE(QOR::fsheet_vll_fillet(&item, m_list, m_coat1, m_coat2));
    ASSERT_EQ(m_list.len(), 1);
    const CQorVertexArray& section = m_list[0];
    EXPECT_TRUE(section.isClosed());
    // Both coat lines have the same vertices, so the lower line is the section's second half.
    ASSERT_EQ(m_coat1.len(), m_coat2.len());
    ASSERT_EQ(section.len(), 2 * m_coat1.len() + 2);
    EXPECT_EQ(m_coat1.firstVertex().start, CQorPoint3d(0, 20, 0));
    // Cut at L = 150, on the second period's bottom flange.
    EXPECT_EQ(m_coat1.lastVertex().end, CQorPoint3d(150, 0, 0));
    // The bends are arcs on both faces; the lower face lies 1 below the flat flanges.
    int arcs1 = 0, arcs2 = 0;
    for (const CQorVertex& v : m_coat1)
        arcs1 += v.bulge != 0;
    for (const CQorVertex& v : m_coat2)
        arcs2 += v.bulge != 0;
    EXPECT_EQ(arcs1, 6); // 4 bends in the first period, 2 in the second before the cut
    EXPECT_EQ(arcs2, arcs1);
    EXPECT_NEAR(m_coat2.firstVertex().start.y, 19.0, 1e-12);
    EXPECT_NEAR(m_coat2.lastVertex().end.y, -1.0, 1e-12);
    // Concentric fillets: outside a bend the radius grows by the thickness.
    CQorPoint3d min, max;
    ASSERT_TRUE(section.extents(min, max));
    EXPECT_NEAR(min.x, 0.0, 1e-9);
    EXPECT_NEAR(max.x, 150.0, 1e-9);
    EXPECT_NEAR(min.y, -1.0, 1e-9);
    EXPECT_NEAR(max.y, 20.0, 1e-9);
}

TEST_F(Fsheet, PointsWithoutFilletsAndAPlacedSheet) {
    CQorDataItem item = sheet(R"("P")", 100.0, 0.0);
    CQorMatrix3d up;
    up.setToTranslation(CQorVector3d(0, 50, 0));
    item.set(up, L"MTX");
    ASSERT_TRUE(QOR::fsheet_vll_fillet(&item, m_list, m_coat1, m_coat2));
    for (const CQorVertex& v : m_coat1)
        EXPECT_EQ(v.bulge, 0.0); // "POINTS" ignores the radii in z
    ASSERT_EQ(m_coat1.len(), 3);
    EXPECT_EQ(m_coat1[1].end, CQorPoint3d(20, 50, 0));
}

TEST_F(Fsheet, FunctionProfiles) {
    const CQorDataItem sine = sheet(R"("SIN")", 100.0, 0.5);
    ASSERT_TRUE(QOR::fsheet_vll_fnc(&sine, m_list, m_coat1, m_coat2));
    CQorPoint3d min, max;
    ASSERT_TRUE(m_coat1.extents(min, max));
    EXPECT_NEAR(max.y, 10.0, 1e-9); // crest D at x = 0, 50, 100
    EXPECT_NEAR(min.y, 0.0, 1e-9);
    EXPECT_NEAR(m_coat1.firstVertex().start.y, 10.0, 1e-12);
    EXPECT_EQ(m_coat1.len(), 48);

    const CQorDataItem flat = sheet(R"("FLAT")", 120.0, 2.0);
    ASSERT_TRUE(QOR::fsheet_vll_fnc(&flat, m_list, m_coat1, m_coat2));
    ASSERT_TRUE(m_list[0].extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, -2, 0));
    EXPECT_EQ(max, CQorPoint3d(120, 0, 0));
}

TEST_F(Fsheet, RegionsRepeatWithinTheSheetOnly) {
    const CQorDataItem item = sheet(R"("R")", 100.0, 0.0);
    ASSERT_TRUE(QOR::fsheet_vll_region(&item, m_list));
    ASSERT_EQ(m_list.len(), 3); // at 5, 45 and 85 (ending at 95); the one at 125 would not fit
    EXPECT_EQ(m_list[2].firstVertex().start, CQorPoint3d(85, 0, 0));
    const CQorDataItem shorter = sheet(R"("R")", 94.0, 0.0);
    ASSERT_TRUE(QOR::fsheet_vll_region(&shorter, m_list));
    EXPECT_EQ(m_list.len(), 2);
}

TEST_F(Fsheet, BadInputEmptiesTheOutputs) {
    m_list.append(CQorVertexArray());
    m_coat1.append(CQorPoint3d::kOrigin, CQorPoint3d(1, 0, 0));
    const CQorDataItem bad = sheet(R"("BAD")", 100.0, 1.0);
    EXPECT_FALSE(QOR::fsheet_vll_fillet(&bad, m_list, m_coat1, m_coat2));
    EXPECT_TRUE(m_list.isEmpty());
    EXPECT_TRUE(m_coat1.isEmpty());
    EXPECT_FALSE(QOR::fsheet_vll_region(&bad, m_list));
    EXPECT_FALSE(QOR::fsheet_vll_fnc(nullptr, m_list, m_coat1, m_coat2));
    const CQorDataItem unknown = sheet(R"("NONE")", 100.0, 1.0);
    EXPECT_FALSE(QOR::fsheet_vll_fnc(&unknown, m_list, m_coat1, m_coat2));
    for (const double length : {0.0, -5.0, std::nan(""), 1e300}) {
        const CQorDataItem item = sheet(R"("T")", length, 1.0);
        EXPECT_FALSE(QOR::fsheet_vll_fillet(&item, m_list, m_coat1, m_coat2)) << length;
        EXPECT_FALSE(QOR::fsheet_vll_region(&item, m_list)) << length;
    }
}

TEST_F(Fsheet, CoreFillsBetweenTheSheetsAroundTheRegionsInside) {
    CQorDataItem top = sheet(R"("FLAT")", 100.0, 1.0), bottom = sheet(R"("FLAT")", 100.0, 1.0);
    CQorMatrix3d up;
    up.setToTranslation(CQorVector3d(0, 30, 0));
    top.set(up, L"MTX");
    CQorArrayTempl<CQorVertexArray> topList, bottomList;
    ASSERT_TRUE(QOR::fsheet_vll_fnc(&top, topList, m_coat1, m_coat2));
    ASSERT_TRUE(QOR::fsheet_vll_fnc(&bottom, bottomList, m_coat1, m_coat2));
    CQorVertexArray inside, outside;
    inside.fromPoints(CQorPoint3dArray({{10, 5, 0}, {20, 5, 0}, {20, 10, 0}}), true);
    outside.fromPoints(CQorPoint3dArray({{10, 40, 0}, {20, 40, 0}, {20, 45, 0}}), true);
    const CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> regions{{inside}, {outside}, {}};
    ASSERT_TRUE(QOR::fsheet_vll_outline(nullptr, topList[0], bottomList[0], regions, m_list));
    ASSERT_EQ(m_list.len(), 2);
    CQorPoint3d min, max;
    ASSERT_TRUE(m_list[0].isClosed() && m_list[0].extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(max, CQorPoint3d(100, 29, 0));
    EXPECT_TRUE(m_list[1] == inside);

    CQorVertexArray open;
    open.append(CQorPoint3d::kOrigin, CQorPoint3d(1, 0, 0));
    EXPECT_FALSE(QOR::fsheet_vll_outline(nullptr, open, bottomList[0], regions, m_list));
    EXPECT_TRUE(m_list.isEmpty());
}

TEST(FsheetAxis, ReachesBeyondThePolylinesAtTheirLeftEnd) {
    CQorVertexArray a, b;
    a.fromPoints(CQorPoint3dArray({{5, 0, 0}, {50, 10, 0}}), false);
    b.fromPoints(CQorPoint3dArray({{7, -4, 0}, {9, 2, 0}}), false);
    const CQorVertexArray axis = QOR::fsheet_axis_vl({a, b}, 1.5);
    ASSERT_EQ(axis.len(), 1);
    EXPECT_EQ(axis[0].start, CQorPoint3d(5, -5.5, 0));
    EXPECT_EQ(axis[0].end, CQorPoint3d(5, 11.5, 0));
    EXPECT_TRUE(QOR::fsheet_axis_vl({}, 1.0).isEmpty());
    EXPECT_TRUE(QOR::fsheet_axis_vl({CQorVertexArray()}, 1.0).isEmpty());
    EXPECT_TRUE(QOR::fsheet_axis_vl({a}, std::nan("")).isEmpty());
}

TEST(FsheetSid, TheRootsSidElseTheFirstVariant) {
    CQorDataItem root;
    ASSERT_TRUE(QOR::dataFromJson(root, R"({"SID": 2})"));
    QOR::CDtaFilePointer withSid = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &root);
    EXPECT_EQ(QOR::fsheet_sid(&withSid), 2);
    root.remove(L"SID");
    QOR::CDtaFilePointer without = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &root);
    EXPECT_EQ(QOR::fsheet_sid(&without), 1);
    QOR::CDtaFilePointer closed;
    EXPECT_EQ(QOR::fsheet_sid(&closed), -1);
    EXPECT_EQ(QOR::fsheet_sid(nullptr), -1);
}

} // namespace
