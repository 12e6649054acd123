// The assembly image. The reference picture of the bracket is tests/data/image/bgr_bracket_iso.ref.png; to
// regenerate it after an intended change, run
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_image --gtest_filter='BgrImage.*Reference*'
// and look at it before committing.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>

#include "../render/reference_image.h"
#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image.h"
#include "qor/image/object_image.h"
#include "qor/image/ucs_image.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/objlib/assembly.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/view_dir.h"
#include "qor/render/render.h"
#include "recording_host.h"

namespace {

constexpr DWORD kHidden = 0x500, kHighlight = 0x100, kBase = 0x400, kAxis = 0x300;

std::filesystem::path samplePath(const char* name) {
    return std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "objects" / name;
}

QOR::CDtaFilePointer openSample(const char* name) {
    QOR::CDtaFilePointer object;
    CQorString message;
    EXPECT_TRUE(QOR::objOpen(samplePath(name).wstring().c_str(), QOR::kDtaRead, object, &message))
        << message.toUtf8();
    return object;
}

/// An opened data set holding json (an object or its options).
QOR::CDtaFilePointer openJson(const char* json) {
    CQorDataItem root;
    EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
    return QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &root);
}

int countFlags(const CQorGDX& gdx, DWORD flags) {
    int n = 0;
    for (int i = 0; i < gdx.lenGet(); ++i)
        n += gdx.flagGet(i) == flags;
    return n;
}

/// The extents of the polyline items (view coordinates).
void polylineExtents(const CQorGDX& gdx, CQorPoint3d& min, CQorPoint3d& max) {
    constexpr double kBig = std::numeric_limits<double>::max();
    min = {kBig, kBig, kBig};
    max = {-kBig, -kBig, -kBig};
    for (int i = 0; i < gdx.lenGet(); ++i) {
        if (gdx.typeGet(i) != QorDisplayVl) continue;
        CQorVertexArray vl;
        gdx.geomGet(vl, i);
        CQorPoint3d a, b;
        if (!vl.extents(a, b)) continue;
        min = QOR::p_min(min, a);
        max = QOR::p_max(max, b);
    }
}

/// Draws with the default host (whose object image uses the solid modeller) or a recording one, with a
/// layer table of its own.
class BgrImage : public ::testing::Test {
protected:
    void SetUp() override {
        CQorDataItem table;
        ASSERT_TRUE(QOR::dataFromJson(table, R"({"0": 7, "KONTUR": 7, "VERDECKT": 8, "BOHRUNG": 5})"));
        ASSERT_TRUE(QOR::cfgMgrPtr()->getCfgRoot()->setItem(table, L"*LAYER*"));
    }
    void useRecordingHost() { m_previous = QOR::qorAppSet(&m_host); }
    void TearDown() override {
        if (m_previous != nullptr) QOR::qorAppSet(m_previous);
    }

    bool draw(QOR::CDtaFilePointer& object, const char* options) {
        QOR::CDtaFilePointer opt = openJson(options);
        return qor_gdx_image_bgr(&m_gdx, &object, &opt);
    }

    QOR::CCfgBackup m_layers{CQorDataKey(L"*LAYER*")};
    CQorGDX m_gdx;
    RecordingHost m_host;
    CQorApp* m_previous = nullptr;
};

int countColor(const CQorGDX& gdx, int colorIndex) {
    int n = 0;
    for (int i = 0; i < gdx.lenGet(); ++i)
        n += gdx.colorGet(i).colorIndex() == colorIndex;
    return n;
}

const char* kTwoSlices = R"({"KIND": "BGR", "BT": {
    "A": {"TYPE": "SLICE", "ORIGIN": {"$point": [10, 0, 0]}},
    "B": {"TYPE": "SLICE", "ORIGIN": {"$point": [0, 20, 0]}}}})";

