// The formed-sheet image over a catalogue written for the tests, and the bundled sandwich panel
// against its reference picture (tests/data/image/fsheet_sandwich.ref.png). To regenerate it after an
// intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_image --gtest_filter='FsheetImage*Reference*'
// and open the image before committing.
#include <gtest/gtest.h>

#include <filesystem>

#include "../objlib/fsheet_catalogue_fixture.h"
#include "../render/reference_image.h"
#include "object_store_fixture.h"
#include "qor/gdx/gdx.h"
#include "qor/image/fsheet_image.h"
#include "qor/kernel/data/config.h"
#include "qor/objlib/object_file.h"
#include "qor/render/render.h"

namespace {

constexpr const char* kCatalogue = R"({
    "FLAT": {"SEG": 100.0, "N": 1.5, "": {"CALC": "FLAT", "AXIS": true}},
    "ZERO": {"SEG": 100.0, "N": 0.0, "HORIZONTAL": -1, "": {"CALC": "FLAT"}},
    "NOAXIS": {"SEG": 100.0, "N": 2.0, "": {"CALC": "FLAT", "AXIS": false}},
    "COAT": {"SEG": 100.0, "N": 1.0, "": {"CALC": "FLAT", "COAT": true}},
    "MALFORMED": {"SEG": "x", "N": {"$strs": []}, "HORIZONTAL": "left", "": 5, "SANDWICH": 3},
    "HUGE": {"SEG": 1e-6, "N": 1e12, "": {"CALC": "FLAT", "AXIS": true}},
    "PANEL": {"SEG": 100.0, "N": 1.0, "": {"CALC": "COMPOUND"},
              "THICK": {"#1": {"S": 1.0, "S_BOT": 0.5}},
              "SANDWICH": {"#1": {"STACK": {"$strs": ["SKIN"]}, "SIDE": "TOP", "ORIGIN": {"$point": [0, 30, 0]}},
                           "#2": {"STACK": {"$strs": ["SKIN"]}, "SIDE": "BOT"},
                           "#3": {"STACK": {"$strs": ["GASKET"]}, "SIDE": "JOINT"},
                           "#4": {"STACK": {"$strs": ["CORE"]}, "SIDE": "CORE"},
                           "#5": {"STACK": {"$strs": ["MISSING"]}, "SIDE": "CORE"},
                           "#6": 7}},
    "SKIN": {"SEG": 100.0, "": {"CALC": "TRAPEZ"}, "FILLET_P": {"$points": [[0, 0, 0], [100, 0, 0]]}},
    "GASKET": {"SEG": 1000.0, "": {"CALC": "REGION", "TYPE": "GASKET"},
               "REGION": {"$vll": [[[[10, 5, 0], [20, 5, 0], 0], [[20, 5, 0], [20, 10, 0], 0],
                                    [[20, 10, 0], [10, 10, 0], 0], [[10, 10, 0], [10, 5, 0], 0]]]}},
    "CORE": {"": {"CALC": "OUTLINE", "TYPE": "INSULATION"}}
})";

constexpr const char* kSheet = R"({"KIND": "FSHEET"})";
constexpr int kContour = 1, kFill = 2, kCentre = 4, kInsulation = 5, kGasket = 6;

class FsheetImage : public ::testing::Test {
protected:
    void SetUp() override {
        CQorDataItem layers, dm, dicht;
        ASSERT_TRUE(QOR::dataFromJson(layers, R"({"0": 7, "KONTUR": 1, "FILL": 2, "ACHSE": 4, "DAEMMUNG": 5,
                                                 "DICHTUNG": 6})"));
        ASSERT_TRUE(QOR::dataFromJson(dm, R"({"PART_CON": "DAEMMUNG", "HPNAME": "INSUL", "HPSCALE": 2.0})"));
        ASSERT_TRUE(QOR::dataFromJson(dicht, R"({"PART_CON": "DICHTUNG", "HPNAME": "ANSI37"})"));
        CQorDataItem* root = QOR::cfgMgrPtr()->getCfgRoot();
        ASSERT_TRUE(root->setItem(layers, L"*LAYER*") && root->setItem(dm, L"*DM*") &&
                    root->setItem(dicht, L"*DICHT*"));
    }

    /// Draws the sheet whose data is json (the linked object) with options json (none when null).
    bool draw(const char* json, const char* options = nullptr) {
        QOR::CDtaFilePointer object = m_objects.open(kSheet, json);
        QOR::CDtaFilePointer opt =
            options != nullptr ? LinkedObjects::scratch(options) : QOR::CDtaFilePointer();
        return qor_gdx_image_fsheet(&m_gdx, &object, options != nullptr ? &opt : nullptr);
    }

    const CQorDisplayItem& item(int i) const { return m_gdx.getDisplayList()[i]; }

    QOR::CCfgBackup m_config;
    TestSheetCatalogue m_catalogue{kCatalogue};
    LinkedObjects m_objects;
    CQorGDX m_gdx;
};

