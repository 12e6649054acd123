#include "qor/objlib/object_file.h"

#include <fstream>
#include <sstream>
#include <string>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/assembly.h"
#include "qor/objlib/drill.h"
#include "qor/objlib/hole.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/standard_part.h"
#include "qor/objlib/wall.h"

namespace QOR {

namespace {

/// The file's text, or false with why set.
bool readText(const wchar_t* path, std::string& text, CQorString& why) {
    std::ifstream in(std::filesystem::u8path(CQorString(path).toUtf8()), std::ios::binary);
    if (!in) {
        why = L"cannot be read";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace

bool objCheck(const CQorDataItem* root, CQorString* badKey, CQorString* reason) noexcept {
    try {
        detail::SchemaReader in(root);
        const CQorString kind = in.text(L"KIND", true);
        if (in.ok() && kind == L"DRILL") {
            Drill_st drill;
            return drillRead(root, drill, badKey, reason);
        }
        if (in.ok() && kind == L"HOLE") return holeCheck(root, badKey, reason);
        if (in.ok() && kind == L"WALL") return wallCheck(root, badKey, reason);
        // Formed sheets and bars keep their data in the linked object, which their images read warily.
        if (in.ok() && (kind == L"FSHEET" || kind == L"BAR")) return true;
        CQorArrayTempl<CQorVertexArray> section;
        if (in.ok() && kind == L"EXTR" && (root->get(section, L"VL") || in.optionalDir(L"OUTLINE")))
            return true;
        if (in.ok() && kind == L"EXTR")
            in.fail(L"VL", L"no section: neither a list of polylines nor OUTLINE");
        if (in.ok() && kind == L"BGR") return bgrCheck(root, badKey, reason);
        if (in.ok() && kind == L"NM") return nmCheck(root, badKey, reason);
        if (in.ok()) in.fail(L"KIND", L"unknown kind");
        if (badKey != nullptr) *badKey = in.badKey();
        if (reason != nullptr) *reason = in.reason();
        return false;
    } catch (...) {
        if (reason != nullptr) *reason = L"out of memory";
        return false;
    }
}

bool objOpen(const wchar_t* path, int flags, CDtaFilePointer& object, CQorString* message) noexcept {
    object.close();
    try {
        CQorString why, key;
        std::string text, error;
        CQorArrayTempl<CQorDataItem> chain;
        if (path == nullptr || *path == 0) {
            why = L"no file named";
        } else if (readText(path, text, why)) {
            if (!objectFromJson(chain, text, &error))
                why = CQorString::fromUtf8(error);
            else if (objCheck(&chain[0], &key, &why))
                object = dtaOpen(kDtaFile, flags, path, nullptr);
            if (why.isEmpty() && !object) why = L"cannot be opened";
        }
        if (object) return true;
        if (message != nullptr) {
            std::wstring line(path != nullptr ? path : L"");
            line += L": ";
            if (!key.isEmpty()) line += std::wstring(key.view()) + L": ";
            line += why.view();
            *message = CQorString(line.c_str());
        }
        return false;
    } catch (...) {
        object.close();
        if (message != nullptr) *message = L"out of memory";
        return false;
    }
}

bool objGen(CQorDataItem* item, int flag) noexcept {
    return detail::guardedAt("QOR::objGen", false, [&] {
        if (item == nullptr || !item->isDir()) return false;
        CQorString kind, type;
        item->get(kind, L"KIND");
        item->get(type, L"TYPE");
        if (kind == L"NM" || (kind.isEmpty() && item->getItem(L"NORM") != nullptr)) {
            if (!nmCheck(item)) return false;
            return flag != 0 || kind == L"NM" || item->set(L"NM", L"KIND");
        }
        Drill_st drill;
        if (kind == L"DRILL" || (kind.isEmpty() && type == L"DRILL")) {
            if (!drillRead(item, drill)) return false;
            return flag != 0 || kind == L"DRILL" || item->set(L"DRILL", L"KIND");
        }
        CQorVertexArray vl;
        if (!kind.isEmpty() || type != L"OUTLINE" || !g_outline(vl, item, -1)) return false;
        return flag != 0 || item->set(vl, L"VL");
    });
}

bool objModel(CQor_Solid& solid, const CQorDataItem* root) noexcept {
    solid.clear();
    CQorString kind;
    if (root != nullptr && root->get(kind, L"KIND") && kind == L"NM") return nmModel(solid, root);
    Drill_st drill;
    if (!objCheck(root) || !drillRead(root, drill)) return false;
    return drillModel(solid, drill);
}

} // namespace QOR