TEST_F(BgrImage, HiddenEdgesOnlyInColourModeOne) {
    QOR::CDtaFilePointer bracket = openSample("bgr_bracket.json");
    ASSERT_TRUE(draw(bracket, R"({"VIEW": "I", "CMODE": 1})"));
    const int hidden = countFlags(m_gdx, kHidden);
    EXPECT_GT(hidden, 0);
    EXPECT_EQ(countFlags(m_gdx, kHighlight) + hidden, m_gdx.lenGet()); // visible edges in mode 1

    CQorGDX plain;
    QOR::CDtaFilePointer options = openJson(R"({"VIEW": "I"})");
    ASSERT_TRUE(qor_gdx_image_bgr(&plain, &bracket, &options));
    EXPECT_EQ(countFlags(plain, kHidden), 0);
    EXPECT_EQ(countFlags(plain, 0), plain.lenGet());
    EXPECT_EQ(plain.lenGet(), m_gdx.lenGet() - hidden); // the same visible edges

    // A colour mode of 16 or more gives flags 0, and hides nothing.
    CQorGDX high;
    QOR::CDtaFilePointer sixteen = openJson(R"({"VIEW": "I", "CMODE": 17})");
    ASSERT_TRUE(qor_gdx_image_bgr(&high, &bracket, &sixteen));
    EXPECT_EQ(countFlags(high, 0), high.lenGet());
}

TEST_F(BgrImage, OnlyTheActiveElementShowsItsBasePoint) {
    QOR::CDtaFilePointer slices = openJson(kTwoSlices);
    ASSERT_TRUE(draw(slices, R"({"CMODE": 1, "COORD": true, "ACT": "B"})"));
    ASSERT_EQ(countFlags(m_gdx, kBase), 1);          // the options' origin
    ASSERT_EQ(countFlags(m_gdx, kHighlight), 1 + 4); // B's marker and both slices' two polylines
    for (int i = 0; i < m_gdx.lenGet(); ++i) {
        if (m_gdx.typeGet(i) != QorDisplayPt || m_gdx.flagGet(i) != kHighlight) continue;
        CQorPoint3d at;
        m_gdx.geomGet(at, i);
        EXPECT_EQ(at, CQorPoint3d(0, 20, 0));
    }

    // Without "CMODE" 1 there is no marker; without "ACT" no element of two keeps "COORD".
    CQorGDX noMode, noActive;
    QOR::CDtaFilePointer mode0 = openJson(R"({"COORD": true, "ACT": "B"})");
    QOR::CDtaFilePointer noAct = openJson(R"({"CMODE": 1, "COORD": true})");
    ASSERT_TRUE(qor_gdx_image_bgr(&noMode, &slices, &mode0));
    ASSERT_TRUE(qor_gdx_image_bgr(&noActive, &slices, &noAct));
    EXPECT_EQ(noMode.lenGet(), 1 + 4);
    EXPECT_EQ(countFlags(noActive, kHighlight), 4);

    // A single element keeps "COORD" whatever "ACT" says.
    CQorGDX single;
    QOR::CDtaFilePointer one = openJson(R"({"KIND": "BGR", "BT": {"A": {"TYPE": "SLICE"}}})");
    ASSERT_TRUE(qor_gdx_image_bgr(&single, &one, &noAct));
    EXPECT_EQ(countFlags(single, kHighlight), 1 + 2);
}

TEST_F(BgrImage, SliceDrawsItsAxisSymbolInTheAxisColour) {
    QOR::CDtaFilePointer slices = openJson(kTwoSlices);
    ASSERT_TRUE(qor_gdx_image_bgr(&m_gdx, &slices, nullptr));
    ASSERT_EQ(m_gdx.lenGet(), 4);
    EXPECT_EQ(countFlags(m_gdx, kAxis), 4);
    // Seen from above: the symbol's circle of radius 10 about the element's origin, clockwise.
    CQorVertexArray circle;
    m_gdx.geomGet(circle, 0);
    CQorPoint3d min, max;
    ASSERT_TRUE(circle.extents(min, max));
    EXPECT_NEAR(min.x, 0, 1e-9);
    EXPECT_NEAR(max.x, 20, 1e-9);
    EXPECT_NEAR(max.y, 10, 1e-9);

    CQorMatrix3d mtx;
    const CQorMatrix3d view;
    EXPECT_FALSE(qor_gdx_image_bgr_slice(&m_gdx, mtx, view, nullptr));
    CQorDataItem parm;
    parm.set(2, L"CMODE");
    ASSERT_TRUE(qor_gdx_image_bgr_slice(&m_gdx, mtx, view, &parm));
    EXPECT_EQ(m_gdx.flagGet(-1), 0x200u);
    parm.set(-14, L"CMODE"); // the low four bits of any mode below 16
    ASSERT_TRUE(qor_gdx_image_bgr_slice(&m_gdx, mtx, view, &parm));
    EXPECT_EQ(m_gdx.flagGet(-1), 0x200u);
}

