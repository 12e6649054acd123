#include "qor/dlg/drag_drop.h"

#include <unistd.h>

#include <wx/dataobj.h>
#include <wx/dnd.h>
#include <wx/toplevel.h>

#include "qor/dlg/dlg_env.h"
#include "qor/dlg/dlg_stack.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"

namespace QOR {

bool DoDragDrop(const wchar_t* path, unsigned long effects, const RECT*, wxDropSource* source) noexcept {
    return detail::guardedAt("QOR::DoDragDrop", false, [&] {
        if (!path || ::access(CQorString(path).toUtf8().c_str(), F_OK) != 0) return false;
        // GTK starts a drag from a window: the given source's, else the innermost dialog or the
        // application's window.
        wxWindow* window = detail::dlgStackTop();
        if (!window) window = DlgEnv_st::hWndApplic;
        if (!window) window = wxGetActiveWindow();
        if (!source && !window) return false;
        wxFileDataObject data;
        data.AddFile(wxString(path));
        wxDropSource own(window);
        wxDropSource& drag = source ? *source : own;
        drag.SetData(data);
        const int flags = (effects & DROPEFFECT_MOVE) ? wxDrag_AllowMove : wxDrag_CopyOnly;
        const wxDragResult result = drag.DoDragDrop(flags);
        return result != wxDragNone && result != wxDragCancel && result != wxDragError;
    });
}

} // namespace QOR
