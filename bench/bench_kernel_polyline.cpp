// The polyline kernel's hot loops: clipping scan lines by a region (metafile fills, dot hatches) and
// laying dash patterns along long polylines.
#include <benchmark/benchmark.h>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"

#include <cmath>

namespace {

// A wavy outer loop of `outer` vertices (radius 400..500) and outer / 20 holes of 16 vertices each,
// spread over a grid inside radius 350.
CQorArrayTempl<CQorVertexArray> region(int outer) {
    CQorPoint3dArray pts;
    for (int i = 0; i < outer; ++i) {
        const double a = 2 * M_PI * i / outer;
        pts.append(CQorPoint3d::kOrigin + QOR::polar(a, 450 + 50 * std::sin(7 * a)));
    }
    CQorVertexArray loop;
    loop.fromPoints(pts, true);
    CQorArrayTempl<CQorVertexArray> loops{loop};
    const int holes = outer / 20;
    const int side = int(std::ceil(std::sqrt(double(holes))));
    for (int h = 0; h < holes; ++h) {
        const CQorPoint3d c{-240 + 480.0 * (h % side) / side, -240 + 480.0 * (h / side) / side, 0};
        CQorPoint3dArray hp;
        for (int i = 0; i < 16; ++i)
            hp.append(c + QOR::polar(-2 * M_PI * i / 16, 8));
        CQorVertexArray hole;
        hole.fromPoints(hp, true);
        loops.append(hole);
    }
    return loops;
}

int edgeCount(const CQorArrayTempl<CQorVertexArray>& loops) {
    int n = 0;
    for (const CQorVertexArray& l : loops)
        n += l.len();
    return n;
}

void punchRegScanLines(benchmark::State& state) {
    const auto loops = region(int(state.range(0)));
    constexpr int kLines = 10000;
    CQorArrayTempl<CQorVertexArray> lines;
    for (int i = 0; i < kLines; ++i) {
        CQorVertexArray l;
        const double y = -520 + 1040.0 * (i + 0.5) / kLines;
        l.append({-600, y, 0}, {600, y, 0});
        lines.append(l);
    }
    std::size_t pieces = 0;
    for (auto _ : state) {
        for (const CQorVertexArray& l : lines) {
            const auto in = QOR::vl_punch_reg(l, loops, true);
            pieces += std::size_t(in.len());
            benchmark::DoNotOptimize(in.data());
        }
    }
    const double edges = edgeCount(loops);
    state.SetItemsProcessed(state.iterations() * kLines);
    state.counters["edges"] = edges;
    state.counters["ns_per_segment"] =
        benchmark::Counter(double(state.iterations()) * kLines * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["ns_per_segment_edge"] =
        benchmark::Counter(double(state.iterations()) * kLines * edges * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["pieces_per_line"] = double(pieces) / double(state.iterations()) / kLines;
}
BENCHMARK(punchRegScanLines)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

void measureLongPolyline(benchmark::State& state) {
    const int n = int(state.range(0));
    CQorVertexArray vl;
    vl.reserve(n);
    CQorPoint3d p;
    for (int i = 0; i < n; ++i) {
        // A zigzag with every fourth segment an arc.
        const CQorPoint3d q{p.x + 1.0, (i % 2) ? 0.0 : 0.7, 0};
        vl.append(p, q, i % 4 == 0 ? 0.2 : 0.0);
        p = q;
    }
    const CQorLineParm pattern(CQorArrayTempl<double>{3.0, -1.0, 0.0, -1.0});
    for (auto _ : state) {
        const auto dashes = QOR::vl_measure(vl, 1.0, pattern);
        benchmark::DoNotOptimize(dashes.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetComplexityN(n);
}
BENCHMARK(measureLongPolyline)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
