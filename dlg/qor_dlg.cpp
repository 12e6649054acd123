#include "qor/dlg/qor_dlg.h"

#include <typeinfo>

#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/hyperlink.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include "qor/dlg/app_icon.h"
#include "qor/dlg/dlg_geometry.h"
#include "qor/dlg/dlg_stack.h"
#include "qor/dlg/registry.h"
#include "qor/dlg/size_grip.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_key.h"
#include "qor/kernel/locale/messages.h"

using namespace QOR;

namespace {

// Texts that come from their defaults are marked while this configuration switch is set, so that a
// translator sees which keys still lack a text.
bool debugTexts() {
    CCfgLock lock;
    const CQorDataItem* item = cfg_get(CQorDataKey(L"*DEBUG_TEXTS*"));
    if (!item) return false;
    bool on = false;
    int number = 0;
    return (item->get(on) && on) || (item->get(number) && number != 0);
}

void setControlText(wxWindow& control, const wchar_t* text) {
    if (auto* edit = dynamic_cast<wxTextCtrl*>(&control)) {
        edit->ChangeValue(text); // no change event: the dialog set it, not the user
    } else if (auto* combo = dynamic_cast<wxComboBox*>(&control)) {
        combo->ChangeValue(text);
    } else {
        control.SetLabel(text);
    }
}

RECT toRect(const wxRect& r) {
    return RECT{r.GetLeft(), r.GetTop(), r.GetLeft() + r.GetWidth(), r.GetTop() + r.GetHeight()};
}

long wxStyleOf(unsigned style) {
    long wx = 0;
    if (style & kStyleCaption) wx |= wxCAPTION;
    if (style & kStyleSysMenu) wx |= wxSYSTEM_MENU | wxCLOSE_BOX;
    if (style & kStyleThickFrame) wx |= wxRESIZE_BORDER;
    return wx;
}

} // namespace

CQorDlg::CQorDlg(int templateId, wxWindow* parent) : m_templateId(templateId), m_parentWnd(parent) {
    m_bSubDlg = detail::dlgStackTop() != nullptr;
}

CQorDlg::~CQorDlg() {
    if (m_template) OnDestroy(); // a backstop: normally EndModal or Destroy ran it
}

MsgCallback CQorDlg::SetMsgCallBack(MsgCallback callback) noexcept {
    const MsgCallback previous = m_pMsgFcn;
    m_pMsgFcn = callback;
    return previous;
}

bool CQorDlg::Create() {
    if (m_template) return false;
    const DlgTemplate* tmpl = QOR::dlgTemplate(m_templateId);
    if (!tmpl) return false;
    wxWindow* parent = m_parentWnd;
    if (tmpl->style & kStyleContextHelp) SetExtraStyle(GetExtraStyle() | wxWS_EX_CONTEXTHELP);
    if (!wxDialog::Create(parent, wxID_ANY, wxString(tmpl->caption), wxDefaultPosition, wxDefaultSize,
                          wxStyleOf(tmpl->style)))
        return false;
    m_template = tmpl;
    SetAffirmativeId(IDOK);
    SetEscapeId(IDCANCEL);
    if (!layoutDlgTemplate(*this, *tmpl, m_makers)) return false;
    bindEvents();
    OnCreate(tmpl->caption.c_str());
    OnInitDialog();
    return true;
}

int CQorDlg::DoModal() {
    if (!m_template) {
        if (!Create()) return -1;
    } else if (m_closed) {
        m_closed = false;
        OnCreate(m_template->caption.c_str());
        OnInitDialog();
    }
    return ShowModal();
}

void CQorDlg::EndModal(int result) {
    OnDestroy();
    wxDialog::EndModal(result);
}

BOOL CQorDlg::DestroyWindow() {
    OnDestroy();
    Hide();
    return TRUE;
}

bool CQorDlg::Destroy() {
    OnDestroy();
    return wxDialog::Destroy();
}

bool CQorDlg::hasStyle(unsigned style) const noexcept {
    return m_template && (m_template->style & style) != 0;
}

int CQorDlg::OnCreate(const wchar_t* windowName) {
    m_strDlgName = windowName;
    if (m_strDlgName.isEmpty()) m_bSavePos = false;
    RECT saved;
    if (m_bSavePos && getSavedPos(&saved)) {
        // Only a resizable dialog gets its size back: a fixed one keeps the size its template gives.
        if (hasStyle(kStyleThickFrame))
            SetSize(saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top);
        else
            Move(saved.left, saved.top);
    }
    if (m_strCountry.isEmpty()) {
        m_strCountry = msgLangSet(nullptr);
        // A dialog opened from a dialog of its own kind speaks that dialog's language.
        for (wxWindow* ancestor = GetParent(); ancestor; ancestor = ancestor->GetParent())
            if (typeid(*ancestor) == typeid(*this)) {
                m_strCountry = static_cast<CQorDlg*>(ancestor)->m_strCountry;
                break;
            }
    }
    return 0;
}

