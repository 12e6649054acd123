#include <gtest/gtest.h>

#include "qor/gdx/gdx.h"
#include "qor/image/object_image.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/outline.h"

namespace {

CQorDataItem item(const char* json) {
    CQorDataItem root;
    EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
    return root;
}

constexpr const char* kSink =
    R"({"TYPE": "DRILL", "DIA": 6.6, "DEPTH": 10.0, "HEAD": {"TYPE": "SINK", "DIA": 13.0}})";

/// The box of every item of the list.
void bounds(const CQorGDX& gdx, CQorPoint3d& min, CQorPoint3d& max) {
    min = CQorPoint3d(1e9, 1e9, 1e9);
    max = CQorPoint3d(-1e9, -1e9, -1e9);
    for (const CQorDisplayItem& it : gdx.getDisplayList()) {
        CQorPoint3d a, b;
        ASSERT_TRUE(it.m_vl.extents(a, b));
        min = CQorPoint3d(std::min(min.x, a.x), std::min(min.y, a.y), 0);
        max = CQorPoint3d(std::max(max.x, b.x), std::max(max.y, b.y), 0);
    }
}

TEST(ObjectImage, ADrillingElementSeenFromAboveShowsItsHeadAtItsPlace) {
    const CQorDataItem gen = item(kSink);
    const CQorDataItem parm = item(R"({"CMODE": 3, "STACK": {"$ints": [4]},
        "MTX": {"$matrix": [[1, 0, 0, 10], [0, 1, 0, 20], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    CQorGDX gdx;
    ASSERT_TRUE(qor_object_image(&gdx, &gen, &parm));
    ASSERT_GT(gdx.lenGet(), 0);
    int hidden = 0;
    for (const CQorDisplayItem& it : gdx.getDisplayList()) {
        EXPECT_EQ(it.m_flags, 0x300u);
        EXPECT_EQ(it.m_stack, CQorArrayTempl<int>({4}));
        hidden += it.m_linetype.len() == 3;
    }
    EXPECT_GT(hidden, 0); // the shaft lies below the countersink
    CQorPoint3d min, max;
    bounds(gdx, min, max);
    EXPECT_NEAR(min.x, 10 - 6.5, 1e-6);
    EXPECT_NEAR(max.y, 20 + 6.5, 1e-6);
    CQorDataItem unchanged = item(kSink);
    EXPECT_TRUE(gen == unchanged); // the host's copy was completed, not the caller's item
}

TEST(ObjectImage, TheObjectsViewTurnsIt) {
    CQorDataItem drill = item(kSink);
    ASSERT_TRUE(drill.set(1, L"VIEW")); // front: the drilling hangs down from its head
    CQorGDX gdx;
    ASSERT_TRUE(qor_object_image(&gdx, &drill, nullptr));
    CQorPoint3d min, max;
    bounds(gdx, min, max);
    EXPECT_NEAR(max.x - min.x, 13.0, 1e-6);
    EXPECT_NEAR(max.y, 0.0, 1e-6);
    EXPECT_LT(min.y, -10.0); // the point lies below DEPTH
}

TEST(ObjectImage, AnOutlineElementIsItsPolylinePlaced) {
    const CQorDataItem gen = item(R"({"TYPE": "OUTLINE", "ID": 4, "P1": 20.0, "P2": 8.0})");
    const CQorDataItem parm =
        item(R"({"MTX": {"$matrix": [[0, -1, 0, 5], [1, 0, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    CQorGDX gdx;
    ASSERT_TRUE(qor_object_image(&gdx, &gen, &parm));
    ASSERT_EQ(gdx.lenGet(), 1);
    CQorMatrix3d mtx;
    ASSERT_TRUE(parm.get(mtx, L"MTX"));
    EXPECT_TRUE(gdx.getDisplayList()[0].m_vl == QOR::g_outline(4, {}, {20.0, 8.0}).transformBy(mtx));
}

TEST(ObjectImage, RefusesWhatItCannotDraw) {
    CQorGDX gdx;
    const CQorDataItem gen = item(kSink);
    const CQorDataItem singular =
        item(R"({"MTX": {"$matrix": [[0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})");
    const CQorDataItem hole = item(R"({"KIND": "HOLE", "BT": {}})");
    EXPECT_FALSE(qor_object_image(&gdx, &gen, &singular));
    EXPECT_FALSE(qor_object_image(&gdx, &hole, nullptr));
    EXPECT_FALSE(qor_object_image(&gdx, nullptr, nullptr));
    EXPECT_FALSE(qor_object_image(nullptr, &gen, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);
}

TEST(ObjectImage, TheDefaultHostDrawsWithItOnceInstalled) {
    CQorApp* previous = QOR::qorAppSet(nullptr);
    const CQorDataItem gen = item(kSink);
    CQorGDX gdx;
    QOR::setDefaultObjectImage(nullptr);
    EXPECT_FALSE(QOR::qorAppPtr()->objectImage(&gdx, &gen, nullptr));
    QOR::objectsInit();
    EXPECT_TRUE(QOR::qorAppPtr()->objectImage(&gdx, &gen, nullptr));
    EXPECT_GT(gdx.lenGet(), 0);
    QOR::qorAppSet(previous);
}

} // namespace
