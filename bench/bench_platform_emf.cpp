// Records per second written by the metafile backend (CMetaFileDC), in memory: one-pixel lines (a
// move-to and a line-to each), 20-vertex polygons and pen changes, at two sizes so that linearity shows.
// The shapes come from one seeded generator, rewound for every run.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "qor/platform/emf/emf_dc.h"

namespace {

struct Shapes {
    std::vector<POINT> points;
    explicit Shapes(std::size_t count) {
        std::mt19937 rng(42);
        points.resize(count);
        for (POINT& p : points)
            p = POINT{int(rng() % 1920), int(rng() % 1080)};
    }
};

void recordLines(benchmark::State& state) {
    const Shapes shapes(std::size_t(state.range(0)) * 2);
    std::size_t records = 0;
    for (auto _ : state) {
        CMetaFileDC dc;
        dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr);
        for (std::size_t i = 0; i + 1 < shapes.points.size(); i += 2) {
            dc.MoveTo(shapes.points[i]);
            dc.LineTo(shapes.points[i + 1]);
        }
        records += dc.recordCount();
        benchmark::DoNotOptimize(dc.CloseEnhanced());
    }
    state.SetItemsProcessed(std::int64_t(records));
    state.SetComplexityN(state.range(0));
}

void recordPolygons(benchmark::State& state) {
    const Shapes shapes(std::size_t(state.range(0)) * 20);
    CPen pens[2] = {CPen(PS_SOLID, 1, RGB(200, 0, 0)), CPen(PS_SOLID, 3, RGB(0, 0, 200))};
    CBrush brush(RGB(0, 200, 0));
    std::size_t records = 0;
    for (auto _ : state) {
        CMetaFileDC dc;
        dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr);
        dc.SelectObject(&brush);
        for (std::size_t i = 0, n = 0; i + 20 <= shapes.points.size(); i += 20, ++n) {
            if (n % 16 == 0) dc.SelectObject(&pens[(n / 16) % 2]);
            dc.Polygon(&shapes.points[i], 20);
        }
        records += dc.recordCount();
        benchmark::DoNotOptimize(dc.CloseEnhanced());
    }
    state.SetItemsProcessed(std::int64_t(records));
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(recordLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(recordPolygons)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
