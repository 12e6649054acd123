// Display lists of 100 000 and 1 000 000 mixed items: polylines of 8 vertices, regions with one hole and
// points, in rotation, with a mix of colour modes so that the draw-order sort has work to do. Every
// operation should be linear in the item count.
#include <benchmark/benchmark.h>

#include "qor/gdx/gdx.h"

namespace {

/// Exposes refresh_ext.
class BenchGdx : public CQorGDX {
public:
    BenchGdx() : CQorGDX(CQorColor(0), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{}) {}
    using CQorGDX::refresh_ext;
};

CQorVertexArray ring(double x, double y, double r, int n) {
    CQorPoint3dArray pts;
    for (int i = 0; i < n; ++i) {
        const double a = 6.283185307179586 * i / n;
        pts.append({x + r * std::cos(a), y + r * std::sin(a), 0.0});
    }
    CQorVertexArray vl;
    vl.fromPoints(pts, true);
    return vl;
}

/// Item i has path [i % 100, i]: a one-id path selects 1 % of the items.
void fill(CQorGDX& gdx, int count) {
    const CQorVertexArray line = ring(0, 0, 10, 8);
    const CQorArrayTempl<CQorVertexArray> region{ring(0, 0, 20, 8), ring(0, 0, 5, 4)};
    const CQorColor color(3);
    const CQorArrayTempl<double> solid;
    CQorMatrix3d mtx;
    for (int i = 0; i < count; ++i) {
        const CQorArrayTempl<int> path{i % 100, i};
        const DWORD mode = DWORD((i / 3) % 7 == 0 ? 1 : (i / 3) % 11 == 0 ? 2 : 0) << 8;
        // Objects of 30 items share one placement, as generated objects do.
        if (i % 30 == 0) mtx.setToTranslation({double(i % 1000), double(i / 1000), 0.0});
        switch (i % 3) {
        case 0:
            gdx.imageVl(path, mode, line, color, mtx, solid, 1.0, 0, CQorPoint3d{});
            break;
        case 1:
            gdx.imageReg(path, mode | QOR::GdxItemFill, region, color, mtx, solid, 1.0, 0, color,
                         QOR::CHatchProp(), CQorPoint3d{});
            break;
        default:
            gdx.imagePt(path, mode, {1, 2, 0}, color, mtx, 0.0, QOR::kGdxPdModeDefault, CQorPoint3d{});
            break;
        }
    }
}

const BenchGdx& sample(int count) {
    static BenchGdx small, large;
    BenchGdx& gdx = count <= 100000 ? small : large;
    if (gdx.lenGet() != count) {
        gdx.clear();
        fill(gdx, count);
    }
    return gdx;
}

void finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_Build(benchmark::State& state) {
    for (auto _ : state) {
        BenchGdx gdx;
        fill(gdx, int(state.range(0)));
        benchmark::DoNotOptimize(gdx);
    }
    finish(state);
}

void BM_Copy(benchmark::State& state) {
    const BenchGdx& base = sample(int(state.range(0)));
    for (auto _ : state) {
        CQorGDX copy(base);
        benchmark::DoNotOptimize(copy);
    }
    finish(state);
}

void BM_SortUnsorted(benchmark::State& state) {
    const BenchGdx& base = sample(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        CQorGDX gdx(base);
        state.ResumeTiming();
        gdx.displListSort();
        benchmark::DoNotOptimize(gdx);
        state.PauseTiming();
        { CQorGDX gone(std::move(gdx)); } // destroyed outside the timing
        state.ResumeTiming();
    }
    finish(state);
}

void BM_SortSorted(benchmark::State& state) {
    CQorGDX gdx(sample(int(state.range(0))));
    gdx.displListSort();
    for (auto _ : state) {
        gdx.displListSort();
        benchmark::DoNotOptimize(gdx);
    }
    finish(state);
}

void BM_RefreshExt(benchmark::State& state) {
    BenchGdx gdx(sample(int(state.range(0))));
    for (auto _ : state) {
        gdx.refresh_ext();
        benchmark::DoNotOptimize(gdx);
    }
    finish(state);
}

void BM_ImageItemGet(benchmark::State& state) {
    CQorGDX gdx(sample(int(state.range(0))));
    for (auto _ : state) // far from every item: the whole list is walked
        benchmark::DoNotOptimize(gdx.imageItemGet({-1e6, -1e6, 0}));
    finish(state);
}

void BM_PropSet(benchmark::State& state) {
    CQorGDX gdx(sample(int(state.range(0))));
    const CQorArrayTempl<int> path{42};
    DWORD op = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gdx.propSet(path, op));
        op = 3 - op; // hide, show, hide ...
    }
    finish(state);
}

void BM_CModeSet(benchmark::State& state) {
    CQorGDX gdx(sample(int(state.range(0))));
    const CQorArrayTempl<int> path{42};
    int mode = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gdx.cModeSet(path, QOR::GdxColorMode(mode)));
        mode = 3 - mode;
    }
    finish(state);
}

/// sizeof(CQorDisplayItem) and the heap bytes one polyline item of 8 vertices owns (capacities).
void BM_ItemFootprint(benchmark::State& state) {
    const CQorDisplayItem& item = sample(100000).getDisplayList()[0];
    for (auto _ : state)
        benchmark::DoNotOptimize(item);
    state.counters["sizeof"] = double(sizeof(CQorDisplayItem));
    state.counters["heapBytes"] =
        double(item.m_stack.capacity() * sizeof(int) + item.m_linetype.capacity() * sizeof(double) +
               item.m_vl.capacity() * sizeof(CQorVertex));
    state.counters["heapBlocks"] =
        double(!item.m_stack.isEmpty() + !item.m_linetype.isEmpty() + !item.m_vl.isEmpty());
}

#define QOR_SIZES ->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)

BENCHMARK(BM_Build) QOR_SIZES;
BENCHMARK(BM_Copy) QOR_SIZES;
BENCHMARK(BM_SortUnsorted) QOR_SIZES;
BENCHMARK(BM_SortSorted) QOR_SIZES;
BENCHMARK(BM_RefreshExt) QOR_SIZES;
BENCHMARK(BM_ImageItemGet) QOR_SIZES;
BENCHMARK(BM_PropSet) QOR_SIZES;
BENCHMARK(BM_CModeSet) QOR_SIZES;
BENCHMARK(BM_ItemFootprint);

} // namespace
