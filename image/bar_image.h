#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The cross-section of one bar element with its surfaces, pick points and sub-elements, a generator
/// for the registry (image/registry.h). The options' root names the element: "GRP" (the group, an item
/// of object's linked object) and "BT" (the element, an item of the group); "PICK\P1" and "PICK\P2"
/// are points to mark.
///
/// Drawn, in this order, all with empty paths, line type {1.0} and scale 1.0 (objlib/README.md, "Bars",
/// has the element's keys):
///  - each region of the element (its "XREF" profile through QOR::bar_regl, else its "REGL" or "VL"):
///    a region item, flags 0x10, default colours, identity, thickness 0;
///  - its surfaces "SURFACE\1", "SURFACE\2" and "SURFACE\TOTAL" (the outer loop of the first region),
///    each a directory with a non-empty polyline: a polyline item, flags 0, in its "COAT" colour (AutoCAD
///    colour 3 when it gives none), thickness 3;
///  - "P1" then "P2": point items, flags 0x100, default colour, point size -10.0, point mode 3;
///  - each sub-element (QOR::bar_bt_subs of object's root) found in the group: its regions, flags 0x510,
///    with the matrix E^-1 x S (E, S the element's and the sub-element's "MTX", else QOR::g_mtx_local).
/// True after drawing; false, drawing nothing, without gdx, object, options, a linked object, or when the
/// group or the element is missing or no directory.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bar_surface(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                                  QOR::CDtaFilePointer* options) noexcept;
