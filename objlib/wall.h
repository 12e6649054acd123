#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorDataItem;

// Walls as a kernel object ("KIND": "WALL"; the schema is in objlib/README.md): the walls under "SN",
// numbered by short keys, each with its outline in plan, and the corner settings under "CORNER".

namespace QOR {

/// Checks a wall object's root item. False when a key breaks the schema; badKey (when given) then
/// receives the key's path ("SN\2\VL") and reason the reason in English.
QOR_OBJECTS_EXPORT bool wallCheck(const CQorDataItem* root, CQorString* badKey = nullptr,
                                  CQorString* reason = nullptr) noexcept;

} // namespace QOR
