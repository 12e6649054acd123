// The data tree: lookups in large directories (hash index) and the JSON form.
#include <benchmark/benchmark.h>

#include <string>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"

namespace {

CQorDataItem flatTree(int count) {
    CQorDataItem root;
    CQorDataDir* dir = root.mkDir();
    for (int i = 0; i < count; ++i) {
        CQorString name;
        name.format(L"ITEM%d", i);
        dir->makeItem(name.c_str())->set(double(i) * 0.1);
    }
    return root;
}

void lookupInLargeDirectory(benchmark::State& state) {
    const int n = int(state.range(0));
    const CQorDataItem root = flatTree(n);
    CQorString name;
    int i = 0;
    for (auto _ : state) {
        name.format(L"ITEM%d", i);
        double v = 0;
        benchmark::DoNotOptimize(root.get(v, name.c_str()));
        i = (i + 7919) % n;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(lookupInLargeDirectory)->Arg(1000)->Arg(100000);

void buildLargeDirectory(benchmark::State& state) {
    const int n = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(flatTree(n));
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(buildLargeDirectory)->Arg(1000)->Arg(100000);

void jsonRoundTrip(benchmark::State& state) {
    const int n = int(state.range(0));
    const CQorDataItem root = flatTree(n);
    std::string text;
    for (auto _ : state) {
        QOR::dataToJson(root, text, -1);
        CQorDataItem back;
        benchmark::DoNotOptimize(QOR::dataFromJson(back, text));
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(jsonRoundTrip)->Arg(1000)->Arg(100000);

} // namespace
