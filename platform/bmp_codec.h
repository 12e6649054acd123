#pragma once

// BMP files: a 14-byte file header ("BM", size, the offset of the pixel rows) followed by a DIB (dib_p.h).
// Decoded bitmaps have 32 bits per pixel; the file's alpha bytes, if any, are dropped. Run-length encoded
// files (8 and 4 bits) are read too; a stream that is cut short or writes outside the image fails the
// whole file (dib_rle_p.h).

#include <span>

#include "qor/kernel/base/export.h"
#include "qor/platform/bitmap.h"

namespace QOR {

/// Reads the BMP file at path into bitmap, which must not be created yet. With widthPx and heightPx above
/// 0 the image is resampled (nearest pixel) to that size, as the system's image loader does; 0 keeps the
/// file's size in that direction. False for a missing, malformed or unsupported file.
QOR_EXPORT bool bitmapReadBmp(CBitmap& bitmap, const wchar_t* path, int widthPx = 0,
                              int heightPx = 0) noexcept;

namespace detail {

/// Largest BMP or ICO file read: a preview never needs more.
constexpr std::size_t kMaxImageFileBytes = std::size_t{256} << 20;

/// Decodes the bytes of a BMP file.
Status decodeBmp(std::span<const unsigned char> bytes, Surface& out);

/// Resamples surface to widthPx x heightPx where those are above 0 and differ from its size.
Status resizeTo(Surface& surface, int widthPx, int heightPx);

} // namespace detail
} // namespace QOR
