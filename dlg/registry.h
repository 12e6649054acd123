#pragma once

// The per-user store of small values that the library keeps between runs (dialog positions, labels
// copied between dialogs), addressed as registry keys are: "HKEY_CURRENT_USER\Software\...\Dialogs\NAME"
// with named values. On Linux the store is a wxFileConfig file, $XDG_CONFIG_HOME/qor/registry.ini
// (~/.config when the variable is unset); each key becomes a group, backslashes becoming group
// separators. A number keeps its 32-bit DWORD form, so packed values ("Pos": x in the low word, y in
// the high word) read back exactly as they were written.
//
// Each call opens the file, and a write replaces it atomically (written beside it, then renamed), so two
// programs of the product family never see half a file. UI thread only.

#include "qor/kernel/base/string.h"
#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

namespace QOR {

/// The application's key below HKEY_CURRENT_USER for `app` ("QOR" when null or empty):
/// "Software\VEL-MORA\" + app. Returns key.
QOR_UI_EXPORT const wchar_t* regAppKey(CQorString& key, const wchar_t* app) noexcept;

/// Reads the number `value` under `key` (a full key beginning with its root, "HKEY_CURRENT_USER\...").
/// False, leaving out unchanged, when the key, the value or the store is missing or the value is no
/// number.
QOR_UI_EXPORT bool regRead(const wchar_t* key, const wchar_t* value, DWORD& out) noexcept;
/// Reads the text `value` under `key`; false, leaving out unchanged, when it is missing.
QOR_UI_EXPORT bool regRead(const wchar_t* key, const wchar_t* value, CQorString& out) noexcept;

/// Writes the number `data` as `value` under `key`, creating the key; false when the store cannot be
/// written (or an argument is null or empty).
QOR_UI_EXPORT bool regWrite(const wchar_t* key, const wchar_t* value, DWORD data) noexcept;
/// Writes the text `data` as `value` under `key`, creating the key.
QOR_UI_EXPORT bool regWrite(const wchar_t* key, const wchar_t* value, const wchar_t* data) noexcept;

/// Removes `key` with its values and subkeys; true when nothing of it remains.
QOR_UI_EXPORT bool regDeleteKey(const wchar_t* key) noexcept;

namespace detail {
/// The file that holds the store (it need not exist yet).
QOR_UI_EXPORT CQorString registryFile();
} // namespace detail

} // namespace QOR
