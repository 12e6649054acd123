#include <cwchar>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/messages.h"
#include "qor/kernel/locale/units.h"

namespace {

constexpr const wchar_t* kGermanUnitNames[Qor::kUnitCount] = {
    L"Ohne Einheit",
    L"Zoll",
    L"Fuß",
    L"Meilen",
    L"Millimeter",
    L"Zentimeter",
    L"Meter",
    L"Kilometer",
    L"Mikrozoll",
    L"Mil",
    L"Yard",
    L"Ångström",
    L"Nanometer",
    L"Mikrometer",
    L"Dezimeter",
    L"Dekameter",
    L"Hektometer",
    L"Gigameter",
    L"Astronomische Einheiten",
    L"Lichtjahre",
    L"Parsec",
};

} // namespace

namespace QOR {

CQorArrayTempl<CQorString> acad_units(const wchar_t* country) noexcept {
    CQorArrayTempl<CQorString> names;
    // Out of memory: whatever names were made.
    detail::guarded(false, [&] {
        names.reserve(Qor::kUnitCount);
        for (int unit = 0; unit < Qor::kUnitCount; ++unit) {
            wchar_t key[16];
            std::swprintf(key, 16, L"QOR_UNIT_%02d", unit);
            names.append(CQorString(qor_msg_get(L"QOR_", key, kGermanUnitNames[unit], country)));
        }
        return true;
    });
    return names;
}

} // namespace QOR
