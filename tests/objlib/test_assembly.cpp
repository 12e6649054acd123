// The object library's assembly services: the schema, the element map, placements, implied drillings,
// standard parts and the whole assembly as one solid.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/assembly.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/standard_part.h"

namespace {

CQorDataItem parse(const char* json) {
    CQorDataItem item;
    EXPECT_TRUE(QOR::dataFromJson(item, json)) << json;
    return item;
}

CQorDataItem sample(const char* name) {
    const std::filesystem::path path =
        std::filesystem::path(QOR_TEST_DATA_DIR) / ".." / ".." / "res" / "objects" / name;
    QOR::CDtaFilePointer object;
    CQorString message;
    EXPECT_TRUE(QOR::objOpen(path.wstring().c_str(), QOR::kDtaRead, object, &message)) << message.toUtf8();
    return object ? *object.get() : CQorDataItem();
}

void expectNear(const CQorPoint3d& actual, const CQorPoint3d& expected, double tol = 1e-6) {
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

CQorString badKeyOf(const char* json) {
    const CQorDataItem root = parse(json);
    CQorString key, why;
    EXPECT_FALSE(QOR::objCheck(&root, &key, &why)) << json;
    return key;
}

TEST(AssemblySchema, SamplesPassAndBrokenElementsAreNamedByPath) {
    for (const char* name : {"bgr_bracket.json", "bgr_flange.json", "bgr_shaft.json"}) {
        const CQorDataItem root = sample(name);
        EXPECT_TRUE(QOR::bgrCheck(&root)) << name;
    }
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR"})"), CQorString(L"BT"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"P": {"TYPE": "SHEET", "THICK": "x",
        "OUTLINE": {"ID": 2, "P1": 10, "P2": 5}}}})"),
              CQorString(L"BT\\P\\THICK"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"P": {"TYPE": "CONE"}}})"), CQorString(L"BT\\P\\TYPE"));
    // Holes need the drilling that makes them; a drilling's own keys are checked below "BT".
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"P": {"TYPE": "SHEET", "THICK": 5,
        "OUTLINE": {"ID": 2, "P1": 10, "P2": 5}, "HOLES": {"$points": [[1, 1, 0]]}}}})"),
              CQorString(L"BT\\P\\BT"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"D": {"TYPE": "DRILL", "BT": {"DIA": -1, "DEPTH": 5}}}})"),
              CQorString(L"BT\\D\\BT\\DIA"));
    // Legs too short for the thickness at a sharp angle, and an angle out of range.
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"A": {"TYPE": "ANGLE", "L1": 10, "L2": 50, "WIDTH": 20,
        "THICK": 8, "ANG": 30}}})"),
              CQorString(L"BT\\A\\L1"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"A": {"TYPE": "ANGLE", "L1": 10, "L2": 50, "WIDTH": 20,
        "THICK": 2, "ANG": 180}}})"),
              CQorString(L"BT\\A\\ANG"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"S": {"TYPE": "SCORD", "BT": {"C": {"BT": {"TYPE": "DIN",
        "NORM": "ISO4017", "SIZE": "M7", "LEN": 20}}}}}})"),
              CQorString(L"BT\\S\\BT\\C\\BT\\SIZE"));
    EXPECT_EQ(badKeyOf(R"({"KIND": "BGR", "BT": {"R": {"TYPE": "ROT",
        "VL": {"$vl": [[[0, 0, 0], [5, 1, 0], 0], [[5, 1, 0], [5, 0, 9], 0], [[5, 0, 9], [0, 0, 0], 0]]}}}})"),
              CQorString(L"BT\\R\\VL"));
    // Compounds nest, but not without end.
    std::string nested = R"({"TYPE": "SHEET", "THICK": 1, "OUTLINE": {"ID": 1, "P1": 4}})";
    for (int i = 0; i < 12; ++i)
        nested = R"({"TYPE": "COMPOUND", "ELEMENTS": {"E": )" + nested + "}}";
    const CQorDataItem deep = parse((R"({"KIND": "BGR", "BT": {"C": )" + nested + "}}").c_str());
    EXPECT_FALSE(QOR::bgrCheck(&deep));
    EXPECT_FALSE(QOR::checkBt(nullptr, nullptr));
    const CQorDataItem value = parse("7");
    const CQorDataItem slice = parse(R"({"TYPE": "SLICE"})");
    EXPECT_TRUE(QOR::checkBt(&slice, nullptr));
    EXPECT_FALSE(QOR::checkBt(&slice, &value));
}

