// Slides: decoding the records alone, and parsing plus painting into a 1920 x 1080 bitmap, for slides of
// 1 MB and 5 MB built from a seeded mix of records (mostly short common-endpoint chains, as AutoCAD
// writes curves, with vectors of up to 100 dots, offset vectors, small fills and colour changes) on a
// 4000 x 3000 dot grid. Bytes per second is the
// figure to read; the two sizes show whether the cost stays linear.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_random.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/slide/slide.h"
#include "qor/slide/slide_reader_p.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSlideWidth = 4000;
constexpr int kSlideHeight = 3000;

/// A level-2 little-endian slide of about `bytes` bytes.
std::vector<unsigned char> makeSlide(std::size_t bytes) {
    std::vector<unsigned char> out = {'A', 'u', 't', 'o', 'C',  'A',  'D',  ' ', 'S',
                                      'l', 'i', 'd', 'e', '\r', '\n', 0x1A, 0};
    auto word = [&](int v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    out.push_back(0x56);
    out.push_back(2);
    word(kSlideWidth);
    word(kSlideHeight);
    word(0), word(0), word(0);
    out.push_back(0x34), out.push_back(0x12);
    BenchRandom rnd(7);
    int x = 0, y = 0;
    while (out.size() < bytes) {
        const int kind = rnd.below(100);
        if (kind < 60) { // a step of a chain, staying inside the slide
            const int dx = rnd.below(21) - 10, dy = rnd.below(21) - 10;
            if (x + dx < 0 || x + dx >= kSlideWidth || y + dy < 0 || y + dy >= kSlideHeight) continue;
            word(0xFE00 | (dx & 0xFF));
            out.push_back(std::uint8_t(dy));
            x += dx, y += dy;
        } else if (kind < 85) { // a vector of up to 100 dots that starts a new chain
            x = 100 + rnd.below(kSlideWidth - 200), y = 100 + rnd.below(kSlideHeight - 200);
            word(x), word(y), word(x + rnd.below(201) - 100), word(y + rnd.below(201) - 100);
        } else if (kind < 93) {
            word(0xFB00 | (rnd.below(9) & 0xFF));
            out.push_back(std::uint8_t(rnd.below(9)));
            out.push_back(std::uint8_t(rnd.below(9)));
            out.push_back(std::uint8_t(rnd.below(9)));
        } else if (kind < 98) { // a small fill
            const int cx = rnd.below(kSlideWidth - 40), cy = rnd.below(kSlideHeight - 40);
            word(0xFD00), word(4), word(-1);
            const int corners[4][2] = {{0, 0}, {30, 0}, {30, 30}, {0, 30}};
            for (const auto& c : corners)
                word(0xFD00), word(cx + c[0]), word(cy + c[1]);
            word(0xFD00), word(0), word(-1);
        } else {
            word(0xFF00 | (1 + rnd.below(254)));
        }
    }
    word(0xFC00);
    return out;
}

void BM_SlideDecode(benchmark::State& state) {
    const std::vector<unsigned char> slide = makeSlide(std::size_t(state.range(0)) << 20);
    for (auto _ : state) {
        QOR::detail::SlideHeader header;
        QOR::detail::readSlideHeader(slide, header);
        QOR::detail::SlideRecordReader reader(slide, header);
        QOR::detail::SlideRecord record;
        std::int64_t sum = 0;
        while (reader.next(record))
            sum += record.to.x;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(slide.size()));
}
BENCHMARK(BM_SlideDecode)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_SlidePaint(benchmark::State& state) {
    const std::vector<unsigned char> bytes = makeSlide(std::size_t(state.range(0)) << 20);
    QOR::CSlide slide;
    slide.show(bytes.data(), int(bytes.size()));
    CRasterDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr)) {
        state.SkipWithError("no bitmap");
        return;
    }
    dc.SelectObject(&bitmap);
    for (auto _ : state)
        slide.paint(&dc, CRect(0, 0, kWidth, kHeight));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}
BENCHMARK(BM_SlidePaint)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);

} // namespace