TEST_F(BgrImage, CoordinateSystemIconOfTheView) {
    QOR::CDtaFilePointer slices = openJson(kTwoSlices);
    ASSERT_TRUE(draw(slices, R"({"VIEW": "E", "UCS": 1})"));
    CQorGDX icon;
    ASSERT_TRUE(qor_gdx_image_ucs(&icon, QOR::g_mtx_view_dir(L"W", CQorPoint3d::kOrigin)));
    ASSERT_EQ(m_gdx.lenGet(), 4 + icon.lenGet());
    for (int i = 0; i < icon.lenGet(); ++i)
        EXPECT_EQ(m_gdx.getDisplayList()[4 + i], icon.getDisplayList()[i]) << i;

    CQorGDX east;
    ASSERT_TRUE(qor_gdx_image_ucs(&east, QOR::g_mtx_view_dir(L"E", CQorPoint3d::kOrigin)));
    CQorVertexArray a, b;
    east.geomGet(a, 0);
    icon.geomGet(b, 0);
    EXPECT_NE(a[0].end, b[0].end); // the two icons differ: the test tells them apart
}

TEST_F(BgrImage, FullDrawsTheVisibleEdgesOfOneSolid) {
    QOR::CDtaFilePointer bracket = openSample("bgr_bracket.json");
    ASSERT_TRUE(draw(bracket, R"({"VIEW": "F", "FULL": true, "CMODE": 1, "UCS": 1})"));
    EXPECT_GT(m_gdx.lenGet(), 0);
    EXPECT_EQ(countFlags(m_gdx, kHighlight), m_gdx.lenGet()); // no hidden edges, no icon
    CQorPoint3d min, max;
    polylineExtents(m_gdx, min, max);
    EXPECT_NEAR(min.x, 0, 1e-6);
    EXPECT_NEAR(min.y, 0, 1e-6);
    EXPECT_NEAR(max.x, 120, 1e-6);
    EXPECT_NEAR(max.y, 80, 1e-6);

    CQorGDX empty;
    QOR::CDtaFilePointer nothing = openJson(R"({"KIND": "BGR", "BT": {"S": {"TYPE": "SLICE"}}})");
    QOR::CDtaFilePointer full = openJson(R"({"FULL": true})");
    EXPECT_FALSE(qor_gdx_image_bgr(&empty, &nothing, &full));
    EXPECT_EQ(empty.lenGet(), 0);
}

/// The bracket's front, top and isometric images against its dimensions: a 120 x 80 x 10 plate at the
/// origin, an angle of legs 60 and 70 (8 thick, 80 wide) standing on it at x = 30.
TEST_F(BgrImage, BracketViewsAgreeWithItsDimensions) {
    QOR::CDtaFilePointer bracket = openSample("bgr_bracket.json");
    CQorPoint3dArray corners;
    for (double x : {0.0, 120.0})
        for (double y : {0.0, 80.0})
            for (double z : {0.0, 10.0})
                corners.append(CQorPoint3d(x, y, z));
    for (double y : {0.0, 80.0})
        for (const CQorPoint3d& p :
             {CQorPoint3d(90, y, 10), CQorPoint3d(90, y, 18), CQorPoint3d(30, y, 80), CQorPoint3d(38, y, 80)})
            corners.append(p);
    for (const wchar_t* name : {L"F", L"T", L"I"}) {
        CQorGDX gdx;
        const std::string options = "{\"VIEW\": \"" + CQorString(name).toUtf8() + "\"}";
        QOR::CDtaFilePointer opt = openJson(options.c_str());
        ASSERT_TRUE(qor_gdx_image_bgr(&gdx, &bracket, &opt));
        const CQorMatrix3d view = QOR::g_mtx_view_dir(name, CQorPoint3d::kOrigin).inverse();
        CQorPoint3d expectMin = view * corners[0], expectMax = expectMin;
        for (const CQorPoint3d& p : corners) {
            expectMin = QOR::p_min(expectMin, view * p);
            expectMax = QOR::p_max(expectMax, view * p);
        }
        CQorPoint3d min, max;
        polylineExtents(gdx, min, max);
        EXPECT_NEAR(min.x, expectMin.x, 1e-6) << CQorString(name).toUtf8();
        EXPECT_NEAR(min.y, expectMin.y, 1e-6) << CQorString(name).toUtf8();
        EXPECT_NEAR(max.x, expectMax.x, 1e-6) << CQorString(name).toUtf8();
        EXPECT_NEAR(max.y, expectMax.y, 1e-6) << CQorString(name).toUtf8();
    }
}

