#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

/// Sorted map from K to V that owns its entries.
///
/// Layout and order
///  - An array of pointers to entries {key, value}, each entry allocated on its own, kept in ascending key
///    order by `std::less<K>` (a key's own `operator<`; signed comparison for int keys; a total order for
///    pointer keys). Two keys are the same key when neither is less than the other.
///  - Lookup is a halving (binary) search. Insertion shifts the later pointers up by one; removal deletes
///    the entry and shifts the later pointers down. Iteration runs in key order.
///  - The pointer array is allocated with room for 16 entries at the first insertion and doubles whenever an
///    insertion finds it full. An empty map owns no heap memory.
///
/// Lifetime: because every entry lives in a node of its own, a pointer or reference to a key or a value stays
/// valid while other keys are inserted or removed. It ends when its own key is removed (`removeKey`,
/// `removeAt`, `removeAll`) or the map is destroyed. Setting an existing key assigns the new value into the
/// same node, so a pointer to that value then sees the new value. Indices, unlike pointers, shift on
/// insertion and removal.
///
/// Copies are deep. Allocation failure throws std::bad_alloc like the standard containers; the map is then
/// unchanged. Exported functions that use a map catch it at the boundary.
template <class K, class V>
class CQorMapTempl {
public:
    /// One node. The key is const: changing it would break the order.
    struct Entry {
        const K key;
        V value;
    };

    /// Slots of the pointer array at the first insertion.
    static constexpr int kInitialCapacity = 16;

    CQorMapTempl() noexcept = default;
    CQorMapTempl(const CQorMapTempl& other) { copyFrom(other); }
    CQorMapTempl(CQorMapTempl&& other) noexcept
        : m_entries(std::exchange(other.m_entries, nullptr)), m_count(std::exchange(other.m_count, 0)),
          m_capacity(std::exchange(other.m_capacity, 0)) {}
    CQorMapTempl& operator=(const CQorMapTempl& other) {
        if (this != &other) {
            CQorMapTempl copy(other);
            swap(copy);
        }
        return *this;
    }
    CQorMapTempl& operator=(CQorMapTempl&& other) noexcept {
        CQorMapTempl moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~CQorMapTempl() { removeAll(); }

    void swap(CQorMapTempl& other) noexcept {
        std::swap(m_entries, other.m_entries);
        std::swap(m_count, other.m_count);
        std::swap(m_capacity, other.m_capacity);
    }

    /// Number of entries.
    int len() const noexcept { return m_count; }
    bool isEmpty() const noexcept { return m_count == 0; }
    /// Slots of the pointer array (0 before the first insertion, then 16, 32, ...).
    int capacity() const noexcept { return m_capacity; }

    /// The value stored under key, or null. Valid until that key is removed.
    V* find(const K& key) noexcept {
        const int i = search(key);
        return i >= 0 ? &m_entries[i]->value : nullptr;
    }
    const V* find(const K& key) const noexcept {
        const int i = search(key);
        return i >= 0 ? &m_entries[i]->value : nullptr;
    }
    /// Copies the value stored under key into value; false (value unchanged) when the key is absent.
    bool lookup(const K& key, V& value) const {
        const V* found = find(key);
        if (!found) return false;
        value = *found;
        return true;
    }
    bool contains(const K& key) const noexcept { return search(key) >= 0; }
    /// Position of key in key order, or -1.
    int indexOf(const K& key) const noexcept { return search(key); }

    /// Stores value under key: assigns it into the existing node, or creates a node at the key's place in
    /// the order. Returns the stored value.
    V& set(const K& key, const V& value) { return setImpl(key, value); }
    V& set(const K& key, V&& value) { return setImpl(key, std::move(value)); }
    /// The value under key, first inserting a default-constructed one when the key is absent.
    V& operator[](const K& key) {
        int at = 0;
        if (locate(key, at)) return m_entries[at]->value;
        return insertAt(at, std::unique_ptr<Entry>(new Entry{key, V{}}))->value;
    }

    /// Deletes the entry of key; false when there is none.
    bool removeKey(const K& key) noexcept {
        const int i = search(key);
        return i >= 0 && removeAt(i);
    }
    /// Deletes the entry at index (0 is the smallest key); false when index is outside [0, len()).
    bool removeAt(int index) noexcept {
        if (index < 0 || index >= m_count) return false;
        delete m_entries[index];
        std::move(m_entries + index + 1, m_entries + m_count, m_entries + index);
        --m_count;
        return true;
    }
    /// Deletes every entry and releases the pointer array.
    void removeAll() noexcept {
        for (int i = 0; i < m_count; ++i)
            delete m_entries[i];
        delete[] m_entries;
        m_entries = nullptr;
        m_count = 0;
        m_capacity = 0;
    }

    /// Entry at index in key order, or null when index is outside [0, len()).
    Entry* entryAt(int index) noexcept { return index >= 0 && index < m_count ? m_entries[index] : nullptr; }
    const Entry* entryAt(int index) const noexcept {
        return index >= 0 && index < m_count ? m_entries[index] : nullptr;
    }

    /// Iteration in key order, over `Entry&` (`for (auto& [key, value] : map)`). Inserting or removing
    /// invalidates iterators (not entries).
    template <class E, class Slot>
    class Iterator {
    public:
        explicit Iterator(Slot* slot) noexcept : m_slot(slot) {}
        E& operator*() const noexcept { return **m_slot; }
        E* operator->() const noexcept { return *m_slot; }
        Iterator& operator++() noexcept {
            ++m_slot;
            return *this;
        }
        bool operator==(const Iterator&) const noexcept = default;

    private:
        Slot* m_slot;
    };
    using iterator = Iterator<Entry, Entry* const>;
    using const_iterator = Iterator<const Entry, const Entry* const>;
    iterator begin() noexcept { return iterator(m_entries); }
    iterator end() noexcept { return iterator(m_entries + m_count); }
    const_iterator begin() const noexcept { return const_iterator(m_entries); }
    const_iterator end() const noexcept { return const_iterator(m_entries + m_count); }

private:
    static bool less(const K& a, const K& b) noexcept { return std::less<K>{}(a, b); }

    /// Halving search. True when key is present, with at = its index; otherwise at = the index where it
    /// would be inserted.
    bool locate(const K& key, int& at) const noexcept {
        int low = 0;
        int high = m_count;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (less(m_entries[middle]->key, key))
                low = middle + 1;
            else
                high = middle;
        }
        at = low;
        return low < m_count && !less(key, m_entries[low]->key);
    }

