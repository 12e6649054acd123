// Text items: laying out texts of 20 and 200 characters from the stroke font (characters per second; the
// two sizes show that the layout is linear), and a list of 1 000 short texts laid out again by txtSet.
#include <benchmark/benchmark.h>

#include <string>

#include "qor/gdx/gdx.h"
#include "qor/gdx/stroke_font.h"

namespace {

std::wstring sampleText(int length) {
    const std::wstring words = L"Flanschplatte FL-200 S235JR Maßstab 1:2 ±0,1 Größe ½ ";
    std::wstring s;
    while (int(s.size()) < length)
        s += words;
    s.resize(std::size_t(length));
    return s;
}

CQorGDX plainList() {
    return CQorGDX(CQorColor(0), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
}

void BM_ImageTxt(benchmark::State& state) {
    const std::wstring text = sampleText(int(state.range(0)));
    get_ascii_from_map(L'A'); // the font map is filled once per process, not per text
    for (auto _ : state) {
        CQorGDX gdx = plainList();
        gdx.imageTxt(CQorArrayTempl<int>{1}, 0, text.c_str(), CQorColor(7), CQorMatrix3d{}, L"CC",
                     CQorPoint3d{}, CQorPoint3d{});
        benchmark::DoNotOptimize(gdx.lenGet());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImageTxt)->Arg(20)->Arg(200);

void BM_TxtSetThousandItems(benchmark::State& state) {
    CQorGDX gdx = plainList();
    for (int i = 0; i < 1000; ++i)
        gdx.imageTxt(CQorArrayTempl<int>{i % 10, i}, 0, L"M12", CQorColor(7), CQorMatrix3d{}, L"BC",
                     CQorPoint3d(i, 0, 0), CQorPoint3d{});
    bool flip = false;
    for (auto _ : state) {
        gdx.txtSet(CQorArrayTempl<int>{}, flip ? L"M12x1,5" : L"4xM12");
        flip = !flip;
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_TxtSetThousandItems);

} // namespace
