#include "qor/kernel/data/data_json.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"

namespace QOR {

namespace {

using Json = nlohmann::ordered_json;
using detail::guarded;

std::string toUtf8(const wchar_t* text) {
    return CQorString(text).toUtf8();
}

std::string toUtf8(const CQorString& text) {
    return text.toUtf8();
}

CQorString fromUtf8(const std::string& text) {
    return CQorString::fromUtf8(std::string_view(text));
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
        const wchar_t* text = key.text();
        return (isSpecialLead(text[0]) ? "\\" : "") + toUtf8(text);
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
        return key.set(CQorDataKey::kHandle, fromUtf8(name.substr(1)));
    case '$':
        return false;
    case '\\':
        return name.size() > 1 && isSpecialLead(wchar_t(name[1])) &&
               key.set(CQorDataKey::kText, fromUtf8(name.substr(1)));
    default:
        return key.set(CQorDataKey::kText, fromUtf8(name));
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

// --- Geometry.

Json writePoint(const CQorPoint3d& p) {
    return Json::array({writeDouble(p.x), writeDouble(p.y), writeDouble(p.z)});
}

bool readPoint(const Json& j, CQorPoint3d& p) {
    return j.is_array() && j.size() == 3 && readDouble(j[0], p.x) && readDouble(j[1], p.y) &&
           readDouble(j[2], p.z);
}

// A vertex is [start, end, bulge].
Json writeVertexArray(const CQorVertexArray& vl) {
    Json a = Json::array();
    for (const auto& v : vl)
        a.push_back(Json::array({writePoint(v.start), writePoint(v.end), writeDouble(v.bulge)}));
    return a;
}

bool readVertexArray(const Json& j, CQorVertexArray& vl) {
    if (!j.is_array()) return false;
    for (const auto& e : j) {
        CQorVertex v;
        if (!e.is_array() || e.size() != 3 || !readPoint(e[0], v.start) || !readPoint(e[1], v.end) ||
            !readDouble(e[2], v.bulge))
            return false;
        vl.append(v);
    }
    return true;
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
        CQorString v;
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
        CQorArrayTempl<CQorString> v;
        item.get(v);
        Json a = Json::array();
        for (const auto& s : v)
            a.push_back(toUtf8(s));
        return tagged("$strs", std::move(a));
    }
    case CQorDataItem::Kind::Point: {
        CQorPoint3d v;
        item.get(v);
        return tagged("$point", writePoint(v));
    }
    case CQorDataItem::Kind::PointArray: {
        CQorPoint3dArray v;
        item.get(v);
        Json a = Json::array();
        for (const auto& p : v)
            a.push_back(writePoint(p));
        return tagged("$points", std::move(a));
    }
    case CQorDataItem::Kind::VertexArray: {
        CQorVertexArray v;
        item.get(v);
        return tagged("$vl", writeVertexArray(v));
    }
    case CQorDataItem::Kind::VertexArrayList: {
        CQorArrayTempl<CQorVertexArray> v;
        item.get(v);
        Json a = Json::array();
        for (const auto& vl : v)
            a.push_back(writeVertexArray(vl));
        return tagged("$vll", std::move(a));
    }
    case CQorDataItem::Kind::Matrix: {
        CQorMatrix3d v;
        item.get(v);
        Json rows = Json::array();
        for (const auto& row : v.entry) {
            Json r = Json::array();
            for (double e : row)
                r.push_back(writeDouble(e));
            rows.push_back(std::move(r));
        }
        return tagged("$matrix", std::move(rows));
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
        if (tag == "$point") {
            CQorPoint3d p;
            return readPoint(v, p) ? item.set(p) : fail("$point needs [x, y, z]");
        }
        if (tag == "$points") {
            CQorPoint3dArray a;
            for (const auto& e : v) {
                CQorPoint3d p;
                if (!readPoint(e, p)) return fail("$points needs [x, y, z] entries");
                a.append(p);
            }
            return item.set(a);
        }
        if (tag == "$vl") {
            CQorVertexArray vl;
            return readVertexArray(v, vl) ? item.set(vl)
                                          : fail("$vl needs [[x, y, z], [x, y, z], bulge] entries");
        }
        if (tag == "$vll") {
            CQorArrayTempl<CQorVertexArray> list;
            for (const auto& e : v) {
                CQorVertexArray vl;
                if (!readVertexArray(e, vl)) return fail("$vll needs vertex arrays as $vl writes them");
                list.append(std::move(vl));
            }
            return item.set(list);
        }
        if (tag == "$matrix") {
            CQorMatrix3d m;
            if (v.size() != 4) return fail("$matrix needs four rows of four numbers");
            for (int r = 0; r < 4; ++r) {
                const Json& row = v[std::size_t(r)];
                if (!row.is_array() || row.size() != 4)
                    return fail("$matrix needs four rows of four numbers");
                for (int c = 0; c < 4; ++c)
                    if (!readDouble(row[std::size_t(c)], m.entry[r][c])) return fail("$matrix needs numbers");
            }
            return item.set(m);
        }
        if (tag == "$strs") {
            CQorArrayTempl<CQorString> a;
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

bool objectFromJson(CQorArrayTempl<CQorDataItem>& chain, std::string_view text, std::string* error) noexcept {
    return guarded(false, [&] {
        const Json j = Json::parse(text.begin(), text.end(), nullptr, false);
        if (j.is_discarded()) {
            if (error != nullptr) *error = "not valid JSON";
            return false;
        }
        CQorArrayTempl<CQorDataItem> items;
        const Json* object = &j;
        for (int depth = 0;; ++depth) {
            if (depth > kMaxJsonDepth) {
                if (error != nullptr) *error = "objects linked too deep";
                return false;
            }
            const bool wrapped = object->is_object() && object->size() == 1 && object->contains("$object");
            const Json* data = object;
            const Json* linked = nullptr;
            if (wrapped) {
                const Json& body = (*object)["$object"];
                if (!body.is_object() || !body.contains("data") ||
                    body.size() > (body.contains("linked") ? 2u : 1u)) {
                    if (error != nullptr) *error = "$object needs \"data\" and may have \"linked\"";
                    return false;
                }
                data = &body["data"];
                if (body.contains("linked")) linked = &body["linked"];
            }
            Reader reader;
            CQorDataItem item;
            if (!reader.read(*data, item, 0)) {
                if (error != nullptr) *error = reader.error;
                return false;
            }
            items.append(std::move(item));
            if (linked == nullptr) break;
            object = linked;
        }
        chain = std::move(items);
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
