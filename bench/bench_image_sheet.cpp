// The formed-sheet and bar images of the bundled samples (res/objects/): a trapezoidal sheet of five
// periods, the sandwich panel (two sheets, a gasket and the core), and a bar element with its surfaces,
// pick points and two sub-elements. Each iteration draws into a fresh display list, as a dialog does when
// an option changes. Goal: under 5 ms each.
#include <benchmark/benchmark.h>

#include "qor/gdx/gdx.h"
#include "qor/image/bar_image.h"
#include "qor/image/fsheet_image.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/data/file_find.h"
#include "qor/objlib/object_file.h"

namespace {

/// A bundled file below res/.
CQorString resourcePath(const wchar_t* name) {
    CQorString path = QOR::resourceDir();
    path += L"/";
    path += name;
    return path;
}

QOR::CDtaFilePointer sample(const wchar_t* name) {
    QOR::CDtaFilePointer object;
    QOR::objOpen(resourcePath(name).c_str(), QOR::kDtaRead, object);
    return object;
}

void drawSheet(benchmark::State& state, const wchar_t* name) {
    QOR::CDtaFilePointer sheet = sample(name);
    for (auto _ : state) {
        CQorGDX gdx;
        if (!qor_gdx_image_fsheet(&gdx, &sheet, nullptr)) state.SkipWithError("the sample does not draw");
        benchmark::DoNotOptimize(gdx.lenGet());
    }
    state.SetItemsProcessed(state.iterations());
}

void fsheetTrapezoid(benchmark::State& state) {
    drawSheet(state, L"objects/fsheet_trapez.json");
}
BENCHMARK(fsheetTrapezoid)->Unit(benchmark::kMicrosecond);

void fsheetSandwich(benchmark::State& state) {
    drawSheet(state, L"objects/fsheet_sandwich.json");
}
BENCHMARK(fsheetSandwich)->Unit(benchmark::kMicrosecond);

void barSurface(benchmark::State& state) {
    QOR::CDtaFilePointer bar = sample(L"objects/bar_surface.json");
    QOR::CDtaFilePointer options = QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead,
                                                resourcePath(L"options/bar_surface.json").c_str(), nullptr);
    for (auto _ : state) {
        CQorGDX gdx;
        if (!qor_gdx_image_bar_surface(&gdx, &bar, &options)) state.SkipWithError("the sample does not draw");
        benchmark::DoNotOptimize(gdx.lenGet());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(barSurface)->Unit(benchmark::kMicrosecond);

} // namespace
