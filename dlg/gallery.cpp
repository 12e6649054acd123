#include "qor/dlg/gallery.h"

#include <wx/combobox.h>
#include <wx/listbox.h>

#include "qor/dlg/about_box.h"
#include "qor/dlg/dlg_env.h"
#include "qor/dlg/file_dialog.h"
#include "qor/dlg/help.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/file_find.h"

namespace QOR {
namespace {

constexpr const wchar_t* kLanguages[] = {L"de", L"en", L"0"};

CQorString bundledHelpBook(const wchar_t* country) {
    CQorString found;
    CQorString name = CQorString(L"help/") + country + L"/qor.hhp";
    if (!fileFind(found, name)) fileFind(found, L"help/de/qor.hhp");
    return found;
}

} // namespace

std::vector<GalleryEntry> galleryEntries() {
    return {
        {L"QOR_GAL_0001", L"Info",
         [](wxWindow* parent, const wchar_t* country) {
             CAboutboxDlg about(parent);
             about.SetCountry(country);
             about.DoModal();
         }},
        {L"QOR_GAL_0002", L"Datei öffnen",
         [](wxWindow* parent, const wchar_t*) {
             CQorFileDialog file(TRUE, L"json", L"demo.json", OFN_FILEMUSTEXIST,
                                 L"Display lists (*.json)|*.json|Slides (*.sld)|*.sld||", parent);
             file.DoModal();
         }},
        {L"QOR_GAL_0003", L"Ordner wählen",
         [](wxWindow* parent, const wchar_t*) {
             CQorString folder = resourceDir();
             dlgFolder(parent, folder, L"Qor");
         }},
        {L"QOR_GAL_0004", L"Hilfe",
         [](wxWindow*, const wchar_t* country) {
             helpViewer().openBook(wxString(bundledHelpBook(country).c_str()), "index");
         }},
    };
}

CQorGalleryDlg::CQorGalleryDlg(wxWindow* parent)
    : CQorDlg(kTemplateId, parent), m_entries(galleryEntries()) {}

void CQorGalleryDlg::addLangRsc() {
    m_mapLang[1000] = L"QOR_GAL_0010";
    m_mapLang[1002] = L"QOR_GAL_0011";
    m_mapLang[kIdOpen] = L"QOR_GAL_0012";
    m_mapLang[IDCANCEL] = L"QOR_GAL_0013";
}

BOOL CQorGalleryDlg::OnInitDialog() {
    if (auto* language = dynamic_cast<wxComboBox*>(FindWindow(kIdLanguage))) {
        for (const wchar_t* code : kLanguages)
            language->Append(code);
        language->SetValue(country());
    }
    if (auto* open = FindWindow(kIdOpen)) open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOpen(); });
    if (auto* list = FindWindow(kIdList))
        list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OnOpen(); });
    if (auto* language = FindWindow(kIdLanguage))
        language->Bind(wxEVT_COMBOBOX, [this, language](wxCommandEvent&) {
            SetCountry(static_cast<wxComboBox*>(language)->GetValue().wc_str());
        });
    if (auto* help = FindWindow(kIdHelpButton))
        help->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Help(nullptr); });
    return CQorDlg::OnInitDialog();
}

bool CQorGalleryDlg::updLang() {
    SetTitle(wxString(GetMsg(L"QOR_GAL_0000", L"Dialoge", nullptr)));
    if (auto* list = dynamic_cast<wxListBox*>(FindWindow(kIdList))) {
        const int selected = list->GetSelection();
        list->Clear();
        for (const GalleryEntry& entry : m_entries)
            list->Append(wxString(GetMsg(entry.key, entry.defaultName, nullptr)));
        list->SetSelection(selected == wxNOT_FOUND ? 0 : selected);
    }
    return CQorDlg::updLang();
}

void CQorGalleryDlg::OnOpen() {
    auto* list = dynamic_cast<wxListBox*>(FindWindow(kIdList));
    if (!list) return;
    const int selected = list->GetSelection();
    if (selected < 0 || selected >= int(m_entries.size())) return;
    m_entries[std::size_t(selected)].open(this, country());
}

int dlgGallery(wxWindow* parent) noexcept {
    return detail::guardedAt("QOR::dlgGallery", -1, [&] {
        DlgEnv_st env;
        env.helpFile = bundledHelpBook(env.country);
        env.helpTopic = L"gallery";
        CQorGalleryDlg gallery(parent ? parent : env.parentWnd());
        applyDlgEnv(gallery, env, true);
        return gallery.DoModal();
    });
}

} // namespace QOR
