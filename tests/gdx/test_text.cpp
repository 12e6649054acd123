// Text items: the adders, the layout rule (advance, width, alignment codes), the setters and getters,
// the host's strokes and the JSON form of text items.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gdx_test_util.h"
#include "qor/gdx/gdx_json.h"
#include "qor/gdx/stroke_font.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/host/host_app.h"

using namespace gdxtest;

namespace {

/// Ink width of a character's glyph.
double inkWidth(wchar_t c) {
    const Box b = strokeBox(get_ascii_from_map(c));
    return b.hi.x - b.lo.x;
}

/// Every vertex of a moved by v.
CQorStrokeGroups moved(CQorStrokeGroups groups, const CQorVector3d& v) {
    for (auto& group : groups)
        for (auto& loop : group)
            loop.move(v);
    return groups;
}

void expectNear(const CQorStrokeGroups& a, const CQorStrokeGroups& b) {
    ASSERT_EQ(a.len(), b.len());
    for (int g = 0; g < a.len(); ++g) {
        ASSERT_EQ(a[g].len(), b[g].len());
        for (int l = 0; l < a[g].len(); ++l) {
            ASSERT_EQ(a[g][l].len(), b[g][l].len());
            for (int v = 0; v < a[g][l].len(); ++v) {
                EXPECT_NEAR(a[g][l][v].start.x, b[g][l][v].start.x, 1e-12);
                EXPECT_NEAR(a[g][l][v].start.y, b[g][l][v].start.y, 1e-12);
            }
        }
    }
}

class TextTest : public testing::Test {
protected:
    /// The strokes of a text laid out at pos with align, as imageTxt stores them.
    CQorStrokeGroups laid(const wchar_t* text, const wchar_t* align = L"", CQorPoint3d pos = {}) {
        gdx.imageTxt(path({1}), 0, text, CQorColor(3), CQorMatrix3d{}, align, pos, CQorPoint3d{});
        CQorStrokeGroups out;
        gdx.geomGet(out, -1);
        return out;
    }

