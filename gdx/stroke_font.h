#pragma once

// The built-in stroke font: outline glyphs that text items are laid out from (CQorGDX::imageTxt).
//
// Conventions (glyph cell)
//  - A glyph is CQorStrokeGroups: one group per separate shape of the character (the bar and the dot of
//    "!" are two), each group an array of closed straight-segment polylines, the outer outline first and
//    its holes after it (the counter of "A").
//  - Coordinates: baseline y = 0, capital height y = 1.0, x grows to the right from the glyph origin and
//    includes the glyph's left side bearing; z = 0. Values carry six decimals.
//  - Outer outlines run counter-clockwise and holes clockwise as stored; the layout orients every loop
//    counter-clockwise before placing it, so a renderer fills a group with the alternate rule.

#include "qor/gdx/display_item.h"
#include "qor/kernel/base/export.h"

/// A copy of the glyph of c, or an empty array when c has none. The font holds the printable ASCII
/// characters "!" to "~" except the grave accent, and the Latin-1 characters ± ² ³ º ¼ ½ ¾ Ä ä Ö ö Ü ü ß
/// (107 glyphs); the space has none. The first call fills the process-wide font map, which then lives
/// until the library is unloaded. An empty array also when memory runs out. Any thread: the fill runs
/// once under a lock, and the filled map is only read, without one.
QOR_EXPORT CQorStrokeGroups get_ascii_from_map(wchar_t c);
