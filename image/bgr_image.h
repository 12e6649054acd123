#pragma once

#include "qor/objlib/export.h"

class CQorColor;
class CQorDataItem;
class CQorGDX;
class CQorMatrix3d;

namespace QOR {
class CDtaFilePointer;
}

// The image of an assembly (a kernel object of kind "BGR", objlib/README.md): each element projected with
// hidden-line removal, its visible edges (and, in colour mode 1, its hidden edges) as polylines in view
// coordinates; or the whole assembly as one solid. Matrices: mtx takes an element's coordinates to
// world coordinates; view takes world coordinates to view coordinates. Every item gets an empty item
// path, the identity matrix, line type {1.0}, scale 1.0, thickness 0 and its anchor at the origin.
// Flags: the colour mode as (CMODE & 15) << 8; hidden edges 0x500; the active element's base point 0x100;
// the options' origin 0x400. Nothing throws; false means a precondition failed or nothing was drawn.

/// The generator for the registry (image/registry.h). Options, read from the root of options: "VIEW"
/// (text, a view name of QOR::g_mtx_view_dir), "FULL" (bool), "ACT" (text, the active element), "CMODE"
/// (int), "COORD" (bool), "MTX" (matrix), "UCS" (present: a coordinate-system icon), "GEN_STAT",
/// "BGR_STAT", "BGR_STAT2" (ints handed to the object library). "FULL" draws the visible edges of the
/// whole assembly as one solid (no hidden edges, no icon); otherwise every element is drawn and then,
/// with "UCS", the icon of the view ("E" shown as "W"). False for a null gdx or object.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                          QOR::CDtaFilePointer* options) noexcept;

/// Draws every element of objectData in the order of the element map (qor_bgr_strong): each with its
/// merged data, its units ("DEFUNIT", "INSUNIT") in its parameters, "COORD" kept only for the element
/// named by parm's "ACT" when there are several, placed by QOR::getBtTransformation(mtx, d0, d1). True
/// when gdx, objectData, status and a directory parm are given, whatever each element gave.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr(CQorGDX* gdx, CQorDataItem* objectData, CQorDataItem* status,
                                          CQorMatrix3d& mtx, const CQorMatrix3d& view, CQorDataItem* parm,
                                          double d0, double d1) noexcept;

/// Draws one element (dispatching on its "TYPE"), with a base-point marker when parm has "CMODE" 1 and
/// "COORD". False for a failed QOR::checkBt, an unknown type, an mtx or view that is not finite and
/// invertible, or a member that fails.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_bt(CQorGDX* gdx, const CQorDataItem* element, CQorMatrix3d& mtx,
                                             const CQorMatrix3d& view, const CQorDataItem* parm) noexcept;

/// The common drawing step: the element's projected edges, visible ones in visible (flags from parm's
/// "CMODE"; 0 from 16 up), hidden ones only with "CMODE" 1, in hidden with flags 0x500.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_obj(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                              const CQorMatrix3d& view, CQorDataItem* parm,
                                              const CQorColor& visible, const CQorColor& hidden) noexcept;

/// The members, one per element type; each needs gdx and directories data and parm. Those that add
/// drillings ("ANGLE", "EXTR", "SHEET" of "SCONS" "EDGE" and "EDGE_N") write "NO_DRILL" 1 into parm and
/// draw each drilling as an element of its own; "EDGE" also writes "MTX_PR" (the view).
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_angle(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_compound(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                   const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_drill(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_edge(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                               const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_edge_n(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                 const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_extr(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                               const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_hatch(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_nm(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                             const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_path(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                               const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_rot(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                              const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_scord(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_sheet(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
                                                const CQorMatrix3d& view, CQorDataItem* parm) noexcept;
/// A slice: an axis symbol (the slice outline and a line 10 long up its Z axis) in the default colour,
/// in colour mode 3 when parm has none.
QOR_OBJECTS_EXPORT bool qor_gdx_image_bgr_slice(CQorGDX* gdx, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                                                CQorDataItem* parm) noexcept;
