// What qor-view remembers between runs (the settings file lives in the temporary XDG_CONFIG_HOME that
// run_on_xvfb.sh sets up).
#include <fstream>

#include <wx/filename.h>

#include "view_test.h"

using namespace view_test;

TEST(ViewSettings, WindowSizeAndLastFolderSurviveARestart) {
    removeFile(settingsPath());
    auto* first = new ViewFrame(openSettings());
    EXPECT_EQ(first->settings().size, wxSize(900, 650)); // nothing stored yet
    first->Show();
    ASSERT_TRUE(first->open(resFile("demo/demo.sld")));
    first->SetSize(720, 540);
    waitFor([&] { return first->GetSize() == wxSize(720, 540); });
    const wxSize closedAt = first->GetSize();
    first->Close(true);
    wxYield();
    ASSERT_TRUE(wxFileName::FileExists(settingsPath()));

    auto* second = new ViewFrame(openSettings()); // reads the file afresh, as a new run does
    EXPECT_EQ(second->settings().size, closedAt);
    EXPECT_EQ(second->GetSize(), closedAt);
    EXPECT_EQ(second->settings().lastFolder, wxFileName(resFile("demo/demo.sld")).GetPath());
    second->Destroy();
    wxYield();
}

TEST(ViewSettings, DamagedValuesAreClamped) {
    {
        std::ofstream file(settingsPath().fn_str());
        file << "[Window]\nWidth=-40\nHeight=99999999\n";
    }
    const ViewSettings settings = readSettings(*openSettings());
    EXPECT_EQ(settings.size, wxSize(200, 16384));
    EXPECT_EQ(settings.lastFolder, "");
    removeFile(settingsPath());
}
