#pragma once

// Pictures of display items: an image file (".ico" or ".bmp") or an icon by number, loaded as a bitmap of
// a requested size; icons become opaque bitmaps on a background colour. And the copy of a bitmap onto a
// DC with its background colour left out.
//
// Conventions
//  - Sizes are device pixels. A bitmap handle owns its bitmap (the caller's, once returned).
//  - Colours are COLORREF values (0x00BBGGRR) passed as unsigned long, as the host's callers do.

#include <memory>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/string.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/dc.h"

/// An owning bitmap handle; null for none.
using HBITMAP = std::unique_ptr<CBitmap>;

/// Loads a picture as a 32-bit bitmap.
///  - A non-empty name is an image file, looked up with QOR::fileFind; by its found path's last four
///    characters, compared in lower case, ".ico" is read as an icon and ".bmp" as a bitmap, both from the
///    name as given and at width x height (0 keeps the file's size). Anything else, or a found path of
///    four characters or fewer, gives null.
///  - An empty name selects icon number (its low 16 bits): a standard system icon (IDI_APPLICATION ...) at
///    the system icon size, else the library's icon resource of that number at width x height.
///  - An icon becomes a bitmap of its own size filled with backColor, with the icon drawn over it through
///    its mask: transparent pixels show backColor. flag is set to false for icons and left alone otherwise.
/// Null when nothing can be loaded.
QOR_EXPORT HBITMAP qor_gdx_image_get_bitmap(const CQorString& name, int number, int width, int height,
                                            bool& flag, unsigned long backColor) noexcept;

/// The background colour of the bitmap selected into dc, whose size info gives: the most frequent colour
/// among the pixels (0, 0), (w - 1, 0), (0, h - 1), the centre (truncated) and (w - 1, h - 1); on a tie
/// the smaller colour value. CLR_INVALID for a null dc or info.
QOR_EXPORT unsigned long qor_gdx_picture_bkcolor_get(CDC* dc, BITMAP* info) noexcept;

/// Copies bitmap to (x, y) of dc at its own size, leaving out the pixels of its background colour
/// (qor_gdx_picture_bkcolor_get): those keep what dc shows. cx and cy are not used. dc's background and
/// text colours are the same afterwards. Does nothing for null arguments.
QOR_EXPORT void qor_gdx_picture_transparent(CDC* dc, int x, int y, int cx, int cy, CBitmap* bitmap) noexcept;
