#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/drill.h"
#include "qor/objlib/hole.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"

namespace {

std::wstring fixture(const char* name) {
    return std::filesystem::path(QOR_TEST_DATA_DIR "/objects/").append(name).wstring();
}

CQorDataItem item(const char* json) {
    CQorDataItem root;
    EXPECT_TRUE(QOR::dataFromJson(root, json)) << json;
    return root;
}

TEST(DrillRead, ReadsHeadThreadAndDefaults) {
    QOR::Drill_st drill;
    CQorDataItem sunk =
        item(R"({"KIND": "DRILL", "DIA": 6.6, "DEPTH": 20, "HEAD": {"TYPE": "SINK", "DIA": 13.0}})");
    ASSERT_TRUE(QOR::drillRead(&sunk, drill));
    EXPECT_EQ(drill.head, QOR::Drill_st::kCountersink);
    EXPECT_DOUBLE_EQ(drill.headAngle, 90);
    EXPECT_NEAR(drill.headDepth, (13.0 - 6.6) / 2, 1e-12); // 90 degrees: depth = radial step
    EXPECT_DOUBLE_EQ(drill.pointAngle, 118);
    EXPECT_FALSE(drill.threaded);

    CQorDataItem flat = item(R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "POINT_ANGLE": 180,
                                 "THREAD": {"NAME": "M10", "DIA": 10, "PITCH": 1.5, "DEPTH": 10}})");
    ASSERT_TRUE(QOR::drillRead(&flat, drill));
    EXPECT_EQ(drill.tipLength(), 0);
    EXPECT_TRUE(drill.threaded);
    EXPECT_EQ(drill.threadName, L"M10");
}

TEST(DrillRead, NamesTheFirstKeyThatBreaksTheSchema) {
    const struct {
        const char* json;
        const wchar_t* key;
    } cases[] = {
        {R"({"KIND": "DRILL", "DEPTH": 10})", L"DIA"},
        {R"({"KIND": "DRILL", "DIA": -1, "DEPTH": 10})", L"DIA"},
        {R"({"KIND": "DRILL", "DIA": {"$double": "nan"}, "DEPTH": 10})", L"DIA"},
        {R"({"KIND": "DRILL", "DIA": 1e300, "DEPTH": 10})", L"DIA"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": "deep"})", L"DEPTH"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "POINT_ANGLE": 0})", L"POINT_ANGLE"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "POINT_ANGLE": 1e-300})", L"POINT_ANGLE"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "HEAD": 3})", L"HEAD"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "HEAD": {"TYPE": "CONE", "DIA": 12}})", L"HEAD\\TYPE"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "HEAD": {"TYPE": "BORE", "DIA": 8, "DEPTH": 2}})",
         L"HEAD\\DIA"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "HEAD": {"TYPE": "BORE", "DIA": 12, "DEPTH": 10}})",
         L"HEAD\\DEPTH"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 2, "HEAD": {"TYPE": "SINK", "DIA": 30}})", L"HEAD\\DIA"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "THREAD": {"DIA": 10, "DEPTH": 5}})", L"THREAD\\PITCH"},
        {R"({"KIND": "DRILL", "DIA": 8, "DEPTH": 10, "THREAD": {"DIA": 6, "PITCH": 1, "DEPTH": 5}})",
         L"THREAD\\DIA"},
    };
    for (const auto& c : cases) {
        CQorDataItem root = item(c.json);
        QOR::Drill_st drill;
        CQorString key, reason;
        EXPECT_FALSE(QOR::drillRead(&root, drill, &key, &reason)) << c.json;
        EXPECT_EQ(key, c.key) << c.json;
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_FALSE(QOR::objCheck(&root)) << c.json;
    }
    QOR::Drill_st drill;
    EXPECT_FALSE(QOR::drillRead(nullptr, drill));
    CQorString key;
    CQorDataItem wrongKind = item(R"({"KIND": "FENCE"})");
    EXPECT_FALSE(QOR::objCheck(&wrongKind, &key));
    EXPECT_EQ(key, L"KIND");
}

TEST(ObjectFile, OpensTheSampleDrillings) {
    for (const char* name : {"drill_countersunk.json", "drill_tapped.json"}) { // copies of the samples
        QOR::CDtaFilePointer object;
        CQorString message;
        ASSERT_TRUE(QOR::objOpen(fixture(name).c_str(), QOR::kDtaRead, object, &message)) << message.toUtf8();
        EXPECT_TRUE(message.isEmpty());
        int view = -1;
        EXPECT_TRUE(object.get()->get(view, L"VIEW"));
        EXPECT_EQ(view, 3);
    }
}

