#pragma once

#include "qor/kernel/base/export.h"

namespace QOR {

/// The library's version as "major.minor.patch"; a static string.
QOR_EXPORT const char* version() noexcept;

} // namespace QOR
