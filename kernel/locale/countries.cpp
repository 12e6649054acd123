#include "qor/kernel/locale/countries.h"

#include <cwctype>

namespace {

// Languages with a bundled catalogue (German, English) come first; the others can hold label texts
// and pick up a catalogue when a host ships one.
constexpr QOR::Country_st kCountries[] = {
    {L"de", L"Deutsch", L"German", nullptr}, {L"en", L"English", L"English", nullptr},
    {L"fr", L"Français", L"French", L"en"},  {L"it", L"Italiano", L"Italian", L"en"},
    {L"es", L"Español", L"Spanish", L"en"},  {L"nl", L"Nederlands", L"Dutch", L"en"},
    {L"pl", L"Polski", L"Polish", L"en"},    {L"cs", L"Čeština", L"Czech", L"en"},
    {nullptr, nullptr, nullptr, nullptr},
};

bool equalsIgnoringCase(const wchar_t* a, const wchar_t* b) noexcept {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(wint_t(*a)) != std::towlower(wint_t(*b))) return false;
    return *a == *b;
}

} // namespace

namespace QOR {

const Country_st* dlCountries() noexcept {
    return kCountries;
}

const Country_st* countryFind(const wchar_t* code) noexcept {
    if (!code || !*code) return nullptr;
    for (const Country_st* c = kCountries; c->code; ++c)
        if (equalsIgnoringCase(c->code, code)) return c;
    return nullptr;
}

} // namespace QOR
