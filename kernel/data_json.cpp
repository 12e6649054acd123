#include "kernel/data_json.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

#include "kernel/data_item.h"
#include "kernel/status.h"

namespace QOR {

namespace {

using Json = nlohmann::ordered_json;
using detail::guarded;

// --- UTF-8 <-> wide text. wchar_t is UTF-32 on Linux and UTF-16 on Windows; both are handled. Code
// points that cannot be encoded (lone surrogates, values past U+10FFFF) become U+FFFD.

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
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

std::string toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = char32_t(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[++i]) - 0xDC00);
        }
        appendUtf8(out, c);
    }
    return out;
}

// The parser has checked the encoding already; anything odd still decodes to U+FFFD rather than failing.
std::wstring fromUtf8(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        ++i;
        for (; extra > 0 && i < text.size(); --extra, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
        if (c > 0x10FFFF) c = 0xFFFD;
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000) {
                out += wchar_t(0xD800 + ((c - 0x10000) >> 10));
                out += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
                continue;
            }
        }
        out += wchar_t(c);
    }
    return out;
}

// --- Keys in member names.

bool isSpecialLead(wchar_t c) {
    return c == L'#' || c == L'&' || c == L'$' || c == L'\\';
}

std::string encodeKey(const CQorDataKey& key) {
    switch (key.type()) {
    case CQorDataKey::kShort:
        return "#" + std::to_string(key.toInt());
    case CQorDataKey::kHandle:
        return "&" + toUtf8(key.text());
    default: {
        const std::wstring text = key.text();
        return (!text.empty() && isSpecialLead(text[0]) ? "\\" : "") + toUtf8(text);
    }
    }
}

// Canonical decimal only ("12", "-3"; not "012", "+1", "-0"), so that every key has one name.
bool decodeShort(const std::string& digits, int& value) {
    std::size_t i = digits.size() > 0 && digits[0] == '-' ? 1 : 0;
    if (i == digits.size() || digits.size() - i > 5) return false;
    if (digits[i] == '0' && (digits.size() - i > 1 || i == 1)) return false;
    int v = 0;
    for (std::size_t k = i; k < digits.size(); ++k) {
        if (digits[k] < '0' || digits[k] > '9') return false;
        v = v * 10 + (digits[k] - '0');
    }
    value = i == 1 ? -v : v;
    return value >= -32768 && value <= 32767;
}

bool decodeKey(const std::string& name, CQorDataKey& key) {
    if (name.empty()) return key.set(CQorDataKey::kText, L"");
    switch (name[0]) {
    case '#': {
        int value = 0;
        return decodeShort(name.substr(1), value) && key.set(value);
    }
    case '&':
        return key.set(CQorDataKey::kHandle, fromUtf8(name.substr(1)).c_str());
    case '$':
        return false;
    case '\\':
        return name.size() > 1 && isSpecialLead(wchar_t(name[1])) &&
               key.set(CQorDataKey::kText, fromUtf8(name.substr(1)).c_str());
    default:
        return key.set(CQorDataKey::kText, fromUtf8(name).c_str());
    }
}

// --- Doubles.

Json writeDouble(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return v;
}

bool readDouble(const Json& j, double& v) {
    if (j.is_number()) {
        v = j.get<double>();
        return true;
    }
    if (!j.is_string()) return false;
    const auto& s = j.get_ref<const std::string&>();
    if (s == "nan")
        v = std::numeric_limits<double>::quiet_NaN();
    else if (s == "inf")
        v = std::numeric_limits<double>::infinity();
    else if (s == "-inf")
        v = -std::numeric_limits<double>::infinity();
    else
        return false;
    return true;
}

bool readInt(const Json& j, int& v) {
    if (j.is_number_integer() && !j.is_number_unsigned()) {
        const auto i = j.get<std::int64_t>();
        if (i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max()) return false;
        v = int(i);
        return true;
    }
    if (j.is_number_unsigned()) {
        const auto u = j.get<std::uint64_t>();
        if (u > std::uint64_t(std::numeric_limits<int>::max())) return false;
        v = int(u);
        return true;
    }
    return false;
}

Json tagged(const char* tag, Json value) {
    Json j = Json::object();
    j[tag] = std::move(value);
    return j;
}

// --- Writer.

Json write(const CQorDataItem& item) {
    switch (item.kind()) {
    case CQorDataItem::Kind::None:
        return nullptr;
    case CQorDataItem::Kind::Bool: {
        bool v = false;
        item.get(v);
        return v;
    }
    case CQorDataItem::Kind::Int: {
        int v = 0;
        item.get(v);
        return v;
    }
    case CQorDataItem::Kind::ULong: {
        unsigned long v = 0;
        item.get(v);
        return tagged("$ulong", std::uint64_t(v));
    }
    case CQorDataItem::Kind::Double: {
        double v = 0;
        item.get(v);
        return std::isfinite(v) ? Json(v) : tagged("$double", writeDouble(v));
    }
    case CQorDataItem::Kind::String: {
        std::wstring v;
        item.get(v);
        return toUtf8(v);
    }
    case CQorDataItem::Kind::IntArray: {
        CQorArrayTempl<int> v;
        item.get(v);
        Json a = Json::array();
        for (int i : v)
            a.push_back(i);
        return tagged("$ints", std::move(a));
    }
    case CQorDataItem::Kind::StringArray: {
        CQorArrayTempl<std::wstring> v;
        item.get(v);
        Json a = Json::array();
        for (const auto& s : v)
            a.push_back(toUtf8(s));
        return tagged("$strs", std::move(a));
    }
    case CQorDataItem::Kind::Dir:
        break;
    }
    Json dir = Json::object();
    const CQorDataDir* d = item.getDir();
    for (int i = 0; i < d->len(); ++i) {
        const CQorDataItem* child = d->at(i);
        dir[encodeKey(child->getKey())] = write(*child);
    }
    return dir;
}

