#pragma once

#include "qor/objlib/export.h"

class CQorDataItem;
class CQorGDX;

namespace QOR {

/// Installs qor_object_image as the default host's object image (QOR::setDefaultObjectImage), so that
/// generators that hand an object to the host draw something real without a CAD program, and registers
/// the host function "qor_gdx_image_extr" (QOR::extrSectionHostFcn, removed again at unload). Loading
/// qor_objects does this already; a program that links the library statically, or that installed another
/// image in between, calls it. Idempotent.
QOR_OBJECTS_EXPORT void objectsInit() noexcept;

} // namespace QOR

/// The default host's image of a kernel object (CQorApp::objectImage): a drilling (a root of "KIND"
/// "DRILL", or a hole element's "GEN" of "TYPE" "DRILL") or an outline element's "GEN" ("TYPE"
/// "OUTLINE"), placed by the parameter item's "MTX" (object to world; identity when missing) and seen in
/// the object's "VIEW" (a QOR::NormView; the top view when there is none).
///  - A drilling: its solid (QOR::objModel after QOR::objGen on a copy) projected with exact hidden-line
///    removal. Visible edges become polyline items with flags ("CMODE" & 15) << 8, hidden ones the same
///    in the dashed line type {1.0, 1.0, 0.0}; both in the colour of the object's layer "PART_SOLID",
///    else "BOHRUNG" (QOR::layer_color).
///  - An outline: its polyline (QOR::g_outline), one polyline item with those flags on layer "KONTUR".
/// Items carry "STACK" (int array, empty when missing) as their path, the identity matrix and line-type
/// scale 1.0, in view coordinates (QOR::g_mtx_view_dir). False, adding nothing, for a null gdx or object,
/// an object that is neither, a model matrix that is not a rotation with a uniform scale, or a modeller
/// failure.
QOR_OBJECTS_EXPORT bool qor_object_image(CQorGDX* gdx, const CQorDataItem* object,
                                         const CQorDataItem* parm) noexcept;
