#include "file_kind.h"

#include <wx/filename.h>

namespace {

struct Extension {
    const char* ext; ///< lower case, without the dot
    FileKind kind;
};

constexpr Extension kExtensions[] = {
    {"json", FileKind::DisplayList}, {"sld", FileKind::Slide},    {"slb", FileKind::SlideLibrary},
    {"png", FileKind::Picture},      {"jpg", FileKind::Picture},  {"jpeg", FileKind::Picture},
    {"bmp", FileKind::Picture},      {"ico", FileKind::Picture},  {"gif", FileKind::Picture},
    {"tif", FileKind::Picture},      {"tiff", FileKind::Picture},
};

} // namespace

FileKind fileKindOf(const wxString& path) {
    const wxString ext = wxFileName(path).GetExt().Lower();
    for (const Extension& e : kExtensions)
        if (ext == e.ext) return e.kind;
    return FileKind::Unknown;
}

wxString openFilter() {
    // GTK matches the patterns case-sensitively, so each comes in both cases.
    const wxString pictures = "*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.gif;*.tif;*.tiff";
    const wxString all = "*.json;*.sld;*.slb;" + pictures;
    auto both = [](const wxString& patterns) { return patterns + ";" + patterns.Upper(); };
    return "All drawings and pictures|" + both(all) + "|Display lists and kernel objects (*.json)|" +
           both("*.json") + "|Slides (*.sld)|" + both("*.sld") + "|Slide libraries (*.slb)|" + both("*.slb") +
           "|Pictures (PNG, JPEG, BMP, ICO, GIF, TIFF)|" + both(pictures) + "|All files|*";
}
