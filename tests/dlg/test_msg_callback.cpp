// The default message callback: key splitting, country "0" and the ring of results.
#include <gtest/gtest.h>

#include <string>

#include "qor/dlg/msg_callback.h"
#include "qor/dlg/qor_dlg.h"

using QOR::detail::defaultMsgCallback;

TEST(MsgCallback, ThreePartKeysFrameTheText) {
    EXPECT_STREQ(defaultMsgCallback(L"QOR_MFC_0004", L"x", L"de"), L"Kopieren");
    EXPECT_STREQ(defaultMsgCallback(L"QOR_MFC_0004", L"x", L"en"), L"Copy");
    EXPECT_STREQ(defaultMsgCallback(L"\\QOR_MFC_0004\\...", L"x", L"en"), L"Copy...");
    EXPECT_STREQ(defaultMsgCallback(L"(\\QOR_MFC_0004\\)", L"x", L"de"), L"(Kopieren)");
    // An unknown middle part takes the default, still framed.
    EXPECT_STREQ(defaultMsgCallback(L"<\\QOR_NONE_9999\\>", L"Vorgabe", L"de"), L"<Vorgabe>");
    // Two or four parts are looked up whole, so they find nothing and give the default.
    EXPECT_STREQ(defaultMsgCallback(L"\\QOR_MFC_0004", L"zwei", L"de"), L"zwei");
    EXPECT_STREQ(defaultMsgCallback(L"a\\QOR_MFC_0004\\b\\c", L"vier", L"de"), L"vier");
    EXPECT_STREQ(defaultMsgCallback(L"QOR_NONE_9999", nullptr, L"de"), L"");
    EXPECT_EQ(defaultMsgCallback(nullptr, nullptr, L"de"), nullptr);
}

TEST(MsgCallback, CountryZeroShowsKeys) {
    EXPECT_STREQ(defaultMsgCallback(L"QOR_MFC_0004", L"x", L"0"), L"QOR_MFC_0004");
    EXPECT_STREQ(defaultMsgCallback(L"\\QOR_MFC_0004\\...", L"x", L"0"), L"\\QOR_MFC_0004\\...");
}

TEST(MsgCallback, ResultLivesForEightLookUps) {
    // Eight results in a row are all still readable: a caller may hold that many at once.
    const wchar_t* keys[] = {L"QOR_MFC_0004", L"QOR_MFC_0005", L"QOR_MFC_0006", L"QOR_MFC_0007",
                             L"QOR_MFC_0008", L"QOR_MFC_0009", L"QOR_MFC_0010", L"QOR_MFC_0011"};
    const wchar_t* results[QOR::detail::kMsgRingSize];
    for (int i = 0; i < QOR::detail::kMsgRingSize; ++i)
        results[i] = defaultMsgCallback(keys[i], nullptr, L"en");
    EXPECT_STREQ(results[0], L"Copy");
    EXPECT_STREQ(results[1], L"Paste");
    EXPECT_STREQ(results[7], QOR::detail::defaultMsgCallback(L"QOR_MFC_0011", nullptr, L"en"));
}

TEST(MsgCallback, InstalledByTheModuleAndReplaceable) {
    EXPECT_EQ(CQorDlg::m_pMsgFcn, &defaultMsgCallback);
    const QOR::MsgCallback previous = CQorDlg::SetMsgCallBack(nullptr);
    EXPECT_EQ(previous, &defaultMsgCallback);
    CQorDlg dialog(100, nullptr);
    EXPECT_STREQ(dialog.GetMsg(L"QOR_MFC_0004", L"Vorgabe", L"en"), L"Vorgabe"); // no callback: the default
    CQorDlg::SetMsgCallBack(previous);
    EXPECT_STREQ(dialog.GetMsg(L"QOR_MFC_0004", L"Vorgabe", L"en"), L"Copy");
}
