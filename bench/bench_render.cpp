// Frames of the window target: the bundled demo drawing as it is, and tiled into a grid until the list
// holds about 100 000 items, each drawn into a 1920 x 1080 bitmap (the back colour fill, every item and
// the copy to the window's bitmap included).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "gdx/gdx_json.h"
#include "kernel/file_find.h"
#include "render/render.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

bool loadDemo(CQorGDX& gdx) {
    const std::filesystem::path demo =
        std::filesystem::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    return QOR::gdxReadJsonFile(gdx, demo);
}

/// The demo repeated side by side (each copy moved by its item matrices) until it has minItems items.
void tile(CQorGDX& gdx, int minItems) {
    CQorPoint3d min, max;
    gdx.extmaxGet(min, max);
    const double dx = (max.x - min.x) * 1.1, dy = (max.y - min.y) * 1.1;
    const CQorArrayTempl<CQorDisplayItem> one = gdx.getDisplayList();
    int columns = 1;
    while (columns * columns * one.len() < minItems)
        ++columns;
    for (int n = 1; n < columns * columns; ++n) {
        CQorMatrix3d shift;
        shift.setToTranslation(CQorVector3d(dx * (n % columns), dy * (n / columns), 0.0));
        CQorArrayTempl<CQorDisplayItem> copy = one;
        for (int i = 0; i < copy.len(); ++i)
            copy[i].m_mtx = shift * copy[i].m_mtx;
        gdx.addDisplayList(copy);
    }
}

void fit(CQorGDX& gdx) {
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet())); // extents from every item
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, kHeight, kWidth, 0.05));
}

void frame(benchmark::State& state, int minItems) {
    CQorGDX gdx;
    if (!loadDemo(gdx)) {
        state.SkipWithError("demo drawing not found");
        return;
    }
    tile(gdx, minItems);
    fit(gdx);
    gdx.displListSort(); // once, as a window that has painted before
    CBitmap bitmap;
    for (auto _ : state)
        benchmark::DoNotOptimize(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));
    state.counters["items"] = gdx.lenGet();
}

void BM_WindowFrame_Demo(benchmark::State& state) {
    frame(state, 0);
}
void BM_WindowFrame_100k(benchmark::State& state) {
    frame(state, 100000);
}

BENCHMARK(BM_WindowFrame_Demo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowFrame_100k)->Unit(benchmark::kMillisecond);

} // namespace
