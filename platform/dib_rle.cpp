#include "qor/platform/dib_rle_p.h"

#include <algorithm>

namespace QOR::detail {

namespace {

/// Writes pixels into the expanded rows; every call has been checked to lie inside.
class RowWriter {
public:
    RowWriter(std::vector<unsigned char>& rows, int bitsPerPixel, std::size_t stride) noexcept
        : m_rows(rows), m_four(bitsPerPixel == 4), m_stride(stride) {}

    void put(int x, int y, unsigned index) noexcept {
        unsigned char* row = m_rows.data() + std::size_t(y) * m_stride;
        if (!m_four) {
            row[x] = (unsigned char)index;
            return;
        }
        const int shift = (x & 1) ? 0 : 4;
        unsigned char& b = row[x >> 1];
        b = (unsigned char)((b & ~(0x0F << shift)) | ((index & 0x0F) << shift));
    }

private:
    std::vector<unsigned char>& m_rows;
    bool m_four;
    std::size_t m_stride;
};

} // namespace

Status expandRle(std::span<const unsigned char> stream, int bitsPerPixel, int widthPx, int heightPx,
                 std::vector<unsigned char>& rows) {
    if ((bitsPerPixel != 4 && bitsPerPixel != 8) || widthPx <= 0 || heightPx <= 0)
        return fail(Status::BadInput);
    const std::uint64_t pixelBytes = std::uint64_t(widthPx) * std::uint64_t(heightPx) * 4;
    const std::uint64_t bound = std::max(kRleMinPixelBytes, kRlePixelBytesPerStreamByte * stream.size());
    if (pixelBytes > bound) return fail(Status::TooLarge);

    const std::size_t stride = (std::size_t(widthPx) * std::size_t(bitsPerPixel) + 31) / 32 * 4;
    rows.assign(stride * std::size_t(heightPx), 0);
    RowWriter out(rows, bitsPerPixel, stride);

    const std::size_t size = stream.size();
    const int w = widthPx, h = heightPx;
    int x = 0, y = 0;
    std::size_t at = 0;
    while (at + 2 <= size) {
        const unsigned count = stream[at], value = stream[at + 1];
        at += 2;
        if (count > 0) {
            if (y >= h || unsigned(w - x) < count) return fail(Status::BadInput);
            const unsigned high = bitsPerPixel == 4 ? value >> 4 : value;
            const unsigned low = bitsPerPixel == 4 ? value & 0x0F : value;
            for (unsigned i = 0; i < count; ++i)
                out.put(x + int(i), y, (i & 1) ? low : high);
            x += int(count);
            continue;
        }
        switch (value) {
        case 0: // end of line
            if (y >= h) return fail(Status::BadInput);
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return Status::Ok;
        case 2: { // delta
            if (at + 2 > size) return fail(Status::BadInput);
            const int dx = stream[at], dy = stream[at + 1];
            at += 2;
            if (dx > w - x || dy > h - y) return fail(Status::BadInput);
            x += dx;
            y += dy;
            break;
        }
        default: { // absolute run of `value` pixels
            const std::size_t dataBytes = bitsPerPixel == 4 ? (value + 1) / 2 : value;
            if (y >= h || unsigned(w - x) < value || dataBytes > size - at) return fail(Status::BadInput);
            for (unsigned i = 0; i < value; ++i) {
                const unsigned index =
                    bitsPerPixel == 4 ? (stream[at + i / 2] >> ((i & 1) ? 0 : 4)) & 0x0F : stream[at + i];
                out.put(x + int(i), y, index);
            }
            x += int(value);
            at += dataBytes + (dataBytes & 1);
        }
        }
    }
    // The stream ran out before its end of bitmap.
    return fail(Status::BadInput);
}

} // namespace QOR::detail