TEST(ObjectFile, MalformedFileGivesOneMessageNamingFileAndKey) {
    const struct {
        const char* file;
        const char* key; // empty: the file is no JSON, no key to name
    } cases[] = {
        {"malformed/head_dia_is_text.json", "HEAD\\DIA: "},
        {"malformed/thread_deeper_than_drilling.json", "THREAD\\DEPTH: "},
        {"malformed/truncated.json", ""},
        {"malformed/hole_drill_dia_is_text.json", "BT\\A1\\GEN\\DIA: "},
        {"malformed/hole_outline_unknown.json", "BT\\S\\GEN\\ID: "},
        {"malformed/bgr_angle_too_sharp.json", "BT\\A\\L1: "},
        {"no_such_file.json", ""},
    };
    for (const auto& c : cases) {
        const std::wstring path = fixture(c.file);
        QOR::CDtaFilePointer object = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, nullptr);
        CQorString message;
        EXPECT_FALSE(QOR::objOpen(path.c_str(), QOR::kDtaRead, object, &message)) << c.file;
        EXPECT_FALSE(object.isOpen());
        const std::string text = message.toUtf8();
        EXPECT_EQ(text.find(CQorString(path.c_str()).toUtf8() + ": " + c.key), 0u) << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    }
    QOR::CDtaFilePointer object;
    EXPECT_FALSE(QOR::objOpen(nullptr, QOR::kDtaRead, object, nullptr));
}

TEST(ObjectModel, CountersunkDrillingProjectsToItsOutline) {
    QOR::CDtaFilePointer object;
    ASSERT_TRUE(QOR::objOpen(fixture("drill_countersunk.json").c_str(), QOR::kDtaRead, object));
    CQor_Solid solid;
    ASSERT_TRUE(QOR::objModel(solid, object.get()));
    ASSERT_TRUE(solid.solid());
    CQorPoint3d min, max;
    ASSERT_TRUE(solid.extents(min, max));
    const double tip = 3.3 / std::tan(59 * 3.14159265358979323846 / 180);
    EXPECT_NEAR(max.z, 0, 1e-6);
    EXPECT_NEAR(min.z, -20 - tip, 1e-6);
    EXPECT_NEAR(max.x - min.x, 13, 1e-6);
    // Seen from above, the drilling's body shows the countersink's rim; below its top face, hidden, the
    // circle where the countersink meets the shaft. Both come back as arcs.
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    ASSERT_TRUE(solid.project(CQorMatrix3d(), false, visible, hidden, 1));
    auto hasCircle = [](const CQorArrayTempl<CQorVertexArrayEx>& edges, double radius) {
        for (const CQorVertexArrayEx& vl : edges)
            for (const CQorVertex& vx : vl)
                if (vx.isArc() && std::abs(std::hypot(vx.start.x, vx.start.y) - radius) < 1e-6 &&
                    std::abs(std::hypot(vx.mid().x, vx.mid().y) - radius) < 1e-6)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasCircle(visible, 6.5));
    EXPECT_TRUE(hasCircle(hidden, 3.3));

    CQorDataItem broken = item(R"({"KIND": "DRILL", "DIA": 0, "DEPTH": 1})");
    EXPECT_FALSE(QOR::objModel(solid, &broken));
    EXPECT_EQ(solid.bodyCount(), 0);
    EXPECT_FALSE(QOR::objModel(solid, nullptr));
}

TEST(HoleCheck, NamesTheKeyThatBreaksTheSchema) {
    const struct {
        const char* json;
        const char* key;
    } cases[] = {
        {R"({"KIND": "HOLE"})", "BT"},
        {R"({"KIND": "HOLE", "BT": 5})", "BT"},
        {R"({"KIND": "HOLE", "": 5, "BT": {}})", ""},
        {R"({"KIND": "HOLE", "": {"HPSCALE": 0}, "BT": {}})", "\\HPSCALE"},
        {R"({"KIND": "HOLE", "BT": {"A": {"MTX": 1}}})", "BT\\A\\MTX"},
        {R"({"KIND": "HOLE", "BT": {"A": {"MTX": {"$matrix": [[1, 0, 0, "nan"], [0, 1, 0, 0],
            [0, 0, 1, 0], [0, 0, 0, 1]]}}}})",
         "BT\\A\\MTX"},
        {R"({"KIND": "HOLE", "BT": {"A": {"GEN": 5}}})", "BT\\A\\GEN"},
        {R"({"KIND": "HOLE", "BT": {"A": {"GEN": {"$vll": [[[[0, 0, 0], [1e9, 0, 0], 0]]]}}}})",
         "BT\\A\\GEN"},
        {R"({"KIND": "HOLE", "BT": {"A": {"GEN": {"TYPE": "THREAD"}}}})", "BT\\A\\GEN\\TYPE"},
        {R"({"KIND": "HOLE", "BT": {"&2A": {"GEN": {"TYPE": "OUTLINE", "P1": 5.0}}}})", "BT\\2A\\GEN\\ID"},
        {R"({"KIND": "HOLE", "BT": {"A": {"GEN": {"TYPE": "OUTLINE", "ID": 2, "P1": 5.0}}}})",
         "BT\\A\\GEN\\ID"},
        {R"({"KIND": "HOLE", "BT": {"A": {"GEN": {"TYPE": "DRILL", "DIA": 5}}}})", "BT\\A\\GEN\\DEPTH"},
    };
    for (const auto& c : cases) {
        const CQorDataItem root = item(c.json);
        CQorString key, reason;
        EXPECT_FALSE(QOR::objCheck(&root, &key, &reason)) << c.json;
        EXPECT_EQ(key.toUtf8(), c.key) << c.json;
        EXPECT_FALSE(reason.isEmpty());
    }
    // Elements under short keys are no elements: what they hold is not checked.
    const CQorDataItem skipped = item(R"({"KIND": "HOLE", "BT": {"#4": {"GEN": 5}, "E": {}}})");
    EXPECT_TRUE(QOR::objCheck(&skipped));
}

