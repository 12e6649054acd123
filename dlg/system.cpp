#include "qor/dlg/system.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>

#include <unistd.h>

#include <wx/cmdline.h>
#include <wx/filefn.h>
#include <wx/utils.h>

#include "qor/kernel/base/status.h"

namespace QOR {
namespace {

/// The full path of the loaded object whose file name is `name`; empty when none is loaded.
std::string loadedObject(const std::string& name) {
    struct Search {
        const std::string* name;
        std::string found;
    } search{&name, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const char* path = info->dlpi_name;
            if (!path || !*path) return 0;
            const char* slash = std::strrchr(path, '/');
            const std::string file = slash ? slash + 1 : path;
            // A versioned file (libqor_ui.so.0) counts as the library.
            if (file.rfind(*s->name, 0) == 0 &&
                (file.size() == s->name->size() || file[s->name->size()] == '.')) {
                s->found = path;
                return 1;
            }
            return 0;
        },
        &search);
    return search.found;
}

/// True when the program of command can be started: an executable file given by path, or one found on
/// PATH. wxExecute reports a program it cannot start only from the child, after it returned a process.
bool startable(const wxString& command) {
    const wxArrayString args = wxCmdLineParser::ConvertStringToArgs(command, wxCMD_LINE_SPLIT_UNIX);
    if (args.empty()) return false;
    const wxString& program = args[0];
    if (program.Contains("/")) return ::access(program.utf8_str(), X_OK) == 0;
    wxPathList path;
    path.AddEnvList("PATH");
    const wxString found = path.FindAbsoluteValidPath(program);
    return !found.empty() && ::access(found.utf8_str(), X_OK) == 0;
}

} // namespace

bool appFileName(CQorString& out, const wchar_t* product, const wchar_t* part,
                 const wchar_t* extension) noexcept {
    return detail::guardedAt("QOR::appFileName", false, [&] {
        if (!product || !part || !extension) return false;
        CQorString lowerPart(part);
        lowerPart.makeLower();
        if (lowerPart == L"mfc") {
            // This library: the module that holds this very function.
            Dl_info info{};
            if (dladdr(reinterpret_cast<void*>(&appFileName), &info) == 0 || !info.dli_fname) return false;
            out = CQorString::fromUtf8(info.dli_fname);
            return true;
        }
        const std::string file = lowerPart == L"obj" ? "libqor_objects.so" : "libqor_core.so";
        const std::string found = loadedObject(file);
        out = CQorString::fromUtf8(found.empty() ? file : found);
        return !found.empty();
    });
}

bool execute(const wchar_t* command, int, bool noWait) noexcept {
    return detail::guardedAt("QOR::execute", false, [&] {
        if (!command || !startable(wxString(command))) return false;
        if (noWait) return wxExecute(wxString(command), wxEXEC_ASYNC) > 0;
        return wxExecute(wxString(command), wxEXEC_SYNC) == 0;
    });
}

} // namespace QOR