    CQorGDX gdx = plainList();
};

TEST_F(TextTest, AdderStoresTheTextItemFieldsAndItsStrokes) {
    CQorMatrix3d m;
    m.setToScaling(10.0);
    gdx.imageTxt(path({4, 2}), 0x10, L"Ab", CQorColor(6), m, L"TR", {1, 2, 0}, {7, 7, 0});
    ASSERT_EQ(gdx.lenGet(), 1);
    const CQorDisplayItem& it = gdx.getDisplayList()[0];
    EXPECT_EQ(it.m_type, QorDisplayTxt);
    EXPECT_EQ(it.m_flags, 0x10u);
    EXPECT_EQ(it.m_stack, path({4, 2}));
    EXPECT_EQ(it.m_color, CQorColor(6));
    EXPECT_EQ(it.m_linetype, (CQorArrayTempl<double>{1.0, 0.0, 0.0}));
    EXPECT_EQ(it.m_ltscale, 0.0);
    EXPECT_EQ(it.m_thickness, 0);
    EXPECT_TRUE(it.m_vl.isEmpty()); // not anchored
    EXPECT_STREQ(gdx.txtGet(0), L"Ab");
    EXPECT_STREQ(gdx.txtAlignGet(0), L"TR");
    EXPECT_EQ(gdx.txtPointGet(0), CQorPoint3d(1, 2, 0));
    EXPECT_EQ(it.m_strokes.len(), get_ascii_from_map(L'A').len() + get_ascii_from_map(L'b').len());

    // Extents: the strokes under the item matrix.
    const Box b = strokeBox(it.m_strokes);
    CQorPoint3d lo, hi;
    ASSERT_TRUE(gdx.extmaxGet(lo, hi));
    EXPECT_NEAR(lo.x, 10 * b.lo.x, 1e-9);
    EXPECT_NEAR(hi.y, 10 * b.hi.y, 1e-9);

    // Anchored and no-extents texts leave the extents alone; anchored ones carry the anchor vertex.
    gdx.imageTxt(path({5}), QOR::GdxItemAnchored, L"W", CQorColor(6), m, L"", {100, 100, 0}, {7, 8, 0});
    gdx.imageTxt(path({5}), QOR::GdxItemNoExtents, L"W", CQorColor(6), m, L"", {-100, 0, 0}, {});
    CQorPoint3d lo2, hi2;
    gdx.extmaxGet(lo2, hi2);
    EXPECT_EQ(lo2, lo);
    EXPECT_EQ(hi2, hi);
    ASSERT_EQ(gdx.getDisplayList()[1].m_vl.len(), 1);
    EXPECT_EQ(gdx.getDisplayList()[1].m_vl[0].start, CQorPoint3d(7, 8, 0));
    EXPECT_EQ(gdx.getDisplayList()[1].m_vl[0].end, CQorPoint3d::kOrigin);
}

TEST_F(TextTest, CharactersAdvanceByInkWidthPlusHalfAndSpacesTakeNoRoom) {
    const CQorStrokeGroups i = laid(L"I");
    const CQorStrokeGroups ii = laid(L"II");
    ASSERT_EQ(ii.len(), 2);
    const double advance = inkWidth(L'I') + 0.5;
    expectNear(CQorStrokeGroups{ii[1]}, moved(i, {advance, 0, 0}));

    const CQorStrokeGroups ab = laid(L"AB");
    EXPECT_EQ(laid(L"A B"), ab);
    EXPECT_EQ(laid(L"A`B"), ab); // the grave accent has no glyph either
    EXPECT_EQ(laid(L"  AB\t"), ab);
    // Loops come out counter-clockwise, holes included.
    for (const auto& group : ab)
        for (const auto& loop : group)
            EXPECT_TRUE(QOR::g_vl_orient(loop, CQorVector3d::kZAxis));
}

TEST_F(TextTest, AlignmentCodesShiftByTopAndWidth) {
    const CQorStrokeGroups base = laid(L"Hi");
    const double H = strokeBox(base).hi.y;
    EXPECT_EQ(H, strokeBox(get_ascii_from_map(L'i')).hi.y); // the dot of "i" stands above "H"
    const double W = inkWidth(L'H') + 0.5 + inkWidth(L'i') + 0.5 - 0.3;
    const struct {
        const wchar_t* code;
        double dx, dy;
    } codes[] = {{L"TL", 0, -H},          {L"TC", -W / 2, -H}, {L"TR", -W, -H},    {L"CL", 0, -H / 2},
                 {L"CC", -W / 2, -H / 2}, {L"CR", -W, -H / 2}, {L"BC", -W / 2, 0}, {L"BR", -W, 0}};
    for (const auto& c : codes) {
        SCOPED_TRACE(testing::Message() << CQorString(c.code).toUtf8());
        expectNear(laid(L"Hi", c.code), moved(base, {c.dx, c.dy, 0}));
    }
    // Codes compare exactly: anything else is bottom-left.
    for (const wchar_t* other : {L"BL", L"bl", L"tr", L"", L"TRX", L"T"})
        EXPECT_EQ(laid(L"Hi", other), base) << CQorString(other).toUtf8();
}

TEST_F(TextTest, SingleCharacterCentresOnThePoint) {
    // "CC" of one "I" at the origin: centred vertically, and by the width W = ink + 0.2 horizontally.
    const Box b = strokeBox(laid(L"I", L"CC"));
    EXPECT_NEAR(b.lo.y, -0.5, 1e-12);
    EXPECT_NEAR(b.hi.y, 0.5, 1e-12);
    const double lsb = strokeBox(get_ascii_from_map(L'I')).lo.x;
    EXPECT_NEAR(b.lo.x, lsb - (inkWidth(L'I') + 0.2) / 2, 1e-12);
}

TEST_F(TextTest, TopCountsFromTheBaselineOriginNotFromTheInsertionPoint) {
    // H is the largest top of the placed glyphs, so it includes the point's height: "TL" at y = 2 puts
    // the top of "H" at y = 0.
    const Box b = strokeBox(laid(L"H", L"TL", {5, 2, 0}));
    EXPECT_NEAR(b.hi.y, 0.0, 1e-12);
    EXPECT_NEAR(b.lo.x, 5 + strokeBox(get_ascii_from_map(L'H')).lo.x, 1e-12);
    // ... and H never drops below 0: below the origin "TL" does not move the text up.
    const Box below = strokeBox(laid(L"H", L"TL", {0, -5, 0}));
    EXPECT_NEAR(below.hi.y, -4.0, 1e-12);
}

TEST_F(TextTest, EmptyTextsHaveNoStrokesAndNoExtents) {
    for (const wchar_t* code : {L"TR", L"CC", L""}) {
        EXPECT_TRUE(laid(L"", code).isEmpty());
        EXPECT_TRUE(laid(L"   ", code).isEmpty());
    }
    gdx.imageTxt(path({2}), 0, nullptr, CQorColor(1), CQorMatrix3d{}, nullptr, {}, {});
    EXPECT_STREQ(gdx.txtGet(-1), L"");
    EXPECT_STREQ(gdx.txtAlignGet(-1), L"");
    CQorPoint3d lo, hi;
    EXPECT_FALSE(gdx.extmaxGet(lo, hi));
}

TEST_F(TextTest, SettersLayOutAgainEveryItemUnderThePathAndRecomputeTheExtents) {
    gdx.imageTxt(path({1, 1}), 0, L"A", CQorColor(1), CQorMatrix3d{}, L"", {}, {});
    gdx.imageTxt(path({1, 2}), 0, L"B", CQorColor(1), CQorMatrix3d{}, L"", {0, 5, 0}, {});
    gdx.imageTxt(path({2}), 0, L"C", CQorColor(1), CQorMatrix3d{}, L"", {}, {});
    CQorGDX expected = plainList();
    expected.imageTxt(path({1, 1}), 0, L"WW", CQorColor(1), CQorMatrix3d{}, L"", {}, {});
    expected.imageTxt(path({1, 2}), 0, L"WW", CQorColor(1), CQorMatrix3d{}, L"TR", {0, 5, 0}, {});
    expected.imageTxt(path({2}), 0, L"C", CQorColor(1), CQorMatrix3d{}, L"", {100, 0, 0}, {});

    EXPECT_TRUE(gdx.txtSet(path({1}), L"WW"));
    EXPECT_TRUE(gdx.txtAlignSet(path({1, 2}), L"TR"));
    gdx.txtPointSet(path({2}), {100, 0, 0});
    // Same texts, strokes and extents as items added that way in the first place.
    EXPECT_EQ(gdx, expected);

    // Null is refused; no match still succeeds; an empty path selects every item.
    EXPECT_FALSE(gdx.txtSet(path({1}), nullptr));
    EXPECT_FALSE(gdx.txtAlignSet(path({1}), nullptr));
    EXPECT_TRUE(gdx.txtSet(path({9}), L"X"));
    EXPECT_EQ(gdx, expected);
    EXPECT_TRUE(gdx.txtSet(path({}), L"I"));
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(gdx.txtGet(i), L"I");
    // The getters read like the others: past the end a default item, negative from the end.
    EXPECT_STREQ(gdx.txtGet(99), L"");
    EXPECT_EQ(gdx.txtPointGet(99), CQorPoint3d::kOrigin);
    EXPECT_EQ(gdx.txtPointGet(-1), CQorPoint3d(100, 0, 0));
}

// --- Strokes from the host.

class HostTextTest : public TextTest {
protected:
    void SetUp() override {
        data.set(L"Ab", L"TEXT");
        data.set(L"CC", L"ALIGN");
    }
    void TearDown() override { QOR::setHostFcn(L"qor_text_to_regl", nullptr); }

