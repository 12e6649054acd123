#include "qor/platform/emf/emf_records_p.h"

#include <algorithm>
#include <utility>

#include "qor/platform/bitmap.h"
#include "qor/platform/dib_p.h"

namespace QOR::detail::emf {

bool PolyRecord::read(std::uint32_t type, const ByteReader& r) noexcept {
    m_small = type == kPolygon16 || type == kPolyline16 || type == kPolyPolygon16;
    m_multi = type == kPolyPolygon16 || type == kPolyPolygon;
    m_line = type == kPolyline16 || type == kPolyline;
    if (!m_small && !m_multi && !m_line && type != kPolygon) return false;
    m_r = &r;
    m_figures = 1;
    std::uint64_t at = 24; // after the bounds
    if (m_multi && !r.u32(at, m_figures)) return false;
    if (m_multi) at += 4;
    if (!r.u32(at, m_total)) return false;
    at += 4;
    m_countsAt = at;
    // Both counts are checked against the record's size before a caller allocates anything for them.
    const std::uint64_t countBytes = m_multi ? 4 * std::uint64_t(m_figures) : 0;
    m_pointsAt = at + countBytes;
    if (!r.has(at, countBytes + (m_small ? 4 : 8) * std::uint64_t(m_total))) return false;
    std::uint64_t sum = 0;
    for (std::uint32_t k = 0; m_multi && k < m_figures; ++k)
        sum += figureSize(k);
    return !m_multi || sum == m_total;
}

std::uint32_t PolyRecord::figureSize(std::uint32_t k) const noexcept {
    if (!m_multi) return m_total;
    std::uint32_t count = 0;
    m_r->u32(m_countsAt + 4 * std::uint64_t(k), count);
    return count;
}

POINT PolyRecord::point(std::uint32_t i) const noexcept {
    const unsigned char* p = m_r->data() + m_pointsAt + (m_small ? 4 : 8) * std::uint64_t(i);
    return m_small ? POINT{loadI16(p), loadI16(p + 2)} : POINT{loadI32(p), loadI32(p + 4)};
}

bool readBitmapBlock(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                     std::uint32_t cbBits, RECT src, Surface& block) {
    if (offBits < offBmi || std::uint64_t(offBits) - offBmi < cbBmi || !r.has(offBmi, cbBmi) ||
        !r.has(offBits, cbBits))
        return false;
    DibDecodeOptions options;
    options.bitsOffset = offBits - offBmi;
    DibImage dib;
    const ByteReader bmi(r.sub(offBmi, std::uint64_t(offBits) - offBmi + cbBits));
    if (decodeDib(std::span(bmi.data(), bmi.size()), options, dib) != Status::Ok) return false;
    Surface& image = dib.color;
    // A bottom-up DIB counts source rows from its bottom.
    std::uint32_t headerBytes = 0;
    std::int32_t height = 0;
    bmi.u32(0, headerBytes);
    const bool topDown = headerBytes >= 40 && bmi.i32(8, height) && height < 0;
    const std::int64_t w = src.right, h = src.bottom;
    const std::int64_t x0 = src.left, y0 = topDown ? std::int64_t(src.top) : image.height - src.top - h;
    if (w <= 0 || h <= 0 || x0 < 0 || y0 < 0 || x0 + w > image.width || y0 + h > image.height) return false;
    if (x0 == 0 && y0 == 0 && w == image.width && h == image.height) {
        block = std::move(image);
        return true;
    }
    if (block.create(int(w), int(h), 32) != Status::Ok) return false;
    for (int y = 0; y < int(h); ++y)
        std::copy_n(image.row32(int(y0) + y) + x0, w, block.row32(y));
    return true;
}

} // namespace QOR::detail::emf
