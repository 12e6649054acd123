#include "qor/kernel/base/string.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <type_traits>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;
constexpr bool kUtf16 = sizeof(wchar_t) == 2;

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

/// Value of exactly four hex digits at p (which has at least four characters), or -1.
int hex4(const wchar_t* p) {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(p[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

/// Parses one escape at text[i] ("\U+XXXX", "\u+XXXX" or "\uXXXX"); on success stores the code unit and the
/// escape's length.
bool parseEscape(const wchar_t* text, int n, int i, int& unit, int& length) {
    if (i + 1 >= n || text[i] != L'\\') return false;
    const wchar_t kind = text[i + 1];
    if ((kind == L'U' || kind == L'u') && i + 7 <= n && text[i + 2] == L'+') {
        unit = hex4(text + i + 3);
        length = 7;
    } else if (kind == L'u' && i + 6 <= n) {
        unit = hex4(text + i + 2);
        length = 6;
    } else {
        return false;
    }
    return unit > 0;
}

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0xA0;
}

/// Rewrites a format string with the Windows meaning of the wide format letters into the C library's:
/// %s/%c (wide there) become %ls/%lc; %hs/%hc/%S/%C (narrow there) become %s/%c; %ws/%wc stay wide;
/// the size prefixes I64, I32 and I become ll, nothing and z.
std::wstring translateFormat(const wchar_t* fmt) {
    std::wstring out;
    out.reserve(std::wcslen(fmt) + 8);
    for (const wchar_t* p = fmt; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        while (*p && std::wcschr(L"-+ #0'123456789.*", *p))
            out += *p++;
        wchar_t size = 0;
        if (*p == L'h' || *p == L'w') {
            size = *p++;
        } else if (*p == L'l' && (p[1] == L's' || p[1] == L'c')) {
            size = L'w';
            ++p;
        } else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            out += L"ll";
            p += 3;
        } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
            p += 3;
        } else if (p[0] == L'I') {
            out += L'z';
            ++p;
        }
        const wchar_t conv = *p;
        if (conv == L's' || conv == L'c') {
            if (size != L'h') out += L'l';
            out += conv;
            ++p;
        } else if (conv == L'S' || conv == L'C') {
            if (size == L'w') out += L'l';
            out += wchar_t(conv - L'S' + L's');
            ++p;
        } else if (size == L'h') {
            out += L'h'; // %hd and friends keep their meaning
        }
    }
    return out;
}

} // namespace

constinit const CQorString::EmptyBlock CQorString::kEmptyBlock{{0, 0}, L'\0'};

CQorString::Block* CQorString::allocate(int capacity) noexcept {
    static_assert(sizeof(Block) % alignof(wchar_t) == 0, "the text must follow the header directly");
    if (capacity < 1 || capacity > kMaxLength) return nullptr;
    void* memory = std::malloc(sizeof(Block) + (std::size_t(capacity) + 1) * sizeof(wchar_t));
    if (!memory) return nullptr;
    Block* block = static_cast<Block*>(memory);
    block->length = 0;
    block->capacity = capacity;
    reinterpret_cast<wchar_t*>(block + 1)[0] = L'\0';
    return block;
}

bool CQorString::reserve(int capacity) noexcept {
    if (capacity > kMaxLength) return false;
    if (m_block && capacity <= m_block->capacity) return true;
    // Growing by doubling keeps repeated appends linear.
    const int current = m_block ? m_block->capacity : 0;
    const int wanted = std::max(capacity, std::min(kMaxLength, current * 2));
    Block* block = allocate(std::max(wanted, 1));
    if (!block) return false;
    const int length = len();
    if (length > 0) std::wmemcpy(reinterpret_cast<wchar_t*>(block + 1), chars(), std::size_t(length) + 1);
    block->length = length;
    if (m_block && m_block->capacity > 0) std::free(m_block);
    m_block = block;
    return true;
}

bool CQorString::assign(const wchar_t* text, int count) noexcept {
    if (count <= 0) {
        if (m_block && m_block->capacity > 0) {
            m_block->length = 0;
            chars()[0] = L'\0';
        } else {
            m_block = const_cast<Block*>(&kEmptyBlock.header);
        }
        return true;
    }
    if (count > kMaxLength) return false;
    if (m_block && count <= m_block->capacity) {
        std::wmemmove(chars(), text, std::size_t(count)); // text may lie inside this string
    } else {
        Block* block = allocate(count);
        if (!block) return false;
        std::wmemcpy(reinterpret_cast<wchar_t*>(block + 1), text, std::size_t(count));
        if (m_block && m_block->capacity > 0) std::free(m_block);
        m_block = block;
    }
    m_block->length = count;
    chars()[count] = L'\0';
    return true;
}