TEST(AssemblyServices, ElementMapMergeUnitsAndPlacement) {
    const CQorDataItem root = parse(R"({"KIND": "BGR", "PART": "KONTUR", "INSUNIT": 6, "BT": {
        "Z": {"TYPE": "SLICE", "INSUNIT": 4, "ORIGIN": {"$point": [10, 0, 0]}},
        "A": {"TYPE": "SLICE", "PART": "ACHSE", "ORIGIN": {"$point": [0, 20, 0]}}}})");
    CQorDataItem parm = parse(R"({"CMODE": 1})");
    BgrBtMap map;
    ASSERT_TRUE(qor_bgr_strong(&root, nullptr, CQorMatrix3d(), 1, &parm, map));
    ASSERT_EQ(map.len(), 2);
    auto it = map.begin();
    EXPECT_EQ(it->key.name, CQorString(L"Z")); // file order, not name order
    int cmode = 0;
    EXPECT_TRUE(it->value.get(cmode, CQorDataKey(L"PARM", L"CMODE")));
    EXPECT_EQ(cmode, 1);
    EXPECT_EQ((++it)->key.name, CQorString(L"A"));

    CQorString layer;
    std::unique_ptr<CQorDataItem> z(QOR::bgr_data_merge(&root, L"Z", nullptr));
    std::unique_ptr<CQorDataItem> a(QOR::bgr_data_merge(&root, L"A", nullptr));
    ASSERT_TRUE(z && a);
    EXPECT_TRUE(z->get(layer, L"PART"));
    EXPECT_EQ(layer, CQorString(L"KONTUR"));
    EXPECT_TRUE(a->get(layer, L"PART"));
    EXPECT_EQ(layer, CQorString(L"ACHSE"));
    EXPECT_EQ(QOR::bgr_data_merge(&root, L"MISSING", nullptr), nullptr);

    EXPECT_EQ(QOR::lobj_unit(&root), Qor::kUnitMeter);
    EXPECT_EQ(QOR::bgr_bt_unit(&root, L"Z"), Qor::kUnitMillimeter);
    EXPECT_EQ(QOR::bgr_bt_unit(&root, L"A"), Qor::kUnitMeter);

    CQorMatrix3d lift;
    lift.setToTranslation({0, 0, 5});
    double reach = 0;
    const CQorMatrix3d placed = QOR::getBtTransformation(z.get(), nullptr, lift, 1.0, reach);
    expectNear(placed * CQorPoint3d::kOrigin, {10, 0, 5});
    EXPECT_DOUBLE_EQ(reach, 10);
    const CQorMatrix3d exploded = QOR::getBtTransformation(a.get(), nullptr, lift, 2.0, reach);
    expectNear(exploded * CQorPoint3d::kOrigin, {0, 40, 5});
    EXPECT_DOUBLE_EQ(reach, 40);
    expectNear(QOR::getBtBasePoint(placed, CQorMatrix3d(), CQorPoint3d::kOrigin), {10, 0, 0});
}

