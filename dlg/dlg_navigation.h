#pragma once

// Keyboard navigation between the edit fields of a dialog: Enter moves to the next field, Page Up to the
// first, Ctrl+Tab switches the page of a tab control a dialog sits in. The decisions are pure functions
// of the controls in tab order, so they are tested without keys.

#include <vector>

#include <wx/event.h>
#include <wx/window.h>

#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

// Virtual key codes of the keys the dialogs handle.
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_PRIOR = 0x21; // Page Up

namespace QOR {

/// A key going down: the key, whether Ctrl is held, and the window that has the focus (may be null).
struct KeyMsg {
    UINT vkey = 0;
    bool ctrl = false;
    wxWindow* focus = nullptr;
};

/// A window that takes the keys of the dialogs inside it (the tab control, which switches pages on
/// Ctrl+Tab). True when it used the key.
class QOR_UI_EXPORT KeyTarget {
public:
    virtual ~KeyTarget() = default;
    virtual bool PreTranslateMessage(const KeyMsg& msg) = 0;
};

namespace detail {

/// The key message of a key event (Enter on the keypad counts as Enter); focus is the focused window.
QOR_UI_EXPORT KeyMsg keyMsg(const wxKeyEvent& e, wxWindow* focus) noexcept;

/// True when window counts as an edit field for Enter and Page Up: shown, enabled, and a text control
/// or a combo box one can type into.
QOR_UI_EXPORT bool isEdit(const wxWindow* window) noexcept;

/// True when window takes Enter itself (a multi-line text control).
QOR_UI_EXPORT bool wantsReturn(const wxWindow* window) noexcept;

/// The index of the edit field after `current` in tab order, wrapping round from the first, stopping
/// when `current` is met again; -1 when there is none. edits[i] tells whether control i counts.
QOR_UI_EXPORT int nextEdit(const std::vector<bool>& edits, int current) noexcept;

/// The index of the first edit field in tab order; -1 when there is none or current is the first control.
QOR_UI_EXPORT int firstEdit(const std::vector<bool>& edits, int current) noexcept;

} // namespace detail
} // namespace QOR
