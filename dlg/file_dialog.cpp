#include "qor/dlg/file_dialog.h"

#include <wx/dirdlg.h>
#include <wx/filename.h>
#include <wx/toplevel.h>

#include "qor/dlg/qor_dlg.h"
#include "qor/kernel/base/status.h"

namespace QOR {
namespace {

class SystemFilePicker : public FilePicker {
public:
    bool pickFile(wxWindow* parent, const wxString& title, const wxString& folder, const wxString& name,
                  const wxString& filter, bool mustExist, wxString& chosen) override {
        wxFileDialog dialog(parent, title, folder, name, filter,
                            wxFD_OPEN | (mustExist ? wxFD_FILE_MUST_EXIST : 0));
        if (dialog.ShowModal() != wxID_OK) return false;
        chosen = dialog.GetPath();
        return true;
    }
    bool pickFolder(wxWindow* parent, const wxString& title, const wxString& start,
                    wxString& chosen) override {
        wxDirDialog dialog(parent, title, start, wxDD_DEFAULT_STYLE);
        if (dialog.ShowModal() != wxID_OK) return false;
        chosen = dialog.GetPath();
        return true;
    }
};

SystemFilePicker& systemPicker() {
    static SystemFilePicker picker;
    return picker;
}

FilePicker* g_picker = nullptr;

} // namespace

FilePicker& filePicker() noexcept {
    return g_picker ? *g_picker : systemPicker();
}

FilePicker* setFilePicker(FilePicker* picker) noexcept {
    FilePicker* previous = g_picker ? g_picker : &systemPicker();
    g_picker = picker;
    return previous;
}

} // namespace QOR

CQorFileDialog::CQorFileDialog(int openFileDialog, const wchar_t* defExt, const wchar_t* fileName,
                               unsigned long flags, const wchar_t* filter, wxWindow* parent)
    : m_open(openFileDialog != 0), m_defExt(defExt), m_fileName(fileName), m_filter(filter), m_flags(flags),
      m_parent(parent) {}

int CQorFileDialog::DoModal() {
    const wxFileName initial(wxString(m_fileName.c_str()));
    wxString path;
    // An open dialog whatever was asked: the library's callers pick existing files with both.
    if (!QOR::filePicker().pickFile(m_parent, wxString(m_title.c_str()), initial.GetPath(),
                                    initial.GetFullName(), QOR::detail::wxFilter(m_filter),
                                    (m_flags & OFN_FILEMUSTEXIST) != 0, path))
        return QOR::IDCANCEL;
    wxFileName chosen(path);
    if (!chosen.HasExt() && !m_defExt.isEmpty()) chosen.SetExt(wxString(m_defExt.c_str()));
    m_path = chosen.GetFullPath().wc_str();
    return QOR::IDOK;
}

namespace QOR {

bool dlgFolder(wxWindow* owner, CQorString& folder, const wchar_t* title) noexcept {
    return detail::guardedAt("QOR::dlgFolder", false, [&] {
        if (!owner) owner = wxGetActiveWindow();
        wxString chosen;
        if (!filePicker().pickFolder(owner, wxString(title ? title : L""),
                                     wxString(detail::folderStartPath(folder).c_str()), chosen))
            return false;
        folder = detail::withTrailingSeparator(CQorString(chosen.wc_str()));
        return true;
    });
}

namespace detail {

wxString wxFilter(const wchar_t* filter) {
    wxString text(filter ? filter : L"");
    while (text.EndsWith("|"))
        text.RemoveLast();
    return text;
}

CQorString folderStartPath(const CQorString& folder) {
    const wchar_t sep = wxFileName::GetPathSeparator();
    CQorString path = folder;
    path.replace(L'/', sep);
    path.replace(L'\\', sep);
    const int n = path.len();
    if (n >= 1 && path.getAt(n - 1) == L':') return path + sep;
    if (n >= 2 && path.getAt(n - 1) == sep && path.getAt(n - 2) != L':') path = path.left(n - 1);
    return path;
}

CQorString withTrailingSeparator(const CQorString& path) {
    const wchar_t sep = wxFileName::GetPathSeparator();
    if (path.len() > 0 && path.getAt(path.len() - 1) == sep) return path;
    return path + sep;
}

} // namespace detail
} // namespace QOR
