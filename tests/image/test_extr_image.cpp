// The extrusion image: the host draws into a registry list, the generator copies what it drew.
#include <gtest/gtest.h>

#include "object_store_fixture.h"
#include "qor/gdx/gdx.h"
#include "qor/gdx/registry.h"
#include "qor/image/extr_image.h"
#include "qor/image/object_image.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/object_file.h"

namespace {

constexpr const char* kChannel = R"({"KIND": "EXTR", "PART_CON": "KONTUR", "HPNAME": "ANSI31", "HPSCALE": 2.0,
    "OUTLINE": {"ID": 7, "P1": 60.0, "P2": 30.0, "P3": 5.0, "P4": 6.0}})";

class ExtrImage : public ::testing::Test {
protected:
    void SetUp() override {
        CQorDataItem layers;
        ASSERT_TRUE(QOR::dataFromJson(layers, R"({"0": 7, "KONTUR": 1})"));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(layers, L"*LAYER*"));
    }
    void TearDown() override { QOR::objectsInit(); } // the default host function, whatever a test did

    QOR::CCfgBackup m_layers{CQorDataKey(L"*LAYER*")};
    CQorGDX m_gdx;
};

TEST_F(ExtrImage, DefaultHostDrawsTheSectionAndTheListIsCopiedThenRemoved) {
    QOR::CDtaFilePointer object = LinkedObjects::scratch(kChannel);
    QOR::CDtaFilePointer options = LinkedObjects::scratch(
        R"({"MTX": {"$matrix": [[1, 0, 0, 5], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    CQorMatrix3d tilted;
    tilted.setToTranslation(CQorVector3d(1, 2, 3));
    m_gdx.projMtxSet(tilted);
    const int nextKey = gdxMapKeyNew();
    ASSERT_TRUE(qor_gdx_image_extr(&m_gdx, &object, &options));
    EXPECT_EQ(getGdxFromMap(nextKey), nullptr); // the temporary list is gone
    EXPECT_TRUE(m_gdx.projMtxGet().isEqualTo(CQorMatrix3d(), 0.0));
    ASSERT_EQ(m_gdx.lenGet(), 1);
    const CQorDisplayItem& section = m_gdx.getDisplayList()[0];
    EXPECT_EQ(section.m_flags, 0x12u);
    EXPECT_EQ(section.m_color.colorIndex(), 1);
    EXPECT_EQ(section.m_hatch, QOR::CHatchProp(L"ANSI31", 0.0, 2.0, false));
    EXPECT_EQ(section.m_mtx * CQorPoint3d::kOrigin, CQorPoint3d(5, 0, 0));
    CQorPoint3d min, max;
    ASSERT_TRUE(m_gdx.extmaxGet(min, max));
    EXPECT_EQ(min, CQorPoint3d(5, 0, 0));
    EXPECT_EQ(max, CQorPoint3d(35, 60, 0));

    // A section of loops and no options: outline only, identity.
    m_gdx.clear();
    QOR::CDtaFilePointer loops = LinkedObjects::scratch(R"({"KIND": "EXTR", "VL": {"$vll": [
        [[[0, 0, 0], [10, 0, 0], 0], [[10, 0, 0], [10, 10, 0], 0], [[10, 10, 0], [0, 0, 0], 0]]]}})");
    ASSERT_TRUE(qor_gdx_image_extr(&m_gdx, &loops, nullptr));
    ASSERT_EQ(m_gdx.lenGet(), 1);
    EXPECT_EQ(m_gdx.getDisplayList()[0].m_flags, 0x10u);
}

