#include "qor/dlg/dial_app.h"

#include "qor/dlg/msg_callback.h"
#include "qor/dlg/qor_dlg.h"

// Defined beside the module object, so that every program using a dialog links the object that
// installs the callback.
QOR::MsgCallback CQorDlg::m_pMsgFcn = nullptr;

namespace {
CQorDialApp theApp;
} // namespace

CQorDialApp::CQorDialApp() noexcept {
    InitInstance();
}

int CQorDialApp::InitInstance() noexcept {
    CQorDlg::SetMsgCallBack(QOR::detail::defaultMsgCallback);
    return 1;
}

CQorDialApp& qorDialApp() noexcept {
    return theApp;
}
