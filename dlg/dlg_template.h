#pragma once

// Dialog templates as data. Each dialog of the library is described by res/dialogs/<id>.json: its size,
// font, caption and window styles, and each control with its id, class, text, styles and rectangle. A
// template is read once per process; a change to it needs no change of code.
//
// Conventions
//  - Rectangles are in dialog units of the template's font (x: a quarter of the average character width,
//    y: an eighth of the character height), from the top-left corner of the dialog's client area.
//  - Control ids are the dialogs' published numbers; -1 is a static control that no code addresses.
//
// File format (UTF-8 JSON):
//   { "id": 100, "caption": "Info", "font": {"face": "MS Shell Dlg", "size": 8}, "size": [235, 92],
//     "style": ["caption", "sysmenu"],
//     "controls": [ {"id": 1, "class": "button", "text": "OK", "style": ["default"],
//                    "rect": [178, 71, 50, 14]}, ... ] }
// "overlap": true on a control says it may overlap others (a group box around its fields).

#include <optional>
#include <string>
#include <vector>

#include "qor/render/ui/export.h"

namespace QOR {

/// The kinds of control a template can hold and what each becomes on wx.
enum class DlgControlClass {
    Button,   ///< wxButton
    Check,    ///< wxCheckBox
    Radio,    ///< wxRadioButton ("group" starts a new group)
    Group,    ///< wxStaticBox
    Static,   ///< wxStaticText
    Icon,     ///< wxStaticBitmap showing the embedded icon named by "icon"
    Edit,     ///< wxTextCtrl
    Combo,    ///< wxComboBox ("dropdownlist": read-only)
    List,     ///< wxListBox
    ListView, ///< wxListCtrl in report view
    Tree,     ///< wxTreeCtrl
    Tab,      ///< wxNotebook
    Link,     ///< wxHyperlinkCtrl
    Frame,    ///< a plain wxWindow with a border, a place for a window a dialog puts there (a preview)
};

/// Style words of controls and dialogs; each maps onto a wx style or a state set after creation.
enum DlgStyle : unsigned {
    kStyleDefault = 1u << 0,      ///< the default button
    kStyleDisabled = 1u << 1,     ///< created disabled
    kStyleHidden = 1u << 2,       ///< created hidden
    kStyleMultiline = 1u << 3,    ///< edit: several lines
    kStyleWantReturn = 1u << 4,   ///< edit: Enter makes a new line instead of moving on
    kStyleReadOnly = 1u << 5,     ///< edit: read-only
    kStyleDropDownList = 1u << 6, ///< combo: choose only, no typing
    kStyleRight = 1u << 7,        ///< text aligned right
    kStyleCenter = 1u << 8,       ///< text centred
    kStylePassword = 1u << 9,     ///< edit: hidden characters
    kStyleBorder = 1u << 10,      ///< a sunken border
    kStyleSort = 1u << 11,        ///< list/combo: sorted
    kStyleGroup = 1u << 12,       ///< radio: first of a group
    kStyleCaption = 1u << 16,     ///< dialog: title bar (pushes itself on the dialog stack)
    kStyleSysMenu = 1u << 17,     ///< dialog: system menu with the close box
    kStyleThickFrame = 1u << 18,  ///< dialog: resizable; the size is remembered and a grip is drawn
    kStyleContextHelp = 1u << 19, ///< dialog: the caption's "?" for context help
    kStyleChild = 1u << 20,       ///< dialog: a page inside another window (no caption, no stack)
};

struct DlgControl {
    int id = -1;
    DlgControlClass kind = DlgControlClass::Static;
    std::wstring text;
    unsigned style = 0;
    int x = 0, y = 0, width = 0, height = 0; ///< dialog units
    int icon = 0;                            ///< Icon: the embedded icon group shown
    bool overlap = false;                    ///< may overlap other controls
};

struct DlgTemplate {
    int id = 0;
    std::wstring caption;
    std::wstring fontFace;
    int fontSize = 8;          ///< points
    int width = 0, height = 0; ///< dialog units
    unsigned style = 0;
    std::vector<DlgControl> controls;

    /// The control with `id`, or null.
    const DlgControl* control(int controlId) const noexcept;
};

/// Reads a template from JSON text. On failure the result is empty and error names what is wrong,
/// beginning with fileName and, where one is at fault, the control ("100.json: control 3 (index 2): rect
/// needs four numbers").
QOR_UI_EXPORT std::optional<DlgTemplate> parseDlgTemplate(const std::string& json,
                                                          const std::string& fileName, std::string& error);

/// The template `id` from res/dialogs/<id>.json (found with QOR::fileFind, so a file on the search path
/// overrides the bundled one), read on first use and kept for the life of the process; null when the
/// file is missing or malformed, which is reported once as an error naming file and control. UI thread.
QOR_UI_EXPORT const DlgTemplate* dlgTemplate(int id) noexcept;

/// The ids of the bundled templates, ascending.
QOR_UI_EXPORT std::vector<int> bundledDlgTemplates();

} // namespace QOR
