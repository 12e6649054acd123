#pragma once

// Span sink: where scan conversion ends. It takes half-open spans [x0, x1) of one row, cuts them to the
// clip region and writes them into the surface. Everything per pixel happens in the small inline loops
// here; the clip kind, the colour and the pixel format are decided once per span, never per pixel.
//
// Conventions: device space as in win_types.h; spans given to a sink already lie inside its box (the clip
// box: the clip region's bounds cut to the surface), which the sink never re-checks.

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <utility>

#include "qor/platform/bitmap.h"
#include "qor/platform/region.h"

namespace QOR::detail {

/// Writes count copies of a 32-bit pixel. Long runs go to the C library's wide memset, which is tuned
/// for the machine, where wchar_t has 32 bits.
inline void fillPixels(std::uint32_t* p, int count, std::uint32_t pixel) {
    if constexpr (sizeof(wchar_t) == 4) {
        if (count >= 16) {
            std::wmemset(reinterpret_cast<wchar_t*>(p), wchar_t(pixel), std::size_t(count));
            return;
        }
    }
    for (int i = 0; i < count; ++i)
        p[i] = pixel;
}

class SpanSink {
public:
    /// Binds the sink to a surface and a clip region (null: the whole surface); both must outlive the use.
    /// Returns false when nothing can be drawn.
    bool bind(Surface* surface, const Region* clip) noexcept {
        m_surface = surface;
        m_clip = nullptr;
        m_band = 0;
        if (!surface) return false;
        m_box = RECT{0, 0, surface->width, surface->height};
        if (clip) {
            const RECT b = clip->bounds();
            m_box = RECT{std::max(b.left, 0), std::max(b.top, 0), std::min<int>(b.right, surface->width),
                         std::min<int>(b.bottom, surface->height)};
            // A clip that is one rect is handled by the box alone.
            if (clip->complexity() == COMPLEXREGION) m_clip = clip;
        }
        return m_box.right > m_box.left && m_box.bottom > m_box.top;
    }

    const RECT& box() const noexcept { return m_box; }

    /// True when spans go straight into a 32-bit surface without a clip region, as for a writer that
    /// makes the sink's checks once for many pixels inside the box (and counts their rows with touch).
    bool writesDirectly() const noexcept { return !m_clip && !m_surface->isMono(); }
    /// The current colour as a 32-bit pixel.
    std::uint32_t pixelValue() const noexcept { return m_pixel; }

    /// Rows [top, bottom) count as written: every write through the sink counts its row, and a writer
    /// that goes past the sink (a block transfer) counts its rows here.
    void touch(int top, int bottom) noexcept {
        m_touchedTop = std::min(m_touchedTop, top);
        m_touchedBottom = std::max(m_touchedBottom, bottom);
    }
    /// The rows written since the last call, whatever surface was bound, as [top, bottom) (top >= bottom:
    /// none); counting starts afresh.
    std::pair<int, int> takeTouchedRows() noexcept {
        const std::pair<int, int> rows{m_touchedTop, m_touchedBottom};
        m_touchedTop = std::numeric_limits<int>::max();
        m_touchedBottom = std::numeric_limits<int>::min();
        return rows;
    }
    Surface& surface() const noexcept { return *m_surface; }

    /// Writes one pixel in the current colour (a span of one, without the span set-up).
    void pixel(int x, int y) {
        touch(y, y + 1);
        if (!m_clip && !m_surface->isMono()) {
            m_surface->row32(y)[x] = m_pixel;
            return;
        }
        clippedSpan(y, x, x + 1);
    }

    /// Sets the colour the following spans are written in (for a monochrome surface, the nearest of
    /// black and white).
    void setColor(COLORREF color) noexcept {
        m_pixel = pixelFromColor(color);
        m_bit = monoBitFromColor(color);
    }

    /// Calls fn(x0, x1) for each part of the span that the clip region keeps; the span lies in box().
    template <class Fn>
    void forEachVisible(int y, int x0, int x1, Fn&& fn) {
        if (!m_clip) {
            fn(x0, x1);
            return;
        }
        m_band = m_clip->bandOf(y, m_band);
        if (m_band < 0) {
            m_band = 0;
            return;
        }
        const Region::Band& band = m_clip->bands()[std::size_t(m_band)];
        const int* xs = m_clip->xs().data() + band.first;
        for (int i = 0; i < band.count; ++i) {
            const int l = std::max(x0, xs[2 * i]);
            const int r = std::min(x1, xs[2 * i + 1]);
            if (l < r) fn(l, r);
            if (xs[2 * i + 1] >= x1) break;
        }
    }

