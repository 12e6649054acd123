#include "qor/dlg/help.h"

#include <unistd.h>

#include <memory>

#include <wx/html/helpctrl.h>
#include <wx/tipwin.h>
#include <wx/utils.h>

#include "qor/dlg/app_icon.h"
#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/text_utils.h"
#include "qor/kernel/data/file_find.h"

namespace QOR {
namespace {

class DesktopHelpViewer : public HelpViewer {
public:
    bool openUrl(const wxString& url) override { return wxLaunchDefaultBrowser(url); }

    bool openBook(const wxString& book, const wxString& topic) override {
        if (!m_controller || m_book != book) {
            m_controller = std::make_unique<wxHtmlHelpController>(wxHF_DEFAULT_STYLE);
            if (!m_controller->AddBook(wxFileName(book))) {
                m_controller.reset();
                return false;
            }
            m_book = book;
        }
        // A page of that name, else the keyword; the start page when neither is found.
        if (topic.empty() || topic.CmpNoCase("index") == 0 || !m_controller->Display(topic)) {
            m_controller->DisplayContents();
        }
        return true;
    }

    void popup(wxWindow* window, const wxString& text, const wxPoint& screenPos) override {
        auto* tip = new wxTipWindow(window, text); // owns and deletes itself when dismissed
        tip->Move(screenPos);
    }

private:
    std::unique_ptr<wxHtmlHelpController> m_controller;
    wxString m_book;
};

DesktopHelpViewer& desktopViewer() {
    static DesktopHelpViewer viewer;
    return viewer;
}

HelpViewer* g_viewer = nullptr;

bool readable(const CQorString& path) {
    return ::access(path.toUtf8().c_str(), R_OK) == 0;
}

} // namespace

HelpViewer& helpViewer() noexcept {
    return g_viewer ? *g_viewer : desktopViewer();
}

HelpViewer* setHelpViewer(HelpViewer* viewer) noexcept {
    HelpViewer* previous = g_viewer ? g_viewer : &desktopViewer();
    g_viewer = viewer;
    return previous;
}

namespace detail {

CQorString withTopic(const CQorString& location, const CQorString& topic) {
    CQorString result = location;
    result.replace(L"<topic>", topic);
    return result;
}

bool startsWithNoCase(const CQorString& location, const wchar_t* prefix) {
    CQorString head = location.left(int(std::wcslen(prefix)));
    return head.makeLower() == CQorString(prefix).makeLower();
}

CQorString filePage(const CQorString& location, const CQorString& topic) {
    CQorString path = withTopic(location, topic);
    path.replace(L"file:///", L"/");
    return withTopic(location, readable(path) ? topic : CQorString(L"index"));
}

CQorString startPageLocation(const CQorString& location, bool keepEmpty) {
    CQorArrayTempl<CQorString> parts;
    const int count = strTok(parts, location, L"/", keepEmpty);
    if (count >= 2) parts.removeAt(count - 2);
    CQorString joined = implode(parts, L"/");
    // Without empty elements the "//" after the scheme is lost: put the file URL back together.
    if (!keepEmpty && startsWithNoCase(joined, L"file:")) joined = L"file:///" + joined.mid(5);
    return joined;
}

} // namespace detail

bool help(const CQorString& what) noexcept {
    return detail::guardedAt("QOR::help", false, [&] {
        CQorString text = what;
        if (text.find(L'~') >= 0) {
            const CQorString appl = detail::applCode();
            if (!appl.isEmpty()) text.replace(L"~", appl);
        }
        CQorArrayTempl<CQorString> parts;
        CQorString module = L"Qor", topic = text;
        if (strTok(parts, text, L"\\") >= 2) {
            module = parts[0];
            topic = parts[1];
        }
        CQorString location;
        if (!help_find(module, location)) return false;
        const bool isIndex = CQorString(topic).makeLower() == L"index";
        if (detail::startsWithNoCase(location, L"http:") || detail::startsWithNoCase(location, L"https:")) {
            if (isIndex) location = detail::startPageLocation(location, true);
            helpViewer().openUrl(wxString(detail::withTopic(location, topic).c_str()));
        } else if (detail::startsWithNoCase(location, L"file:")) {
            if (isIndex) location = detail::startPageLocation(location, false);
            helpViewer().openUrl(wxString(detail::filePage(location, topic).c_str()));
        } else {
            helpViewer().openBook(wxString(location.c_str()), wxString(topic.c_str()));
        }
        return true;
    });
}

} // namespace QOR