    /// Host strokes: one square group per call, sized by the height it was given.
    void installHost(int status) {
        QOR::setHostFcn(L"qor_text_to_regl", [this, status](const resbuf* args, resbuf*& result) {
            ++calls;
            lastArgs.reset(QOR::rbCopy(args));
            double height = 0;
            const resbuf* last = args;
            while (last && last->rbnext)
                last = last->rbnext;
            QOR::fromRb(height, last);
            CQorArrayTempl<CQorVertexArray> group{square(0, 0, height)};
            CQorDataItem strokes;
            strokes.set(group);
            result = QOR::rbToList(strokes.mkLisp());
            return status;
        });
    }

    CQorDataItem data;
    int calls = 0;
    QOR::CUniqResbuf lastArgs;
};

TEST_F(HostTextTest, DataAdderTakesTheHostsStrokesAndKeepsNoText) {
    installHost(RTNORM);
    EXPECT_TRUE(
        gdx.imageTxt(path({3}), QOR::GdxItemAnchored, &data, CQorColor(2), CQorMatrix3d{}, 2.5, {1, 1, 0}));
    ASSERT_EQ(gdx.lenGet(), 1);
    const CQorDisplayItem& it = gdx.getDisplayList()[0];
    EXPECT_EQ(it.m_type, QorDisplayTxt);
    ASSERT_EQ(it.m_strokes.len(), 1);
    EXPECT_EQ(it.m_strokes[0][0], square(0, 0, 2.5));
    EXPECT_TRUE(it.m_text.isEmpty());
    EXPECT_TRUE(it.m_align.isEmpty());
    EXPECT_EQ(it.m_point, CQorPoint3d::kOrigin);
    EXPECT_EQ(it.m_vl.len(), 1);
    // The host got the data item as one list, then the height.
    ASSERT_TRUE(lastArgs);
    EXPECT_EQ(lastArgs->restype, RTLB);
    QOR::CUniqResbuf sent(QOR::rbToList(data.mkLisp()));
    sent.append(QOR::mkResbuf(RTREAL, 2.5));
    EXPECT_TRUE(QOR::rbEqual(lastArgs.get(), sent.get()));
}

TEST_F(HostTextTest, BadDataFailedHostsAndResultsThatAreNotGroupsAddNothing) {
    installHost(RTNORM);
    CQorDataItem value;
    value.set(5);
    EXPECT_FALSE(gdx.imageTxt(path({3}), 0, static_cast<const CQorDataItem*>(nullptr), CQorColor(2),
                              CQorMatrix3d{}, 1.0, {}));
    EXPECT_FALSE(gdx.imageTxt(path({3}), 0, &value, CQorColor(2), CQorMatrix3d{}, 1.0, {}));
    EXPECT_EQ(calls, 0);
    CQorStrokeGroups out{{square(0, 0, 1)}};
    EXPECT_FALSE(qor_text_to_regl(nullptr, out, 1.0));
    EXPECT_EQ(out.len(), 1); // untouched

    installHost(RTERROR);
    EXPECT_FALSE(gdx.imageTxt(path({3}), 0, &data, CQorColor(2), CQorMatrix3d{}, 1.0, {}));
    QOR::setHostFcn(L"qor_text_to_regl", nullptr); // no such function at all
    EXPECT_FALSE(gdx.imageTxt(path({3}), 0, &data, CQorColor(2), CQorMatrix3d{}, 1.0, {}));
    EXPECT_EQ(gdx.lenGet(), 0);
    CQorPoint3d lo, hi;
    EXPECT_FALSE(gdx.extmaxGet(lo, hi));

    QOR::setHostFcn(L"qor_text_to_regl", [](const resbuf*, resbuf*& result) {
        result = QOR::mkResbuf(RTNIL);
        return RTNORM;
    });
    EXPECT_FALSE(qor_text_to_regl(&data, out, 1.0));
    EXPECT_TRUE(out.isEmpty()); // emptied before the call

    QOR::setHostFcn(L"qor_text_to_regl", [](const resbuf*, resbuf*& result) {
        result = QOR::mkResbuf(RTREAL, 1.0);
        return RTNORM;
    });
    EXPECT_FALSE(qor_text_to_regl(&data, out, 1.0));
}

// --- JSON form.

TEST_F(TextTest, JsonLeavesOutStrokesThatFollowFromTheText) {
    CQorMatrix3d m;
    m.setToScaling(4.0);
    gdx.imageTxt(path({1}), 0, L"Maßstab ½", CQorColor(3), m, L"CC", {3, -1, 0}, {});
    std::string json;
    ASSERT_TRUE(QOR::gdxToJson(gdx, json));
    EXPECT_EQ(json.find("\"strokes\""), std::string::npos);
    CQorGDX back = plainList();
    ASSERT_TRUE(QOR::gdxFromJson(back, json));
    EXPECT_EQ(back, gdx);

    // Strokes that differ from the layout (the host's, or edited) are kept.
    CQorDisplayItem host = gdx.getDisplayList()[0];
    host.m_text = L"";
    host.m_strokes = {{square(0, 0, 1)}};
    gdx.addDisplayList({host});
    ASSERT_TRUE(QOR::gdxToJson(gdx, json));
    EXPECT_NE(json.find("\"strokes\""), std::string::npos);
    ASSERT_TRUE(QOR::gdxFromJson(back, json));
    EXPECT_EQ(back, gdx);

    // Empty strokes under a text with glyphs are strokes of their own, not the layout's.
    host.m_text = L"A";
    host.m_strokes.clear();
    gdx.addDisplayList({host});
    ASSERT_TRUE(QOR::gdxToJson(gdx, json, false));
    EXPECT_NE(json.find(R"("text":"A","strokes":[])"), std::string::npos) << json;
    ASSERT_TRUE(QOR::gdxFromJson(back, json));
    EXPECT_EQ(back, gdx);
}

TEST_F(TextTest, JsonLaysOutALimitedAmountOfTextPerList) {
    // Blanks have no glyphs, so the many characters cost no memory here.
    const std::wstring blanks(10000, L' ');
    for (int i = 0; i < 21; ++i)
        gdx.imageTxt(path({1}), 0, blanks.c_str(), CQorColor(3), CQorMatrix3d{}, L"", {}, {});
    // The writer leaves out the strokes of the first 200 000 characters only, so the list reads back.
    std::string json;
    ASSERT_TRUE(QOR::gdxToJson(gdx, json, false));
    const std::size_t strokes = json.find("\"strokes\"");
    ASSERT_NE(strokes, std::string::npos);
    EXPECT_EQ(json.find("\"strokes\"", strokes + 1), std::string::npos);
    CQorGDX back = plainList();
    std::string error;
    ASSERT_TRUE(QOR::gdxFromJson(back, json, &error)) << error;
    EXPECT_EQ(back, gdx);

    // Written by hand without strokes, the same texts are too much.
    std::string items;
    for (int i = 0; i < 21; ++i)
        items += std::string(i ? "," : "") + R"({"type":5,"text":")" + std::string(10000, ' ') + "\"}";
    EXPECT_FALSE(QOR::gdxFromJson(back, R"({"qor_gdx":1,"items":[)" + items + "]}", &error));
    EXPECT_EQ(error, "too much text to lay out; give its strokes");
    EXPECT_EQ(back, gdx);
}

TEST_F(TextTest, JsonTextItemWrittenByHandIsLaidOut) {
    const std::string json = R"({"qor_gdx": 1, "items": [
        {"type": 5, "align": "BC", "text": "Größe", "point": [1, 2, 0]},
        {"type": 5, "strokes": [], "text": "kept empty"}]})";
    CQorGDX read = plainList();
    std::string error;
    ASSERT_TRUE(QOR::gdxFromJson(read, json, &error)) << error;
    CQorStrokeGroups strokes;
    read.geomGet(strokes, 0);
    EXPECT_EQ(strokes, laid(L"Größe", L"BC", {1, 2, 0}));
    read.geomGet(strokes, 1);
    EXPECT_TRUE(strokes.isEmpty());

    const std::string tooLong =
        R"({"qor_gdx": 1, "items": [{"type": 5, "text": ")" + std::string(10001, 'x') + "\"}]}";
    EXPECT_FALSE(QOR::gdxFromJson(read, tooLong, &error));
    EXPECT_NE(error.find("too long"), std::string::npos);
}

} // namespace
