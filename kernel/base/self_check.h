#pragma once

#include "qor/kernel/base/export.h"

namespace QOR {

/// Runs a few quick checks of the foundation types as built (container access rules, matrix algebra).
/// Returns null when all hold, otherwise a static text naming the first that failed.
QOR_EXPORT const char* selfCheck() noexcept;

} // namespace QOR
