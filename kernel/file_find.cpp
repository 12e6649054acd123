#include "kernel/file_find.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "kernel/status.h"
#include "kernel/string.h"

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

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The folders of the configured search path, in order.
std::vector<fs::path> searchFolders() {
    return {};
}

} // namespace

namespace QOR {

CQorString resourceDir() noexcept {
    const char* overridden = std::getenv("QOR_RES_DIR");
    return CQorString::fromUtf8(overridden && *overridden ? overridden : QOR_RES_DIR);
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

} // namespace QOR
