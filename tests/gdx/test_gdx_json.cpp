#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "gdx_test_util.h"
#include "qor/gdx/gdx_json.h"

using namespace gdxtest;

namespace {

CQorColor bookColor() {
    CQorColor c(5);
    c.setColor(0x123456);
    c.setNames(L"RAL CLASSIC", L"RAL 3020 \u00c4");
    return c;
}

CQorMatrix3d oddMatrix() {
    CQorMatrix3d m;
    m.setToRotation(0.1, CQorVector3d(1, 2, 3), CQorPoint3d(4, 5, 6));
    m.entry[3][0] = -0.0;
    m.entry[3][1] = 1e-300;
    m.entry[3][2] = NAN;
    return m;
}

/// One item of every kind, every field away from its default; list fields set too.
CQorGDX everything() {
    CQorGDX gdx(bookColor(), oddMatrix(), 2.5, 35, {1, 2, 3}, {4, 5, 6});
    gdx.ColorTabSet(QOR::GdxColorHighlight, CQorColor(1));
    gdx.ColorTabSet(QOR::GdxColorMode(9), bookColor());
    gdx.viewMtxSet(getViewMtx({0, 0, 0}, {100, 50, 0}, 240, 320, 0.05));
    gdx.zoomMtxSet(oddMatrix());
    gdx.viewDirectionSet(L"NW");
    const QorDisplayObj kinds[] = {QorDisplayObj(0), QorDisplayVl,  QorDisplayPt,     QorDisplayReg,
                                   QorDisplayObj(4), QorDisplayTxt, QorDisplayPicture};
    CQorVertexArray arc;
    arc.append({0.1, 0.2, 0.3}, {1.0 / 3.0, -0.0, INFINITY}, 0.41421356237309503);
    CQorArrayTempl<CQorDisplayItem> items;
    int id = 0;
    for (QorDisplayObj kind : kinds) {
        CQorDisplayItem it;
        it.m_type = kind;
        it.m_flags = 0xFFFFFFFF - DWORD(id);
        it.m_stack = path({id, -7, 2147483647});
        it.m_color = bookColor();
        it.m_linetype = {0.5, -0.25, 0.0, NAN};
        it.m_ltscale = -INFINITY;
        it.m_point = {1e308, -1e-308, 5e-324};
        it.m_pdMode = 0x7FFFFFFF;
        it.m_pdSize = 0.1 + 0.2;
        it.m_vl = arc;
        it.m_regions = {square(0, 0, 1), arc, CQorVertexArray()};
        it.m_mtx = oddMatrix();
        it.m_fcolor = CQorColor(-1);
        it.m_fcolor.setNames(L"", L"only a name");
        it.m_thickness = -3;
        it.m_hatch = QOR::CHatchProp(L"AR-B816", 0.7853981633974483, 1e-3, true);
        it.m_align = L"CC";
        it.m_text = L"Stra\u00dfe \"quoted\" \\ \n \U0001F600";
        it.m_strokes = {{square(0, 0, 1), square(0.25, 0.25, 0.5)}, {}, {arc}};
        items.append(it);
        ++id;
    }
    gdx.addDisplayList(items);
    addVl(gdx, {99}, square(-10, -10, 3)); // widens the extents
    return gdx;
}

} // namespace

TEST(GdxJson, RoundTripKeepsEveryFieldExactly) {
    const CQorGDX original = everything();
    std::string text;
    ASSERT_TRUE(QOR::gdxToJson(original, text));
    CQorGDX loaded;
    std::string error;
    ASSERT_TRUE(QOR::gdxFromJson(loaded, text, &error)) << error;
    EXPECT_EQ(loaded, original);
    std::string again;
    ASSERT_TRUE(QOR::gdxToJson(loaded, again));
    EXPECT_EQ(again, text);
    // -0.0 stays negative; extents are restored, not recomputed.
    EXPECT_TRUE(std::signbit(loaded.getDisplayList()[1].m_vl[0].end.y));
    CQorPoint3d lo, hi;
    EXPECT_TRUE(loaded.extmaxGet(lo, hi));
    // One line and pretty text carry the same list.
    std::string line;
    ASSERT_TRUE(QOR::gdxToJson(original, line, false));
    EXPECT_EQ(line.find('\n'), std::string::npos);
    CQorGDX fromLine;
    ASSERT_TRUE(QOR::gdxFromJson(fromLine, line));
    EXPECT_EQ(fromLine, original);
}

