#include "qor/kernel/locale/messages.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <unordered_map>

#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/file_find.h"
#include "qor/kernel/host/host_app.h"
#include "qor/kernel/locale/countries.h"

namespace {

using Catalogue = std::unordered_map<std::wstring, CQorString>;

// Every catalogue ever asked for, loaded or found missing, by "<family>_<code>". Entries are never
// removed or changed after loading, so pointers to their texts stay valid for the process.
struct CatalogueCache {
    std::mutex lock;
    std::map<std::wstring, Catalogue> catalogues;
};

CatalogueCache& cache() {
    static CatalogueCache instance;
    return instance;
}

// The current language: a code of the country table, which lives for the process, so a reader may keep
// what it loaded after another thread switched the language.
std::atomic<const wchar_t*> g_language{QOR::dlCountries()[0].code};

// "QOR_" -> "qor": the family name that catalogue files carry.
std::wstring familyOf(const wchar_t* prefix) {
    std::wstring family = prefix && *prefix ? prefix : L"QOR_";
    while (!family.empty() && family.back() == L'_')
        family.pop_back();
    for (wchar_t& c : family)
        c = CQorString::toLower(c);
    return family;
}

Catalogue loadCatalogue(const std::wstring& fileStem) {
    Catalogue catalogue;
    CQorString path;
    const CQorString name = CQorString(L"messages/") + CQorString(std::wstring_view(fileStem)) + L".json";
    if (!QOR::fileFind(path, name)) return catalogue;
    std::ifstream file(path.toUtf8(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_object()) return catalogue;
    for (const auto& [key, value] : json.items()) {
        if (!value.is_string()) continue;
        const CQorString wideKey = CQorString::fromUtf8(key);
        catalogue[std::wstring(wideKey.view())] = CQorString::fromUtf8(value.get_ref<const std::string&>());
    }
    return catalogue;
}

const wchar_t* lookUp(const std::wstring& family, const wchar_t* code, const wchar_t* key) {
    CatalogueCache& c = cache();
    const std::lock_guard<std::mutex> guard(c.lock);
    const std::wstring stem = family + L'_' + code;
    auto it = c.catalogues.find(stem);
    if (it == c.catalogues.end()) it = c.catalogues.emplace(stem, loadCatalogue(stem)).first;
    const auto entry = it->second.find(key);
    return entry == it->second.end() ? nullptr : entry->second.c_str();
}

} // namespace

const wchar_t* qor_msg_get(const wchar_t* prefix, const wchar_t* key, const wchar_t* defaultText,
                           const wchar_t* country) noexcept {
    if (!key) return defaultText;
    const QOR::Country_st* language =
        country && *country ? QOR::countryFind(country) : QOR::countryFind(g_language.load());
    // A catalogue that cannot be held in memory counts as missing.
    return QOR::detail::guarded(defaultText, [&] {
        const std::wstring family = familyOf(prefix);
        for (int hop = 0; language && hop < 4; ++hop) { // fallbacks form a short chain; the bound guards it
            if (const wchar_t* text = lookUp(family, language->code, key)) return text;
            language = QOR::countryFind(language->fallback);
        }
        return defaultText;
    });
}

namespace QOR {

const wchar_t* msgLangSet(const wchar_t* code) noexcept {
    if (const Country_st* language = countryFind(code)) {
        g_language.store(language->code);
        return language->code;
    }
    return g_language.load();
}

const wchar_t* msgBoxTitle(const wchar_t* country) noexcept {
    thread_local CQorString title; // one per thread, so that "until the next call" holds on each
    const bool fromHost = detail::guarded(false, [] {
        title = qorAppPtr()->msgBoxTitle();
        return !title.isEmpty();
    });
    return fromHost ? title.c_str() : qor_msg_get(L"QOR_", L"QOR_TITLE", L"Qor", country);
}

} // namespace QOR
