#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/number_text.h"
#include "qor/kernel/locale/units.h"

namespace {

constexpr int kMaxDecimals = 16;
constexpr int kMaxFractionBits = 8;

// A non-negative decimal number: digits x 10^exponent, digits without leading zeros ("0" for zero).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The shortest decimal text that reads back as |value| (value is finite).
Decimal shortestDecimal(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    Decimal d;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    d.exponent = exponent - int(d.digits.size() - 1);
    while (d.digits.size() > 1 && d.digits.back() == '0') {
        d.digits.pop_back();
        ++d.exponent;
    }
    return d;
}

// Adds one to a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

void stripLeadingZeros(std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() - 1 : first);
}

// round(d x 10^decimals), halves away from zero, as a digit string.
std::string roundToDecimals(const Decimal& d, int decimals) {
    const int scale = d.exponent + decimals;
    if (scale >= 0) {
        std::string n = d.digits + std::string(std::size_t(scale), '0');
        stripLeadingZeros(n);
        return n;
    }
    const int keep = int(d.digits.size()) + scale;
    if (keep < 0) return "0";
    std::string n = keep == 0 ? std::string("0") : d.digits.substr(0, std::size_t(keep));
    if (d.digits[std::size_t(keep)] >= '5') incrementDigits(n);
    stripLeadingZeros(n);
    return n;
}

// Splits the scaled integer n (value x 10^decimals) into integer digits and `decimals` fraction digits.
void splitScaled(const std::string& n, int decimals, std::string& whole, std::string& fraction) {
    std::string padded = n;
    if (int(padded.size()) < decimals + 1) padded.insert(0, std::size_t(decimals + 1) - padded.size(), '0');
    whole = padded.substr(0, padded.size() - std::size_t(decimals));
    fraction = padded.substr(padded.size() - std::size_t(decimals));
}

// Divides a digit string by a small divisor; returns the remainder.
int divideDigits(std::string& digits, int divisor) {
    std::string quotient;
    int remainder = 0;
    for (char c : digits) {
        remainder = remainder * 10 + (c - '0');
        quotient += char('0' + remainder / divisor);
        remainder %= divisor;
    }
    stripLeadingZeros(quotient);
    digits = quotient;
    return remainder;
}

bool isZeroDigits(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

// "17" + "50" -> "17.50"; trailing zeros and a bare point dropped on request.
std::string joinDecimal(const std::string& whole, std::string fraction, bool dropTrailing) {
    if (dropTrailing) {
        const std::size_t last = fraction.find_last_not_of('0');
        fraction.erase(last == std::string::npos ? 0 : last + 1);
    }
    return fraction.empty() ? whole : whole + '.' + fraction;
}

std::string formatScientific(double value, int decimals, int flag) {
    Decimal d = shortestDecimal(value);
    std::string digits = d.digits;
    int exponent = d.exponent + int(digits.size()) - 1; // of the first digit
    const std::size_t significant = std::size_t(decimals) + 1;
    if (digits == "0") {
        exponent = 0;
    } else if (digits.size() > significant) {
        const bool up = digits[significant] >= '5';
        digits.resize(significant);
        if (up) {
            incrementDigits(digits);
            if (digits.size() > significant) { // 9.99..5 became 10.00..
                digits.pop_back();
                ++exponent;
            }
        }
    }
    digits.resize(significant, '0');
    std::string text = joinDecimal(digits.substr(0, 1), digits.substr(1), flag & kRtosNoTrailingZeros);
    char expText[8];
    const auto end = std::to_chars(expText, expText + sizeof expText, std::abs(exponent)).ptr;
    std::string expDigits(expText, end);
    if (expDigits.size() < 2) expDigits.insert(0, "0");
    return text + 'E' + (exponent < 0 ? '-' : '+') + expDigits;
}

std::string formatDecimal(double value, int decimals, int flag) {
    std::string whole;
    std::string fraction;
    splitScaled(roundToDecimals(shortestDecimal(value), decimals), decimals, whole, fraction);
    std::string text = joinDecimal(whole, fraction, flag & kRtosNoTrailingZeros);
    if ((flag & kRtosNoLeadingZero) && whole == "0" && text.size() > 1) text.erase(0, 1);
    return text;
}

// Joins feet and the inch text of engineering and architectural formats, leaving out what flag asks.
std::string joinFeetInches(const std::string& feet, const std::string& inches, bool inchesZero, int flag) {
    const bool feetZero = feet == "0";
    if (feetZero && (flag & kRtosNoZeroFeet)) return inches + '"';
    if (inchesZero && (flag & kRtosNoZeroInches)) return feet + '\'';
    return feet + "'-" + inches + '"';
}

std::string formatEngineering(double value, int decimals, int flag) {
    std::string whole;
    std::string fraction;
    splitScaled(roundToDecimals(shortestDecimal(value), decimals), decimals, whole, fraction);
    const int inches = divideDigits(whole, 12); // whole now holds the feet
    const std::string inchText = joinDecimal(std::to_string(inches), fraction, flag & kRtosNoTrailingZeros);
    return joinFeetInches(whole, inchText, inches == 0 && isZeroDigits(fraction), flag);
}

// |value| as whole units and a reduced fraction numerator / denominator (denominator a power of two).
struct Fraction {
    std::string whole;
    long numerator = 0;
    long denominator = 1;
};

Fraction roundToFraction(double value, int bits) {
    const double denominator = std::ldexp(1.0, bits);
    // Scaling by a power of two is exact, so halves are found exactly; values near the top of the
    // double range round without scaling (their fraction is zero anyway).
    const double scaled = std::fabs(value) * denominator;
    Fraction f;
    double numerator = 0;
    double whole = std::round(std::fabs(value));
    if (std::isfinite(scaled)) {
        const double n = std::round(scaled);
        numerator = std::fmod(n, denominator);
        whole = (n - numerator) / denominator;
    }
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0).ptr;
    f.whole.assign(buffer, end);
    f.numerator = long(numerator);
    f.denominator = long(denominator);
    while (f.numerator != 0 && f.numerator % 2 == 0) {
        f.numerator /= 2;
        f.denominator /= 2;
    }
    return f;
}

