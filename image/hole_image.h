#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The image of a hole pattern (a kernel object of kind "HOLE", objlib/README.md), a generator for the
/// registry (image/registry.h).
///
/// Without an object the host is asked to pick one (CQorApp::entitySelect with "HOLE" and true), which
/// is then opened from the object store for reading and writing; when it picks none, nothing is drawn
/// and the answer is true.
///
/// Options, each read from the root of options when that is a directory (a key of another type keeps its
/// default): "ACT" (text, the name of the active element, empty), "MTX" (matrix, identity), "CMODE" (int,
/// 0), "COORD" (bool, false).
/// Pattern settings, under the empty key: "DRAW" ("F" fill, "S" hatch, anything else the contours only),
/// "PART_CON" (the contour layer), "PART_FILL" (the fill layer), "HPNAME", "HPSCALE", "HPANG" (the hatch:
/// pattern name, scale, angle in radians, as QOR::CHatchProp takes them).
///
/// Each element of "BT" (children under text or handle keys, in order; other keys are skipped) is placed
/// by M = options "MTX" x its own system (its "MTX", else QOR::g_mtx_local) and drawn in colour mode 1
/// when its name is "ACT", else in "CMODE":
///  - "GEN" a list of polylines, or of "TYPE" "OUTLINE" (QOR::g_outline): each polyline, moved by M,
///    becomes a polyline item with flags mode << 8 in the contour layer's colour; with "DRAW" "F" a
///    region item (flags 0x11) of that polyline follows, filled in the fill layer's colour, with "S" one
///    of flags 0x12 hatched with the pattern;
///  - "GEN" of "TYPE" "DRILL": QOR::objGen completes it and the host draws it (CQorApp::objectImage) with
///    a parameter item holding "MTX" = M and "CMODE" = mode;
///  - with "COORD": the active element's origin (M x origin) is marked by a point item (flags 0x100,
///    colour 7) before it is drawn, and every element adds a point item at the translation of the options'
///    "MTX" (flags 0x400, default colour).
/// Items have empty paths, the identity matrix, line type {1.0}, scale 1.0, thickness 0; points size 0.0
/// and mode 0xFFFFFFFF. True whenever gdx is given; false for a null gdx.
QOR_OBJECTS_EXPORT bool qor_gdx_image_hole(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                           QOR::CDtaFilePointer* options) noexcept;
