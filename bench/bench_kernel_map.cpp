// CQorMapTempl insertion and lookup, with std::map doing the same work as a yardstick.
// Keys are ints, inserted in ascending or shuffled order; lookups come in shuffled order.
#include <benchmark/benchmark.h>

#include "qor/kernel/base/map_templ.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace {

enum Order { kAscending, kRandom };

std::vector<int> makeKeys(int count, Order order) {
    std::vector<int> keys(static_cast<std::size_t>(count));
    std::iota(keys.begin(), keys.end(), -count / 2);
    if (order == kRandom) std::shuffle(keys.begin(), keys.end(), std::mt19937(42));
    return keys;
}

template <class Map>
void insertAll(Map& map, const std::vector<int>& keys) {
    for (int key : keys)
        map[key] = key;
}

template <class Map>
void benchInsert(benchmark::State& state, Order order) {
    const std::vector<int> keys = makeKeys(int(state.range(0)), order);
    for (auto _ : state) {
        Map map;
        insertAll(map, keys);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

template <class Map>
void benchLookup(benchmark::State& state) {
    const std::vector<int> keys = makeKeys(int(state.range(0)), kRandom);
    Map map;
    insertAll(map, makeKeys(int(state.range(0)), kAscending));
    for (auto _ : state) {
        long long sum = 0;
        for (int key : keys)
            sum += map.find(key) != nullptr;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// std::map's find returns an iterator; this adapter lets one lookup loop serve both maps.
struct StdMap : std::map<int, int> {
    const int* find(int key) const {
        const auto it = std::map<int, int>::find(key);
        return it == end() ? nullptr : &it->second;
    }
};

using QorMap = CQorMapTempl<int, int>;

void BM_QorMapInsertAscending(benchmark::State& state) {
    benchInsert<QorMap>(state, kAscending);
}
void BM_QorMapInsertRandom(benchmark::State& state) {
    benchInsert<QorMap>(state, kRandom);
}
void BM_QorMapLookupRandom(benchmark::State& state) {
    benchLookup<QorMap>(state);
}
void BM_StdMapInsertAscending(benchmark::State& state) {
    benchInsert<StdMap>(state, kAscending);
}
void BM_StdMapInsertRandom(benchmark::State& state) {
    benchInsert<StdMap>(state, kRandom);
}
void BM_StdMapLookupRandom(benchmark::State& state) {
    benchLookup<StdMap>(state);
}

} // namespace

BENCHMARK(BM_QorMapInsertAscending)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QorMapInsertRandom)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QorMapLookupRandom)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdMapInsertAscending)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdMapInsertRandom)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdMapLookupRandom)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
