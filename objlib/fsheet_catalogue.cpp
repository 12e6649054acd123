#include <filesystem>
#include <memory>
#include <mutex>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/file_find.h"
#include "qor/objlib/fsheet.h"

namespace QOR {

namespace {

struct Catalogue {
    std::mutex lock;
    std::unique_ptr<CQorDataItem> root; // null until first read or after a failed first read
    bool tried = false;
};

Catalogue& catalogue() {
    static Catalogue instance;
    return instance;
}

/// The tree of a catalogue file: the bundled one for null. Null when it cannot be read as a directory.
std::unique_ptr<CQorDataItem> readCatalogue(const wchar_t* file) {
    CQorString path;
    if (file != nullptr)
        path = file;
    else if (!fileFind(path, L"fsheets.json"))
        return nullptr;
    auto root = std::make_unique<CQorDataItem>();
    if (!dataReadJsonFile(*root, std::filesystem::u8path(path.toUtf8())) || !root->isDir()) return nullptr;
    return root;
}

} // namespace

const CQorDataItem* fsheet_get(const CQorArrayTempl<CQorString>& stack) noexcept {
    return detail::guardedAt("QOR::fsheet_get", static_cast<const CQorDataItem*>(nullptr),
                             [&]() -> const CQorDataItem* {
                                 if (stack.isEmpty()) return nullptr;
                                 CQorDataKey key;
                                 for (const CQorString& part : stack)
                                     key = CQorDataKey(key, part.c_str());
                                 Catalogue& c = catalogue();
                                 const std::lock_guard<std::mutex> guard(c.lock);
                                 if (!c.tried) {
                                     c.tried = true;
                                     c.root = readCatalogue(nullptr);
                                 }
                                 return c.root ? c.root->getItem(key) : nullptr;
                             });
}

bool fsheetCatalogueLoad(const wchar_t* file) noexcept {
    return detail::guardedAt("QOR::fsheetCatalogueLoad", false, [&] {
        std::unique_ptr<CQorDataItem> root = readCatalogue(file);
        if (!root) return false;
        Catalogue& c = catalogue();
        const std::lock_guard<std::mutex> guard(c.lock);
        c.tried = true;
        c.root = std::move(root);
        return true;
    });
}

} // namespace QOR
