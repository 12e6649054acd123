// The solid modeller behind the drill image: one drilling built and projected in the isometric view, and
// a plate with holes (25 and 100) built and projected, so that the cost per hole shows.
#include <benchmark/benchmark.h>

#include <cmath>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/objlib/drill.h"
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

} // namespace
