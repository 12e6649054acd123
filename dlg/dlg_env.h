#pragma once

// What the host tells a dialog about its surroundings. The host fills a QOR::DlgEnv_st and hands it to
// an exported dialog function (QOR::dlgFolder ... and the standard dialogs), which builds the dialog with
// env.parentWnd() as parent and takes its language and help from it.
//
// The calling pattern of an exported dialog function:
//   1. build the dialog with env.parentWnd() as parent;
//   2. SetCountry(env.country) (except the units dialog, which keeps its own), and for dialogs with help
//      SetHelpFile(env.helpFile) and SetHelpTopic(env.helpTopic): QOR::applyDlgEnv (qor_dlg.h);
//   3. hand the input to the dialog, run DoModal() and on 1 (OK) copy the results back; return the
//      DoModal result unless the function documents another.
// Each runs inside detail::guardedAt, so nothing is thrown at the host.

#include <wx/window.h>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/units.h"
#include "qor/render/ui/export.h"

namespace QOR {

struct QOR_UI_EXPORT DlgEnv_st {
    /// Fills lengthFormat from the host, country with the current language and parentWindow with the
    /// innermost open dialog of the library, else hWndApplic, else the active window.
    DlgEnv_st() noexcept;
    DlgEnv_st(const DlgEnv_st&) = default;
    DlgEnv_st(DlgEnv_st&&) = default;
    DlgEnv_st& operator=(const DlgEnv_st&) = default;
    DlgEnv_st& operator=(DlgEnv_st&&) = default;
    virtual ~DlgEnv_st() = default;

    /// The window that becomes the dialog's parent; null when there is none.
    virtual wxWindow* parentWnd() const noexcept { return parentWindow; }

    Qor::lFormat lengthFormat; ///< the host's current format for lengths
    CQorString country;        ///< language code for the texts (QOR::msgLangSet)
    CQorString helpFile;       ///< full path of the dialog's help file or a help URL; empty: no help
    CQorString helpTopic;      ///< help topic; empty: the start page
    wxWindow* parentWindow;    ///< not owned

    /// The host's main window, set by the host (not owned; null until set).
    static wxWindow* hWndApplic;
};

/// The environment of the material-tree dialog: option words ("EDGE", "PHYS", "SYSTEM", "SPACE"), the
/// names handed to it with "PHYS", and two flags; empty and false after construction.
struct QOR_UI_EXPORT DlgEnvMatTree_st : DlgEnv_st {
    CQorArrayTempl<CQorString> options;
    CQorArrayTempl<CQorString> physNames;
    bool flag1 = false;
    bool flag2 = false;
};

} // namespace QOR