TEST(ObjGen, CompletesDrillingAndOutlineElements) {
    CQorDataItem drill = item(R"({"TYPE": "DRILL", "DIA": 5, "DEPTH": 10})");
    const CQorDataItem before = drill;
    EXPECT_TRUE(QOR::objGen(&drill, 1)); // only checks
    EXPECT_TRUE(drill == before);
    EXPECT_TRUE(QOR::objGen(&drill, 0));
    CQorString kind;
    EXPECT_TRUE(drill.get(kind, L"KIND"));
    EXPECT_EQ(kind, L"DRILL");
    CQor_Solid solid;
    EXPECT_TRUE(QOR::objModel(solid, &drill)); // now an object of its own

    CQorDataItem outline = item(R"({"TYPE": "OUTLINE", "ID": 2, "P1": 20.0, "P2": 10.0})");
    EXPECT_TRUE(QOR::objGen(&outline, 0));
    CQorVertexArray vl;
    EXPECT_TRUE(outline.get(vl, L"VL"));
    EXPECT_TRUE(vl.isClosed());

    for (const char* bad :
         {R"({"TYPE": "DRILL", "DIA": -5, "DEPTH": 10})", R"({"TYPE": "OUTLINE", "ID": 77})",
          R"({"TYPE": "OTHER"})", R"({"KIND": "HOLE", "BT": {}})", "5"}) {
        CQorDataItem broken = item(bad);
        const CQorDataItem unchanged = broken;
        EXPECT_FALSE(QOR::objGen(&broken, 0)) << bad;
        EXPECT_TRUE(broken == unchanged) << bad;
    }
    EXPECT_FALSE(QOR::objGen(nullptr, 0));
}

TEST(ObjectFile, EveryBundledSampleOpens) {
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QOR_TEST_DATA_DIR) /
                                                                 ".." / ".." / "res" / "objects")) {
        QOR::CDtaFilePointer object;
        CQorString message;
        EXPECT_TRUE(QOR::objOpen(entry.path().wstring().c_str(), QOR::kDtaRead, object, &message))
            << message.toUtf8();
        ++samples;
    }
    EXPECT_GE(samples, 6); // the drillings, hole patterns and walls
}

TEST(WallCheck, NamesTheWallAndKeyThatBreakTheSchema) {
    const struct {
        const char* json;
        const char* key;
    } cases[] = {
        {R"({"KIND": "WALL"})", "SN"},
        {R"({"KIND": "WALL", "SN": {}, "CORNER": {"MODE": 1}})", "CORNER\\MODE"},
        {R"({"KIND": "WALL", "SN": {"A": {}}})", "SN\\A"},
        {R"({"KIND": "WALL", "SN": {"#2": {}}})", "SN\\2\\VL"},
        {R"({"KIND": "WALL", "SN": {"#2": {"VL": {"$vl": [[[0, 0, 0], [1, 0, 0], 0]]}}}})", "SN\\2\\VL"},
        {R"({"KIND": "WALL", "SN": {"#2": {"VL": {"$vl": [[[0, 0, 0], [1, 0, 0], 0], [[1, 0, 0], [0, 0, 0], 0]]},
            "HEIGHT": -1}}})",
         "SN\\2\\HEIGHT"},
    };
    for (const auto& c : cases) {
        const CQorDataItem root = item(c.json);
        CQorString key, reason;
        EXPECT_FALSE(QOR::objCheck(&root, &key, &reason)) << c.json;
        EXPECT_EQ(key.toUtf8(), c.key) << c.json;
        EXPECT_FALSE(reason.isEmpty());
    }
}

} // namespace
