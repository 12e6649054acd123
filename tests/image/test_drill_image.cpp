// The drill image, through a host that records what it is handed. The reference picture of a bundled
// sample is tests/data/image/drill_countersunk.ref.png; to regenerate it after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_image --gtest_filter='DrillImage.*Reference*'
// and open the image before committing.
#include <gtest/gtest.h>

#include <filesystem>

#include "../render/reference_image.h"
#include "qor/gdx/gdx.h"
#include "qor/image/drill_image.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"
#include "qor/render/render.h"
#include "recording_host.h"

namespace {

class DrillImage : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = QOR::qorAppSet(&m_host);
        CQorDataItem table;
        ASSERT_TRUE(QOR::dataFromJson(table, R"({"0": 7, "BOHRUNG": 5})"));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(table, L"*LAYER*"));
    }
    void TearDown() override { QOR::qorAppSet(m_previous); }

    static QOR::CDtaFilePointer open(const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        return QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &root);
    }

    static constexpr const char* kSink = R"({"KIND": "DRILL", "VIEW": 3, "DIA": 6.6, "DEPTH": 20,
        "PART_SOLID": "BOHRUNG", "HEAD": {"TYPE": "SINK", "DIA": 13.0}})";

    RecordingHost m_host;
    CQorApp* m_previous = nullptr;
    QOR::CCfgBackup m_layers{CQorDataKey(L"*LAYER*")};
    CQorGDX m_gdx;
};

TEST_F(DrillImage, IsometricViewDrawsTheVisibleEdgesOnly) {
    QOR::CDtaFilePointer drill = open(kSink);
    QOR::CDtaFilePointer options = open(R"({"CMODE": 5, "COORD": true, "STACK": {"$ints": [5, 7]}})");
    ASSERT_TRUE(qor_gdx_image_drill(&m_gdx, &drill, &options));
    EXPECT_EQ(m_host.calls, 0);

    // The same projection, made here: the generator adds exactly its visible edges.
    CQor_Solid solid;
    ASSERT_TRUE(QOR::objModel(solid, drill.get()) && solid.solid());
    CQorMatrix3d view;
    const CQorVector3d x = CQorVector3d(1, 1, 0).normal(), z = CQorVector3d(1, -1, 1).normal();
    view.setCoordSystem(CQorPoint3d::kOrigin, x, z * x, z);
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    ASSERT_TRUE(solid.project(view, false, visible, hidden, 1));
    ASSERT_FALSE(hidden.isEmpty()); // there is something to leave out
    ASSERT_EQ(m_gdx.lenGet(), visible.len());
    for (int i = 0; i < visible.len(); ++i) {
        const CQorDisplayItem& item = m_gdx.getDisplayList()[i];
        EXPECT_EQ(item.m_flags, 0u); // whatever CMODE says
        EXPECT_EQ(item.m_stack, CQorArrayTempl<int>({5, 7, 1}));
        EXPECT_EQ(item.m_color.colorIndex(), 5);
        EXPECT_TRUE(static_cast<const CQorVertexArray&>(visible[i]) == item.m_vl);
    }
}

