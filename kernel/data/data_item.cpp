#include "qor/kernel/data/data_item.h"

#include <climits>
#include <cmath>
#include <type_traits>

#include "qor/kernel/base/status.h"

namespace {

using QOR::detail::fail;
using QOR::detail::guarded;
using QOR::detail::Status;

// Reads a stored value as T under the widening rules of the class comment.
template <class T, class V>
bool convert(const V& stored, T& out) {
    using S = std::decay_t<V>;
    if constexpr (std::is_same_v<S, T>) {
        out = stored;
        return true;
    } else if constexpr (std::is_same_v<T, bool> &&
                         (std::is_same_v<S, int> || std::is_same_v<S, unsigned long>)) {
        out = stored != 0;
        return true;
    } else if constexpr (std::is_same_v<T, int> && std::is_same_v<S, unsigned long>) {
        if (stored > static_cast<unsigned long>(INT_MAX)) return false;
        out = int(stored);
        return true;
    } else if constexpr (std::is_same_v<T, unsigned long> && std::is_same_v<S, int>) {
        if (stored < 0) return false;
        out = static_cast<unsigned long>(stored);
        return true;
    } else if constexpr (std::is_same_v<T, double> &&
                         (std::is_same_v<S, int> || std::is_same_v<S, unsigned long>)) {
        out = double(stored);
        return true;
    } else {
        return false;
    }
}

bool sameDouble(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Exact equality of content (see operator==); geometry compares coordinate by coordinate.
bool sameValue(double a, double b);
bool sameValue(const CQorPoint3d& a, const CQorPoint3d& b);
bool sameValue(const CQorVertex& a, const CQorVertex& b);
bool sameValue(const CQorMatrix3d& a, const CQorMatrix3d& b);
bool sameValue(const CQorPoint3dArray& a, const CQorPoint3dArray& b);
bool sameValue(const CQorVertexArray& a, const CQorVertexArray& b);
template <class T>
bool sameValue(const CQorArrayTempl<T>& a, const CQorArrayTempl<T>& b);
template <class A>
bool sameValue(const A& a, const A& b) {
    return a == b;
}

bool sameValue(double a, double b) {
    return sameDouble(a, b);
}
bool sameValue(const CQorPoint3d& a, const CQorPoint3d& b) {
    return sameDouble(a.x, b.x) && sameDouble(a.y, b.y) && sameDouble(a.z, b.z);
}
bool sameValue(const CQorVertex& a, const CQorVertex& b) {
    return sameValue(a.start, b.start) && sameValue(a.end, b.end) && sameDouble(a.bulge, b.bulge);
}
bool sameValue(const CQorMatrix3d& a, const CQorMatrix3d& b) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!sameDouble(a.entry[r][c], b.entry[r][c])) return false;
    return true;
}
template <class T>
bool sameValue(const CQorArrayTempl<T>& a, const CQorArrayTempl<T>& b) {
    if (a.len() != b.len()) return false;
    for (int i = 0; i < a.len(); ++i)
        if (!sameValue(a.data()[i], b.data()[i])) return false;
    return true;
}
bool sameValue(const CQorPoint3dArray& a, const CQorPoint3dArray& b) {
    return sameValue<CQorPoint3d>(a, b);
}
bool sameValue(const CQorVertexArray& a, const CQorVertexArray& b) {
    return sameValue<CQorVertex>(a, b);
}

} // namespace

CQorDataItem::CQorDataItem() = default;

CQorDataItem::CQorDataItem(const CQorDataItem& other) {
    copyFrom(other);
}

