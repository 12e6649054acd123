#include "qor/kernel/locale/label.h"

#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/countries.h"
#include "qor/kernel/locale/messages.h"

namespace {

struct Entry {
    std::wstring code;
    std::wstring text;
};

bool sameCode(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(wint_t(a[i])) != std::towlower(wint_t(b[i]))) return false;
    return true;
}

bool validCode(std::wstring_view code) {
    return !code.empty() && code.find_first_of(L"\\:") == std::wstring_view::npos;
}

// Splits a label into its entries; entries without a colon or with an empty code are dropped.
std::vector<Entry> parseLabel(std::wstring_view label) {
    std::vector<Entry> entries;
    std::size_t pos = 0;
    while (pos < label.size() && label[pos] == L'\\') {
        ++pos;
        const std::size_t stop = label.find_first_of(L"\\:", pos);
        const bool wellFormed = stop != std::wstring_view::npos && label[stop] == L':' && stop > pos;
        Entry entry;
        if (wellFormed) entry.code.assign(label.substr(pos, stop - pos));
        pos = wellFormed ? stop + 1 : (stop == std::wstring_view::npos ? label.size() : stop);
        if (!wellFormed && pos < label.size() && label[pos] == L':') ++pos; // "\:" has an empty code
        for (; pos < label.size(); ++pos) {
            if (label[pos] != L'\\') {
                entry.text += label[pos];
            } else if (pos + 1 < label.size() && label[pos + 1] == L'\\') {
                entry.text += L'\\';
                ++pos;
            } else {
                break;
            }
        }
        if (wellFormed) entries.push_back(std::move(entry));
    }
    return entries;
}

std::wstring writeLabel(const std::vector<Entry>& entries) {
    std::wstring label;
    for (const Entry& entry : entries) {
        label += L'\\';
        label += entry.code;
        label += L':';
        for (wchar_t c : entry.text) {
            label += c;
            if (c == L'\\') label += L'\\';
        }
    }
    return label;
}

// The code to store: the table's spelling when the code is in the table, else the code as given.
std::wstring codeFor(const wchar_t* country) {
    const wchar_t* code = country ? country : QOR::msgLangSet(nullptr);
    if (const QOR::Country_st* known = QOR::countryFind(code)) return known->code;
    return code;
}

} // namespace

namespace QOR {

bool label_set(CQorString& label, const wchar_t* text, const wchar_t* country) noexcept {
    using namespace detail;
    return guarded(false, [&] {
        const std::wstring code = codeFor(country);
        if (!validCode(code)) {
            fail(Status::BadInput);
            return false;
        }
        std::vector<Entry> entries;
        if (!label.isEmpty() && label.view().front() != L'\\')
            entries.push_back({codeFor(nullptr), std::wstring(label.view())});
        else
            entries = parseLabel(label.view());
        std::size_t i = 0;
        while (i < entries.size() && !sameCode(entries[i].code, code))
            ++i;
        if (!text || !*text) {
            if (i < entries.size()) entries.erase(entries.begin() + std::ptrdiff_t(i));
        } else if (i < entries.size()) {
            entries[i].text = text;
        } else {
            entries.push_back({code, text});
        }
        CQorString result(writeLabel(entries));
        if (result.len() == 0 && !entries.empty()) {
            fail(Status::NoMemory);
            return false;
        }
        label = std::move(result);
        return true;
    });
}

bool label_get(const wchar_t* label, CQorString& text, const wchar_t* country) noexcept {
    // label may point into text, so text changes only after the label has been read.
    CQorString result;
    const bool found = label && *label && detail::guarded(false, [&] {
                           if (*label != L'\\') {
                               result = label;
                               return true;
                           }
                           const std::wstring code = codeFor(country);
                           for (const Entry& entry : parseLabel(label)) {
                               if (!sameCode(entry.code, code)) continue;
                               result = CQorString(entry.text);
                               return true;
                           }
                           return false;
                       });
    text = std::move(result);
    return found;
}

} // namespace QOR
