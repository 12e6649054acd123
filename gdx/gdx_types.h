#pragma once

// Kinds, colour modes and flag bits of display items, shared by the display list, its renderer and the
// image generators.

#include <cstdint>

#include "qor/platform/win_types.h"

/// Kind of a display item; a 32-bit value. Value 0 is a default-constructed item (nothing to draw) and
/// value 4 is neither produced nor drawn.
enum QorDisplayObj : std::int32_t {
    QorDisplayVl = 1,      ///< polyline: the item's vertex array
    QorDisplayPt = 2,      ///< point: the item's point
    QorDisplayReg = 3,     ///< region: closed boundaries, the first one the outer
    QorDisplayTxt = 5,     ///< text: glyph stroke groups built from its text
    QorDisplayPicture = 6, ///< picture: a name or resource number, optionally a device rectangle
};

namespace QOR {

/// Which colour an item is drawn in; kept in bits 8-11 of the item flags, so 0 to 15. Modes 6 to 14 have
/// no name: they read colour-table slots that only ColorTabSet fills. The type is a plain int-based enum
/// because callers pass any int and the display list masks it to four bits.
enum GdxColorMode : int {
    GdxColorOwn = 0,       ///< the item's own colour (no colour: the complement of the background)
    GdxColorHighlight = 1, ///< colour-table slot 1; drawn above the rest
    GdxColorRefer = 2,     ///< colour-table slot 2; drawn above normal items
    GdxColorAxis = 3,      ///< slot 3
    GdxColorBase = 4,      ///< slot 4
    GdxColorAux = 5,       ///< slot 5
    GdxColorInverse = 15,  ///< the complement of the background colour
};

// Item flag bits (the low byte of the flag word).
constexpr DWORD GdxItemFill = 0x01;       ///< region: filled solid in the fill colour
constexpr DWORD GdxItemHatch = 0x02;      ///< region: filled with its hatch pattern
constexpr DWORD GdxItemHidden = 0x04;     ///< not drawn (still counted in the extents and picked)
constexpr DWORD GdxItemNoExtents = 0x08;  ///< not counted in the extents
constexpr DWORD GdxItemOutline = 0x10;    ///< region: boundary drawn with the item pen as well
constexpr DWORD GdxItemPictureFit = 0x20; ///< picture: corner points ignored, fills the view
constexpr DWORD GdxItemPictureOpt = 0x40; ///< picture: flag handed to the picture loader
constexpr DWORD GdxItemAnchored = 0x80;   ///< drawn at a fixed scale around its anchor; never in the extents

/// Bits 8-11 of the flag word hold the colour mode.
constexpr DWORD kGdxColorModeShift = 8;
constexpr DWORD kGdxColorModeMask = 0xF00;

/// The colour mode stored in a flag word.
constexpr GdxColorMode gdxColorMode(DWORD flags) noexcept {
    return GdxColorMode((flags & kGdxColorModeMask) >> kGdxColorModeShift);
}

/// Point mode of an item that follows the list's default.
constexpr DWORD kGdxPdModeDefault = 0xFFFFFFFF;
/// Picture number of a picture item that has none (its name is used instead).
constexpr DWORD kGdxNoPictureNumber = 0x7FFFFFFF;

} // namespace QOR
