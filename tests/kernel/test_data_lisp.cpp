#include <gtest/gtest.h>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/resbuf.h"

#include <cmath>
#include <initializer_list>

namespace {

// Links the buffers into one chain, in the order given.
resbuf* chain(std::initializer_list<resbuf*> parts) {
    resbuf* head = nullptr;
    for (resbuf* rb : parts)
        head = QOR::rbAppend(head, rb);
    return head;
}

CQorVertexArray square() {
    CQorVertexArray vl;
    CQorPoint3dArray pts{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    vl.fromPoints(pts, true);
    vl[1].bulge = 0.4142;
    return vl;
}

// Every kind whose LISP form is unambiguous (no empty arrays).
CQorDataItem lispTree() {
    CQorDataItem root;
    root.set(true, L"T");
    root.set(false, L"F");
    root.set(-5, L"I");
    root.set(18446744073709551615ul, L"U");
    root.set(-0.25, L"D");
    root.set(L"Ä text", L"S");
    root.set(CQorArrayTempl<int>{1, 2, 3}, L"STACK");
    root.set(CQorArrayTempl<CQorString>{L"A", L"B"}, L"STRS");
    root.set(CQorPoint3d(1, 2, 3), L"P");
    root.set(CQorPoint3dArray{{1, 0, 0}, {0, 1, 0}}, L"EXTVIEW");
    root.set(square(), L"VL");
    root.set(CQorArrayTempl<CQorVertexArray>{square(), CQorVertexArray(), square()}, L"REGL");
    CQorMatrix3d m;
    m.setToRotation(0.5, CQorVector3d::kXAxis, {0, 1, 0});
    root.set(m, L"MTX");
    root.set(1, CQorDataKey(L"SN", 4));
    root.set(2, CQorDataKey(CQorDataKey(L"SN"), CQorDataKey::handle(L"1F")));
    root.makeDir(L"SUB\\EMPTY");
    root.getDir()->makeItem(L"NONE");
    return root;
}

} // namespace

TEST(DataLisp, MkLispThenSetDataRestoresTheTree) {
    const CQorDataItem root = lispTree();
    QOR::CUniqResbuf lisp(root.mkLisp());
    ASSERT_TRUE(lisp);
    EXPECT_EQ(lisp->restype, RTLB); // the first entry's pair
    CQorDataItem back;
    ASSERT_TRUE(back.setData(lisp.get(), 0));
    EXPECT_EQ(back, root);

    QOR::CUniqResbuf wrapped(QOR::rbToList(root.mkLisp())); // one list, as hosts receive it
    CQorDataItem fromList;
    ASSERT_TRUE(fromList.setData(wrapped.get()));
    EXPECT_EQ(fromList, root);
}

TEST(DataLisp, ValuesStandAlone) {
    CQorDataItem value;
    value.set(2.5);
    QOR::CUniqResbuf lisp(value.mkLisp());
    ASSERT_TRUE(lisp);
    EXPECT_EQ(lisp->restype, RTREAL);
    EXPECT_EQ(lisp->rbnext, nullptr);
    CQorDataItem back;
    ASSERT_TRUE(back.setData(lisp.get()));
    EXPECT_EQ(back, value);

    CQorDataItem empty;
    empty.mkDir();
    EXPECT_EQ(empty.mkLisp(), nullptr);
    CQorDataItem fromNull;
    fromNull.set(1);
    EXPECT_TRUE(fromNull.setData(nullptr));
    EXPECT_TRUE(fromNull.isDir());
}

TEST(DataLisp, EmptyArraysComeBackAsEmptyDirectories) {
    CQorDataItem root;
    root.set(CQorArrayTempl<int>{}, L"STACK");
    QOR::CUniqResbuf lisp(root.mkLisp());
    CQorDataItem back;
    ASSERT_TRUE(back.setData(lisp.get()));
    EXPECT_TRUE(back.getItem(L"STACK")->isDir());
}

TEST(DataLisp, MergeReplacesAndKeeps) {
    CQorDataItem target;
    target.set(1, L"A");
    target.set(2, L"B");
    CQorDataItem update;
    update.set(3, L"B");
    update.set(4, L"C");
    QOR::CUniqResbuf lisp(update.mkLisp());
    ASSERT_TRUE(target.setData(lisp.get(), 1));
    int a = 0, b = 0, c = 0;
    EXPECT_TRUE(target.get(a, L"A") && target.get(b, L"B") && target.get(c, L"C"));
    EXPECT_EQ(a + b * 10 + c * 100, 1 + 30 + 400);

    QOR::CUniqResbuf value(QOR::mkResbuf(RTREAL, 1.0));
    EXPECT_FALSE(target.setData(value.get(), 1));
}

TEST(DataLisp, MalformedFormsChangeNothing) {
    CQorDataItem item;
    item.set(7, L"KEEP");
    const CQorDataItem before(item);
    auto check = [&](resbuf* chain) {
        QOR::CUniqResbuf owned(chain);
        EXPECT_FALSE(item.setData(owned.get()));
        EXPECT_EQ(item, before);
    };
    // Two loose values; an unclosed list.
    check(chain({QOR::mkResbuf(RTREAL, 1.0), QOR::mkResbuf(RTREAL, 2.0)}));
    check(chain({QOR::mkResbuf(RTLB), QOR::mkResbuf(RTSHORT, 1)}));
    // A pair with a real as key; a pair holding two values.
    check(chain(
        {QOR::mkResbuf(RTLB), QOR::mkResbuf(RTREAL, 1.0), QOR::mkResbuf(RTSHORT, 1), QOR::mkResbuf(RTDOTE)}));
    check(chain({QOR::mkResbuf(RTLB), QOR::mkResbuf(RTSTR, L"K"), QOR::mkResbuf(RTSHORT, 1),
                 QOR::mkResbuf(RTSHORT, 2), QOR::mkResbuf(RTDOTE)}));
    // A list mixing kinds.
    check(QOR::rbToList(chain({QOR::mkResbuf(RTSTR, L"x"), QOR::mkResbuf(RTREAL, 1.0)})));
    // An entity name is no data value.
    check(qorNewRb(RTENAME));
}

TEST(ResbufShapes, StrokeGroupsFromAHostList) {
    // ((((0 0 0) (1 0 0) (1 1 0))) (((0 0 0) (2 0 0) 0.5) ((2 0 0) (0 0 0) 0.5)) nil)
    // group 1: one polyline given as points; group 2: one polyline of two arcs; group 3: empty.
    auto pt = [](double x, double y) {
        const double xyz[3] = {x, y, 0};
        return QOR::mkResbuf(RT3DPOINT, xyz);
    };
    resbuf* group1 = QOR::rbToList(QOR::rbToList(chain({pt(0, 0), pt(1, 0), pt(1, 1)})));
    resbuf* arc1 = QOR::rbToList(chain({pt(0, 0), pt(2, 0), QOR::mkResbuf(RTREAL, 0.5)}));
    resbuf* arc2 = QOR::rbToList(chain({pt(2, 0), pt(0, 0), QOR::mkResbuf(RTREAL, 0.5)}));
    resbuf* group2 = QOR::rbToList(QOR::rbToList(chain({arc1, arc2})));
    QOR::CUniqResbuf list(QOR::rbToList(chain({group1, group2, QOR::mkResbuf(RTNIL)})));

    CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> out;
    ASSERT_TRUE(QOR::fromRb(out, list.get(), 0));
    ASSERT_EQ(out.len(), 3);
    ASSERT_EQ(out[0].len(), 1);
    EXPECT_EQ(out[0][0].len(), 2);
    EXPECT_EQ(out[0][0][1].end, CQorPoint3d(1, 1, 0));
    ASSERT_EQ(out[1][0].len(), 2);
    EXPECT_EQ(out[1][0][1].bulge, 0.5);
    EXPECT_EQ(out[2].len(), 0);
    ASSERT_TRUE(QOR::fromRb(out, list.get(), 1));
    EXPECT_EQ(out.len(), 6);

    QOR::CUniqResbuf nil(QOR::mkResbuf(RTNIL));
    EXPECT_TRUE(QOR::fromRb(out, nil.get(), 0));
    EXPECT_EQ(out.len(), 0);
}

TEST(ResbufShapes, BadShapesLeaveTheOutputAlone) {
    CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> out;
    out[0];
    QOR::CUniqResbuf real(QOR::mkResbuf(RTREAL, 1.0));
    EXPECT_FALSE(QOR::fromRb(out, real.get(), 0));
    QOR::CUniqResbuf flat(QOR::rbToList(QOR::mkResbuf(RTREAL, 1.0)));
    EXPECT_FALSE(QOR::fromRb(out, flat.get(), 0));
    EXPECT_FALSE(QOR::fromRb(out, nullptr, 0));
    EXPECT_EQ(out.len(), 1);

    CQorVertexArray vl;
    vl.append({0, 0, 0}, {1, 0, 0});
    EXPECT_FALSE(QOR::fromRb(vl, real.get()));
    EXPECT_EQ(vl.len(), 1);
    CQorString s(L"keep");
    EXPECT_FALSE(QOR::fromRb(s, real.get()));
    EXPECT_EQ(s, L"keep");
}
