#pragma once

// The library's file and folder pickers on wx: CQorFileDialog always shows the system's open-file dialog
// (also when built as a save dialog), and QOR::dlgFolder lets the user pick a folder. Both ask through
// one replaceable picker (the system's dialogs by default), so that tests give the answers a user would.

#include <wx/filedlg.h>

#include "qor/kernel/base/string.h"
#include "qor/render/ui/export.h"

// Open-file flags of the original record that the library's callers pass.
constexpr unsigned long OFN_READONLY = 0x1;
constexpr unsigned long OFN_OVERWRITEPROMPT = 0x2;
constexpr unsigned long OFN_HIDEREADONLY = 0x4;
constexpr unsigned long OFN_ALLOWMULTISELECT = 0x200;
constexpr unsigned long OFN_PATHMUSTEXIST = 0x800;
constexpr unsigned long OFN_FILEMUSTEXIST = 0x1000;
constexpr unsigned long OFN_ENABLEHOOK = 0x20;

class QOR_UI_EXPORT CQorFileDialog {
public:
    /// filter is in the Windows form "Text|pattern|Text|pattern||" (the trailing bars may be missing);
    /// defExt (without dot) is added to a name typed without extension; fileName is the initial name,
    /// with or without a folder; parent may be null. openFileDialog is kept for callers, but the dialog
    /// always opens files.
    CQorFileDialog(int openFileDialog, const wchar_t* defExt, const wchar_t* fileName, unsigned long flags,
                   const wchar_t* filter, wxWindow* parent);
    /// Runs the dialog: IDOK (1) when a file was chosen, IDCANCEL (2) otherwise.
    int DoModal();
    /// The dialog's title; the text is copied.
    void SetTitle(const wchar_t* title) { m_title = title; }
    /// The chosen file with its folder (after IDOK).
    CQorString GetPathName() const { return m_path; }
    bool isOpenDialog() const noexcept { return m_open; }

private:
    bool m_open;
    CQorString m_defExt, m_fileName, m_filter, m_title, m_path;
    unsigned long m_flags;
    wxWindow* m_parent; ///< not owned
};

namespace QOR {

/// What asks the user for files and folders. UI thread only.
class QOR_UI_EXPORT FilePicker {
public:
    virtual ~FilePicker() = default;
    /// Asks for a file to open: title, start folder and name, wx filter ("Text|pattern|..."), whether
    /// the file must exist. True with chosen (a full path) when one was picked.
    virtual bool pickFile(wxWindow* parent, const wxString& title, const wxString& folder,
                          const wxString& name, const wxString& filter, bool mustExist, wxString& chosen) = 0;
    /// Asks for a folder, starting at start. True with chosen when one was picked.
    virtual bool pickFolder(wxWindow* parent, const wxString& title, const wxString& start,
                            wxString& chosen) = 0;
};

/// The installed picker (the system's dialogs by default; never null).
QOR_UI_EXPORT FilePicker& filePicker() noexcept;
/// Installs picker (null: the system's dialogs again) and returns the one installed before. The picker
/// must outlive its use.
QOR_UI_EXPORT FilePicker* setFilePicker(FilePicker* picker) noexcept;

/// Lets the user pick a folder. folder is the start folder on input (backslashes and slashes both
/// separate; a trailing separator is dropped) and the chosen folder, ending with a separator, on output;
/// unchanged on cancel. owner null: the active window. True when a folder was chosen.
QOR_UI_EXPORT bool dlgFolder(wxWindow* owner, CQorString& folder, const wchar_t* title) noexcept;

namespace detail {
/// The wx form of a Windows filter ("A|*.a||" -> "A|*.a").
QOR_UI_EXPORT wxString wxFilter(const wchar_t* filter);
/// The folder dlgFolder starts in: separators made native, a trailing one dropped unless the path is a
/// root ("/", "C:\"); a bare drive "C:" becomes its root.
QOR_UI_EXPORT CQorString folderStartPath(const CQorString& folder);
/// path with a native separator appended when it does not end with one.
QOR_UI_EXPORT CQorString withTrailingSeparator(const CQorString& path);
} // namespace detail

} // namespace QOR
