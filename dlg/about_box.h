#pragma once

// The about box (template 100): the application icon, the product line with the library's version, the
// licences of the libraries it is built on, and OK. The outline, material-tree and label-edit dialogs
// open it from their system menu.

#include "qor/dlg/qor_dlg.h"

class QOR_UI_EXPORT CAboutboxDlg : public CQorDlg {
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kIdProduct = 1000;
    static constexpr int kIdLicences = 1001;

    explicit CAboutboxDlg(wxWindow* parent);

    bool updLang() override;
    void addLangRsc() override;
};

/// The system command that opens the about box (WM_SYSCOMMAND with the low four bits masked off).
constexpr unsigned kIdmAboutBox = 0x0010;
