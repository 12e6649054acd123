// The bar-surface image: an element's regions, surfaces, pick points and sub-elements.
#include <gtest/gtest.h>

#include "object_store_fixture.h"
#include "qor/gdx/gdx.h"
#include "qor/image/bar_image.h"
#include "qor/objlib/bar.h"

namespace {

// A 40 x 20 rectangle (as loops to join), a 10-wide square profile for references, an element placed at
// x = 100 with two sub-elements, one mounted through "XREF".
constexpr const char* kBar = R"({
    "G": {
        "BT": {
            "VL": {"$vll": [[[[0, 0, 0], [40, 0, 0], 0], [[40, 0, 0], [40, 20, 0], 0]],
                            [[[40, 20, 0], [0, 20, 0], 0], [[0, 20, 0], [0, 0, 0], 0]]]},
            "SURFACE": {"1": {"VL": {"$vl": [[[0, 20, 0], [40, 20, 0], 0]]}, "COAT": 1},
                        "2": {"VL": {"$vl": [[[0, 0, 0], [40, 0, 0], 0]]}},
                        "TOTAL": {"COAT": {"COLOR": 5, "RGB": 255}},
                        "3": {"VL": {"$vl": [[[0, 0, 0], [1, 0, 0], 0]]}}},
            "MTX": {"$matrix": [[1, 0, 0, 100], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}
        },
        "SUB1": {"XREF": {"REGL": {"#1": {"$vll": [[[[0, 0, 0], [10, 0, 0], 0], [[10, 0, 0], [10, 10, 0], 0],
                                                    [[10, 10, 0], [0, 10, 0], 0], [[0, 10, 0], [0, 0, 0], 0]]]}}},
                 "ORIGIN": {"$point": [140, 5, 0]}},
        "SUB2": {"REGL": {"#1": {"$vll": [[[[0, 0, 0], [5, 0, 0], 0], [[5, 0, 0], [5, 5, 0], 0],
                                           [[5, 5, 0], [0, 0, 0], 0]]]}}},
        "FLAT": 4,
        "JUNK": {"XREF": 5, "REGL": 7, "SURFACE": {"1": 4, "2": {"VL": "x"}, "TOTAL": {}}, "MTX": "no"}
    }
})";

constexpr const char* kRoot =
    R"({"KIND": "BAR", "SUBS": {"G": {"BT": {"$strs": ["SUB1", "NONE", "", "SUB2"]}}}})";

class BarImage : public ::testing::Test {
protected:
    bool draw(const char* options) {
        QOR::CDtaFilePointer object = m_objects.open(kRoot, kBar);
        QOR::CDtaFilePointer opt = LinkedObjects::scratch(options);
        return qor_gdx_image_bar_surface(&m_gdx, &object, &opt);
    }
    const CQorDisplayItem& item(int i) const { return m_gdx.getDisplayList()[i]; }

    LinkedObjects m_objects;
    CQorGDX m_gdx;
};

TEST_F(BarImage, DrawsRegionsSurfacesPicksAndSubElementsInOrder) {
    ASSERT_TRUE(draw(
        R"({"GRP": "G", "BT": "BT", "PICK": {"P1": {"$point": [0, 20, 0]}, "P2": {"$point": [40, 0, 0]}}})"));
    ASSERT_EQ(m_gdx.lenGet(), 8);
    // The element's one region, joined from its "VL" pieces.
    EXPECT_EQ(item(0).m_type, QorDisplayReg);
    EXPECT_EQ(item(0).m_flags, 0x10u);
    EXPECT_TRUE(item(0).m_mtx.isEqualTo(CQorMatrix3d(), 0.0));
    ASSERT_EQ(item(0).m_regions.len(), 1);
    EXPECT_TRUE(item(0).m_regions[0].isClosed());
    // Surfaces 1, 2, TOTAL, thickness 3; the one without "COAT" in colour 3; "3" is no surface.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(item(i).m_type, QorDisplayVl);
        EXPECT_EQ(item(i).m_flags, 0u);
        EXPECT_EQ(item(i).m_thickness, 3);
    }
    EXPECT_EQ(item(1).m_color.colorIndex(), 1);
    EXPECT_EQ(item(2).m_color.colorIndex(), 3);
    EXPECT_EQ(item(3).m_color.colorIndex(), 5);
    EXPECT_TRUE(item(3).m_vl == item(0).m_regions[0]); // TOTAL: the outer loop of the first region
    // Pick points.
    EXPECT_EQ(item(4).m_type, QorDisplayPt);
    EXPECT_EQ(item(4).m_flags, 0x100u);
    EXPECT_EQ(item(4).m_point, CQorPoint3d(0, 20, 0));
    EXPECT_EQ(item(4).m_pdSize, -10.0);
    EXPECT_EQ(item(4).m_pdMode, 3u);
    EXPECT_EQ(item(5).m_point, CQorPoint3d(40, 0, 0));
    // Sub-elements in the element's system: E^-1 x S puts SUB1 at (40, 5) right of the element.
    EXPECT_EQ(item(6).m_flags, 0x510u);
    EXPECT_EQ(item(6).m_mtx * CQorPoint3d::kOrigin, CQorPoint3d(40, 5, 0));
    EXPECT_EQ(item(7).m_flags, 0x510u);
    EXPECT_EQ(item(7).m_mtx * CQorPoint3d::kOrigin, CQorPoint3d(-100, 0, 0));
}

