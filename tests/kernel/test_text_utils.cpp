#include <gtest/gtest.h>

#include "qor/kernel/base/text_utils.h"

namespace {

CQorArrayTempl<CQorString> split(const wchar_t* text, const wchar_t* separators, bool keepEmpty) {
    CQorArrayTempl<CQorString> parts{L"stale"};
    const int n = QOR::strTok(parts, text, separators, keepEmpty);
    EXPECT_EQ(n, parts.len());
    return parts;
}

} // namespace

TEST(StrTok, KeepsEmptyPartsWhenAsked) {
    EXPECT_EQ(split(L"\\QOR_OUTL_0004\\...", L"\\", true),
              (CQorArrayTempl<CQorString>{L"", L"QOR_OUTL_0004", L"..."}));
    EXPECT_EQ(split(L"http://host/a/", L"/", true),
              (CQorArrayTempl<CQorString>{L"http:", L"", L"host", L"a", L""}));
    EXPECT_EQ(split(L"", L"/", true), (CQorArrayTempl<CQorString>{L""}));
}

TEST(StrTok, DropsEmptyPartsByDefault) {
    EXPECT_EQ(split(L"//a, b;;c/", L"/,; ", false), (CQorArrayTempl<CQorString>{L"a", L"b", L"c"}));
    EXPECT_EQ(split(L"", L"/", false).len(), 0);
    EXPECT_EQ(split(L"abc", nullptr, false), (CQorArrayTempl<CQorString>{L"abc"}));
    EXPECT_EQ(split(nullptr, L"/", true).len(), 0);
}

TEST(Implode, InvertsASplitThatKeptEmptyParts) {
    for (const wchar_t* text : {L"a\\b\\\\c", L"\\", L"", L"plain", L"\\lead", L"trail\\"})
        EXPECT_EQ(QOR::implode(split(text, L"\\", true), L"\\"), text) << text;
    EXPECT_EQ(QOR::implode({L"a", L"b"}, L", "), L"a, b");
    EXPECT_EQ(QOR::implode({L"a", L"b"}, nullptr), L"ab");
    EXPECT_EQ(QOR::implode({}, L","), L"");
}