TEST_F(DrillImage, OtherViewsGoToTheHostAndMarkTheOrigin) {
    QOR::CDtaFilePointer drill = open(R"({"KIND": "DRILL", "VIEW": 1, "DIA": 8, "DEPTH": 10})");
    QOR::CDtaFilePointer options = open(R"({"CMODE": 4, "COORD": true, "STACK": {"$ints": [5, 7]},
        "MTX": {"$matrix": [[1, 0, 0, 10], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    ASSERT_TRUE(qor_gdx_image_drill(&m_gdx, &drill, &options));
    ASSERT_EQ(m_host.calls, 1);
    EXPECT_EQ(m_host.object, drill.get());
    CQorArrayTempl<int> stack;
    int cmode = 0;
    CQorMatrix3d mtx;
    EXPECT_TRUE(m_host.parm.get(stack, L"STACK"));
    EXPECT_EQ(stack, CQorArrayTempl<int>({5, 7, 1}));
    EXPECT_TRUE(m_host.parm.get(cmode, L"CMODE"));
    EXPECT_EQ(cmode, 4);
    EXPECT_TRUE(m_host.parm.get(mtx, L"MTX"));
    EXPECT_DOUBLE_EQ(mtx.entry[0][3], 10.0);

    ASSERT_EQ(m_gdx.lenGet(), 2); // the host's line, then the marker
    const CQorDisplayItem& marker = m_gdx.getDisplayList()[1];
    EXPECT_EQ(marker.m_type, QorDisplayPt);
    EXPECT_EQ(marker.m_flags, 0x400u);
    EXPECT_EQ(marker.m_stack, CQorArrayTempl<int>({5, 7, 2}));
    EXPECT_EQ(marker.m_point, CQorPoint3d::kOrigin);
    EXPECT_EQ(marker.m_pdMode, 0xFFFFFFFFu);
}

TEST_F(DrillImage, MissingOrMistypedOptionsTakeTheirDefaults) {
    // No "VIEW" (and one of another type): the host draws; no "COORD", no marker.
    QOR::CDtaFilePointer drill = open(R"({"KIND": "DRILL", "VIEW": "3", "DIA": 8, "DEPTH": 10})");
    QOR::CDtaFilePointer options = open(R"({"CMODE": "1", "COORD": "yes", "STACK": 5, "MTX": 3})");
    ASSERT_TRUE(qor_gdx_image_drill(&m_gdx, &drill, &options));
    CQorArrayTempl<int> stack;
    int cmode = -1;
    EXPECT_TRUE(m_host.parm.get(stack, L"STACK"));
    EXPECT_EQ(stack, CQorArrayTempl<int>({1}));
    EXPECT_TRUE(m_host.parm.get(cmode, L"CMODE"));
    EXPECT_EQ(cmode, 0);
    EXPECT_EQ(m_gdx.lenGet(), 1);

    QOR::CDtaFilePointer notDir = open("7"); // options that are no directory are not read
    ASSERT_TRUE(qor_gdx_image_drill(&m_gdx, nullptr, &notDir));
    EXPECT_EQ(m_host.calls, 2);
    EXPECT_EQ(m_host.object, nullptr);
}

TEST_F(DrillImage, ADrillingThatMakesNoSolidDrawsNothing) {
    QOR::CDtaFilePointer broken = open(R"({"KIND": "DRILL", "VIEW": 3, "DIA": -8, "DEPTH": 10})");
    EXPECT_FALSE(qor_gdx_image_drill(&m_gdx, &broken, nullptr));
    QOR::CDtaFilePointer wrongKind = open(R"({"KIND": "HOLE", "VIEW": 3})");
    EXPECT_FALSE(qor_gdx_image_drill(&m_gdx, &wrongKind, nullptr));
    EXPECT_EQ(m_gdx.lenGet(), 0);
    EXPECT_EQ(m_host.calls, 0);

    QOR::CDtaFilePointer drill = open(kSink);
    EXPECT_FALSE(qor_gdx_image_drill(nullptr, &drill, nullptr));
}

TEST_F(DrillImage, CountersunkSampleMatchesReferenceImage) {
    constexpr int kWidth = 200, kHeight = 250;
    const std::filesystem::path sample =
        std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "objects" / "drill_countersunk.json";
    QOR::CDtaFilePointer drill;
    CQorString message;
    ASSERT_TRUE(QOR::objOpen(sample.wstring().c_str(), QOR::kDtaRead, drill, &message)) << message.toUtf8();
    CQorGDX gdx; // white background from the host
    ASSERT_TRUE(qor_gdx_image_drill(&gdx, &drill, nullptr));
    // As qor-render draws it: the extents fitted to the picture.
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));
    expectMatchesReference(bitmap, "image", "drill_countersunk");
}

} // namespace
