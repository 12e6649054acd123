#pragma once

#include "qor/kernel/base/color.h"
#include "qor/kernel/data/data_item.h"

namespace QOR::detail {

/// Reads a configured colour: an int is a colour index; a directory is a complete colour ("COLOR"
/// index, optional "RGB" true colour 0x00RRGGBB as a number or decimal text, optional "BOOK" and
/// "NAME"). color becomes a default colour first; false (color left default) when entry is null or
/// neither form.
bool readColorEntry(const CQorDataItem* entry, CQorColor& color);

/// The configuration entries of colour-table slots 1 to 5.
extern const wchar_t* const kColorTableKeys[5];

} // namespace QOR::detail
