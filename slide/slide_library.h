#pragma once

// The directory of a slide library (.slb): which slides it holds. CSlide::show(name, library) loads one.

#include <string>
#include <vector>

#include "qor/kernel/base/export.h"

namespace QOR {

/// The names of the slides in the library file, in directory order, converted from code page 1252. A
/// name that fills all 32 bytes of its entry is left out: a lookup can never find it. False, names
/// unchanged, when the file cannot be read; a file that holds no directory gives true and no names.
QOR_EXPORT bool slideLibraryNames(const wchar_t* library, std::vector<std::wstring>& names) noexcept;

} // namespace QOR
