#pragma once

// ICO and CUR files: a directory of images of several sizes and colour depths, each a DIB whose colour
// (XOR) rows are followed by a 1-bit AND mask, or a PNG image. An icon is kept as GDI's GetIconInfo
// reports it, colour image and mask apart, since drawing an icon on a background needs both:
//   result = (background AND mask) XOR (colour AND NOT mask).
//
// Conventions
//  - The mask has 1 bit per pixel, 1 = transparent (the background shows), 0 = opaque; the colour image
//    has 32 bits per pixel. Both have the same size.
//  - Images with an alpha channel (32-bit DIBs with non-zero alpha bytes, PNG images) get their mask from
//    the alpha: transparent where alpha < 128. Their colour pixels are kept as stored.
//  - Choosing an image for a requested size w x h (0 stands for the system icon size, 32): the smallest
//    |width - w| + |height - h| by the directory; on a tie the larger image (shrinking looks better than
//    growing), then the deeper colour, then the earlier entry. An image that fails to decode is passed
//    over for the next best.

#include <span>

#include "qor/kernel/base/export.h"
#include "qor/platform/bitmap.h"

namespace QOR {

/// Reads the icon (or cursor) file at path: the image that best matches widthPx x heightPx, resampled
/// (nearest pixel) to that size where it is above 0. color and mask must not be created yet. False for a
/// missing or malformed file, or one without a usable image.
QOR_EXPORT bool iconRead(CBitmap& color, CBitmap& mask, const wchar_t* path, int widthPx,
                         int heightPx) noexcept;

namespace detail {

/// The side length the system uses for icons when no size is asked for.
constexpr int kSystemIconSide = 32;
/// The largest PNG icon image decoded; the directory itself cannot describe more than 256.
constexpr int kMaxPngIconSide = 1024;

struct Icon {
    Surface color;       // 32 bits per pixel
    Surface mask;        // 1 bit per pixel, 1 = transparent
    POINT hotspot{0, 0}; // cursors only, in the chosen image's pixels
};

/// Decodes the best image of an ICO/CUR file for the requested size (see Conventions) and resamples it
/// to that size where widthPx or heightPx is above 0.
Status decodeIco(std::span<const unsigned char> bytes, int widthPx, int heightPx, Icon& out);

/// Turns a decoded icon into the two bitmaps.
bool adoptIcon(Icon&& icon, CBitmap& color, CBitmap& mask) noexcept;

} // namespace detail
} // namespace QOR
