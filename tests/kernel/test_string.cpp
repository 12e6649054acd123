#include <gtest/gtest.h>

#include "qor/kernel/base/string.h"

#include <cwchar>
#include <string>

static_assert(sizeof(CQorString) == sizeof(void*), "a string stays one pointer wide");

TEST(QorString, NullAndEmptyAreDistinctButCompareEqual) {
    const CQorString null;
    const CQorString fromNull(static_cast<const wchar_t*>(nullptr));
    const CQorString empty(L"");
    EXPECT_TRUE(null.isNull());
    EXPECT_TRUE(fromNull.isNull());
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(null, empty);
    EXPECT_EQ(null.len(), 0);
    ASSERT_NE(null.c_str(), nullptr);
    EXPECT_STREQ(static_cast<const wchar_t*>(null), L"");
    CQorString copy(null);
    EXPECT_TRUE(copy.isNull());
    copy = L"x";
    copy = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(copy.isNull());
}

TEST(QorString, ComparisonIsOrdinalAndCaseSensitive) {
    const CQorString a(L"Abc");
    EXPECT_TRUE(a == L"Abc");
    EXPECT_TRUE(a != L"abc");
    EXPECT_TRUE(a < L"abc"); // 'A' < 'a'
    EXPECT_TRUE(CQorString(L"ab") < CQorString(L"abc"));
    EXPECT_TRUE(CQorString(L"b") > CQorString(L"abc"));
    EXPECT_FALSE(a < a);
    // Characters above U+7FFF sort after ASCII whatever the signedness of wchar_t.
    EXPECT_TRUE(CQorString(L"z") < CQorString(L"\xFFFD"));
}

TEST(QorString, FindEdges) {
    const CQorString s(L"abcabc");
    EXPECT_EQ(s.find(L"bc"), 1);
    EXPECT_EQ(s.find(L"bc", 2), 4);
    EXPECT_EQ(s.find(L"bc", 5), -1);
    EXPECT_EQ(s.find(L"", 6), 6);
    EXPECT_EQ(s.find(L"", 7), -1);
    EXPECT_EQ(s.find(L"a", -5), 0);
    EXPECT_EQ(s.find(static_cast<const wchar_t*>(nullptr)), -1);
    EXPECT_EQ(s.find(L'c', 3), 5);
    EXPECT_EQ(s.find(L'c', 6), -1);
    EXPECT_EQ(s.find(L'\0'), -1);
    EXPECT_EQ(CQorString().find(L"a"), -1);
}

TEST(QorString, MidRightLeftClampTheirRanges) {
    const CQorString s(L"hello");
    EXPECT_EQ(s.mid(1, 3), L"ell");
    EXPECT_EQ(s.mid(-3, 2), L"he");
    EXPECT_EQ(s.mid(4, 100), L"o");
    EXPECT_EQ(s.mid(5), L"");
    EXPECT_EQ(s.mid(99), L"");
    EXPECT_EQ(s.mid(2, 0), L"");
    EXPECT_EQ(s.mid(2, 0x7FFFFFFF), L"llo");
    EXPECT_EQ(s.right(2), L"lo");
    EXPECT_EQ(s.right(0), L"");
    EXPECT_EQ(s.right(-1), L"");
    EXPECT_EQ(s.right(9), L"hello");
    EXPECT_EQ(s.left(2), L"he");
    EXPECT_EQ(s.left(9), L"hello");
}

TEST(QorString, ReplaceSubstrings) {
    CQorString s(L"a<topic>b<topic>");
    EXPECT_EQ(s.replace(L"<topic>", L"index"), 2);
    EXPECT_EQ(s, L"aindexbindex");
    EXPECT_EQ(s.replace(L"index", nullptr), 2);
    EXPECT_EQ(s, L"ab");
    EXPECT_EQ(s.replace(L"", L"x"), 0);
    EXPECT_EQ(s.replace(L"ab", L""), 1);
    EXPECT_EQ(s, L"");
    EXPECT_FALSE(s.isNull());

    CQorString overlap(L"aaaa");
    EXPECT_EQ(overlap.replace(L"aa", L"b"), 2); // non-overlapping, left to right
    EXPECT_EQ(overlap, L"bb");
    CQorString grow(L"x.x");
    EXPECT_EQ(grow.replace(L"x", L"xxx"), 2);
    EXPECT_EQ(grow, L"xxx.xxx");
}

