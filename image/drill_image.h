#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The image of a drilling (a kernel object of kind "DRILL", objlib/README.md), a generator for the
/// registry (image/registry.h).
///
/// Options, read from the root of options when that is a directory: "CMODE" (int, 0), "MTX" (matrix,
/// identity), "COORD" (bool, false), "STACK" (int array, empty): the item path, to which the generator
/// appends one level 1 before it draws; every item it adds carries that path.
///
/// Object data: "VIEW" (a QOR::NormView as an int, none when absent) and "PART_SOLID" (layer of the edges,
/// "0").
///  - "VIEW" 3, the isometric view: the drilling's solid (QOR::objModel, CQor_Solid) is projected with
///    exact hidden-line removal into the view system x = (1, 1, 0) / sqrt 2, z = (1, -1, 1) / sqrt 3,
///    y = z x x (view coordinates; the drilling's axis shows upwards). Each visible edge becomes a
///    polyline item with flags 0 whatever "CMODE" says, in the colour of the layer (QOR::layer_color),
///    identity matrix, line type {1.0}, scale 1.0, thickness 0. Hidden edges are not drawn. False, with
///    nothing drawn, when the solid cannot be built or projected.
///  - Any other view: the host draws the drilling (CQorApp::objectImage) with a parameter item holding
///    "CMODE", "MTX" and "STACK" (the path with its new level); what it answers is not used. Then, with
///    "COORD", the last level of the path goes up by one and a point item marks the origin (flags 0x400,
///    default colour, point size 0.0, point mode 0xFFFFFFFF). True.
/// False for a null gdx.
QOR_OBJECTS_EXPORT bool qor_gdx_image_drill(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                            QOR::CDtaFilePointer* options) noexcept;
