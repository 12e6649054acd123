// CQorDlg: texts by key, remembered geometry, the dialog stack, keyboard navigation, the help button
// and the size grip.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/dcmemory.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "dlg_test.h"
#include "qor/dlg/dlg_env.h"
#include "qor/dlg/dlg_geometry.h"
#include "qor/dlg/dlg_stack.h"
#include "qor/dlg/registry.h"
#include "qor/dlg/size_grip.h"
#include "qor/kernel/locale/messages.h"

using dlg_test::DialogTest;
using dlg_test::TestDlg;

namespace {

CQorString dialogKey(const wchar_t* name) {
    CQorString app;
    return CQorString(L"HKEY_CURRENT_USER\\") + QOR::regAppKey(app, L"QOR") + L"\\Dialogs\\" + name;
}

void store(const wchar_t* name, int x, int y, int w, int h) {
    ASSERT_TRUE(QOR::regWrite(dialogKey(name), L"Pos", QOR::detail::packWords(x, y)));
    ASSERT_TRUE(QOR::regWrite(dialogKey(name), L"Size", QOR::detail::packWords(w, h)));
}

wxRect stored(const wchar_t* name) {
    DWORD pos = 0, size = 0;
    EXPECT_TRUE(QOR::regRead(dialogKey(name), L"Pos", pos));
    EXPECT_TRUE(QOR::regRead(dialogKey(name), L"Size", size));
    return wxRect(QOR::detail::lowWord(pos), QOR::detail::highWord(pos), QOR::detail::lowWord(size),
                  QOR::detail::highWord(size));
}

} // namespace

TEST_F(DialogTest, TextsFollowKeysLanguageAndDebugMarks) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    dialog.lang = {{1000, L"QOR_MFC_0004"},
                   {1010, L"\\QOR_MFC_0005\\:"},
                   {1, L"QOR_NONE_0001"},
                   {4711, L"QOR_MFC_0004"}};
    dialog.langDef = {{1, L"Gut"}};
    dialog.tips = {{1001, L"QOR_MFC_0009"}, {1003, L"QOR_NONE_0002"}};
    dialog.SetCountry(L"de");
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.FindWindow(1000)->GetLabel(), "Kopieren");
    EXPECT_EQ(dialog.FindWindow(1010)->GetLabel(), wxString::FromUTF8("Einfügen:"));
    EXPECT_EQ(dialog.FindWindow(1)->GetLabel(), "Gut"); // no text for the key: the map's default
    EXPECT_EQ(dialog.FindWindow(1001)->GetToolTipText(), "Bezeichnung");
    EXPECT_EQ(dialog.FindWindow(1003)->GetToolTipText(), ""); // a key without text gives no tip
    EXPECT_TRUE(dialog.boxes.empty()); // the missing control 4711 is reported only with debug marks

    dialog.SetCountry(L"en"); // a live dialog changes at once
    EXPECT_EQ(dialog.FindWindow(1000)->GetLabel(), "Copy");
    EXPECT_EQ(dialog.FindWindow(1001)->GetToolTipText(), "Label");
    dialog.SetCountry(L"0");
    EXPECT_EQ(dialog.FindWindow(1000)->GetLabel(), "QOR_MFC_0004");
    EXPECT_EQ(dialog.FindWindow(1010)->GetLabel(), "\\QOR_MFC_0005\\:");
    EXPECT_EQ(dialog.FindWindow(1)->GetLabel(), "QOR_NONE_0001");

    QOR::cfgMgrPtr()->getCfgRoot()->set(true, CQorDataKey(L"*DEBUG_TEXTS*"));
    dialog.SetCountry(L"de");
    EXPECT_EQ(dialog.FindWindow(1)->GetLabel(), "[Gut]"); // came from the default
    EXPECT_EQ(dialog.FindWindow(1000)->GetLabel(), "Kopieren");
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0], L"\nSetDlgItemText failed:\nDlgID = 4711\nKEY = 'QOR_MFC_0004'");
    dialog.DestroyWindow();
}

