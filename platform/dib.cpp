#include "qor/platform/dib_p.h"

#include <bit>

#include "qor/platform/dib_rle_p.h"
#include "qor/platform/le_bytes_p.h"

namespace QOR::detail {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
/// The largest header in use (BITMAPV5HEADER); anything bigger is not a DIB.
constexpr std::uint32_t kMaxHeaderBytes = 124;

/// A colour channel given by a bit mask: contiguous bits, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    bool set(std::uint32_t m) noexcept {
        mask = m;
        if (m == 0) return true;
        shift = std::countr_zero(m);
        max = m >> shift;
        return (max & (max + 1)) == 0; // contiguous
    }
    std::uint32_t value(std::uint32_t pixel) const noexcept {
        if (mask == 0) return 0;
        return std::uint32_t(std::uint64_t((pixel & mask) >> shift) * 255 / max);
    }
};

std::uint64_t rowBytes(std::uint64_t width, std::uint64_t bpp) noexcept {
    return (width * bpp + 31) / 32 * 4;
}

} // namespace

Status decodeDib(std::span<const unsigned char> dib, const DibDecodeOptions& options, DibImage& out) {
    const ByteReader r(dib);
    std::uint32_t headerBytes = 0;
    if (!r.u32(0, headerBytes) || !r.has(0, headerBytes)) return fail(Status::BadInput);

    std::int64_t width = 0, height = 0;
    std::uint16_t planes = 0, bpp = 0;
    std::uint32_t compression = kBiRgb, colorsUsed = 0, entryBytes = 4;
    if (headerBytes == kCoreHeaderBytes) {
        std::uint16_t w = 0, h = 0;
        r.u16(4, w);
        r.u16(6, h);
        r.u16(8, planes);
        r.u16(10, bpp);
        width = w;
        height = h;
        entryBytes = 3;
    } else if (headerBytes >= kInfoHeaderBytes && headerBytes <= kMaxHeaderBytes) {
        std::int32_t w = 0, h = 0;
        r.i32(4, w);
        r.i32(8, h);
        r.u16(12, planes);
        r.u16(14, bpp);
        r.u32(16, compression);
        r.u32(32, colorsUsed);
        width = w;
        height = h;
    } else {
        return fail(Status::BadInput);
    }
    if (planes != 1) return fail(Status::BadInput);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(Status::BadInput);
    const bool runLength = compression == kBiRle8 || compression == kBiRle4;
    if (compression != kBiRgb && compression != kBiBitfields && !runLength) return fail(Status::Unsupported);
    if (compression == kBiBitfields && bpp != 16 && bpp != 32) return fail(Status::BadInput);
    if (runLength && bpp != (compression == kBiRle8 ? 8 : 4)) return fail(Status::BadInput);
    // An icon's mask follows its colour rows, which a run-length stream gives no fixed end.
    if (runLength && options.iconHalves) return fail(Status::BadInput);

    const bool bottomUp = height > 0;
    // A run-length stream has no top-down form: its deltas only move up.
    if (!bottomUp && (options.iconHalves || headerBytes == kCoreHeaderBytes || runLength))
        return fail(Status::BadInput);
    if (height < 0) height = -height;
    if (options.iconHalves) height /= 2;
    if (width <= 0 || height <= 0) return fail(Status::BadInput);
    if (width > Surface::kMaxSide || height > Surface::kMaxSide) return fail(Status::TooLarge);

    // Channel masks: inside the header from version 2 on, else right after a 40-byte header.
    std::uint64_t tableStart = headerBytes;
    Channel red, green, blue, alphaChannel;
    bool ok = true;
    if (compression == kBiBitfields) {
        std::uint32_t m[4] = {0, 0, 0, 0};
        const std::uint64_t at = headerBytes >= 52 ? 40 : headerBytes;
        if (!r.u32(at, m[0]) || !r.u32(at + 4, m[1]) || !r.u32(at + 8, m[2])) return fail(Status::BadInput);
        if (headerBytes >= 56) r.u32(52, m[3]);
        if (headerBytes < 52) tableStart += 12;
        ok = red.set(m[0]) && green.set(m[1]) && blue.set(m[2]) && alphaChannel.set(m[3]);
    } else if (bpp == 16) {
        ok = red.set(0x7C00) && green.set(0x03E0) && blue.set(0x001F);
    } else if (bpp == 32) {
        ok = red.set(0x00FF0000) && green.set(0x0000FF00) && blue.set(0x000000FF) &&
             alphaChannel.set(0xFF000000);
    }
    if (!ok) return fail(Status::BadInput);

    // Colour table: needed below 16 bits; above, colorsUsed only says how much to skip.
    std::uint32_t tableEntries = colorsUsed;
    if (bpp <= 8 && tableEntries == 0) tableEntries = 1u << bpp;
    if (tableEntries > 256) return fail(Status::BadInput);
    std::uint32_t palette[256] = {};
    for (std::uint32_t i = 0; i < tableEntries; ++i) {
        const std::span<const unsigned char> e = r.sub(tableStart + std::uint64_t(i) * entryBytes, 3);
        if (e.empty()) return fail(Status::BadInput);
        palette[i] = std::uint32_t(e[0]) | (std::uint32_t(e[1]) << 8) | (std::uint32_t(e[2]) << 16);
    }

    const std::uint64_t bitsStart =
        options.bitsOffset ? options.bitsOffset : tableStart + std::uint64_t(tableEntries) * entryBytes;
    const std::uint64_t stride = rowBytes(std::uint64_t(width), bpp);
    const std::uint64_t colorBytes = stride * std::uint64_t(height); // both factors < 2^24: no overflow
    const int w = int(width), h = int(height);
    // Run-length streams are expanded first into the rows an uncompressed DIB holds.
    std::vector<unsigned char> expanded;
    if (runLength) {
        if (!r.has(bitsStart, 0)) return fail(Status::BadInput);
        const Status st = expandRle(r.sub(bitsStart, r.size() - bitsStart), bpp, w, h, expanded);
        if (st != Status::Ok) return st;
    } else if (!r.has(bitsStart, colorBytes)) {
        return fail(Status::BadInput);
    }
    const std::uint64_t maskStride = rowBytes(std::uint64_t(width), 1);
    const bool maskPresent =
        options.iconHalves && r.has(bitsStart + colorBytes, maskStride * std::uint64_t(height));
    // A 32-bit icon carries its transparency in the alpha bytes; older writers leave the mask out.
    if (options.iconHalves && !maskPresent && bpp != 32) return fail(Status::BadInput);

    Status st = out.color.create(w, h, 32);
    if (st != Status::Ok) return st;
    if (options.iconHalves && (st = out.mask.create(w, h, 1)) != Status::Ok) return st;
    out.alpha.clear();
    if (alphaChannel.mask) out.alpha.resize(std::size_t(w) * std::size_t(h));

    bool anyAlpha = false;
    const unsigned char* bits = runLength ? expanded.data() : r.data() + bitsStart;
    for (int fy = 0; fy < h; ++fy) {
        const int y = bottomUp ? h - 1 - fy : fy;
        const unsigned char* src = bits + std::uint64_t(fy) * stride;
        std::uint32_t* dst = out.color.row32(y);
        unsigned char* alphaRow = out.alpha.empty() ? nullptr : out.alpha.data() + std::size_t(y) * w;
        for (int x = 0; x < w; ++x) {
            std::uint32_t pixel = 0;
            switch (bpp) {
            case 1:
                pixel = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                pixel = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                pixel = palette[src[x]];
                break;
            case 24:
                pixel = std::uint32_t(src[3 * x]) | (std::uint32_t(src[3 * x + 1]) << 8) |
                        (std::uint32_t(src[3 * x + 2]) << 16);
                break;
            default: {
                const std::uint32_t v = bpp == 16 ? loadU16(src + 2 * x) : loadU32(src + 4 * x);
                pixel = blue.value(v) | (green.value(v) << 8) | (red.value(v) << 16);
                if (alphaRow) {
                    alphaRow[x] = (unsigned char)alphaChannel.value(v);
                    anyAlpha = anyAlpha || alphaRow[x] != 0;
                }
            }
            }
            dst[x] = pixel;
        }
    }
    // An alpha byte that is zero everywhere is padding, not transparency.
    if (!anyAlpha) out.alpha.clear();

    if (!options.iconHalves) return Status::Ok;
    const std::size_t maskRowBytes = (std::size_t(w) + 7) / 8;
    const unsigned char lastByteBits = (unsigned char)(0xFF << ((8 - (w & 7)) & 7));
    for (int fy = 0; fy < h && maskPresent && out.alpha.empty(); ++fy) {
        const unsigned char* src = bits + colorBytes + std::uint64_t(fy) * maskStride;
        unsigned char* dst = out.mask.row1(h - 1 - fy);
        std::memcpy(dst, src, maskRowBytes);
        dst[maskRowBytes - 1] &= lastByteBits;
    }
    // With alpha, the alpha decides, as when the system draws such an icon.
    if (!out.alpha.empty()) {
        for (int y = 0; y < h; ++y) {
            unsigned char* dst = out.mask.row1(y);
            for (int x = 0; x < w; ++x)
                if (out.alpha[std::size_t(y) * w + x] < 128) dst[x >> 3] |= (unsigned char)(0x80 >> (x & 7));
        }
    }
    return Status::Ok;
}