std::string fractionText(const Fraction& f) {
    return std::to_string(f.numerator) + '/' + std::to_string(f.denominator);
}

std::string formatArchitectural(double value, int bits, int flag) {
    Fraction f = roundToFraction(value, bits);
    const int inches = divideDigits(f.whole, 12); // f.whole now holds the feet
    std::string inchText = std::to_string(inches);
    if (f.numerator != 0) {
        const bool bareFraction = inches == 0 && f.whole == "0" && (flag & kRtosNoZeroFeet);
        inchText = bareFraction ? fractionText(f) : inchText + ' ' + fractionText(f);
    }
    return joinFeetInches(f.whole, inchText, inches == 0 && f.numerator == 0, flag);
}

std::string formatFractional(double value, int bits) {
    const Fraction f = roundToFraction(value, bits);
    if (f.numerator == 0) return f.whole;
    if (f.whole == "0") return fractionText(f);
    return f.whole + ' ' + fractionText(f);
}

bool isZeroText(const std::string& text) {
    return text.find_first_of("123456789") == std::string::npos;
}

} // namespace

namespace QOR::detail {

bool rtos(std::wstring& out, double value, int format, int precision, int flag) {
    if (!std::isfinite(value)) return false;
    if (flag & kRtosCompact) flag |= kRtosNoZeroFeet | kRtosNoZeroInches | kRtosNoTrailingZeros;
    const int decimals = std::clamp(precision, 0, kMaxDecimals);
    const int bits = std::clamp(precision, 0, kMaxFractionBits);
    std::string text;
    switch (format) {
    case Qor::kFormatScientific:
        text = formatScientific(value, decimals, flag);
        break;
    case Qor::kFormatDecimal:
        text = formatDecimal(value, decimals, flag);
        break;
    case Qor::kFormatEngineering:
        text = formatEngineering(value, decimals, flag);
        break;
    case Qor::kFormatArchitectural:
        text = formatArchitectural(value, bits, flag);
        break;
    case Qor::kFormatFractional:
        text = formatFractional(value, bits);
        break;
    default:
        return false;
    }
    // The mantissa of scientific text may hold the only non-zero digits; the exponent never decides.
    const std::string significant = format == Qor::kFormatScientific ? text.substr(0, text.find('E')) : text;
    if (std::signbit(value) && !isZeroText(significant)) text.insert(0, "-");
    out.assign(text.begin(), text.end());
    return true;
}

} // namespace QOR::detail

bool qorRtoS(CQorString& buffer, double value, int format, int precision, int flag) noexcept {
    using namespace QOR::detail;
    return guarded(false, [&] {
        std::wstring text;
        if (!rtos(text, value, format, precision, flag)) {
            fail(Status::BadInput);
            return false;
        }
        CQorString result{std::wstring_view(text)};
        if (result.len() != int(text.size())) {
            fail(Status::NoMemory);
            return false;
        }
        buffer = std::move(result);
        return true;
    });
}
