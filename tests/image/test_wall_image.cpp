#include <gtest/gtest.h>

#include "qor/gdx/gdx.h"
#include "qor/image/registry.h"
#include "qor/image/wall_image.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"

namespace {

/// The "WALL" generator of these tests: keeps a copy of what it is handed.
struct Handed {
    int calls = 0;
    bool hadObject = false;
    CQorDataItem options;
};
Handed g_handed;

bool recordWall(CQorGDX*, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    ++g_handed.calls;
    g_handed.hadObject = object != nullptr;
    if (options != nullptr && options->get() != nullptr) g_handed.options = *options->get();
    return true;
}

class WallEditImage : public ::testing::Test {
protected:
    void SetUp() override {
        g_handed = Handed();
        QOR::setGdxImageFcn(L"WALL", recordWall);
        configure("{}");
    }
    void TearDown() override { QOR::setGdxImageFcn(L"WALL", nullptr); }

    void configure(const char* json) {
        CQorDataItem edit;
        ASSERT_TRUE(QOR::dataFromJson(edit, json));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(edit, L"*WALL_EDIT*"));
    }
    static QOR::CDtaFilePointer open(const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        return QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &root);
    }
    int act() const {
        int number = -1;
        return g_handed.options.get(number, L"ACT") ? number : -1;
    }

    static constexpr const char* kWalls = R"({"KIND": "WALL", "CORNER": {"MODE": "SHELL"}, "SN": {
        "#4": {"VL": {"$vl": []}}, "#9": {"VL": {"$vl": []}}}})";
    QOR::CCfgBackup m_backup{CQorDataKey(L"*WALL_EDIT*")};
    CQorGDX m_gdx;
};

TEST_F(WallEditImage, TheConfiguredWallIsActiveInShellMode) {
    configure(R"({"BT": 9, "MODE": "SHELL", "VL": {"$vl": [[[0, 0, 0], [5, 0, 0], 0]]}})");
    QOR::CDtaFilePointer walls = open(kWalls);
    EXPECT_TRUE(qor_wall_edit_image(&m_gdx, &walls));
    ASSERT_EQ(g_handed.calls, 1);
    EXPECT_EQ(act(), 9);
    CQorVertexArray vl;
    int coord = 0;
    EXPECT_TRUE(g_handed.options.get(vl, L"VL"));
    EXPECT_EQ(vl.len(), 1);
    EXPECT_TRUE(g_handed.options.get(coord, L"COORD"));
    EXPECT_EQ(coord, 1);
}

TEST_F(WallEditImage, WithoutAConfiguredWallTheFirstWallIsCurrent) {
    QOR::CDtaFilePointer walls = open(kWalls);
    configure(R"({"MODE": "CORNER"})"); // the walls' corner mode is SHELL: ACT is written
    EXPECT_TRUE(qor_wall_edit_image(&m_gdx, &walls));
    EXPECT_EQ(act(), 4);

    configure(R"({"BT": 5, "MODE": "CORNER"})"); // a number no wall has
    EXPECT_TRUE(qor_wall_edit_image(&m_gdx, &walls));
    EXPECT_EQ(act(), 4);

    configure(R"({"BT": 9, "MODE": "OTHER"})"); // other modes name no active wall
    g_handed.options = CQorDataItem();
    EXPECT_TRUE(qor_wall_edit_image(&m_gdx, &walls));
    EXPECT_EQ(act(), -1);
    EXPECT_EQ(g_handed.calls, 3);
}

TEST_F(WallEditImage, NoWallsAndNoNumberDrawNothing) {
    QOR::CDtaFilePointer empty = open(R"({"KIND": "WALL", "SN": {}})");
    EXPECT_FALSE(qor_wall_edit_image(&m_gdx, &empty));
    EXPECT_FALSE(qor_wall_edit_image(&m_gdx, nullptr));
    EXPECT_EQ(g_handed.calls, 0);

    configure(R"({"BT": 2})"); // a configured number is enough; the generator decides
    EXPECT_TRUE(qor_wall_edit_image(&m_gdx, nullptr));
    EXPECT_FALSE(g_handed.hadObject);

    QOR::setGdxImageFcn(L"WALL", nullptr);
    EXPECT_FALSE(qor_wall_edit_image(&m_gdx, nullptr));
    EXPECT_FALSE(qor_wall_edit_image(nullptr, nullptr));
}

TEST(WallImage, DrawsEachWallAndHighlightsTheActiveOne) {
    CQorDataItem root;
    ASSERT_TRUE(QOR::dataFromJson(root, R"({"KIND": "WALL", "SN": {
        "#1": {"VL": {"$vl": [[[0, 0, 0], [4, 0, 0], 0], [[4, 0, 0], [4, 1, 0], 0], [[4, 1, 0], [0, 0, 0], 0]]}},
        "#2": {"VL": {"$vl": [[[0, 2, 0], [4, 2, 0], 0], [[4, 2, 0], [4, 3, 0], 0], [[4, 3, 0], [0, 2, 0], 0]]}}}})"));
    CQorDataItem opt;
    ASSERT_TRUE(QOR::dataFromJson(opt, R"({"ACT": 2, "CMODE": 3, "COORD": 1})"));
    QOR::CDtaFilePointer walls = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &root);
    QOR::CDtaFilePointer options = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &opt);
    CQorGDX gdx;
    ASSERT_TRUE(qor_gdx_image_wall(&gdx, &walls, &options));
    ASSERT_EQ(gdx.lenGet(), 4); // wall 1; wall 2 and its fill; the origin
    EXPECT_EQ(gdx.getDisplayList()[0].m_flags, 0x300u);
    EXPECT_EQ(gdx.getDisplayList()[1].m_flags, 0x100u);
    EXPECT_EQ(gdx.getDisplayList()[2].m_flags, 0x11u);
    EXPECT_EQ(gdx.getDisplayList()[3].m_flags, 0x400u);
    EXPECT_FALSE(qor_gdx_image_wall(&gdx, nullptr, &options));
}

} // namespace
