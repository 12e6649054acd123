#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorDataItem;
class CQorDataKey;

// A hole pattern as a kernel object ("KIND": "HOLE"; the schema is in objlib/README.md): elements under
// "BT", each an outline, a drilling or a set of polylines, with the drawing settings of the whole pattern
// under the empty key ("DRAW", layers, hatch).

namespace QOR {

/// True when key names a hole element: a text key or an entity handle key. Children of "BT" under other
/// keys (short integers) are no elements; readers skip them.
QOR_OBJECTS_EXPORT bool isHoleElementKey(const CQorDataKey& key) noexcept;

/// Checks a hole pattern's root item. False when a key breaks the schema; badKey (when given) then
/// receives the key's path ("BT\A1\GEN\DIA") and reason the reason in English.
QOR_OBJECTS_EXPORT bool holeCheck(const CQorDataItem* root, CQorString* badKey = nullptr,
                                  CQorString* reason = nullptr) noexcept;

} // namespace QOR
