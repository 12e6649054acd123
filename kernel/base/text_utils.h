#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/base/string.h"

namespace QOR {

/// Joins parts with separator between neighbours (a null separator joins without one). No parts give an
/// empty string.
QOR_EXPORT CQorString implode(const CQorArrayTempl<CQorString>& parts, const wchar_t* separator) noexcept;

/// Splits text at every character that occurs in separators and stores the pieces in parts (which is
/// cleared first); returns their number.
///  - keepEmpty: the piece between two neighbouring separators, and before a leading or after a trailing
///    one, is kept as an empty string, so that implode(parts, sep) gives text back for a one-character sep;
///    an empty text then gives one empty part. Without keepEmpty, empty pieces are dropped, as C's strtok
///    does.
///  - A null text gives no parts; a null or empty separators gives text as the only piece.
QOR_EXPORT int strTok(CQorArrayTempl<CQorString>& parts, const wchar_t* text, const wchar_t* separators,
                      bool keepEmpty = false) noexcept;

} // namespace QOR