// --- Reader.

class Reader {
public:
    std::string error;

    bool read(const Json& j, CQorDataItem& item, int depth) {
        if (depth > kMaxJsonDepth) return fail("nesting too deep");
        switch (j.type()) {
        case Json::value_t::null:
            return true; // a fresh item
        case Json::value_t::boolean:
            return item.set(j.get<bool>());
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned: {
            int v = 0;
            return readInt(j, v) ? item.set(v)
                                 : fail("integer out of the int range (use $ulong or a double)");
        }
        case Json::value_t::number_float:
            return item.set(j.get<double>());
        case Json::value_t::string:
            return item.set(fromUtf8(j.get_ref<const std::string&>()));
        case Json::value_t::array:
            return fail("a plain array has no data kind (tag it, for example {\"$ints\": [...]})");
        case Json::value_t::object:
            return readObject(j, item, depth);
        default:
            return fail("unsupported JSON value");
        }
    }

private:
    bool fail(const char* why) {
        if (error.empty()) error = why;
        detail::fail(detail::Status::BadInput);
        return false;
    }

    bool readObject(const Json& j, CQorDataItem& item, int depth) {
        if (j.size() == 1 && !j.begin().key().empty() && j.begin().key()[0] == '$')
            return readTagged(j.begin().key(), j.begin().value(), item, depth);
        CQorDataDir* dir = item.mkDir();
        if (dir == nullptr) return fail("out of memory");
        for (auto it = j.begin(); it != j.end(); ++it) {
            CQorDataKey key;
            if (!decodeKey(it.key(), key)) {
                error = "bad member name \"" + it.key() + "\"";
                return fail("");
            }
            CQorDataItem* child = dir->makeItem(key);
            if (child == nullptr || !read(it.value(), *child, depth + 1)) return fail("out of memory");
        }
        return true;
    }

    bool readTagged(const std::string& tag, const Json& v, CQorDataItem& item, int depth) {
        if (tag == "$int") {
            int i = 0;
            return readInt(v, i) ? item.set(i) : fail("$int needs an integer in the int range");
        }
        if (tag == "$ulong") {
            if (!v.is_number_unsigned() && !(v.is_number_integer() && v.get<std::int64_t>() >= 0))
                return fail("$ulong needs a non-negative integer");
            const auto u = v.get<std::uint64_t>();
            if (u > std::numeric_limits<unsigned long>::max()) return fail("$ulong out of range");
            return item.set(static_cast<unsigned long>(u));
        }
        if (tag == "$double") {
            double d = 0;
            return readDouble(v, d) ? item.set(d)
                                    : fail("$double needs a number, \"nan\", \"inf\" or \"-inf\"");
        }
        if (!v.is_array()) return fail("an array tag needs an array");
        if (depth + 1 > kMaxJsonDepth) return fail("nesting too deep");
        if (tag == "$ints") {
            CQorArrayTempl<int> a;
            for (const auto& e : v) {
                int i = 0;
                if (!readInt(e, i)) return fail("$ints needs integers in the int range");
                a.append(i);
            }
            return item.set(a);
        }
        if (tag == "$strs") {
            CQorArrayTempl<std::wstring> a;
            for (const auto& e : v) {
                if (!e.is_string()) return fail("$strs needs strings");
                a.append(fromUtf8(e.get_ref<const std::string&>()));
            }
            return item.set(a);
        }
        error = "unknown tag \"" + tag + "\"";
        return fail("");
    }
};

} // namespace

bool dataToJson(const CQorDataItem& item, std::string& out, int indent) noexcept {
    return guarded(false, [&] {
        out = write(item).dump(indent < 0 ? -1 : indent, ' ', false, Json::error_handler_t::replace);
        return true;
    });
}

bool dataFromJson(CQorDataItem& item, std::string_view text, std::string* error) noexcept {
    return guarded(false, [&] {
        const Json j = Json::parse(text.begin(), text.end(), nullptr, false);
        if (j.is_discarded()) {
            if (error != nullptr) *error = "not valid JSON";
            return false;
        }
        Reader reader;
        CQorDataItem result;
        if (!reader.read(j, result, 0)) {
            if (error != nullptr) *error = reader.error;
            return false;
        }
        item.takeContent(std::move(result));
        return true;
    });
}

bool dataReadJsonFile(CQorDataItem& item, const std::filesystem::path& file, std::string* error) noexcept {
    return guarded(false, [&] {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            if (error != nullptr) *error = "cannot open the file";
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        if (in.bad()) {
            if (error != nullptr) *error = "cannot read the file";
            return false;
        }
        return dataFromJson(item, text.str(), error);
    });
}

bool dataWriteJsonFile(const CQorDataItem& item, const std::filesystem::path& file) noexcept {
    return guarded(false, [&] {
        std::string text;
        if (!dataToJson(item, text)) return false;
        text += '\n';
        std::filesystem::path temp = file;
        temp += ".tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out) return false;
            out.write(text.data(), std::streamsize(text.size()));
            out.close();
            if (!out) {
                std::error_code ignored;
                std::filesystem::remove(temp, ignored);
                return false;
            }
        }
        std::error_code ec;
        std::filesystem::rename(temp, file, ec);
        if (ec) std::filesystem::remove(temp, ec);
        return !ec;
    });
}

} // namespace QOR
