// The hole image, through a host that records what it is handed. The reference picture of the bundled
// sample is tests/data/image/hole_pattern.ref.png; to regenerate it after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_image --gtest_filter='HoleImage.*Reference*'
// and open the image before committing.
#include <gtest/gtest.h>

#include <filesystem>

#include "../render/reference_image.h"
#include "qor/gdx/gdx.h"
#include "qor/image/hole_image.h"
#include "qor/image/object_image.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/object_file.h"
#include "qor/render/render.h"
#include "recording_host.h"

namespace {

class HoleImage : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = QOR::qorAppSet(&m_host);
        CQorDataItem table;
        ASSERT_TRUE(QOR::dataFromJson(table, R"({"0": 7, "KONTUR": 3, "FUELL": 4})"));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(table, L"*LAYER*"));
    }
    void TearDown() override { QOR::qorAppSet(m_previous); }

    static QOR::CDtaFilePointer open(const std::string& json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        return QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &root);
    }

    /// A pattern of two outline elements (a 10 x 10 square and a circle), drawn as draw says.
    static std::string pattern(const char* draw) {
        return std::string(R"({"KIND": "HOLE", "": {"DRAW": ")") + draw +
               R"(", "PART_CON": "KONTUR", "PART_FILL": "FUELL", "HPNAME": "ANSI31", "HPSCALE": 2.0,
               "HPANG": 0.5}, "BT": {
               "A": {"GEN": {"TYPE": "OUTLINE", "ID": 2, "P1": 10.0, "P2": 10.0}},
               "B": {"GEN": {"TYPE": "OUTLINE", "ID": 1, "P1": 4.0}, "ORIGIN": {"$point": [20, 0, 0]}}}})";
    }

    const CQorDisplayItem& item(int i) const { return m_gdx.getDisplayList()[i]; }

    RecordingHost m_host;
    CQorApp* m_previous = nullptr;
    QOR::CCfgBackup m_layers{CQorDataKey(L"*LAYER*")};
    CQorGDX m_gdx;
};

TEST_F(HoleImage, DrawSaysWhetherOutlinesAreFilledHatchedOrContoursOnly) {
    const struct {
        const char* draw;
        int itemsPerOutline;
        DWORD regionFlags;
    } cases[] = {{"F", 2, 0x11}, {"S", 2, 0x12}, {"", 1, 0}, {"f", 1, 0}, {"X", 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.draw);
        m_gdx.clear();
        QOR::CDtaFilePointer hole = open(pattern(c.draw));
        QOR::CDtaFilePointer options = open(R"({"CMODE": 5})");
        ASSERT_TRUE(qor_gdx_image_hole(&m_gdx, &hole, &options));
        ASSERT_EQ(m_gdx.lenGet(), 2 * c.itemsPerOutline);
        for (int e = 0; e < 2; ++e) {
            const CQorDisplayItem& line = item(e * c.itemsPerOutline);
            EXPECT_EQ(line.m_type, QorDisplayVl);
            EXPECT_EQ(line.m_flags, 0x500u);
            EXPECT_EQ(line.m_color.colorIndex(), 3);
            EXPECT_TRUE(line.m_stack.isEmpty());
            if (c.itemsPerOutline == 1) continue;
            const CQorDisplayItem& region = item(e * 2 + 1);
            EXPECT_EQ(region.m_type, QorDisplayReg);
            EXPECT_EQ(region.m_flags, c.regionFlags);
            ASSERT_EQ(region.m_regions.len(), 1);
            EXPECT_TRUE(region.m_regions[0] == line.m_vl); // the same polyline, placed
            EXPECT_EQ(region.m_fcolor.colorIndex(), 4);
            const QOR::CHatchProp expected =
                c.regionFlags == 0x12 ? QOR::CHatchProp(L"ANSI31", 0.5, 2.0, false) : QOR::CHatchProp();
            EXPECT_TRUE(region.m_hatch == expected);
        }
        CQorPoint3d min, max; // the circle moved by its element's origin
        ASSERT_TRUE(item(c.itemsPerOutline).m_vl.extents(min, max));
        EXPECT_EQ(min, CQorPoint3d(18, -2, 0));
    }
}

