// Raster drawing of the platform layer side by side with Cairo (image surface, antialiasing off), on the
// same seeded shapes: one-pixel lines and filled 20-vertex polygons on a 1920 x 1080 surface. After the
// runs the program prints our time divided by Cairo's for each workload (goal: at most 1.0), from CPU
// time, which a busy machine disturbs less than wall time.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_random.h"
#include "qor/platform/raster/raster_dc.h"
#include "ratio_reporter.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPolygonVertices = 20;
// Polygons are random stars within a box of this side around a random centre: large enough to fill
// many rows, small enough that 10 000 of them measure rasterisation rather than memory bandwidth.
constexpr int kPolygonBox = 200;

std::vector<POINT> randomLines(int count) {
    BenchRandom rnd(0x5EED1);
    std::vector<POINT> pts(std::size_t(count) * 2);
    for (POINT& p : pts)
        p = {rnd.below(kWidth), rnd.below(kHeight)};
    return pts;
}

std::vector<POINT> randomPolygons(int count) {
    BenchRandom rnd(0x5EED2);
    std::vector<POINT> pts;
    pts.reserve(std::size_t(count) * kPolygonVertices);
    for (int i = 0; i < count; ++i) {
        const int cx = rnd.below(kWidth), cy = rnd.below(kHeight);
        for (int v = 0; v < kPolygonVertices; ++v)
            pts.push_back({cx + rnd.below(kPolygonBox) - kPolygonBox / 2,
                           cy + rnd.below(kPolygonBox) - kPolygonBox / 2});
    }
    return pts;
}

struct QorTarget {
    CRasterDC dc;
    CBitmap bitmap;
    CPen pen{PS_SOLID, 1, RGB(20, 40, 200)};
    CBrush brush{RGB(200, 40, 20)};
    QorTarget() {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
        dc.SelectObject(&bitmap);
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
    }
};

struct CairoTarget {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    CairoTarget() {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_width(cr, 1.0);
    }
    ~CairoTarget() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

void BM_Lines_Qor(benchmark::State& state) {
    const std::vector<POINT> pts = randomLines(int(state.range(0)));
    QorTarget t;
    for (auto _ : state) {
        for (std::size_t i = 0; i < pts.size(); i += 2) {
            t.dc.MoveTo(pts[i]);
            t.dc.LineTo(pts[i + 1]);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Lines_Cairo(benchmark::State& state) {
    const std::vector<POINT> pts = randomLines(int(state.range(0)));
    CairoTarget t;
    cairo_set_source_rgb(t.cr, 200 / 255.0, 40 / 255.0, 20 / 255.0);
    for (auto _ : state) {
        // Pixel centres sit at .5 in Cairo's coordinates.
        for (std::size_t i = 0; i < pts.size(); i += 2) {
            cairo_move_to(t.cr, pts[i].x + 0.5, pts[i].y + 0.5);
            cairo_line_to(t.cr, pts[i + 1].x + 0.5, pts[i + 1].y + 0.5);
            cairo_stroke(t.cr);
        }
        cairo_surface_flush(t.surface);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Polygons_Qor(benchmark::State& state) {
    const std::vector<POINT> pts = randomPolygons(int(state.range(0)));
    QorTarget t;
    t.dc.SelectStockObject(NULL_PEN);
    t.dc.SetPolyFillMode(ALTERNATE);
    for (auto _ : state) {
        for (std::size_t i = 0; i < pts.size(); i += kPolygonVertices)
            t.dc.Polygon(&pts[i], kPolygonVertices);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Polygons_Cairo(benchmark::State& state) {
    const std::vector<POINT> pts = randomPolygons(int(state.range(0)));
    CairoTarget t;
    cairo_set_source_rgb(t.cr, 200 / 255.0, 40 / 255.0, 20 / 255.0);
    cairo_set_fill_rule(t.cr, CAIRO_FILL_RULE_EVEN_ODD);
    for (auto _ : state) {
        for (std::size_t i = 0; i < pts.size(); i += kPolygonVertices) {
            cairo_move_to(t.cr, pts[i].x, pts[i].y);
            for (int v = 1; v < kPolygonVertices; ++v)
                cairo_line_to(t.cr, pts[i + std::size_t(v)].x, pts[i + std::size_t(v)].y);
            cairo_close_path(t.cr);
            cairo_fill(t.cr);
        }
        cairo_surface_flush(t.surface);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_Lines_Qor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lines_Cairo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Polygons_Qor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Polygons_Cairo)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    std::printf("\nQor time / Cairo time (goal <= 1.0)\n");
    for (const auto& [name, time] : reporter.times) {
        const std::size_t at = name.find("_Qor/");
        if (at == std::string::npos) continue;
        const std::string peer = name.substr(0, at) + "_Cairo/" + name.substr(at + 5);
        const auto it = reporter.times.find(peer);
        if (it != reporter.times.end() && it->second > 0)
            std::printf("  %-28s %.3f\n", name.c_str(), time / it->second);
    }
    return 0;
}
