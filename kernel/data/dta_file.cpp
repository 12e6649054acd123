#include "qor/kernel/data/dta_file.h"

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_json.h"

namespace QOR {

namespace detail {

struct DtaObject {
    CQorDataItem root;
    /// The link of a scratch or file object: the object itself.
    std::shared_ptr<DtaObject> linked;
    /// The link of a store object: looked up when it is opened, so an erased target is no link.
    CAdsName linkedEntity;
};

} // namespace detail

namespace {

using detail::DtaObject;
using detail::guarded;

// The table of store objects, and the links between them, under one lock. An object's items are not
// under it: openings hand them out as pointers.
struct Store {
    std::mutex lock;
    std::map<std::int64_t, std::shared_ptr<DtaObject>> objects;
    std::int64_t nextId = 1;
};

Store& store() {
    static Store s;
    return s;
}

/// The store object named entity, or null; the caller holds the store's lock.
std::shared_ptr<DtaObject> findLocked(const CAdsName& entity) {
    if (entity.isNull()) return nullptr;
    auto it = store().objects.find(entity.id());
    return it == store().objects.end() ? nullptr : it->second;
}

std::shared_ptr<DtaObject> findEntity(const CAdsName& entity) {
    const std::lock_guard<std::mutex> guard(store().lock);
    return findLocked(entity);
}

std::shared_ptr<DtaObject> objectFromItem(const CQorDataItem* item, const wchar_t* key) {
    auto object = std::make_shared<DtaObject>();
    if (item == nullptr) {
        object->root.mkDir();
        return object;
    }
    const CQorDataKey path(key);
    const CQorDataItem* source = path.isEmpty() ? item : item->getItem(path);
    if (source == nullptr) return nullptr;
    object->root = *source;
    return object;
}

std::shared_ptr<DtaObject> objectFromFile(const wchar_t* path) {
    if (path == nullptr || *path == 0) return nullptr;
    const std::string utf8 = CQorString(path).toUtf8();
    std::ifstream in(std::filesystem::u8path(utf8), std::ios::binary);
    if (!in) return nullptr;
    std::ostringstream text;
    text << in.rdbuf();
    CQorArrayTempl<CQorDataItem> chain;
    if (!objectFromJson(chain, text.str())) return nullptr;
    std::shared_ptr<DtaObject> first;
    std::shared_ptr<DtaObject> last;
    for (auto& item : chain) {
        auto object = std::make_shared<DtaObject>();
        object->root.takeContent(std::move(item));
        if (last)
            last->linked = object;
        else
            first = object;
        last = object;
    }
    return first;
}

} // namespace

CDtaFilePointer dtaOpenObject(std::shared_ptr<DtaObject> object, int type, int flags,
                              const CAdsName& entity) {
    CDtaFilePointer fp;
    if (!object) return fp;
    fp.m_object = std::move(object);
    fp.m_type = type;
    fp.m_flags = flags;
    fp.m_entity = entity;
    return fp;
}

CDtaFilePointer::CDtaFilePointer() noexcept = default;
CDtaFilePointer::CDtaFilePointer(CDtaFilePointer&&) noexcept = default;
CDtaFilePointer& CDtaFilePointer::operator=(CDtaFilePointer&&) noexcept = default;
CDtaFilePointer::~CDtaFilePointer() = default;

CQorDataItem* CDtaFilePointer::get(const CQorDataKey& key, bool create) noexcept {
    if (!m_object) return nullptr;
    if (key.isEmpty()) return &m_object->root;
    CQorDataItem* item = m_object->root.getItem(key);
    if (item != nullptr || !create || (m_flags & kDtaWrite) == 0) return item;
    return m_object->root.makeDir(key);
}

bool CDtaFilePointer::set(const CQorDataItem* item, const CQorDataKey& key) noexcept {
    if (!m_object || item == nullptr || (m_flags & kDtaWrite) == 0) return false;
    if (!key.isEmpty()) return m_object->root.setItem(*item, key);
    return guarded(false, [&] {
        CQorDataItem copy(*item);
        m_object->root.takeContent(std::move(copy));
        return true;
    });
}

bool CDtaFilePointer::dir(CQorArrayTempl<CQorDataKey>& keys, const CQorDataKey& key) const noexcept {
    if (!m_object) return false;
    const CQorDataItem* item = key.isEmpty() ? &m_object->root : m_object->root.getItem(key);
    if (item == nullptr || !item->isDir()) return false;
    return guarded(false, [&] {
        CQorArrayTempl<CQorDataKey> found;
        const CQorDataDir* d = item->getDir();
        for (int i = 0; i < d->len(); ++i)
            found.append(d->at(i)->getKey());
        keys = std::move(found);
        return true;
    });
}

CDtaFilePointer CDtaFilePointer::lobjGet(const CQorDataKey& key, int flags) const noexcept {
    if (!m_object) return {};
    return guarded(CDtaFilePointer(), [&] {
        if (key.isEmpty()) {
            if (m_object->linked) return dtaOpenObject(m_object->linked, m_type, flags, CAdsName());
            CAdsName linked;
            std::shared_ptr<DtaObject> target;
            {
                const std::lock_guard<std::mutex> guard(store().lock); // dtaLink may change the link
                linked = m_object->linkedEntity;
                target = findLocked(linked);
            }
            return dtaOpenObject(std::move(target), kDtaEntity, flags, linked);
        }
        CQorString handle;
        CAdsName entity;
        if (!m_object->root.get(handle, key) || !entity.setHandle(handle)) return CDtaFilePointer();
        return dtaOpenObject(findEntity(entity), kDtaEntity, flags, entity);
    });
}

void CDtaFilePointer::close() noexcept {
    m_object.reset();
    m_type = m_flags = 0;
    m_entity = CAdsName();
}

CDtaFilePointer dtaOpen(int type, int flags, const wchar_t* key, const CQorDataItem* item) noexcept {
    return guarded(CDtaFilePointer(), [&] {
        if (type == kDtaScratch) return dtaOpenObject(objectFromItem(item, key), type, flags, CAdsName());
        if (type == kDtaFile) return dtaOpenObject(objectFromFile(key), type, flags, CAdsName());
        detail::fail(detail::Status::BadInput);
        return CDtaFilePointer();
    });
}

CDtaFilePointer dtaOpen(int type, int flags, const CAdsName& entity, const wchar_t* key,
                        const CQorDataItem* item) noexcept {
    if (type != kDtaEntity || entity.isNull()) return {};
    return guarded(CDtaFilePointer(), [&] {
        std::shared_ptr<DtaObject> object = findEntity(entity);
        if (!object && (flags & kDtaCreate) != 0) {
            object = objectFromItem(item, key);
            if (!object) return CDtaFilePointer();
            Store& s = store();
            const std::lock_guard<std::mutex> guard(s.lock);
            // Another thread may have made it meanwhile: the first one made is the one everybody shares.
            auto [it, made] = s.objects.emplace(entity.id(), object);
            if (!made) object = it->second;
            if (entity.id() >= s.nextId) s.nextId = entity.id() + 1;
        }
        return dtaOpenObject(object, type, flags, entity);
    });
}

bool dtaCreate(CAdsName& entity, const CQorDataItem* root) noexcept {
    return guarded(false, [&] {
        auto object = objectFromItem(root, nullptr);
        Store& s = store();
        const std::lock_guard<std::mutex> guard(s.lock);
        const std::int64_t id = s.nextId++;
        s.objects[id] = std::move(object);
        entity = CAdsName(id);
        return true;
    });
}

bool dtaLink(const CAdsName& entity, const CAdsName& linked) noexcept {
    std::shared_ptr<DtaObject> object;
    {
        const std::lock_guard<std::mutex> guard(store().lock);
        object = findLocked(entity);
        if (!object || (!linked.isNull() && !findLocked(linked))) return false;
        object->linkedEntity = linked;
    }
    return true; // the object is released without the lock: it may be the last reference
}

bool dtaErase(const CAdsName& entity) noexcept {
    if (entity.isNull()) return false;
    std::shared_ptr<DtaObject> erased; // destroyed without the lock
    const std::lock_guard<std::mutex> guard(store().lock);
    auto it = store().objects.find(entity.id());
    if (it == store().objects.end()) return false;
    erased = std::move(it->second);
    store().objects.erase(it);
    return true;
}

} // namespace QOR
