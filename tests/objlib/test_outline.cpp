#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/locale/units.h"
#include "qor/objlib/outline.h"

namespace {

constexpr double kPi = std::numbers::pi;

/// The enclosed area, positive counter-clockwise: the chords' shoelace plus each arc's circular segment.
double signedArea(const CQorVertexArray& vl) {
    double area = 0;
    for (const CQorVertex& v : vl) {
        area += (v.start.x * v.end.y - v.end.x * v.start.y) / 2;
        if (v.bulge == 0) continue;
        const double angle = 4 * std::atan(v.bulge);
        const double chord = std::hypot(v.end.x - v.start.x, v.end.y - v.start.y);
        const double radius = chord / 2 / std::sin(std::abs(angle) / 2);
        area += std::copysign(radius * radius / 2 * (std::abs(angle) - std::sin(std::abs(angle))), angle);
    }
    return area;
}

struct Case {
    int outline;
    CQorArrayTempl<double> parms;
    double area;
    CQorPoint3d min, max;
};

std::filesystem::path resource(const char* name) {
    return std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / name;
}

TEST(Outline, EveryOutlineHasTheAreaAndExtentsOfItsClosedForm) {
    const double hex = 10 / 2.0; // polygon: corner radius
    const Case cases[] = {
        {1, {10}, kPi * 25, {-5, -5, 0}, {5, 5, 0}},
        {2, {20, 10}, 200, {-10, -5, 0}, {10, 5, 0}},
        {3, {20, 10, 2}, 200 - (4 - kPi) * 4, {-10, -5, 0}, {10, 5, 0}},
        {3, {20, 10, 5}, 200 - (4 - kPi) * 25, {-10, -5, 0}, {10, 5, 0}}, // the short sides are half circles
        {4, {20, 8}, 12 * 8 + kPi * 16, {-10, -4, 0}, {10, 4, 0}},
        {4, {8, 8}, kPi * 16, {-4, -4, 0}, {4, 4, 0}}, // a slot as long as it is wide is a circle
        {5,
         {6, 10},
         3 * hex * hex * std::sin(kPi / 3),
         {-hex, -hex * std::sqrt(3.0) / 2, 0},
         {hex, hex * std::sqrt(3.0) / 2, 0}},
        {5,
         {3.6, 10},
         4 * hex * hex / 2,
         {-hex / std::sqrt(2.0), -hex / std::sqrt(2.0), 0},
         {hex / std::sqrt(2.0), hex / std::sqrt(2.0), 0}}, // 3.6 sides round to a square
        {6, {30, 20, 3}, 3 * (30 + 20 - 3), {0, 0, 0}, {30, 20, 0}},
        {7, {40, 20, 3, 4}, 40 * 3 + 2 * 17 * 4, {0, 0, 0}, {20, 40, 0}},
        {21, {10, 5, 90}, kPi * 75 / 4, {0, 0, 0}, {10, 10, 0}},
        {21, {10, 0, 270}, kPi * 75, {-10, -10, 0}, {10, 10, 0}}, // a sector wider than a half circle
        {22, {10}, kPi * 100, {-10, -10, 0}, {10, 10, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "outline " << c.outline << ", P1 " << c.parms[0]);
        CQorVertexArray vl;
        ASSERT_TRUE(QOR::g_outline(vl, c.outline, {}, c.parms));
        EXPECT_TRUE(vl.isClosed());
        for (const CQorVertex& v : vl)
            EXPECT_LE(std::abs(v.bulge), 1 + 1e-12); // no arc beyond a half circle
        EXPECT_NEAR(signedArea(vl), c.area, 1e-9 * c.area);
        CQorPoint3d min, max;
        ASSERT_TRUE(vl.extents(min, max));
        EXPECT_NEAR(min.x, c.min.x, 1e-9);
        EXPECT_NEAR(min.y, c.min.y, 1e-9);
        EXPECT_NEAR(max.x, c.max.x, 1e-9);
        EXPECT_NEAR(max.y, c.max.y, 1e-9);
        EXPECT_TRUE(vl == QOR::g_outline(c.outline, {}, c.parms)); // the value form agrees
    }
}

TEST(Outline, BaseMovesTheOutlineAndANegativeSliceRadiusTurnsIt) {
    CQorVertexArray vl;
    ASSERT_TRUE(QOR::g_outline(vl, 2, {-5, 7, 0}, {20, 10}));
    CQorPoint3d min, max;
    ASSERT_TRUE(vl.extents(min, max));
    EXPECT_EQ(min, CQorPoint3d(-15, 2, 0));
    EXPECT_EQ(max, CQorPoint3d(5, 12, 0));

    // The slice symbol's circle: the same circle either way, clockwise for a negative radius.
    const CQorVertexArray clockwise = QOR::g_outline(22, {}, {-10.0});
    ASSERT_TRUE(clockwise.isClosed());
    EXPECT_NEAR(signedArea(clockwise), -kPi * 100, 1e-9);
}

TEST(Outline, ParametersOutsideTheirRangeGiveNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case bad[] = {
        {0, {10}, 0, {}, {}},
        {8, {10}, 0, {}, {}},
        {2, {20}, 0, {}, {}},
        {1, {0}, 0, {}, {}},
        {1, {-10}, 0, {}, {}},
        {1, {nan}, 0, {}, {}},
        {2, {inf, 10}, 0, {}, {}},
        {2, {1e8, 10}, 0, {}, {}},
        {3, {20, 10, 5.0001}, 0, {}, {}},
        {3, {20, 10, -1}, 0, {}, {}},
        {4, {7.9, 8}, 0, {}, {}},
        {5, {2.4, 10}, 0, {}, {}},
        {5, {1001, 10}, 0, {}, {}},
        {6, {30, 20, 20}, 0, {}, {}},
        {7, {40, 20, 3, 20}, 0, {}, {}},
        {7, {40, 20, 20, 4}, 0, {}, {}},
        {21, {10, 10, 90}, 0, {}, {}},
        {21, {10, 5, 360}, 0, {}, {}},
        {21, {10, 5, 0}, 0, {}, {}},
        {22, {0}, 0, {}, {}},
    };
    for (const Case& c : bad) {
        SCOPED_TRACE(testing::Message() << "outline " << c.outline << ", P1 " << c.parms[0]);
        CQorVertexArray vl = QOR::g_outline(1, {}, {10});
        EXPECT_FALSE(QOR::g_outline(vl, c.outline, {}, c.parms));
        EXPECT_TRUE(vl.isEmpty());
        EXPECT_TRUE(QOR::g_outline(c.outline, {}, c.parms).isEmpty());
    }
    CQorVertexArray vl;
    EXPECT_FALSE(QOR::g_outline(vl, 1, {9.9e6, 0, 0}, {1e6})); // in range, but moved beyond it
    EXPECT_FALSE(QOR::g_outline(vl, 1, {nan, 0, 0}, {10}));
}

TEST(Outline, AnItemNamesTheOutlineAndItsUnit) {
    CQorDataItem gen;
    ASSERT_TRUE(QOR::dataFromJson(gen, R"({"TYPE": "OUTLINE", "ID": 5, "P1": 6, "P2": 2.0,
        "BASE": {"$point": [1, 0, 0]}, "INSUNIT": 1})"));
    CQorVertexArray inches, mm;
    ASSERT_TRUE(QOR::g_outline(inches, &gen, -1));
    ASSERT_TRUE(QOR::g_outline(mm, &gen, Qor::kUnitMillimeter));
    EXPECT_EQ(inches.len(), 6);
    EXPECT_EQ(mm.len(), 6); // the number of sides is no length
    CQorPoint3d min, max;
    ASSERT_TRUE(mm.extents(min, max));
    EXPECT_NEAR(max.x, 25.4 + 25.4, 1e-9); // corner radius 1 in, moved by 1 in

    CQorDataItem gap; // P3 missing: P4 is not read, so the rounded rectangle lacks a parameter
    ASSERT_TRUE(QOR::dataFromJson(gap, R"({"ID": 3, "P1": 20, "P2": 10, "P4": 2})"));
    EXPECT_FALSE(QOR::g_outline(mm, &gap, -1));
    CQorDataItem noId;
    ASSERT_TRUE(QOR::dataFromJson(noId, R"({"P1": 10})"));
    EXPECT_FALSE(QOR::g_outline(mm, &noId, -1));
    EXPECT_FALSE(QOR::g_outline(mm, nullptr, -1));
    EXPECT_TRUE(mm.isEmpty());
}

TEST(OutlineCatalogue, EveryOutlineIsDescribedWithLabelsInBothLanguagesAndWorkingDefaults) {
    CQorDataItem catalogue;
    ASSERT_TRUE(QOR::outlineInit(&catalogue));
    CQorDataItem german, english;
    ASSERT_TRUE(QOR::dataReadJsonFile(german, resource("messages/qor_de.json")));
    ASSERT_TRUE(QOR::dataReadJsonFile(english, resource("messages/qor_en.json")));
    auto expectLabel = [&](const CQorDataItem* dir, const wchar_t* key) {
        CQorString label;
        ASSERT_TRUE(dir->get(label, key));
        EXPECT_NE(german.getItem(label), nullptr) << label.toUtf8();
        EXPECT_NE(english.getItem(label), nullptr) << label.toUtf8();
    };

    for (int number : QOR::kOutlineNumbers) {
        SCOPED_TRACE(testing::Message() << "outline " << number);
        const CQorDataItem* outline = catalogue.getItem(number);
        ASSERT_NE(outline, nullptr);
        expectLabel(outline, L"LABEL");
        int code = 0, count = 0;
        EXPECT_TRUE(outline->get(code, L"CODE") && code > 0 && code < 16);
        ASSERT_TRUE(outline->get(count, L"PARMS"));
        ASSERT_TRUE(count >= 1 && count <= QOR::kOutlineMaxParms);
        CQorArrayTempl<CQorArrayTempl<double>> byScale({{}, {}, {}, {}});
        for (int i = 1; i <= count; ++i) {
            const CQorDataItem* parm = outline->getItem(CQorString::fromUtf8("PARM" + std::to_string(i)));
            ASSERT_NE(parm, nullptr);
            expectLabel(parm, L"LABEL");
            if (parm->getItem(L"MINUSP") != nullptr) expectLabel(parm, L"MINUSP");
            for (int scale = 1; scale <= 4; ++scale) {
                double value = 0;
                ASSERT_TRUE(parm->get(value, CQorDataKey(L"VAL", scale)));
                byScale[scale - 1].append(value);
            }
        }
        for (const CQorArrayTempl<double>& defaults : byScale)
            EXPECT_TRUE(QOR::g_outline(number, {}, defaults).isClosed());
    }
    // The slice symbol's radius switches its label by sign.
    EXPECT_NE(catalogue.getItem(CQorDataKey(22, L"PARM1", L"MINUSP")), nullptr);
}

TEST(OutlineCatalogue, KeepsWhatTheCatalogueHoldsAndRefusesAValue) {
    CQorDataItem catalogue;
    ASSERT_TRUE(catalogue.set(L"MINE", CQorDataKey(1, L"LABEL")));
    ASSERT_TRUE(QOR::outlineInit(&catalogue));
    CQorString label;
    EXPECT_TRUE(catalogue.get(label, CQorDataKey(1, L"LABEL")));
    EXPECT_EQ(label, L"MINE");
    EXPECT_NE(catalogue.getItem(2), nullptr);

    CQorDataItem value;
    ASSERT_TRUE(value.set(5));
    EXPECT_FALSE(QOR::outlineInit(&value));
    EXPECT_FALSE(QOR::outlineInit(nullptr));
}

} // namespace