bool CQorString::append(const wchar_t* text, int count) noexcept {
    if (count <= 0) {
        if (!m_block) assign(nullptr, 0); // appending nothing still makes the string non-null
        return true;
    }
    const int length = len();
    if (count > kMaxLength - length) return false;
    if (!m_block || length + count > m_block->capacity) {
        // text may point into this string: grow into a new block before the old one is freed
        Block* block = allocate(std::max(length + count, std::min(kMaxLength, length * 2)));
        if (!block) return false;
        wchar_t* dest = reinterpret_cast<wchar_t*>(block + 1);
        if (length > 0) std::wmemcpy(dest, chars(), std::size_t(length));
        std::wmemcpy(dest + length, text, std::size_t(count));
        block->length = length + count;
        dest[length + count] = L'\0';
        if (m_block && m_block->capacity > 0) std::free(m_block);
        m_block = block;
        return true;
    }
    std::wmemmove(chars() + length, text, std::size_t(count));
    m_block->length = length + count;
    chars()[length + count] = L'\0';
    return true;
}

CQorString::CQorString(const wchar_t* text) noexcept {
    if (text) assign(text, int(std::min<std::size_t>(std::wcslen(text), std::size_t(kMaxLength) + 1)));
}

CQorString::CQorString(const wchar_t* text, int count) noexcept {
    if (!text) return;
    int n = 0;
    while (n < count && text[n])
        ++n;
    assign(text, n);
}

CQorString::CQorString(std::wstring_view text) noexcept {
    const std::size_t end = std::min(text.find(L'\0'), text.size());
    assign(text.data(), int(std::min<std::size_t>(end, std::size_t(kMaxLength) + 1)));
}

CQorString::CQorString(const CQorString& other) noexcept {
    if (other.m_block) assign(other.chars(), other.len());
}

CQorString::~CQorString() {
    if (m_block && m_block->capacity > 0) std::free(m_block);
}

CQorString& CQorString::operator=(const CQorString& other) noexcept {
    if (this == &other) return *this;
    if (!other.m_block) {
        if (m_block && m_block->capacity > 0) std::free(m_block);
        m_block = nullptr;
    } else {
        assign(other.chars(), other.len());
    }
    return *this;
}

CQorString& CQorString::operator=(CQorString&& other) noexcept {
    if (this != &other) {
        if (m_block && m_block->capacity > 0) std::free(m_block);
        m_block = other.m_block;
        other.m_block = nullptr;
    }
    return *this;
}

CQorString& CQorString::operator=(const wchar_t* text) noexcept {
    if (!text) {
        if (m_block && m_block->capacity > 0) std::free(m_block);
        m_block = nullptr;
        return *this;
    }
    assign(text, int(std::min<std::size_t>(std::wcslen(text), std::size_t(kMaxLength) + 1)));
    return *this;
}

wchar_t CQorString::getAt(int index) const noexcept {
    return index >= 0 && index < len() ? chars()[index] : L'\0';
}

int CQorString::find(const wchar_t* what, int start) const noexcept {
    if (!what) return -1;
    start = std::max(start, 0);
    if (start > len()) return -1;
    const std::size_t at = view().find(what, std::size_t(start));
    return at == std::wstring_view::npos ? -1 : int(at);
}

int CQorString::find(wchar_t what, int start) const noexcept {
    start = std::max(start, 0);
    if (start >= len() || what == L'\0') return -1;
    const std::size_t at = view().find(what, std::size_t(start));
    return at == std::wstring_view::npos ? -1 : int(at);
}

CQorString CQorString::mid(int start, int count) const noexcept {
    const int length = len();
    start = std::clamp(start, 0, length);
    if (count < 0 || count > length - start) count = length - start;
    return CQorString(c_str() + start, count);
}

CQorString CQorString::right(int count) const noexcept {
    count = std::clamp(count, 0, len());
    return CQorString(c_str() + len() - count, count);
}

CQorString CQorString::left(int count) const noexcept {
    return CQorString(c_str(), std::clamp(count, 0, len()));
}

