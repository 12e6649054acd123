#pragma once

#include <cstdint>
#include <functional>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/base/obj.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/ads_name.h"
#include "qor/kernel/data/resbuf.h"
#include "qor/kernel/locale/units.h"

class CQorGDX;
class CQorDataItem;

/// The host application as the library sees it: the CAD program (or a stand-in) that the library runs
/// in. The library asks it for its settings and hands it the work that only the host can do.
///
/// A host derives from CQorApp and installs itself with QOR::qorAppSet(this); qorAppPtr() then returns it.
/// Until then (and after QOR::qorAppSet(nullptr)) a default host answers: see QOR::CDefaultApp.
///
/// Threads: the library calls the host only on a thread that called into the library (the one that
/// starts a paint, lays out a text, opens a dialog), never on the renderer's worker threads. A host that
/// paints from one UI thread sees every call there; one that paints from a second thread as well must
/// answer imageBkColor, drawingUnit and patternGet from either. The default host may be called from any
/// thread.
class QOR_EXPORT CQorApp : public CQorObj {
public:
    /// Background colour of preview images, an OLE colour (0x00BBGGRR).
    virtual std::uint32_t imageBkColor() = 0;
    /// The host's current length format (AutoCAD's LUNITS; never kFormatCurrent).
    virtual Qor::lFormat lengthFormat() = 0;
    /// The current drawing unit (AutoCAD's INSUNITS; never kUnitCurrent).
    virtual Qor::lUnit drawingUnit() = 0;
    /// The title of the host's message boxes.
    virtual CQorString msgBoxTitle() = 0;
    /// Fills definition with the hatch pattern called name: one entry per pattern line (angle in degrees,
    /// origin x and y, delta-x, delta-y, then dashes), lengths in the current drawing unit. False, with
    /// an empty definition, when the name is unknown.
    virtual bool patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& definition) = 0;
    /// Draws the object described by object into gdx. parm carries "MTX" (model matrix), "CMODE" (colour
    /// mode) and, for drillings, "STACK" (the item path of the new items). True when something was drawn.
    virtual bool objectImage(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) = 0;
    /// Lets the user select (or, for a scratch object, looks up) an entity of the given kind ("HOLE");
    /// flag is passed as the callers give it (true). True with entity set when one was found.
    virtual bool entitySelect(QOR::CAdsName& entity, const wchar_t* kind, bool flag) = 0;
    /// Runs the host function called name with the argument list args (may be null). result receives a
    /// new chain that the caller frees with qorRelRb (null when the function gives none). Returns the
    /// function's status: RTNORM (5100) for normal completion, RTERROR when no such function exists.
    virtual int callFunction(const wchar_t* name, const resbuf* args, resbuf*& result) = 0;
};

namespace QOR {

/// A host function: reads args (may be null), sets result to a new chain or leaves it null, and returns
/// a status (RTNORM on success).
using HostFcn = std::function<int(const resbuf* args, resbuf*& result)>;

/// The installed host, or the default host when none is installed; never null. Any thread.
QOR_EXPORT CQorApp* qorAppPtr() noexcept;

/// Installs app as the host (null reinstalls the default host) and returns the host that was installed
/// before. The library does not take ownership: app must outlive its installation, including any call
/// another thread started on it before the switch. Any thread (the pointer is atomic); a host installs
/// itself at start-up, before any other thread calls into the library.
QOR_EXPORT CQorApp* qorAppSet(CQorApp* app) noexcept;

/// Registers fn as the host function called name, replacing one of that name; an empty fn removes it.
/// Names compare without regard to case, as LISP symbols do. False for a null or empty name. Any thread:
/// the table is guarded by a mutex.
QOR_EXPORT bool setHostFcn(const wchar_t* name, HostFcn fn) noexcept;

/// Runs the registered host function called name (the default host's callFunction; a real host may use
/// it too). result is set to null first. RTERROR for an unknown or null name; a function that throws
/// counts as RTERROR too, with its result freed. Any thread; the function runs on the calling thread
/// without the table's lock held, so it may register or remove functions itself.
QOR_EXPORT int callHostFcn(const wchar_t* name, const resbuf* args, resbuf*& result) noexcept;

/// How the default host draws an object: CQorApp::objectImage's arguments and answer. Must not throw.
using ObjectImageFcn = bool (*)(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) noexcept;

/// Installs fcn as the default host's object image (null: none, the default host then draws nothing) and
/// returns the one installed before. qor_core has no solid modeller, so it leaves the image to a library
/// that has one: qor_objects installs its own when it is loaded (QOR::objectsInit) and removes it when it
/// unloads. A host of its own is not affected. Any thread (the pointer is atomic); the function must stay
/// callable while installed.
QOR_EXPORT ObjectImageFcn setDefaultObjectImage(ObjectImageFcn fcn) noexcept;

/// The host the library uses on its own, so that it works without a CAD program:
///  - imageBkColor: the configuration's "OLV_MENU\COLOR\BACKGROUND" (an AutoCAD colour index, or a
///    directory with "COLOR" and an optional true colour "RGB", 0x00RRGGBB as a number or as decimal
///    text), white when absent;
///  - lengthFormat, drawingUnit, msgBoxTitle: the configuration's "*QOR_HOST*\LUNITS", "INSUNITS" and
///    "TITLE", else decimal, millimetres and "Qor";
///  - patternGet: the bundled and configured pattern files (QOR::patternFind);
///  - objectImage: the object image installed with QOR::setDefaultObjectImage (qor_objects installs one
///    that draws drillings and outlines with its solid modeller), else false;
///  - entitySelect: false (there are no host entities to pick);
///  - callFunction: the registered host functions (QOR::callHostFcn).
/// Any thread: the configuration is read under its lock, the pattern cache has its own.
class QOR_EXPORT CDefaultApp final : public CQorApp {
public:
    std::uint32_t imageBkColor() override;
    Qor::lFormat lengthFormat() override;
    Qor::lUnit drawingUnit() override;
    CQorString msgBoxTitle() override;
    bool patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& definition) override;
    bool objectImage(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) override;
    bool entitySelect(CAdsName& entity, const wchar_t* kind, bool flag) override;
    int callFunction(const wchar_t* name, const resbuf* args, resbuf*& result) override;
};

} // namespace QOR
