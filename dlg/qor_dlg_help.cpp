// The help members of CQorDlg.
#include <wx/filename.h>

#include "qor/dlg/app_icon.h"
#include "qor/dlg/file_dialog.h"
#include "qor/dlg/help.h"
#include "qor/dlg/qor_dlg.h"

using namespace QOR;

namespace {

bool isUrl(const CQorString& location) {
    return detail::startsWithNoCase(location, L"http:") || detail::startsWithNoCase(location, L"https:") ||
           detail::startsWithNoCase(location, L"file:");
}

bool readableFile(const CQorString& path) {
    return wxFileName::IsFileReadable(wxString(path.c_str()));
}

} // namespace

void CQorDlg::SetHelpFile(const wchar_t* path) {
    wxWindow* button = FindWindow(kIdHelpButton);
    if (!path) {
        m_strHelpDir = CQorString();
        m_strHelpFile = CQorString();
        if (button) button->Hide();
        return;
    }
    const CQorString location(path);
    if (isUrl(location)) {
        m_strHelpDir = CQorString();
        m_strHelpFile = location;
    } else {
        const wxFileName name{wxString(path)};
        m_strHelpDir = name.GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR).wc_str();
        m_strHelpFile = name.GetFullName().wc_str();
    }
    if (button) {
        button->Show();
        button->Enable(!m_strHelpFile.isEmpty());
    }
}

void CQorDlg::GetHelpFile(CQorString& out) const {
    out = m_strHelpDir + m_strHelpFile;
}

void CQorDlg::SetHelpTopic(const wchar_t* topic) {
    m_strHelpTopic = topic;
}

void CQorDlg::GetHelpTopic(CQorString& out) const {
    out = m_strHelpTopic;
}

void CQorDlg::Help(const wchar_t* topic) {
    CQorString location;
    GetHelpFile(location);
    CQorString page = topic ? CQorString(topic) : m_strHelpTopic;
    if (page.find(L'~') >= 0) {
        CQorString code = detail::applCode();
        if (code.isEmpty()) code = L"QOR";
        page.replace(L"~", code.makeUpper());
    }
    if (detail::startsWithNoCase(location, L"http:") || detail::startsWithNoCase(location, L"https:")) {
        helpViewer().openUrl(wxString(detail::withTopic(location, page).c_str()));
        return;
    }
    if (detail::startsWithNoCase(location, L"file:")) {
        helpViewer().openUrl(wxString(detail::filePage(location, page).c_str()));
        return;
    }
    if (!readableFile(location)) {
        CQorFileDialog ask(TRUE, L"htb", location, OFN_FILEMUSTEXIST,
                           L"(*.htb;*.zip;*.hhp)|*.htb;*.zip;*.hhp||", this);
        if (ask.DoModal() != IDOK) return;
        SetHelpFile(ask.GetPathName());
        GetHelpFile(location);
    }
    helpViewer().openBook(wxString(location.c_str()), wxString(page.c_str()));
}

BOOL CQorDlg::OnHelpInfo(const HELPINFO* info) {
    if (!info) return TRUE;
    wxPoint where(info->MousePos.x, info->MousePos.y);
    wxWindow* control = info->iCtrlId != 0 ? FindWindow(info->iCtrlId) : nullptr;
    if (control) where = control->GetScreenRect().GetPosition() + control->GetSize() / 2;
    if (!m_pMsgFcn || m_mapHlp.empty()) return TRUE;
    const auto key = m_mapHlp.find(info->iCtrlId);
    if (key == m_mapHlp.end()) return TRUE;
    const wchar_t* text = GetMsg(key->second, nullptr, nullptr);
    if (text && *text) helpViewer().popup(this, wxString(text), where);
    return TRUE;
}