TEST_F(BgrImage, ImpliedDrillingsAreHandedToTheHostInOrthogonalViewsOnly) {
    useRecordingHost();
    QOR::CDtaFilePointer bracket = openSample("bgr_bracket.json");
    ASSERT_TRUE(draw(bracket, R"({"VIEW": "T", "CMODE": 2})"));
    EXPECT_EQ(m_host.calls, 4 + 2 + 1); // the plate's, the angle's and the drilling element
    int cmode = 0;
    EXPECT_TRUE(m_host.parm.get(cmode, L"CMODE"));
    EXPECT_EQ(cmode, 2);
    CQorString kind;
    EXPECT_TRUE(m_host.objectCopy.get(kind, L"KIND")); // completed by objGen
    EXPECT_EQ(kind, CQorString(L"DRILL"));
    CQorMatrix3d mtx;
    EXPECT_TRUE(m_host.parm.get(mtx, L"MTX"));
    EXPECT_EQ(mtx * CQorPoint3d::kOrigin, CQorPoint3d(75, 40, 18)); // the drilling element, seen from above

    m_host.calls = 0;
    ASSERT_TRUE(draw(bracket, R"({"VIEW": "I"})"));
    EXPECT_EQ(m_host.calls, 0);

    // A sheet of "SCONS" "EDGE" draws its drillings in any view; "NO_DRILL" and "MTX_PR" go into the
    // parameters it is given.
    QOR::CDtaFilePointer edge = openJson(R"({"TYPE": "SHEET", "SCONS": "EDGE", "THICK": 5, "PART": "KONTUR",
        "OUTLINE": {"ID": 2, "P1": 40, "P2": 20}, "HOLES": {"$points": [[0, 0, 0]]},
        "BT": {"DIA": 4, "DEPTH": 5, "PART": "BOHRUNG"}})");
    CQorDataItem parm;
    parm.mkDir();
    CQorMatrix3d place;
    const CQorMatrix3d iso = QOR::g_mtx_view_dir(L"I", CQorPoint3d::kOrigin).inverse();
    CQorGDX sheet;
    ASSERT_TRUE(qor_gdx_image_bgr_edge(&sheet, edge.get(), place, iso, &parm));
    int noDrill = 0;
    EXPECT_TRUE(parm.get(noDrill, L"NO_DRILL"));
    EXPECT_EQ(noDrill, 1);
    CQorMatrix3d projected;
    EXPECT_TRUE(parm.get(projected, L"MTX_PR"));
    EXPECT_TRUE(projected.isEqualTo(iso, 1e-12));
    CQorGDX sheetN;
    CQorDataItem parmN;
    parmN.mkDir();
    edge.get()->set(L"EDGE_N", L"SCONS");
    ASSERT_TRUE(qor_gdx_image_bgr_edge_n(&sheetN, edge.get(), place, iso, &parmN));
    EXPECT_GT(countColor(sheet, 5), 0); // the drilling's own edges, in its layer's colour
    EXPECT_EQ(countColor(sheetN, 5), 0);
    EXPECT_GT(countColor(sheetN, 7), countColor(sheet, 7)); // the hole cut from the sheet instead
    EXPECT_EQ(parmN.getItem(L"NO_DRILL"), nullptr);
}

