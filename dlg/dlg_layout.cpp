#include "qor/dlg/dlg_layout.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/fontenum.h>
#include <wx/hyperlink.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "qor/dlg/app_icon.h"

namespace QOR {
namespace {

long alignment(unsigned style) {
    if (style & kStyleRight) return wxALIGN_RIGHT;
    if (style & kStyleCenter) return wxALIGN_CENTRE_HORIZONTAL;
    return 0;
}

long editStyle(unsigned style) {
    long wx = 0;
    if (style & kStyleMultiline) wx |= wxTE_MULTILINE;
    if (style & kStyleReadOnly) wx |= wxTE_READONLY;
    if (style & kStylePassword) wx |= wxTE_PASSWORD;
    if (style & kStyleRight) wx |= wxTE_RIGHT;
    if (style & kStyleCenter) wx |= wxTE_CENTRE;
    return wx;
}

wxWindow* makeStock(wxWindow* parent, const DlgControl& c, const wxPoint& pos, const wxSize& size) {
    const wxWindowID id = c.id == -1 ? wxID_ANY : c.id;
    const wxString label(c.text);
    const long border = (c.style & kStyleBorder) ? wxBORDER_SUNKEN : 0;
    switch (c.kind) {
    case DlgControlClass::Button: {
        auto* button = new wxButton(parent, id, label, pos, size, wxBU_EXACTFIT);
        if (c.style & kStyleDefault) button->SetDefault();
        return button;
    }
    case DlgControlClass::Check:
        return new wxCheckBox(parent, id, label, pos, size);
    case DlgControlClass::Radio:
        return new wxRadioButton(parent, id, label, pos, size, (c.style & kStyleGroup) ? wxRB_GROUP : 0);
    case DlgControlClass::Group:
        return new wxStaticBox(parent, id, label, pos, size);
    case DlgControlClass::Static:
        return new wxStaticText(parent, id, label, pos, size,
                                alignment(c.style) | wxST_NO_AUTORESIZE | border);
    case DlgControlClass::Icon:
        return new wxStaticBitmap(parent, id, wxBitmap(iconFromResource(c.icon, size.x, size.y)), pos, size);
    case DlgControlClass::Edit:
        return new wxTextCtrl(parent, id, label, pos, size, editStyle(c.style));
    case DlgControlClass::Combo:
        return new wxComboBox(parent, id, label, pos, size, 0, nullptr,
                              ((c.style & kStyleDropDownList) ? wxCB_READONLY : wxCB_DROPDOWN) |
                                  ((c.style & kStyleSort) ? wxCB_SORT : 0));
    case DlgControlClass::List:
        return new wxListBox(parent, id, pos, size, 0, nullptr,
                             ((c.style & kStyleSort) ? wxLB_SORT : 0) | border);
    case DlgControlClass::ListView:
        return new wxListCtrl(parent, id, pos, size, wxLC_REPORT | wxBORDER_SUNKEN);
    case DlgControlClass::Tree:
        return new wxTreeCtrl(parent, id, pos, size, wxTR_DEFAULT_STYLE | wxBORDER_SUNKEN);
    case DlgControlClass::Tab:
        return new wxNotebook(parent, id, pos, size);
    case DlgControlClass::Link:
        return new wxHyperlinkCtrl(parent, id, label, wxEmptyString, pos, size);
    case DlgControlClass::Frame:
        return new wxWindow(parent, id, pos, size, wxBORDER_SUNKEN);
    }
    return nullptr;
}

} // namespace

wxFont dlgTemplateFont(const DlgTemplate& tmpl) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    const wxString face(tmpl.fontFace);
    if (!face.empty() && face != "MS Shell Dlg" && wxFontEnumerator::IsValidFacename(face))
        font.SetFaceName(face);
    font.SetPointSize(tmpl.fontSize);
    return font;
}

wxRect dlgUnitsToPixels(const wxWindow& window, int x, int y, int width, int height) {
    return wxRect(window.ConvertDialogToPixels(wxPoint(x, y)),
                  window.ConvertDialogToPixels(wxSize(width, height)));
}

bool layoutDlgTemplate(wxWindow& dialog, const DlgTemplate& tmpl, const DlgControlMakers& makers) {
    dialog.SetFont(dlgTemplateFont(tmpl));
    dialog.SetClientSize(dialog.ConvertDialogToPixels(wxSize(tmpl.width, tmpl.height)));
    for (const DlgControl& c : tmpl.controls) {
        const wxRect r = dlgUnitsToPixels(dialog, c.x, c.y, c.width, c.height);
        const auto maker = makers.find(c.id);
        wxWindow* window = maker != makers.end() ? maker->second(&dialog, c, r.GetPosition(), r.GetSize())
                                                 : makeStock(&dialog, c, r.GetPosition(), r.GetSize());
        if (!window) return false;
        // Some GTK widgets ask for more room than the template gives; the template wins.
        window->SetMinSize(wxDefaultSize);
        window->SetSize(r);
        if (c.style & kStyleDisabled) window->Disable();
        if (c.style & kStyleHidden) window->Hide();
    }
    return true;
}

} // namespace QOR
