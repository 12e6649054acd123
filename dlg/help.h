#pragma once

// Help: a help book (wx HTML help: a .hhp project, or a .zip/.htb book), a folder of local pages ("file:"
// URL) or a web server ("http:"/"https:" URL). Locations are templates in which "<topic>" stands for the
// topic; "~" in a topic stands for the application code; the topic "index" is the start page.
//
// Where help is shown goes through one replaceable viewer, so that tests record what would open.

#include <wx/gdicmn.h>
#include <wx/window.h>

#include "qor/kernel/base/string.h"
#include "qor/render/ui/export.h"

namespace QOR {

/// What shows help. UI thread only.
class QOR_UI_EXPORT HelpViewer {
public:
    virtual ~HelpViewer() = default;
    /// Opens url in the desktop's browser; true when it started.
    virtual bool openUrl(const wxString& url) = 0;
    /// Opens the help book at its page or keyword topic (the start page when none matches).
    virtual bool openBook(const wxString& book, const wxString& topic) = 0;
    /// Shows text as a popup at a point of the screen (pixels), for window.
    virtual void popup(wxWindow* window, const wxString& text, const wxPoint& screenPos) = 0;
};

/// The installed viewer (the desktop one by default; never null).
QOR_UI_EXPORT HelpViewer& helpViewer() noexcept;
/// Installs viewer (null: the desktop one again) and returns the one installed before. The viewer must
/// outlive its use.
QOR_UI_EXPORT HelpViewer* setHelpViewer(HelpViewer* viewer) noexcept;

/// Opens the help of the host: what is a topic, or a module name and a topic separated by a backslash
/// (module "Qor" when none is given). The module's location comes from QOR::help_find. "~" in what becomes
/// the configuration's "*APPL*" as it stands. False when no location is known.
QOR_UI_EXPORT bool help(const CQorString& what) noexcept;

namespace detail {
/// Replaces every "<topic>" in location by topic.
QOR_UI_EXPORT CQorString withTopic(const CQorString& location, const CQorString& topic);
/// True when location begins with prefix, ignoring case.
QOR_UI_EXPORT bool startsWithNoCase(const CQorString& location, const wchar_t* prefix);
/// The location's page for topic when it is readable ("file:///" removed for the test), else the "index"
/// page, as a "file:" URL.
QOR_UI_EXPORT CQorString filePage(const CQorString& location, const CQorString& topic);
/// The start page of a location whose pages lie one folder below it: the second-to-last element of the
/// path removed. keepEmpty keeps empty elements (web locations) when splitting at "/".
QOR_UI_EXPORT CQorString startPageLocation(const CQorString& location, bool keepEmpty);
} // namespace detail

} // namespace QOR
