#pragma once

#include <cstdint>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/string.h"

namespace QOR {

/// An AutoCAD entity name: two 64-bit words, as in the resbuf value rlname. Here the first word is the
/// number of an object in the library's object store (see dta_file.h) and the second is 0; the null name
/// (both 0) names nothing.
class QOR_EXPORT CAdsName {
public:
    std::int64_t name[2] = {0, 0};

    CAdsName() noexcept = default;
    explicit CAdsName(std::int64_t id) noexcept { name[0] = id; }

    bool isNull() const noexcept { return name[0] == 0 && name[1] == 0; }
    std::int64_t id() const noexcept { return name[0]; }
    /// The entity's handle: the object number in upper-case hexadecimal ("1F"), the text that handle keys
    /// (CQorDataKey::kHandle) carry. Empty for the null name.
    CQorString handle() const noexcept;
    /// The name whose handle is text (hexadecimal digits of either case); false, leaving name null, for
    /// anything else.
    bool setHandle(const wchar_t* text) noexcept;

    bool operator==(const CAdsName& other) const noexcept {
        return name[0] == other.name[0] && name[1] == other.name[1];
    }
    bool operator!=(const CAdsName& other) const noexcept { return !(*this == other); }
};

} // namespace QOR
