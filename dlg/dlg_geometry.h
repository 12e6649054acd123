#pragma once

// Remembered dialog geometry as pure functions: the clamp applied before saving and the packing of the
// stored values.
//
// Conventions
//  - Screen pixels, y down; RECT right/bottom outside.
//  - "Pos" holds x in the low 16 bits and y in the high 16 bits, "Size" the width and the height the
//    same way; the words read back unsigned.

#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

namespace QOR::detail {

/// The rectangle to save for a dialog at window on a desktop: its left and top moved inside the desktop
/// (at least 0, and so that the right and bottom edges do not pass the desktop's), its width and height
/// unchanged.
QOR_UI_EXPORT RECT clampToDesktop(const RECT& window, const RECT& desktop) noexcept;

/// Two 16-bit words in one DWORD: low in bits 0..15, high in bits 16..31 (each cut to 16 bits).
constexpr DWORD packWords(LONG low, LONG high) noexcept {
    return (DWORD(low) & 0xFFFFu) | ((DWORD(high) & 0xFFFFu) << 16);
}
constexpr LONG lowWord(DWORD packed) noexcept {
    return LONG(packed & 0xFFFFu);
}
constexpr LONG highWord(DWORD packed) noexcept {
    return LONG(packed >> 16);
}

} // namespace QOR::detail
