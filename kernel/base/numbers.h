#pragma once

#include "qor/kernel/base/export.h"

namespace QOR {

/// Reads a decimal number at the start of text, the way C's atof does in the "C" locale, whatever locale
/// the process runs in (the decimal point is always '.'):
///  - leading white space is skipped, then an optional sign, then digits with an optional fraction and
///    exponent, or "inf", "infinity", "nan" in any case; reading stops at the first character that does not
///    fit;
///  - no number (also a null text) gives 0.0; a value too large for a double gives +-infinity, one too
///    small gives +-0.0. At most the first 512 characters of the number are read.
QOR_EXPORT double atof(const wchar_t* text) noexcept;

/// Reads a decimal integer at the start of text like C's atoi: leading white space, an optional sign,
/// digits. No digits (also a null text) gives 0. A value outside the int range is clamped to INT_MIN or
/// INT_MAX instead of being undefined behaviour.
QOR_EXPORT int atoi(const wchar_t* text) noexcept;

/// A quiet NaN: the library's mark for "no value" in double fields.
QOR_EXPORT double nan() noexcept;
/// True when value is a NaN (of any kind).
QOR_EXPORT bool isNan(double value) noexcept;

} // namespace QOR