    int search(const K& key) const noexcept {
        int at = 0;
        return locate(key, at) ? at : -1;
    }

    template <class Value>
    V& setImpl(const K& key, Value&& value) {
        int at = 0;
        if (locate(key, at)) {
            V& stored = m_entries[at]->value;
            stored = std::forward<Value>(value);
            return stored;
        }
        return insertAt(at, std::unique_ptr<Entry>(new Entry{key, std::forward<Value>(value)}))->value;
    }

    Entry* insertAt(int at, std::unique_ptr<Entry> entry) {
        if (m_count == m_capacity) grow();
        std::move_backward(m_entries + at, m_entries + m_count, m_entries + m_count + 1);
        m_entries[at] = entry.release();
        ++m_count;
        return m_entries[at];
    }

    void grow() {
        const int capacity = m_capacity == 0 ? kInitialCapacity : m_capacity * 2;
        Entry** entries = new Entry*[std::size_t(capacity)];
        std::copy(m_entries, m_entries + m_count, entries);
        delete[] m_entries;
        m_entries = entries;
        m_capacity = capacity;
    }

    void copyFrom(const CQorMapTempl& other) {
        if (other.m_count == 0) return;
        m_entries = new Entry*[std::size_t(other.m_capacity)];
        m_capacity = other.m_capacity;
        try {
            for (; m_count < other.m_count; ++m_count)
                m_entries[m_count] = new Entry(*other.m_entries[m_count]);
        } catch (...) {
            removeAll();
            throw;
        }
    }

    Entry** m_entries = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};