int CQorString::replace(const wchar_t* what, const wchar_t* with) noexcept {
    if (!what || !*what || isEmpty()) return 0;
    const std::wstring_view from(what);
    const std::wstring_view to(with ? with : L"");
    const std::wstring_view text = view();
    int count = 0;
    for (std::size_t at = text.find(from); at != std::wstring_view::npos;
         at = text.find(from, at + from.size()))
        ++count;
    if (count == 0) return 0;
    const long long newLength = len() + (long long)count * ((long long)to.size() - (long long)from.size());
    if (newLength > kMaxLength) return 0;
    Block* block = newLength > 0 ? allocate(int(newLength)) : nullptr;
    if (newLength > 0 && !block) return 0;
    if (block) {
        wchar_t* out = reinterpret_cast<wchar_t*>(block + 1);
        std::size_t pos = 0;
        for (std::size_t at = text.find(from); at != std::wstring_view::npos; at = text.find(from, pos)) {
            out = std::wmemcpy(out, text.data() + pos, at - pos) + (at - pos);
            out = std::wmemcpy(out, to.data(), to.size()) + to.size();
            pos = at + from.size();
        }
        out = std::wmemcpy(out, text.data() + pos, text.size() - pos) + (text.size() - pos);
        *out = L'\0';
        block->length = int(newLength);
        std::free(m_block);
        m_block = block;
    } else {
        assign(nullptr, 0);
    }
    return count;
}

int CQorString::replace(wchar_t what, wchar_t with) noexcept {
    if (what == L'\0') return 0;
    int count = 0;
    const int length = len();
    for (int i = 0; i < length; ++i) {
        if (chars()[i] != what) continue;
        if (with == L'\0') {
            setAt(i, L'\0');
            return 1;
        }
        chars()[i] = with;
        ++count;
    }
    return count;
}

bool CQorString::setAt(int index, wchar_t ch) noexcept {
    if (index < 0 || index >= len()) return false;
    chars()[index] = ch;
    if (ch == L'\0') m_block->length = index;
    return true;
}

wchar_t CQorString::toUpper(wchar_t ch) noexcept {
    const char32_t c = char32_t(ch);
    if (c < 0x80) return c >= U'a' && c <= U'z' ? wchar_t(c - 32) : ch;
    if (c < 0x100) {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return wchar_t(c - 32);
        if (c == 0xFF) return wchar_t(0x178);
        return ch;
    }
    if (c < 0x180) {
        if (c == 0x131) return L'I';
        if (c == 0x17F) return L'S';
        if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
            return wchar_t(c & ~char32_t(1));
        if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) == 0) return wchar_t(c - 1);
        return ch;
    }
    if (c >= 0x3AC && c <= 0x3CE) {
        if (c == 0x3AC) return wchar_t(0x386);
        if (c >= 0x3AD && c <= 0x3AF) return wchar_t(c - 37);
        if (c == 0x3C2) return wchar_t(0x3A3);
        if (c >= 0x3B1 && c <= 0x3CB) return wchar_t(c - 32);
        if (c == 0x3CC) return wchar_t(0x38C);
        if (c >= 0x3CD) return wchar_t(c - 63);
        return ch;
    }
    if (c >= 0x430 && c <= 0x44F) return wchar_t(c - 32);
    if (c >= 0x450 && c <= 0x45F) return wchar_t(c - 80);
    return ch;
}

wchar_t CQorString::toLower(wchar_t ch) noexcept {
    const char32_t c = char32_t(ch);
    if (c < 0x80) return c >= U'A' && c <= U'Z' ? wchar_t(c + 32) : ch;
    if (c < 0x100) return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? wchar_t(c + 32) : ch;
    if (c < 0x180) {
        if (c == 0x130) return L'i';
        if (c == 0x178) return wchar_t(0xFF);
        if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
            return wchar_t(c | 1);
        if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) == 1) return wchar_t(c + 1);
        return ch;
    }
    if (c >= 0x386 && c <= 0x3AB) {
        if (c == 0x386) return wchar_t(0x3AC);
        if (c >= 0x388 && c <= 0x38A) return wchar_t(c + 37);
        if (c == 0x38C) return wchar_t(0x3CC);
        if (c == 0x38E || c == 0x38F) return wchar_t(c + 63);
        if (c >= 0x391 && c != 0x3A2) return wchar_t(c + 32);
        return ch;
    }
    if (c >= 0x410 && c <= 0x42F) return wchar_t(c + 32);
    if (c >= 0x400 && c <= 0x40F) return wchar_t(c + 80);
    return ch;
}

