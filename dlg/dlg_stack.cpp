#include "qor/dlg/dlg_stack.h"

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/status.h"

namespace QOR {
namespace {

// Constructed on first use, so that a dialog opened from another library's static initialiser finds it.
CQorArrayTempl<wxWindow*>& stack() {
    static CQorArrayTempl<wxWindow*> windows;
    return windows;
}

} // namespace

wxWindow* dlgStackPop() noexcept {
    auto& windows = stack();
    if (windows.isEmpty()) return nullptr;
    wxWindow* top = windows[windows.len() - 1];
    windows.setLogicalLength(windows.len() - 1);
    return top;
}

void dlgStackPush(wxWindow* window) noexcept {
    detail::guardedAt("QOR::dlgStackPush", 0, [&] { return stack().append(window); });
}

namespace detail {

wxWindow* dlgStackTop() noexcept {
    wxWindow* top = dlgStackPop();
    if (top) dlgStackPush(top);
    return top;
}

int dlgStackCount() noexcept {
    return stack().len();
}

int dlgStackCapacity() noexcept {
    return stack().capacity();
}

} // namespace detail
} // namespace QOR
