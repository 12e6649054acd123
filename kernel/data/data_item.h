#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/base/obj.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_key.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/point3d_array.h"
#include "qor/kernel/geom/vertex_array.h"

struct resbuf;
class CQorDataDir;

/// Node of the data tree: either a value item or a directory of child items kept in insertion order.
///
/// Values
///  - A value item holds nothing (a fresh item) or one value of the kinds of Kind below.
///  - Typed getters report by their result whether a value of that kind was there; out is left alone when
///    it was not. Numbers widen where that loses nothing: an int reads as double, as unsigned long (when not
///    negative) and as bool (non-zero); an unsigned long reads as int when it fits and as double. A double
///    never reads as an integer and nothing reads as a text or an array except a value of that kind.
///  - A setter makes its target hold the value, whatever it held before (a directory there is dropped).
///
/// Keys and paths (see CQorDataKey)
///  - Getters and setters take a key that may be a path; the empty key means this item itself.
///  - getItem, makeDir, remove and setItem need a non-empty key: the empty key gives null or false.
///  - Reading through a path never changes the tree. Writing through a path creates the missing
///    directories on the way; a fresh item on the way becomes a directory, a value item stops the write
///    (false, nothing changed).
///
/// Ownership: a directory owns its children. Pointers to items stay valid until the item, or a directory
/// above it, is removed or replaced by a setter.
///
/// Threads: a tree is used by one thread at a time, reads included: the first look-up in a large
/// directory builds its index. A tree that threads share is read and written under a lock (the
/// configuration's is QOR::CCfgLock).
class QOR_EXPORT CQorDataItem : public CQorObj {
public:
    /// What an item holds. The order is part of no format; the JSON and LISP forms name kinds their own way.
    enum class Kind {
        None,
        Bool,
        Int,
        ULong,
        Double,
        String,
        IntArray,
        StringArray,
        Point,
        PointArray,
        VertexArray,
        VertexArrayList, ///< CQorArrayTempl<CQorVertexArray>: regions, stroke groups, polyline lists
        Matrix,
        Dir
    };

    CQorDataItem();
    CQorDataItem(const CQorDataItem& other);
    CQorDataItem& operator=(const CQorDataItem& other);
    CQorDataItem(CQorDataItem&& other) noexcept;
    CQorDataItem& operator=(CQorDataItem&& other) noexcept;
    ~CQorDataItem() override;

    Kind kind() const noexcept;
    bool isDir() const noexcept { return m_dir != nullptr; }
    /// True for a fresh item that holds neither a value nor children.
    bool isNone() const noexcept;

    // Typed getters.
    bool get(bool& out, const CQorDataKey& key = {}) const noexcept;
    bool get(int& out, const CQorDataKey& key = {}) const noexcept;
    bool get(unsigned long& out, const CQorDataKey& key = {}) const noexcept;
    bool get(double& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorString& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorArrayTempl<int>& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorArrayTempl<CQorString>& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorPoint3d& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorPoint3dArray& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorVertexArray& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorArrayTempl<CQorVertexArray>& out, const CQorDataKey& key = {}) const noexcept;
    bool get(CQorMatrix3d& out, const CQorDataKey& key = {}) const noexcept;

    // Setters; false when the path is blocked by a value item or memory runs out.
    bool set(bool value, const CQorDataKey& key = {}) noexcept;
    bool set(int value, const CQorDataKey& key = {}) noexcept;
    bool set(unsigned long value, const CQorDataKey& key = {}) noexcept;
    bool set(unsigned int value, const CQorDataKey& key = {}) noexcept {
        return set((unsigned long)value, key);
    }
    bool set(double value, const CQorDataKey& key = {}) noexcept;
    /// Null text stores the empty text.
    bool set(const wchar_t* value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorString& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorArrayTempl<int>& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorArrayTempl<CQorString>& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorPoint3d& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorPoint3dArray& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorVertexArray& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorArrayTempl<CQorVertexArray>& value, const CQorDataKey& key = {}) noexcept;
    bool set(const CQorMatrix3d& value, const CQorDataKey& key = {}) noexcept;

    /// The item at a non-empty path, or null.
    CQorDataItem* getItem(const CQorDataKey& key) noexcept;
    const CQorDataItem* getItem(const CQorDataKey& key) const noexcept;
    /// This item's key in its directory; empty for an item that is no directory's child.
    const CQorDataKey& getKey() const noexcept { return m_key; }
    /// This item's directory part, or null for a value item.
    CQorDataDir* getDir() noexcept { return m_dir.get(); }
    const CQorDataDir* getDir() const noexcept { return m_dir.get(); }
    /// Makes this item a directory: a value item drops its value and becomes an empty directory; a
    /// directory stays as it is. Null only when out of memory.
    CQorDataDir* mkDir() noexcept;
    /// The directory item at a non-empty path, created with the missing directories on the way; an
    /// existing fresh item there becomes a directory. Null when the path is empty, when a value item
    /// blocks it, or when the item there holds a value.
    CQorDataItem* makeDir(const CQorDataKey& key) noexcept;
    /// Removes the item at a non-empty path with everything below it. False when there is none.
    bool remove(const CQorDataKey& key) noexcept;
    /// Stores a deep copy of item at a non-empty path (replacing what was there, in place). The copy
    /// takes the last component of the path as its key.
    bool setItem(const CQorDataItem& item, const CQorDataKey& key) noexcept;
    /// Copies every child of the directory from into this directory (a fresh item becomes one). A child
    /// whose key exists replaces the existing item when replace is set and is skipped otherwise. False
    /// when from is not a directory or this item holds a value.
    bool insert(const CQorDataItem& from, bool replace) noexcept;
    /// Replaces this item's value or children by from's, keeping this item's key and its place in its
    /// directory. from is left a fresh item.
    void takeContent(CQorDataItem&& from) noexcept;
    /// A deep copy that the caller owns (delete it), or null when out of memory. The copy is a root: its
    /// key is this item's key, but it belongs to no directory.
    CQorDataItem* clone() const noexcept;

