#include "qor/kernel/host/pattern_source.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <system_error>

#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/file_find.h"
#include "qor/kernel/locale/units.h"

namespace fs = std::filesystem;

namespace {

fs::path toPath(const CQorString& text) {
    const std::string utf8 = text.toUtf8();
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

/// The file of the relative name on the search path or among the bundled resources, or an empty path.
fs::path locate(const CQorString& relative) {
    CQorString found;
    return QOR::fileFind(found, relative) ? toPath(found) : fs::path();
}

struct CachedFile {
    CQorPatternFile patterns;
    std::uintmax_t size = 0;
    fs::file_time_type time;
};

/// Every pattern file read so far, by path, with the lock that every use of it holds.
struct PatternCache {
    std::mutex lock;
    std::map<fs::path, CachedFile> files;
};

PatternCache& patternCache() {
    static PatternCache cache;
    return cache;
}

/// The patterns of the file at path, read again when it changed. Null when it cannot be read. The
/// caller holds the cache's lock for as long as it uses the result: a reading on another thread may
/// replace it.
const CQorPatternFile* loaded(std::map<fs::path, CachedFile>& cache, const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) return nullptr;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error) return nullptr;
    auto it = cache.find(path);
    if (it != cache.end() && it->second.size == size && it->second.time == time) return &it->second.patterns;
    CachedFile entry;
    const std::u8string utf8 = path.u8string();
    const CQorString name =
        CQorString::fromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
    if (!entry.patterns.read(name)) return nullptr;
    for (const CQorString& message : entry.patterns.messages())
        QOR::reportDiagnostic(QOR::DiagnosticLevel::Warning, message.toUtf8().c_str());
    entry.size = size;
    entry.time = time;
    return &(cache[path] = std::move(entry)).patterns;
}

bool findIn(const fs::path& path, const wchar_t* name, CQorPatternDef& def) {
    if (path.empty()) return false;
    int unit = 0;
    {
        PatternCache& cache = patternCache();
        const std::lock_guard<std::mutex> guard(cache.lock);
        const CQorPatternFile* file = loaded(cache.files, path);
        if (!file || !file->get(name, def)) return false;
        unit = file->unit();
    }
    // Outside the lock: the current drawing unit is the host's answer.
    QOR::patternConvert(def, unit, Qor::kUnitCurrent);
    return true;
}

} // namespace

namespace QOR {

void patternConvert(CQorPatternDef& def, int from, int to) noexcept {
    double factor = 1.0;
    acadUnitCv(1.0, from, to, factor);
    if (factor == 1.0) return;
    for (auto& line : def)
        for (int i = 1; i < line.len(); ++i)
            line[i] *= factor;
}

bool patternFind(const wchar_t* name, CQorPatternDef& def) noexcept {
    def.clear();
    if (!name || !*name) return detail::fail(detail::Status::BadInput), false;
    return detail::guarded(false, [&] {
        CQorString own(name);
        // A pattern name never names a folder: only a plain file name is looked up on its own.
        const bool plain = own.find(L'/') < 0 && own.find(L'\\') < 0 && own != L"." && own != L"..";
        own += L".pat";
        if (plain && findIn(locate(own), name, def)) return true;
        own.makeLower();
        if (plain && findIn(locate(own), name, def)) return true;
        return findIn(locate(L"patterns/qor.pat"), name, def);
    });
}

} // namespace QOR
