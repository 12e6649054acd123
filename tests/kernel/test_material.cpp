#include <gtest/gtest.h>

#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/host/material.h"

namespace {

// A library with a group, a base chain, an edge material, a property-less material and a plain label;
// the drawing redefines one library material and adds one of its own.
constexpr const char* kLibrary = R"json({
    "STEEL": {"LABEL": "\\de:Stahl\\en:Steel", "SUBS": {"$strs": ["S235JR", "S235JR_GALV"]}},
    "S235JR": {"LABEL": "\\de:Baustahl\\fr:Acier", "PHYS": {"Density": 7850, "E_MODULUS": 210000.0}},
    "S235JR_GALV": {"BASE": "S235JR"},
    "ABS_EDGE": {"EDGE": {"$strs": ["ABS 0.4 mm", "ABS 2 mm"]}, "EDGE_KIND": 2, "PHYS_KIND": 0},
    "SPACE": {"LABEL": "Luft"},
    "NOT_A_MATERIAL": 5
})json";
constexpr const char* kDrawing = R"json({
    "S235JR": {"LABEL": "\\de:Baustahl (Zeichnung)"},
    "CUSTOM": {"LABEL": "\\de:Eigenes\\en:Custom", "SUBS": {"$strs": ["SPACE"]}}
})json";

class Materials : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QOR::dataFromJson(m_library, kLibrary));
        ASSERT_TRUE(QOR::dataFromJson(m_drawing, kDrawing));
    }
    CQorDataItem m_library;
    CQorDataItem m_drawing;
    QOR::CMatMgr m_manager{&m_library, &m_drawing};
    QOR::CMatMgr m_libraryOnly{&m_library, nullptr};
};

} // namespace

TEST_F(Materials, PropertiesAndDerivedKinds) {
    QOR::CMatProp prop;
    ASSERT_TRUE(m_libraryOnly.propGet(L"S235JR", prop));
    EXPECT_EQ(prop.m_name, L"S235JR");
    EXPECT_EQ(prop.m_physKind, 2);
    ASSERT_NE(prop.m_phys.find(CQorString(L"DENSITY")), nullptr); // names are upper-cased
    EXPECT_EQ(*prop.m_phys.find(CQorString(L"DENSITY")), 7850.0);
    EXPECT_EQ(*prop.m_phys.find(CQorString(L"E_MODULUS")), 210000.0);

    ASSERT_TRUE(m_libraryOnly.propGet(L"s235jr_galv", prop)); // any case
    EXPECT_EQ(prop.m_base, L"S235JR");
    EXPECT_EQ(prop.m_physKind, 1);
    EXPECT_TRUE(prop.m_phys.isEmpty());

    ASSERT_TRUE(m_libraryOnly.propGet(L"ABS_EDGE", prop));
    EXPECT_EQ(prop.m_edgeKind, 2);
    EXPECT_EQ(prop.m_physKind, 0);
    ASSERT_EQ(prop.m_edges.len(), 2);
    EXPECT_EQ(prop.m_edges[1], L"ABS 2 mm");

    ASSERT_TRUE(m_libraryOnly.propGet(L"STEEL", prop));
    EXPECT_EQ(prop.m_physKind, 0);
    EXPECT_EQ(prop.m_edgeKind, 0);
    ASSERT_EQ(prop.m_subs.len(), 2);
}

TEST_F(Materials, UnknownNamesLeaveThePropertiesAlone) {
    QOR::CMatProp prop;
    prop.m_name = L"kept";
    EXPECT_FALSE(m_manager.propGet(L"NONE", prop));
    EXPECT_FALSE(m_manager.propGet(L"NOT_A_MATERIAL", prop));
    EXPECT_FALSE(m_manager.propGet(L"", prop));
    EXPECT_FALSE(m_manager.propGet(nullptr, prop));
    EXPECT_EQ(prop.m_name, L"kept");
    EXPECT_FALSE(QOR::CMatMgr(nullptr, nullptr).propGet(L"STEEL", prop));
}

