// The persistent painter of a view window: the raster device context over the caller's pixels and the
// frame cache live from paint to paint.
#include "qor/render/view_painter.h"

#include <new>
#include <thread>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render_p.h"

namespace QOR {

struct CViewPainter::State {
    std::shared_ptr<detail::Surface> surface = std::make_shared<detail::Surface>();
    CBitmap bitmap;
    CRasterDC dc;
    render::FrameCache cache;
    const CQorGDX* list = nullptr; ///< the list the look-ups were made for
    unsigned generation = 0;       ///< cfgGeneration when they were made
};

namespace {

/// Every pixel in colour, the failure picture. Cannot fail.
void fillPixels(std::uint32_t* pixels, int width, int height, std::ptrdiff_t strideWords, COLORREF colour) {
    const std::uint32_t pixel = detail::pixelFromColor(colour);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + y * strideWords;
        for (int x = 0; x < width; ++x)
            row[x] = pixel;
    }
}

} // namespace

CViewPainter::CViewPainter() noexcept = default;
CViewPainter::~CViewPainter() = default;

void CViewPainter::forget() noexcept {
    if (!m_state) return;
    m_state->cache.lookups.clear();
    m_state->cache.kept.clear();
}

bool CViewPainter::paint(CQorGDX* gdx, std::uint32_t* pixels, int widthPx, int heightPx,
                         std::ptrdiff_t strideBytes) noexcept {
    constexpr int kMaxSide = detail::Surface::kMaxSide;
    if (!gdx || !pixels || widthPx < 1 || heightPx < 1 || widthPx > kMaxSide || heightPx > kMaxSide ||
        strideBytes % 4 != 0 || strideBytes / 4 < widthPx || strideBytes / 4 > kMaxSide)
        return false;
    const int strideWords = int(strideBytes / 4);
    const bool painted = detail::guardedAt("CViewPainter::paint", false, [&] {
        if (!m_state) {
            m_state.reset(new State);
            m_state->cache.keepsItems = true;
            if (!m_state->dc.CreateCompatibleDC(nullptr)) return false;
        }
        State& s = *m_state;
        const unsigned generation = cfgGeneration();
        if (s.list != gdx || s.generation != generation) {
            s.cache.lookups.clear();
            s.cache.kept.clear(); // another list's paths and glyphs only cost memory
            s.list = gdx;
            s.generation = generation;
        }
        if (s.surface->wrap(pixels, widthPx, heightPx, strideWords) != detail::Status::Ok) return false;
        if (!s.bitmap.surface() && !s.bitmap.adopt(s.surface)) return false;
        // Selected again each time: the device context binds the surface's size and pixels on selection.
        s.dc.SelectObject(&s.bitmap);
        if (s.dc.GetCurrentBitmap() != &s.bitmap) return false;
        // The last frame left its client clip selected, which may be smaller than this one.
        s.dc.SelectClipRgn(nullptr);
        return render::paintBitmap(*gdx, s.dc, widthPx, heightPx, std::thread::hardware_concurrency(),
                                   &s.cache);
    });
    if (!painted)
        fillPixels(pixels, widthPx, heightPx, strideWords, gdx->backColorGet().oleColor() & 0xFFFFFF);
    return painted;
}

} // namespace QOR
