#include <gtest/gtest.h>

#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/label.h"
#include "qor/kernel/locale/messages.h"

namespace {

CQorString get(const wchar_t* label, const wchar_t* country) {
    CQorString text(L"stale");
    QOR::label_get(label, text, country);
    return text;
}

} // namespace

TEST(Label, RoundTripKeepsBackslashesNewlinesAndColons) {
    const wchar_t* texts[] = {L"Blech",  L"C:\\Pfad\\", L"\\", L"\\\\en:fake", L"zwei\nZeilen\r\n", L"a:b",
                              L"\\de:x", L"ÄÖÜ ß €",    L" "};
    for (const wchar_t* text : texts) {
        CQorString label;
        ASSERT_TRUE(QOR::label_set(label, L"other", L"fr"));
        ASSERT_TRUE(QOR::label_set(label, text, L"de"));
        ASSERT_TRUE(QOR::label_set(label, L"after", L"en"));
        EXPECT_EQ(label.view().front(), L'\\');
        EXPECT_EQ(get(label, L"de"), text);
        EXPECT_EQ(get(label, L"fr"), L"other");
        EXPECT_EQ(get(label, L"en"), L"after");
    }
}

TEST(Label, SetReplacesInPlaceAndEmptyRemoves) {
    CQorString label;
    ASSERT_TRUE(QOR::label_set(label, L"Blech", L"de"));
    ASSERT_TRUE(QOR::label_set(label, L"Sheet", L"EN"));
    EXPECT_EQ(label, L"\\de:Blech\\en:Sheet");
    ASSERT_TRUE(QOR::label_set(label, L"Tôle", L"fr"));
    ASSERT_TRUE(QOR::label_set(label, L"Sheet metal", L"en"));
    EXPECT_EQ(label, L"\\de:Blech\\en:Sheet metal\\fr:Tôle");
    ASSERT_TRUE(QOR::label_set(label, L"", L"en"));
    ASSERT_TRUE(QOR::label_set(label, nullptr, L"xx")); // removing what is not there
    EXPECT_EQ(label, L"\\de:Blech\\fr:Tôle");
    CQorString text;
    EXPECT_FALSE(QOR::label_get(label, text, L"en"));
    EXPECT_TRUE(text.isEmpty());
}

TEST(Label, BadCodesChangeNothing) {
    CQorString label(L"\\de:x");
    EXPECT_FALSE(QOR::label_set(label, L"y", L""));
    EXPECT_FALSE(QOR::label_set(label, L"y", L"a:b"));
    EXPECT_FALSE(QOR::label_set(label, L"y", L"a\\b"));
    EXPECT_EQ(label, L"\\de:x");
}

TEST(Label, PlainTextIsEveryLanguage) {
    const wchar_t* saved = QOR::msgLangSet(nullptr);
    QOR::msgLangSet(L"de");
    EXPECT_EQ(get(L"Stahl", L"en"), L"Stahl");
    CQorString label(L"Stahl");
    ASSERT_TRUE(QOR::label_set(label, L"Steel", L"en"));
    EXPECT_EQ(label, L"\\de:Stahl\\en:Steel");
    EXPECT_EQ(get(label, nullptr), L"Stahl"); // the current language
    QOR::msgLangSet(saved);
}

TEST(Label, MalformedEntriesAreSkipped) {
    EXPECT_EQ(get(L"\\nocolon\\de:gut", L"de"), L"gut");
    EXPECT_EQ(get(L"\\:leer\\de:gut", L"de"), L"gut");
    EXPECT_EQ(get(L"\\de", L"de"), L"");
    EXPECT_EQ(get(L"\\", L"de"), L"");
    EXPECT_EQ(get(L"\\de:a\\\\", L"de"), L"a\\");
    EXPECT_EQ(get(L"\\de:a\\", L"de"), L"a"); // a lone trailing backslash starts an empty entry
    EXPECT_EQ(get(nullptr, L"de"), L"");
}

TEST(Label, ReadingIntoTheLabelItself) {
    CQorString label(L"\\de:Blech\\en:Sheet");
    EXPECT_TRUE(QOR::label_get(label, label, L"en"));
    EXPECT_EQ(label, L"Sheet");
}
