#pragma once

// The product family's system services that the dialogs use: the file of one of the family's libraries,
// and starting a program (the message server).

#include "qor/kernel/base/string.h"
#include "qor/render/ui/export.h"

namespace QOR {

/// The file of the family's library named by product, part and extension as the family names its
/// modules ("Qor", "Mfc", "Dll": the dialog library, this one; "Obj": qor_objects; any other part:
/// qor_core). out is the full path of the loaded module that holds it (the program itself when the
/// library is linked statically), true; when that library is not loaded, out is its bare file name
/// ("libqor_objects.so") and the result false. Null arguments give false and leave out unchanged.
QOR_UI_EXPORT bool appFileName(CQorString& out, const wchar_t* product, const wchar_t* part,
                               const wchar_t* extension) noexcept;

/// Starts command (a program and its arguments, split as a shell would without expanding anything).
/// noWait: returns once the program started (true when it did); otherwise waits for it to end and
/// returns whether it exited with status 0. showCmd is kept for callers and has no meaning here.
QOR_UI_EXPORT bool execute(const wchar_t* command, int showCmd, bool noWait) noexcept;

} // namespace QOR