TEST_F(BgrImage, StandardPartsOfACoordinateDrivenSet) {
    useRecordingHost();
    QOR::CDtaFilePointer flange = openSample("bgr_flange.json");
    ASSERT_TRUE(draw(flange, R"({"VIEW": "T"})"));
    EXPECT_EQ(m_host.calls, 12); // six bolts and six nuts
    CQorString kind, norm;
    EXPECT_TRUE(m_host.objectCopy.get(kind, L"KIND"));
    EXPECT_EQ(kind, CQorString(L"NM"));
    EXPECT_TRUE(m_host.objectCopy.get(norm, L"NORM"));
    EXPECT_EQ(norm, CQorString(L"ISO4032"));

    m_host.calls = 0;
    CQorGDX iso;
    QOR::CDtaFilePointer options = openJson(R"({"VIEW": "I"})");
    ASSERT_TRUE(qor_gdx_image_bgr(&iso, &flange, &options));
    EXPECT_EQ(m_host.calls, 0);
    EXPECT_GT(iso.lenGet(), m_gdx.lenGet());
}

TEST_F(BgrImage, BadInputDrawsNothingAndGoesOnWithTheNextElement) {
    QOR::CDtaFilePointer slices = openJson(kTwoSlices);
    EXPECT_FALSE(qor_gdx_image_bgr(nullptr, &slices, nullptr));
    EXPECT_FALSE(qor_gdx_image_bgr(&m_gdx, nullptr, nullptr));
    CQorMatrix3d mtx;
    const CQorMatrix3d view;
    CQorDataItem status, value;
    value.set(1);
    EXPECT_FALSE(qor_gdx_image_bgr(&m_gdx, slices.get(), &status, mtx, view, &value, 1.0, 0.0));
    EXPECT_FALSE(qor_gdx_image_bgr(&m_gdx, slices.get(), nullptr, mtx, view, &status, 1.0, 0.0));
    EXPECT_EQ(m_gdx.lenGet(), 0);

    // An element the schema refuses is skipped; the next one is drawn.
    QOR::CDtaFilePointer mixed = openJson(R"({"KIND": "BGR", "BT": {
        "BAD": {"TYPE": "CONE"}, "GOOD": {"TYPE": "SLICE"}}})");
    ASSERT_TRUE(qor_gdx_image_bgr(&m_gdx, &mixed, nullptr));
    EXPECT_EQ(m_gdx.lenGet(), 2);

    // A failed angle check draws nothing; every member wants its data and parameters as directories.
    QOR::CDtaFilePointer angle = openJson(R"({"TYPE": "ANGLE", "L1": 50, "L2": 50, "WIDTH": 20,
        "THICK": 5, "ANG": 200})");
    CQorDataItem parm;
    parm.mkDir();
    CQorGDX none;
    EXPECT_FALSE(qor_gdx_image_bgr_angle(&none, angle.get(), mtx, view, &parm));
    EXPECT_FALSE(qor_gdx_image_bgr_bt(&none, angle.get(), mtx, view, &parm));
    EXPECT_FALSE(qor_gdx_image_bgr_rot(&none, nullptr, mtx, view, &parm));
    EXPECT_FALSE(qor_gdx_image_bgr_sheet(&none, angle.get(), mtx, view, &value));
    EXPECT_FALSE(qor_gdx_image_bgr_scord(nullptr, angle.get(), mtx, view, &parm));
    EXPECT_FALSE(qor_gdx_image_bgr_obj(&none, angle.get(), mtx, view, &parm, CQorColor(), CQorColor()));
    EXPECT_EQ(none.lenGet(), 0);
}

