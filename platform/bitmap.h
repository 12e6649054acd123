#pragma once

// Bitmaps: pixel storage (detail::Surface) and its owning GDI object (CBitmap).
//
// Conventions
//  - Device space as in win_types.h: row 0 is the top row; pixel (x, y) is word/bit x of row y.
//  - 32 bits per pixel: one std::uint32_t per pixel holding 0x00RRGGBB (in memory the bytes B, G, R, 0,
//    the layout of a 32-bit DIB). A COLORREF (0x00BBGGRR) converts with pixelFromColor/colorFromPixel.
//  - 1 bit per pixel (monochrome): the most significant bit of a byte is the leftmost pixel; 1 is white
//    and 0 black. Rows are padded to whole 32-bit words.
//  - Sizes: width and height are 1 to kMaxSide pixels, and a row of words times the height must fit in
//    kMaxBytes; everything larger fails to be created.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/status.h"
#include "qor/platform/fwd.h"
#include "qor/platform/gdi_object.h"

namespace QOR::detail {

constexpr std::uint32_t pixelFromColor(COLORREF c) noexcept {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF colorFromPixel(std::uint32_t p) noexcept {
    return pixelFromColor(p & 0x00FFFFFF);
}

struct Surface {
    /// Largest width or height: far beyond any preview, and small enough that every row and column index
    /// stays far from the int limits.
    static constexpr int kMaxSide = 1 << 18;
    /// Largest pixel storage: 1 GiB.
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 30;

    int width = 0;                    // pixels
    int height = 0;                   // pixels
    int bitsPerPixel = 0;             // 1 or 32
    int strideWords = 0;              // 32-bit words per row
    std::vector<std::uint32_t> words; ///< the pixels, unless the surface wraps storage of its caller
    /// Storage the surface does not own (wrap); null for a surface that owns its words.
    std::uint32_t* external = nullptr;

    /// Allocates zeroed storage (black). TooLarge or BadInput for sizes out of range, NoMemory when the
    /// allocation fails; the surface is unchanged then.
    Status create(int widthPx, int heightPx, int bpp) noexcept;
    /// Makes this a 32-bit surface over widthPx x heightPx pixels the caller owns: rows of strideWords
    /// words (at least widthPx) from pixels on, top row first. The caller keeps the storage alive and
    /// unmoved while the surface is in use; nothing is allocated. BadInput for a null pointer, a stride
    /// below the width or sizes out of range (kMaxSide); the surface is unchanged then.
    Status wrap(std::uint32_t* pixels, int widthPx, int heightPx, int strideWords) noexcept;

    std::uint32_t* data() noexcept { return external ? external : words.data(); }
    const std::uint32_t* data() const noexcept { return external ? external : words.data(); }
    std::uint32_t* row32(int y) noexcept { return data() + std::size_t(y) * std::size_t(strideWords); }
    const std::uint32_t* row32(int y) const noexcept {
        return data() + std::size_t(y) * std::size_t(strideWords);
    }
    unsigned char* row1(int y) noexcept { return reinterpret_cast<unsigned char*>(row32(y)); }
    const unsigned char* row1(int y) const noexcept {
        return reinterpret_cast<const unsigned char*>(row32(y));
    }
    bool isMono() const noexcept { return bitsPerPixel == 1; }

    /// Colour of pixel (x, y), which must lie inside (mono: black or white).
    COLORREF colorAt(int x, int y) const noexcept {
        if (isMono()) return (row1(y)[x >> 3] >> (7 - (x & 7))) & 1 ? RGB(255, 255, 255) : 0;
        return colorFromPixel(row32(y)[x]);
    }
};

/// The colour a monochrome surface shows for c when c is drawn on it: white when the sum of the three
/// components is at least 383 (half of the full 765), otherwise black.
constexpr bool monoBitFromColor(COLORREF c) noexcept {
    return int(GetRValue(c)) + GetGValue(c) + GetBValue(c) >= 383;
}

} // namespace QOR::detail

/// A bitmap of 1 or 32 bits per pixel. The pixels are shared with every device context the bitmap is
/// selected into, so destroying a selected bitmap leaves the device context drawing into storage of its
/// own rather than into freed memory.
class QOR_EXPORT CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    ~CBitmap() override;

    /// nPlanes must be 1 and nBitcount 1 or 32. lpBits (may be null: black) holds the rows top-down,
    /// each padded to an even number of bytes as GDI expects: monochrome rows of ((w + 15) / 16) * 2 bytes,
    /// 32-bit rows of 4 * w bytes in the order B, G, R, unused. False for other formats, sizes out of
    /// range or when already created.
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) noexcept;
    /// A black bitmap in the format of the bitmap selected into pDC: monochrome when that one is, else
    /// 32 bits (also for a null pDC or one without a bitmap).
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept;
    BOOL DeleteObject() noexcept override;
    /// Fills *pBitMap; 0 when the bitmap is not created, else sizeof(BITMAP).
    int GetBitmap(BITMAP* pBitMap) const noexcept;

    int width() const noexcept { return m_surface ? m_surface->width : 0; }
    int height() const noexcept { return m_surface ? m_surface->height : 0; }
    int bitsPerPixel() const noexcept { return m_surface ? m_surface->bitsPerPixel : 0; }
    /// The pixels; null when the bitmap is not created.
    const std::shared_ptr<QOR::detail::Surface>& surface() const noexcept { return m_surface; }
    /// Takes over storage built elsewhere (a decoder); false for null or invalid storage.
    bool adopt(std::shared_ptr<QOR::detail::Surface> surface) noexcept;

private:
    std::shared_ptr<QOR::detail::Surface> m_surface;
};
