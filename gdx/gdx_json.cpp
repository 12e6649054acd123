#include "qor/gdx/gdx_json.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

#include "qor/gdx/gdx_p.h"
#include "qor/gdx/text_p.h"
#include "qor/kernel/base/status.h"

namespace QOR::detail {

/// The JSON reader and writer reach the list's fields through here.
struct GdxAccess {
    static CQorColor& back(CQorGDX& g) { return g.m_backColor; }
    static double& pdSize(CQorGDX& g) { return g.m_pdSize; }
    static DWORD& pdMode(CQorGDX& g) { return g.m_pdMode; }
    static CQorMatrix3d& proj(CQorGDX& g) { return g.m_projMtx; }
    static CQorMatrix3d& view(CQorGDX& g) { return g.m_viewMtx; }
    static CQorMatrix3d& zoom(CQorGDX& g) { return g.m_zoomMtx; }
    static CQorMatrix3d& viewDir(CQorGDX& g) { return g.m_viewDirMtx; }
    static CQorPoint3dArray& extents(CQorGDX& g) { return g.m_extents; }
    static CQorPoint3d& viewMin(CQorGDX& g) { return g.m_viewMin; }
    static CQorPoint3d& viewMax(CQorGDX& g) { return g.m_viewMax; }
    static CQorArrayTempl<CQorDisplayItem>& list(CQorGDX& g) { return g.changeItems(); }
    static CQorArrayTempl<CQorColor>& colorTab(CQorGDX& g) { return g.m_colorTab; }
    static const CQorGDX& c(const CQorGDX& g) { return g; }
    static const CQorPoint3dArray& extents(const CQorGDX& g) { return g.m_extents; }
    static const CQorPoint3d& viewMin(const CQorGDX& g) { return g.m_viewMin; }
    static const CQorPoint3d& viewMax(const CQorGDX& g) { return g.m_viewMax; }
    static const CQorArrayTempl<CQorColor>& colorTab(const CQorGDX& g) { return g.m_colorTab; }
};

} // namespace QOR::detail