TEST_F(FsheetImage, NoPeriodsTakeFiveDepthsAndHorizontalMinusOneMirrorsTheSheet) {
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["ZERO"]}, "D": -30.0, "S": 1.0, "PART_CON": "KONTUR"})",
                     R"({"COORD": true})"));
    ASSERT_EQ(m_gdx.lenGet(), 2);
    CQorPoint3d min, max;
    ASSERT_TRUE(item(0).m_vl.extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, -1, 0));
    EXPECT_EQ(max, CQorPoint3d(150, 0, 0)); // 5 x |D|
    EXPECT_EQ(item(0).m_flags, 0u);
    EXPECT_EQ(item(0).m_color.colorIndex(), kContour);
    // Mirrored about x = L / 2: the start lands on the end.
    EXPECT_EQ(item(0).m_mtx * CQorPoint3d(0, 7, 0), CQorPoint3d(150, 7, 0));
    // The marker stays unmirrored at the origin.
    EXPECT_EQ(item(1).m_type, QorDisplayPt);
    EXPECT_EQ(item(1).m_flags, 0x400u);
    EXPECT_TRUE(item(1).m_mtx.isEqualTo(CQorMatrix3d(), 0.0));
    EXPECT_EQ(item(1).m_pdMode, 0xFFFFFFFFu);
}

TEST_F(FsheetImage, BendAxesRepeatEverySegmentWhileBelowNPlusOne) {
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["FLAT"]}, "S": 2.0, "AXIS": true, "PART_CEN": "ACHSE"})"));
    ASSERT_EQ(m_gdx.lenGet(), 4); // the section and axes at i = 0, 1, 2
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(item(i).m_color.colorIndex(), kCentre);
        EXPECT_EQ(item(i).m_vl[0].start, CQorPoint3d(100.0 * (i - 1), -4.0, 0)); // S beyond the section
        EXPECT_EQ(item(i).m_vl[0].end, CQorPoint3d(100.0 * (i - 1), 2.0, 0));
    }
    // The definition's "AXIS" overrides the sheet's; a sheet without "AXIS" has none.
    m_gdx.clear();
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["NOAXIS"]}, "AXIS": true})"));
    EXPECT_EQ(m_gdx.lenGet(), 1);
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["FLAT"]}})"));
    EXPECT_EQ(m_gdx.lenGet(), 2);
}

TEST_F(FsheetImage, DrawSaysContourFillOrHatch) {
    const char* sheet = R"({"STACK": {"$strs": ["COAT"]}, "S": 1.0, "PART_CON": "KONTUR", "PART_FILL": "FILL",
                           "HPNAME": "ANSI31", "HPSCALE": 2.0, "HPANG": 0.5, "DRAW": ")";
    ASSERT_TRUE(draw((std::string(sheet) + "L\"}").c_str()));
    ASSERT_TRUE(draw((std::string(sheet) + "S\"}").c_str()));
    ASSERT_TRUE(draw((std::string(sheet) + "l\"}").c_str()));
    ASSERT_EQ(m_gdx.lenGet(), 3);
    EXPECT_EQ(item(0).m_type, QorDisplayReg);
    EXPECT_EQ(item(0).m_flags, 0x11u);
    EXPECT_EQ(item(0).m_fcolor.colorIndex(), kFill);
    EXPECT_EQ(item(0).m_hatch, QOR::CHatchProp());
    EXPECT_EQ(item(1).m_flags, 0x12u);
    EXPECT_EQ(item(1).m_hatch, QOR::CHatchProp(L"ANSI31", 0.5, 2.0, false));
    EXPECT_EQ(item(1).m_regions.len(), 1);
    EXPECT_EQ(item(2).m_type, QorDisplayVl); // anything else: the contour
    EXPECT_EQ(item(2).m_flags, 0u);
}

TEST_F(FsheetImage, CoatLinesOnlyInTheColoursGiven) {
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["FLAT"]}, "S": 1.0, "COATLINE": true, "SURFACE": {"2": 3}})"));
    ASSERT_EQ(m_gdx.lenGet(), 2);
    EXPECT_EQ(item(1).m_color.colorIndex(), 3);
    EXPECT_EQ(item(1).m_vl[0].start, CQorPoint3d(0, -1, 0)); // the lower face
    // "COAT" in the definition paints both faces in the first colour.
    m_gdx.clear();
    ASSERT_TRUE(
        draw(R"({"STACK": {"$strs": ["COAT"]}, "S": 1.0, "COATLINE": true, "SURFACE": {"1": 3, "2": 4}})"));
    ASSERT_EQ(m_gdx.lenGet(), 3);
    EXPECT_EQ(item(1).m_color.colorIndex(), 3);
    EXPECT_EQ(item(2).m_color.colorIndex(), 3);
    // Without "COATLINE" the colours are not read.
    m_gdx.clear();
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["COAT"]}, "SURFACE": {"1": 3, "2": 4}})"));
    EXPECT_EQ(m_gdx.lenGet(), 1);
}

