// The dialog environment, the dialog stack and the caption icon.
#include <gtest/gtest.h>

#include <wx/frame.h>

#include "dlg_test.h"
#include "qor/dlg/app_icon.h"
#include "qor/dlg/dlg_env.h"
#include "qor/dlg/dlg_stack.h"
#include "qor/dlg/drag_drop.h"
#include "qor/kernel/locale/messages.h"

using dlg_test::DialogTest;

namespace {

/// Sets hWndApplic for a test and puts the old value back.
struct ApplicWindow {
    explicit ApplicWindow(wxWindow* window) : m_old(QOR::DlgEnv_st::hWndApplic) {
        QOR::DlgEnv_st::hWndApplic = window;
    }
    ~ApplicWindow() { QOR::DlgEnv_st::hWndApplic = m_old; }
    wxWindow* m_old;
};

} // namespace

TEST_F(DialogTest, EnvironmentParentComesFromStackThenApplicationThenActiveWindow) {
    wxFrame application(nullptr, wxID_ANY, "application");
    wxFrame dialog(nullptr, wxID_ANY, "dialog");
    ASSERT_EQ(QOR::detail::dlgStackCount(), 0);
    {
        ApplicWindow none(nullptr);
        EXPECT_EQ(QOR::DlgEnv_st().parentWnd(), wxGetActiveWindow());
    }
    ApplicWindow applic(&application);
    EXPECT_EQ(QOR::DlgEnv_st().parentWnd(), &application);

    QOR::dlgStackPush(&dialog);
    const QOR::DlgEnv_st env;
    EXPECT_EQ(env.parentWnd(), &dialog);
    EXPECT_EQ(QOR::detail::dlgStackCount(), 1); // only peeked
    EXPECT_EQ(env.country, CQorString(QOR::msgLangSet(nullptr)));

    // Copies carry every field; the material-tree environment starts empty.
    QOR::DlgEnvMatTree_st tree;
    tree.helpTopic = L"mat";
    const QOR::DlgEnvMatTree_st copy = tree;
    EXPECT_EQ(copy.parentWnd(), &dialog);
    EXPECT_EQ(copy.helpTopic, L"mat");
    EXPECT_TRUE(copy.options.isEmpty() && copy.physNames.isEmpty() && !copy.flag1 && !copy.flag2);
    EXPECT_EQ(QOR::dlgStackPop(), &dialog);
}

TEST(DlgStack, GrowsFromEightToSixteenAndPopsToNull) {
    ASSERT_EQ(QOR::detail::dlgStackCount(), 0);
    EXPECT_EQ(QOR::dlgStackPop(), nullptr);
    EXPECT_EQ(QOR::detail::dlgStackCount(), 0);
    std::vector<wxWindow*> windows;
    for (int i = 0; i < 9; ++i) {
        windows.push_back(reinterpret_cast<wxWindow*>(std::uintptr_t(0x1000 + 16 * i)));
        QOR::dlgStackPush(windows.back());
        if (i == 7) {
            EXPECT_EQ(QOR::detail::dlgStackCapacity(), 8);
        }
    }
    EXPECT_EQ(QOR::detail::dlgStackCapacity(), 16);
    EXPECT_EQ(QOR::detail::dlgStackTop(), windows.back());
    for (int i = 8; i >= 0; --i)
        EXPECT_EQ(QOR::dlgStackPop(), windows[std::size_t(i)]);
    EXPECT_EQ(QOR::dlgStackPop(), nullptr);
    EXPECT_EQ(QOR::detail::dlgStackCapacity(), 16); // popping never shrinks it
}

TEST_F(DialogTest, CaptionIconFollowsApplicationCode) {
    setConfig(L"*APPL*", L"trq");
    EXPECT_EQ(QOR::detail::appIconId(QOR::detail::applCode()), 2007);
    setConfig(L"*APPL*", L"OLV");
    EXPECT_EQ(QOR::detail::appIconId(QOR::detail::applCode()), 2000);
    setConfig(L"*APPL*", L"XYZ");
    EXPECT_EQ(QOR::detail::appIconId(QOR::detail::applCode()), 2000);
    QOR::cfgMgrPtr()->getCfgRoot()->set(5, CQorDataKey(L"*APPL*")); // no text
    EXPECT_EQ(QOR::detail::appIconId(QOR::detail::applCode()), 2000);
    EXPECT_EQ(QOR::detail::appIconId(nullptr), 2000);

    // Every icon the library carries loads, with a transparent corner where its mask says so.
    for (const int id : {2000, 2001, 2002, 2003, 2004, 2005, 2007}) {
        const wxIcon icon = QOR::iconFromResource(id, 32, 32);
        ASSERT_TRUE(icon.IsOk()) << id;
        EXPECT_EQ(icon.GetWidth(), 32);
    }
    EXPECT_FALSE(QOR::iconFromResource(2006, 32, 32).IsOk());
    EXPECT_TRUE(QOR::appIcon().IsOk());
}

TEST(DragDrop, MissingFileStartsNoDrag) {
    EXPECT_FALSE(QOR::DoDragDrop(L"/no/such/file.dwg", DROPEFFECT_COPY, nullptr, nullptr));
    EXPECT_FALSE(QOR::DoDragDrop(nullptr, DROPEFFECT_COPY, nullptr, nullptr));
}
