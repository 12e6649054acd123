#include "qor/platform/bitmap.h"

#include <cstring>

#include "qor/platform/dc.h"

namespace QOR::detail {

Status Surface::create(int widthPx, int heightPx, int bpp) noexcept {
    if (bpp != 1 && bpp != 32) return fail(Status::BadInput);
    if (widthPx <= 0 || heightPx <= 0) return fail(Status::BadInput);
    if (widthPx > kMaxSide || heightPx > kMaxSide) return fail(Status::TooLarge);
    const std::size_t stride = bpp == 32 ? std::size_t(widthPx) : (std::size_t(widthPx) + 31) / 32;
    // Both factors are at most 2^18, so the product cannot overflow a 64-bit size before the check.
    const std::size_t count = stride * std::size_t(heightPx);
    if (count > kMaxBytes / 4) return fail(Status::TooLarge);
    return guarded([&] {
        std::vector<std::uint32_t> storage(count, 0u);
        words = std::move(storage);
        external = nullptr;
        width = widthPx;
        height = heightPx;
        bitsPerPixel = bpp;
        strideWords = int(stride);
        return Status::Ok;
    });
}

Status Surface::wrap(std::uint32_t* pixels, int widthPx, int heightPx, int stride) noexcept {
    if (!pixels || widthPx <= 0 || heightPx <= 0 || stride < widthPx) return fail(Status::BadInput);
    if (widthPx > kMaxSide || heightPx > kMaxSide || stride > kMaxSide) return fail(Status::TooLarge);
    // words keeps its capacity: a surface that wraps one buffer after another allocates nothing.
    words.clear();
    external = pixels;
    width = widthPx;
    height = heightPx;
    bitsPerPixel = 32;
    strideWords = stride;
    return Status::Ok;
}

} // namespace QOR::detail

using QOR::detail::Status;
using QOR::detail::Surface;

CBitmap::~CBitmap() = default;

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) noexcept {
    if (m_created || nPlanes != 1) return FALSE;
    const Status st = QOR::detail::guarded([&] {
        auto s = std::make_shared<Surface>();
        const Status c = s->create(nWidth, nHeight, int(nBitcount));
        if (c != Status::Ok) return c;
        if (lpBits) {
            const auto* src = static_cast<const unsigned char*>(lpBits);
            if (s->isMono()) {
                const std::size_t srcStride = (std::size_t(nWidth) + 15) / 16 * 2;
                const std::size_t rowBytes = (std::size_t(nWidth) + 7) / 8;
                for (int y = 0; y < nHeight; ++y)
                    std::memcpy(s->row1(y), src + y * srcStride, rowBytes);
            } else {
                for (int y = 0; y < nHeight; ++y) {
                    const unsigned char* p = src + std::size_t(y) * std::size_t(nWidth) * 4;
                    std::uint32_t* row = s->row32(y);
                    for (int x = 0; x < nWidth; ++x, p += 4)
                        row[x] =
                            std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
                }
            }
        }
        m_surface = std::move(s);
        return Status::Ok;
    });
    if (st != Status::Ok) return FALSE;
    m_created = true;
    return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept {
    const CBitmap* selected = pDC ? pDC->GetCurrentBitmap() : nullptr;
    const bool mono = selected && selected->bitsPerPixel() == 1;
    return CreateBitmap(nWidth, nHeight, 1, mono ? 1 : 32, nullptr);
}

BOOL CBitmap::DeleteObject() noexcept {
    if (!m_created) return FALSE;
    m_surface.reset();
    m_created = false;
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const noexcept {
    if (!m_created || !pBitMap) return 0;
    *pBitMap = BITMAP{0,
                      m_surface->width,
                      m_surface->height,
                      m_surface->strideWords * 4,
                      1,
                      WORD(m_surface->bitsPerPixel),
                      m_surface->data()};
    return int(sizeof(BITMAP));
}

bool CBitmap::adopt(std::shared_ptr<Surface> surface) noexcept {
    if (!surface || surface->width <= 0 || surface->height <= 0 ||
        (!surface->external &&
         surface->words.size() < std::size_t(surface->strideWords) * std::size_t(surface->height)))
        return false;
    m_surface = std::move(surface);
    m_created = true;
    return true;
}
