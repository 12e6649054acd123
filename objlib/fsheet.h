#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/objlib/export.h"

class CQorDataItem;

// Formed sheets: bent sheet profiles (trapezoidal, sinusoidal) and sandwich panels of several layers.
//
// Conventions
//  - A sheet's section lies in its XY plane: X along the sheet's length (from 0 to L), Y up, lengths in
//    drawing units. The length L is the end x of the item's "VL" (one straight vertex from the origin).
//  - A profile repeats every "SEG" along X; its points run from x = 0 to x = SEG along the sheet's upper
//    face, a rib's centre at x = 0. Where the tiled profile passes x = L it is cut there.
//  - A sheet's section is one closed polyline: its upper line (coat line 1) from x = 0 to x = L, a
//    straight vertex down to the lower line, the lower line (coat line 2, the upper one moved by the
//    thickness "S" to the right of its direction) back to x = 0, and a straight vertex closing it. Both
//    coat lines have the same number of vertices n, so the section has 2n + 2 and its vertices n + 1 to
//    2n are the lower line from x = L back to 0.
//  - The item's "MTX" (optional) moves every polyline these functions make: a sandwich layer's place in
//    the panel.
//
// The catalogue: res/fsheets.json (found with QOR::fileFind, so a folder on the search path may hold
// another), a directory whose items are addressed by a sheet's "STACK", the texts of a path
// ({"TRAPEZ", "T35"} names "TRAPEZ\T35"). A definition holds "SEG", "N", "HORIZONTAL" and, under the
// empty key, "CALC", "AXIS", "COAT", "TYPE" (objlib/README.md), and one of:
//  - "FILLET_P": the profile's points with the fillet radius of each bend as its z; "POINTS": the
//    same without fillets (z ignored);
//  - "REGION": closed loops of one profile period, repeated along the sheet (gaskets, cores of ribs);
//  - "SANDWICH": the layers of a panel ("CALC" "COMPOUND"), with "THICK" (the sheet thicknesses by
//    sheet id: "THICK\<id>\S" the top sheet, "S_BOT" the bottom sheet);
//  - nothing of these: the profile is a function of x ("CALC" "SINUS": y = D/2 (1 + cos(2 pi x / SEG))
//    with D the item's "D"; anything else a flat sheet).

namespace QOR {

class CDtaFilePointer;

/// The catalogue's definition named by stack (a path of texts; an empty text is an empty path part),
/// or null when the catalogue has none or cannot be read. The catalogue is read on the first call; the
/// pointer stays valid until fsheetCatalogueLoad replaces it. Any thread.
QOR_OBJECTS_EXPORT const CQorDataItem* fsheet_get(const CQorArrayTempl<CQorString>& stack) noexcept;

/// Replaces the catalogue by the JSON file file (a data tree whose root is a directory; null: the bundled
/// res/fsheets.json again). False, keeping the catalogue in use, when the file cannot be read, is
/// malformed or is no directory. Invalidates every pointer fsheet_get gave.
QOR_OBJECTS_EXPORT bool fsheetCatalogueLoad(const wchar_t* file) noexcept;

/// The section of a sheet whose profile is a function of x (see above), and its two coat lines. item
/// holds "STACK", "VL", "S" (thickness, 0 when absent), "D" and optionally "MTX". list receives the
/// section. False, with the outputs emptied, when the definition is missing, SEG or L is not positive
/// and finite, or the sheet would need more than kMaxProfileVertices vertices.
QOR_OBJECTS_EXPORT bool fsheet_vll_fnc(const CQorDataItem* item, CQorArrayTempl<CQorVertexArray>& list,
                                       CQorVertexArray& coat1, CQorVertexArray& coat2) noexcept;

/// The section of a sheet bent along the points "FILLET_P" (with fillets) or "POINTS" of its definition,
/// and its coat lines; the item's keys and the failures are those of fsheet_vll_fnc. A fillet shrinks
/// where its neighbouring straight pieces are too short; the lower line's fillets are concentric with
/// the upper line's (radius + S outside a bend, radius - S, at least 0, inside).
QOR_OBJECTS_EXPORT bool fsheet_vll_fillet(const CQorDataItem* item, CQorArrayTempl<CQorVertexArray>& list,
                                          CQorVertexArray& coat1, CQorVertexArray& coat2) noexcept;

/// The definition's "REGION" loops repeated every SEG, each copy kept only when it lies within 0 <= x <=
/// L; then moved by "MTX". False, with list emptied, when the definition has no loops or a size fails
/// as in fsheet_vll_fnc.
QOR_OBJECTS_EXPORT bool fsheet_vll_region(const CQorDataItem* item,
                                          CQorArrayTempl<CQorVertexArray>& list) noexcept;

/// The core of a sandwich panel between the sections top and bottom (as the functions above make them,
/// already in the panel's place): one closed loop along the bottom section's upper line and the top
/// section's lower line, followed, as holes, by the outer loop of each region in regions that lies
/// inside it. item is not read (the core is where the sheets leave room, wherever its layer is placed);
/// it is taken for the same arguments as its siblings. False, with list emptied, when either section
/// lacks the structure above.
QOR_OBJECTS_EXPORT bool fsheet_vll_outline(const CQorDataItem* item, const CQorVertexArray& top,
                                           const CQorVertexArray& bottom,
                                           const CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>& regions,
                                           CQorArrayTempl<CQorVertexArray>& list) noexcept;

/// The sheet id of an opened formed sheet, which selects its thicknesses in a panel definition's "THICK":
/// the root's "SID" (an int), else 1, the first variant. -1 for a null or closed pointer.
QOR_OBJECTS_EXPORT int fsheet_sid(CDtaFilePointer* sheet) noexcept;

/// The bend axis of a sheet's polylines: a vertical line at their smallest x, reaching s beyond their
/// lowest and highest point. Empty when list has no vertex or a coordinate is not finite.
QOR_OBJECTS_EXPORT CQorVertexArray fsheet_axis_vl(const CQorArrayTempl<CQorVertexArray>& list,
                                                  double s) noexcept;

/// Most vertices one coat line may have; a longer sheet (L / SEG periods of the profile) is refused, so
/// that a huge length in a malformed object cannot exhaust memory.
constexpr int kMaxProfileVertices = 200000;

} // namespace QOR
