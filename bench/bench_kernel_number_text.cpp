// Length text: formatting in each format and parsing what was written, the work of every numeric edit
// field and combo list; CQorColor RGB lookups, the work of every item colour in a paint.
#include <benchmark/benchmark.h>

#include "qor/kernel/base/color.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/number_text.h"

#include <random>
#include <vector>

namespace {

std::vector<double> lengths(int count) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> value(-5000.0, 5000.0);
    std::vector<double> out(static_cast<std::size_t>(count));
    for (double& v : out)
        v = value(random);
    return out;
}

void formatLengths(benchmark::State& state) {
    const int format = int(state.range(0));
    const std::vector<double> values = lengths(1024);
    CQorString text;
    for (auto _ : state) {
        for (double v : values)
            benchmark::DoNotOptimize(qorRtoS(text, v, format, format >= 4 ? 4 : 3, 0));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(values.size()));
}
BENCHMARK(formatLengths)->DenseRange(1, 5);

void parseLengths(benchmark::State& state) {
    const int format = int(state.range(0));
    std::vector<CQorString> texts;
    for (double v : lengths(1024)) {
        CQorString text;
        qorRtoS(text, v, format, format >= 4 ? 4 : 3, 0);
        texts.push_back(text);
    }
    for (auto _ : state) {
        for (const CQorString& text : texts)
            benchmark::DoNotOptimize(qorAtoF(text));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(texts.size()));
}
BENCHMARK(parseLengths)->DenseRange(1, 5);

void colorRgb(benchmark::State& state) {
    std::vector<CQorColor> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[std::size_t(i)].setColorIndex(i);
    for (auto _ : state) {
        for (const CQorColor& c : colors)
            benchmark::DoNotOptimize(c.oleColor());
    }
    state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(colorRgb);

} // namespace
