#pragma once

// The icon of the library's dialog captions, from the icons embedded in the library (icon groups 2000 to
// 2005 and 2007, platform/resources.h).

#include <wx/icon.h>

#include "qor/kernel/base/string.h"

#include "qor/render/ui/export.h"

namespace QOR {

/// The caption icon: 2007 when the configuration's "*APPL*" holds "TRQ" (any case), else 2000 (also
/// when the item is missing, holds no text or an unknown code). A null icon when it cannot be loaded.
QOR_UI_EXPORT wxIcon appIcon() noexcept;

/// Embedded icon group `number` at widthPx x heightPx as a wx icon, transparent where its mask says;
/// a null icon when there is no such icon.
QOR_UI_EXPORT wxIcon iconFromResource(int number, int widthPx, int heightPx) noexcept;

namespace detail {
/// The number of the caption icon for the application code `appl` (null: none), as appIcon chooses it.
QOR_UI_EXPORT int appIconId(const wchar_t* appl) noexcept;
/// The application code held by the configuration's "*APPL*"; empty when there is none.
QOR_UI_EXPORT CQorString applCode();
} // namespace detail

} // namespace QOR
