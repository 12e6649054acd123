#pragma once

// Resources embedded in the library at build time (resource_data.cpp, written by tools/make_resources.py
// from the pictures drawn there), looked up by type and number as module resources are:
//  - icon groups (RT_GROUP_ICON) 2000 to 2005 and 2007: the library's own icons;
//  - icon groups 32512 to 32517: the standard system icons (application, error, question, warning,
//    information, system logo), which stand in for the ones a desktop would supply;
//  - cursor group (RT_GROUP_CURSOR) 4006: the pan cursor;
//  - type 256 (RT_SLIDE of slide/slide.h) 1: the demo slide, an AutoCAD slide file.
// Each resource's bytes are a whole file (ICO, CUR, SLD).

#include <cstddef>
#include <span>

#include "qor/kernel/base/export.h"
#include "qor/platform/bitmap.h"

constexpr int RT_GROUP_CURSOR = 12;
constexpr int RT_GROUP_ICON = 14;

// Numbers of the standard system icons.
constexpr int IDI_APPLICATION = 32512;
constexpr int IDI_HAND = 32513;
constexpr int IDI_QUESTION = 32514;
constexpr int IDI_EXCLAMATION = 32515;
constexpr int IDI_ASTERISK = 32516;
constexpr int IDI_WINLOGO = 32517;

namespace QOR {

/// The bytes of resource `number` of `type`, or an empty span. The bytes live as long as the library.
QOR_EXPORT std::span<const unsigned char> resourceFind(int type, int number) noexcept;

/// Loads icon group `number` (the library's icons or a system icon) as colour image and AND mask
/// (ico_codec.h), the image that best matches widthPx x heightPx, resampled to that size where it is
/// above 0. color and mask must not be created. False when there is no such icon.
QOR_EXPORT bool iconLoadResource(CBitmap& color, CBitmap& mask, int number, int widthPx,
                                 int heightPx) noexcept;

/// True for the numbers of the standard system icons (IDI_APPLICATION to IDI_WINLOGO).
constexpr bool isSystemIcon(int number) noexcept {
    return number >= IDI_APPLICATION && number <= IDI_WINLOGO;
}

namespace detail {

struct ResourceEntry {
    int type;
    int number;
    const unsigned char* bytes;
    std::size_t size;
};

extern const ResourceEntry kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

} // namespace detail
} // namespace QOR
