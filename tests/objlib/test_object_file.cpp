#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/drill.h"
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
    CQorDataItem wrongKind = item(R"({"KIND": "WALL"})");
    EXPECT_FALSE(QOR::objCheck(&wrongKind, &key));
    EXPECT_EQ(key, L"KIND");
}

TEST(ObjectFile, OpensTheSampleDrillings) {
    for (const char* name : {"drill_countersunk.json", "drill_tapped.json"}) {
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

} // namespace