CQorString& CQorString::makeUpper() noexcept {
    for (int i = 0; i < len(); ++i)
        chars()[i] = toUpper(chars()[i]);
    return *this;
}

CQorString& CQorString::makeLower() noexcept {
    for (int i = 0; i < len(); ++i)
        chars()[i] = toLower(chars()[i]);
    return *this;
}

CQorString& CQorString::trim() noexcept {
    int begin = 0;
    int end = len();
    while (begin < end && isSpace(chars()[begin]))
        ++begin;
    while (end > begin && isSpace(chars()[end - 1]))
        --end;
    if (begin > 0 || end < len()) assign(c_str() + begin, end - begin);
    return *this;
}

bool CQorString::format(const wchar_t* fmt, ...) noexcept {
    std::va_list args;
    va_start(args, fmt);
    const bool ok = formatV(fmt, args);
    va_end(args);
    return ok;
}

bool CQorString::formatV(const wchar_t* fmt, std::va_list args) noexcept {
    bool ok = false;
    if (fmt) {
        try {
            const std::wstring cfmt = translateFormat(fmt);
#if defined(_WIN32)
            std::va_list count;
            va_copy(count, args);
            const int n = _vscwprintf(cfmt.c_str(), count);
            va_end(count);
            if (n >= 0 && n <= kMaxLength) {
                std::wstring out(std::size_t(n) + 1, L'\0');
                ok = std::vswprintf(out.data(), out.size(), cfmt.c_str(), args) == n && assign(out.data(), n);
            }
#else
            // A memory stream measures and writes in one pass, whatever the output length.
            wchar_t* buffer = nullptr;
            std::size_t size = 0;
            if (FILE* stream = open_wmemstream(&buffer, &size)) {
                const int n = std::vfwprintf(stream, cfmt.c_str(), args);
                std::fclose(stream);
                ok = n >= 0 && size <= std::size_t(kMaxLength) && assign(buffer, int(size));
            }
            std::free(buffer);
#endif
        } catch (...) {
            ok = false; // the format translation ran out of memory
        }
    }
    if (!ok) assign(nullptr, 0);
    return ok;
}

wchar_t* CQorString::GetBuffer(int minLength) noexcept {
    // Never hand out the shared empty block: callers write into the buffer.
    if (!reserve(std::max({minLength, len(), 1}))) return nullptr;
    return chars();
}

void CQorString::ReleaseBuffer(int newLength) noexcept {
    if (!m_block || m_block->capacity == 0) return;
    wchar_t* text = chars();
    const int capacity = m_block->capacity;
    int length = 0;
    if (newLength < 0) {
        while (length < capacity && text[length])
            ++length;
    } else {
        length = std::min(newLength, capacity);
        for (int i = 0; i < length; ++i)
            if (!text[i]) length = i;
    }
    m_block->length = length;
    text[length] = L'\0';
}

int CQorString::unEscapeWideChar() noexcept {
    const int n = len();
    if (n < 6) return 0;
    wchar_t* text = chars();
    int resolved = 0;
    int out = 0;
    for (int i = 0; i < n;) {
        int unit = 0;
        int length = 0;
        if (!parseEscape(text, n, i, unit, length)) {
            text[out++] = text[i++];
            continue;
        }
        i += length;
        ++resolved;
        if (isHighSurrogate(char32_t(unit))) {
            int low = 0;
            int lowLength = 0;
            if (parseEscape(text, n, i, low, lowLength) && isLowSurrogate(char32_t(low))) {
                i += lowLength;
                ++resolved;
                if constexpr (kUtf16) {
                    text[out++] = wchar_t(unit);
                    text[out++] = wchar_t(low);
                } else {
                    text[out++] = wchar_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                }
                continue;
            }
            unit = kReplacement;
        } else if (isLowSurrogate(char32_t(unit))) {
            unit = kReplacement;
        }
        text[out++] = wchar_t(unit);
    }
    m_block->length = out;
    text[out] = L'\0';
    return resolved;
}