TEST(QorString, ReplaceCharactersAndSetAt) {
    CQorString s(L"a/b/c");
    EXPECT_EQ(s.replace(L'/', L'\\'), 2);
    EXPECT_EQ(s, L"a\\b\\c");
    EXPECT_EQ(s.replace(L'\\', L'\0'), 1);
    EXPECT_EQ(s, L"a");

    CQorString t(L"abc");
    EXPECT_TRUE(t.setAt(0, L'X'));
    EXPECT_FALSE(t.setAt(3, L'Y'));
    EXPECT_FALSE(t.setAt(-1, L'Y'));
    EXPECT_EQ(t, L"Xbc");
    EXPECT_TRUE(t.setAt(1, L'\0'));
    EXPECT_EQ(t.len(), 1);
    EXPECT_EQ(t, L"X");
}

TEST(QorString, CaseMappingCoversEuropeanLetters) {
    CQorString s(L"straße äöü ÿ ǅ č ω ж İı");
    s.makeUpper();
    EXPECT_EQ(s, L"STRAßE ÄÖÜ Ÿ ǅ Č Ω Ж İI");
    s.makeLower();
    EXPECT_EQ(s, L"straße äöü ÿ ǅ č ω ж ii");
    EXPECT_EQ(CQorString::toUpper(L'ς'), L'Σ');
    EXPECT_EQ(CQorString::toUpper(L'÷'), L'÷');
    EXPECT_EQ(CQorString::toLower(L'×'), L'×');
    EXPECT_EQ(CQorString::toLower(L'Ё'), L'ё');
}

TEST(QorString, FormatUsesWideLettersAndAnyLength) {
    CQorString s;
    ASSERT_TRUE(s.format(L"%s=%d %c %hs %5.2f%%", L"x", 42, L'ä', "narrow", 3.14159));
    EXPECT_EQ(s, L"x=42 ä narrow  3.14%");
    ASSERT_TRUE(s.format(L"%ls|%-3s|%S|%I64d|%ld", L"w", L"a", "n", 1LL << 40, -7L));
    EXPECT_EQ(s, L"w|a  |n|1099511627776|-7");

    const std::wstring longText(100000, L'q');
    ASSERT_TRUE(s.format(L"<%s>", longText.c_str()));
    EXPECT_EQ(s.len(), 100002);
    EXPECT_EQ(s.right(2), L"q>");
    // The string's own text can be an argument.
    ASSERT_TRUE(s.format(L"%s", L"abc"));
    ASSERT_TRUE(s.format(L"%s%s", s.c_str(), s.c_str()));
    EXPECT_EQ(s, L"abcabc");
    EXPECT_FALSE(s.format(nullptr));
    EXPECT_EQ(s, L"");
}

TEST(QorString, GetBufferThenReleaseBuffer) {
    CQorString s(L"ab");
    wchar_t* buffer = s.GetBuffer(10);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, L"ab");
    std::wcscpy(buffer, L"0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s.len(), 10);
    buffer = s.GetBuffer();
    buffer[3] = L'\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"012");
    s.GetBuffer();
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, L"01");
    EXPECT_EQ(s.GetBuffer(CQorString::kMaxLength + 1), nullptr);
    EXPECT_EQ(s, L"01");

    CQorString empty(L"");
    buffer = empty.GetBuffer(); // must never be the shared read-only empty text
    ASSERT_NE(buffer, nullptr);
    buffer[0] = L'z';
    buffer[1] = L'\0';
    empty.ReleaseBuffer();
    EXPECT_EQ(empty, L"z");
    EXPECT_EQ(CQorString(L""), L"");
}