CQorDataItem& CQorDataItem::operator=(const CQorDataItem& other) {
    if (this != &other) {
        // Copy first: other may live inside this item's own tree.
        CQorDataItem copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CQorDataItem::CQorDataItem(CQorDataItem&& other) noexcept
    : m_key(std::move(other.m_key)), m_value(std::move(other.m_value)), m_dir(std::move(other.m_dir)) {
    if (m_dir) m_dir->m_owner = this;
    other.m_value = std::monostate{};
}

CQorDataItem& CQorDataItem::operator=(CQorDataItem&& other) noexcept {
    if (this == &other) return *this;
    m_key = std::move(other.m_key);
    m_value = std::move(other.m_value);
    m_dir = std::move(other.m_dir);
    if (m_dir) m_dir->m_owner = this;
    other.m_value = std::monostate{};
    return *this;
}

CQorDataItem::~CQorDataItem() = default;

void CQorDataItem::copyFrom(const CQorDataItem& other) {
    m_key = other.m_key;
    m_value = other.m_value;
    m_dir.reset();
    if (!other.m_dir) return;
    m_dir = std::make_unique<CQorDataDir>(this);
    m_dir->m_items.reserve(other.m_dir->m_items.size());
    for (const auto& child : other.m_dir->m_items)
        m_dir->m_items.push_back(std::make_unique<CQorDataItem>(*child));
}

CQorDataItem::Kind CQorDataItem::kind() const noexcept {
    if (m_dir) return Kind::Dir;
    return static_cast<Kind>(m_value.index());
}

bool CQorDataItem::isNone() const noexcept {
    return !m_dir && std::holds_alternative<std::monostate>(m_value);
}

CQorDataItem* CQorDataItem::walk(const CQorDataKey& key, bool create) {
    CQorDataItem* item = this;
    for (const CQorDataKey* part = &key; part != nullptr && !part->isEmpty(); part = part->next()) {
        if (!item->m_dir) {
            if (!create || !item->isNone()) return nullptr;
            item->mkDir();
        }
        CQorDataItem* child = item->m_dir->find(*part);
        if (child != nullptr) {
            item = child;
        } else {
            if (!create) return nullptr;
            item = item->m_dir->append(part->first());
        }
    }
    return item;
}

template <class T>
bool CQorDataItem::getValue(T& out, const CQorDataKey& key) const noexcept {
    const CQorDataItem* item = key.isEmpty() ? this : getItem(key);
    if (item == nullptr || item->m_dir) return false;
    return guarded(false,
                   [&] { return std::visit([&](const auto& v) { return convert(v, out); }, item->m_value); });
}

template <class T>
bool CQorDataItem::setValue(T&& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] {
        CQorDataItem* item = walk(key, true);
        if (item == nullptr) return fail(Status::BadInput), false;
        item->m_value = std::forward<T>(value);
        item->m_dir.reset();
        return true;
    });
}

bool CQorDataItem::get(bool& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(int& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(unsigned long& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(double& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorString& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorArrayTempl<int>& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorArrayTempl<CQorString>& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorPoint3d& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorPoint3dArray& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorVertexArray& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorArrayTempl<CQorVertexArray>& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}
bool CQorDataItem::get(CQorMatrix3d& out, const CQorDataKey& key) const noexcept {
    return getValue(out, key);
}

bool CQorDataItem::set(bool value, const CQorDataKey& key) noexcept {
    return setValue(value, key);
}
bool CQorDataItem::set(int value, const CQorDataKey& key) noexcept {
    return setValue(value, key);
}
bool CQorDataItem::set(unsigned long value, const CQorDataKey& key) noexcept {
    return setValue(value, key);
}
bool CQorDataItem::set(double value, const CQorDataKey& key) noexcept {
    return setValue(value, key);
}
bool CQorDataItem::set(const wchar_t* value, const CQorDataKey& key) noexcept {
    // A null pointer would make a null string; the stored text is the empty one.
    return setValue(CQorString(value != nullptr ? value : L""), key);
}
bool CQorDataItem::set(const CQorString& value, const CQorDataKey& key) noexcept {
    return setValue(CQorString(value.c_str()), key);
}
bool CQorDataItem::set(const CQorArrayTempl<int>& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] { return setValue(CQorArrayTempl<int>(value), key); });
}
bool CQorDataItem::set(const CQorArrayTempl<CQorString>& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] { return setValue(CQorArrayTempl<CQorString>(value), key); });
}
bool CQorDataItem::set(const CQorPoint3d& value, const CQorDataKey& key) noexcept {
    return setValue(CQorPoint3d(value), key);
}
bool CQorDataItem::set(const CQorPoint3dArray& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] { return setValue(CQorPoint3dArray(value), key); });
}
bool CQorDataItem::set(const CQorVertexArray& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] { return setValue(CQorVertexArray(value), key); });
}
bool CQorDataItem::set(const CQorArrayTempl<CQorVertexArray>& value, const CQorDataKey& key) noexcept {
    return guarded(false, [&] { return setValue(CQorArrayTempl<CQorVertexArray>(value), key); });
}
bool CQorDataItem::set(const CQorMatrix3d& value, const CQorDataKey& key) noexcept {
    return setValue(CQorMatrix3d(value), key);
}

CQorDataItem* CQorDataItem::getItem(const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return nullptr;
    return walk(key, false);
}

const CQorDataItem* CQorDataItem::getItem(const CQorDataKey& key) const noexcept {
    return const_cast<CQorDataItem*>(this)->getItem(key);
}

CQorDataDir* CQorDataItem::mkDir() noexcept {
    if (m_dir) return m_dir.get();
    return guarded<CQorDataDir*>(nullptr, [&] {
        m_dir = std::make_unique<CQorDataDir>(this);
        m_value = std::monostate{};
        return m_dir.get();
    });
}

