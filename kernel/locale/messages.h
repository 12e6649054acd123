#pragma once

#include "qor/kernel/base/export.h"

// Message catalogues: user-visible texts by message key, per language.
//
// A catalogue is a UTF-8 JSON file holding one object of key -> text, named <family>_<code>.json in the
// folder "messages" of the resources (found with QOR::fileFind, so a file on the configured search
// path overrides the bundled one). The family is the lower-case message prefix without its trailing
// underscore: the prefix "QOR_" reads qor_de.json, qor_en.json ... Each catalogue is loaded on first use
// and kept for the life of the process; a missing or malformed file counts as an empty catalogue.
//
// Threads: every function here may be called from any thread. The catalogues are loaded under a mutex
// and never change afterwards; the current language is one atomic pointer, so a switch on one thread
// shows on the others with their next look-up (a text already handed out stays valid). The renderer's
// worker threads look nothing up: texts reach a display list as strokes when it is built.

/// The text of `key` in the language `country` (a code of QOR::dlCountries, any case; null or empty:
/// the current language). Looks in the language's catalogue of the prefix's family, then in that of
/// the language's fallback (QOR::Country_st::fallback), and gives `defaultText` when neither has the
/// key, when the language is unknown or when key is null. A null prefix means "QOR_".
///
/// The returned text belongs to the catalogue and stays valid for the life of the process (or is
/// `defaultText` itself).
QOR_EXPORT const wchar_t* qor_msg_get(const wchar_t* prefix, const wchar_t* key, const wchar_t* defaultText,
                                      const wchar_t* country) noexcept;

namespace QOR {

/// Sets the current language to `code` when it is a code of the country table (any case) and returns
/// the current language's code, as the table spells it (valid for the life of the process). Null or an
/// unknown code leave the language unchanged. The language starts as "de".
QOR_EXPORT const wchar_t* msgLangSet(const wchar_t* code) noexcept;

/// The title of the product's message boxes: the host application's title (qorAppPtr()->msgBoxTitle())
/// when it gives one, else the text of "QOR_TITLE" in the language `country` (null: the current
/// language). Valid until the next call on the same thread.
QOR_EXPORT const wchar_t* msgBoxTitle(const wchar_t* country) noexcept;

} // namespace QOR