TEST(QorString, UnEscapeResolvesAutoCadAndCEscapes) {
    CQorString s(L"\\U+00C4rger \\u+00e4 \\u00DF \\U+0000 \\U+12 \\x \\n C:\\Users");
    EXPECT_EQ(s.unEscapeWideChar(), 3);
    EXPECT_EQ(s, L"Ärger ä ß \\U+0000 \\U+12 \\x \\n C:\\Users");

    CQorString pair(L"\\U+D83D\\U+DE00!");
    EXPECT_EQ(pair.unEscapeWideChar(), 2);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(pair.len(), 2);
        EXPECT_EQ(pair.getAt(0), wchar_t(0x1F600));
    }
    CQorString lone(L"\\U+D83Dx\\uDC00");
    EXPECT_EQ(lone.unEscapeWideChar(), 2);
    EXPECT_EQ(lone, L"\xFFFDx\xFFFD");
    CQorString tail(L"ab\\U+00C");
    EXPECT_EQ(tail.unEscapeWideChar(), 0);
    EXPECT_EQ(tail, L"ab\\U+00C");
}

TEST(QorStringUtf8, RoundTripsEveryPlane) {
    const CQorString text(L"A ä € \U0001F600 \U0010FFFF");
    const std::string utf8 = text.toUtf8();
    EXPECT_EQ(utf8, "A \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF");
    EXPECT_EQ(CQorString::fromUtf8(utf8), text);
    EXPECT_TRUE(CQorString::fromUtf8(static_cast<const char*>(nullptr)).isNull());
    EXPECT_FALSE(CQorString::fromUtf8("").isNull());
}

TEST(QorStringUtf8, InvalidInputBecomesReplacementCharacters) {
    struct Case {
        const char* bytes;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"\x80x", L"\xFFFDx"},                             // stray continuation byte
        {"\xC0\xAF", L"\xFFFD\xFFFD"},                     // overlong, C0 is never valid
        {"\xE0\x80\xAF", L"\xFFFD\xFFFD\xFFFD"},           // overlong three-byte form
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"}, // above U+10FFFF
        {"\xE2\x82", L"\xFFFD"},                           // truncated: one maximal subpart
        {"\xE2\x82x", L"\xFFFDx"},
        {"\xF0\x9F\x98", L"\xFFFD"},
        {"\xFF\xFE", L"\xFFFD\xFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CQorString::fromUtf8(c.bytes), c.expected) << c.bytes;
    EXPECT_EQ(CQorString::fromUtf8(std::string_view("a\0b", 3)), L"a");

    if constexpr (sizeof(wchar_t) == 4) {
        const wchar_t bad[] = {wchar_t(0xD800), L'x', wchar_t(0x110000), 0};
        EXPECT_EQ(CQorString(bad).toUtf8(), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    }
}

TEST(QorString, ConcatenationSelfAppendAndTrim) {
    CQorString s(L"ab");
    s += s;
    EXPECT_EQ(s, L"abab");
    s += L'c';
    s += static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(s, L"ababc");
    EXPECT_EQ(L"<" + s + L">", L"<ababc>");
    EXPECT_EQ(s + L'!', L"ababc!");
    EXPECT_EQ(CQorString() + CQorString(), L"");
    CQorString grown;
    for (int i = 0; i < 1000; ++i)
        grown += L"xy";
    EXPECT_EQ(grown.len(), 2000);
    CQorString inner(L"0123456789");
    inner += inner.c_str() + 5; // appending a part of itself
    EXPECT_EQ(inner, L"012345678956789");

    CQorString padded(L" \t 12,5 \r\n");
    EXPECT_EQ(padded.trim(), L"12,5");
    CQorString blank(L"   ");
    EXPECT_EQ(blank.trim(), L"");
}
