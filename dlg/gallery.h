#pragma once

// A gallery of the library's dialogs with sample data, for developers and translators: pick a dialog and
// a language, and it opens as a program would open it.

#include <functional>
#include <vector>

#include <wx/window.h>

#include "qor/dlg/qor_dlg.h"

namespace QOR {

/// One entry of the gallery: its name's message key and default, and how it opens in a language.
struct GalleryEntry {
    const wchar_t* key;
    const wchar_t* defaultName;
    std::function<void(wxWindow* parent, const wchar_t* country)> open;
};

/// The dialogs the gallery offers, in its order.
QOR_UI_EXPORT std::vector<GalleryEntry> galleryEntries();

/// The gallery window (template 190).
class QOR_UI_EXPORT CQorGalleryDlg : public CQorDlg {
public:
    static constexpr int kTemplateId = 190;
    static constexpr int kIdList = 1001;
    static constexpr int kIdLanguage = 1003;
    static constexpr int kIdOpen = 1004;

    explicit CQorGalleryDlg(wxWindow* parent);

    BOOL OnInitDialog() override;
    bool updLang() override;
    void addLangRsc() override;
    /// Opens the selected dialog in the selected language.
    void OnOpen();

private:
    std::vector<GalleryEntry> m_entries;
};

/// Runs the gallery modally under parent (may be null); returns its DoModal result.
QOR_UI_EXPORT int dlgGallery(wxWindow* parent) noexcept;

} // namespace QOR
