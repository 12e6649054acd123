// Large window frames drawn in two parts at once. Every item paints its pixels opaquely, whatever was
// there before, so the second part can be drawn into a layer of its own and laid over the first part
// afterwards: a pixel of the layer that the second part painted wins, as if it had been drawn later in
// the same pass.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>

#include "platform/raster/raster_dc.h"
#include "render/render_p.h"

namespace QOR::render {

namespace {

/// Below this estimated cost (some 10 ms of drawing) a second thread and a layer cost more than they save.
constexpr std::int64_t kMinCost = 125'000;
/// Largest layer, in pixels (64 MB).
constexpr std::int64_t kMaxLayerPixels = std::int64_t(1) << 24;
/// A layer pixel no drawing writes: painted pixels are 0x00RRGGBB.
constexpr std::uint32_t kUnpainted = 0xFF000000;

/// Rough cost of drawing an item, in units of about 80 ns (what an item takes before any geometry),
/// weighed from frames of typical drawings: a polyline vertex is often an arc of many chords, a glyph is
/// filled and traced, a region loop is filled, hatched and outlined.
std::int64_t itemCost(const CQorDisplayItem& item) {
    std::int64_t cost = 1 + 4 * std::int64_t(item.m_vl.len()) + 5 * std::int64_t(item.m_strokes.len());
    if (item.m_type == QorDisplayPt) cost += 4;
    for (const CQorVertexArray& loop : item.m_regions)
        cost += 14 * std::int64_t(loop.len());
    return cost;
}

/// Pixels of the layer per unit of cost: the second part also makes, fills and lays over the layer.
constexpr std::int64_t kLayerPixelsPerUnit = 25;
/// Every kSampleStep-th item stands for its neighbours in the cost estimate: reading every item of a
/// large list would take milliseconds of the frame.
constexpr int kSampleStep = 8;

/// The first item of the second part: about half the estimated cost on either side, the layer of
/// layerPixels counted with the second, and no picture in the first part, as pictures are loaded on the
/// host's thread (they come last in draw order). 0 when the list is too small to split.
int splitPoint(const CQorGDX& gdx, std::int64_t layerPixels) {
    const CQorArrayTempl<CQorDisplayItem>& items = gdx.getDisplayList();
    const int n = items.len();
    std::int64_t total = 0;
    for (int i = 0; i < n; i += kSampleStep)
        total += itemCost(items[i]);
    if (total * kSampleStep < kMinCost) return 0;
    std::int64_t sum = 0;
    int split = 0;
    const std::int64_t half = (total + layerPixels / kLayerPixelsPerUnit / kSampleStep) / 2;
    for (; split < n && sum < half; split += kSampleStep)
        sum += itemCost(items[split]);
    split = std::min(split, n);
    while (split > 0 && items[split - 1].m_type == QorDisplayPicture)
        --split;
    return split;
}

/// Looks up, on the host's thread, every hatch pattern the items first to last - 1 use.
void lookUpPatterns(const Frame& frame, int first, int last) {
    for (int i = first; i < last; ++i) {
        const CQorDisplayItem& item = frame.item(i);
        if (item.m_type == QorDisplayReg && (item.m_flags & GdxItemHatch))
            frame.scratch.pattern(item.m_hatch.m_name);
    }
}

/// The frame drawn into dc instead, clipped to clip, with scratch for its buffers and look-ups.
Frame redirected(const Frame& frame, CDC& dc, const CRgn* clip, Scratch& scratch) {
    return Frame{dc,          frame.gdx,   frame.target,    frame.width,      frame.height,     frame.back,
                 frame.scene, frame.fixed, frame.dotLength, frame.minSegment, frame.patternDot, clip,
                 scratch};
}

/// Copies every pixel the layer's drawing painted onto bitmap.
void layOver(const CBitmap& layer, CBitmap& bitmap, int width, int height) {
    const detail::Surface& from = *layer.surface();
    detail::Surface& to = *bitmap.surface();
    height = std::min({height, from.height, to.height});
    width = std::min({width, from.width, to.width});
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = from.row32(y);
        std::uint32_t* target = to.row32(y);
        for (int x = 0; x < width; ++x)
            if (source[x] != kUnpainted) target[x] = source[x];
    }
}

} // namespace

bool drawInParts(const Frame& frame, CBitmap& bitmap) {
    if (std::thread::hardware_concurrency() < 2 || !bitmap.surface() || bitmap.surface()->bitsPerPixel != 32)
        return false;
    const std::int64_t layerPixels = std::int64_t(frame.width) * frame.height;
    if (layerPixels > kMaxLayerPixels) return false;
    const int split = splitPoint(frame.gdx, layerPixels);
    if (split <= 0 || split >= frame.gdx.lenGet()) return false;

    CBitmap layer;
    CRasterDC layerDC;
    if (!layer.CreateBitmap(frame.width, frame.height, 1, 32, nullptr) ||
        !layerDC.CreateCompatibleDC(nullptr))
        return false;
    std::fill(layer.surface()->words.begin(), layer.surface()->words.end(), kUnpainted);
    CBitmap* oldLayer = layerDC.SelectObject(&layer);
    CRgn client;
    client.CreateRectRgn(0, 0, frame.width, frame.height);
    layerDC.SelectClipRgn(&client);
    layerDC.SelectStockObject(NULL_PEN);

    // The first part draws on the second thread into the caller's DC, with look-ups made here beforehand.
    Scratch firstScratch;
    const Frame first = redirected(frame, frame.dc, frame.clientClip, firstScratch);
    lookUpPatterns(first, 0, split);
    firstScratch.seal();
    const Frame second = redirected(frame, layerDC, &client, frame.scratch);
    // What either part throws (memory running out) leaves here once both are done, as from one pass.
    std::exception_ptr firstFailed, secondFailed;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                drawItems(first, 0, split);
            } catch (...) {
                firstFailed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        layerDC.SelectObject(oldLayer);
        return false;
    }
    try {
        drawItems(second, split, frame.gdx.lenGet());
    } catch (...) {
        secondFailed = std::current_exception();
    }
    worker.join();
    layerDC.SelectObject(oldLayer);
    if (firstFailed) std::rethrow_exception(firstFailed);
    if (secondFailed) std::rethrow_exception(secondFailed);
    layOver(layer, bitmap, frame.width, frame.height);
    return true;
}

} // namespace QOR::render
