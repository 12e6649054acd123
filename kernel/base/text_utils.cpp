#include "qor/kernel/base/text_utils.h"

#include <cwchar>

CQorString QOR::implode(const CQorArrayTempl<CQorString>& parts, const wchar_t* separator) noexcept {
    const CQorString sep(separator ? separator : L"");
    long long total = 0;
    for (const CQorString& part : parts)
        total += part.len() + sep.len();
    total = parts.isEmpty() ? 0 : total - sep.len();
    CQorString joined(L"");
    if (total == 0) return joined;
    if (total > CQorString::kMaxLength) return CQorString();
    wchar_t* out = joined.GetBuffer(int(total));
    if (!out) return CQorString();
    for (int i = 0; i < parts.len(); ++i) {
        if (i > 0) out = std::wmemcpy(out, sep.c_str(), std::size_t(sep.len())) + sep.len();
        out = std::wmemcpy(out, parts[i].c_str(), std::size_t(parts[i].len())) + parts[i].len();
    }
    joined.ReleaseBuffer(int(total));
    return joined;
}

int QOR::strTok(CQorArrayTempl<CQorString>& parts, const wchar_t* text, const wchar_t* separators,
                bool keepEmpty) noexcept {
    parts.clear();
    if (!text) return 0;
    const wchar_t* seps = separators ? separators : L"";
    try {
        const wchar_t* start = text;
        for (const wchar_t* p = text;; ++p) {
            const bool atEnd = *p == L'\0';
            if (!atEnd && (*seps == L'\0' || !std::wcschr(seps, *p))) continue;
            if (keepEmpty || p > start) parts.append(CQorString(start, int(p - start)));
            if (atEnd) break;
            start = p + 1;
        }
    } catch (...) {
        parts.clear(); // out of memory: report nothing rather than a partial split
    }
    return parts.len();
}
