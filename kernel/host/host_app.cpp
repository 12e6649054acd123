#include "qor/kernel/host/host_app.h"

#include <map>

#include "qor/kernel/base/color.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_access.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/host/pattern_source.h"

namespace QOR {

namespace {

using detail::guarded;

CQorApp*& installedApp() {
    static CQorApp* app = nullptr;
    return app;
}

CDefaultApp& defaultApp() {
    static CDefaultApp app;
    return app;
}

// Host functions by upper-case name.
std::map<std::wstring, HostFcn>& hostFunctions() {
    static std::map<std::wstring, HostFcn> functions;
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
    CQorApp* app = installedApp();
    return app != nullptr ? app : &defaultApp();
}

CQorApp* qorAppSet(CQorApp* app) noexcept {
    CQorApp* previous = qorAppPtr();
    installedApp() = app;
    return previous;
}

bool setHostFcn(const wchar_t* name, HostFcn fn) noexcept {
    if (name == nullptr || *name == 0) return false;
    return guarded(false, [&] {
        if (fn)
            hostFunctions()[foldName(name)] = std::move(fn);
        else
            hostFunctions().erase(foldName(name));
        return true;
    });
}

int callHostFcn(const wchar_t* name, const resbuf* args, resbuf*& result) noexcept {
    result = nullptr;
    if (name == nullptr || *name == 0) return RTERROR;
    HostFcn fn;
    const bool found = guarded(false, [&] {
        auto it = hostFunctions().find(foldName(name));
        if (it == hostFunctions().end()) return false;
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
    if (!dataItemGet(cfg_get(L"OLV_MENU\\COLOR\\BACKGROUND"), {}, color)) return kWhite;
    return color.oleColor();
}

Qor::lFormat CDefaultApp::lengthFormat() {
    Qor::lFormat format = Qor::kFormatDecimal;
    if (!dataItemGet(cfg_get(L"*QOR_HOST*\\LUNITS"), {}, format) || format == Qor::kFormatCurrent)
        return Qor::kFormatDecimal;
    return format;
}

Qor::lUnit CDefaultApp::drawingUnit() {
    Qor::lUnit unit = Qor::kUnitMillimeter;
    if (!dataItemGet(cfg_get(L"*QOR_HOST*\\INSUNITS"), {}, unit) || unit == Qor::kUnitCurrent)
        return Qor::kUnitMillimeter;
    return unit;
}

CQorString CDefaultApp::msgBoxTitle() {
    CQorString title(L"Qor");
    dataItemGet(cfg_get(L"*QOR_HOST*\\TITLE"), {}, title);
    return title;
}

bool CDefaultApp::patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& definition) {
    return patternFind(name, definition);
}

bool CDefaultApp::objectImage(CQorGDX*, const CQorDataItem*, const CQorDataItem*) {
    return false;
}

bool CDefaultApp::entitySelect(CAdsName&, const wchar_t*, bool) {
    return false;
}

int CDefaultApp::callFunction(const wchar_t* name, const resbuf* args, resbuf*& result) {
    return callHostFcn(name, args, result);
}

} // namespace QOR
