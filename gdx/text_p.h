#pragma once

// Internals of text items shared by the display list and its JSON form.

#include "qor/gdx/display_item.h"

namespace QOR::detail {

/// Lays text out from the stroke font into out (replaced): each character's glyph groups, oriented
/// counter-clockwise, placed left to right from point and shifted by the alignment code align. The rule
/// of CQorGDX::txtReglUpd; see gdx.h. Throws std::bad_alloc.
void layoutText(const CQorString& text, const CQorString& align, const CQorPoint3d& point,
                CQorStrokeGroups& out);

} // namespace QOR::detail