TEST_F(DialogTest, LanguageComesFromCurrentOrFromAncestorOfSameKind) {
    TestDlg outer(dlg_test::kTemplateEdits);
    outer.SetCountry(L"en");
    ASSERT_TRUE(outer.Create());
    TestDlg inner(dlg_test::kTemplateFixed, &outer);
    ASSERT_TRUE(inner.Create());
    EXPECT_STREQ(inner.country(), L"en");
    CQorDlg other(dlg_test::kTemplateFixed, &outer); // another kind takes the current language
    ASSERT_TRUE(other.Create());
    EXPECT_STREQ(other.country(), QOR::msgLangSet(nullptr));
    other.DestroyWindow();
    inner.DestroyWindow();
    outer.DestroyWindow();
}

TEST_F(DialogTest, DialogsWithCaptionStackUpAndLeaveIt) {
    ASSERT_EQ(QOR::detail::dlgStackCount(), 0);
    TestDlg outer(dlg_test::kTemplateEdits);
    EXPECT_FALSE(outer.isSubDlg());
    ASSERT_TRUE(outer.Create());
    EXPECT_EQ(QOR::detail::dlgStackTop(), &outer);
    TestDlg inner(dlg_test::kTemplateFixed, QOR::DlgEnv_st().parentWnd());
    EXPECT_TRUE(inner.isSubDlg());
    ASSERT_TRUE(inner.Create());
    EXPECT_EQ(inner.GetParent(), &outer);
    EXPECT_EQ(QOR::detail::dlgStackCount(), 2);
    inner.DestroyWindow();
    inner.DestroyWindow(); // closing twice pops once
    EXPECT_EQ(QOR::detail::dlgStackTop(), &outer);
    outer.DestroyWindow();
    EXPECT_EQ(QOR::detail::dlgStackCount(), 0);
    EXPECT_FALSE(CQorDlg(31999, nullptr).Create()); // no template: no window
}

// A modal run pushes the dialog, ends with the code given to EndModal, saves and pops; a second run
// of the same object does all of it again.
TEST_F(DialogTest, ModalRunsCanRepeat) {
    TestDlg dialog(dlg_test::kTemplateFixed);
    for (const int code : {QOR::IDOK, QOR::IDCANCEL}) {
        int stackDuring = 0;
        dialog.CallAfter([&] {
            stackDuring = QOR::detail::dlgStackCount();
            dialog.Move(30 + code, 40);
            dialog.EndModal(code);
        });
        EXPECT_EQ(dialog.DoModal(), code);
        EXPECT_EQ(stackDuring, 1);
        EXPECT_EQ(QOR::detail::dlgStackCount(), 0);
        EXPECT_EQ(stored(L"Fester Testdialog").GetPosition(), wxPoint(30 + code, 40));
    }
}

TEST_F(DialogTest, EmptyCaptionNeverTouchesSettings) {
    store(L"", 300, 200, 100, 100); // what a nameless dialog would find if it looked
    const std::string file = QOR::detail::registryFile().toUtf8();
    const auto before = std::filesystem::last_write_time(file);
    const auto sizeBefore = std::filesystem::file_size(file);
    TestDlg dialog(dlg_test::kTemplateNoCaption);
    ASSERT_TRUE(dialog.Create());
    EXPECT_NE(dialog.GetPosition(), wxPoint(300, 200));
    RECT rect;
    EXPECT_FALSE(dialog.getSavedPos(&rect));
    dialog.DestroyWindow();
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
    EXPECT_EQ(std::filesystem::file_size(file), sizeBefore);
}

TEST_F(DialogTest, PositionIsClampedOnSaveAndRestored) {
    {
        TestDlg dialog(dlg_test::kTemplateFixed);
        ASSERT_TRUE(dialog.Create());
        dialog.Move(-50, 120); // partly off the left edge
        const wxSize size = dialog.GetSize();
        dialog.DestroyWindow();
        EXPECT_EQ(stored(L"Fester Testdialog"), wxRect(0, 120, size.x, size.y));
    }
    {
        TestDlg dialog(dlg_test::kTemplateFixed);
        ASSERT_TRUE(dialog.Create());
        dialog.SetPosition(wxPoint(2000, 3000)); // off the bottom right of the 1280 x 1024 screen
        const wxSize size = dialog.GetSize();
        dialog.DestroyWindow();
        EXPECT_EQ(stored(L"Fester Testdialog"), wxRect(1280 - size.x, 1024 - size.y, size.x, size.y));
    }
}

