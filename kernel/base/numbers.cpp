#include "qor/kernel/base/numbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

const wchar_t* skipBlanks(const wchar_t* text) {
    while (isBlank(*text))
        ++text;
    return text;
}

/// Decimal order of magnitude of a number that from_chars found out of range (the value is about
/// 0.d * 10^order): positive means too large, otherwise too small. Only its sign matters, so the exponent
/// saturates.
long long orderOf(const char* first, const char* last) {
    long long order = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    const char* p = first;
    for (; p != last && ((*p >= '0' && *p <= '9') || *p == '.'); ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (*p != '0' || seenDigit) {
            seenDigit = true;
            if (!seenPoint) ++order;
        } else if (seenPoint) {
            --order;
        }
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+')) ++p;
        long long exponent = 0;
        for (; p != last && *p >= '0' && *p <= '9'; ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000000LL);
        order += negative ? -exponent : exponent;
    }
    return order;
}

} // namespace

double QOR::atof(const wchar_t* text) noexcept {
    if (!text) return 0.0;
    text = skipBlanks(text);
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
    // from_chars reads narrow text and rejects a leading '+'; the sign was taken above.
    char buffer[512];
    int n = 0;
    while (n < int(sizeof buffer) && text[n] > L' ' && text[n] < 0x7F) {
        buffer[n] = char(text[n]);
        ++n;
    }
    if (n == 0 || buffer[0] == '-' || buffer[0] == '+') return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error == std::errc::invalid_argument) return 0.0;
    if (error == std::errc::result_out_of_range)
        value = orderOf(buffer, end) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

int QOR::atoi(const wchar_t* text) noexcept {
    if (!text) return 0;
    text = skipBlanks(text);
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
    // Accumulating past INT_MAX + 1 would only matter for clamping, so the sum stops growing there.
    constexpr long long kLimit = 1LL + INT_MAX;
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
        value = std::min(value * 10 + (*text - L'0'), kLimit);
    if (negative) return value >= kLimit ? INT_MIN : -int(value);
    return value >= kLimit ? INT_MAX : int(value);
}

double QOR::nan() noexcept {
    return std::numeric_limits<double>::quiet_NaN();
}

bool QOR::isNan(double value) noexcept {
    return std::isnan(value);
}
