#include "qor/dlg/dlg_navigation.h"

#include <wx/combobox.h>
#include <wx/textctrl.h>

namespace QOR::detail {

KeyMsg keyMsg(const wxKeyEvent& e, wxWindow* focus) noexcept {
    KeyMsg msg;
    switch (e.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        msg.vkey = VK_RETURN;
        break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        msg.vkey = VK_PRIOR;
        break;
    case WXK_TAB:
    case WXK_NUMPAD_TAB:
        msg.vkey = VK_TAB;
        break;
    default:
        msg.vkey = 0;
        break;
    }
    msg.ctrl = e.RawControlDown();
    msg.focus = focus;
    return msg;
}

bool isEdit(const wxWindow* window) noexcept {
    if (!window || !window->IsShown() || !window->IsEnabled()) return false;
    if (const auto* combo = dynamic_cast<const wxComboBox*>(window)) return !combo->HasFlag(wxCB_READONLY);
    return dynamic_cast<const wxTextCtrl*>(window) != nullptr;
}

bool wantsReturn(const wxWindow* window) noexcept {
    const auto* text = dynamic_cast<const wxTextCtrl*>(window);
    return text && text->IsMultiLine();
}

int nextEdit(const std::vector<bool>& edits, int current) noexcept {
    const int count = int(edits.size());
    if (current < 0 || current >= count) return -1;
    for (int step = 1; step < count; ++step) {
        const int i = (current + step) % count;
        if (edits[std::size_t(i)]) return i;
    }
    return -1;
}

int firstEdit(const std::vector<bool>& edits, int current) noexcept {
    if (current <= 0) return -1;
    for (std::size_t i = 0; i < edits.size(); ++i)
        if (edits[i]) return int(i);
    return -1;
}

} // namespace QOR::detail
