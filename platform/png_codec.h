#pragma once

// PNG files of raster bitmaps (libpng).
//  - 32-bit bitmaps are written as 8-bit RGB; monochrome bitmaps as 1-bit greyscale (1 = white), which
//    reads back as a monochrome bitmap. Files are written atomically (platform/file_io_p.h).
//  - Reading takes any PNG: palette, grey and 16-bit images become 32-bit RGB; an alpha channel is
//    dropped from the bitmap and, on request, handed back apart (one byte per pixel, rows top-down),
//    since icon code needs colour and transparency kept apart. Images larger than
//    detail::Surface::kMaxSide in either direction are refused.

#include <cstddef>
#include <span>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/bitmap.h"

namespace QOR {

/// Writes the bitmap to path (UTF-8 on disk); false when it is not created or writing fails, in which
/// case any earlier file at path is left as it was.
QOR_EXPORT bool bitmapWritePng(const CBitmap& bitmap, const wchar_t* path) noexcept;

/// Reads path into bitmap (which must not be created yet); false for a missing or malformed file.
QOR_EXPORT bool bitmapReadPng(CBitmap& bitmap, const wchar_t* path) noexcept;

namespace detail {

/// Decodes PNG bytes into surface; alpha, when not null, receives width x height alpha bytes (255 for
/// images without alpha). Fails with BadInput for malformed data and TooLarge for oversized images.
Status decodePng(std::span<const unsigned char> bytes, Surface& surface, std::vector<unsigned char>* alpha);

/// Appends the PNG file of surface (as bitmapWritePng writes it) to out; out is unchanged on failure.
Status encodePng(const Surface& surface, std::vector<unsigned char>& out);

} // namespace detail
} // namespace QOR
