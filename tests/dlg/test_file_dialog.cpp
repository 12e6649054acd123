// The file and folder pickers and the about box.
#include <gtest/gtest.h>

#include "dlg_test.h"
#include "qor/dlg/about_box.h"
#include "qor/dlg/file_dialog.h"
#include "qor/kernel/base/version.h"

using dlg_test::DialogTest;

TEST_F(DialogTest, FolderDialogStartPathAndResult) {
    using QOR::detail::folderStartPath;
    EXPECT_EQ(folderStartPath(L"/home/user/"), L"/home/user");
    EXPECT_EQ(folderStartPath(L"C:\\work\\parts\\"), L"C:/work/parts");
    EXPECT_EQ(folderStartPath(L"C:"), L"C:/"); // a bare drive starts at its root
    EXPECT_EQ(folderStartPath(L"C:\\"), L"C:/");
    EXPECT_EQ(folderStartPath(L"/"), L"/");
    EXPECT_EQ(folderStartPath(L""), L"");
    EXPECT_EQ(QOR::detail::withTrailingSeparator(L"/tmp"), L"/tmp/");
    EXPECT_EQ(QOR::detail::withTrailingSeparator(L"/tmp/"), L"/tmp/");

    CQorString folder = L"/tmp\\";
    m_picker.answer = "/usr/share";
    EXPECT_TRUE(QOR::dlgFolder(nullptr, folder, L"Ordner"));
    EXPECT_EQ(folder, L"/usr/share/");
    m_picker.answer.clear();
    EXPECT_FALSE(QOR::dlgFolder(nullptr, folder, L"Ordner"));
    EXPECT_EQ(folder, L"/usr/share/"); // cancelled: unchanged
    EXPECT_EQ(m_picker.questions, (std::vector<std::string>{"Ordner|/tmp", "Ordner|/usr/share"}));
}

TEST_F(DialogTest, FileDialogOpensEvenAsSaveDialog) {
    EXPECT_EQ(QOR::detail::wxFilter(L"(*.chm)|*.chm||"), "(*.chm)|*.chm");
    EXPECT_EQ(QOR::detail::wxFilter(L"A|*.a|B|*.b"), "A|*.a|B|*.b");
    EXPECT_EQ(QOR::detail::wxFilter(nullptr), "");

    CQorFileDialog save(FALSE, L"json", L"/tmp/part", 0, L"Parts|*.json||", nullptr);
    save.SetTitle(L"Teil");
    m_picker.answer = "/tmp/chosen";
    EXPECT_EQ(save.DoModal(), QOR::IDOK);
    EXPECT_EQ(save.GetPathName(), L"/tmp/chosen.json"); // the default extension is added
    ASSERT_EQ(m_picker.questions.size(), 1u);
    EXPECT_EQ(m_picker.questions[0], "Teil|/tmp|part|Parts|*.json|0"); // asked as a file to open
    m_picker.answer.clear();
    EXPECT_EQ(save.DoModal(), QOR::IDCANCEL);
}

TEST_F(DialogTest, AboutBoxShowsProductVersionAndLicences) {
    for (const wchar_t* country : {L"de", L"en"}) {
        CAboutboxDlg about(nullptr);
        about.SetCountry(country);
        ASSERT_TRUE(about.Create());
        const wxString product = about.FindWindow(CAboutboxDlg::kIdProduct)->GetLabel();
        EXPECT_TRUE(product.StartsWith("Qor")) << product;
        EXPECT_TRUE(product.EndsWith(QOR::version())) << product;
        EXPECT_TRUE(about.FindWindow(CAboutboxDlg::kIdLicences)->GetLabel().Contains("wxWidgets"));
        EXPECT_EQ(about.GetTitle(), country == std::wstring(L"de") ? "Info" : "About");
        about.DestroyWindow();
    }
}
