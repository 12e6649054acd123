#include "qor/dlg/registry.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <wx/fileconf.h>
#include <wx/filename.h>

#include "qor/kernel/base/status.h"

namespace QOR {
namespace {

// The wxConfig path of value under key: backslashes become group separators.
wxString configPath(const wchar_t* key, const wchar_t* value) {
    wxString path = "/" + wxString(key);
    path.Replace("\\", "/");
    while (path.Replace("//", "/")) {
    }
    if (!path.EndsWith("/")) path += "/";
    return path + wxString(value);
}

bool validNames(const wchar_t* key, const wchar_t* value) {
    return key && *key && value && *value;
}

std::unique_ptr<wxFileConfig> openStore() {
    auto config =
        std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, wxString(detail::registryFile().c_str()),
                                       wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    config->SetExpandEnvVars(false);
    return config;
}

bool ensureFolder() {
    std::error_code error;
    const std::filesystem::path file(detail::registryFile().toUtf8());
    std::filesystem::create_directories(file.parent_path(), error);
    return !error;
}

template <class Write>
bool writeStore(Write write) {
    if (!ensureFolder()) return false;
    auto config = openStore();
    if (!write(*config)) return false;
    return config->Flush();
}

} // namespace

const wchar_t* regAppKey(CQorString& key, const wchar_t* app) noexcept {
    return detail::guardedAt("QOR::regAppKey", (const wchar_t*)key.c_str(), [&] {
        key = L"Software\\VEL-MORA\\";
        key += (app && *app) ? app : L"QOR";
        return key.c_str();
    });
}

bool regRead(const wchar_t* key, const wchar_t* value, DWORD& out) noexcept {
    return detail::guardedAt("QOR::regRead", false, [&] {
        if (!validNames(key, value)) return false;
        wxString text;
        if (!openStore()->Read(configPath(key, value), &text)) return false;
        unsigned long number = 0;
        if (!text.ToULong(&number) || number > 0xFFFFFFFFul) return false;
        out = DWORD(number);
        return true;
    });
}

bool regRead(const wchar_t* key, const wchar_t* value, CQorString& out) noexcept {
    return detail::guardedAt("QOR::regRead", false, [&] {
        if (!validNames(key, value)) return false;
        wxString text;
        if (!openStore()->Read(configPath(key, value), &text)) return false;
        out = text.wc_str();
        return true;
    });
}

// A number is stored as the decimal text of its DWORD: wxConfig's own long would sign-extend values above
// 0x7FFFFFFF differently on 32- and 64-bit builds.
bool regWrite(const wchar_t* key, const wchar_t* value, DWORD data) noexcept {
    return detail::guardedAt("QOR::regWrite", false, [&] {
        if (!validNames(key, value)) return false;
        return writeStore([&](wxFileConfig& config) {
            return config.Write(configPath(key, value), wxString::Format("%lu", (unsigned long)data));
        });
    });
}

bool regWrite(const wchar_t* key, const wchar_t* value, const wchar_t* data) noexcept {
    return detail::guardedAt("QOR::regWrite", false, [&] {
        if (!validNames(key, value) || !data) return false;
        return writeStore(
            [&](wxFileConfig& config) { return config.Write(configPath(key, value), wxString(data)); });
    });
}

bool regDeleteKey(const wchar_t* key) noexcept {
    return detail::guardedAt("QOR::regDeleteKey", false, [&] {
        if (!key || !*key) return false;
        wxString group = configPath(key, L"");
        group.RemoveLast();
        auto config = openStore();
        if (!config->HasGroup(group)) return true;
        if (!ensureFolder()) return false;
        return config->DeleteGroup(group) && config->Flush();
    });
}

namespace detail {

CQorString registryFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path folder;
    if (xdg && *xdg) {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".config";
    }
    return CQorString((folder / "qor" / "registry.ini").wstring().c_str());
}

} // namespace detail
} // namespace QOR
