#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "qor/kernel/base/export.h"

/// Wide-character string of the library.
///
/// Representation
///  - One pointer. A null string (from a null `const wchar_t*` or default construction) and an empty
///    string own no heap memory; only a string with characters allocates. The display list keeps
///    millions of mostly empty strings, so this matters.
///  - `isNull` tells a null string from an empty one. Everything else treats a null string as empty: its
///    length is 0, it converts to L"" (never to a null pointer) and it compares equal to L"".
///  - The characters never contain L'\0': the string is always a valid C string of `len()` characters.
///
/// Indices and lengths are `int` counts of `wchar_t` units (UTF-32 on Linux, UTF-16 on Windows). Out-of-range
/// arguments are clamped or rejected as each method says; none is undefined behaviour.
///
/// Comparison (`==`, `<` ...) is ordinal and case-sensitive: code unit by code unit, as unsigned values.
///
/// No method throws. When memory runs out, or a result would exceed kMaxLength, a modifying method leaves the
/// string unchanged (and returns false where it returns a bool); a constructor, or a function that builds a
/// new string, gives a null string.
class QOR_EXPORT CQorString {
public:
    /// Longest string, in characters. Keeps every length and capacity computation far from int overflow.
    static constexpr int kMaxLength = 1 << 28;

    CQorString() noexcept = default;
    /// Copies the C string; a null pointer makes a null string.
    CQorString(const wchar_t* text) noexcept;
    /// Copies count characters of text, or up to its first L'\0' if that comes first. A null pointer makes a
    /// null string; a negative count counts as 0.
    CQorString(const wchar_t* text, int count) noexcept;
    explicit CQorString(std::wstring_view text) noexcept;
    CQorString(const CQorString& other) noexcept;
    CQorString(CQorString&& other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    ~CQorString();

    CQorString& operator=(const CQorString& other) noexcept;
    CQorString& operator=(CQorString&& other) noexcept;
    CQorString& operator=(const wchar_t* text) noexcept;

    /// The characters as a C string; L"" for a null or empty string. Valid until the string changes.
    const wchar_t* c_str() const noexcept { return m_block ? chars() : L""; }
    operator const wchar_t*() const noexcept { return c_str(); }
    std::wstring_view view() const noexcept { return {c_str(), std::size_t(len())}; }

    int len() const noexcept { return m_block ? m_block->length : 0; }
    bool isEmpty() const noexcept { return len() == 0; }
    /// True only for a string made from a null pointer or default-constructed, and not assigned since.
    bool isNull() const noexcept { return m_block == nullptr; }
    /// Character at index, or L'\0' when index is outside [0, len()).
    wchar_t getAt(int index) const noexcept;

    /// Index of the first occurrence of what at or after start, or -1. An empty what is found at start when
    /// start <= len(). A negative start counts as 0.
    int find(const wchar_t* what, int start = 0) const noexcept;
    int find(wchar_t what, int start = 0) const noexcept;

    /// Up to count characters starting at start; to the end when count is negative. A negative start counts
    /// as 0; a start past the end gives an empty string.
    CQorString mid(int start, int count = -1) const noexcept;
    /// The last count characters (all of them when count >= len(); empty when count <= 0).
    CQorString right(int count) const noexcept;
    /// The first count characters (all of them when count >= len(); empty when count <= 0).
    CQorString left(int count) const noexcept;

    /// Replaces every non-overlapping occurrence of what, scanning left to right, by with (null = empty).
    /// Returns the number of replacements; 0 for an empty or null what.
    int replace(const wchar_t* what, const wchar_t* with) noexcept;
    /// Replaces every what character by with; returns the count. With with == L'\0' the string is cut at
    /// the first what, as a C string would be, and the count is 1 when what occurred.
    int replace(wchar_t what, wchar_t with) noexcept;

    /// Sets the character at index. False (no change) when index is outside [0, len()). Setting L'\0'
    /// shortens the string to index characters.
    bool setAt(int index, wchar_t ch) noexcept;

    /// Case mapping of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters, independent of the
    /// process locale, so results are the same on every machine. Letters whose other case is not a single
    /// character (such as U+00DF sharp s) stay as they are.
    CQorString& makeUpper() noexcept;
    CQorString& makeLower() noexcept;
    static wchar_t toUpper(wchar_t ch) noexcept;
    static wchar_t toLower(wchar_t ch) noexcept;

    /// Removes white space (space, tab, CR, LF, VT, FF, U+00A0) at both ends.
    CQorString& trim() noexcept;

    /// printf-style formatting with the Windows meaning of the wide format letters, so format strings read
    /// the same on every platform: %s and %c take `const wchar_t*` and `wchar_t`; %hs and %hc take `const
    /// char*` and `char` (converted through the C locale); %ls, %lc, %S and %C as on Windows. Any output
    /// length up to kMaxLength works. On failure (bad format, output too long) the string becomes empty and
    /// the result is false.
    bool format(const wchar_t* fmt, ...) noexcept;
    bool formatV(const wchar_t* fmt, std::va_list args) noexcept;

    /// Writable buffer with room for at least minLength characters plus L'\0', holding the current text.
    /// After writing, call ReleaseBuffer before any other method so the string learns its new length. Null
    /// when memory runs out or minLength exceeds kMaxLength.
    wchar_t* GetBuffer(int minLength = 0) noexcept;
    /// Ends a GetBuffer: the length becomes newLength (clamped to the buffer), or when newLength is negative
    /// the position of the first L'\0'.
    void ReleaseBuffer(int newLength = -1) noexcept;

    /// Resolves the escapes that AutoCAD and message catalogues write for characters outside the code page:
    ///  - "\U+XXXX" (also "\u+XXXX") with exactly four hex digits, as AutoCAD writes text;
    ///  - "\uXXXX" with exactly four hex digits, as C and JSON write them.
    /// A high and a low surrogate written as two escapes become one character where wchar_t is 32 bits; a
    /// lone surrogate becomes U+FFFD. An escape of U+0000, or a backslash followed by anything else, stays
    /// as it is. Returns the number of escapes resolved.
    int unEscapeWideChar() noexcept;

    /// The text encoded as UTF-8. A character that is not a Unicode scalar value (a lone surrogate, a value
    /// above U+10FFFF) is written as U+FFFD. Empty when memory runs out.
    std::string toUtf8() const noexcept { return toUtf8(view()); }
    static std::string toUtf8(std::wstring_view text) noexcept;
    /// Decodes UTF-8; each maximal invalid subsequence becomes one U+FFFD (the Unicode recommended practice)
    /// and an embedded '\0' ends the text. A null pointer gives a null string.
    static CQorString fromUtf8(const char* text) noexcept;
    static CQorString fromUtf8(std::string_view text) noexcept;

    CQorString& operator+=(const CQorString& other) noexcept;
    CQorString& operator+=(const wchar_t* text) noexcept;
    CQorString& operator+=(wchar_t ch) noexcept;

    /// Ordinal comparison of two C strings treating null as L"": negative, 0 or positive.
    static int compare(const wchar_t* a, const wchar_t* b) noexcept;

    friend bool operator==(const CQorString& a, const CQorString& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const CQorString& a, const wchar_t* b) noexcept { return compare(a, b) == 0; }
    friend bool operator<(const CQorString& a, const CQorString& b) noexcept { return compare(a, b) < 0; }
    friend bool operator<(const CQorString& a, const wchar_t* b) noexcept { return compare(a, b) < 0; }
    friend bool operator<(const wchar_t* a, const CQorString& b) noexcept { return compare(a, b) < 0; }
    friend bool operator>(const CQorString& a, const CQorString& b) noexcept { return compare(a, b) > 0; }
    friend bool operator>(const CQorString& a, const wchar_t* b) noexcept { return compare(a, b) > 0; }
    friend bool operator>(const wchar_t* a, const CQorString& b) noexcept { return compare(a, b) > 0; }
    friend bool operator<=(const CQorString& a, const CQorString& b) noexcept { return compare(a, b) <= 0; }
    friend bool operator>=(const CQorString& a, const CQorString& b) noexcept { return compare(a, b) >= 0; }

private:
    /// Heap block: this header, then capacity + 1 wchar_t (the text and its terminating L'\0').
    struct Block {
        int length;
        int capacity;
    };

    struct EmptyBlock {
        Block header;
        wchar_t nul;
    };
    /// The block of every non-null empty string that never held text: capacity 0 marks it as not owned,
    /// and its L'\0' right behind the header is what c_str() returns.
    static const EmptyBlock kEmptyBlock;

    wchar_t* chars() const noexcept { return reinterpret_cast<wchar_t*>(m_block + 1); }
    /// Replaces the text by count characters of text (which may point into this string).
    bool assign(const wchar_t* text, int count) noexcept;
    bool append(const wchar_t* text, int count) noexcept;
    /// Makes room for capacity characters, keeping the text; false when that cannot be done.
    bool reserve(int capacity) noexcept;
    static Block* allocate(int capacity) noexcept;

    /// Null for a null string. An empty string points to a shared read-only block of capacity 0 (never
    /// freed, never written) unless it already owns a heap block; heap blocks have capacity >= 1.
    Block* m_block = nullptr;
};

/// Concatenation; a null result only when memory runs out or the result would exceed kMaxLength.
QOR_EXPORT CQorString operator+(const CQorString& a, const CQorString& b) noexcept;
QOR_EXPORT CQorString operator+(const CQorString& a, const wchar_t* b) noexcept;
QOR_EXPORT CQorString operator+(const wchar_t* a, const CQorString& b) noexcept;
QOR_EXPORT CQorString operator+(const CQorString& a, wchar_t b) noexcept;
