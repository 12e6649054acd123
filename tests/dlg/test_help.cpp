// Help: the dialog's help button and F1 popups, and QOR::help for the host. A recorder stands in for the
// browser and the help viewer; one test opens the bundled help book in wx's viewer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <wx/html/helpctrl.h>

#include "dlg_test.h"
#include "qor/dlg/help.h"
#include "qor/kernel/data/file_find.h"

using dlg_test::DialogTest;
using dlg_test::TestDlg;

namespace {

std::string bundledBook(const char* language) {
    return QOR::resourceDir().toUtf8() + "/help/" + language + "/qor.hhp";
}

} // namespace

TEST_F(DialogTest, HelpOpensUrlsWithTopicAndApplicationCode) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    setConfig(L"*APPL*", L"trq");
    dialog.SetHelpFile(L"https://help.example.com/<topic>/page.html");
    dialog.SetHelpTopic(L"~_outline");
    dialog.Help(nullptr);
    dialog.Help(L"units");
    ASSERT_EQ(m_viewer.urls.size(), 2u);
    EXPECT_EQ(m_viewer.urls[0],
              "https://help.example.com/TRQ_outline/page.html"); // a dialog writes upper case
    EXPECT_EQ(m_viewer.urls[1], "https://help.example.com/units/page.html");

    QOR::cfgMgrPtr()->getCfgRoot()->remove(CQorDataKey(L"*APPL*"));
    dialog.Help(L"~x");
    EXPECT_EQ(m_viewer.urls.back(), "https://help.example.com/QORx/page.html");
    dialog.DestroyWindow();
}

TEST_F(DialogTest, LocalPagesFallBackToIndex) {
    const std::filesystem::path folder =
        std::filesystem::path(QOR::detail::registryFile().toUtf8()).parent_path() / "pages";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "units.html") << "<html></html>";
    const std::string location = "file://" + folder.string() + "/<topic>.html";
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    dialog.SetHelpFile(CQorString::fromUtf8(location));
    dialog.Help(L"units");
    dialog.Help(L"missing");
    ASSERT_EQ(m_viewer.urls.size(), 2u);
    EXPECT_EQ(m_viewer.urls[0], "file://" + folder.string() + "/units.html");
    EXPECT_EQ(m_viewer.urls[1], "file://" + folder.string() + "/index.html");
    dialog.DestroyWindow();
}

TEST_F(DialogTest, HelpBookOpensAtTopicAndMissingBookIsAskedFor) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    dialog.SetHelpFile(CQorString::fromUtf8(bundledBook("en")));
    dialog.Help(L"about");
    ASSERT_EQ(m_viewer.books.size(), 1u);
    EXPECT_EQ(m_viewer.books[0], bundledBook("en") + "#about");

    // A book that is not there: the user is asked for it; the answer becomes the dialog's help file.
    dialog.SetHelpFile(L"/no/such/help.htb");
    m_picker.answer = wxString::FromUTF8(bundledBook("de"));
    dialog.Help(L"about");
    ASSERT_EQ(m_picker.questions.size(), 1u);
    EXPECT_EQ(m_picker.questions[0], "|/no/such|help.htb|(*.htb;*.zip;*.hhp)|*.htb;*.zip;*.hhp|1");
    ASSERT_EQ(m_viewer.books.size(), 2u);
    EXPECT_EQ(m_viewer.books[1], bundledBook("de") + "#about");
    CQorString location;
    dialog.GetHelpFile(location);
    EXPECT_EQ(location.toUtf8(), bundledBook("de"));
    // Cancelled: nothing opens.
    dialog.SetHelpFile(L"/no/such/help.htb");
    m_picker.answer.clear();
    dialog.Help(L"about");
    EXPECT_EQ(m_viewer.books.size(), 2u);
    dialog.DestroyWindow();
}

TEST_F(DialogTest, ContextHelpPopsUpKeyedTexts) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    dialog.help = {{1001, L"QOR_MFC_0009"}, {1003, L"QOR_NONE_0003"}};
    dialog.SetCountry(L"en");
    ASSERT_TRUE(dialog.Create());
    QOR::HELPINFO info;
    info.iCtrlId = 1001;
    EXPECT_TRUE(dialog.OnHelpInfo(&info));
    info.iCtrlId = 1003; // a key without text
    EXPECT_TRUE(dialog.OnHelpInfo(&info));
    info.iCtrlId = 1005; // no key: nothing shown, still consumed
    EXPECT_TRUE(dialog.OnHelpInfo(&info));
    EXPECT_TRUE(dialog.OnHelpInfo(nullptr));
    ASSERT_EQ(m_viewer.popups.size(), 1u);
    EXPECT_EQ(m_viewer.popups[0], "Label");
    dialog.DestroyWindow();
}

TEST_F(DialogTest, HostHelpFindsModuleLocation) {
    EXPECT_TRUE(QOR::help(L"index")); // the bundled book, configured by default
    EXPECT_EQ(m_viewer.books.back(), bundledBook("de") + "#index");
    CQorDataItem* root = QOR::cfgMgrPtr()->getCfgRoot();
    root->set(L"https://help.example.com/qor/<topic>/", CQorDataKey(L"*HELP*\\Qor"));
    root->set(L"https://help.example.com/trq/v2/<topic>/", CQorDataKey(L"*HELP*\\Trq"));
    setConfig(L"*APPL*", L"trq");
    EXPECT_TRUE(QOR::help(L"~_units")); // the host inserts the code as it stands
    EXPECT_TRUE(QOR::help(L"Trq\\index"));
    EXPECT_FALSE(QOR::help(L"Nobody\\index"));
    ASSERT_EQ(m_viewer.urls.size(), 2u);
    EXPECT_EQ(m_viewer.urls[0], "https://help.example.com/qor/trq_units/");
    EXPECT_EQ(m_viewer.urls[1],
              "https://help.example.com/trq/v2/"); // the topic folder removed: the start page
    root->remove(CQorDataKey(L"*APPL*"));
    EXPECT_TRUE(QOR::help(L"~_units"));
    EXPECT_EQ(m_viewer.urls.back(), "https://help.example.com/qor/~_units/");

    root->set(CQorString::fromUtf8(bundledBook("de")), CQorDataKey(L"*HELP*\\Qor"));
    EXPECT_TRUE(QOR::help(L"gallery"));
    EXPECT_EQ(m_viewer.books.back(), bundledBook("de") + "#gallery");
}

TEST(HelpBook, BundledBooksOpenInTheViewer) {
    for (const char* language : {"de", "en"}) {
        wxHtmlHelpController controller(wxHF_DEFAULT_STYLE);
        ASSERT_TRUE(controller.AddBook(wxFileName(wxString::FromUTF8(bundledBook(language))))) << language;
        EXPECT_TRUE(controller.Display("about.html")) << language;
        wxHtmlHelpWindow* window = controller.GetHelpWindow();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->GetHtmlWindow()->GetOpenedPage().EndsWith("about.html")) << language;
        controller.GetFrame()->Close(true);
        wxYield();
    }
}
