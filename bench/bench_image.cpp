// The solid modeller behind the drill image: one drilling built and projected in the isometric view, and
// a plate with holes (25 and 100) built and projected, so that the cost per hole shows. The hole image of
// patterns of 25 and 100 outline elements (filled), and one outline of each number, show the cost of the
// outline path that needs no modeller.
#include <benchmark/benchmark.h>

#include <cmath>

#include <string>

#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image.h"
#include "qor/image/hole_image.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/drill.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/solid.h"

namespace {

CQorMatrix3d isometric() {
    const CQorVector3d x = CQorVector3d(1, 1, 0).normal(), z = CQorVector3d(1, -1, 1).normal();
    CQorMatrix3d m;
    m.setCoordSystem(CQorPoint3d::kOrigin, x, z * x, z);
    return m;
}

void drillingImage(benchmark::State& state) {
    CQorDataItem root;
    QOR::dataFromJson(root,
                      R"({"KIND": "DRILL", "DIA": 6.6, "DEPTH": 20, "HEAD": {"TYPE": "SINK", "DIA": 13}})");
    QOR::Drill_st drill;
    QOR::drillRead(&root, drill);
    const CQorMatrix3d view = isometric();
    for (auto _ : state) {
        CQor_Solid solid;
        QOR::drillModel(solid, drill);
        solid.solid();
        CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
        solid.project(view, false, visible, hidden, 1);
        benchmark::DoNotOptimize(visible.len());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(drillingImage)->Unit(benchmark::kMillisecond);

/// A plate of n x n holes of diameter 6, pitch 10, 10 thick.
CQor_Solid plate(int n) {
    CQor_Solid solid;
    CQorVertexArray outline;
    const double size = 10.0 * n;
    outline.append({0, 0, 0}, {size, 0, 0});
    outline.append({size, 0, 0}, {size, size, 0});
    outline.append({size, size, 0}, {0, size, 0});
    outline.append({0, size, 0}, {0, 0, 0});
    solid.addPrism(outline, {0, 0, 10});
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            solid.addCylinder({5 + 10.0 * i, 5 + 10.0 * j, -1}, {0, 0, 1}, 3, 12, CQor_Solid::kCut);
    return solid;
}

void plateBuild(benchmark::State& state) {
    const int n = int(std::lround(std::sqrt(double(state.range(0)))));
    for (auto _ : state) {
        CQor_Solid solid = plate(n);
        benchmark::DoNotOptimize(solid.solid());
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}
BENCHMARK(plateBuild)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

void plateProject(benchmark::State& state) {
    const int n = int(std::lround(std::sqrt(double(state.range(0)))));
    CQor_Solid solid = plate(n);
    solid.solid();
    const CQorMatrix3d view = isometric();
    for (auto _ : state) {
        CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
        solid.project(view, false, visible, hidden, 1);
        benchmark::DoNotOptimize(hidden.len());
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}
BENCHMARK(plateProject)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

/// Every outline number with parameters it takes, made once per iteration.
void outlines(benchmark::State& state) {
    const CQorArrayTempl<double> parms[] = {{10},        {20, 10},       {20, 10, 2}, {20, 8}, {6, 10},
                                            {30, 20, 3}, {40, 20, 3, 4}, {10, 5, 90}, {-10}};
    CQorVertexArray vl;
    for (auto _ : state)
        for (int i = 0; i < int(std::size(QOR::kOutlineNumbers)); ++i)
            benchmark::DoNotOptimize(QOR::g_outline(vl, QOR::kOutlineNumbers[i], {}, parms[i]));
    state.SetItemsProcessed(state.iterations() * std::size(QOR::kOutlineNumbers));
}
BENCHMARK(outlines);

/// A filled hole pattern of n rounded rectangles and slots on a grid.
void holeImage(benchmark::State& state) {
    const int n = int(state.range(0));
    std::string json = R"({"KIND": "HOLE", "": {"DRAW": "F"}, "BT": {)";
    for (int i = 0; i < n; ++i) {
        json += (i > 0 ? "," : "") + std::string("\"E") + std::to_string(i) +
                "\": {\"GEN\": {\"TYPE\": \"OUTLINE\", ";
        json +=
            i % 2 == 0 ? R"("ID": 3, "P1": 8.0, "P2": 5.0, "P3": 1.0})" : R"("ID": 4, "P1": 8.0, "P2": 4.0})";
        json += R"(, "ORIGIN": {"$point": [)" + std::to_string(10 * (i % 10)) + ", " +
                std::to_string(10 * (i / 10)) + ", 0]}}";
    }
    json += "}}";
    CQorDataItem root;
    QOR::dataFromJson(root, json);
    QOR::CDtaFilePointer hole = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &root);
    for (auto _ : state) {
        CQorGDX gdx;
        qor_gdx_image_hole(&gdx, &hole, nullptr);
        benchmark::DoNotOptimize(gdx.lenGet());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(holeImage)->Arg(25)->Arg(100)->Unit(benchmark::kMicrosecond);

/// An assembly of n elements on a grid, seen from the isometric view with hidden edges: plates with four
/// drillings, angle joints and turned shafts in turn (each element is built and projected on its own).
void assemblyImage(benchmark::State& state) {
    const int n = int(state.range(0));
    std::string json = R"({"KIND": "BGR", "BT": {)";
    for (int i = 0; i < n; ++i) {
        json += (i > 0 ? ", " : "") + std::string("\"E") + std::to_string(i) +
                "\": {\"ORIGIN\": {\"$point\": [" + std::to_string(150 * (i % 10)) + ", " +
                std::to_string(150 * (i / 10)) + ", 0]}, ";
        switch (i % 3) {
        case 0:
            json += R"("TYPE": "SHEET", "OUTLINE": {"ID": 3, "P1": 100, "P2": 60, "P3": 8}, "THICK": 10,
                "HOLES": {"$points": [[-35, -20, 0], [35, -20, 0], [-35, 20, 0], [35, 20, 0]]},
                "BT": {"DIA": 9, "DEPTH": 10, "POINT_ANGLE": 180}})";
            break;
        case 1:
            json += R"("TYPE": "ANGLE", "L1": 80, "L2": 60, "WIDTH": 50, "THICK": 8, "ANG": 90})";
            break;
        default:
            json += R"("TYPE": "ROT", "VL": {"$vl": [[[0, 0, 0], [20, 0, 0], 0], [[20, 0, 0], [20, 0, 40], 0],
                [[20, 0, 40], [12, 0, 40], 0], [[12, 0, 40], [12, 0, 90], 0], [[12, 0, 90], [0, 0, 90], 0],
                [[0, 0, 90], [0, 0, 0], 0]]}})";
        }
    }
    json += "}}";
    CQorDataItem root, options;
    QOR::dataFromJson(root, json);
    QOR::dataFromJson(options, R"({"VIEW": "I", "CMODE": 1})");
    QOR::CDtaFilePointer object = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &root);
    QOR::CDtaFilePointer opt = QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead, nullptr, &options);
    for (auto _ : state) {
        CQorGDX gdx;
        qor_gdx_image_bgr(&gdx, &object, &opt);
        benchmark::DoNotOptimize(gdx.lenGet());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(assemblyImage)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace
