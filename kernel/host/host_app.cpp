#include "qor/kernel/host/host_app.h"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

#include "qor/kernel/base/color.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_access.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/host/pattern_source.h"

namespace QOR {

namespace {

using detail::guarded;

// Read by every thread that asks for the host, so atomic; null while the default host answers.
std::atomic<CQorApp*>& installedApp() {
    static std::atomic<CQorApp*> app{nullptr};
    return app;
}

// Stateless: it answers from the configuration, the pattern cache and the function table, each locked.
CDefaultApp& defaultApp() {
    static CDefaultApp app;
    return app;
}

// The default host's object image; null until a library with a modeller installs one.
std::atomic<ObjectImageFcn>& defaultObjectImage() {
    static std::atomic<ObjectImageFcn> fcn{nullptr};
    return fcn;
}

// Host functions by upper-case name, with the lock every access to them holds.
struct HostFunctions {
    std::mutex lock;
    std::map<std::wstring, HostFcn> byName;
};

HostFunctions& hostFunctions() {
    static HostFunctions functions;
    return functions;
}

std::wstring foldName(const wchar_t* name) {
    std::wstring folded(name);
    for (auto& c : folded)
        c = CQorString::toUpper(c);
    return folded;
}

constexpr std::uint32_t kWhite = 0x00FFFFFF;

} // namespace

CQorApp* qorAppPtr() noexcept {
    CQorApp* app = installedApp().load(std::memory_order_acquire);
    return app != nullptr ? app : &defaultApp();
}

CQorApp* qorAppSet(CQorApp* app) noexcept {
    CQorApp* previous = installedApp().exchange(app, std::memory_order_acq_rel);
    return previous != nullptr ? previous : &defaultApp();
}

ObjectImageFcn setDefaultObjectImage(ObjectImageFcn fcn) noexcept {
    return defaultObjectImage().exchange(fcn, std::memory_order_acq_rel);
}

bool setHostFcn(const wchar_t* name, HostFcn fn) noexcept {
    if (name == nullptr || *name == 0) return false;
    return guarded(false, [&] {
        const std::wstring key = foldName(name);
        HostFcn replaced; // destroyed after the lock is released: its captures may call back in
        HostFunctions& table = hostFunctions();
        const std::lock_guard<std::mutex> guard(table.lock);
        if (fn) {
            HostFcn& slot = table.byName[key];
            replaced = std::exchange(slot, std::move(fn));
        } else if (auto it = table.byName.find(key); it != table.byName.end()) {
            replaced = std::move(it->second);
            table.byName.erase(it);
        }
        return true;
    });
}

int callHostFcn(const wchar_t* name, const resbuf* args, resbuf*& result) noexcept {
    result = nullptr;
    if (name == nullptr || *name == 0) return RTERROR;
    HostFcn fn;
    const bool found = guarded(false, [&] {
        const std::wstring key = foldName(name);
        HostFunctions& table = hostFunctions();
        const std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.byName.find(key);
        if (it == table.byName.end()) return false;
        fn = it->second; // a copy: the function may register or remove functions while it runs
        return true;
    });
    if (!found) return RTERROR;
    const int status = guarded(RTERROR, [&] { return fn(args, result); });
    if (status == RTERROR && result != nullptr) {
        qorRelRb(result);
        result = nullptr;
    }
    return status;
}

std::uint32_t CDefaultApp::imageBkColor() {
    CQorColor color;
    const CCfgLock lock;
    if (!dataItemGet(cfg_get(L"OLV_MENU\\COLOR\\BACKGROUND"), {}, color)) return kWhite;
    return color.oleColor();
}

Qor::lFormat CDefaultApp::lengthFormat() {
    Qor::lFormat format = Qor::kFormatDecimal;
    const CCfgLock lock;
    if (!dataItemGet(cfg_get(L"*QOR_HOST*\\LUNITS"), {}, format) || format == Qor::kFormatCurrent)
        return Qor::kFormatDecimal;
    return format;
}

Qor::lUnit CDefaultApp::drawingUnit() {
    // Asked once a frame: the key is parsed once, not each time.
    static const CQorDataKey kKey(L"*QOR_HOST*\\INSUNITS");
    Qor::lUnit unit = Qor::kUnitMillimeter;
    const CCfgLock lock;
    if (!dataItemGet(cfg_get(kKey), {}, unit) || unit == Qor::kUnitCurrent) return Qor::kUnitMillimeter;
    return unit;
}

CQorString CDefaultApp::msgBoxTitle() {
    CQorString title(L"Qor");
    const CCfgLock lock;
    dataItemGet(cfg_get(L"*QOR_HOST*\\TITLE"), {}, title);
    return title;
}

bool CDefaultApp::patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& definition) {
    return patternFind(name, definition);
}

bool CDefaultApp::objectImage(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) {
    const ObjectImageFcn fcn = defaultObjectImage().load(std::memory_order_acquire);
    return fcn != nullptr && fcn(gdx, object, parm);
}

bool CDefaultApp::entitySelect(CAdsName&, const wchar_t*, bool) {
    return false;
}

int CDefaultApp::callFunction(const wchar_t* name, const resbuf* args, resbuf*& result) {
    return callHostFcn(name, args, result);
}

} // namespace QOR
