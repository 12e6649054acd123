#pragma once

#include "qor/kernel/data/resbuf.h"
#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {
class CDtaFilePointer;
}

/// The image of an extrusion, a generator for the registry (image/registry.h). The host draws it: this
/// generator makes a display list in the display-list registry (gdx/registry.h), calls the host function
/// "qor_gdx_image_extr" with the arguments (key root options) - the list's key as an RTLONG, the
/// object's root and the options' root each as one LISP list (an object without a root passes the empty
/// list, options that are no directory nil) - and copies what the host drew into gdx, whose projection
/// becomes the identity. The temporary list is removed after a successful copy; when the host drew
/// nothing it stays in the registry (the host may want to look at it) and the answer is false. False
/// also without gdx or object, or when no list can be made.
QOR_OBJECTS_EXPORT bool qor_gdx_image_extr(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                           QOR::CDtaFilePointer* options) noexcept;

namespace QOR {

/// The default host's "qor_gdx_image_extr": draws the section of an extrusion ("KIND" "EXTR",
/// objlib/README.md) into the registry list whose key args gives, in the arguments described above.
/// Each region of the section becomes a region item in the colour of the layer "PART_CON" ("KONTUR"
/// when absent): flags 0x10, or 0x12 hatched with "HPNAME" ("HPSCALE", "HPANG") filled in "PART_FILL"'s
/// colour; the options' "MTX" is every item's matrix. RTNORM when the section was drawn, RTERROR for
/// arguments of another shape, an unknown key or an object without a section. qor_objects registers it
/// with QOR::setHostFcn when it loads (and QOR::objectsInit again); a host of its own answers the
/// function itself.
QOR_OBJECTS_EXPORT int extrSectionHostFcn(const resbuf* args, resbuf*& result) noexcept;

} // namespace QOR
