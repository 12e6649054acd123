#include "qor/kernel/data/hatch_pattern.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "qor/kernel/base/status.h"
#include "qor/kernel/locale/units.h"

namespace {

/// Messages kept per file. A file of random bytes could otherwise produce one per line.
constexpr int kMaxMessages = 100;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

/// One finite decimal number filling the whole field; a leading '+' and a bare leading or trailing
/// point are accepted.
bool parseNumber(std::string_view field, double& value) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty() || field.front() == '+') return false;
    const char* first = field.data();
    const char* last = first + field.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    return error == std::errc() && end == last && std::isfinite(value);
}

/// The numbers of a pattern line, or false when it is not one. A single trailing comma is tolerated.
bool parseLine(std::string_view content, CQorArrayTempl<double>& values) {
    values.clear();
    while (true) {
        const std::size_t comma = content.find(',');
        const std::string_view field = trimmed(content.substr(0, comma));
        if (comma != std::string_view::npos || !field.empty() || values.isEmpty()) {
            double value = 0.0;
            if (!parseNumber(field, value)) return false;
            if (values.len() >= CQorPatternFile::kMaxLineEntries) return false;
            values.append(value);
        }
        if (comma == std::string_view::npos) break;
        content.remove_prefix(comma + 1);
        if (trimmed(content).empty()) break; // the tolerated trailing comma
    }
    return values.len() >= 5;
}

/// The unit named by a ";%UNITS=..." comment, or -1 when the comment is not such a declaration.
int declaredUnit(std::string_view comment) {
    comment = trimmed(comment);
    constexpr std::string_view kKey = "%UNITS";
    if (comment.size() < kKey.size() || !equalsNoCase(comment.substr(0, kKey.size()), kKey)) return -1;
    comment = trimmed(comment.substr(kKey.size()));
    if (comment.empty() || comment.front() != '=') return -1;
    const std::string_view value = trimmed(comment.substr(1));
    if (equalsNoCase(value, "MM") || equalsNoCase(value, "MILLIMETERS")) return Qor::kUnitMillimeter;
    if (equalsNoCase(value, "INCH") || equalsNoCase(value, "INCHES")) return Qor::kUnitInch;
    return -1;
}

CQorString upper(const CQorString& s) {
    CQorString u(s);
    u.makeUpper();
    return u;
}

} // namespace

void CQorPatternFile::clear() noexcept {
    m_patterns.clear();
    m_messages.clear();
    m_unit = Qor::kUnitNone;
}

int CQorPatternFile::find(const wchar_t* name) const noexcept {
    if (!name || !*name) return -1;
    const CQorString key = upper(CQorString(name));
    for (int i = 0; i < m_patterns.len(); ++i)
        if (m_patterns[i].name == key) return i;
    return -1;
}

bool CQorPatternFile::contains(const wchar_t* name) const noexcept {
    return find(name) >= 0;
}

bool CQorPatternFile::get(const wchar_t* name, CQorPatternDef& def) const noexcept {
    def.clear();
    const int i = find(name);
    if (i < 0) return false;
    return QOR::detail::guarded(false, [&] {
        def = m_patterns[i].lines;
        return true;
    });
}

CQorString CQorPatternFile::nameAt(int i) const noexcept {
    return i >= 0 && i < len() ? m_patterns[i].name : CQorString(L"");
}

CQorString CQorPatternFile::descriptionAt(int i) const noexcept {
    return i >= 0 && i < len() ? m_patterns[i].description : CQorString(L"");
}

