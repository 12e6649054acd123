#include <gtest/gtest.h>

#include "qor/kernel/base/color.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/objlib/layer.h"

namespace {

class Layers : public ::testing::Test {
protected:
    void SetUp() override {
        setTable(R"({"0": 3, "ACHSE": 1, "BLAU": {"COLOR": 5, "RGB": 255}, "A\\B": 6})");
    }

    void setTable(const char* json) {
        CQorDataItem table;
        ASSERT_TRUE(QOR::dataFromJson(table, json));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(table, L"*LAYER*"));
    }

    static CQorDataItem item(const char* json) {
        CQorDataItem root;
        EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
        return root;
    }

    QOR::CCfgBackup m_backup{CQorDataKey(L"*LAYER*")};
};

TEST_F(Layers, ColourOfAKnownLayerElseOfLayerZero) {
    CQorColor color;
    EXPECT_TRUE(QOR::layer_color(color, L"ACHSE"));
    EXPECT_EQ(color.colorIndex(), 1);
    EXPECT_TRUE(QOR::layer_color(color, L"BLAU"));
    EXPECT_EQ(color.colorIndex(), 5);
    EXPECT_EQ(color.blue(), 255);
    EXPECT_TRUE(QOR::layer_color(color, L"A\\B")); // one name, not a path
    EXPECT_EQ(color.colorIndex(), 6);

    for (const wchar_t* unknown : {L"achse", L"GIBTSNICHT", L"A", static_cast<const wchar_t*>(nullptr)}) {
        EXPECT_EQ(QOR::layer_color(color, unknown), unknown == nullptr) << (unknown ? unknown : L"null");
        EXPECT_EQ(color.colorIndex(), 3);
    }
    setTable("{}"); // no layer "0" either: colour 7
    EXPECT_FALSE(QOR::layer_color(color, L"ACHSE"));
    EXPECT_EQ(color.colorIndex(), 7);
}

TEST_F(Layers, PhysicalLayerFromTheObjectThenTheTable) {
    CQorString name = L"0";
    EXPECT_TRUE(QOR::phys_layer(name, L"ACHSE", nullptr));
    EXPECT_EQ(name, L"ACHSE");

    const CQorDataItem own = item(R"({"ACHSE": "MITTE", "PART_SOLID": "", "KONTUR": 4})");
    EXPECT_TRUE(QOR::phys_layer(name, L"ACHSE", &own));
    EXPECT_EQ(name, L"MITTE");

    name = L"0"; // an empty or non-text entry does not count; the table has no "KONTUR"
    EXPECT_FALSE(QOR::phys_layer(name, L"PART_SOLID", &own));
    EXPECT_FALSE(QOR::phys_layer(name, L"KONTUR", &own));
    EXPECT_FALSE(QOR::phys_layer(name, nullptr, &own));
    EXPECT_EQ(name, L"0");
}

TEST_F(Layers, ElementLayersForVisibleAndHiddenEdges) {
    CQorString first, second;
    const CQorDataItem both = item(R"({"PART": "BLAU", "PART_HID": "ACHSE"})");
    EXPECT_TRUE(QOR::getBtLayer(&both, first, second));
    EXPECT_EQ(first, L"BLAU");
    EXPECT_EQ(second, L"ACHSE");

    const CQorDataItem part = item(R"({"PART": "BLAU"})");
    EXPECT_TRUE(QOR::getBtLayer(&part, first, second));
    EXPECT_EQ(second, L"BLAU"); // no "VERDECKT" in the table: hidden edges stay on the part layer
    setTable(R"({"0": 7, "VERDECKT": 8})");
    EXPECT_TRUE(QOR::getBtLayer(&part, first, second));
    EXPECT_EQ(second, L"VERDECKT");

    const CQorDataItem value = item("5");
    EXPECT_FALSE(QOR::getBtLayer(&value, first, second));
    EXPECT_EQ(first, L"0");
    EXPECT_EQ(second, L"0");
}

} // namespace
