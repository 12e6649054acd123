#include "qor/kernel/data/dta_file.h"

#include <fstream>
#include <map>
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

struct Store {
    std::map<std::int64_t, std::shared_ptr<DtaObject>> objects;
    std::int64_t nextId = 1;
};

Store& store() {
    static Store s;
    return s;
}

std::shared_ptr<DtaObject> findEntity(const CAdsName& entity) {
    if (entity.isNull()) return nullptr;
    auto it = store().objects.find(entity.id());
    return it == store().objects.end() ? nullptr : it->second;
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
            const auto target = findEntity(m_object->linkedEntity);
            return dtaOpenObject(target, kDtaEntity, flags, m_object->linkedEntity);
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
            store().objects[entity.id()] = object;
            if (entity.id() >= store().nextId) store().nextId = entity.id() + 1;
        }
        return dtaOpenObject(object, type, flags, entity);
    });
}

bool dtaCreate(CAdsName& entity, const CQorDataItem* root) noexcept {
    return guarded(false, [&] {
        auto object = objectFromItem(root, nullptr);
        const std::int64_t id = store().nextId++;
        store().objects[id] = std::move(object);
        entity = CAdsName(id);
        return true;
    });
}

bool dtaLink(const CAdsName& entity, const CAdsName& linked) noexcept {
    const auto object = findEntity(entity);
    if (!object || (!linked.isNull() && !findEntity(linked))) return false;
    object->linkedEntity = linked;
    return true;
}

bool dtaErase(const CAdsName& entity) noexcept {
    if (entity.isNull()) return false;
    return store().objects.erase(entity.id()) > 0;
}

} // namespace QOR
