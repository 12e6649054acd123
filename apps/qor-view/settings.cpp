#include "settings.h"

#include <algorithm>

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace {

constexpr int kMinWidth = 200, kMinHeight = 150, kMaxSide = 16384;

} // namespace

wxSize clampSize(wxSize size) {
    return wxSize(std::clamp(size.x, kMinWidth, kMaxSide), std::clamp(size.y, kMinHeight, kMaxSide));
}

wxString settingsPath() {
    wxString folder;
    if (!wxGetEnv("XDG_CONFIG_HOME", &folder) || folder.empty()) folder = wxGetHomeDir() + "/.config";
    return wxFileName(folder, "qor-view.conf").GetFullPath();
}

std::unique_ptr<wxConfigBase> openSettings() {
    return std::make_unique<wxFileConfig>("qor-view", "", settingsPath(), "", wxCONFIG_USE_LOCAL_FILE);
}

ViewSettings readSettings(wxConfigBase& config) {
    ViewSettings settings;
    long width = settings.size.x, height = settings.size.y;
    config.Read("/Window/Width", &width);
    config.Read("/Window/Height", &height);
    // Clamped as longs first: a stored number may not fit an int.
    settings.size = clampSize(wxSize(int(std::clamp<long>(width, 0, kMaxSide + 1)),
                                     int(std::clamp<long>(height, 0, kMaxSide + 1))));
    config.Read("/Files/LastFolder", &settings.lastFolder);
    return settings;
}

void writeSettings(wxConfigBase& config, const ViewSettings& settings) {
    config.Write("/Window/Width", long(settings.size.x));
    config.Write("/Window/Height", long(settings.size.y));
    config.Write("/Files/LastFolder", settings.lastFolder);
    config.Flush();
}