TEST_F(ExtrImage, NoHostFunctionOrNothingDrawnGivesFalse) {
    QOR::CDtaFilePointer object = LinkedObjects::scratch(kChannel);
    ASSERT_TRUE(QOR::setHostFcn(L"qor_gdx_image_extr", {}));
    EXPECT_FALSE(qor_gdx_image_extr(&m_gdx, &object, nullptr));

    // A host function that draws nothing; it sees (key root nil).
    int key = -1;
    bool rootIsList = false, optionsNil = false;
    QOR::setHostFcn(L"qor_gdx_image_extr", [&](const resbuf* args, resbuf*&) {
        QOR::fromRb(key, args);
        const resbuf* root = args != nullptr ? args->rbnext : nullptr;
        rootIsList = root != nullptr && root->restype == RTLB;
        const resbuf* opt = QOR::rbSkip(root);
        optionsNil = opt != nullptr && opt->restype == RTNIL && opt->rbnext == nullptr;
        return RTNORM;
    });
    QOR::CDtaFilePointer options = LinkedObjects::scratch("5");
    EXPECT_FALSE(qor_gdx_image_extr(&m_gdx, &object, &options));
    EXPECT_EQ(m_gdx.lenGet(), 0);
    ASSERT_NE(getGdxFromMap(key), nullptr); // left for the host to look at
    EXPECT_TRUE(gdxMapRemoveAt(key));
    EXPECT_TRUE(rootIsList);
    EXPECT_TRUE(optionsNil); // options that are no directory

    EXPECT_FALSE(qor_gdx_image_extr(nullptr, &object, nullptr));
    EXPECT_FALSE(qor_gdx_image_extr(&m_gdx, nullptr, nullptr));
}

TEST_F(ExtrImage, DefaultHostFunctionRefusesArgumentsOfAnotherShape) {
    const int key = createGdxInMap(nullptr);
    ASSERT_GT(key, 0);
    resbuf* result = reinterpret_cast<resbuf*>(1);
    EXPECT_EQ(QOR::extrSectionHostFcn(nullptr, result), RTERROR);
    EXPECT_EQ(result, nullptr);

    const auto call = [&](int listKey, const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json));
        QOR::CUniqResbuf args(QOR::mkResbuf(RTLONG, listKey));
        args.append(root.isDir() ? QOR::rbToList(root.mkLisp()) : root.mkLisp());
        args.append(QOR::mkResbuf(RTNIL));
        resbuf* out = nullptr;
        return QOR::extrSectionHostFcn(args.get(), out);
    };
    EXPECT_EQ(call(key + 1000, kChannel), RTERROR);              // no such list
    EXPECT_EQ(call(key, R"({"KIND": "EXTR"})"), RTERROR);        // no section
    EXPECT_EQ(call(key, R"({"OUTLINE": {"ID": 99}})"), RTERROR); // no outline of that number
    EXPECT_EQ(call(key, R"({"VL": {"$vll": [[[[0, 0, 0], [1, 0, 0], 0]]]}})"), RTERROR); // not closed
    EXPECT_EQ(call(key, "3.5"), RTERROR);
    EXPECT_EQ(getGdxFromMap(key)->lenGet(), 0);
    EXPECT_EQ(call(key, kChannel), RTNORM);
    EXPECT_EQ(getGdxFromMap(key)->lenGet(), 1);
    gdxMapRemoveAt(key);
}

TEST(ExtrObject, NeedsASectionToBeAnObject) {
    const auto check = [](const char* json, const wchar_t* key) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json));
        CQorString bad;
        const bool ok = QOR::objCheck(&root, &bad);
        EXPECT_EQ(bad, CQorString(key)) << json;
        return ok;
    };
    EXPECT_TRUE(check(kChannel, L""));
    EXPECT_TRUE(check(R"({"KIND": "EXTR", "VL": {"$vll": []}})", L""));
    EXPECT_FALSE(check(R"({"KIND": "EXTR"})", L"VL"));
    EXPECT_FALSE(check(R"({"KIND": "EXTR", "VL": 3})", L"VL"));
    EXPECT_FALSE(check(R"({"KIND": "EXTR", "OUTLINE": 3})", L"OUTLINE"));
    // Formed sheets and bars keep their data in the linked object: their kind alone makes them objects.
    EXPECT_TRUE(check(R"({"KIND": "FSHEET"})", L""));
    EXPECT_TRUE(check(R"({"KIND": "BAR", "SUBS": 1})", L""));
}

} // namespace
