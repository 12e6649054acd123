#include <gtest/gtest.h>

#include "kernel/data_item.h"
#include "kernel/data_iterator.h"

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> childNames(const CQorDataItem* dir) {
    std::vector<std::wstring> names;
    for (QOR::CDataIterator it(dir); !it.done(); it.next())
        names.push_back(it.key()->text());
    return names;
}

} // namespace

TEST(DataItemValues, TypedGetThroughPathsAndTwoPartKeys) {
    CQorDataItem root;
    EXPECT_TRUE(root.set(1.5, L"OLV_MENU\\COLOR\\PDSIZE"));
    EXPECT_TRUE(root.set(3, CQorDataKey(L"*WALL_EDIT*", L"BT")));
    EXPECT_TRUE(root.set(L"COMPOUND", L"\\CALC"));
    EXPECT_TRUE(root.set(2.5, CQorDataKey(L"VAL", 2)));
    EXPECT_TRUE(root.isDir());

    double size = 0;
    EXPECT_TRUE(root.get(size, L"OLV_MENU\\COLOR\\PDSIZE"));
    EXPECT_EQ(size, 1.5);
    int bt = 0;
    EXPECT_TRUE(root.get(bt, L"*WALL_EDIT*\\BT"));
    EXPECT_EQ(bt, 3);
    CQorString calc;
    EXPECT_TRUE(root.get(calc, CQorDataKey(L"", L"CALC")));
    EXPECT_EQ(calc, L"COMPOUND");
    EXPECT_FALSE(root.get(calc, L"CALC")); // the empty first part is a key of its own
    double val = 0;
    EXPECT_TRUE(root.get(val, CQorDataKey(L"VAL", 2)));
    EXPECT_FALSE(root.get(val, L"VAL\\2")); // a path part is text, not the short key 2

    const CQorDataItem* color = root.getItem(L"OLV_MENU\\COLOR");
    ASSERT_NE(color, nullptr);
    EXPECT_TRUE(color->get(size, L"PDSIZE"));
    EXPECT_TRUE(color->getItem(L"PDSIZE")->get(size)); // the empty key reads the item itself
}

TEST(DataItemValues, WrongTypesAndMissingKeysReportFalse) {
    CQorDataItem root;
    root.set(L"text", L"S");
    root.set(2.0, L"D");
    root.set(CQorArrayTempl<int>{5, 7}, L"STACK");
    root.makeDir(L"DIR");

    int i = -1;
    EXPECT_FALSE(root.get(i, L"S"));
    EXPECT_FALSE(root.get(i, L"D")); // a double never reads as an integer
    EXPECT_FALSE(root.get(i, L"STACK"));
    EXPECT_FALSE(root.get(i, L"DIR"));
    EXPECT_FALSE(root.get(i, L"MISSING"));
    EXPECT_FALSE(root.get(i, L"S\\BELOW"));
    EXPECT_FALSE(root.get(i)); // a directory has no value
    EXPECT_EQ(i, -1);
    CQorString s;
    EXPECT_FALSE(root.get(s, L"D"));
    CQorArrayTempl<CQorString> texts;
    EXPECT_FALSE(root.get(texts, L"STACK"));
    EXPECT_EQ(root.getItem(L""), nullptr);
    EXPECT_EQ(root.getItem(CQorDataKey()), nullptr);
}

TEST(DataItemValues, NumbersWidenWithoutLoss) {
    CQorDataItem root;
    root.set(3, L"I");
    root.set(-1, L"NEG");
    root.set(4000000000ul, L"BIG");
    double d = 0;
    EXPECT_TRUE(root.get(d, L"I"));
    EXPECT_EQ(d, 3.0);
    unsigned long u = 0;
    EXPECT_TRUE(root.get(u, L"I"));
    EXPECT_FALSE(root.get(u, L"NEG"));
    bool b = false;
    EXPECT_TRUE(root.get(b, L"I"));
    EXPECT_TRUE(b);
    int i = 0;
    EXPECT_FALSE(root.get(i, L"BIG"));
    EXPECT_TRUE(root.get(d, L"BIG"));
    EXPECT_EQ(d, 4e9);
    root.set(true, L"FLAG");
    EXPECT_FALSE(root.get(i, L"FLAG"));
}