TEST(AssemblyServices, ImpliedDrillingsArePlacedOnTheirFaces) {
    const CQorDataItem bracket = sample("bgr_bracket.json");
    std::unique_ptr<CQorDataItem> plate(QOR::bgr_data_merge(&bracket, L"PLATE", nullptr));
    std::unique_ptr<CQorDataItem> angle(QOR::bgr_data_merge(&bracket, L"ANGLE", nullptr));
    ASSERT_TRUE(plate && angle);
    const CQorMatrix3d identity;
    QOR::DrillPlacements places;
    // The plate is of "SCONS" "EDGE_N": the "EDGE" service refuses it.
    EXPECT_FALSE(QOR::getEdgeDrillData(places, plate.get(), nullptr, identity, identity));
    ASSERT_TRUE(QOR::getEdgeNDrillData(places, plate.get(), nullptr, identity, identity));
    ASSERT_EQ(places.len(), 4);
    expectNear(places[1].mtx * CQorPoint3d::kOrigin, {105, 15, 10}); // on the top face
    expectNear(CQorPoint3d::kOrigin + places[1].mtx.axis(2), {0, 0, 1});
    CQorString type;
    EXPECT_TRUE(places[0].drill->get(type, L"TYPE"));
    EXPECT_EQ(type, CQorString(L"DRILL"));
    EXPECT_EQ(places[0].drill, places[3].drill); // one drilling item for the element

    CQorMatrix3d placed;
    placed.setToTranslation({30, 0, 10});
    ASSERT_TRUE(QOR::getAngleDrillData(places, angle.get(), nullptr, nullptr, placed, identity));
    ASSERT_EQ(places.len(), 2);
    // The upright leg's inner face is at x = 30 + 8, the drilling 45 up it and entering against +X.
    expectNear(places[0].mtx * CQorPoint3d::kOrigin, {38, 20, 55});
    expectNear(CQorPoint3d::kOrigin + places[0].mtx.axis(2), {1, 0, 0});
    EXPECT_FALSE(QOR::getExtrDrillData(places, angle.get(), nullptr, nullptr, placed, identity));
    EXPECT_EQ(places.len(), 0);
    EXPECT_FALSE(QOR::getAngleDrillData(places, nullptr, nullptr, nullptr, placed, identity));

    // Angle check: the angle, the legs and the units.
    CQorDataItem checked(*angle);
    EXPECT_TRUE(qor_bgr_bt_angle_check(&checked));
    checked.set(25, L"INSUNIT");
    EXPECT_FALSE(qor_bgr_bt_angle_check(&checked));
    checked.set(4, L"INSUNIT");
    checked.set(190.0, L"ANG");
    EXPECT_FALSE(qor_bgr_bt_angle_check(&checked));
    EXPECT_FALSE(qor_bgr_bt_angle_check(plate.get()));
}

TEST(AssemblyServices, OrthogonalViewsHandTheDrawingMatrixOver) {
    CQorMatrix3d place;
    place.setToTranslation({5, 6, 7});
    CQorMatrix3d out;
    EXPECT_TRUE(QOR::isBtOrthoView(nullptr, place, CQorMatrix3d(), nullptr, out));
    expectNear(out * CQorPoint3d::kOrigin, {5, 6, 7});
    CQorMatrix3d tilted;
    tilted.setToRotation(0.3, {1, 1, 0});
    EXPECT_FALSE(QOR::isBtOrthoView(nullptr, tilted, CQorMatrix3d(), nullptr, out));
}

