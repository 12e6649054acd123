#pragma once

#include <memory>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/data/ads_name.h"
#include "qor/kernel/data/data_item.h"

// Opened kernel objects.
//
// An object is a root data item plus, optionally, a linked object (a formed sheet's definition, a bar's
// group). Objects live in one of three places, chosen by the type given to QOR::dtaOpen:
//  - kDtaEntity (3): the object store, a process-wide table of objects named by entity names
//    (QOR::CAdsName). Everything opened on the same entity shares one object, so what one opening writes
//    the next one reads. Code that plays the host (tests, demos, a real host) fills the store with
//    QOR::dtaCreate and QOR::dtaLink.
//  - kDtaScratch (6): a private data set, a copy of a given item (or empty), that lives as long as the
//    file pointers to it.
//  - kDtaFile (1): a private copy of a JSON object file (see QOR::objectFromJson): how kernel objects reach
//    qor-render. Changes are not written back.
// Flags: kDtaRead (1) and kDtaWrite (2), so 3 opens for reading and writing; kDtaCreate (4) lets
// dtaOpen make a missing store object. Without kDtaWrite, set and get with create fail.
//
// Threads: the store's table (dtaCreate, dtaLink, dtaErase, opening a store object, following a link) is
// guarded by a mutex, so any thread may use it. An object's items are not: an object is read and written
// by one thread at a time, as any data item is; the host fills the store before it hands names out.

namespace QOR {

enum DtaType : int { kDtaFile = 1, kDtaEntity = 3, kDtaScratch = 6 };
enum DtaFlags : int { kDtaRead = 1, kDtaWrite = 2, kDtaCreate = 4 };

namespace detail {
struct DtaObject;
}

/// An opened kernel object. Move-only; a default or failed one is closed, and every operation on a
/// closed pointer gives false or null. Pointers to items stay valid as long as the object is open
/// somewhere and the item is not removed or replaced.
class QOR_EXPORT CDtaFilePointer {
public:
    CDtaFilePointer() noexcept;
    CDtaFilePointer(CDtaFilePointer&&) noexcept;
    CDtaFilePointer& operator=(CDtaFilePointer&&) noexcept;
    CDtaFilePointer(const CDtaFilePointer&) = delete;
    CDtaFilePointer& operator=(const CDtaFilePointer&) = delete;
    ~CDtaFilePointer();

    bool isOpen() const noexcept { return m_object != nullptr; }
    explicit operator bool() const noexcept { return isOpen(); }
    int type() const noexcept { return m_type; }
    int flags() const noexcept { return m_flags; }
    /// The entity name of a store object; null for scratch and file objects.
    const CAdsName& entity() const noexcept { return m_entity; }

    /// The root item (empty key) or the item at key. With create (needs kDtaWrite) a missing item is
    /// made as a directory (CQorDataItem::makeDir). Null when closed or missing.
    CQorDataItem* get(const CQorDataKey& key = {}, bool create = false) noexcept;
    /// Stores a copy of item as the root (empty key) or at key. Needs kDtaWrite and an item.
    bool set(const CQorDataItem* item, const CQorDataKey& key = {}) noexcept;
    /// Replaces keys by the keys of the children of the root (empty key) or of the directory at key, in
    /// order. False, leaving keys alone, when there is no such directory.
    bool dir(CQorArrayTempl<CQorDataKey>& keys, const CQorDataKey& key = {}) const noexcept;
    /// The linked object, opened with flags. With the empty key it is the object's own link; with a key,
    /// the store object whose handle (CAdsName::handle) is the text under key in the root. Closed when
    /// there is none.
    CDtaFilePointer lobjGet(const CQorDataKey& key = {}, int flags = kDtaRead | kDtaWrite) const noexcept;
    /// Closes this opening; the object itself lives on while it is open elsewhere or in the store.
    void close() noexcept;

private:
    friend CDtaFilePointer dtaOpenObject(std::shared_ptr<detail::DtaObject>, int, int, const CAdsName&);
    std::shared_ptr<detail::DtaObject> m_object;
    int m_type = 0;
    int m_flags = 0;
    CAdsName m_entity;
};

/// Opens a scratch data set (kDtaScratch) as a copy of item, of its item at key when key is given and
/// not empty, or empty when item is null; or a JSON object file (kDtaFile) whose path is key. Closed
/// on failure (unknown type, missing item under key, unreadable file).
QOR_EXPORT CDtaFilePointer dtaOpen(int type, int flags, const wchar_t* key,
                                   const CQorDataItem* item) noexcept;
/// Opens the store object named entity (type kDtaEntity). With kDtaCreate a missing object is made:
/// its root a copy of item (at key, when given) or an empty directory. Closed for a null or unknown
/// entity without kDtaCreate, or another type.
QOR_EXPORT CDtaFilePointer dtaOpen(int type, int flags, const CAdsName& entity, const wchar_t* key = nullptr,
                                   const CQorDataItem* item = nullptr) noexcept;

/// Adds a new object to the store, its root a copy of root (an empty directory when null), and names it.
QOR_EXPORT bool dtaCreate(CAdsName& entity, const CQorDataItem* root) noexcept;
/// Makes linked the linked object of entity (a null linked removes the link). Both must be in the store.
QOR_EXPORT bool dtaLink(const CAdsName& entity, const CAdsName& linked) noexcept;
/// Removes an object from the store; openings of it keep their copy alive until closed.
QOR_EXPORT bool dtaErase(const CAdsName& entity) noexcept;

} // namespace QOR
