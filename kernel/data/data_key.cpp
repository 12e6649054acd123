#include "qor/kernel/data/data_key.h"

#include <climits>
#include <cwchar>

namespace {

constexpr int kShortMin = -32768;
constexpr int kShortMax = 32767;

} // namespace

CQorDataKey::CQorDataKey(const wchar_t* path) {
    set(path);
}

CQorDataKey::CQorDataKey(int number) {
    set(number);
}

CQorDataKey::CQorDataKey(const CQorDataKey& other) {
    *this = other;
}

CQorDataKey& CQorDataKey::operator=(const CQorDataKey& other) {
    if (this == &other) return *this;
    clear();
    CQorDataKey* last = nullptr;
    for (const CQorDataKey* k = &other; k != nullptr && !k->isEmpty(); k = k->next())
        last = appendComponent(k->m_type, k->m_text, k->m_number, last);
    return *this;
}

// Destroys the tail iteratively: a path of thousands of components must not recurse that deep.
CQorDataKey::~CQorDataKey() {
    clear();
}

void CQorDataKey::clear() noexcept {
    std::unique_ptr<CQorDataKey> tail = std::move(m_next);
    while (tail) {
        std::unique_ptr<CQorDataKey> after = std::move(tail->m_next);
        tail = std::move(after);
    }
    m_type = kNone;
    m_number = 0;
    m_text.clear();
}

CQorDataKey CQorDataKey::handle(const wchar_t* text) {
    CQorDataKey key;
    key.set(kHandle, text);
    return key;
}

bool CQorDataKey::set(const wchar_t* path) {
    clear();
    if (path == nullptr || *path == 0) return false;
    const wchar_t* start = path;
    CQorDataKey* last = nullptr;
    for (const wchar_t* p = path;; ++p) {
        if (*p == L'\\' || *p == 0) {
            last = appendComponent(kText, std::wstring(start, std::size_t(p - start)), 0, last);
            if (*p == 0) break;
            start = p + 1;
        }
    }
    return true;
}

bool CQorDataKey::set(int number) {
    clear();
    if (number < kShortMin || number > kShortMax) return false;
    appendComponent(kShort, std::to_wstring(number), number);
    return true;
}

bool CQorDataKey::set(int type, const wchar_t* text) {
    clear();
    if (text == nullptr || (type != kText && type != kHandle)) return false;
    appendComponent(type, text, 0);
    return true;
}

CQorDataKey* CQorDataKey::appendComponent(int type, const std::wstring& text, int number, CQorDataKey* last) {
    if (isEmpty()) {
        last = this;
    } else {
        if (last == nullptr) last = this;
        while (last->m_next)
            last = last->m_next.get();
        last->m_next = std::make_unique<CQorDataKey>();
        last = last->m_next.get();
    }
    last->m_type = type;
    last->m_text = text;
    last->m_number = number;
    return last;
}

void CQorDataKey::appendPart(const wchar_t* text) {
    appendComponent(kText, text != nullptr ? text : L"", 0);
}

void CQorDataKey::appendPart(int number) {
    if (number >= kShortMin && number <= kShortMax) appendComponent(kShort, std::to_wstring(number), number);
}

void CQorDataKey::appendPart(const CQorDataKey& key) {
    if (&key == this) {
        const CQorDataKey copy(key);
        appendPart(copy);
        return;
    }
    CQorDataKey* last = nullptr;
    for (const CQorDataKey* k = &key; k != nullptr && !k->isEmpty(); k = k->next())
        last = appendComponent(k->m_type, k->m_text, k->m_number, last);
}

int CQorDataKey::len() const noexcept {
    int n = 0;
    for (const CQorDataKey* k = this; k != nullptr && !k->isEmpty(); k = k->next())
        ++n;
    return n;
}

bool CQorDataKey::sameComponent(const CQorDataKey& other) const noexcept {
    if (m_type != other.m_type) return false;
    if (m_type == kShort) return m_number == other.m_number;
    return m_text == other.m_text;
}

bool CQorDataKey::operator==(const CQorDataKey& other) const noexcept {
    const CQorDataKey* a = this;
    const CQorDataKey* b = &other;
    for (; a != nullptr && b != nullptr; a = a->next(), b = b->next())
        if (!a->sameComponent(*b)) return false;
    return a == nullptr && b == nullptr;
}

CQorString CQorDataKey::path() const {
    CQorString out(L"");
    for (const CQorDataKey* k = this; k != nullptr && !k->isEmpty(); k = k->next()) {
        if (k != this) out += L'\\';
        out += k->m_text.c_str();
    }
    return out;
}

int CQorDataKey::toInt() const noexcept {
    if (m_type == kShort) return m_number;
    if (m_type != kText) return 0;
    const wchar_t* p = m_text.c_str();
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+') ++p;
    if (*p == 0) return 0;
    long long value = 0;
    for (; *p != 0; ++p) {
        if (*p < L'0' || *p > L'9') return 0;
        value = value * 10 + (*p - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return 0;
    }
    if (negative) value = -value;
    return value < INT_MIN || value > INT_MAX ? 0 : int(value);
}

CQorDataKey CQorDataKey::first() const {
    CQorDataKey key;
    if (!isEmpty()) key.appendComponent(m_type, m_text, m_number);
    return key;
}
