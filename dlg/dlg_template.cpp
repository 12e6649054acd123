#include "qor/dlg/dlg_template.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <nlohmann/json.hpp>

#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/file_find.h"

namespace QOR {
namespace {

using nlohmann::json;

struct ClassName {
    const char* name;
    DlgControlClass kind;
};
constexpr ClassName kClasses[] = {
    {"button", DlgControlClass::Button}, {"check", DlgControlClass::Check},
    {"radio", DlgControlClass::Radio},   {"group", DlgControlClass::Group},
    {"static", DlgControlClass::Static}, {"icon", DlgControlClass::Icon},
    {"edit", DlgControlClass::Edit},     {"combo", DlgControlClass::Combo},
    {"list", DlgControlClass::List},     {"listview", DlgControlClass::ListView},
    {"tree", DlgControlClass::Tree},     {"tab", DlgControlClass::Tab},
    {"link", DlgControlClass::Link},     {"frame", DlgControlClass::Frame},
};

struct StyleName {
    const char* name;
    unsigned bit;
};
constexpr StyleName kControlStyles[] = {
    {"default", kStyleDefault},
    {"disabled", kStyleDisabled},
    {"hidden", kStyleHidden},
    {"multiline", kStyleMultiline},
    {"wantreturn", kStyleWantReturn},
    {"readonly", kStyleReadOnly},
    {"dropdownlist", kStyleDropDownList},
    {"right", kStyleRight},
    {"center", kStyleCenter},
    {"password", kStylePassword},
    {"border", kStyleBorder},
    {"sort", kStyleSort},
    {"group", kStyleGroup},
};
constexpr StyleName kDialogStyles[] = {
    {"caption", kStyleCaption},         {"sysmenu", kStyleSysMenu}, {"thickframe", kStyleThickFrame},
    {"contexthelp", kStyleContextHelp}, {"child", kStyleChild},
};

// Dialog units far beyond any screen: a larger number is a typing error, and keeping it small keeps the
// pixel conversion far from int overflow.
constexpr int kMaxDialogUnits = 4000;

/// What is wrong with a template file; thrown inside the parser only, caught by parseDlgTemplate.
struct Fault {
    std::string text;
};

std::wstring wide(const std::string& utf8) {
    return std::wstring(CQorString::fromUtf8(utf8).view());
}

int number(const json& value, const char* what, int low, int high) {
    if (!value.is_number_integer()) throw Fault{std::string(what) + " must be a whole number"};
    const auto n = value.get<long long>();
    if (n < low || n > high)
        throw Fault{std::string(what) + " must lie in " + std::to_string(low) + ".." + std::to_string(high)};
    return int(n);
}

template <std::size_t N>
unsigned styles(const json& object, const StyleName (&names)[N]) {
    const auto found = object.find("style");
    if (found == object.end()) return 0;
    if (!found->is_array()) throw Fault{"style must be a list of words"};
    unsigned bits = 0;
    for (const json& word : *found) {
        if (!word.is_string()) throw Fault{"style must be a list of words"};
        const auto& text = word.get_ref<const std::string&>();
        const auto it = std::find_if(std::begin(names), std::end(names),
                                     [&](const StyleName& s) { return text == s.name; });
        if (it == std::end(names)) throw Fault{"unknown style \"" + text + "\""};
        bits |= it->bit;
    }
    return bits;
}

std::wstring text(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) return {};
    if (!found->is_string()) throw Fault{std::string(key) + " must be a text"};
    return wide(found->get<std::string>());
}

DlgControl parseControl(const json& item) {
    if (!item.is_object()) throw Fault{"must be an object"};
    DlgControl control;
    const auto id = item.find("id");
    if (id == item.end()) throw Fault{"has no id"};
    control.id = number(*id, "id", -1, 0xFFFF);
    const auto kind = item.find("class");
    if (kind == item.end() || !kind->is_string()) throw Fault{"has no class"};
    const auto& kindName = kind->get_ref<const std::string&>();
    const auto it = std::find_if(std::begin(kClasses), std::end(kClasses),
                                 [&](const ClassName& c) { return kindName == c.name; });
    if (it == std::end(kClasses)) throw Fault{"unknown class \"" + kindName + "\""};
    control.kind = it->kind;
    control.text = text(item, "text");
    control.style = styles(item, kControlStyles);
    const auto rect = item.find("rect");
    if (rect == item.end() || !rect->is_array() || rect->size() != 4) throw Fault{"rect needs four numbers"};
    control.x = number((*rect)[0], "rect x", 0, kMaxDialogUnits);
    control.y = number((*rect)[1], "rect y", 0, kMaxDialogUnits);
    control.width = number((*rect)[2], "rect width", 1, kMaxDialogUnits);
    control.height = number((*rect)[3], "rect height", 1, kMaxDialogUnits);
    if (const auto icon = item.find("icon"); icon != item.end())
        control.icon = number(*icon, "icon", 1, 0xFFFF);
    if (control.kind == DlgControlClass::Icon && control.icon == 0) throw Fault{"icon control names no icon"};
    if (const auto overlap = item.find("overlap"); overlap != item.end()) {
        if (!overlap->is_boolean()) throw Fault{"overlap must be true or false"};
        control.overlap = overlap->get<bool>();
    }
    return control;
}

DlgTemplate parseTemplate(const json& root, std::string& where) {
    if (!root.is_object()) throw Fault{"the file must hold one object"};
    DlgTemplate result;
    if (!root.contains("id")) throw Fault{"has no id"};
    result.id = number(root["id"], "id", 1, 0xFFFF);
    result.caption = text(root, "caption");
    result.style = styles(root, kDialogStyles);
    const auto font = root.find("font");
    if (font == root.end() || !font->is_object()) throw Fault{"font needs a face and a size"};
    result.fontFace = text(*font, "face");
    if (!font->contains("size")) throw Fault{"font needs a face and a size"};
    result.fontSize = number((*font)["size"], "font size", 4, 72);
    const auto size = root.find("size");
    if (size == root.end() || !size->is_array() || size->size() != 2) throw Fault{"size needs two numbers"};
    result.width = number((*size)[0], "width", 1, kMaxDialogUnits);
    result.height = number((*size)[1], "height", 1, kMaxDialogUnits);
    const auto controls = root.find("controls");
    if (controls == root.end() || !controls->is_array()) throw Fault{"controls must be a list"};
    for (std::size_t i = 0; i < controls->size(); ++i) {
        const json& item = (*controls)[i];
        where = "control ";
        where += item.is_object() && item.contains("id") ? item["id"].dump() : "?";
        where += " (index " + std::to_string(i) + ")";
        DlgControl control = parseControl(item);
        if (control.id != -1 && result.control(control.id)) throw Fault{"id is used twice"};
        result.controls.push_back(std::move(control));
    }
    where.clear();
    return result;
}

} // namespace

