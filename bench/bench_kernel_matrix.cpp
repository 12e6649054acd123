// Matrix products and point transforms: the inner loop of every display-list paint (a chain of four or
// five matrices per item, then every vertex through the product).
#include <benchmark/benchmark.h>

#include "qor/kernel/geom/matrix3d.h"

#include <vector>

namespace {
CQorMatrix3d sampleMatrix(double seed) {
    CQorMatrix3d r;
    r.setToRotation(0.3 + seed, {1, 2, 3}, {seed, 1, 2});
    CQorMatrix3d s;
    s.setToScaling(1.5, {0, seed, 0});
    return r * s;
}

void matrixProduct(benchmark::State& state) {
    std::vector<CQorMatrix3d> ms;
    for (int i = 0; i < 64; ++i)
        ms.push_back(sampleMatrix(i * 0.01));
    CQorMatrix3d acc;
    std::size_t i = 0;
    for (auto _ : state) {
        acc = ms[i & 63] * ms[(i + 1) & 63];
        benchmark::DoNotOptimize(acc);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(matrixProduct);

void matrixInverse(benchmark::State& state) {
    const CQorMatrix3d m = sampleMatrix(0.5);
    for (auto _ : state) {
        CQorMatrix3d inv = m.inverse();
        benchmark::DoNotOptimize(inv);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(matrixInverse);

void pointTransform(benchmark::State& state) {
    const CQorMatrix3d m = sampleMatrix(0.25);
    std::vector<CQorPoint3d> pts(std::size_t(state.range(0)));
    for (std::size_t i = 0; i < pts.size(); ++i)
        pts[i] = {double(i), double(i % 7), 1.0};
    std::vector<CQorPoint3d> out(pts.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < pts.size(); ++i)
            out[i] = m * pts[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(pointTransform)->Arg(1000)->Arg(100000);
} // namespace