    /// Writes the span in the current colour.
    void span(int y, int x0, int x1) {
        touch(y, y + 1);
        if (!m_clip && !m_surface->isMono()) {
            fillPixels(m_surface->row32(y) + x0, x1 - x0, m_pixel);
            return;
        }
        clippedSpan(y, x0, x1);
    }

private:
    void clippedSpan(int y, int x0, int x1) {
        if (m_surface->isMono()) {
            forEachVisible(y, x0, x1, [&](int l, int r) { writeBits(y, l, r); });
        } else {
            forEachVisible(y, x0, x1, [&](int l, int r) {
                std::fill(m_surface->row32(y) + l, m_surface->row32(y) + r, m_pixel);
            });
        }
    }

    void writeBits(int y, int l, int r);

    Surface* m_surface = nullptr;
    const Region* m_clip = nullptr; // only for complex clips
    RECT m_box{0, 0, 0, 0};
    int m_band = 0;
    int m_touchedTop = std::numeric_limits<int>::max();
    int m_touchedBottom = std::numeric_limits<int>::min();
    std::uint32_t m_pixel = 0;
    bool m_bit = false;
};

// Raster operations on one row, for BitBlt. A source row is first brought into the destination's
// format (see raster_dc.h), then combined.

enum class Rop { Copy, And, Invert, Paint, DstInvert, Black, White };

/// Combines count destination words with source words (src is ignored by the ROPs without a source).
/// The top byte of 32-bit pixels stays zero.
inline void ropRow32(Rop rop, std::uint32_t* dst, const std::uint32_t* src, int count) {
    switch (rop) {
    case Rop::Copy:
        std::copy(src, src + count, dst);
        break;
    case Rop::And:
        for (int i = 0; i < count; ++i)
            dst[i] &= src[i];
        break;
    case Rop::Invert:
        for (int i = 0; i < count; ++i)
            dst[i] ^= src[i];
        break;
    case Rop::Paint:
        for (int i = 0; i < count; ++i)
            dst[i] |= src[i];
        break;
    case Rop::DstInvert:
        for (int i = 0; i < count; ++i)
            dst[i] ^= 0x00FFFFFFu;
        break;
    case Rop::Black:
        std::fill(dst, dst + count, 0u);
        break;
    case Rop::White:
        std::fill(dst, dst + count, 0x00FFFFFFu);
        break;
    }
}

/// Combines count pixels of a monochrome row, from pixel x, with op(destination bit, source bit).
template <class Op>
inline void combineBits(unsigned char* row, int x, const unsigned char* src, int count, Op op) {
    for (int i = 0; i < count; ++i, ++x) {
        const unsigned char mask = (unsigned char)(0x80u >> (x & 7));
        const bool out = op((row[x >> 3] & mask) != 0, src && src[i] != 0);
        row[x >> 3] = out ? (unsigned char)(row[x >> 3] | mask) : (unsigned char)(row[x >> 3] & ~mask);
    }
}

/// The ROPs on a monochrome row; src holds one source bit (0 or 1) per byte, or is null without a source.
inline void ropRow1(Rop rop, unsigned char* row, int x, const unsigned char* src, int count) {
    switch (rop) {
    case Rop::Copy:
        combineBits(row, x, src, count, [](bool, bool s) { return s; });
        break;
    case Rop::And:
        combineBits(row, x, src, count, [](bool d, bool s) { return d && s; });
        break;
    case Rop::Invert:
        combineBits(row, x, src, count, [](bool d, bool s) { return d != s; });
        break;
    case Rop::Paint:
        combineBits(row, x, src, count, [](bool d, bool s) { return d || s; });
        break;
    case Rop::DstInvert:
        combineBits(row, x, src, count, [](bool d, bool) { return !d; });
        break;
    case Rop::Black:
        combineBits(row, x, src, count, [](bool, bool) { return false; });
        break;
    case Rop::White:
        combineBits(row, x, src, count, [](bool, bool) { return true; });
        break;
    }
}

inline void SpanSink::writeBits(int y, int l, int r) {
    const bool bit = m_bit;
    combineBits(m_surface->row1(y), l, nullptr, r - l, [bit](bool, bool) { return bit; });
}

} // namespace QOR::detail