    /// The LISP form of this item as a new chain that the caller frees with qorRelRb.
    ///  - A directory gives its entries one after another, without an enclosing list: each entry is the
    ///    dotted pair (key . value). Wrap the chain with QOR::rbToList to pass it as one list. An empty
    ///    directory gives no entry: a null chain.
    ///  - Keys: RTSTR for a text key, RTSHORT for a short key, RTDXF0 for a handle key.
    ///  - Values: bool RTT or RTNIL; int RTLONG; unsigned long RTINT64 (bits kept); double RTREAL; text
    ///    RTSTR; point RT3DPOINT; nothing RTNONE; arrays of ints, texts and points a list of those;
    ///    polylines, lists of polylines and matrices the lists of resbuf.h (a matrix is four rows of four
    ///    RTREALs); a directory below the top a list of its entries.
    /// Null also when out of memory.
    resbuf* mkLisp() const noexcept;
    /// Reads a LISP form into this item (the key stays). The form is what mkLisp writes; a directory may
    /// also come wrapped in one list, and a null chain is the empty directory. Lists are told apart by
    /// their elements, so an empty list reads as an empty directory: empty arrays do not survive the LISP
    /// form (the JSON form keeps them). flag 0 replaces this item's content; flag 1 merges a directory
    /// form into this directory, entries replacing those with the same key. False, leaving the item
    /// unchanged, for a form that is none of the above (or, with flag 1, for a value form).
    bool setData(const resbuf* rb, int flag = 0) noexcept;

    /// Deep equality of kinds, values, keys of children and their order. Every double (coordinates and
    /// matrix entries too) compares exactly, with NaN equal to NaN: this is identity of content, not the
    /// tolerant geometric equality of CQorPoint3d.
    bool operator==(const CQorDataItem& other) const noexcept;
    bool operator!=(const CQorDataItem& other) const noexcept { return !(*this == other); }

private:
    friend class CQorDataDir;
    // The alternatives are in the order of Kind.
    using Value = std::variant<std::monostate, bool, int, unsigned long, double, CQorString,
                               CQorArrayTempl<int>, CQorArrayTempl<CQorString>, CQorPoint3d, CQorPoint3dArray,
                               CQorVertexArray, CQorArrayTempl<CQorVertexArray>, CQorMatrix3d>;

    template <class T>
    bool getValue(T& out, const CQorDataKey& key) const noexcept;
    template <class T>
    bool setValue(T&& value, const CQorDataKey& key) noexcept;
    /// The item at key, created on the way when create is set. Null when blocked or missing.
    CQorDataItem* walk(const CQorDataKey& key, bool create);
    void copyFrom(const CQorDataItem& other);

    CQorDataKey m_key;
    Value m_value;
    std::unique_ptr<CQorDataDir> m_dir;
};

/// The children of a directory item, in insertion order. Keys here are single components; a path with
/// more components is taken relative to the owning item (the same as calling the item).
class QOR_EXPORT CQorDataDir {
public:
    explicit CQorDataDir(CQorDataItem* owner) noexcept : m_owner(owner) {}
    CQorDataDir(const CQorDataDir&) = delete;
    CQorDataDir& operator=(const CQorDataDir&) = delete;
    ~CQorDataDir();

    /// The directory item at key, created when missing (CQorDataItem::makeDir).
    CQorDataItem* makeDir(const CQorDataKey& key) noexcept { return m_owner->makeDir(key); }
    /// The item at key, created as a fresh item when missing; null when key is empty or blocked.
    CQorDataItem* makeItem(const CQorDataKey& key) noexcept;
    bool remove(const CQorDataKey& key) noexcept { return m_owner->remove(key); }
    bool isEmpty() const noexcept { return m_items.empty(); }
    /// Number of children.
    int len() const noexcept { return int(m_items.size()); }
    /// Child by position (0 is the oldest); null outside [0, len()).
    CQorDataItem* at(int index) noexcept;
    const CQorDataItem* at(int index) const noexcept;
    CQorDataItem* getItem(const CQorDataKey& key) noexcept { return m_owner->getItem(key); }
    const CQorDataItem* getItem(const CQorDataKey& key) const noexcept { return m_owner->getItem(key); }
    /// Position of the child with this one-component key, or -1.
    int indexOf(const CQorDataKey& component) const noexcept;
    /// The child with this one-component key, or null.
    CQorDataItem* find(const CQorDataKey& component) const noexcept;
    CQorDataItem* owner() const noexcept { return m_owner; }

private:
    friend class CQorDataItem;
    /// Adds a fresh child at the end; the key must be a single component not yet present.
    CQorDataItem* append(const CQorDataKey& component);
    void erase(int index);
    static std::wstring indexKey(const CQorDataKey& component);

    /// Directories up to this size are searched linearly; larger ones get a hash index.
    static constexpr std::size_t kIndexFrom = 16;

    CQorDataItem* m_owner;
    std::vector<std::unique_ptr<CQorDataItem>> m_items;
    /// Kind and text of each child's key to the child. Invariant: either empty or complete (one entry
    /// per child); built on the first search of a directory larger than kIndexFrom.
    mutable std::unordered_map<std::wstring, CQorDataItem*> m_index;
};
