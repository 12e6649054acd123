#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/objlib/view_dir.h"

namespace {

CQorDataItem item(const char* json) {
    CQorDataItem root;
    EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
    return root;
}

/// Where the world point p lands on the screen of the named view (view coordinates).
CQorPoint3d onScreen(const wchar_t* view, const CQorPoint3d& p) {
    return QOR::g_mtx_view_dir(view, CQorPoint3d::kOrigin).inverse() * p;
}

void expectNear(const CQorPoint3d& a, const CQorPoint3d& b) {
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}

TEST(NamedView, ShowsTheModelAsDrawingsDo) {
    // Top: world X right, Y up. Front: X right, Z up. Side (from the left): -Y right, Z up.
    expectNear(onScreen(L"T", {1, 2, 3}), {1, 2, 3});
    expectNear(onScreen(L"F", {1, 2, 3}), {1, 3, -2});
    expectNear(onScreen(L"S", {1, 2, 3}), {-2, 3, -1});
    expectNear(onScreen(L"R", {1, 2, 3}), {2, 3, 1});
    expectNear(onScreen(L"B", {1, 2, 3}), {-1, 3, 2});
    // Bottom: turned over, X to the left. What is nearer the viewer has the larger z.
    expectNear(onScreen(L"U", {1, 2, 3}), {-1, 2, -3});
}

TEST(NamedView, AliasesAndCaseGiveTheSameMatrix) {
    const CQorPoint3d origin(5, 6, 7);
    const struct {
        const wchar_t* a;
        const wchar_t* b;
    } same[] = {{L"I", L"se"}, {L"E", L"R"}, {L"W", L"L"}, {L"S", L"l"}, {L"N", L"B"}, {L"t", L"T"}};
    for (const auto& pair : same)
        EXPECT_TRUE(QOR::g_mtx_view_dir(pair.a, origin).isEqualTo(QOR::g_mtx_view_dir(pair.b, origin), 0.0))
            << pair.a << " " << pair.b;
    // The view system sits at origin.
    expectNear(QOR::g_mtx_view_dir(L"NW", origin) * CQorPoint3d::kOrigin, origin);
}

TEST(NamedView, UnknownNamesFallBackToTheTopView) {
    CQorVector3d dir;
    for (const wchar_t* name : {static_cast<const wchar_t*>(nullptr), L"", L"X", L"TT", L"I "}) {
        EXPECT_FALSE(QOR::viewDirGet(name, dir));
        EXPECT_EQ(dir, CQorVector3d(0, 0, 1));
        EXPECT_TRUE(QOR::g_mtx_view_dir(name, CQorPoint3d::kOrigin).isEqualTo(CQorMatrix3d(), 0.0));
    }
}

TEST(NormView, IsometricIsThreeAndLooksFromFrontRightAbove) {
    EXPECT_STREQ(QOR::normViewName(QOR::kNormViewIso), L"I");
    EXPECT_EQ(QOR::kNormViewIso, 3);
    // The drill image's system: x = (1, 1, 0) / sqrt 2, z = (1, -1, 1) / sqrt 3.
    const CQorMatrix3d iso = QOR::g_mtx_view_dir(QOR::normViewName(QOR::kNormViewIso), CQorPoint3d::kOrigin);
    EXPECT_EQ(iso.axis(0), CQorVector3d(1, 1, 0).normal());
    EXPECT_EQ(iso.axis(2), CQorVector3d(1, -1, 1).normal());
    EXPECT_EQ(QOR::normViewName(QOR::kNormViewNone), nullptr);
    EXPECT_EQ(QOR::normViewName(static_cast<QOR::NormView>(QOR::kNormViewCount)), nullptr);

    QOR::NormView view = QOR::kNormViewNone;
    const CQorDataItem data = item(R"({"A": 3, "B": 8, "C": -1, "D": 3.0, "E": "3"})");
    EXPECT_TRUE(QOR::dataItemGet(&data, L"A", view));
    EXPECT_EQ(view, QOR::kNormViewIso);
    for (const wchar_t* bad : {L"B", L"C", L"D", L"E", L"F"})
        EXPECT_FALSE(QOR::dataItemGet(&data, bad, view)) << bad;
    EXPECT_FALSE(QOR::dataItemGet(nullptr, L"A", view));
    EXPECT_EQ(view, QOR::kNormViewIso);
}

TEST(ViewDirOrtho, AnObjectSeenAlongOneOfItsAxes) {
    const CQorMatrix3d front = QOR::g_mtx_view_dir(L"F", CQorPoint3d::kOrigin).inverse();
    const CQorMatrix3d iso = QOR::g_mtx_view_dir(L"I", CQorPoint3d::kOrigin).inverse();
    CQorMatrix3d placed; // moved and turned a quarter about Z: its axes still line up with the world's
    placed.setCoordSystem({10, 20, 30}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    EXPECT_TRUE(QOR::isViewDirOrtho(CQorMatrix3d(), front));
    EXPECT_TRUE(QOR::isViewDirOrtho(placed, front));
    EXPECT_FALSE(QOR::isViewDirOrtho(CQorMatrix3d(), iso));
    // Tilted so that its own Z is the line of sight of the isometric view.
    EXPECT_TRUE(QOR::isViewDirOrtho(QOR::g_mtx_view_dir(L"I", {1, 2, 3}), iso));

    CQorMatrix3d tilted;
    tilted.setToPlaneToWorld(CQorVector3d(0, std::sin(1e-3), std::cos(1e-3)));
    EXPECT_FALSE(QOR::isViewDirOrtho(tilted, QOR::g_mtx_view_dir(L"T", CQorPoint3d::kOrigin)));

    CQorMatrix3d flat; // singular: Z squashed
    flat.entry[2][2] = 0.0;
    EXPECT_FALSE(QOR::isViewDirOrtho(flat, CQorMatrix3d()));
    CQorMatrix3d nan;
    nan.entry[0][0] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(QOR::isViewDirOrtho(nan, CQorMatrix3d()));
}

TEST(LocalSystem, FromMatrixOrFromOriginNormalAndXDirection) {
    CQorMatrix3d mtx;
    const CQorDataItem axes = item(R"({"ORIGIN": {"$point": [1, 2, 3]}, "NORMAL": {"$point": [0, 0, 5]},
                                       "XDIR": {"$point": [0, 2, 1]}})");
    ASSERT_TRUE(QOR::g_mtx_local(&axes, mtx));
    EXPECT_EQ(mtx.axis(0), CQorVector3d(0, 1, 0)); // made perpendicular to the normal
    EXPECT_EQ(mtx.axis(1), CQorVector3d(-1, 0, 0));
    EXPECT_EQ(mtx.translation(), CQorVector3d(1, 2, 3));
    ASSERT_TRUE(QOR::g_mtx_local(&axes, mtx, 1));
    expectNear(mtx * CQorPoint3d(1, 3, 3), {1, 0, 0});

    // The stored matrix wins; "INSUNIT" 4 (millimetres) to unit 6 (metres) scales the translation only.
    const CQorDataItem stored = item(R"({"ORIGIN": {"$point": [9, 9, 9]}, "INSUNIT": 4,
        "MTX": {"$matrix": [[0, -1, 0, 1000], [1, 0, 0, 0], [0, 0, 1, 500], [0, 0, 0, 1]]}})");
    ASSERT_TRUE(QOR::g_mtx_local(&stored, mtx, 0, 6));
    EXPECT_EQ(mtx.translation(), CQorVector3d(1, 0, 0.5));
    EXPECT_EQ(mtx.axis(0), CQorVector3d(0, 1, 0));

