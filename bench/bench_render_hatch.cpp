// Hatch generation and dash fitting. The region keeps its size (a wavy disc of radius about 100 with
// ten square holes) while its outline gets 100, 1 000 or 10 000 vertices, so the number of hatch lines
// stays the same and the time shows how the work grows with the loop vertices. The same region moved
// far from the pattern origin must cost the same: only the lines that cross it are laid.
#include <benchmark/benchmark.h>

#include <cmath>

#include "qor/render/hatch.h"
#include "qor/render/polyline_prep.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

CQorArrayTempl<CQorVertexArray> makeRegion(int outlineVertices) {
    CQorArrayTempl<CQorVertexArray> region;
    CQorVertexArray outer;
    const auto at = [&](int i) {
        const double a = 2 * kPi * i / outlineVertices;
        const double r = 100 + 5 * std::sin(7 * a);
        return CQorPoint3d(r * std::cos(a), r * std::sin(a), 0);
    };
    for (int i = 0; i < outlineVertices; ++i)
        outer.append(at(i), at(i + 1));
    region.append(outer);
    for (int h = 0; h < 10; ++h) {
        const double a = 2 * kPi * h / 10, cx = 55 * std::cos(a), cy = 55 * std::sin(a);
        CQorVertexArray hole;
        hole.append({cx - 6, cy - 6, 0}, {cx - 6, cy + 6, 0});
        hole.append({cx - 6, cy + 6, 0}, {cx + 6, cy + 6, 0});
        hole.append({cx + 6, cy + 6, 0}, {cx + 6, cy - 6, 0});
        hole.append({cx + 6, cy - 6, 0}, {cx - 6, cy - 6, 0});
        region.append(hole);
    }
    return region;
}

void benchHatch(benchmark::State& state, const wchar_t* pattern) {
    const CQorArrayTempl<CQorVertexArray> region = makeRegion(int(state.range(0)));
    const QOR::CHatchProp hatch(pattern, 0.3, 1.0, false);
    long long lines = 0, dashes = 0;
    for (auto _ : state) {
        const auto out = qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, hatch);
        lines += out.len();
        for (const CQorVertexArray& line : out)
            dashes += line.len();
        benchmark::DoNotOptimize(out);
    }
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    state.counters["dashes/s"] = benchmark::Counter(double(dashes), benchmark::Counter::kIsRate);
    state.counters["lines"] = double(lines) / double(state.iterations());
    state.SetComplexityN(state.range(0));
}

void BM_Hatch2Ansi31(benchmark::State& state) {
    benchHatch(state, L"ANSI31");
}
void BM_Hatch2Dashed(benchmark::State& state) {
    benchHatch(state, L"ANSI33"); // one solid and one dashed family
}

/// The 1 000-vertex region with its centre at (range(0), range(0)); BRICK has a solid and two dashed
/// families.
void BM_Hatch2FarFromOrigin(benchmark::State& state) {
    CQorArrayTempl<CQorVertexArray> region = makeRegion(1000);
    const double offset = double(state.range(0));
    for (CQorVertexArray& loop : region)
        loop.move({offset, offset, 0.0});
    const QOR::CHatchProp hatch(L"BRICK", 0.3, 1.0, false);
    long long lines = 0;
    for (auto _ : state) {
        const auto out = qor_gdx_image_reg_hatch2(region, CQorMatrix3d::kIdentity, hatch);
        lines += out.len();
        benchmark::DoNotOptimize(out);
    }
    state.counters["lines"] = double(lines) / double(state.iterations());
}

void BM_PatternTest(benchmark::State& state) {
    const CQorArrayTempl<CQorVertexArray> region = makeRegion(int(state.range(0)));
    const QOR::CHatchProp hatch(L"ANSI33", 0.3, 1.0, false);
    CQorMatrix3d device;
    device.setToScaling(4.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(qor_gdx_pattern_test(region, hatch, device));
    state.SetItemsProcessed(state.iterations());
    state.SetComplexityN(state.range(0));
}

void BM_DashFit(benchmark::State& state) {
    CQorVertexArray vl;
    for (int i = 0; i < int(state.range(0)); ++i)
        vl.append({i * 20.0, (i % 2) * 5.0, 0}, {(i + 1) * 20.0, ((i + 1) % 2) * 5.0, 0});
    for (auto _ : state) {
        CQorVertexArray copy = vl;
        qor_gdx_image_vl_measure(copy, {10.0, -4.0}, 1);
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Hatch2Ansi31)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Hatch2Dashed)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Hatch2FarFromOrigin)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternTest)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(BM_DashFit)->Arg(100000)->Unit(benchmark::kMillisecond);
