#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "qor/kernel/base/status.h"
#include "qor/kernel/locale/number_text.h"

namespace {

// Reads the text grammar documented at qorAtoF, one token at a time. Only ASCII characters can be
// part of a length, so anything else stops the scan and makes the text unparseable.
class LengthScanner {
public:
    explicit LengthScanner(std::wstring_view text) : m_text(text) {}

    std::optional<double> parse() {
        skipBlanks();
        bool negative = false;
        if (peek() == L'+' || peek() == L'-') {
            negative = peek() == L'-';
            ++m_pos;
            skipBlanks();
        }
        std::optional<double> value = lengthBody();
        skipBlanks();
        if (!value || m_pos != m_text.size() || !std::isfinite(*value)) return std::nullopt;
        return negative ? -*value : *value;
    }

private:
    // feet ' [ [-] inches ["] ]  |  inches "  |  plain number
    std::optional<double> lengthBody() {
        const std::optional<double> first = mixedNumber();
        if (!first) return std::nullopt;
        skipBlanks();
        if (peek() == L'"') {
            ++m_pos;
            return first;
        }
        if (peek() != L'\'') return first;
        ++m_pos;
        const double feet = *first * 12.0;
        skipBlanks();
        if (atEnd()) return feet;
        if (peek() == L'-') {
            ++m_pos;
            skipBlanks();
        }
        const std::optional<double> inches = mixedNumber();
        if (!inches) return std::nullopt;
        skipBlanks();
        if (peek() == L'"') ++m_pos;
        return feet + *inches;
    }

    // number  |  integer / integer  |  integer (blanks or -) integer / integer
    std::optional<double> mixedNumber() {
        bool integral = false;
        const std::optional<double> lead = number(integral);
        if (!lead) return std::nullopt;
        if (peek() == L'/') {
            if (!integral) return std::nullopt;
            ++m_pos;
            return divideBy(*lead);
        }
        if (!integral) return lead;
        // A whole number may be followed by a fraction, after blanks or one hyphen.
        const std::size_t mark = m_pos;
        if (peek() == L'-') {
            ++m_pos;
        } else if (!skipBlanks()) {
            return lead;
        }
        bool numeratorIntegral = false;
        const std::optional<double> numerator = number(numeratorIntegral);
        if (numerator && numeratorIntegral && peek() == L'/') {
            ++m_pos;
            const std::optional<double> fraction = divideBy(*numerator);
            if (!fraction) return std::nullopt;
            return *lead + *fraction;
        }
        m_pos = mark;
        return lead;
    }

    // numerator / (the integer at the cursor); none for a missing or zero denominator.
    std::optional<double> divideBy(double numerator) {
        bool integral = false;
        const std::optional<double> denominator = number(integral);
        if (!denominator || !integral || *denominator == 0.0) return std::nullopt;
        return numerator / *denominator;
    }

    // digits [. digits] [e [sign] digits], or . digits [...]; integral tells whether it was digits only.
    std::optional<double> number(bool& integral) {
        const std::size_t start = m_pos;
        const std::size_t intDigits = digits();
        std::size_t fracDigits = 0;
        bool point = false;
        if (peek() == L'.') {
            point = true;
            ++m_pos;
            fracDigits = digits();
        }
        if (intDigits + fracDigits == 0) {
            m_pos = start;
            return std::nullopt;
        }
        bool exponent = false;
        if (peek() == L'e' || peek() == L'E') {
            const std::size_t mark = m_pos++;
            if (peek() == L'+' || peek() == L'-') ++m_pos;
            if (digits() == 0)
                m_pos = mark; // "1e" is a number followed by an unparseable "e"
            else
                exponent = true;
        }
        integral = !point && !exponent;
        std::string ascii(m_text[start] == L'.' ? 1 : 0, '0'); // from_chars wants a digit first
        for (std::size_t i = start; i < m_pos; ++i)
            ascii += char(m_text[i]);
        double value = 0;
        const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (result.ec == std::errc::result_out_of_range) return std::nullopt;
        if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) return std::nullopt;
        return value;
    }

    std::size_t digits() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= L'0' && m_text[m_pos] <= L'9')
            ++m_pos;
        return m_pos - start;
    }

    bool skipBlanks() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos] == L' ' || m_text[m_pos] == L'\t'))
            ++m_pos;
        return m_pos != start;
    }

    wchar_t peek() const { return m_pos < m_text.size() ? m_text[m_pos] : L'\0'; }
    bool atEnd() const { return m_pos >= m_text.size(); }

    std::wstring_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

namespace QOR::detail {

bool distof(const wchar_t* text, double& value) noexcept {
    if (!text) return false;
    return guarded(false, [&] {
        const std::optional<double> parsed = LengthScanner(text).parse();
        if (!parsed) {
            fail(Status::BadInput);
            return false;
        }
        value = *parsed;
        return true;
    });
}

} // namespace QOR::detail

double qorAtoF(const wchar_t* text) noexcept {
    double value = 0.0;
    return QOR::detail::distof(text, value) ? value : 0.0;
}
