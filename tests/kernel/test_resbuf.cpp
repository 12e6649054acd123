#include <gtest/gtest.h>

#include "qor/kernel/data/resbuf.h"

#include <cwchar>

namespace {

int countChain(const resbuf* rb) {
    int n = 0;
    for (; rb != nullptr; rb = rb->rbnext)
        ++n;
    return n;
}

} // namespace

TEST(ResbufMake, NumbersRespectTheRangeOfTheirType) {
    QOR::CUniqResbuf s(QOR::mkResbuf(RTSHORT, 32767));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->resval.rint, 32767);
    EXPECT_EQ(QOR::mkResbuf(RTSHORT, 32768), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RTLONG, std::int64_t{1} << 31), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RTLONG, 2.5), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RTINT64, 1e30), nullptr);
    QOR::CUniqResbuf big(QOR::mkResbuf(RTINT64, std::int64_t{1} << 40));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->resval.mnInt64, std::int64_t{1} << 40);
    QOR::CUniqResbuf real(QOR::mkResbuf(RTREAL, 3));
    ASSERT_TRUE(real);
    EXPECT_EQ(real->resval.rreal, 3.0);
}

TEST(ResbufMake, WrongValueForTheTypeGivesNull) {
    EXPECT_EQ(QOR::mkResbuf(RTSTR, 1.0), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RTREAL, L"x"), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RTREAL), nullptr);
    EXPECT_EQ(QOR::mkResbuf(RT3DPOINT, static_cast<const double*>(nullptr)), nullptr);
    QOR::CUniqResbuf empty(QOR::mkResbuf(RTSTR, static_cast<const wchar_t*>(nullptr)));
    ASSERT_TRUE(empty);
    EXPECT_STREQ(empty->resval.rstring, L"");
}

TEST(ResbufList, WrapCopyAndSkip) {
    // ("a" (1 2) . 3.5) is not formed; build ("a" (1 2) 3.5) and walk it element by element.
    resbuf* inner = QOR::rbToList(QOR::rbAppend(QOR::mkResbuf(RTSHORT, 1), QOR::mkResbuf(RTSHORT, 2)));
    resbuf* items = QOR::rbAppend(QOR::mkResbuf(RTSTR, L"a"), inner);
    items = QOR::rbAppend(items, QOR::mkResbuf(RTREAL, 3.5));
    QOR::CUniqResbuf list(QOR::rbToList(items));
    ASSERT_TRUE(list);
    EXPECT_EQ(countChain(list.get()), 8);
    EXPECT_EQ(list->restype, RTLB);
    EXPECT_EQ(QOR::rbLast(list.get())->restype, RTLE);
    EXPECT_EQ(QOR::rbSkip(list.get()), nullptr); // the whole chain is one element

    const resbuf* e = list->rbnext;
    EXPECT_EQ(e->restype, RTSTR);
    e = QOR::rbSkip(e);
    EXPECT_EQ(e->restype, RTLB);
    e = QOR::rbSkip(e);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->restype, RTREAL);

    QOR::CUniqResbuf copy(QOR::rbCopy(list.get()));
    EXPECT_TRUE(QOR::rbEqual(copy.get(), list.get()));
    copy->rbnext->resval.rstring[0] = L'b'; // the copy owns its own strings
    EXPECT_FALSE(QOR::rbEqual(copy.get(), list.get()));
    EXPECT_STREQ(list->rbnext->resval.rstring, L"a");

    QOR::CUniqResbuf nil(QOR::rbToList(nullptr));
    EXPECT_EQ(countChain(nil.get()), 2);
}

TEST(ResbufList, UnclosedListSkipsToNull) {
    QOR::CUniqResbuf open(QOR::rbAppend(QOR::mkResbuf(RTLB), QOR::mkResbuf(RTSHORT, 1)));
    EXPECT_EQ(QOR::rbSkip(open.get()), nullptr);
    EXPECT_EQ(QOR::rbSkip(nullptr), nullptr);
}

TEST(ResbufRead, NumbersConvertOnlyWhereExact) {
    QOR::CUniqResbuf big(QOR::mkResbuf(RTINT64, std::int64_t{1} << 40));
    int i = 7;
    EXPECT_FALSE(QOR::fromRb(i, big.get()));
    EXPECT_EQ(i, 7);
    double d = 0;
    EXPECT_TRUE(QOR::fromRb(d, big.get()));
    EXPECT_EQ(d, 1099511627776.0);
    QOR::CUniqResbuf real(QOR::mkResbuf(RTREAL, 2.0));
    EXPECT_FALSE(QOR::fromRb(i, real.get()));
    EXPECT_FALSE(QOR::fromRb(i, nullptr));
}
