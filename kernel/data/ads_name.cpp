#include "qor/kernel/data/ads_name.h"

namespace QOR {

CQorString CAdsName::handle() const noexcept {
    if (isNull()) return CQorString(L"");
    wchar_t digits[17];
    int n = 0;
    auto v = static_cast<std::uint64_t>(name[0]);
    do {
        const int d = int(v & 0xF);
        digits[n++] = wchar_t(d < 10 ? L'0' + d : L'A' + d - 10);
        v >>= 4;
    } while (v != 0 && n < 16);
    wchar_t text[17];
    for (int i = 0; i < n; ++i)
        text[i] = digits[n - 1 - i];
    text[n] = 0;
    return CQorString(text);
}

bool CAdsName::setHandle(const wchar_t* text) noexcept {
    name[0] = name[1] = 0;
    if (text == nullptr || *text == 0) return false;
    std::uint64_t v = 0;
    int n = 0;
    for (; *text != 0; ++text, ++n) {
        const wchar_t c = *text;
        int d;
        if (c >= L'0' && c <= L'9')
            d = c - L'0';
        else if (c >= L'A' && c <= L'F')
            d = c - L'A' + 10;
        else if (c >= L'a' && c <= L'f')
            d = c - L'a' + 10;
        else
            return false;
        if (n == 16) return false;
        v = (v << 4) | std::uint64_t(d);
    }
    name[0] = static_cast<std::int64_t>(v);
    return true;
}

} // namespace QOR