TEST_F(FsheetImage, PanelDrawsItsSheetsThenItsGasketAndCoreWithAttributes) {
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["PANEL"]}, "IS_HATCH2": true, "COATLINE": true,
                         "SURFACE": {"1": 3, "2": 4}})",
                     R"({"COORD": true})"));
    ASSERT_EQ(m_gdx.lenGet(), 7);
    // Top sheet at y = 30, 1.0 thick; its coat line; the marker.
    CQorPoint3d min, max;
    ASSERT_TRUE(item(0).m_vl.extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, 29, 0));
    EXPECT_EQ(max, CQorPoint3d(100, 30, 0));
    EXPECT_EQ(item(1).m_color.colorIndex(), 3);
    EXPECT_EQ(item(2).m_type, QorDisplayPt);
    // Bottom sheet, "S_BOT" 0.5 thick, with its coat line in the second colour.
    ASSERT_TRUE(item(3).m_vl.extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, -0.5, 0));
    EXPECT_EQ(item(4).m_color.colorIndex(), 4);
    // The gasket and the core, hatched as their attribute classes say; the gasket is the core's hole.
    EXPECT_EQ(item(5).m_flags, 0x12u);
    EXPECT_EQ(item(5).m_color.colorIndex(), kGasket);
    EXPECT_EQ(item(5).m_hatch.m_name, CQorString(L"ANSI37"));
    EXPECT_EQ(item(6).m_flags, 0x12u);
    EXPECT_EQ(item(6).m_color.colorIndex(), kInsulation);
    EXPECT_EQ(item(6).m_fcolor.colorIndex(), kInsulation); // "PART_FILL" defaults to "PART_CON"
    EXPECT_EQ(item(6).m_hatch, QOR::CHatchProp(L"INSUL", 0.0, 2.0, false));
    ASSERT_EQ(item(6).m_regions.len(), 2);
    ASSERT_TRUE(item(6).m_regions[0].extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(max, CQorPoint3d(100, 29, 0));
    EXPECT_TRUE(item(6).m_regions[1] == item(5).m_regions[0]);

    // Without "IS_HATCH2" the layers' regions are outlines only.
    m_gdx.clear();
    ASSERT_TRUE(draw(R"({"STACK": {"$strs": ["PANEL"]}})"));
    ASSERT_EQ(m_gdx.lenGet(), 4);
    EXPECT_EQ(item(3).m_flags, 0x10u);
    EXPECT_EQ(item(3).m_hatch, QOR::CHatchProp());
}

TEST_F(FsheetImage, MissingOrMalformedInputDrawsNothingAndNeverCrashes) {
    QOR::CDtaFilePointer unlinked = m_objects.open(kSheet, nullptr);
    EXPECT_FALSE(qor_gdx_image_fsheet(&m_gdx, &unlinked, nullptr));
    EXPECT_FALSE(qor_gdx_image_fsheet(nullptr, &unlinked, nullptr));
    EXPECT_FALSE(qor_gdx_image_fsheet(&m_gdx, nullptr, nullptr));
    EXPECT_FALSE(draw(R"({"STACK": {"$strs": ["NONE"]}})"));
    EXPECT_FALSE(draw(R"({"STACK": "FLAT"})"));
    EXPECT_FALSE(draw("17"));
    EXPECT_EQ(m_gdx.lenGet(), 0);
    // A definition of the wrong kinds, or one that would need 10^18 vertices, is found: true, nothing
    // drawn.
    EXPECT_TRUE(draw(R"({"STACK": {"$strs": ["MALFORMED"]}, "D": 10.0})", "5"));
    EXPECT_TRUE(draw(R"({"STACK": {"$strs": ["HUGE"]}, "AXIS": true, "D": {"$double": "nan"}})"));
    EXPECT_TRUE(draw(R"({"STACK": {"$strs": ["FLAT"]}, "S": {"$double": "inf"}, "AXIS": true})"));
    EXPECT_EQ(m_gdx.lenGet(), 0);
}

TEST(FsheetImageReference, SandwichSampleMatchesReferenceImage) {
    constexpr int kWidth = 400, kHeight = 200;
    const std::filesystem::path sample =
        std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "objects" / "fsheet_sandwich.json";
    QOR::CDtaFilePointer sheet;
    CQorString message;
    ASSERT_TRUE(QOR::objOpen(sample.wstring().c_str(), QOR::kDtaRead, sheet, &message)) << message.toUtf8();
    CQorGDX gdx;
    ASSERT_TRUE(qor_gdx_image_fsheet(&gdx, &sheet, nullptr));
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));
    expectMatchesReference(bitmap, "image", "fsheet_sandwich");
}

} // namespace