TEST(StandardParts, BoltAndNutHaveTheTableSizes) {
    const QOR::StandardSize_st* m12 = QOR::standardSize(L"M12");
    ASSERT_NE(m12, nullptr);
    EXPECT_EQ(QOR::standardSize(L"m12"), nullptr);
    EXPECT_EQ(QOR::standardSize(nullptr), nullptr);

    CQorDataItem bolt = parse(R"({"NORM": "ISO4017", "SIZE": "M12", "LEN": 40})");
    ASSERT_TRUE(QOR::objGen(&bolt, 0));
    CQor_Solid solid;
    ASSERT_TRUE(QOR::objModel(solid, &bolt));
    ASSERT_TRUE(solid.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(solid.extents(min, max));
    const double corner = m12->acrossFlats / std::sqrt(3.0);
    EXPECT_NEAR(max.x, corner, 1e-3);
    EXPECT_NEAR(max.y, m12->acrossFlats / 2, 1e-3);
    EXPECT_NEAR(max.z, m12->headHeight, 1e-3);
    EXPECT_NEAR(min.z, -40, 1e-3);

    const CQorDataItem nut = parse(R"({"KIND": "NM", "NORM": "ISO4032", "SIZE": "M12"})");
    ASSERT_TRUE(QOR::objModel(solid, &nut));
    ASSERT_TRUE(solid.solid());
    ASSERT_TRUE(solid.extents(min, max));
    EXPECT_NEAR(min.z, -m12->nutHeight, 1e-3);
    EXPECT_NEAR(max.z, 0, 1e-3);

    CQorString key;
    const CQorDataItem noLength = parse(R"({"KIND": "NM", "NORM": "ISO4017", "SIZE": "M12"})");
    EXPECT_FALSE(QOR::objCheck(&noLength, &key));
    EXPECT_EQ(key, CQorString(L"LEN"));
    const CQorDataItem washer = parse(R"({"KIND": "NM", "NORM": "ISO7089", "SIZE": "M12"})");
    EXPECT_FALSE(QOR::objModel(solid, &washer));
}

TEST(SolidPlacement, AddSolidMovesABuiltModelAndRefusesOthers) {
    CQor_Solid cube;
    CQorVertexArray square;
    square.append({0, 0, 0}, {1, 0, 0});
    square.append({1, 0, 0}, {1, 1, 0});
    square.append({1, 1, 0}, {0, 1, 0});
    square.append({0, 1, 0}, {0, 0, 0});
    ASSERT_TRUE(cube.addPrism(square, {0, 0, 1}));
    CQor_Solid whole;
    EXPECT_FALSE(whole.addSolid(cube, CQorMatrix3d())); // not built yet
    ASSERT_TRUE(cube.solid());
    CQorMatrix3d turned;
    turned.setToRotation(std::numbers::pi / 2, {0, 0, 1});
    turned = CQorMatrix3d().setToTranslation({10, 0, 0}) * turned;
    ASSERT_TRUE(whole.addSolid(cube, turned));
    CQorMatrix3d scaled;
    scaled.setToScaling(2);
    EXPECT_FALSE(whole.addSolid(cube, scaled));
    CQorMatrix3d mirrored;
    mirrored[0][0] = -1;
    EXPECT_FALSE(whole.addSolid(cube, mirrored));
    ASSERT_TRUE(whole.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(whole.extents(min, max));
    expectNear(min, {9, 0, 0}, 1e-5);
    expectNear(max, {10, 1, 1}, 1e-5);
}

TEST(AssemblySolid, TheBracketAsOneSolidKeepsItsDimensions) {
    const CQorDataItem bracket = sample("bgr_bracket.json");
    CQor_Solid solid;
    bool built = false;
    ASSERT_TRUE(QOR::bgr_slx_bgr(solid, built, &bracket, nullptr, CQorMatrix3d(), nullptr, false, true));
    ASSERT_TRUE(built);
    ASSERT_TRUE(solid.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(solid.extents(min, max));
    expectNear(min, {0, 0, 0}, 1e-5);
    expectNear(max, {120, 80, 80}, 1e-5);
    EXPECT_FALSE(QOR::bgr_slx_bgr(solid, built, nullptr, nullptr, CQorMatrix3d(), nullptr, false, true));
    EXPECT_FALSE(built);
}

/// The drillings of a coordinate-driven set cut the plate it is fastened to.
TEST(AssemblySolid, SetDrillingsCutTheAssembly) {
    const CQorDataItem root = parse(R"({"KIND": "BGR", "BT": {
        "PLATE": {"TYPE": "SHEET", "THICK": 10, "OUTLINE": {"ID": 2, "P1": 60, "P2": 40}},
        "SET": {"TYPE": "SCORD", "ORIGIN": {"$point": [10, 0, 10]}, "BT": {
            "H": {"BT": {"TYPE": "DRILL", "DIA": 8, "DEPTH": 10, "POINT_ANGLE": 180}},
            "B": {"MTX": {"$matrix": [[1, 0, 0, -30], [0, 1, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]]},
                  "BT": {"TYPE": "DIN", "NORM": "ISO4017", "SIZE": "M8", "LEN": 10}}}}}})");
    ASSERT_TRUE(QOR::bgrCheck(&root));
    // Seen from above: the hole's rim is the only circle centred on (10, 0) (the bolt stands elsewhere).
    const auto holeRims = [&](bool skipParts, bool withDrills) {
        CQor_Solid solid;
        bool built = false;
        EXPECT_TRUE(
            QOR::bgr_slx_bgr(solid, built, &root, nullptr, CQorMatrix3d(), nullptr, skipParts, withDrills));
        EXPECT_TRUE(built && solid.solid());
        CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
        EXPECT_TRUE(solid.project(CQorMatrix3d(), false, visible, hidden, 1));
        int rims = 0;
        for (const CQorVertexArrayEx& edge : visible)
            for (const CQorVertex& vx : edge)
                rims += vx.bulge != 0 && std::abs(vx.start.x - 10) < 4.01 && std::abs(vx.start.y) < 4.01;
        return rims;
    };
    EXPECT_GT(holeRims(false, true), 0);
    EXPECT_GT(holeRims(true, true), 0);
    EXPECT_EQ(holeRims(false, false), 0);
}

} // namespace