TEST(DataItemTree, ValueItemsBlockPathsAndNothingChanges) {
    CQorDataItem root;
    root.set(1, L"A");
    const CQorDataItem before(root);
    EXPECT_FALSE(root.set(2, L"A\\B"));
    EXPECT_EQ(root.makeDir(L"A"), nullptr);
    EXPECT_EQ(root.makeDir(L"A\\B"), nullptr);
    EXPECT_EQ(root, before);
    EXPECT_TRUE(root.set(2, L"A")); // a setter replaces the value in place
    EXPECT_TRUE(root.makeDir(L"X\\Y\\Z") != nullptr);
    EXPECT_TRUE(root.set(5, L"X")); // ... and a whole directory
    EXPECT_FALSE(root.getItem(L"X")->isDir());
}

TEST(DataItemTree, DirectoriesKeepInsertionOrder) {
    CQorDataItem root;
    root.set(1, L"ZETA");
    root.set(2, 7);
    root.set(3, L"ALPHA");
    root.set(4, CQorDataKey::handle(L"2A"));
    root.set(9, L"ZETA"); // replacing keeps the place
    EXPECT_EQ(childNames(&root), (std::vector<std::wstring>{L"ZETA", L"7", L"ALPHA", L"2A"}));
    EXPECT_TRUE(root.remove(L"ALPHA"));
    EXPECT_FALSE(root.remove(L"ALPHA"));
    root.set(5, L"ALPHA");
    EXPECT_EQ(childNames(&root), (std::vector<std::wstring>{L"ZETA", L"7", L"2A", L"ALPHA"}));
    EXPECT_EQ(root.getDir()->at(2)->getKey().type(), CQorDataKey::kHandle);
    EXPECT_EQ(root.getDir()->at(4), nullptr);
    EXPECT_EQ(root.getDir()->at(-1), nullptr);
}

TEST(DataItemTree, CloneIsIndependent) {
    CQorDataItem root;
    root.set(1, L"A\\B");
    std::unique_ptr<CQorDataItem> copy(root.getItem(L"A")->clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getKey(), CQorDataKey(L"A"));
    copy->set(2, L"B");
    copy->set(3, L"C");
    int b = 0;
    root.get(b, L"A\\B");
    EXPECT_EQ(b, 1);
    EXPECT_EQ(root.getItem(L"A\\C"), nullptr);
    EXPECT_NE(*copy, *root.getItem(L"A"));
}

TEST(DataItemTree, SetItemAndInsertCopySubtrees) {
    CQorDataItem item;
    item.set(L"L1", L"LABEL");
    item.set(1, L"HOLE\\D");
    CQorDataItem scratch;
    EXPECT_TRUE(scratch.setItem(*item.getItem(L"HOLE"), L"BT"));
    EXPECT_EQ(scratch.getItem(L"BT")->getKey(), CQorDataKey(L"BT"));
    EXPECT_TRUE(scratch.setItem(*scratch.getItem(L"BT"), L"BT\\COPY")); // a source inside the target
    EXPECT_NE(scratch.getItem(L"BT\\COPY\\D"), nullptr);

    scratch.set(L"L2", L"LABEL");
    EXPECT_TRUE(item.insert(scratch, false));
    CQorString label;
    item.get(label, L"LABEL");
    EXPECT_EQ(label, L"L1");
    EXPECT_TRUE(item.insert(scratch, true));
    item.get(label, L"LABEL");
    EXPECT_EQ(label, L"L2");
    EXPECT_NE(item.getItem(L"BT\\COPY"), nullptr);
    EXPECT_TRUE(item.insert(item, true)); // inserting a directory into itself changes nothing
    EXPECT_EQ(item.getDir()->len(), 3);

    CQorDataItem value;
    value.set(1);
    EXPECT_FALSE(value.insert(item, true));
    EXPECT_FALSE(item.insert(value, true));
}