TEST(GdxJson, DefaultFieldsAreLeftOutAndReadBack) {
    CQorGDX gdx = plainList();
    addPt(gdx, {3}, {1, 2, 3});
    std::string text;
    ASSERT_TRUE(QOR::gdxToJson(gdx, text));
    EXPECT_NE(text.find(R"({"type":2,"stack":[3],"color":2,"point":[1.0,2.0,3.0]})"), std::string::npos)
        << text;
    const char* minimal = R"({"qor_gdx":1,"items":[{"type":1,"vl":[[0,0,0,10,0,0,0]]}]})";
    CQorGDX loaded;
    ASSERT_TRUE(QOR::gdxFromJson(loaded, minimal));
    ASSERT_EQ(loaded.lenGet(), 1);
    EXPECT_EQ(loaded.ltscaleGet(0), 1.0);
    EXPECT_EQ(loaded.getDisplayList()[0].m_pdMode, QOR::kGdxPdModeDefault);
    CQorPoint3d lo, hi;
    EXPECT_FALSE(loaded.extmaxGet(lo, hi)); // extents are what the file says
}

TEST(GdxJson, MalformedTextFailsAndChangesNothing) {
    const char* bad[] = {
        "",
        "{",
        "[]",
        "null",
        R"({"items":[]})",             // no version
        R"({"qor_gdx":2})",            // unknown version
        R"({"qor_gdx":1,"itemz":[]})", // unknown member
        R"({"qor_gdx":1,"items":{}})",
        R"({"qor_gdx":1,"items":[{"flags":1}]})", // no type
        R"({"qor_gdx":1,"items":[{"type":1.5}]})",
        R"({"qor_gdx":1,"items":[{"type":4294967296}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"flags":-1}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"vl":[[0,0,0,1,1,1]]}]})", // six numbers
        R"({"qor_gdx":1,"items":[{"type":1,"vl":[[0,0,0,1,1,1,"x"]]}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"color":256}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"color":{"trueColor":"#FFFFFF"}}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"color":{"index":1,"trueColor":"#FFFFFG"}}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"hatch":{"double":1}}]})",
        R"({"qor_gdx":1,"items":[{"type":1,"strokes":[[[[0,0,0,1,1,1,0]]],5]}]})",
        R"({"qor_gdx":1,"extents":[[0,0,0]]})",
        R"({"qor_gdx":1,"projection":[[1,0,0,0],[0,1,0,0],[0,0,1,0]]})",
        R"({"qor_gdx":1,"colorTable":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15]})",
        R"({"qor_gdx":1,"pdMode":4294967296})",
        "{\"qor_gdx\":1,\"items\":[{\"type\":5,\"text\":\"\xff\"}]}", // invalid UTF-8
    };
    const CQorGDX original = everything();
    for (const char* text : bad) {
        CQorGDX gdx = original;
        std::string error;
        EXPECT_FALSE(QOR::gdxFromJson(gdx, text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(gdx, original) << text;
    }
}

TEST(GdxJson, DeepNestingIsRefusedWithoutCrashing) {
    std::string deep = R"({"qor_gdx":1,"items":[{"type":1,"vl":)";
    deep += std::string(100000, '[') + std::string(100000, ']') + "}]}";
    CQorGDX gdx;
    EXPECT_FALSE(QOR::gdxFromJson(gdx, deep));
}

TEST(GdxJson, FilesAreWrittenAndReadBack) {
    const auto dir = std::filesystem::temp_directory_path() / "qor_test_gdx_json";
    std::filesystem::create_directories(dir);
    const auto file = dir / "list.json";
    const CQorGDX original = everything();
    ASSERT_TRUE(QOR::gdxWriteJsonFile(original, file));
    EXPECT_FALSE(std::filesystem::exists(dir / "list.json.tmp"));
    CQorGDX loaded;
    ASSERT_TRUE(QOR::gdxReadJsonFile(loaded, file));
    EXPECT_EQ(loaded, original);
    std::string error;
    EXPECT_FALSE(QOR::gdxReadJsonFile(loaded, dir / "missing.json", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(QOR::gdxWriteJsonFile(original, dir / "no" / "such" / "folder.json"));
    std::filesystem::remove_all(dir);
}