TEST_F(BarImage, NamesThatFindNoElementDrawNothing) {
    // An element of keys of the wrong kinds is understood and has nothing to draw.
    EXPECT_TRUE(draw(R"({"GRP": "G", "BT": "JUNK", "PICK": 3})"));
    EXPECT_EQ(m_gdx.lenGet(), 0);
    EXPECT_FALSE(draw(R"({"GRP": "G", "BT": "NONE"})"));
    EXPECT_FALSE(draw(R"({"GRP": "G", "BT": "FLAT"})")); // no directory
    EXPECT_FALSE(draw(R"({"GRP": "X", "BT": "BT"})"));
    EXPECT_FALSE(draw(R"({"GRP": "G\\BT", "BT": ""})")); // a name is no path
    EXPECT_FALSE(draw(R"({"BT": "BT"})"));
    EXPECT_FALSE(draw("5"));
    QOR::CDtaFilePointer object = m_objects.open(kRoot, kBar), options = LinkedObjects::scratch("{}");
    EXPECT_FALSE(qor_gdx_image_bar_surface(&m_gdx, &object, nullptr));
    EXPECT_FALSE(qor_gdx_image_bar_surface(&m_gdx, nullptr, &options));
    EXPECT_FALSE(qor_gdx_image_bar_surface(nullptr, &object, &options));
    QOR::CDtaFilePointer unlinked = m_objects.open(kRoot, nullptr);
    EXPECT_FALSE(qor_gdx_image_bar_surface(&m_gdx, &unlinked, &options));
    EXPECT_EQ(m_gdx.lenGet(), 0);
}

TEST(BarServices, RegionsFromReglElseVlAndSubElementsByName) {
    CQorDataItem item;
    ASSERT_TRUE(QOR::dataFromJson(item, R"({"REGL": {"#1": {"$vll": []}, "#2": 5},
        "VL": {"$vll": [[[[0, 0, 0], [4, 0, 0], 0], [[4, 0, 0], [0, 3, 0], 0], [[0, 3, 0], [0, 0, 0], 0]],
                        [[[1, 1, 0], [1, 0.5, 0], 0]]]}})"));
    // "REGL" holds no loops, so the closed loop of "VL" makes the one region; the open piece is dropped.
    QOR::BarRegions regions = QOR::barRegions(&item);
    ASSERT_EQ(regions.len(), 1);
    EXPECT_EQ(regions[0].len(), 1);
    EXPECT_TRUE(QOR::barRegions(nullptr).isEmpty());

    QOR::CDtaFilePointer profile = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &item);
    CQorMatrix3d move;
    move.setToTranslation(CQorVector3d(0, 0, 7));
    regions = QOR::bar_regl(&profile, move);
    ASSERT_EQ(regions.len(), 1);
    EXPECT_EQ(regions[0][0][0].start.z, 7.0);
    EXPECT_TRUE(QOR::bar_regl(nullptr, move).isEmpty());

    CQorDataItem root;
    ASSERT_TRUE(QOR::dataFromJson(root, R"({"SUBS": {"G": {"B\\1": {"$strs": ["A", "", "X\\Y"]}}}})"));
    CQorArrayTempl<CQorDataKey> keys{CQorDataKey(L"OLD")};
    ASSERT_TRUE(QOR::bar_bt_subs(keys, &root, L"G", L"B\\1"));
    ASSERT_EQ(keys.len(), 2);
    EXPECT_EQ(keys[1].len(), 1); // one component: "X\Y" is a name
    EXPECT_FALSE(QOR::bar_bt_subs(keys, &root, L"G", L"B"));
    EXPECT_TRUE(keys.isEmpty());
    EXPECT_FALSE(QOR::bar_bt_subs(keys, nullptr, L"G", L"B"));
}

} // namespace
