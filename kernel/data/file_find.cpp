#include "qor/kernel/data/file_find.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"

namespace fs = std::filesystem;

namespace {

fs::path toPath(const CQorString& text) {
    const std::string utf8 = text.toUtf8();
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

CQorString fromPath(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return CQorString::fromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

// The folder of the file this code was loaded from: the shared library, or the program it is linked
// into statically.
fs::path moduleFolder() {
    static const char anchor = 0;
    Dl_info info{};
    if (dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) return {};
    // The loader names the main program as it was started, which may be relative to a folder the
    // program has since left; the kernel knows its real path.
    fs::path module =
        fs::path(info.dli_fname).is_absolute() ? fs::path(info.dli_fname) : fs::path("/proc/self/exe");
    std::error_code error;
    module = fs::canonical(module, error);
    return error ? fs::path() : module.parent_path();
}

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The folders of the configured search path, in order: "*QOR_SEARCH_PATH*" holds an array of folder
// names, or one text of folder names separated by semicolons (the separator of Windows search paths,
// which never occurs in a folder name there and rarely here).
std::vector<fs::path> searchFolders() {
    std::vector<fs::path> folders;
    CQorArrayTempl<CQorString> names;
    CQorString text;
    bool isText = false;
    {
        const QOR::CCfgLock lock; // copied out: the configuration may be reloaded meanwhile
        const CQorDataItem* entry = QOR::cfg_get(L"*QOR_SEARCH_PATH*");
        if (!entry) return folders;
        isText = entry->get(text);
        if (!isText) entry->get(names);
    }
    if (isText) {
        for (int start = 0; start <= text.len();) {
            int end = text.find(L';', start);
            if (end < 0) end = text.len();
            names.append(text.mid(start, end - start).trim());
            start = end + 1;
        }
    }
    for (const CQorString& name : names)
        if (!name.isEmpty()) folders.push_back(toPath(name));
    return folders;
}

bool startsWithIgnoringCase(const CQorString& text, const wchar_t* prefix) {
    CQorString head = text.left(int(std::wcslen(prefix)));
    return head.makeLower() == prefix;
}

// The configured help location of module: "*HELP*\<module>", the key compared exactly first, then
// without regard to case.
const CQorDataItem* helpEntry(const wchar_t* module) {
    const CQorDataItem* help = QOR::cfg_get(L"*HELP*");
    if (!help || !help->isDir()) return nullptr;
    CQorDataKey key;
    key.set(CQorDataKey::kText, module);
    if (const CQorDataItem* entry = help->getItem(key)) return entry;
    const CQorString wanted = CQorString(module).makeLower();
    for (int i = 0; i < help->getDir()->len(); ++i) {
        const CQorDataItem* entry = help->getDir()->at(i);
        if (CQorString(entry->getKey().text()).makeLower() == wanted) return entry;
    }
    return nullptr;
}

} // namespace

namespace QOR {

CQorString resourceDir() noexcept {
    const char* overridden = std::getenv("QOR_RES_DIR");
    if (overridden && *overridden) return CQorString::fromUtf8(overridden);
    return detail::guarded(CQorString(), [] {
        // The library and its resources move together: the relative path from the library folder to
        // the resource folder is the installation's, and the build tree mirrors it.
        static const CQorString installed = [] {
            const fs::path folder = moduleFolder();
            return folder.empty() ? CQorString() : fromPath((folder / QOR_RES_RELATIVE).lexically_normal());
        }();
        return installed;
    });
}

bool fileFind(CQorString& found, const wchar_t* name) noexcept {
    if (!name || !*name) return false;
    // Allocation, or a name the file system cannot represent, count as not found.
    return detail::guarded(false, [&] {
        const fs::path path = toPath(CQorString(name));
        std::vector<fs::path> candidates;
        if (path.is_absolute()) {
            candidates.push_back(path);
        } else {
            for (const fs::path& folder : searchFolders())
                candidates.push_back(folder / path);
            candidates.push_back(toPath(resourceDir()) / path);
        }
        for (const fs::path& candidate : candidates) {
            if (!isRegularFile(candidate)) continue;
            std::error_code error;
            const fs::path absolute = fs::absolute(candidate, error);
            found = fromPath(error ? candidate : absolute.lexically_normal());
            return true;
        }
        return false;
    });
}

bool help_find(const wchar_t* module, CQorString& location) noexcept {
    if (!module || !*module) return false;
    return detail::guarded(false, [&] {
        CQorString text;
        {
            const CCfgLock lock;
            const CQorDataItem* entry = helpEntry(module);
            if (!entry || !entry->get(text)) return false;
        }
        if (text.trim().isEmpty()) return false;
        // A help file named relative to the search path becomes absolute; URLs and absolute paths stay.
        const bool isUrl = startsWithIgnoringCase(text, L"http:") ||
                           startsWithIgnoringCase(text, L"https:") || startsWithIgnoringCase(text, L"file:");
        CQorString found;
        if (!isUrl && !toPath(text).is_absolute() && fileFind(found, text)) text = found;
        location = text;
        return true;
    });
}

} // namespace QOR
