// Frames of both targets: the bundled demo drawing as it is, and tiled into a grid until the list holds
// about 100 000 items, each drawn for 1920 x 1080 device units. A window frame includes making the
// bitmap, the back colour fill and every item (the large one on every hardware thread, up to four, so its
// time is wall-clock time); a metafile frame includes fitting the view and recording every item (no file
// written).
//
// Then the device-space lines and polygons the window frame of the 100 000-item drawing sends to its
// device context, replayed alone onto a raster DC and onto Cairo (image surface, antialiasing off):
// after the runs the program prints our time divided by Cairo's (goal: at most 1.0), from CPU time.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <vector>

#include "../tests/render/tiled_demo.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"
#include "ratio_reporter.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

/// The demo as a list of at least minItems items, fitted to the surface and sorted once, as a window that
/// has painted before holds it; false when the demo is missing.
bool scene(CQorGDX& gdx, int minItems) {
    if (!tiledDemo(gdx, minItems, kWidth, kHeight)) return false;
    gdx.displListSort();
    return true;
}

void windowFrame(benchmark::State& state, int minItems) {
    CQorGDX gdx;
    if (!scene(gdx, minItems)) {
        state.SkipWithError("demo drawing not found");
        return;
    }
    CBitmap bitmap;
    for (auto _ : state)
        benchmark::DoNotOptimize(QOR::paintToBitmap(&gdx, bitmap, kWidth, kHeight));
    state.counters["items"] = gdx.lenGet();
}

void metafileFrame(benchmark::State& state, int minItems) {
    CQorGDX gdx;
    if (!scene(gdx, minItems)) {
        state.SkipWithError("demo drawing not found");
        return;
    }
    for (auto _ : state) {
        HENHMETAFILE metafile = QOR::paintToMetafile(&gdx, nullptr, kWidth, kHeight);
        benchmark::DoNotOptimize(metafile);
        DeleteEnhMetaFile(metafile);
    }
    state.counters["items"] = gdx.lenGet();
}

void BM_WindowFrame_Demo(benchmark::State& state) {
    windowFrame(state, 0);
}
void BM_WindowFrame_100k(benchmark::State& state) {
    windowFrame(state, 100000);
}
void BM_MetafileFrame_Demo(benchmark::State& state) {
    metafileFrame(state, 0);
}
void BM_MetafileFrame_100k(benchmark::State& state) {
    metafileFrame(state, 100000);
}