TEST_F(Materials, DrawingDefinitionWinsAndShadowMaterials) {
    QOR::CMatProp prop;
    ASSERT_TRUE(m_manager.propGet(L"S235JR", prop));
    EXPECT_TRUE(prop.m_phys.isEmpty());
    EXPECT_EQ(prop.m_label, L"\\de:Baustahl (Zeichnung)");
    EXPECT_TRUE(m_manager.isShadowMat(L"CUSTOM"));
    EXPECT_FALSE(m_manager.isShadowMat(L"S235JR"));
    EXPECT_FALSE(m_manager.isShadowMat(L"NONE"));
    EXPECT_FALSE(m_manager.isShadowMat(nullptr));
}

TEST_F(Materials, LabelsFollowTheLanguageThenFallBack) {
    EXPECT_EQ(m_libraryOnly.matLabel(L"STEEL", L"en"), L"Steel");
    EXPECT_EQ(m_libraryOnly.matLabel(L"STEEL", L"fr"), L"Steel"); // French falls back to English
    EXPECT_EQ(m_libraryOnly.matLabel(L"S235JR", L"fr"), L"Acier");
    EXPECT_EQ(m_libraryOnly.matLabel(L"S235JR", L"en"), L"Baustahl"); // then German
    EXPECT_EQ(m_libraryOnly.matLabel(L"SPACE", L"en"), L"Luft");      // a plain text
    EXPECT_EQ(m_libraryOnly.matLabel(L"S235JR_GALV", L"de"), L"");
    EXPECT_EQ(m_libraryOnly.matLabel(L"NONE", L"de"), L"");
}

TEST_F(Materials, ListingLeavesSubMaterialsBelowTheirParents) {
    CQorArrayTempl<CQorString> names;
    ASSERT_TRUE(m_manager.matDrawAll(names, false));
    ASSERT_EQ(names.len(), 3);
    EXPECT_EQ(names[0], L"STEEL");
    EXPECT_EQ(names[1], L"ABS_EDGE");
    EXPECT_EQ(names[2], L"CUSTOM"); // drawing-only materials come last
    ASSERT_TRUE(m_manager.matDrawAll(names, true));
    ASSERT_EQ(names.len(), 6);
    EXPECT_EQ(names[4], L"SPACE");
    EXPECT_EQ(names[5], L"CUSTOM");
}

TEST(MaterialLibrary, BundledLibraryIsConsistent) {
    const QOR::CMatMgr manager;
    CQorArrayTempl<CQorString> all;
    ASSERT_TRUE(manager.matDrawAll(all, true));
    EXPECT_GE(all.len(), 10);
    bool hasEdge = false;
    for (const CQorString& name : all) {
        QOR::CMatProp prop;
        ASSERT_TRUE(manager.propGet(name, prop)) << name.toUtf8();
        EXPECT_FALSE(manager.matLabel(name, L"de").isEmpty()) << name.toUtf8();
        EXPECT_FALSE(manager.matLabel(name, L"en").isEmpty()) << name.toUtf8();
        for (const CQorString& sub : prop.m_subs)
            EXPECT_GE(all.indexOf(sub), 0) << sub.toUtf8();
        if (prop.m_physKind == 1) {
            QOR::CMatProp base;
            ASSERT_TRUE(manager.propGet(prop.m_base, base));
            EXPECT_EQ(base.m_physKind, 2);
        }
        hasEdge = hasEdge || (prop.m_edgeKind == 2 && !prop.m_edges.isEmpty());
        EXPECT_FALSE(manager.isShadowMat(name));
    }
    EXPECT_TRUE(hasEdge);
    CQorArrayTempl<CQorString> top;
    ASSERT_TRUE(manager.matDrawAll(top, false));
    EXPECT_LT(top.len(), all.len());
}

TEST(MaterialLibrary, DrawingMaterialsOfTheHost) {
    QOR::CCfgBackup backup(L"*QOR_HOST*\\MATERIAL");
    CQorDataItem* drawing = QOR::cfg_dir_make(L"*QOR_HOST*\\MATERIAL");
    ASSERT_NE(drawing, nullptr);
    ASSERT_TRUE(drawing->set(L"\\de:Sonderblech", CQorDataKey(L"CUSTOM", L"LABEL")));
    const QOR::CMatMgr manager;
    EXPECT_TRUE(manager.isShadowMat(L"CUSTOM"));
    EXPECT_EQ(manager.matLabel(L"CUSTOM", L"en"), L"Sonderblech");
}
