// Dialog templates: res/dialogs/<id>.json, which a file of the same name on the search path replaces.
// Reading must never crash, a refusal must say why, and what is accepted must keep the limits the layout
// relies on (rectangles in range, ids unique).
#include "qor/dlg/dlg_template.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto parsed = QOR::parseDlgTemplate(text, "fuzz.json", error);
    if (!parsed) {
        if (error.rfind("fuzz.json: ", 0) != 0) std::abort();
        return 0;
    }
    if (parsed->width < 1 || parsed->height < 1 || parsed->width > 4000 || parsed->height > 4000)
        std::abort();
    std::set<int> ids;
    for (const QOR::DlgControl& c : parsed->controls) {
        if (c.x < 0 || c.y < 0 || c.width < 1 || c.height < 1 || c.x > 4000 || c.width > 4000) std::abort();
        if (c.id != -1 && !ids.insert(c.id).second) std::abort();
        if (parsed->control(c.id) == nullptr) std::abort();
    }
    return 0;
}
