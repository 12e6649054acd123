#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The section of a formed sheet, a generator for the registry (image/registry.h). The sheet's data is
/// the root of object's linked object (objlib/README.md, "Formed sheets"); its definition comes from the
/// sheet catalogue by its "STACK" (objlib/fsheet.h). The options' root may give "COORD" (bool: a marker
/// point, flags 0x400, at the origin).
///
/// A single sheet is drawn as its section: a contour (flags 0), a filled region (0x11, "DRAW" "L") or a
/// hatched one (0x12, "DRAW" "S", the pattern "HPNAME" scaled by "HPSCALE" and turned by "HPANG" radians)
/// in the colour of the layer "PART_CON", filled in "PART_FILL"'s; with "COATLINE" the two faces in the
/// colours "SURFACE\1" and "SURFACE\2" (each only when given; a definition with "COAT" paints both in
/// the first); with "AXIS" (unless the definition says otherwise) bend axes (QOR::fsheet_axis_vl) at x =
/// i x SEG for i = 0, 1, ... while i < N + 1, in the colour of "PART_CEN". The sheet's length L is N x
/// SEG, or 5 x |"D"| when either is 0 (objlib/fsheet.h has the geometry). A sandwich panel ("CALC"
/// "COMPOUND") draws its top and bottom sheets so, and its core and gaskets as regions on the layers of the
/// attribute classes "DM" and "DICHT" (hatched with their pattern when "IS_HATCH2" is set).
///
/// Every item has an empty path, line type {1.0}, scale 1.0, thickness 0; the section's items carry the
/// matrix that mirrors the sheet about x = L/2 when the definition's "HORIZONTAL" is -1, else the
/// identity. True once the definition was found, whatever was drawn; false, drawing nothing, without gdx,
/// object, a linked object or a definition.
QOR_OBJECTS_EXPORT bool qor_gdx_image_fsheet(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                             QOR::CDtaFilePointer* options) noexcept;
