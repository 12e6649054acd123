#pragma once

#include "qor/objlib/export.h"

class CQorGDX;
class CQorMatrix3d;

/// A coordinate-system icon for the view orientation view (its axes are the world axes as the view shows
/// them): for each of X, Y, Z whose axis of view does not point straight at the viewer (equal to +Z
/// within CQorVector3d::tol), a polyline from the origin 0.15 along that axis (turned by view) and a text
/// "X", "Y" or "Z" laid out by the host (qor_text_to_regl: "HEIGHT" 0.04, "ALIGN" "CC", item height 20.0)
/// at 0.19 along it. Both have flags 0x580 (anchored, auxiliary colour), an empty item path, the default
/// colour; the polyline the identity matrix, the text a translation. A text the host does not lay out is
/// left out. The icon's comparisons need CQorVector3d::tol at 0.001: the first call sets it so, once,
/// which is why it belongs to start-up (see CQorVector3d::tol). False only for a null gdx.
QOR_OBJECTS_EXPORT bool qor_gdx_image_ucs(CQorGDX* gdx, const CQorMatrix3d& view) noexcept;