CQorDataItem* CQorDataItem::makeDir(const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return nullptr;
    return guarded<CQorDataItem*>(nullptr, [&]() -> CQorDataItem* {
        CQorDataItem* item = walk(key, true);
        if (item == nullptr || (!item->m_dir && !item->isNone())) return fail(Status::BadInput), nullptr;
        item->mkDir();
        return item;
    });
}

bool CQorDataItem::remove(const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return false;
    CQorDataItem* parent = this;
    const CQorDataKey* part = &key;
    for (; part->next() != nullptr; part = part->next()) {
        parent = parent->getItem(part->first());
        if (parent == nullptr) return false;
    }
    if (!parent->m_dir) return false;
    const int i = parent->m_dir->indexOf(*part);
    if (i < 0) return false;
    parent->m_dir->erase(i);
    return true;
}

bool CQorDataItem::setItem(const CQorDataItem& item, const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return false;
    return guarded(false, [&] {
        CQorDataItem copy(item); // before walking: item may sit at the very place being replaced
        CQorDataItem* target = walk(key, true);
        if (target == nullptr) return fail(Status::BadInput), false;
        target->takeContent(std::move(copy));
        return true;
    });
}

bool CQorDataItem::insert(const CQorDataItem& from, bool replace) noexcept {
    if (!from.m_dir || (!m_dir && !isNone())) return false;
    return guarded(false, [&] {
        const CQorDataItem source(from); // from may be this item or lie below it
        mkDir();
        for (const auto& child : source.m_dir->m_items) {
            CQorDataItem* existing = m_dir->find(child->m_key);
            if (existing == nullptr)
                *m_dir->append(child->m_key) = *child;
            else if (replace)
                *existing = *child;
        }
        return true;
    });
}

void CQorDataItem::takeContent(CQorDataItem&& from) noexcept {
    if (&from == this) return;
    m_value = std::move(from.m_value);
    from.m_value = std::monostate{};
    m_dir = std::move(from.m_dir);
    if (m_dir) m_dir->m_owner = this;
}

CQorDataItem* CQorDataItem::clone() const noexcept {
    return guarded<CQorDataItem*>(nullptr, [&] { return new CQorDataItem(*this); });
}

bool CQorDataItem::operator==(const CQorDataItem& other) const noexcept {
    if (!(m_key == other.m_key) || isDir() != other.isDir()) return false;
    if (m_dir) {
        const auto& a = m_dir->m_items;
        const auto& b = other.m_dir->m_items;
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!(*a[i] == *b[i])) return false;
        return true;
    }
    if (m_value.index() != other.m_value.index()) return false;
    return std::visit(
        [&](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::monostate>)
                return true;
            else
                return sameValue(v, std::get<V>(other.m_value));
        },
        m_value);
}

CQorDataDir::~CQorDataDir() = default;

CQorDataItem* CQorDataDir::makeItem(const CQorDataKey& key) noexcept {
    if (key.isEmpty()) return nullptr;
    return guarded<CQorDataItem*>(nullptr, [&] { return m_owner->walk(key, true); });
}

CQorDataItem* CQorDataDir::at(int index) noexcept {
    if (index < 0 || index >= len()) return nullptr;
    return m_items[std::size_t(index)].get();
}

const CQorDataItem* CQorDataDir::at(int index) const noexcept {
    if (index < 0 || index >= len()) return nullptr;
    return m_items[std::size_t(index)].get();
}

int CQorDataDir::indexOf(const CQorDataKey& component) const noexcept {
    if (component.isEmpty()) return -1;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->m_key.sameComponent(component)) return int(i);
    return -1;
}

CQorDataItem* CQorDataDir::find(const CQorDataKey& component) const noexcept {
    if (component.isEmpty()) return nullptr;
    if (m_items.size() <= kIndexFrom) {
        const int i = indexOf(component);
        return i < 0 ? nullptr : m_items[std::size_t(i)].get();
    }
    return guarded<CQorDataItem*>(nullptr, [&]() -> CQorDataItem* {
        if (m_index.empty()) {
            m_index.reserve(m_items.size());
            for (const auto& item : m_items)
                m_index.emplace(indexKey(item->m_key), item.get());
        }
        auto it = m_index.find(indexKey(component));
        return it == m_index.end() ? nullptr : it->second;
    });
}

std::wstring CQorDataDir::indexKey(const CQorDataKey& component) {
    std::wstring key(1, wchar_t(L'0' + component.type() % 10));
    key += component.text();
    return key;
}

CQorDataItem* CQorDataDir::append(const CQorDataKey& component) {
    auto item = std::make_unique<CQorDataItem>();
    item->m_key = component.first();
    if (!m_index.empty()) m_index.emplace(indexKey(item->m_key), item.get());
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

void CQorDataDir::erase(int index) {
    if (!m_index.empty()) m_index.erase(indexKey(m_items[std::size_t(index)]->m_key));
    m_items.erase(m_items.begin() + index);
}