BOOL CQorDlg::OnInitDialog() {
    if (hasStyle(kStyleCaption)) {
        const wxIcon icon = appIcon();
        if (icon.IsOk()) SetIcon(icon);
        dlgStackPush(this);
        m_onStack = true;
    }
    addLangRsc();
    addHlpRsc();
    addToolTipRsc();
    updLang();
    return TRUE;
}

void CQorDlg::OnDestroy() {
    if (m_closed || !m_template) return;
    m_closed = true;
    if (m_bSavePos) {
        const RECT desktop = toRect(wxDisplay(0u).GetGeometry());
        const RECT saved = detail::clampToDesktop(toRect(GetRect()), desktop);
        const CQorString key = settingsKey();
        regWrite(key, L"Pos", detail::packWords(saved.left, saved.top));
        regWrite(key, L"Size", detail::packWords(saved.right - saved.left, saved.bottom - saved.top));
    }
    if (m_onStack) {
        dlgStackPop();
        m_onStack = false;
    }
}

CQorString CQorDlg::settingsKey() const {
    CQorString app;
    return CQorString(L"HKEY_CURRENT_USER\\") + regAppKey(app, L"QOR") + L"\\Dialogs\\" + m_strDlgName;
}

bool CQorDlg::getSavedPos(RECT* rect) const {
    if (!m_bSavePos || !rect) return false;
    const CQorString key = settingsKey();
    DWORD pos = 0, size = 0;
    if (!regRead(key, L"Pos", pos) || !regRead(key, L"Size", size)) return false;
    rect->left = detail::lowWord(pos);
    rect->top = detail::highWord(pos);
    rect->right = rect->left + detail::lowWord(size);
    rect->bottom = rect->top + detail::highWord(size);
    return true;
}

bool CQorDlg::updLang() {
    if (!m_template || !m_pMsgFcn) return false;
    const bool marked = debugTexts();
    for (const auto& [id, key] : m_mapLang) {
        wxWindow* control = FindWindow(id);
        if (!control) {
            if (marked) {
                CQorString text;
                text.format(L"\nSetDlgItemText failed:\nDlgID = %d\nKEY = '%s'", id, key.c_str());
                MessageBoxW(text, nullptr, MB_ICONEXCLAMATION);
            }
            continue;
        }
        const auto def = m_mapLangDef.find(id);
        // Copied at once: the callback's result lives only for a few look-ups.
        CQorString fallback =
            def != m_mapLangDef.end() ? def->second : CQorString(GetMsg(key, nullptr, nullptr));
        if (marked) fallback = L"[" + fallback + L"]";
        if (const wchar_t* text = GetMsg(key, fallback, nullptr)) setControlText(*control, text);
    }
    applyToolTips();
    return true;
}

void CQorDlg::applyToolTips() {
    for (const auto& entry : m_mapToolTip) {
        wxWindow* control = FindWindow(entry.first);
        if (!control) continue;
        CQorString text;
        if (ToolTip(control, text))
            control->SetToolTip(wxString(text.c_str()));
        else
            control->UnsetToolTip();
    }
}

const wchar_t* CQorDlg::GetMsg(const wchar_t* key, const wchar_t* defaultText, const wchar_t* country) {
    if (!m_pMsgFcn) return defaultText;
    return m_pMsgFcn(key, defaultText, country ? country : m_strCountry.c_str());
}

