#include "qor/kernel/data/config.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <system_error>

#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/file_find.h"

namespace {

using QOR::detail::guarded;

std::filesystem::path envPath(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? std::filesystem::path(value) : std::filesystem::path();
}

std::recursive_mutex& configMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

// Each bad file is named once per process, however often (and on whichever thread) the configuration is
// reloaded.
void reportOnce(const std::filesystem::path& file, const std::string& why) {
    static std::mutex lock;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> guard(lock);
    if (!reported.insert(file.string()).second) return;
    const std::string message = "ignoring configuration file " + file.string() + ": " + why;
    QOR::reportDiagnostic(QOR::DiagnosticLevel::Warning, message.c_str());
}

} // namespace

CConfig::CConfig() noexcept {
    m_root.mkDir();
}

CConfig::~CConfig() = default;

std::filesystem::path CConfig::defaultsFile() {
    const CQorString res = QOR::resourceDir();
    if (res.isEmpty()) return {};
    return std::filesystem::path(std::wstring(res.view())) / "config.json";
}

std::filesystem::path CConfig::userFile() {
    std::filesystem::path file = envPath("QOR_CONFIG");
    if (!file.empty()) return file;
    std::filesystem::path base = envPath("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::filesystem::path home = envPath("HOME");
        if (home.empty()) return {};
        base = home / ".config";
    }
    return base / "qor" / "config.json";
}

bool CConfig::readInto(CQorDataItem& tree, const std::filesystem::path& file, bool optional) noexcept {
    return guarded(false, [&] {
        std::error_code ec;
        if (optional && !std::filesystem::exists(file, ec)) return true;
        CQorDataItem read;
        std::string why;
        if (!QOR::dataReadJsonFile(read, file, &why)) {
            reportOnce(file, why);
            return false;
        }
        if (!read.isDir()) {
            reportOnce(file, "the top level is not an object");
            return false;
        }
        return QOR::cfgMerge(tree, read);
    });
}

namespace {

std::atomic<unsigned>& generation() noexcept {
    static std::atomic<unsigned> count{0};
    return count;
}

} // namespace

bool CConfig::load(const std::filesystem::path& defaults, const std::filesystem::path& user) noexcept {
    return guarded(false, [&] {
        CQorDataItem tree;
        tree.mkDir();
        bool ok = true;
        if (!defaults.empty()) ok = readInto(tree, defaults, false) && ok;
        if (!user.empty()) ok = readInto(tree, user, true) && ok;
        // The files are read without the lock; only the swap blocks the readers. (Not CCfgLock: that
        // loads the process-wide configuration first, which is what may be running here.)
        const std::lock_guard<std::recursive_mutex> lock(configMutex());
        m_root.takeContent(std::move(tree));
        ++generation();
        return ok;
    });
}

bool CConfig::reload() noexcept {
    return guarded(false, [&] { return load(defaultsFile(), userFile()); });
}

namespace QOR {

CCfgLock::CCfgLock() noexcept {
    // Loaded before the lock is taken: the first load waits for no lock holder, so a holder may be the
    // first to ask for the configuration.
    cfgMgrPtr();
    configMutex().lock();
}

CCfgLock::~CCfgLock() {
    configMutex().unlock();
}

unsigned cfgGeneration() noexcept {
    return generation().load();
}

CConfig* cfgMgrPtr() noexcept {
    static CConfig* config = [] {
        static CConfig instance;
        instance.reload();
        return &instance;
    }();
    return config;
}

CQorDataItem* cfg_get(const CQorDataKey& key) noexcept {
    CConfig* config = cfgMgrPtr();
    const CCfgLock lock;
    return config->getCfgRoot()->getItem(key);
}

CQorDataItem* cfg_dir_make(const CQorDataKey& key) noexcept {
    CConfig* config = cfgMgrPtr();
    const CCfgLock lock;
    return config->getCfgRoot()->makeDir(key);
}

bool getCfgKey(CQorDataKey& key, const wchar_t* name) noexcept {
    key = CQorDataKey();
    if (name == nullptr || *name == 0) return false;
    return guarded(false, [&] {
        CQorString text(name);
        const int n = text.len();
        if (!(n >= 2 && text.getAt(0) == L'*' && text.getAt(n - 1) == L'*')) {
            CQorString starred(L"*");
            starred += text;
            starred += L"*";
            text = starred;
        }
        key.set(CQorDataKey::kText, text.c_str());
        return cfg_get(key) != nullptr;
    });
}

bool cfgMerge(CQorDataItem& base, const CQorDataItem& over) noexcept {
    return guarded(false, [&] {
        if (!over.isDir() || !base.isDir()) {
            base = CQorDataItem(over);
            return true;
        }
        const CQorDataDir* dir = over.getDir();
        for (int i = 0; i < dir->len(); ++i) {
            const CQorDataItem* child = dir->at(i);
            CQorDataItem* existing = base.getDir()->getItem(child->getKey());
            if (existing != nullptr && existing->isDir() && child->isDir()) {
                if (!cfgMerge(*existing, *child)) return false;
            } else if (!base.setItem(*child, child->getKey())) {
                return false;
            }
        }
        return true;
    });
}

CCfgBackup::CCfgBackup() noexcept {
    const CQorDataItem* root = cfgMgrPtr()->getCfgRoot();
    const CCfgLock lock;
    m_snapshot.reset(root->clone());
    m_taken = m_snapshot != nullptr;
}

CCfgBackup::CCfgBackup(const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return;
    m_taken = guarded(false, [&] {
        m_key = key;
        const CCfgLock lock;
        const CQorDataItem* item = cfg_get(key);
        if (item == nullptr) return true;
        m_snapshot.reset(item->clone());
        return m_snapshot != nullptr;
    });
}

CCfgBackup::~CCfgBackup() {
    if (m_armed) restore();
}

bool CCfgBackup::restore() noexcept {
    if (!m_taken) return false;
    CQorDataItem* root = cfgMgrPtr()->getCfgRoot();
    const CCfgLock lock;
    ++generation();
    return guarded(false, [&] {
        if (m_key.isEmpty()) {
            root->takeContent(CQorDataItem(*m_snapshot));
            return true;
        }
        if (!m_snapshot) {
            root->remove(m_key);
            return true;
        }
        return root->setItem(*m_snapshot, m_key);
    });
}

} // namespace QOR
