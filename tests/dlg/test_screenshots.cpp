// Screenshots of the library's dialogs in German and English, for a person to look at (never compared:
// they depend on theme and fonts). Each dialog must at least show its texts.
#include <gtest/gtest.h>

#include <wx/listbox.h>

#include "dlg_test.h"
#include "qor/dlg/about_box.h"
#include "qor/dlg/gallery.h"

using dlg_test::DialogTest;

namespace {

void shoot(CQorDlg& dialog, const std::string& name) {
    dialog.Show();
    dlg_test::waitFor([&] { return dialog.IsShownOnScreen(); });
    dialog.Update();
    wxYield();
    const wxImage image = dlg_test::screenshot(dialog);
    EXPECT_EQ(image.GetSize(), dialog.GetClientSize());
    dlg_test::keep(image, name);
}

} // namespace

TEST_F(DialogTest, ScreenshotsOfEachDialog) {
    for (const char* country : {"de", "en"}) {
        const CQorString code = CQorString::fromUtf8(country);
        {
            CAboutboxDlg about(nullptr);
            about.SetCountry(code);
            ASSERT_TRUE(about.Create());
            shoot(about, std::string("about_") + country + ".png");
            about.DestroyWindow();
        }
        {
            QOR::CQorGalleryDlg gallery(nullptr);
            gallery.SetCountry(code);
            ASSERT_TRUE(gallery.Create());
            auto* list = dynamic_cast<wxListBox*>(gallery.FindWindow(QOR::CQorGalleryDlg::kIdList));
            ASSERT_TRUE(list);
            EXPECT_EQ(list->GetCount(), QOR::galleryEntries().size());
            EXPECT_EQ(list->GetString(0), code == L"de" ? "Info" : "About");
            shoot(gallery, std::string("gallery_") + country + ".png");
            gallery.DestroyWindow();
        }
    }
}
