#pragma once

#include "qor/objlib/export.h"
#include "qor/platform/win_types.h"

class CQorDataItem;
class CQorGDX;

/// A slide as display-list items: slide name from the slide library library (QOR::CGdxSld::load and
/// convert with flags and parm: the item path and matrix, see slide/gdx_sld.h). The name "LEER" (in any
/// mixture of cases) stands for no slide: one point item at the origin with flags 4 (hidden; it keeps
/// the place in the extents), an empty item path, the default colour, point size 0.0, point mode
/// 0xFFFFFFFF; true. False for a null gdx or name, a missing library, a slide that cannot be loaded or
/// that gives no item.
QOR_OBJECTS_EXPORT bool qor_gdx_image_sld(CQorGDX* gdx, const wchar_t* name, const wchar_t* library,
                                          DWORD flags, CQorDataItem* parm) noexcept;