// A large window frame is drawn by several threads: its time is wall-clock time. Frames are timed after
// half a second of frames, as a window repaints: the first frames also pay for fresh memory, which costs
// a page fault per 4 KB on some virtual machines.
constexpr double kWarmUpSeconds = 0.5;
BENCHMARK(BM_WindowFrame_Demo)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(kWarmUpSeconds);
BENCHMARK(BM_WindowFrame_100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(kWarmUpSeconds);
BENCHMARK(BM_MetafileFrame_Demo)->Unit(benchmark::kMillisecond)->MinWarmUpTime(kWarmUpSeconds);
BENCHMARK(BM_MetafileFrame_100k)->Unit(benchmark::kMillisecond)->MinWarmUpTime(kWarmUpSeconds);

/// One device-space primitive of a frame: a pen line (two points) or a brushed polygon.
struct Primitive {
    bool polygon;
    COLORREF color;
    int width; // pen width; lines only
    std::vector<POINT> points;
};

/// A device context that draws nothing and keeps the lines and polygons it is asked to draw, with the pen
/// or brush colour they would get. Clip regions are left out: both replays draw without them.
class PrimitiveRecorder : public CDC {
public:
    PrimitiveRecorder() { setCreated(true); }
    std::vector<Primitive> primitives;

protected:
    Status selectPen(const LOGPEN&, int) override { return Status::Ok; }
    Status selectBrush(const LOGBRUSH&, int) override { return Status::Ok; }
    Status selectClip(const QOR::Region*) override { return Status::Ok; }
    Status setAttributes(const QOR::detail::DcAttributes&) override { return Status::Ok; }
    Status selectBitmap(const QOR::detail::Surface*) override { return Status::Ok; }
    Status strokeSegment(POINT from, POINT to) override {
        primitives.push_back({false, pen().lopnColor, int(pen().lopnWidth.x), {from, to}});
        return Status::Ok;
    }
    Status polyline(std::span<const POINT> points) override {
        for (std::size_t i = 1; i < points.size(); ++i)
            strokeSegment(points[i - 1], points[i]);
        return Status::Ok;
    }
    Status polyPolygon(std::span<const POINT> points, std::span<const int> counts) override {
        std::size_t first = 0;
        for (const int count : counts) {
            const auto poly = points.subspan(first, std::size_t(count));
            if (brush().lbStyle != BS_NULL)
                primitives.push_back(
                    {true, brush().lbColor, 0, std::vector<POINT>(poly.begin(), poly.end())});
            if (pen().lopnStyle != PS_NULL)
                for (std::size_t i = 0; i < poly.size(); ++i)
                    strokeSegment(poly[i], poly[(i + 1) % poly.size()]);
            first += std::size_t(count);
        }
        return Status::Ok;
    }
    Status ellipse(const RECT&) override { return Status::Ok; }
    Status rectangle(const RECT&) override { return Status::Ok; }
    Status fillSolidRect(const RECT&, COLORREF) override { return Status::Ok; }
    Status setPixel(POINT, COLORREF c, COLORREF& actual) override {
        actual = c;
        return Status::Ok;
    }
    Status getPixel(POINT, COLORREF&) const override { return Status::Unsupported; }
    Status bitBlt(const RECT&, const QOR::detail::BlitSource*, POINT, DWORD) override { return Status::Ok; }
};

/// The primitives of one window frame of the 100 000-item drawing (recorded once).
const std::vector<Primitive>& framePrimitives() {
    static const std::vector<Primitive> primitives = [] {
        CQorGDX gdx;
        PrimitiveRecorder recorder;
        if (scene(gdx, 100000)) QOR::renderItems(gdx, recorder, kWidth, kHeight, QOR::RenderTarget::Window);
        return std::move(recorder.primitives);
    }();
    return primitives;
}

void BM_FramePrimitives_Qor(benchmark::State& state) {
    const std::vector<Primitive>& primitives = framePrimitives();
    CRasterDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    dc.SelectObject(&bitmap);
    dc.SetPolyFillMode(ALTERNATE);
    for (auto _ : state) {
        for (const Primitive& p : primitives) {
            if (p.polygon) {
                CBrush brush(p.color);
                dc.SelectObject(&brush);
                dc.SelectStockObject(NULL_PEN);
                dc.Polygon(p.points.data(), int(p.points.size()));
                dc.SelectStockObject(WHITE_BRUSH);
            } else {
                CPen pen(PS_SOLID, p.width, p.color);
                dc.SelectObject(&pen);
                dc.MoveTo(p.points[0]);
                dc.LineTo(p.points[1]);
                dc.SelectStockObject(BLACK_PEN);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(primitives.size()));
}

void BM_FramePrimitives_Cairo(benchmark::State& state) {
    const std::vector<Primitive>& primitives = framePrimitives();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (auto _ : state) {
        for (const Primitive& p : primitives) {
            cairo_set_source_rgb(cr, GetRValue(p.color) / 255.0, GetGValue(p.color) / 255.0,
                                 GetBValue(p.color) / 255.0);
            if (p.polygon) {
                cairo_move_to(cr, p.points[0].x, p.points[0].y);
                for (std::size_t i = 1; i < p.points.size(); ++i)
                    cairo_line_to(cr, p.points[i].x, p.points[i].y);
                cairo_close_path(cr);
                cairo_fill(cr);
            } else {
                // Pixel centres sit at .5 in Cairo's coordinates.
                cairo_set_line_width(cr, std::max(p.width, 1));
                cairo_move_to(cr, p.points[0].x + 0.5, p.points[0].y + 0.5);
                cairo_line_to(cr, p.points[1].x + 0.5, p.points[1].y + 0.5);
                cairo_stroke(cr);
            }
        }
        cairo_surface_flush(surface);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    state.SetItemsProcessed(state.iterations() * std::int64_t(primitives.size()));
}

BENCHMARK(BM_FramePrimitives_Qor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePrimitives_Cairo)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    const auto qor = reporter.times.find("BM_FramePrimitives_Qor");
    const auto cairo = reporter.times.find("BM_FramePrimitives_Cairo");
    if (qor != reporter.times.end() && cairo != reporter.times.end() && cairo->second > 0) {
        std::printf("\n%zu lines and polygons of the 100 000-item window frame\n", framePrimitives().size());
        std::printf("Qor time / Cairo time (goal <= 1.0): %.3f\n", qor->second / cairo->second);
    }
    return 0;
}
