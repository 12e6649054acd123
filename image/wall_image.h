#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The image of the wall being edited: prepares the options of the generator registered under "WALL"
/// (the host's; see qor_gdx_image_wall for the stand-in) and draws wall with it.
///  - The wall being edited is the configuration's "*WALL_EDIT*\BT" (int). When wall has walls under "SN"
///    and none is numbered so, the first of them is taken instead.
///  - The options (a scratch data set, released afterwards) get "VL", the configuration's
///    "*WALL_EDIT*\VL" (the polyline being edited, empty when missing); "ACT", the wall's number, when the
///    configuration's "*WALL_EDIT*\MODE" is "SHELL", or is "CORNER" while the wall's "CORNER\MODE" is
///    "SHELL"; and "COORD" = 1.
///  - "WALL" is called only when a wall number was configured or taken from the walls; its answer is the
///    answer. False otherwise, for a null gdx, and when no "WALL" generator is registered.
QOR_OBJECTS_EXPORT bool qor_wall_edit_image(CQorGDX* gdx, QOR::CDtaFilePointer* wall) noexcept;

/// A stand-in for the host's "WALL" generator, so that walls can be drawn without a CAD program: each wall
/// of "SN" in plan, its "VL" outline as a polyline item in the colour of its layer "PART" ("KONTUR" when it
/// has none) with flags ("CMODE" & 15) << 8 — the wall numbered "ACT" (int option) with colour mode 1 and
/// filled in that colour (flags 0x11) — then the options' "VL" (the polyline being edited) with flags
/// 0x500, and with "COORD" (bool or int) a point item at the origin (flags 0x400). Items have empty paths
/// and the identity matrix. True when an item was added; false for a null gdx or object.
QOR_OBJECTS_EXPORT bool qor_gdx_image_wall(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                           QOR::CDtaFilePointer* options) noexcept;
