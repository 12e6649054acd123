#pragma once

#include "qor/kernel/base/export.h"

namespace QOR {

/// One record of the country table: four pointer-sized fields, code and display name first.
///
/// The code names a language for message lookup and labels ("de", "en", ...; ISO 639-1, lower case).
/// Message catalogues are found by it (res/messages/<prefix>_<code>.json, see qor_msg_get), labels store
/// their texts under it (label_set), and msgLangSet takes it.
struct Country_st {
    const wchar_t* code;        // null ends the table
    const wchar_t* name;        // display name, in the language itself ("Deutsch")
    const wchar_t* englishName; // the language's English name ("German")
    /// The code whose catalogue stands in when this language's catalogue lacks a key (or there is
    /// none), before the caller's default text; null when the default text is the next choice. German
    /// needs none (the defaults are German), English falls to them, every other language to English.
    const wchar_t* fallback;
};

/// The country table: one record per language the product knows, German first, ended by a record
/// whose code is null. Static; valid for the life of the process.
QOR_EXPORT const Country_st* dlCountries() noexcept;

/// The table's record for code (compared without regard to case), or null for null, empty or unknown
/// codes.
QOR_EXPORT const Country_st* countryFind(const wchar_t* code) noexcept;

} // namespace QOR
