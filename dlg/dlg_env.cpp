#include "qor/dlg/dlg_env.h"

#include <wx/toplevel.h>

#include "qor/dlg/dlg_stack.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/host/host_app.h"
#include "qor/kernel/locale/messages.h"

namespace QOR {

wxWindow* DlgEnv_st::hWndApplic = nullptr;

DlgEnv_st::DlgEnv_st() noexcept
    : lengthFormat(Qor::kFormatDecimal), country(msgLangSet(nullptr)), parentWindow(nullptr) {
    // A host that throws is reported and leaves decimal lengths; the dialog still opens.
    lengthFormat =
        detail::guardedAt("QOR::DlgEnv_st", Qor::kFormatDecimal, [] { return qorAppPtr()->lengthFormat(); });
    parentWindow = detail::dlgStackTop();
    if (!parentWindow) parentWindow = hWndApplic;
    if (!parentWindow) parentWindow = wxGetActiveWindow();
}

} // namespace QOR
