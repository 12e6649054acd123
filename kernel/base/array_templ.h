#pragma once

#include <algorithm>
#include <bit>
#include <concepts>
#include <cstddef>
#include <span>
#include <vector>

/// Growable array with the element access the whole library relies on.
///
/// Element access
///  - A negative index counts from the end: index i stands for (count + i) mod count, so -1 is the last
///    element and -count the first; with fewer than two elements every negative index is 0.
///  - A const read past the end yields a default-constructed element; the array does not change.
///  - A non-const access past the end grows the array with default elements up to and including that
///    index (this is how callers write past the end). An index that would need more than kMaxBytes of
///    elements does not grow the array: the access lands on a scratch element that is thrown away, so a
///    wild index can neither exhaust memory nor corrupt a neighbour.
///
/// Capacity starts at 8 elements and doubles until the count fits. Copies are deep. An empty array owns
/// no heap memory.
template <class T>
class CQorArrayTempl {
public:
    /// Largest storage, in bytes, that an access past the end may grow the array to.
    static constexpr std::size_t kMaxBytes = std::size_t{1} << 30;
    static constexpr int kMaxLength = int(std::min<std::size_t>(kMaxBytes / sizeof(T), 0x7FFFFFFF));

    CQorArrayTempl() = default;
    CQorArrayTempl(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
    explicit CQorArrayTempl(std::span<const T> values) { assign(values.begin(), values.end()); }
    CQorArrayTempl(const CQorArrayTempl& other) { assign(other.m_items.begin(), other.m_items.end()); }
    CQorArrayTempl(CQorArrayTempl&&) noexcept = default;
    CQorArrayTempl& operator=(const CQorArrayTempl& other) {
        if (this != &other) {
            m_items.clear();
            assign(other.m_items.begin(), other.m_items.end());
        }
        return *this;
    }
    CQorArrayTempl& operator=(CQorArrayTempl&&) noexcept = default;

    /// Number of elements.
    int len() const noexcept { return int(m_items.size()); }
    bool isEmpty() const noexcept { return m_items.empty(); }
    /// Number of elements the array holds room for.
    int capacity() const noexcept { return int(m_items.capacity()); }

    const T& operator[](int index) const {
        const int i = resolve(index);
        if (i >= len()) return defaultElement();
        return m_items[std::size_t(i)];
    }

    T& operator[](int index) {
        const int i = resolve(index);
        if (i >= len()) {
            if (i >= kMaxLength) return scratchElement();
            setLogicalLength(i + 1);
        }
        return m_items[std::size_t(i)];
    }

    /// Appends a copy of value; returns its index.
    int append(const T& value) {
        if (m_items.size() == m_items.capacity()) {
            // value may be one of this array's own elements: copy it before the storage moves.
            T copy(value);
            reserveFor(m_items.size() + 1);
            m_items.push_back(std::move(copy));
        } else {
            m_items.push_back(value);
        }
        return len() - 1;
    }
    int append(T&& value) {
        reserveFor(m_items.size() + 1);
        m_items.push_back(std::move(value));
        return len() - 1;
    }

    /// Removes count elements starting at index (negative indices as for element access). Removes what
    /// exists of the range; false when index lies past the end or count is not positive.
    bool removeAt(int index, int count = 1) {
        const int i = resolve(index);
        if (count <= 0 || i >= len()) return false;
        const int end = count > len() - i ? len() : i + count;
        m_items.erase(m_items.begin() + i, m_items.begin() + end);
        return true;
    }

    /// Sets the number of elements: shortens, or grows with default elements. False, changing nothing,
    /// for a negative length or one above kMaxLength.
    bool setLogicalLength(int length) {
        if (length < 0 || length > kMaxLength) return false;
        reserveFor(std::size_t(length));
        m_items.resize(std::size_t(length));
        return true;
    }

    void clear() noexcept { m_items.clear(); }

    /// Index of the first element equal to value at or after start, or -1.
    int indexOf(const T& value, int start = 0) const requires std::equality_comparable<T> {
        for (int i = std::max(start, 0); i < len(); ++i)
            if (m_items[std::size_t(i)] == value) return i;
        return -1;
    }

    CQorArrayTempl& operator+=(const CQorArrayTempl& other) {
        if (this == &other) {
            const CQorArrayTempl copy(other);
            return *this += copy;
        }
        assign(other.m_items.begin(), other.m_items.end());
        return *this;
    }
    CQorArrayTempl& operator+=(const T& value) {
        append(value);
        return *this;
    }

    /// Reverses the order of the elements.
    void revert() { std::reverse(m_items.begin(), m_items.end()); }

    /// Sorts ascending; equal elements keep their order.
    void sort() requires std::totally_ordered<T> { std::stable_sort(m_items.begin(), m_items.end()); }

    bool operator==(const CQorArrayTempl& other) const requires std::equality_comparable<T> {
        return m_items == other.m_items;
    }

    T* data() noexcept { return m_items.data(); }
    const T* data() const noexcept { return m_items.data(); }
    std::span<T> span() noexcept { return m_items; }
    std::span<const T> span() const noexcept { return m_items; }
    auto begin() noexcept { return m_items.begin(); }
    auto end() noexcept { return m_items.end(); }
    auto begin() const noexcept { return m_items.begin(); }
    auto end() const noexcept { return m_items.end(); }

    /// Makes room for at least count elements, following the growth rule.
    void reserve(int count) {
        if (count > 0) reserveFor(std::size_t(std::min(count, kMaxLength)));
    }

private:
    /// Maps a negative index to its position counted from the end; non-negative indices pass unchanged.
    int resolve(int index) const noexcept {
        if (index >= 0) return index;
        const int n = len();
        if (n < 2) return 0;
        const int r = index % n;
        return r == 0 ? 0 : r + n;
    }

    void reserveFor(std::size_t count) {
        if (count <= m_items.capacity()) return;
        // Capacities are always 8 times a power of two, so doubling from 8 is rounding up to one.
        m_items.reserve(std::bit_ceil(std::max<std::size_t>(count, 8)));
    }

    template <class It>
    void assign(It first, It last) {
        reserveFor(m_items.size() + std::size_t(last - first));
        for (; first != last; ++first)
            m_items.push_back(*first);
    }

    static const T& defaultElement() {
        static const T element{};
        return element;
    }

    static T& scratchElement() {
        thread_local T element{};
        element = T{};
        return element;
    }

    std::vector<T> m_items;
};
