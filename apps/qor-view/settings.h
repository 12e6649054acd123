#pragma once

// What qor-view remembers between runs: the window's size and the folder a file was last opened from.
// They live in a wxFileConfig file, qor-view.conf under $XDG_CONFIG_HOME (~/.config when unset); on
// Windows wxConfig would be the registry.

#include <memory>

#include <wx/config.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

struct ViewSettings {
    wxSize size{900, 650}; ///< the frame's size in pixels
    wxString lastFolder;   ///< empty: none yet
};

/// The settings file: $XDG_CONFIG_HOME/qor-view.conf, or ~/.config/qor-view.conf.
wxString settingsPath();

/// Opens the settings file (created on the first write).
std::unique_ptr<wxConfigBase> openSettings();

/// size with each side clamped to 200 x 150 .. 16384 x 16384: a window that can neither vanish nor explode.
wxSize clampSize(wxSize size);

/// The settings stored in config; the defaults for what is missing. A stored size is clamped (clampSize),
/// so a damaged file cannot make the window vanish or explode.
ViewSettings readSettings(wxConfigBase& config);

/// Stores settings in config and flushes it to the file.
void writeSettings(wxConfigBase& config, const ViewSettings& settings);