TEST_F(BgrImage, NanAndHugeCoordinatesDrawNothingOfThatElement) {
    QOR::CDtaFilePointer object = openJson(R"({"KIND": "BGR", "BT": {
        "NAN": {"TYPE": "SLICE"},
        "FAR": {"TYPE": "SHEET", "THICK": 1, "OUTLINE": {"ID": 1, "P1": 4}, "ORIGIN": {"$point": [1e300, 0, 0]}},
        "SET": {"TYPE": "SCORD", "BT": {"C": {"BT": {"TYPE": "DRILL", "DIA": 4, "DEPTH": 4}}}},
        "OK": {"TYPE": "SLICE"}}})");
    CQorMatrix3d nan;
    nan[0][3] = std::numeric_limits<double>::quiet_NaN();
    CQorDataItem* elements = object.get()->getItem(L"BT");
    elements->getItem(L"NAN")->set(nan, L"MTX");
    elements->getItem(CQorDataKey(L"SET", L"BT"))->getItem(L"C")->set(nan, L"MTX");
    ASSERT_TRUE(draw(object, R"({"VIEW": "F", "CMODE": 1, "COORD": true, "ACT": "NAN"})"));
    // The options' origin; the slice whose matrix is broken at the assembly origin (QOR::g_mtx_local falls
    // back to the identity) with its marker; the last slice. The sheet too far away and the set's
    // drilling placed by NaN draw nothing.
    EXPECT_EQ(m_gdx.lenGet(), 1 + 3 + 2);
    for (int i = 0; i < m_gdx.lenGet(); ++i) {
        CQorVertexArray vl;
        m_gdx.geomGet(vl, i);
        for (const CQorVertex& vx : vl)
            EXPECT_TRUE(std::isfinite(vx.start.x + vx.start.y + vx.end.x + vx.end.y + vx.bulge)) << i;
    }

    CQorDataItem options;
    options.set(nan, L"MTX");
    QOR::CDtaFilePointer nanOptions = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &options);
    CQorGDX nanView;
    ASSERT_TRUE(qor_gdx_image_bgr(&nanView, &object, &nanOptions));
    EXPECT_EQ(nanView.lenGet(), 0);
}

/// Every element type, drawn on its own in an orthogonal and an oblique view, and the whole assembly as
/// one solid (tests/data/objects/bgr_every_type.json).
TEST_F(BgrImage, EveryElementTypeDraws) {
    QOR::CDtaFilePointer all;
    const std::filesystem::path path =
        std::filesystem::path(QOR_TEST_DATA_DIR) / "objects" / "bgr_every_type.json";
    CQorString message;
    ASSERT_TRUE(QOR::objOpen(path.wstring().c_str(), QOR::kDtaRead, all, &message)) << message.toUtf8();
    CQorDataItem parm;
    parm.mkDir();
    for (const wchar_t* view : {L"F", L"I"}) {
        const CQorMatrix3d toView = QOR::g_mtx_view_dir(view, CQorPoint3d::kOrigin).inverse();
        for (const wchar_t* name : {L"R", L"E", L"H", L"P", L"A", L"S", L"D", L"N", L"K", L"L", L"C"}) {
            std::unique_ptr<CQorDataItem> element(QOR::bgr_data_merge(all.get(), name, nullptr));
            CQorMatrix3d mtx = QOR::g_mtx_local(element.get());
            CQorGDX gdx;
            const std::string what = CQorString(name).toUtf8() + " in " + CQorString(view).toUtf8();
            EXPECT_TRUE(qor_gdx_image_bgr_bt(&gdx, element.get(), mtx, toView, &parm)) << what;
            EXPECT_GT(gdx.lenGet(), 0) << what;
        }
    }
    // The file's own keys as the options: the front view, colour mode 1, "COORD" on "N"; then as one solid.
    ASSERT_TRUE(qor_gdx_image_bgr(&m_gdx, &all, &all));
    EXPECT_EQ(countFlags(m_gdx, kBase), 1);
    EXPECT_GT(countFlags(m_gdx, kHidden), 0);
    all.get()->set(true, L"FULL");
    CQorGDX full;
    ASSERT_TRUE(qor_gdx_image_bgr(&full, &all, &all));
    EXPECT_EQ(countFlags(full, kHidden), 0);
}

TEST_F(BgrImage, BracketIsometricWithHiddenEdgesMatchesReferenceImage) {
    constexpr int kWidth = 320, kHeight = 260;
    QOR::CDtaFilePointer bracket = openSample("bgr_bracket.json");
    const std::filesystem::path optionsPath =
        std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "options" / "iso_hidden.json";
    QOR::CDtaFilePointer options =
        QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead, optionsPath.wstring().c_str(), nullptr);
    ASSERT_TRUE(options);
    ASSERT_TRUE(qor_gdx_image_bgr(&m_gdx, &bracket, &options));
    CQorPoint3d min, max;
    m_gdx.extMaxViewGet(min, max);
    m_gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
    CBitmap bitmap;
    ASSERT_TRUE(QOR::paintToBitmap(&m_gdx, bitmap, kWidth, kHeight));
    expectMatchesReference(bitmap, "image", "bgr_bracket_iso");
}

} // namespace
