// qor-view as a user starts it: every bundled file on the screen and into a screenshot, and a clear
// message for a file it cannot open.
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "view_test.h"

using namespace view_test;

namespace {

/// Runs qor-view with args; its exit status, with what it wrote to stderr in errors.
int runQorView(const wxString& args, wxArrayString& errors) {
    wxArrayString output;
    return int(wxExecute(wxString::Format("\"%s\" %s", QOR_VIEW_EXE, args), output, errors, wxEXEC_SYNC));
}

wxArrayString bundledFiles() {
    wxArrayString files;
    for (const char* folder : {"demo", "objects"}) {
        wxArrayString found;
        wxDir::GetAllFiles(resFile(folder), &found, "", wxDIR_FILES);
        // A bar's image draws one element, which only options name; a bar alone is refused (below).
        for (const wxString& f : found)
            if (fileKindOf(f) != FileKind::Unknown && !f.EndsWith("bar_surface.json")) files.Add(f);
    }
    files.Add(resFile("icons/icon_32515.ico"));
    files.Add(dataFile("png/scene_rgb.png"));
    return files;
}

} // namespace

TEST(QorViewProgram, ScreenshotsEveryBundledFile) {
    const wxArrayString files = bundledFiles();
    ASSERT_GE(files.size(), 11u);
    const wxString out = wxString(QOR_TEST_OUT_DIR) + "/program";
    wxFileName::Mkdir(out, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    for (const wxString& file : files) {
        const wxString shot = out + "/" + wxFileName(file).GetFullName() + ".png";
        removeFile(shot);
        wxArrayString errors;
        EXPECT_EQ(runQorView(wxString::Format("\"%s\" --screenshot \"%s\"", file, shot), errors), 0)
            << file << ": " << wxJoin(errors, '\n');
        wxImage image;
        EXPECT_TRUE(image.LoadFile(shot, wxBITMAP_TYPE_PNG) && showsSomething(image)) << file;
    }
}

TEST(QorViewProgram, BadFileSaysWhyAndFails) {
    const wxString shot = wxString(QOR_TEST_OUT_DIR) + "/program_bad.png";
    removeFile(shot);
    for (const wxString& file : {dataFile("bmp/malformed/bit_count_7.bmp"), dataFile("no_such.sld"),
                                 resFile("config.json"), resFile("objects/bar_surface.json")}) {
        wxArrayString errors;
        EXPECT_EQ(runQorView(wxString::Format("\"%s\" --screenshot \"%s\"", file, shot), errors), 1) << file;
        EXPECT_NE(wxJoin(errors, '\n').Find(wxFileName(file).GetFullName()), wxNOT_FOUND) << file;
        EXPECT_FALSE(wxFileName::FileExists(shot));
    }
}

TEST(QorViewProgram, SecondRunHasTheFirstRunsSizeAndFolder) {
    removeFile(settingsPath());
    const wxString out = wxString(QOR_TEST_OUT_DIR) + "/program_run";
    wxArrayString errors;
    ASSERT_EQ(runQorView(wxString::Format("\"%s\" --size 700x500 --screenshot \"%s1.png\"",
                                          resFile("demo/demo.sld"), out),
                         errors),
              0);
    ASSERT_EQ(runQorView(wxString::Format("--screenshot \"%s2.png\"", out), errors), 0);
    wxImage first(out + "1.png"), second(out + "2.png");
    EXPECT_EQ(first.GetWidth(), 700);
    EXPECT_EQ(second.GetSize(), first.GetSize());
    EXPECT_EQ(readSettings(*openSettings()).lastFolder, wxFileName(resFile("demo/demo.sld")).GetPath());
    // A size the settings would not keep is refused.
    EXPECT_NE(runQorView("--size 20x20", errors), 0);
    EXPECT_NE(wxJoin(errors, '\n').Find("--size"), wxNOT_FOUND);
}