TEST_F(HoleImage, TheActiveElementIsHighlightedAndMarkedWithCoord) {
    QOR::CDtaFilePointer hole = open(pattern(""));
    QOR::CDtaFilePointer options = open(R"({"ACT": "B", "CMODE": 3, "COORD": true,
        "MTX": {"$matrix": [[1, 0, 0, 100], [0, 1, 0, 50], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    ASSERT_TRUE(qor_gdx_image_hole(&m_gdx, &hole, &options));
    // A: line, base marker; B: active marker, line, base marker.
    ASSERT_EQ(m_gdx.lenGet(), 5);
    EXPECT_EQ(item(0).m_flags, 0x300u);
    EXPECT_EQ(item(1).m_type, QorDisplayPt);
    EXPECT_EQ(item(1).m_flags, 0x400u);
    EXPECT_EQ(item(1).m_point, CQorPoint3d(100, 50, 0));
    EXPECT_EQ(item(2).m_type, QorDisplayPt);
    EXPECT_EQ(item(2).m_flags, 0x100u);
    EXPECT_EQ(item(2).m_color.colorIndex(), 7);
    EXPECT_EQ(item(2).m_point, CQorPoint3d(120, 50, 0)); // options MTX x the element's origin
    EXPECT_EQ(item(2).m_pdMode, 0xFFFFFFFFu);
    EXPECT_EQ(item(3).m_flags, 0x100u); // mode 1 whatever CMODE says
    EXPECT_EQ(item(4).m_flags, 0x400u);
}

TEST_F(HoleImage, OnlyTextAndHandleKeysNameElements) {
    QOR::CDtaFilePointer hole = open(R"({"KIND": "HOLE", "BT": {
        "#3": {"GEN": {"$vll": [[[[0, 0, 0], [1, 0, 0], 0]]]}},
        "&2A7F": {"GEN": {"$vll": [[[[0, 0, 0], [2, 0, 0], 0]], [[[0, 0, 0], [0, 2, 0], 0]]]}},
        "C": {"GEN": {"TYPE": "OTHER"}},
        "D": {}}})");
    QOR::CDtaFilePointer options = open(R"({"ACT": "2A7F"})");
    ASSERT_TRUE(qor_gdx_image_hole(&m_gdx, &hole, &options));
    ASSERT_EQ(m_gdx.lenGet(), 2); // the handle's two polylines, each as it is stored
    EXPECT_EQ(item(0).m_vl[0].end, CQorPoint3d(2, 0, 0));
    EXPECT_EQ(item(0).m_flags, 0x100u); // the handle's text is the element's name
    EXPECT_EQ(m_host.calls, 0);
}

TEST_F(HoleImage, DrillingsGoToTheHostCompleted) {
    QOR::CDtaFilePointer hole = open(R"({"KIND": "HOLE", "BT": {"D": {
        "GEN": {"TYPE": "DRILL", "DIA": 5.0, "DEPTH": 10.0}, "ORIGIN": {"$point": [3, 4, 0]}}}})");
    QOR::CDtaFilePointer options = open(R"({"CMODE": 2, "ACT": "other",
        "MTX": {"$matrix": [[1, 0, 0, 10], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    ASSERT_TRUE(qor_gdx_image_hole(&m_gdx, &hole, &options));
    ASSERT_EQ(m_host.calls, 1);
    EXPECT_EQ(m_host.object, hole.get(CQorDataKey(L"BT", L"D", L"GEN")));
    CQorString kind;
    EXPECT_TRUE(m_host.objectCopy.get(kind, L"KIND")); // objGen made it a drilling of its own
    EXPECT_EQ(kind, L"DRILL");
    CQorMatrix3d mtx;
    int cmode = -1;
    ASSERT_TRUE(m_host.parm.get(mtx, L"MTX"));
    EXPECT_EQ(mtx.translation(), CQorVector3d(13, 4, 0));
    EXPECT_TRUE(m_host.parm.get(cmode, L"CMODE"));
    EXPECT_EQ(cmode, 2);
    EXPECT_EQ(m_gdx.lenGet(), 1); // only what the host drew
}

TEST_F(HoleImage, WithoutAnObjectTheHostPicksOne) {
    EXPECT_TRUE(qor_gdx_image_hole(&m_gdx, nullptr, nullptr)); // no pick: nothing drawn, still true
    EXPECT_EQ(m_host.selections, 1);
    EXPECT_EQ(m_host.selectedKind, L"HOLE");
    EXPECT_TRUE(m_host.selectFlag);
    EXPECT_EQ(m_gdx.lenGet(), 0);

    CQorDataItem root;
    ASSERT_TRUE(QOR::dataFromJson(root, pattern("F")));
    QOR::CAdsName entity;
    ASSERT_TRUE(QOR::dtaCreate(entity, &root));
    m_host.pick = &entity;
    EXPECT_TRUE(qor_gdx_image_hole(&m_gdx, nullptr, nullptr));
    EXPECT_EQ(m_gdx.lenGet(), 4);
    QOR::dtaErase(entity);

    EXPECT_FALSE(qor_gdx_image_hole(nullptr, nullptr, nullptr));
}

TEST_F(HoleImage, SampleMatchesReferenceImage) {
    QOR::qorAppSet(nullptr); // the default host draws the drillings with the solid modeller
    QOR::objectsInit();
    ASSERT_TRUE(QOR::cfgMgrPtr()->reload());
    constexpr int kWidth = 300, kHeight = 220;
    const std::filesystem::path sample =
        std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "objects" / "hole_pattern.json";
    QOR::CDtaFilePointer hole;
    CQorString message;
    ASSERT_TRUE(QOR::objOpen(sample.wstring().c_str(), QOR::kDtaRead, hole, &message)) << message.toUtf8();
    CQorGDX gdx;
    ASSERT_TRUE(qor_gdx_image_hole(&gdx, &hole, nullptr));
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));
    expectMatchesReference(bitmap, "image", "hole_pattern");
}

} // namespace
