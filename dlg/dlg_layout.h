#pragma once

// Builds a dialog's controls from its template: sets the template's font on the dialog (dialog units
// depend on it), sizes the client area, and creates each control once with its final class at the
// template's rectangle, converted with wxWindow::ConvertDialogToPixels. The window ids are the
// template's numbers (a control with id -1 gets a fresh wx id).

#include <functional>
#include <map>

#include <wx/window.h>

#include "qor/dlg/dlg_template.h"
#include "qor/render/ui/export.h"

namespace QOR {

/// Makes the window for one template control in place of the stock class (a CQorEdit for an edit
/// field): parent is the dialog, pos and size are in pixels. Returns the new child (owned by the
/// dialog window).
using DlgControlMaker = std::function<wxWindow*(wxWindow* parent, const DlgControl& control,
                                                const wxPoint& pos, const wxSize& size)>;
/// Control id -> the maker that replaces its stock class.
using DlgControlMakers = std::map<int, DlgControlMaker>;

/// Sets the font and client size of dialog from the template and creates its controls in template order
/// (which is their tab order). False when a control could not be created.
QOR_UI_EXPORT bool layoutDlgTemplate(wxWindow& dialog, const DlgTemplate& tmpl,
                                     const DlgControlMakers& makers = {});

/// The font a template names: its face where the system has it, else the system's dialog font, at the
/// template's size. "MS Shell Dlg" always means the system's dialog font.
QOR_UI_EXPORT wxFont dlgTemplateFont(const DlgTemplate& tmpl);

/// A template rectangle in pixels of window (whose font must be set).
QOR_UI_EXPORT wxRect dlgUnitsToPixels(const wxWindow& window, int x, int y, int width, int height);

} // namespace QOR