const DlgControl* DlgTemplate::control(int controlId) const noexcept {
    for (const DlgControl& c : controls)
        if (c.id == controlId) return &c;
    return nullptr;
}

std::optional<DlgTemplate> parseDlgTemplate(const std::string& text, const std::string& fileName,
                                            std::string& error) {
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = fileName + ": not valid JSON";
        return std::nullopt;
    }
    std::string where;
    try {
        return parseTemplate(root, where);
    } catch (const Fault& fault) {
        error = fileName + ": " + (where.empty() ? "" : where + ": ") + fault.text;
    } catch (const json::exception& e) {
        error = fileName + ": " + (where.empty() ? "" : where + ": ") + e.what();
    }
    return std::nullopt;
}

const DlgTemplate* dlgTemplate(int id) noexcept {
    return detail::guardedAt("QOR::dlgTemplate", (const DlgTemplate*)nullptr, [&]() -> const DlgTemplate* {
        // A template that failed stays null, so its error is reported once.
        static std::map<int, std::unique_ptr<DlgTemplate>> cache;
        const auto cached = cache.find(id);
        if (cached != cache.end()) return cached->second.get();
        std::unique_ptr<DlgTemplate>& slot = cache[id];
        const std::string fileName = "dialogs/" + std::to_string(id) + ".json";
        CQorString path;
        if (!fileFind(path, CQorString::fromUtf8(fileName))) {
            reportDiagnostic(DiagnosticLevel::Error, (fileName + ": dialog template not found").c_str());
            return nullptr;
        }
        std::ifstream file(std::filesystem::path(path.toUtf8()), std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        std::string error;
        std::optional<DlgTemplate> parsed = parseDlgTemplate(bytes.str(), path.toUtf8(), error);
        if (!parsed || parsed->id != id) {
            if (parsed)
                error =
                    path.toUtf8() + ": id " + std::to_string(parsed->id) + " does not match the file name";
            reportDiagnostic(DiagnosticLevel::Error, error.c_str());
            return nullptr;
        }
        slot = std::make_unique<DlgTemplate>(std::move(*parsed));
        return slot.get();
    });
}

std::vector<int> bundledDlgTemplates() {
    std::vector<int> ids;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(resourceDir().toUtf8()) / "dialogs";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".json") continue;
        const std::string stem = entry.path().stem().string();
        if (!stem.empty() &&
            std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
            ids.push_back(std::stoi(stem));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace QOR