namespace QOR {

namespace {

using Json = nlohmann::ordered_json;
using detail::GdxAccess;

constexpr int kFormatVersion = 1;

/// Longest text whose strokes the reader lays out itself. Strokes take some kilobytes per character, so a
/// small file must not be able to ask for gigabytes; the writer keeps the strokes of longer texts.
constexpr int kMaxLaidOutText = 10000;

/// Most characters the reader lays out across one list, for the same reason: many texts just below the
/// limit of one would otherwise add up to gigabytes. The writer keeps the strokes of the texts beyond it.
constexpr long kMaxLaidOutTotal = 200000;

// --- Writing.

Json writeDouble(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return v;
}

Json writePoint(const CQorPoint3d& p) {
    return Json::array({writeDouble(p.x), writeDouble(p.y), writeDouble(p.z)});
}

Json writeMatrix(const CQorMatrix3d& m) {
    Json rows = Json::array();
    for (const auto& row : m.entry)
        rows.push_back(Json::array(
            {writeDouble(row[0]), writeDouble(row[1]), writeDouble(row[2]), writeDouble(row[3])}));
    return rows;
}

Json writePolyline(const CQorVertexArray& vl) {
    Json out = Json::array();
    for (const CQorVertex& v : vl)
        out.push_back(Json::array({writeDouble(v.start.x), writeDouble(v.start.y), writeDouble(v.start.z),
                                   writeDouble(v.end.x), writeDouble(v.end.y), writeDouble(v.end.z),
                                   writeDouble(v.bulge)}));
    return out;
}

Json writePolylines(const CQorArrayTempl<CQorVertexArray>& vll) {
    Json out = Json::array();
    for (const CQorVertexArray& vl : vll)
        out.push_back(writePolyline(vl));
    return out;
}

std::string utf8(const wchar_t* text) {
    return CQorString(text).toUtf8();
}

Json writeColor(const CQorColor& c) {
    const bool books = *c.bookName() || *c.colorName();
    if (!c.hasTrueColor() && !books) return c.colorIndex();
    Json out = Json::object();
    out["index"] = c.colorIndex();
    if (c.hasTrueColor()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02X%02X%02X", c.red(), c.green(), c.blue());
        out["trueColor"] = hex;
    }
    if (*c.bookName()) out["book"] = utf8(c.bookName());
    if (*c.colorName()) out["name"] = utf8(c.colorName());
    return out;
}

bool sameBits(double a, double b) {
    return a == b ? std::signbit(a) == std::signbit(b) : (std::isnan(a) && std::isnan(b));
}

bool sameBits(const CQorStrokeGroups& a, const CQorStrokeGroups& b) {
    if (a.len() != b.len()) return false;
    for (int g = 0; g < a.len(); ++g) {
        const CQorArrayTempl<CQorVertexArray>& ga = a.data()[g];
        const CQorArrayTempl<CQorVertexArray>& gb = b.data()[g];
        if (ga.len() != gb.len()) return false;
        for (int l = 0; l < ga.len(); ++l) {
            const CQorVertexArray& la = ga.data()[l];
            const CQorVertexArray& lb = gb.data()[l];
            if (la.len() != lb.len()) return false;
            for (int v = 0; v < la.len(); ++v) {
                const CQorVertex& va = la.data()[v];
                const CQorVertex& vb = lb.data()[v];
                if (!sameBits(va.start.x, vb.start.x) || !sameBits(va.start.y, vb.start.y) ||
                    !sameBits(va.start.z, vb.start.z) || !sameBits(va.end.x, vb.end.x) ||
                    !sameBits(va.end.y, vb.end.y) || !sameBits(va.end.z, vb.end.z) ||
                    !sameBits(va.bulge, vb.bulge))
                    return false;
            }
        }
    }
    return true;
}

/// True when the reader would lay out exactly these strokes from the item's text, so they need not be
/// written: a text item made by imageTxt from a string. laidOut counts the characters the reader will lay
/// out for the items before this one, and grows by this text when it is left to the reader.
bool strokesFollowText(const CQorDisplayItem& it, long& laidOut) {
    const int len = it.m_text.len();
    if (it.m_type != QorDisplayTxt || len > kMaxLaidOutText || laidOut + len > kMaxLaidOutTotal) return false;
    CQorStrokeGroups laid;
    detail::layoutText(it.m_text, it.m_align, it.m_point, laid);
    if (!sameBits(laid, it.m_strokes)) return false;
    laidOut += len;
    return true;
}

Json writeItem(const CQorDisplayItem& it, long& laidOut) {
    static const CQorDisplayItem def;
    Json o = Json::object();
    o["type"] = std::int32_t(it.m_type);
    if (it.m_flags != def.m_flags) o["flags"] = it.m_flags;
    if (!it.m_stack.isEmpty()) {
        Json ids = Json::array();
        for (int id : it.m_stack)
            ids.push_back(id);
        o["stack"] = std::move(ids);
    }
    if (!(it.m_color == def.m_color)) o["color"] = writeColor(it.m_color);
    if (!it.m_linetype.isEmpty()) {
        Json dashes = Json::array();
        for (double d : it.m_linetype)
            dashes.push_back(writeDouble(d));
        o["linetype"] = std::move(dashes);
    }
    if (!sameBits(it.m_ltscale, def.m_ltscale)) o["ltscale"] = writeDouble(it.m_ltscale);
    if (!sameBits(it.m_point.x, 0.0) || !sameBits(it.m_point.y, 0.0) || !sameBits(it.m_point.z, 0.0))
        o["point"] = writePoint(it.m_point);
    if (it.m_pdMode != def.m_pdMode) o["pdMode"] = it.m_pdMode;
    if (!sameBits(it.m_pdSize, def.m_pdSize)) o["pdSize"] = writeDouble(it.m_pdSize);
    if (!it.m_vl.isEmpty()) o["vl"] = writePolyline(it.m_vl);
    if (!it.m_regions.isEmpty()) o["regions"] = writePolylines(it.m_regions);
    if (std::memcmp(&it.m_mtx, &def.m_mtx, sizeof(CQorMatrix3d)) != 0) o["matrix"] = writeMatrix(it.m_mtx);
    if (!(it.m_fcolor == def.m_fcolor)) o["fillColor"] = writeColor(it.m_fcolor);
    if (it.m_thickness != 0) o["thickness"] = it.m_thickness;
    const CHatchProp& h = it.m_hatch;
    const CHatchProp& dh = def.m_hatch;
    if (!h.m_name.isEmpty() || !sameBits(h.m_angle, dh.m_angle) || !sameBits(h.m_scale, dh.m_scale) ||
        h.m_double != dh.m_double) {
        Json hatch = Json::object();
        if (!h.m_name.isEmpty()) hatch["name"] = h.m_name.toUtf8();
        if (!sameBits(h.m_angle, dh.m_angle)) hatch["angle"] = writeDouble(h.m_angle);
        if (!sameBits(h.m_scale, dh.m_scale)) hatch["scale"] = writeDouble(h.m_scale);
        if (h.m_double != dh.m_double) hatch["double"] = h.m_double;
        o["hatch"] = std::move(hatch);
    }
    if (!it.m_align.isEmpty()) o["align"] = it.m_align.toUtf8();
    if (!it.m_text.isEmpty()) o["text"] = it.m_text.toUtf8();
    // A text item's strokes are left out only when the reader lays out the same ones; empty strokes under a
    // text that has glyphs are written too.
    const bool writeStrokes =
        it.m_type == QorDisplayTxt ? !strokesFollowText(it, laidOut) : !it.m_strokes.isEmpty();
    if (writeStrokes) {
        Json groups = Json::array();
        for (const CQorArrayTempl<CQorVertexArray>& group : it.m_strokes)
            groups.push_back(writePolylines(group));
        o["strokes"] = std::move(groups);
    }
    return o;
}

std::string dump(const Json& j) {
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// --- Reading. Each reader returns false on the first value of the wrong shape.

struct Reader {
    std::string reason;
    long laidOut = 0; ///< characters laid out so far for text items without strokes

    bool fail(const char* why) {
        if (reason.empty()) reason = why;
        detail::fail(detail::Status::BadInput);
        return false;
    }

    bool readDouble(const Json& j, double& v) {
        if (j.is_number()) {
            v = j.get<double>();
            return true;
        }
        if (j.is_string()) {
            const auto& s = j.get_ref<const std::string&>();
            if (s == "nan") return v = std::numeric_limits<double>::quiet_NaN(), true;
            if (s == "inf") return v = std::numeric_limits<double>::infinity(), true;
            if (s == "-inf") return v = -std::numeric_limits<double>::infinity(), true;
        }
        return fail("a number was expected");
    }

    bool readInt(const Json& j, int& v) {
        if (j.is_number_unsigned()) {
            const auto u = j.get<std::uint64_t>();
            if (u > std::uint64_t(std::numeric_limits<int>::max())) return fail("integer out of range");
            v = int(u);
            return true;
        }
        if (j.is_number_integer()) {
            const auto i = j.get<std::int64_t>();
            if (i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max())
                return fail("integer out of range");
            v = int(i);
            return true;
        }
        return fail("an integer was expected");
    }

    bool readDword(const Json& j, DWORD& v) {
        if (!j.is_number_unsigned()) return fail("an unsigned integer was expected");
        const auto u = j.get<std::uint64_t>();
        if (u > 0xFFFFFFFFu) return fail("unsigned integer out of range");
        v = DWORD(u);
        return true;
    }

    bool readString(const Json& j, CQorString& s) {
        if (!j.is_string()) return fail("a string was expected");
        s = CQorString::fromUtf8(j.get_ref<const std::string&>());
        return true;
    }

    bool readBool(const Json& j, bool& b) {
        if (!j.is_boolean()) return fail("true or false was expected");
        b = j.get<bool>();
        return true;
    }

    bool readPoint(const Json& j, CQorPoint3d& p) {
        if (!j.is_array() || j.size() != 3) return fail("a point is [x, y, z]");
        return readDouble(j[0], p.x) && readDouble(j[1], p.y) && readDouble(j[2], p.z);
    }

    bool readMatrix(const Json& j, CQorMatrix3d& m) {
        if (!j.is_array() || j.size() != 4) return fail("a matrix is four rows");
        for (int r = 0; r < 4; ++r) {
            const Json& row = j[std::size_t(r)];
            if (!row.is_array() || row.size() != 4) return fail("a matrix row is four numbers");
            for (int c = 0; c < 4; ++c)
                if (!readDouble(row[std::size_t(c)], m.entry[r][c])) return false;
        }
        return true;
    }

    bool readPolyline(const Json& j, CQorVertexArray& vl) {
        if (!j.is_array()) return fail("a polyline is an array of vertices");
        vl.clear();
        vl.reserve(int(std::min<std::size_t>(j.size(), std::size_t(CQorVertexArray::kMaxLength))));
        for (const Json& v : j) {
            if (!v.is_array() || v.size() != 7) return fail("a vertex is seven numbers");
            CQorVertex vx;
            if (!readDouble(v[0], vx.start.x) || !readDouble(v[1], vx.start.y) ||
                !readDouble(v[2], vx.start.z) || !readDouble(v[3], vx.end.x) || !readDouble(v[4], vx.end.y) ||
                !readDouble(v[5], vx.end.z) || !readDouble(v[6], vx.bulge))
                return false;
            vl.append(vx);
        }
        return true;
    }

    bool readPolylines(const Json& j, CQorArrayTempl<CQorVertexArray>& vll) {
        if (!j.is_array()) return fail("an array of polylines was expected");
        vll.clear();
        for (const Json& vl : j)
            if (!readPolyline(vl, vll[vll.len()])) return false;
        return true;
    }

    bool readColor(const Json& j, CQorColor& c) {
        c = CQorColor();
        int index = 0;
        if (j.is_number())
            return readInt(j, index) && (c.setColorIndex(index) || fail("colour index out of range"));
        if (!j.is_object()) return fail("a colour is an index or an object");
        bool hasIndex = false;
        CQorString book, name;
        unsigned trueColor = 0;
        bool hasTrue = false;
        for (const auto& [key, value] : j.items()) {
            if (key == "index") {
                if (!readInt(value, index)) return false;
                hasIndex = true;
            } else if (key == "trueColor") {
                if (!value.is_string()) return fail("a true colour is \"#RRGGBB\"");
                const auto& s = value.get_ref<const std::string&>();
                if (s.size() != 7 || s[0] != '#' ||
                    s.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
                    return fail("a true colour is \"#RRGGBB\"");
                trueColor = unsigned(std::stoul(s.substr(1), nullptr, 16));
                hasTrue = true;
            } else if (key == "book") {
                if (!readString(value, book)) return false;
            } else if (key == "name") {
                if (!readString(value, name)) return false;
            } else {
                return fail("unknown member of a colour");
            }
        }
        if (!hasIndex) return fail("a colour needs its index");
        if (!c.setColorIndex(index)) return fail("colour index out of range");
        if (hasTrue) c.setColor(trueColor);
        if (!c.setNames(book, name)) return fail("out of memory");
        return true;
    }

    bool readHatch(const Json& j, CHatchProp& h) {
        if (!j.is_object()) return fail("a hatch is an object");
        for (const auto& [key, value] : j.items()) {
            bool ok = true;
            if (key == "name")
                ok = readString(value, h.m_name);
            else if (key == "angle")
                ok = readDouble(value, h.m_angle);
            else if (key == "scale")
                ok = readDouble(value, h.m_scale);
            else if (key == "double")
                ok = readBool(value, h.m_double);
            else
                return fail("unknown member of a hatch");
            if (!ok) return false;
        }
        return true;
    }

    bool readItem(const Json& j, CQorDisplayItem& it) {
        if (!j.is_object()) return fail("an item is an object");
        if (!j.contains("type")) return fail("an item needs its type");
        if (!readMembers(j, it)) return false;
        // A text item without strokes is laid out from its text, alignment and point, as imageTxt does.
        if (it.m_type == QorDisplayTxt && !j.contains("strokes")) {
            if (it.m_text.len() > kMaxLaidOutText) return fail("text too long to lay out; give its strokes");
            laidOut += it.m_text.len();
            if (laidOut > kMaxLaidOutTotal) return fail("too much text to lay out; give its strokes");
            detail::layoutText(it.m_text, it.m_align, it.m_point, it.m_strokes);
        }
        return true;
    }

    bool readMembers(const Json& j, CQorDisplayItem& it) {
        for (const auto& [key, v] : j.items()) {
            bool ok = true;
            if (key == "type") {
                int type = 0;
                ok = readInt(v, type);
                it.m_type = QorDisplayObj(type);
            } else if (key == "flags") {
                ok = readDword(v, it.m_flags);
            } else if (key == "stack") {
                if (!v.is_array()) return fail("a stack is an array of ids");
                for (const Json& id : v)
                    if (!readInt(id, it.m_stack[it.m_stack.len()])) return false;
            } else if (key == "color") {
                ok = readColor(v, it.m_color);
            } else if (key == "linetype") {
                if (!v.is_array()) return fail("a line type is an array of numbers");
                for (const Json& d : v)
                    if (!readDouble(d, it.m_linetype[it.m_linetype.len()])) return false;
            } else if (key == "ltscale") {
                ok = readDouble(v, it.m_ltscale);
            } else if (key == "point") {
                ok = readPoint(v, it.m_point);
            } else if (key == "pdMode") {
                ok = readDword(v, it.m_pdMode);
            } else if (key == "pdSize") {
                ok = readDouble(v, it.m_pdSize);
            } else if (key == "vl") {
                ok = readPolyline(v, it.m_vl);
            } else if (key == "regions") {
                ok = readPolylines(v, it.m_regions);
            } else if (key == "matrix") {
                ok = readMatrix(v, it.m_mtx);
            } else if (key == "fillColor") {
                ok = readColor(v, it.m_fcolor);
            } else if (key == "thickness") {
                ok = readInt(v, it.m_thickness);
            } else if (key == "hatch") {
                ok = readHatch(v, it.m_hatch);
            } else if (key == "align") {
                ok = readString(v, it.m_align);
            } else if (key == "text") {
                ok = readString(v, it.m_text);
            } else if (key == "strokes") {
                if (!v.is_array()) return fail("strokes are an array of polyline groups");
                for (const Json& group : v)
                    if (!readPolylines(group, it.m_strokes[it.m_strokes.len()])) return false;
            } else {
                return fail("unknown member of an item");
            }
            if (!ok) return false;
        }
        return true;
    }

    bool readList(const Json& j, CQorGDX& g) {
        if (!j.is_object()) return fail("a display list is an object");
        const auto version = j.find("qor_gdx");
        if (version == j.end() || !version->is_number_integer() ||
            version->get<std::int64_t>() != kFormatVersion)
            return fail("not a display list of format version 1");
        for (const auto& [key, v] : j.items()) {
            bool ok = true;
            if (key == "qor_gdx") {
                continue;
            } else if (key == "background") {
                ok = readColor(v, GdxAccess::back(g));
            } else if (key == "pdSize") {
                ok = readDouble(v, GdxAccess::pdSize(g));
            } else if (key == "pdMode") {
                ok = readDword(v, GdxAccess::pdMode(g));
            } else if (key == "projection") {
                ok = readMatrix(v, GdxAccess::proj(g));
            } else if (key == "view") {
                ok = readMatrix(v, GdxAccess::view(g));
            } else if (key == "zoom") {
                ok = readMatrix(v, GdxAccess::zoom(g));
            } else if (key == "viewDirection") {
                ok = readMatrix(v, GdxAccess::viewDir(g));
            } else if (key == "extents") {
                if (!v.is_array() || (v.size() != 0 && v.size() != 2))
                    return fail("extents are empty or two points");
                CQorPoint3dArray& ext = GdxAccess::extents(g);
                for (const Json& p : v)
                    if (!readPoint(p, ext[ext.len()])) return false;
            } else if (key == "viewMin") {
                ok = readPoint(v, GdxAccess::viewMin(g));
            } else if (key == "viewMax") {
                ok = readPoint(v, GdxAccess::viewMax(g));
            } else if (key == "colorTable") {
                if (!v.is_array() || v.size() > 14) return fail("the colour table holds at most 14 colours");
                CQorArrayTempl<CQorColor>& tab = GdxAccess::colorTab(g);
                for (const Json& c : v)
                    if (!readColor(c, tab[tab.len()])) return false;
            } else if (key == "items") {
                if (!v.is_array()) return fail("items are an array");
                CQorArrayTempl<CQorDisplayItem>& list = GdxAccess::list(g);
                list.reserve(int(std::min<std::size_t>(v.size(), 1u << 20)));
                for (const Json& item : v) {
                    if (!readItem(item, list[list.len()])) return false;
                    detail::stamp(list[list.len() - 1]);
                }
            } else {
                return fail("unknown member of a display list");
            }
            if (!ok) return false;
        }
        return true;
    }
};

bool toJson(const CQorGDX& g, std::string& out, bool pretty) {
    const char* sep = pretty ? ",\n" : ",";
    const char* nl = pretty ? "\n" : "";
    const char* in = pretty ? "  " : "";
    std::string s;
    s += "{";
    s += nl;
    s += in;
    s += "\"qor_gdx\":" + std::to_string(kFormatVersion) + sep;
    auto member = [&](const char* name, const Json& value) {
        s += in;
        s += '"';
        s += name;
        s += "\":";
        s += dump(value);
        s += sep;
    };
    member("background", writeColor(g.backColorGet()));
    member("pdSize", writeDouble(g.pdSizeGet()));
    member("pdMode", g.pdModeGet());
    member("projection", writeMatrix(g.projMtxGet()));
    member("view", writeMatrix(g.viewMtxGet()));
    member("zoom", writeMatrix(g.zoomMtxGet()));
    member("viewDirection", writeMatrix(g.viewDirectionMtxGet()));
    Json ext = Json::array();
    for (const CQorPoint3d& p : GdxAccess::extents(g))
        ext.push_back(writePoint(p));
    member("extents", ext);
    member("viewMin", writePoint(GdxAccess::viewMin(g)));
    member("viewMax", writePoint(GdxAccess::viewMax(g)));
    Json tab = Json::array();
    for (const CQorColor& c : GdxAccess::colorTab(g))
        tab.push_back(writeColor(c));
    member("colorTable", tab);
    s += in;
    s += "\"items\":[";
    bool first = true;
    long laidOut = 0;
    for (const CQorDisplayItem& item : g.getDisplayList()) {
        if (!first) s += ',';
        first = false;
        s += nl;
        s += in;
        s += in;
        s += dump(writeItem(item, laidOut));
    }
    if (!first) {
        s += nl;
        s += in;
    }
    s += "]";
    s += nl;
    s += "}";
    s += nl;
    out = std::move(s);
    return true;
}

} // namespace

bool gdxToJson(const CQorGDX& gdx, std::string& out, bool pretty) noexcept {
    return detail::guarded(false, [&] { return toJson(gdx, out, pretty); });
}

bool gdxFromJson(CQorGDX& gdx, std::string_view text, std::string* error) noexcept {
    return detail::guarded(false, [&] {
        const Json j = Json::parse(text.begin(), text.end(), nullptr, false);
        Reader reader;
        if (j.is_discarded()) {
            reader.fail("not valid JSON");
        } else {
            CQorGDX loaded(CQorColor(), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
            if (reader.readList(j, loaded)) {
                gdx = std::move(loaded);
                return true;
            }
        }
        if (error) *error = reader.reason;
        return false;
    });
}

bool gdxReadJsonFile(CQorGDX& gdx, const std::filesystem::path& file, std::string* error) noexcept {
    return detail::guarded(false, [&] {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        if (in) text << in.rdbuf();
        if (!in || in.bad()) {
            if (error) *error = "cannot read the file";
            detail::fail(detail::Status::BadInput);
            return false;
        }
        return gdxFromJson(gdx, text.str(), error);
    });
}

bool gdxWriteJsonFile(const CQorGDX& gdx, const std::filesystem::path& file) noexcept {
    return detail::guarded(false, [&] {
        std::string text;
        if (!toJson(gdx, text, true)) return false;
        std::filesystem::path temp = file;
        temp += ".tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(text.data(), std::streamsize(text.size()));
            out.close();
            if (!out) {
                std::error_code ignored;
                std::filesystem::remove(temp, ignored);
                detail::fail(detail::Status::BadInput);
                return false;
            }
        }
        std::error_code ec;
        std::filesystem::rename(temp, file, ec);
        if (ec) {
            std::filesystem::remove(temp, ec);
            detail::fail(detail::Status::BadInput);
            return false;
        }
        return true;
    });
}

} // namespace QOR
