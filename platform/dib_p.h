#pragma once

// Device-independent bitmaps (DIBs): a BITMAPINFOHEADER (or the older BITMAPCOREHEADER), a colour table
// and rows of pixels. The same layout sits inside BMP files, ICO images and metafile bitmap records, so one
// decoder and one encoder serve all three.
//
// Conventions
//  - Decoded pixels land in a 32-bit Surface (bitmap.h), top row first, whatever the file's row order.
//  - Accepted: 1, 4 and 8 bits per pixel with a colour table, 16, 24 and 32 bits, uncompressed (BI_RGB)
//    or with channel masks (BI_BITFIELDS, 16 and 32 bits), and run-length encoded (BI_RLE8 at 8 bits,
//    BI_RLE4 at 4 bits; bottom-up only, never in icons; the stream's rules are in dib_rle_p.h). Embedded
//    JPEG/PNG bitmaps are refused (Unsupported).
//  - Every size and count read from the data is checked before it is multiplied, and the rows must all be
//    present before anything is allocated: a small input can never ask for a large allocation beyond
//    32 output bytes per input byte (a 1-bit pixel becomes a 4-byte one). Run-length streams are bounded
//    by the ratio dib_rle_p.h states instead, since a few bytes may stand for many pixels.

#include <cstdint>
#include <span>
#include <vector>

#include "qor/kernel/base/status.h"
#include "qor/platform/bitmap.h"

namespace QOR::detail {

struct DibDecodeOptions {
    /// Icon images store the colour (XOR) rows and then a 1-bit AND mask, and their header's height
    /// counts both (twice the image height).
    bool iconHalves = false;
    /// Offset of the first pixel row from the start of the header; 0 means right after the colour table
    /// (a packed DIB).
    std::uint64_t bitsOffset = 0;
};

struct DibImage {
    Surface color;                    // 32 bits per pixel
    std::vector<unsigned char> alpha; // one byte per pixel, top-down; empty when the image has none
    Surface mask;                     // icons only: the AND mask, 1 bit per pixel, 1 = transparent
};

/// Decodes the DIB that starts at dib[0] (its header). BadInput for malformed or truncated data,
/// Unsupported for compressions not listed above, TooLarge for sides beyond Surface::kMaxSide or a
/// run-length image beyond its memory bound. A run-length stream runs to the end of dib.
Status decodeDib(std::span<const unsigned char> dib, const DibDecodeOptions& options, DibImage& out);

/// Appends a packed DIB of the block [x0, x0 + w) x [y0, y0 + h) of surface (which must lie inside):
/// 40-byte header, colour table and bottom-up rows. 32-bit surfaces give 32-bit BI_RGB rows; monochrome
/// ones give 1-bit rows with the colour table {zero, one}. headerBytes receives the size of header and
/// colour table.
void encodeDib(const Surface& surface, int x0, int y0, int w, int h, COLORREF zero, COLORREF one,
               std::vector<unsigned char>& out, std::size_t& headerBytes);

/// Resamples src to widthPx x heightPx by nearest pixel (the format of src is kept).
Status scaleNearest(const Surface& src, int widthPx, int heightPx, Surface& out);

} // namespace QOR::detail
