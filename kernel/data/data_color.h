#pragma once

#include "qor/kernel/base/color.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/data/data_item.h"

// Colours in the data tree. A colour is stored either as a bare int (its AutoCAD colour index) or, when
// it carries more, as a directory: "COLOR" the index, "RGB" the true colour as 0x00RRGGBB (a number, or
// the decimal text that items coming from a host carry), "BOOK" and "NAME" the colour-book names.
// Writing uses the bare int when the colour is only an index.

namespace QOR {

/// Reads the colour at key below item (the item itself for an empty key). False, leaving color as it
/// was, for a null item, a missing entry, or an entry of neither form.
QOR_EXPORT bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, CQorColor& color) noexcept;

/// Writes color at key below item (the item itself for an empty key), replacing what was there.
QOR_EXPORT bool dataItemSet(CQorDataItem* item, const CQorDataKey& key, const CQorColor& color) noexcept;

} // namespace QOR
