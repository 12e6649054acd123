#include <gtest/gtest.h>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

namespace {

// A tree holding every kind of value and every kind of key.
CQorDataItem everyKind() {
    CQorDataItem root;
    root.set(true, L"BOOL");
    root.set(-7, L"INT");
    root.set(4000000000ul, L"ULONG");
    root.set(5ul, L"SMALL_ULONG");
    root.set(0.1, L"DOUBLE");
    root.set(2.0, L"WHOLE_DOUBLE");
    root.set(-0.0, L"NEG_ZERO");
    root.set(std::nan(""), L"NAN");
    root.set(-std::numeric_limits<double>::infinity(), L"NEG_INF");
    root.set(std::numeric_limits<double>::denorm_min(), L"TINY");
    // Doubles whose shortest decimal forms need all 17 digits.
    const double exact[] = {1.0 / 3.0, 1e308, -2.2250738585072014e-308, 123456789.123456789};
    for (int i = 0; i < 4; ++i)
        root.set(exact[i], CQorDataKey(L"EXACT", i));
    root.set(L"Grüße \\ \"quoted\" \u4e2d", L"TEXT");
    root.set(CQorArrayTempl<int>{5, -7, 2147483647}, L"INTS");
    root.set(CQorArrayTempl<int>{}, L"NO_INTS");
    root.set(CQorArrayTempl<CQorString>{L"A", L""}, L"STRS");
    root.set(CQorPoint3d(1.5, -2, std::nan("")), L"POINT");
    root.set(CQorPoint3dArray{{0, 0, 0}, {1e300, -1e-300, 0.25}}, L"POINTS");
    CQorVertexArray vl;
    vl.append({0, 0, 0}, {1, 0, 0}, 0.5);
    vl.append({1, 0, 0}, {1, 1, 0}, -0.0);
    root.set(vl, L"VL");
    root.set(CQorVertexArray(), L"NO_VL");
    root.set(CQorArrayTempl<CQorVertexArray>{vl, CQorVertexArray(), vl}, L"VLL");
    CQorMatrix3d m;
    m.setToRotation(0.3, CQorVector3d::kZAxis, {1, 2, 3});
    m.entry[3][0] = std::numeric_limits<double>::infinity();
    root.set(m, L"MTX");
    root.getDir()->makeItem(L"FRESH");
    root.makeDir(L"EMPTY_DIR");
    root.set(1, CQorDataKey(L"SN", 12));
    root.set(2, CQorDataKey(L"SN", -3));
    root.set(3, CQorDataKey(CQorDataKey(L"SN"), CQorDataKey::handle(L"2A7F")));
    root.set(4, CQorDataKey(L"SN", L"#12"));
    root.set(5, CQorDataKey(L"SN", L"\\x"));
    root.set(6, CQorDataKey(L"SN", L""));
    root.set(7, CQorDataKey(L"SN", L"$"));
    return root;
}

} // namespace

TEST(DataJson, EveryKindRoundTripsExactly) {
    const CQorDataItem root = everyKind();
    std::string text;
    ASSERT_TRUE(QOR::dataToJson(root, text));
    CQorDataItem back;
    std::string error;
    ASSERT_TRUE(QOR::dataFromJson(back, text, &error)) << error << "\n" << text;
    EXPECT_EQ(back, root) << text;
    double negZero = 1;
    back.get(negZero, L"NEG_ZERO");
    EXPECT_TRUE(std::signbit(negZero));

    std::string again;
    QOR::dataToJson(back, again, -1);
    CQorDataItem third;
    ASSERT_TRUE(QOR::dataFromJson(third, again));
    EXPECT_EQ(third, root);
}

TEST(DataJson, PlainFormsReadAsTheirKinds) {
    CQorDataItem item;
    ASSERT_TRUE(QOR::dataFromJson(item, R"({"B": false, "I": 3, "D": 3.0, "E": 1e2, "S": "x", "N": null,
        "T": {"$int": 4}, "U": {"$double": 2}, "\\$": 1, "#-4": 1, "&ff": 1})"));
    EXPECT_EQ(item.getItem(L"B")->kind(), CQorDataItem::Kind::Bool);
    EXPECT_EQ(item.getItem(L"I")->kind(), CQorDataItem::Kind::Int);
    EXPECT_EQ(item.getItem(L"D")->kind(), CQorDataItem::Kind::Double);
    EXPECT_EQ(item.getItem(L"E")->kind(), CQorDataItem::Kind::Double);
    EXPECT_EQ(item.getItem(L"S")->kind(), CQorDataItem::Kind::String);
    EXPECT_TRUE(item.getItem(L"N")->isNone());
    EXPECT_EQ(item.getItem(L"T")->kind(), CQorDataItem::Kind::Int);
    EXPECT_EQ(item.getItem(L"U")->kind(), CQorDataItem::Kind::Double);
    EXPECT_NE(item.getItem(L"$"), nullptr);
    EXPECT_NE(item.getItem(-4), nullptr);
    EXPECT_NE(item.getItem(CQorDataKey::handle(L"ff")), nullptr);
}

TEST(DataJson, MalformedInputLeavesTheItemAlone) {
    const char* bad[] = {
        "",
        "{",
        "[1, 2]",
        "{\"A\": [1]}",
        "{\"$nope\": 1}",
        "{\"$int\": 1, \"B\": 2}",
        "{\"$int\": 2147483648}",
        "{\"$int\": 1.5}",
        "4294967296",
        "{\"$ulong\": -1}",
        "{\"$double\": \"NaN\"}",
        "{\"$ints\": [1, \"2\"]}",
        "{\"$strs\": [1]}",
        "{\"$ints\": 3}",
        "{\"#12x\": 1}",
        "{\"#012\": 1}",
        "{\"#-0\": 1}",
        "{\"#40000\": 1}",
        "{\"\\\\A\": 1}",
        "{\"A\": {\"$ints\": [1]}, \"B\": {\"C\": [\"x\"]}}",
        "\"\\ud800\"",
    };
    CQorDataItem item;
    item.set(1, L"KEEP");
    const CQorDataItem before(item);
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(QOR::dataFromJson(item, text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(item, before) << text;
    }
}

TEST(DataJson, NestingHasALimit) {
    std::string deep;
    for (int i = 0; i < QOR::kMaxJsonDepth + 1; ++i)
        deep += "{\"A\":";
    deep += "1";
    deep += std::string(QOR::kMaxJsonDepth + 1, '}');
    CQorDataItem item;
    EXPECT_FALSE(QOR::dataFromJson(item, deep));
    const std::string tooDeepArrays(100000, '[');
    EXPECT_FALSE(QOR::dataFromJson(item, tooDeepArrays));
}

TEST(DataJson, FilesAreWrittenAndReadBack) {
    const auto dir = std::filesystem::temp_directory_path() / "qor_test_data_json";
    std::filesystem::create_directories(dir);
    const auto file = dir / "tree.json";
    const CQorDataItem root = everyKind();
    ASSERT_TRUE(QOR::dataWriteJsonFile(root, file));
    EXPECT_FALSE(std::filesystem::exists(dir / "tree.json.tmp"));
    CQorDataItem back;
    ASSERT_TRUE(QOR::dataReadJsonFile(back, file));
    EXPECT_EQ(back, root);
    std::string error;
    EXPECT_FALSE(QOR::dataReadJsonFile(back, dir / "missing.json", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(QOR::dataWriteJsonFile(root, dir / "no_such_dir" / "x.json"));
    std::filesystem::remove_all(dir);
}
