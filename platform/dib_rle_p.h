#pragma once

// Run-length-encoded DIB rows (BI_RLE8 for 8 bits per pixel, BI_RLE4 for 4), expanded into the rows an
// uncompressed DIB of the same size and depth holds, so that dib.cpp turns both into pixels the same way.
//
// The stream is a sequence of byte pairs, read from the bottom row up, starting at the left of that row:
//  - (n, c) with n > 0: n pixels of index c. With 4 bits, c holds two indexes and the pixels take the
//    high nibble, the low nibble, the high nibble again, and so on.
//  - (0, 0): end of line; the next pixel is the first of the row above.
//  - (0, 1): end of bitmap.
//  - (0, 2) dx dy: the next pixel is dx to the right and dy rows up (both unsigned bytes).
//  - (0, n) with n >= 3: n indexes follow as they are (one a byte, or two a byte high nibble first),
//    padded with a byte when they take an odd number of bytes, so that every pair starts on an even offset.
//
// Conventions
//  - Output rows: bottom-up like the stream, each padded to 32 bits, the layout an uncompressed DIB of
//    the same width, height and depth has. Pixels the stream never writes (jumped over by a delta, an end
//    of line or the end of bitmap) keep index 0.
//  - Cursor: column x and row y counted from the bottom. It may stand one past the last column and one
//    past the last row (where an end of line after the top row leaves it), never further. A run or an
//    absolute run must fit in the rest of its row, on a row that exists; a delta must land on a valid
//    cursor. Anything else is BadInput: the bitmap a broken stream would give is not the one its writer
//    meant, and the rest of the file cannot be trusted to find its rows again.
//  - The stream runs to the end of the bytes given and must end with an end of bitmap. A stream that runs
//    out before it is refused as truncated rather than shown in part, as with every other cut-off image.
//    What follows the end of bitmap is not read.
//  - Memory: the 32-bit pixels the rows become may take at most kRlePixelBytesPerStreamByte bytes per
//    stream byte, or kRleMinPixelBytes when that is more; a larger image is TooLarge before anything is
//    allocated. A run of 255 pixels in two bytes makes the densest honest stream about 500 pixel bytes a
//    stream byte; only deltas and line ends skip further, and a large image made mostly of skipped pixels
//    is no picture a preview needs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "qor/kernel/base/status.h"

namespace QOR::detail {

constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;

constexpr std::uint64_t kRlePixelBytesPerStreamByte = 1024;
/// 4 MiB: a 1024 x 1024 picture, so that small blank or sparse images always decode.
constexpr std::uint64_t kRleMinPixelBytes = std::uint64_t{4} << 20;

/// Expands stream (which the caller owns) for an image of widthPx x heightPx (both 1 to Surface::kMaxSide)
/// at bitsPerPixel 8 (BI_RLE8) or 4 (BI_RLE4) into rows, replacing its contents. BadInput for a stream
/// that breaks the rules above, TooLarge for an image beyond the memory bound.
Status expandRle(std::span<const unsigned char> stream, int bitsPerPixel, int widthPx, int heightPx,
                 std::vector<unsigned char>& rows);

} // namespace QOR::detail
