#pragma once

// The module object of the dialog framework. Exactly one instance exists; it is constructed when the
// library loads and then runs InitInstance, which installs the default message callback
// (msg_callback.h). A host that wants its own texts installs its callback with CQorDlg::SetMsgCallBack
// afterwards. The library has no application of its own: the host's wxApp runs the event loop.

#include "qor/render/ui/export.h"

class QOR_UI_EXPORT CQorDialApp {
public:
    CQorDialApp() noexcept;
    /// Installs the default message callback; TRUE.
    int InitInstance() noexcept;
};

/// The module object.
QOR_UI_EXPORT CQorDialApp& qorDialApp() noexcept;
