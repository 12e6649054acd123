#pragma once

#include "qor/objlib/export.h"

class CQorGDX;

namespace QOR {

class CDtaFilePointer;

/// An image generator: appends the items of object (an opened kernel object; its root item holds the
/// object's data) to gdx, reading drawing options from the root item of options (may be null). True when
/// something was drawn or the object was understood.
using GdxImageFcn = bool (*)(CQorGDX* gdx, CDtaFilePointer* object, CDtaFilePointer* options);

/// Registers fcn under name, replaces the function already registered under name, or with a null fcn
/// removes name (nothing happens when it is not registered). Names compare exactly, as CQorString's
/// == and < do. A null name changes nothing; an empty one is a name like any other.
///
/// The registry is one process-wide map kept in ascending name order (CQorMapTempl: room for 16 names,
/// doubling when full), made on first use and freed when the library unloads. The library registers no
/// name of its own: the host registers what it wants to draw by name, typically the exported generators
/// at start-up. No lock: the host's one UI thread registers and draws.
QOR_OBJECTS_EXPORT void setGdxImageFcn(const wchar_t* name, GdxImageFcn fcn) noexcept;

} // namespace QOR

/// Draws object into gdx with the generator registered under name, passing gdx, object and options on
/// unchanged (the generator checks them), and returns its result. False, with gdx untouched, for a null
/// name or a name that is not registered.
QOR_OBJECTS_EXPORT bool qor_gdx_image(const wchar_t* name, CQorGDX* gdx, QOR::CDtaFilePointer* object,
                                      QOR::CDtaFilePointer* options) noexcept;
