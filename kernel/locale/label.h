#pragma once

#include "qor/kernel/base/export.h"

class CQorString;

// A label is one text in several languages, held in one string so that it can live wherever a text can
// (a data item, the registry, a material library):
//
//     \de:Blech\en:Sheet metal
//
// Each entry is a backslash, a language code (QOR::dlCountries; the code holds no backslash or colon),
// a colon and the text. Inside the text a backslash is written twice; every other character, newlines
// included, stands as it is. A single backslash therefore always starts the next entry, and any text
// survives a round trip unchanged. A string that does not begin with a backslash is a plain text: the
// same text in every language.

namespace QOR {

/// Sets the text of language `country` (null: the current language, QOR::msgLangSet) in `label`,
/// replacing that language's entry in place or appending one; a null or empty text removes the entry.
/// A plain text in `label` first becomes the entry of the current language. Codes compare without
/// regard to case; a code of the country table is stored as the table spells it. False, leaving the
/// label unchanged, for a code that is empty or holds a backslash or colon, or when memory runs out.
QOR_EXPORT bool label_set(CQorString& label, const wchar_t* text, const wchar_t* country) noexcept;

/// The text of language `country` (null: the current language) in `label`: true with the text in
/// `text`; false with `text` emptied when the label has no entry for it (or is null or empty). A plain
/// text is returned whatever the language. Entries that do not follow the form above are skipped.
QOR_EXPORT bool label_get(const wchar_t* label, CQorString& text, const wchar_t* country) noexcept;

} // namespace QOR