std::string CQorString::toUtf8(std::wstring_view view) noexcept try {
    std::string out;
    const std::size_t n = view.size();
    out.reserve(n);
    const wchar_t* text = view.data();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = char32_t(text[i]);
        if constexpr (kUtf16) {
            c &= 0xFFFF;
            if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(char32_t(text[i + 1]) & 0xFFFF))
                c = 0x10000 + ((c - 0xD800) << 10) + ((char32_t(text[++i]) & 0xFFFF) - 0xDC00);
        }
        if (c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) c = kReplacement;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
} catch (...) {
    return {};
}

CQorString CQorString::fromUtf8(const char* text) noexcept {
    if (!text) return CQorString();
    return fromUtf8(std::string_view(text));
}

CQorString CQorString::fromUtf8(std::string_view text) noexcept {
    const std::size_t end = std::min(text.find('\0'), text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    CQorString result(L"");
    if (end == 0) return result;
    // Every byte yields at most one code unit, a four-byte sequence at most two.
    if (end > std::size_t(kMaxLength) || !result.reserve(int(end))) return CQorString();
    wchar_t* out = result.chars();
    std::size_t i = 0;
    while (i < end) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            *out++ = wchar_t(lead);
            ++i;
            continue;
        }
        int need = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            if (lead == 0xE0) low = 0xA0;  // overlong
            if (lead == 0xED) high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            if (lead == 0xF0) low = 0x90;  // overlong
            if (lead == 0xF4) high = 0x8F; // above U+10FFFF
        } else {
            *out++ = kReplacement;
            ++i;
            continue;
        }
        char32_t c = lead & (0x3F >> need);
        std::size_t j = i + 1;
        int got = 0;
        for (; got < need && j < end; ++got, ++j) {
            const unsigned char b = bytes[j];
            if (b < (got == 0 ? low : 0x80) || b > (got == 0 ? high : 0xBF)) break;
            c = (c << 6) | (b & 0x3F);
        }
        i = j;
        if (got < need) {
            *out++ = kReplacement;
        } else if (kUtf16 && c >= 0x10000) {
            *out++ = wchar_t(0xD800 + ((c - 0x10000) >> 10));
            *out++ = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *out++ = wchar_t(c);
        }
    }
    *out = L'\0';
    result.m_block->length = int(out - result.chars());
    return result;
}

CQorString& CQorString::operator+=(const CQorString& other) noexcept {
    append(other.c_str(), other.len());
    return *this;
}

CQorString& CQorString::operator+=(const wchar_t* text) noexcept {
    if (text) append(text, int(std::min<std::size_t>(std::wcslen(text), std::size_t(kMaxLength) + 1)));
    return *this;
}

CQorString& CQorString::operator+=(wchar_t ch) noexcept {
    if (ch != L'\0') append(&ch, 1);
    return *this;
}

namespace {
CQorString concat(const wchar_t* a, int aLength, const wchar_t* b, int bLength) noexcept {
    if (aLength > CQorString::kMaxLength - bLength) return CQorString();
    CQorString result(L"");
    if (aLength + bLength == 0) return result;
    wchar_t* out = result.GetBuffer(aLength + bLength);
    if (!out) return CQorString();
    std::wmemcpy(out, a, std::size_t(aLength));
    std::wmemcpy(out + aLength, b, std::size_t(bLength));
    result.ReleaseBuffer(aLength + bLength);
    return result;
}
int lengthOf(const wchar_t* text) noexcept {
    return text ? int(std::min<std::size_t>(std::wcslen(text), std::size_t(CQorString::kMaxLength) + 1)) : 0;
}
} // namespace

CQorString operator+(const CQorString& a, const CQorString& b) noexcept {
    return concat(a.c_str(), a.len(), b.c_str(), b.len());
}
CQorString operator+(const CQorString& a, const wchar_t* b) noexcept {
    return concat(a.c_str(), a.len(), b ? b : L"", lengthOf(b));
}
CQorString operator+(const wchar_t* a, const CQorString& b) noexcept {
    return concat(a ? a : L"", lengthOf(a), b.c_str(), b.len());
}
CQorString operator+(const CQorString& a, wchar_t b) noexcept {
    return concat(a.c_str(), a.len(), &b, b == L'\0' ? 0 : 1);
}

int CQorString::compare(const wchar_t* a, const wchar_t* b) noexcept {
    if (!a) a = L"";
    if (!b) b = L"";
    // Code units compare as unsigned so the order does not depend on wchar_t's signedness.
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    using Unit = std::make_unsigned_t<wchar_t>;
    const Unit ua = Unit(*a);
    const Unit ub = Unit(*b);
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}
