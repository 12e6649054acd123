#include <gtest/gtest.h>

#include "qor/kernel/data/data_key.h"

TEST(DataKeyPath, SplitsAtBackslashesKeepingEmptyParts) {
    const CQorDataKey key(L"PARM3\\MINUSP");
    EXPECT_EQ(key.len(), 2);
    EXPECT_EQ(key.type(), CQorDataKey::kText);
    EXPECT_STREQ(key.text(), L"PARM3");
    ASSERT_NE(key.next(), nullptr);
    EXPECT_STREQ(key.next()->text(), L"MINUSP");
    EXPECT_EQ(key.next()->next(), nullptr);
    EXPECT_EQ(key.path(), L"PARM3\\MINUSP");

    const CQorDataKey leadingEmpty(L"\\CALC");
    EXPECT_EQ(leadingEmpty.len(), 2);
    EXPECT_STREQ(leadingEmpty.text(), L"");
    EXPECT_FALSE(leadingEmpty.isEmpty());
    EXPECT_EQ(leadingEmpty, CQorDataKey(L"", L"CALC"));
}

TEST(DataKeyPath, NullAndEmptyPathsGiveTheEmptyKey) {
    EXPECT_TRUE(CQorDataKey(static_cast<const wchar_t*>(nullptr)).isEmpty());
    EXPECT_TRUE(CQorDataKey(L"").isEmpty());
    EXPECT_EQ(CQorDataKey(L"").type(), CQorDataKey::kNone);
    EXPECT_EQ(CQorDataKey().len(), 0);
    EXPECT_EQ(CQorDataKey().next(), nullptr);
    EXPECT_EQ(CQorDataKey(), CQorDataKey(L""));
}

TEST(DataKeyParts, MultiPartKeysMixKinds) {
    const CQorDataKey key(L"THICK", 12, L"S\\BOT");
    ASSERT_EQ(key.len(), 3);
    EXPECT_EQ(key.next()->type(), CQorDataKey::kShort);
    EXPECT_EQ(key.next()->toInt(), 12);
    EXPECT_STREQ(key.next()->next()->text(), L"S\\BOT"); // parts are taken as they are
    EXPECT_NE(CQorDataKey(L"VAL", 2), CQorDataKey(L"VAL\\2"));
    EXPECT_EQ(CQorDataKey(CQorDataKey(L"A\\B"), L"C"), CQorDataKey(L"A\\B\\C"));
}

TEST(DataKeyKinds, KindsNeverCompareEqual) {
    EXPECT_NE(CQorDataKey(3), CQorDataKey(L"3"));
    EXPECT_NE(CQorDataKey::handle(L"2A"), CQorDataKey(L"2A"));
    EXPECT_EQ(CQorDataKey::handle(L"2A").type(), CQorDataKey::kHandle);
    EXPECT_STREQ(CQorDataKey::handle(L"2A").text(), L"2A");
    EXPECT_NE(CQorDataKey(L"mtx"), CQorDataKey(L"MTX"));
}

TEST(DataKeyKinds, ShortKeysStayWithinSixteenBits) {
    EXPECT_EQ(CQorDataKey(-32768).toInt(), -32768);
    EXPECT_STREQ(CQorDataKey(-32768).text(), L"-32768");
    EXPECT_TRUE(CQorDataKey(32768).isEmpty());
    CQorDataKey key(L"A");
    EXPECT_FALSE(key.set(70000));
    EXPECT_TRUE(key.isEmpty());
    EXPECT_FALSE(key.set(CQorDataKey::kShort, L"1"));
    EXPECT_TRUE(key.set(CQorDataKey::kHandle, L"FF"));
}

TEST(DataKeyConversion, TextToIntOnlyForWholeNumbers) {
    EXPECT_EQ(CQorDataKey(L"42").toInt(), 42);
    EXPECT_EQ(CQorDataKey(L"-7").toInt(), -7);
    EXPECT_EQ(int(CQorDataKey(L"-2147483648")), -2147483647 - 1);
    EXPECT_EQ(CQorDataKey(L"2147483648").toInt(), 0);
    EXPECT_EQ(CQorDataKey(L"4x").toInt(), 0);
    EXPECT_EQ(CQorDataKey(L"-").toInt(), 0);
    EXPECT_EQ(CQorDataKey::handle(L"12").toInt(), 0);
}

TEST(DataKeyCopy, CopiesAreDeepAndLongPathsAreSafe) {
    CQorDataKey a(L"A\\B\\C");
    CQorDataKey b = a;
    a.set(L"X");
    EXPECT_EQ(b.path(), L"A\\B\\C");
    EXPECT_EQ(b.first(), CQorDataKey(L"A"));

    std::wstring longPath(200000, L'\\'); // 200 001 empty parts: destruction must not recurse
    CQorDataKey deep(longPath);
    EXPECT_EQ(deep.len(), 200001);
}
