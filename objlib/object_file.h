#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorDataItem;
class CQor_Solid;

namespace QOR {

class CDtaFilePointer;

// Kernel objects as files: the JSON form of the object's root item (kernel/data/data_json.h), whose
// "KIND" names the schema it follows (objlib/README.md). Kinds known: "DRILL" (a drilling), "HOLE" (a
// hole pattern), "WALL" (walls), "FSHEET" (a formed sheet), "BAR" (a bar), "EXTR" (an extrusion), "BGR"
// (an assembly), "NM" (a standard part).

/// Checks a root item against the schema of its "KIND". False for a null or non-directory item, an
/// unknown kind or a key that breaks the schema; badKey and reason (when given) then name the key (a path
/// such as "HEAD\DIA", or "KIND") and say what is wrong, in English.
QOR_OBJECTS_EXPORT bool objCheck(const CQorDataItem* root, CQorString* badKey = nullptr,
                                 CQorString* reason = nullptr) noexcept;

/// Opens the kernel object file path (QOR::dtaOpen with kDtaFile and flags) and checks it with objCheck.
/// On failure object is closed and message (when given) receives one line naming the file and the key:
/// "<path>: <key>: <reason>", or "<path>: <reason>" when the file cannot be read as JSON.
QOR_OBJECTS_EXPORT bool objOpen(const wchar_t* path, int flags, CDtaFilePointer& object,
                                CQorString* message = nullptr) noexcept;

/// Replaces the bodies of solid by those of the object whose root item is root (its kind's schema);
/// building is left to solid.solid(). Kinds with a model: "DRILL" and "NM". False, with solid cleared, when
/// root does not pass objCheck or the modeller refuses a body.
QOR_OBJECTS_EXPORT bool objModel(CQor_Solid& solid, const CQorDataItem* root) noexcept;

/// Completes the generated data of an item that describes a drilling or an outline, so that it stands
/// on its own as an object: a hole element's "GEN" of "TYPE" "DRILL" gets "KIND" "DRILL" (the form
/// objCheck and objModel take, and what a host's object image is handed); one of "TYPE" "OUTLINE" gets
/// "VL", its polyline (g_outline in the units it is stored in). A drilling object ("KIND" "DRILL") is
/// complete as it is. A standard part's item (one with "NORM") gets "KIND" "NM". flag 0 writes, any other
/// flag only checks. True when item describes a drilling that passes the drilling schema or an outline that
/// g_outline makes; false otherwise, changing nothing.
QOR_OBJECTS_EXPORT bool objGen(CQorDataItem* item, int flag) noexcept;

} // namespace QOR