TEST_F(DialogTest, FixedDialogRestoresPositionResizableAlsoSize) {
    store(L"Fester Testdialog", 210, 220, 900, 700);
    store(L"Testdialog", 110, 120, 500, 400);
    TestDlg fixed(dlg_test::kTemplateFixed);
    ASSERT_TRUE(fixed.Create());
    EXPECT_EQ(fixed.GetPosition(), wxPoint(210, 220));
    EXPECT_NE(fixed.GetSize(), wxSize(900, 700));
    RECT saved;
    ASSERT_TRUE(fixed.getSavedPos(&saved));
    EXPECT_EQ(saved.right - saved.left, 900);
    fixed.SavePosition(false);
    EXPECT_FALSE(fixed.getSavedPos(&saved));
    fixed.DestroyWindow();
    EXPECT_EQ(stored(L"Fester Testdialog"), wxRect(210, 220, 900, 700)); // not saved when switched off

    TestDlg resizable(dlg_test::kTemplateEdits);
    ASSERT_TRUE(resizable.Create());
    EXPECT_EQ(resizable.GetRect(), wxRect(110, 120, 500, 400));
    resizable.DestroyWindow();
}

TEST(DialogGeometry, ClampToDesktop) {
    const RECT desktop{0, 0, 1280, 1024};
    auto clamp = [&](LONG l, LONG t, LONG r, LONG b) {
        const RECT c = QOR::detail::clampToDesktop(RECT{l, t, r, b}, desktop);
        return wxRect(c.left, c.top, c.right - c.left, c.bottom - c.top);
    };
    EXPECT_EQ(clamp(100, 100, 300, 200), wxRect(100, 100, 200, 100));
    EXPECT_EQ(clamp(-50, -20, 150, 80), wxRect(0, 0, 200, 100));
    EXPECT_EQ(clamp(1200, 1000, 1400, 1100), wxRect(1080, 924, 200, 100));
    // Wider than the screen: the right edge wins, the left goes negative, the size stays.
    EXPECT_EQ(clamp(10, 0, 1410, 100), wxRect(-120, 0, 1400, 100));
    // Edges at the ends of the range neither overflow nor wrap.
    const RECT extreme =
        QOR::detail::clampToDesktop(RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, desktop);
    EXPECT_EQ(extreme.left, 1280 - INT32_MAX);
    EXPECT_EQ(extreme.right, INT32_MAX); // clamped, not wrapped
}

TEST_F(DialogTest, EnterMovesToNextEditAndValidatesTheLast) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    dialog.Show();
    wxWindow* first = dialog.FindWindow(1001);
    wxWindow* second = dialog.FindWindow(1003); // 1002 is a choose-only combo, 1004 hidden
    wxWindow* last = dialog.FindWindow(1005);
    int validated = 0;
    last->Bind(wxEVT_KILL_FOCUS, [&](wxFocusEvent& e) {
        ++validated;
        e.Skip();
    });

    EXPECT_TRUE(dialog.PreTranslateMessage({VK_RETURN, false, first}));
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == second; }));
    EXPECT_TRUE(dialog.PreTranslateMessage({VK_RETURN, false, second}));
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == last; }));
    // The last field: the focus wraps round to the first edit field.
    EXPECT_TRUE(dialog.PreTranslateMessage({VK_RETURN, false, last}));
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == first; }));
    EXPECT_TRUE(dialog.PreTranslateMessage({VK_PRIOR, false, last}));
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == first; }));

    // With every other field disabled, Enter keeps the focus in the last one and validates it.
    first->Disable();
    second->Disable();
    last->SetFocus();
    validated = 0;
    EXPECT_TRUE(dialog.PreTranslateMessage({VK_RETURN, false, last}));
    EXPECT_EQ(validated, 1);
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == last; }));

    // Keys that are not the dialog's, and Enter on a button, pass on.
    EXPECT_FALSE(dialog.PreTranslateMessage({VK_RETURN, false, dialog.FindWindow(1)}));
    EXPECT_FALSE(dialog.PreTranslateMessage({VK_TAB, true, last}));
    EXPECT_FALSE(dialog.PreTranslateMessage({'A', false, last}));
    dialog.DestroyWindow();
}