bool CQorPatternFile::read(const wchar_t* path) noexcept {
    clear();
    if (!path || !*path) return QOR::detail::fail(QOR::detail::Status::BadInput), false;
    return QOR::detail::guarded(false, [&] {
        const std::string utf8 = CQorString(path).toUtf8();
        const std::filesystem::path file(std::u8string(utf8.begin(), utf8.end()));
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        if (error || !std::filesystem::is_regular_file(file, error)) {
            QOR::detail::fail(QOR::detail::Status::BadInput);
            return false;
        }
        if (size > std::uintmax_t(kMaxFileBytes)) {
            QOR::detail::fail(QOR::detail::Status::TooLarge);
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        std::string text(std::size_t(size), '\0');
        if (!in.read(text.data(), std::streamsize(size))) {
            QOR::detail::fail(QOR::detail::Status::BadInput);
            return false;
        }
        return parse(text, path);
    });
}

bool CQorPatternFile::parse(std::string_view text, const wchar_t* fileName) noexcept {
    clear();
    const bool ok = QOR::detail::guarded(false, [&] {
        const CQorString file(fileName ? fileName : L"");
        const auto report = [&](int line, const CQorString& what) {
            if (m_messages.len() >= kMaxMessages) return;
            CQorString message;
            message.format(L"%s:%d: %s", file.c_str(), line, what.c_str());
            m_messages.append(message);
        };

        int declared = -1;
        bool inPattern = false; // a header has been seen
        bool skipping = false;  // the current pattern had a bad line (or a bad header)
        int headerLine = 0;
        Pattern current;
        const auto finish = [&] {
            if (!inPattern || skipping) return;
            if (find(current.name) >= 0) {
                CQorString what;
                what.format(L"hatch pattern %s defined again, this definition skipped", current.name.c_str());
                report(headerLine, what);
                return;
            }
            m_patterns.append(std::move(current));
        };

        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        CQorArrayTempl<double> values;
        int lineNo = 0;
        while (!text.empty()) {
            ++lineNo;
            std::size_t eol = text.find_first_of("\r\n");
            std::string_view line = text.substr(0, eol);
            if (eol == std::string_view::npos) {
                text = {};
            } else {
                const bool crlf = text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n';
                text.remove_prefix(eol + (crlf ? 2 : 1));
            }

            const std::size_t semicolon = line.find(';');
            if (semicolon != std::string_view::npos) {
                const int unit = declaredUnit(line.substr(semicolon + 1));
                if (unit >= 0) declared = unit;
                line = line.substr(0, semicolon);
            }
            line = trimmed(line);
            if (line.empty()) continue;

            if (line.front() == '*') {
                finish();
                inPattern = true;
                headerLine = lineNo;
                const std::string_view rest = line.substr(1);
                const std::size_t comma = rest.find(',');
                current = Pattern{};
                // Other programs write names with blanks ("5x16 Staggered"): the name is all up to the comma.
                current.name = upper(CQorString::fromUtf8(trimmed(rest.substr(0, comma))));
                skipping = current.name.isEmpty(); // also a name that starts with a NUL byte
                if (skipping) {
                    report(lineNo, L"hatch pattern header without a name, pattern skipped");
                    continue;
                }
                if (comma != std::string_view::npos)
                    current.description = CQorString::fromUtf8(trimmed(rest.substr(comma + 1)));
                continue;
            }
            if (!inPattern) {
                report(lineNo, L"line outside any hatch pattern ignored");
                continue;
            }
            if (skipping) continue;
            if (!parseLine(line, values)) {
                CQorString what;
                what.format(L"bad hatch pattern line, pattern %s skipped", current.name.c_str());
                report(lineNo, what);
                skipping = true;
                continue;
            }
            current.lines.append(values);
        }
        finish();

        if (declared >= 0) {
            m_unit = declared;
        } else {
            // The metric library of the product family is the one whose name holds "iso".
            const CQorString name = upper(file);
            const std::size_t slash = name.view().find_last_of(L"/\\");
            const int stem = slash == std::wstring_view::npos ? 0 : int(slash) + 1;
            if (name.find(L"ISO", stem) >= 0) m_unit = Qor::kUnitMillimeter;
        }
        return true;
    });
    if (!ok) clear();
    return ok;
}