void encodeDib(const Surface& surface, int x0, int y0, int w, int h, COLORREF zero, COLORREF one,
               std::vector<unsigned char>& out, std::size_t& headerBytes) {
    const bool mono = surface.isMono();
    const std::uint32_t bpp = mono ? 1 : 32;
    const std::uint64_t stride = rowBytes(std::uint64_t(w), bpp);
    ByteWriter wr(out);
    const std::size_t start = wr.size();
    wr.u32(kInfoHeaderBytes);
    wr.i32(w);
    wr.i32(h); // positive: bottom-up rows, which every reader accepts
    wr.u16(1);
    wr.u16(bpp);
    wr.u32(kBiRgb);
    wr.u32(std::uint32_t(stride * std::uint64_t(h)));
    wr.i32(3780); // 96 dpi in pixels per metre
    wr.i32(3780);
    wr.u32(mono ? 2 : 0);
    wr.u32(0);
    if (mono) {
        for (const COLORREF c : {zero, one}) {
            const unsigned char quad[4] = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
            wr.bytes(quad);
        }
    }
    headerBytes = wr.size() - start;
    const std::size_t rowsStart = out.size();
    out.resize(rowsStart + std::size_t(stride) * std::size_t(h), 0);
    for (int fy = 0; fy < h; ++fy) {
        const int y = y0 + h - 1 - fy;
        unsigned char* dst = out.data() + rowsStart + std::size_t(fy) * std::size_t(stride);
        if (mono) {
            const unsigned char* src = surface.row1(y);
            for (int x = 0; x < w; ++x) {
                const int sx = x0 + x;
                if ((src[sx >> 3] >> (7 - (sx & 7))) & 1) dst[x >> 3] |= (unsigned char)(0x80 >> (x & 7));
            }
        } else {
            const std::uint32_t* src = surface.row32(y) + x0;
            for (int x = 0; x < w; ++x) {
                dst[4 * x] = (unsigned char)(src[x]);
                dst[4 * x + 1] = (unsigned char)(src[x] >> 8);
                dst[4 * x + 2] = (unsigned char)(src[x] >> 16);
            }
        }
    }
}

Status scaleNearest(const Surface& src, int widthPx, int heightPx, Surface& out) {
    const Status st = out.create(widthPx, heightPx, src.bitsPerPixel);
    if (st != Status::Ok) return st;
    for (int y = 0; y < heightPx; ++y) {
        const int sy = int(std::int64_t(y) * src.height / heightPx);
        for (int x = 0; x < widthPx; ++x) {
            const int sx = int(std::int64_t(x) * src.width / widthPx);
            if (src.isMono()) {
                if ((src.row1(sy)[sx >> 3] >> (7 - (sx & 7))) & 1)
                    out.row1(y)[x >> 3] |= (unsigned char)(0x80 >> (x & 7));
            } else {
                out.row32(y)[x] = src.row32(sy)[sx];
            }
        }
    }
    return Status::Ok;
}

} // namespace QOR::detail
