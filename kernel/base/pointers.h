#pragma once

#include <memory>

#include "qor/kernel/base/map_templ.h"

namespace QOR {

/// Shared ownership: the object is deleted with the last pointer. The standard library's shared pointer
/// under the library's name; objects derived from CQorObj are deleted through their class-level delete.
template <class T>
using CSharedPointer = std::shared_ptr<T>;

/// Sole ownership: the object is deleted with the pointer, unless `release` hands it on.
template <class T>
using CUniqPointer = std::unique_ptr<T>;

/// Associates addresses with addresses, for example a window or tree item with the object it shows. It owns
/// neither side: the caller keeps both alive and removes the key before the keyed object dies. Keys are
/// ordered by address (a total order, as `std::less` gives), so iteration order is stable but meaningless.
class CPtrMap : public CQorMapTempl<const void*, void*> {
public:
    /// The pointer stored under key; null when the key is absent (or null was stored).
    void* get(const void* key) const noexcept {
        void* const* value = find(key);
        return value ? *value : nullptr;
    }
};

} // namespace QOR
