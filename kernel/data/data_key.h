#pragma once

#include <memory>
#include <string>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/string.h"

/// Key of a data item: one component, or a path of components that descends through directories.
///
/// A component has one of three kinds, named by AutoCAD result codes:
///  - kText (5005, RTSTR): a name such as "MTX" or "PARM3". Names compare exactly (case matters) and may
///    be empty: the empty name is a legal key of its own.
///  - kShort (5003, RTSHORT): a 16-bit integer, as in outline catalogues and wall lists.
///  - kHandle (5020, RTDXF0): the handle of a drawing entity, a text such as "2A7F". Directories whose
///    children belong to drawing entities key them this way; where a name is wanted, the handle text
///    serves as the name. A handle key never equals a text key with the same text.
///
/// Paths
///  - CQorDataKey(L"PARM3\\MINUSP") splits at every backslash and keeps empty parts, so L"\\CALC" is the
///    two-part key {"", "CALC"}. Path parts are always text; an integer part needs the multi-part form.
///  - CQorDataKey(L"VAL", 2) or CQorDataKey(L"THICK", sheet, L"S_BOT") join parts: every text argument is
///    one text component taken as it is (no splitting), every int a short component, every key argument
///    all of its components.
///  - The empty key (no component) is what a null or empty path gives. Item getters read it as "this
///    item itself"; anything that needs a path to name something reports false or null for it.
///  - An int outside the 16-bit range makes no component: CQorDataKey(70000) is empty.
class QOR_EXPORT CQorDataKey {
public:
    static constexpr int kNone = 5000;
    static constexpr int kShort = 5003;
    static constexpr int kText = 5005;
    static constexpr int kHandle = 5020;

    CQorDataKey() noexcept = default;
    CQorDataKey(const wchar_t* path); // NOLINT: a path is the usual way to name a key
    CQorDataKey(const std::wstring& path) : CQorDataKey(path.c_str()) {}
    CQorDataKey(const CQorString& path) : CQorDataKey(path.c_str()) {}
    CQorDataKey(int number); // NOLINT: short-integer keys are passed as plain ints
    template <class A, class B, class... Rest>
    CQorDataKey(const A& a, const B& b, const Rest&... rest) {
        appendPart(a);
        appendPart(b);
        (appendPart(rest), ...);
    }
    CQorDataKey(const CQorDataKey& other);
    CQorDataKey(CQorDataKey&&) noexcept = default;
    CQorDataKey& operator=(const CQorDataKey& other);
    CQorDataKey& operator=(CQorDataKey&&) noexcept = default;
    ~CQorDataKey();

    /// A one-component key of kind kHandle.
    static CQorDataKey handle(const wchar_t* text);

    /// Replaces the key by a path (as the constructor reads it). True unless path is null or empty.
    bool set(const wchar_t* path);
    /// Replaces the key by one short component; false (key emptied) outside the 16-bit range.
    bool set(int number);
    /// Replaces the key by one component of kind kText or kHandle; false for another kind or null text.
    bool set(int type, const wchar_t* text);

    /// Kind of the first component (kText, kShort, kHandle), kNone for the empty key.
    int type() const noexcept { return m_type; }
    /// The rest of the path after the first component; null for the last component and the empty key.
    /// Valid as long as this key is not changed.
    const CQorDataKey* next() const noexcept { return m_next.get(); }
    bool isEmpty() const noexcept { return m_type == kNone; }
    /// Number of components.
    int len() const noexcept;

    /// Whole paths compare: the same kinds and values, component by component.
    bool operator==(const CQorDataKey& other) const noexcept;
    bool operator!=(const CQorDataKey& other) const noexcept { return !(*this == other); }
    /// Compares only the first components.
    bool sameComponent(const CQorDataKey& other) const noexcept;

    /// Text of the first component: the name, the handle, or the decimal digits of a short key; "" for
    /// the empty key. Valid as long as this key is not changed.
    const wchar_t* text() const noexcept { return m_text.c_str(); }
    /// The whole path with components joined by backslashes.
    CQorString path() const;
    /// Integer of the first component: a short key's value, or the value of a text that is an optionally
    /// signed decimal integer within the int range; 0 otherwise.
    int toInt() const noexcept;
    explicit operator int() const noexcept { return toInt(); }

    /// The first component alone.
    CQorDataKey first() const;

private:
    void appendPart(const wchar_t* text);
    void appendPart(const std::wstring& text) { appendPart(text.c_str()); }
    void appendPart(const CQorString& text) { appendPart(text.c_str()); }
    void appendPart(int number);
    void appendPart(const CQorDataKey& key);
    /// Appends one component at the end of the path and returns it; last, when given, is a node at or
    /// before the end from which to look for it (so that building a long path stays linear).
    CQorDataKey* appendComponent(int type, const std::wstring& text, int number, CQorDataKey* last = nullptr);
    void clear() noexcept;

    int m_type = kNone;
    int m_number = 0;
    std::wstring m_text;
    std::unique_ptr<CQorDataKey> m_next;
};
