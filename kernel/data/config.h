#pragma once

#include <filesystem>
#include <memory>

#include "qor/kernel/base/export.h"
#include "qor/kernel/data/data_item.h"

/// The configuration of the kernel: one process-wide data tree read by backslash paths
/// ("OLV_MENU\COLOR\HIGHLIGHT", "*APPL*").
///
/// Where it comes from
///  - Defaults: config.json in the bundled resource folder (QOR::resourceDir).
///  - The user's file, merged over the defaults: the file named by QOR_CONFIG when that is set, else
///    $XDG_CONFIG_HOME/qor/config.json, else $HOME/.config/qor/config.json. A missing user file is normal.
///  - Merging: directories merge child by child (the defaults' order first, new children after); any
///    other item of the user's file replaces the default item with its key.
///  - A file that cannot be read or is malformed (JSON form of data_json.h) is reported once per process
///    on standard error and left out: the defaults stay in force.
///  - Configuration classes live at the top under "*NAME*" ("*HOLE*", "*WALL_EDIT*"); see QOR::getCfgKey.
///    "*QOR_OUTLINE*" is left out of the defaults on purpose: the outline dialogs create and fill it on
///    first use.
///
/// The tree is loaded on first use (QOR::cfgMgrPtr) and lives until the library is unloaded. Pointers to
/// its items stay valid until the item is removed, replaced, or the tree is reloaded or restored.
///
/// Threads: any thread may read, change and reload the configuration. The tree has one process-wide
/// lock (QOR::CCfgLock): cfg_get, cfg_dir_make, getCfgKey, load, reload and CCfgBackup take it for the
/// walk or the change itself, and the library's own readers (the default host, the file search, new
/// display lists) hold it while they copy a value out. A pointer into the tree outlives that: a caller
/// that keeps using one while another thread may reload or change the tree holds a CCfgLock meanwhile.
/// The renderer's worker threads never read the configuration; a paint reads what it needs on the
/// calling thread when it starts.
class QOR_EXPORT CConfig {
public:
    CConfig() noexcept;
    CConfig(const CConfig&) = delete;
    CConfig& operator=(const CConfig&) = delete;
    ~CConfig();

    /// The root directory of the tree; never null.
    CQorDataItem* getCfgRoot() noexcept { return &m_root; }

    /// Replaces the tree by the defaults file merged with the user file; either path may be empty (no
    /// file). True when every file given could be read (a missing user file counts as read).
    bool load(const std::filesystem::path& defaults, const std::filesystem::path& user) noexcept;
    /// load() from the standard places above.
    bool reload() noexcept;

    /// The standard defaults file and user file (an empty path when no place is known).
    static std::filesystem::path defaultsFile();
    static std::filesystem::path userFile();

private:
    bool readInto(CQorDataItem& tree, const std::filesystem::path& file, bool optional) noexcept;

    CQorDataItem m_root;
};

namespace QOR {

/// Holds the process-wide configuration lock for its lifetime (see CConfig: Threads). The lock is
/// recursive, so a holder may call every configuration function; it is never held across a call into
/// the host application, and a holder must not wait for another thread that takes it.
class QOR_EXPORT CCfgLock {
public:
    CCfgLock() noexcept;
    CCfgLock(const CCfgLock&) = delete;
    CCfgLock& operator=(const CCfgLock&) = delete;
    ~CCfgLock();
};

/// The process-wide configuration, loaded from the standard places on the first call. Any thread: the
/// first load runs once.
QOR_EXPORT CConfig* cfgMgrPtr() noexcept;

/// A number that changes whenever the configuration tree is loaded, reloaded or put back by CCfgBackup, so
/// that code keeping what it derived from the configuration (a window's hatch patterns) knows when to
/// derive it again. Changes made through pointers into the tree do not count. Any thread.
QOR_EXPORT unsigned cfgGeneration() noexcept;

/// The configuration item at a path or key, or null (also for the empty key).
QOR_EXPORT CQorDataItem* cfg_get(const CQorDataKey& key) noexcept;

/// The configuration directory at key, created with the directories on the way when missing; null for
/// the empty key or when a value item is in the way (CQorDataItem::makeDir).
QOR_EXPORT CQorDataItem* cfg_dir_make(const CQorDataKey& key) noexcept;

/// The key of a configuration class: "*" + name + "*" as one text component (name "HOLE" gives
/// "*HOLE*"; a name already written with its stars is taken as it is). True when the configuration holds
/// an item under that key. A null or empty name gives false and an empty key.
QOR_EXPORT bool getCfgKey(CQorDataKey& key, const wchar_t* name) noexcept;

/// Merges over into base: directories child by child, anything else replaced. False when out of memory
/// (base may then be partly merged).
QOR_EXPORT bool cfgMerge(CQorDataItem& base, const CQorDataItem& over) noexcept;

/// Takes a snapshot of the configuration (all of it, or the item under one key) and puts it back when
/// destroyed or on restore(), unless dismissed. Code that changes the configuration for a while, and
/// tests, use it to leave the configuration as they found it. Restoring the whole tree keeps the root
/// item, but every pointer into the tree taken after the snapshot becomes invalid.
class QOR_EXPORT CCfgBackup {
public:
    CCfgBackup() noexcept;
    explicit CCfgBackup(const CQorDataKey& key) noexcept;
    CCfgBackup(const CCfgBackup&) = delete;
    CCfgBackup& operator=(const CCfgBackup&) = delete;
    ~CCfgBackup();

    /// Puts the snapshot back now (the backup stays armed: it restores again when destroyed). False when
    /// the snapshot could not be taken or the key's parent path is blocked.
    bool restore() noexcept;
    /// Keeps the changes: nothing is restored any more.
    void dismiss() noexcept { m_armed = false; }

private:
    CQorDataKey m_key;
    std::unique_ptr<CQorDataItem> m_snapshot; // null: nothing was under the key
    bool m_taken = false;
    bool m_armed = true;
};

} // namespace QOR