int CQorDlg::MessageBoxW(const wchar_t* text, const wchar_t*, int type) {
    long style = 0;
    switch (type & 0xF) {
    case MB_OKCANCEL:
        style = wxOK | wxCANCEL;
        break;
    case MB_YESNO:
        style = wxYES_NO;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (type & 0xF0) {
    case MB_ICONERROR:
        style |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONEXCLAMATION:
        style |= wxICON_WARNING;
        break;
    case MB_ICONINFORMATION:
        style |= wxICON_INFORMATION;
        break;
    default:
        break;
    }
    wxMessageDialog box(this, wxString(text ? text : L""), wxString(msgBoxTitle(nullptr)), style);
    switch (box.ShowModal()) {
    case wxID_OK:
        return IDOK;
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

BOOL CQorDlg::ToolTip(const wxWindow* tool, CQorString& text) {
    if (!tool || tool->GetId() <= 0) return FALSE; // unnamed controls have negative wx ids
    const auto key = m_mapToolTip.find(tool->GetId());
    if (key == m_mapToolTip.end()) return FALSE;
    const wchar_t* found = GetMsg(key->second, nullptr, nullptr);
    if (!found || !*found) return FALSE;
    text = found;
    return TRUE;
}

void CQorDlg::SetCountry(const wchar_t* country) {
    const CQorString code(country);
    if (code == m_strCountry) return;
    m_strCountry = code;
    if (m_template) updLang();
}

void CQorDlg::setLink(UINT id, const wchar_t* text, const wchar_t* url) {
    wxWindow* control = FindWindow(int(id));
    if (!control) return;
    if (auto* link = dynamic_cast<wxHyperlinkCtrl*>(control)) {
        link->SetURL(url ? wxString(url) : wxString());
        link->SetLabel(text ? text : L"");
        return;
    }
    control->SetLabel(text ? text : L"");
}

void CQorDlg::OnShowWindow(BOOL show) {
    if (!show) return;
    if (wxWindow* help = FindWindow(kIdHelpButton)) {
        help->Show();
        help->Enable(!m_strHelpFile.isEmpty());
    }
}

void CQorDlg::OnSize(UINT, int, int) {
    Refresh(); // the grip sits in the corner, which moved
}

void CQorDlg::OnPaint() {
    wxPaintDC dc(this);
    if (hasStyle(kStyleThickFrame)) detail::drawSizeGrip(dc, GetClientSize());
}

BOOL CQorDlg::PreTranslateMessage(const KeyMsg& msg) {
    auto* tabs = dynamic_cast<KeyTarget*>(GetParent());
    if (msg.vkey == VK_TAB && msg.ctrl) return tabs && tabs->PreTranslateMessage(msg);
    if (msg.vkey != VK_RETURN && msg.vkey != VK_PRIOR) return FALSE;
    if (detail::wantsReturn(msg.focus)) return FALSE;
    if (msg.vkey == VK_RETURN && tabs) return tabs->PreTranslateMessage(msg);
    if (!detail::isEdit(msg.focus)) return FALSE;

    std::vector<wxWindow*> order(GetChildren().begin(), GetChildren().end());
    std::vector<bool> edits;
    int current = -1;
    for (wxWindow* child : order) {
        if (child == msg.focus) current = int(edits.size());
        edits.push_back(detail::isEdit(child));
    }
    if (current < 0) return FALSE; // a field of a page inside this dialog: the page handles it
    if (msg.vkey == VK_RETURN) {
        const int next = detail::nextEdit(edits, current);
        if (next >= 0)
            order[std::size_t(next)]->SetFocus();
        else
            validateField(msg.focus); // the last field keeps the focus but is checked
        return TRUE;
    }
    const int first = detail::firstEdit(edits, current);
    if (first >= 0) order[std::size_t(first)]->SetFocus();
    return TRUE;
}

void CQorDlg::validateField(wxWindow* field) {
    wxFocusEvent leave(wxEVT_KILL_FOCUS, field->GetId());
    leave.SetEventObject(field);
    leave.SetWindow(this);
    field->GetEventHandler()->ProcessEvent(leave);
}

void CQorDlg::bindEvents() {
    Bind(wxEVT_SHOW, [this](wxShowEvent& e) {
        e.Skip();
        OnShowWindow(e.IsShown());
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        OnSize(0, e.GetSize().x, e.GetSize().y);
    });
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (!PreTranslateMessage(detail::keyMsg(e, wxWindow::FindFocus()))) e.Skip();
    });
    Bind(wxEVT_HELP, [this](wxHelpEvent& e) {
        const wxPoint mouse = e.GetPosition();
        HELPINFO info;
        info.iCtrlId = e.GetId() == GetId() ? 0 : e.GetId();
        info.MousePos = POINT{mouse.x, mouse.y};
        OnHelpInfo(&info);
    });
}

void QOR::applyDlgEnv(CQorDlg& dialog, const DlgEnv_st& env, bool withHelp, bool keepCountry) {
    if (!keepCountry) dialog.SetCountry(env.country);
    if (!withHelp) return;
    dialog.SetHelpFile(env.helpFile);
    dialog.SetHelpTopic(env.helpTopic);
}