// Real keys prove the binding: Enter and Page Up typed into the dialog reach PreTranslateMessage.
TEST_F(DialogTest, TypedKeysMoveBetweenFields) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    dialog.Show();
    dialog.Raise();
    wxWindow* first = dialog.FindWindow(1001);
    wxWindow* second = dialog.FindWindow(1003);
    first->SetFocus();
    ASSERT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == first; }));
    wxUIActionSimulator keys;
    keys.Char(WXK_RETURN);
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == second; }));
    keys.Char(WXK_PAGEUP);
    EXPECT_TRUE(dlg_test::waitFor([&] { return wxWindow::FindFocus() == first; }));
    dialog.DestroyWindow();
}

TEST(DialogNavigation, NextAndFirstEdit) {
    const std::vector<bool> edits{false, true, false, true, false};
    EXPECT_EQ(QOR::detail::nextEdit(edits, 1), 3);
    EXPECT_EQ(QOR::detail::nextEdit(edits, 3), 1); // wraps round
    EXPECT_EQ(QOR::detail::nextEdit({false, true, false}, 1), -1);
    EXPECT_EQ(QOR::detail::nextEdit(edits, 7), -1);
    EXPECT_EQ(QOR::detail::firstEdit(edits, 3), 1);
    EXPECT_EQ(QOR::detail::firstEdit(edits, 0), -1); // the focus is the first control: nothing
    EXPECT_EQ(QOR::detail::firstEdit({false, false}, 1), -1);
}

TEST_F(DialogTest, HelpButtonFollowsHelpFile) {
    TestDlg dialog(dlg_test::kTemplateEdits);
    ASSERT_TRUE(dialog.Create());
    wxWindow* help = dialog.FindWindow(QOR::kIdHelpButton);
    dialog.OnShowWindow(TRUE);
    EXPECT_TRUE(help->IsShown());
    EXPECT_FALSE(help->IsEnabled()); // no help file
    QOR::DlgEnv_st env;
    env.country = L"en";
    env.helpFile = L"/usr/share/qor/help/de/qor.hhp";
    env.helpTopic = L"units";
    QOR::applyDlgEnv(dialog, env, false);
    EXPECT_STREQ(dialog.country(), L"en");
    EXPECT_FALSE(help->IsEnabled()); // help not asked for
    env.country = L"fr";
    QOR::applyDlgEnv(dialog, env, true, true);
    EXPECT_STREQ(dialog.country(), L"en"); // kept
    CQorString topic;
    dialog.GetHelpTopic(topic);
    EXPECT_EQ(topic, L"units");
    EXPECT_TRUE(help->IsShown() && help->IsEnabled());
    CQorString location;
    dialog.GetHelpFile(location);
    EXPECT_EQ(location, L"/usr/share/qor/help/de/qor.hhp");
    dialog.SetHelpFile(L"/usr/share/qor/help/"); // a folder without a name
    EXPECT_TRUE(help->IsShown());
    EXPECT_FALSE(help->IsEnabled());
    dialog.SetHelpFile(nullptr);
    EXPECT_FALSE(help->IsShown());
    dialog.GetHelpFile(location);
    EXPECT_TRUE(location.isEmpty());
    dialog.DestroyWindow();
}

TEST(SizeGrip, DrawsThreeGroupsOfDiagonals) {
    wxBitmap bitmap(40, 30, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(0, 0, 255)));
    dc.Clear();
    QOR::detail::drawSizeGrip(dc, wxSize(40, 30));
    dc.SelectObject(wxNullBitmap);
    const wxImage image = bitmap.ConvertToImage();
    auto at = [&](int x, int y) {
        return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y))
            .GetAsString(wxC2S_HTML_SYNTAX);
    };
    // On each diagonal x + y = w + h - d: grey for d = 3, 4, white for d = 5; the same at 7 and 11.
    for (const int d : {3, 7, 11}) {
        EXPECT_EQ(at(40 - d + 1, 29), "#808080") << d;
        EXPECT_EQ(at(40 - d, 29), "#808080") << d;
        EXPECT_EQ(at(40 - d - 1, 29), "#FFFFFF") << d;
    }
    EXPECT_EQ(at(35, 29), "#0000FF"); // between the groups
    EXPECT_EQ(at(39, 29), "#0000FF"); // a line's end point is not drawn
    EXPECT_EQ(at(20, 10), "#0000FF");
}
