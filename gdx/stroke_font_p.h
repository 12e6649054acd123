#pragma once

// Internals of the stroke font: the generated glyph table (stroke_font_data.cpp) and how it fills a map.

#include <span>

#include "qor/gdx/display_item.h"
#include "qor/kernel/base/map_templ.h"

namespace QOR::detail {

/// A glyph table in flat form, as tools/make_stroke_font.cpp writes it.
///  - layout: per glyph its character code and number of shapes; per shape its number of loops (outer
///    first); per loop its number of corner points.
///  - points: x and y of every corner, loop after loop in layout order; a loop closes from its last corner
///    back to its first.
///  - routineGlyphs: how many consecutive glyphs each builder routine inserts, in the order they run.
struct StrokeFontTable {
    std::span<const int> layout;
    std::span<const double> points;
    std::span<const int> routineGlyphs;
};

/// The built-in font (DejaVu Sans outlines thinned to coarse polygons).
extern const StrokeFontTable kStrokeFont;

using StrokeFontMap = CQorMapTempl<wchar_t, CQorStrokeGroups>;

/// Runs the builder routines of table in order; each inserts its glyphs one by one, a later definition of
/// a character replacing an earlier one. Returns the number of definitions inserted, or -1 (map then
/// partly filled) when the table is malformed: counts that are not positive or run past the arrays. Throws
/// std::bad_alloc like the map.
int fillStrokeFontMap(StrokeFontMap& map, const StrokeFontTable& table);

} // namespace QOR::detail
