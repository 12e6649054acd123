// A view window's repaint: the bundled demo tiled to about 100 000 items, repainted by one persistent
// CViewPainter into the window's own 1920 x 1080 pixels after a pan and after a zoom step, as a window
// does while the user drags or turns the wheel. Besides time per frame it reports the heap allocations
// per frame (allocs_per_frame), counted by this program's operator new. Goal: 33 ms, stretch 16 ms.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "../tests/render/tiled_demo.h"
#include "qor/render/view_painter.h"

namespace {

std::atomic<long> g_allocations{0};

constexpr int kWidth = 1920, kHeight = 1080;

/// One frame per iteration, each after moving (pan) or scaling (zoom) the view a little.
void repaint(benchmark::State& state, bool zoom) {
    CQorGDX gdx;
    if (!tiledDemo(gdx, int(state.range(0)), kWidth, kHeight)) {
        state.SkipWithError("the demo cannot be read");
        return;
    }
    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight);
    QOR::CViewPainter painter;
    painter.paint(&gdx, pixels.data(), kWidth, kHeight, kWidth * 4); // the first paint makes what is kept
    CQorMatrix3d step;
    long frames = 0, allocations = 0;
    for (auto _ : state) {
        if (zoom)
            step.setToScaling(frames % 2 ? 1.0 / 1.2 : 1.2, CQorPoint3d(kWidth / 2.0, kHeight / 2.0, 0));
        else
            step.setToTranslation(CQorVector3d(frames % 2 ? -7.0 : 7.0, 3.0 * (frames % 2 ? -1 : 1), 0));
        gdx.zoomMtxSet(step * CQorMatrix3d(gdx.zoomMtxGet()));
        const long before = g_allocations.load();
        if (!painter.paint(&gdx, pixels.data(), kWidth, kHeight, kWidth * 4))
            state.SkipWithError("paint failed");
        allocations += g_allocations.load() - before;
        ++frames;
    }
    state.counters["items"] = double(gdx.lenGet());
    state.counters["allocs_per_frame"] = frames ? double(allocations) / double(frames) : 0.0;
}

void BM_RepaintAfterPan(benchmark::State& state) {
    repaint(state, false);
}
void BM_RepaintAfterZoom(benchmark::State& state) {
    repaint(state, true);
}

} // namespace

// CPU time is the whole process's (every drawing thread): on a machine busy with other work it shows what a
// frame costs when real time cannot.
BENCHMARK(BM_RepaintAfterPan)
    ->Arg(0)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_RepaintAfterZoom)
    ->Arg(0)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The counting replacements of the global allocation functions: malloc and free underneath. GCC sees
// both halves in one file and takes free() after operator new for a mismatch, which it is not here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
