#include "qor/dlg/about_box.h"

#include "qor/kernel/base/version.h"

CAboutboxDlg::CAboutboxDlg(wxWindow* parent) : CQorDlg(kTemplateId, parent) {}

void CAboutboxDlg::addLangRsc() {
    m_mapLang[kIdLicences] = L"QOR_ABOUT_0002";
    m_mapLangDef[kIdLicences] = L"Qor nutzt wxWidgets (wxWindows Library Licence), libpng (libpng-Lizenz), "
                                L"nlohmann-json (MIT) und Open CASCADE Technology (LGPL 2.1).";
}

bool CAboutboxDlg::updLang() {
    // The product line carries the version, so it is formatted here rather than taken from a map.
    if (wxWindow* product = FindWindow(kIdProduct)) {
        CQorString line;
        line.format(L"%s %hs", GetMsg(L"QOR_ABOUT_0001", L"Qor-Bibliothek", nullptr), QOR::version());
        product->SetLabel(wxString(line.c_str()));
    }
    SetTitle(wxString(GetMsg(L"QOR_ABOUT_0000", L"Info", nullptr)));
    return CQorDlg::updLang();
}