    // Without any key: the world system; an X along the normal leaves the arbitrary axis.
    const CQorDataItem along = item(R"({"XDIR": {"$point": [0, 0, 2]}})");
    ASSERT_TRUE(QOR::g_mtx_local(&along, mtx));
    EXPECT_TRUE(mtx.isEqualTo(CQorMatrix3d(), 0.0));
}

TEST(LocalSystem, BadDataGivesFalseAndTheIdentity) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CQorDataItem nanOrigin = item("{}"), infMatrix = item("{}");
    nanOrigin.set(CQorPoint3d(nan, 0, 0), L"ORIGIN");
    CQorMatrix3d inf;
    inf.entry[1][1] = std::numeric_limits<double>::infinity();
    infMatrix.set(inf, L"MTX");
    const CQorDataItem bad[] = {
        item(R"({"NORMAL": {"$point": [0, 0, 0]}})"),
        item(R"({"NORMAL": {"$point": [1e308, 1e308, 0]}})"),
        item(R"({"MTX": {"$matrix": [[0, 0, 0, 0], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]}})"),
        item("3"),
        nanOrigin,
        infMatrix,
    };
    for (const CQorDataItem& data : bad) {
        CQorMatrix3d mtx;
        mtx.entry[0][3] = 42;
        EXPECT_FALSE(QOR::g_mtx_local(&data, mtx)) << &data - bad;
        EXPECT_TRUE(mtx.isEqualTo(CQorMatrix3d(), 0.0)) << &data - bad;
    }
    CQorMatrix3d mtx;
    EXPECT_FALSE(QOR::g_mtx_local(nullptr, mtx));
}

} // namespace