TEST(DataItemTree, DirectoryObjectMakesItemsAndDirs) {
    CQorDataItem root;
    CQorDataDir* dir = root.mkDir();
    ASSERT_NE(dir, nullptr);
    EXPECT_TRUE(dir->isEmpty());
    CQorDataItem* fresh = dir->makeItem(L"NEW");
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isNone());
    EXPECT_EQ(dir->makeItem(L"NEW"), fresh);
    EXPECT_NE(dir->makeDir(L"NEW"), nullptr); // a fresh item may become a directory
    EXPECT_TRUE(fresh->isDir());
    EXPECT_EQ(dir->makeItem(L""), nullptr);
    EXPECT_TRUE(dir->remove(L"NEW"));
    EXPECT_TRUE(dir->isEmpty());

    CQorDataItem value;
    value.set(4);
    EXPECT_NE(value.mkDir(), nullptr); // a value item gives up its value
    int v = 0;
    EXPECT_FALSE(value.get(v));
}

TEST(DataIterator, WalksNothingForValuesAndNull) {
    CQorDataItem value;
    value.set(1);
    QOR::CDataIterator it(&value);
    EXPECT_TRUE(it.done());
    EXPECT_EQ(it.item(), nullptr);
    EXPECT_EQ(it.key(), nullptr);
    QOR::CDataIterator none(static_cast<CQorDataItem*>(nullptr));
    EXPECT_TRUE(none.done());

    CQorDataItem root;
    root.set(1, L"A");
    root.set(2, L"B");
    QOR::CDataIterator walk(&root);
    walk.next();
    EXPECT_STREQ(walk.key()->text(), L"B");
    walk.start();
    EXPECT_STREQ(walk.key()->text(), L"A");
}

TEST(DataItemTree, LargeDirectoriesFindEveryChildAfterChanges) {
    CQorDataItem root;
    for (int i = 0; i < 1000; ++i)
        root.set(i, i);
    for (int i = 0; i < 1000; i += 3)
        EXPECT_TRUE(root.remove(i));
    root.set(-1, L"0"); // a text key beside the short key 0
    for (int i = 0; i < 1000; ++i) {
        int v = -2;
        EXPECT_EQ(root.get(v, i), i % 3 != 0) << i;
        if (i % 3 != 0) {
            EXPECT_EQ(v, i);
        }
    }
    EXPECT_EQ(root.getDir()->len(), 667);
    CQorDataItem copy(root);
    EXPECT_EQ(copy, root);
    EXPECT_TRUE(copy.remove(1));
    EXPECT_EQ(copy.getItem(1), nullptr);
    EXPECT_NE(root.getItem(1), nullptr);
}

TEST(DataItemValues, GeometryKindsReadOnlyAsThemselves) {
    CQorDataItem root;
    CQorVertexArray vl;
    vl.append({0, 0, 0}, {2, 0, 0}, 1.0);
    CQorMatrix3d m;
    m.setToTranslation({1, 2, 3});
    root.set(CQorPoint3d(1, 2, 3), L"P");
    root.set(CQorPoint3dArray{{1, 0, 0}, {2, 0, 0}}, L"EXTVIEW");
    root.set(vl, L"VL");
    root.set(CQorArrayTempl<CQorVertexArray>{vl, vl}, L"REGL");
    root.set(m, L"MTX");

    CQorPoint3d p;
    EXPECT_TRUE(root.get(p, L"P"));
    EXPECT_EQ(p.z, 3.0);
    CQorPoint3dArray pts;
    EXPECT_TRUE(root.get(pts, L"EXTVIEW"));
    EXPECT_EQ(pts.len(), 2);
    CQorVertexArray outVl;
    EXPECT_TRUE(root.get(outVl, L"VL"));
    EXPECT_EQ(outVl[0].bulge, 1.0);
    CQorArrayTempl<CQorVertexArray> regl;
    EXPECT_TRUE(root.get(regl, L"REGL"));
    EXPECT_EQ(regl.len(), 2);
    CQorMatrix3d outM;
    EXPECT_TRUE(root.get(outM, L"MTX"));
    EXPECT_EQ(outM.entry[1][3], 2.0);

    EXPECT_FALSE(root.get(p, L"EXTVIEW"));
    EXPECT_FALSE(root.get(pts, L"P"));
    EXPECT_FALSE(root.get(outVl, L"REGL"));
    EXPECT_FALSE(root.get(regl, L"VL"));
    EXPECT_FALSE(root.get(outM, L"P"));
    CQorString s;
    EXPECT_FALSE(root.get(s, L"MTX"));
}
