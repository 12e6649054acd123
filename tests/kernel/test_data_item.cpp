#include <gtest/gtest.h>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The value at key read as T, or nothing when the typed getter refuses.
template <class T>
std::optional<T> read(const CQorDataItem& item, const CQorDataKey& key) {
    T value{};
    if (!item.get(value, key)) return std::nullopt;
    return value;
}

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

    EXPECT_EQ(read<double>(root, L"OLV_MENU\\COLOR\\PDSIZE"), 1.5);
    EXPECT_EQ(read<int>(root, L"*WALL_EDIT*\\BT"), 3);
    EXPECT_EQ(read<CQorString>(root, CQorDataKey(L"", L"CALC")), L"COMPOUND");
    EXPECT_FALSE(read<CQorString>(root, L"CALC")); // the empty first part is a key of its own
    EXPECT_EQ(read<double>(root, CQorDataKey(L"VAL", 2)), 2.5);
    EXPECT_FALSE(read<double>(root, L"VAL\\2")); // a path part is text, not the short key 2

    const CQorDataItem* color = root.getItem(L"OLV_MENU\\COLOR");
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(read<double>(*color, L"PDSIZE"), 1.5);
    EXPECT_EQ(read<double>(*color->getItem(L"PDSIZE"), {}), 1.5); // the empty key reads the item itself
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
    root.set(true, L"FLAG");
    EXPECT_EQ(read<double>(root, L"I"), 3.0);
    EXPECT_EQ(read<unsigned long>(root, L"I"), 3ul);
    EXPECT_FALSE(read<unsigned long>(root, L"NEG"));
    EXPECT_EQ(read<bool>(root, L"I"), true);
    EXPECT_FALSE(read<int>(root, L"BIG"));
    EXPECT_EQ(read<double>(root, L"BIG"), 4e9);
    EXPECT_FALSE(read<int>(root, L"FLAG"));
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
    EXPECT_EQ(read<int>(root, L"A\\B"), 1);
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
    EXPECT_EQ(read<CQorString>(item, L"LABEL"), L"L1");
    EXPECT_TRUE(item.insert(scratch, true));
    EXPECT_EQ(read<CQorString>(item, L"LABEL"), L"L2");
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
    EXPECT_FALSE(read<int>(value, {}));
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
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(read<int>(root, i), i % 3 != 0 ? std::optional<int>(i) : std::nullopt) << i;
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

    EXPECT_EQ(read<CQorPoint3d>(root, L"P").value().z, 3.0);
    EXPECT_EQ(read<CQorPoint3dArray>(root, L"EXTVIEW").value().len(), 2);
    EXPECT_EQ(read<CQorVertexArray>(root, L"VL").value()[0].bulge, 1.0);
    EXPECT_EQ(read<CQorArrayTempl<CQorVertexArray>>(root, L"REGL").value().len(), 2);
    EXPECT_EQ(read<CQorMatrix3d>(root, L"MTX").value().entry[1][3], 2.0);

    EXPECT_FALSE(read<CQorPoint3d>(root, L"EXTVIEW"));
    EXPECT_FALSE(read<CQorPoint3dArray>(root, L"P"));
    EXPECT_FALSE(read<CQorVertexArray>(root, L"REGL"));
    EXPECT_FALSE(read<CQorArrayTempl<CQorVertexArray>>(root, L"VL"));
    EXPECT_FALSE(read<CQorMatrix3d>(root, L"P"));
    EXPECT_FALSE(read<CQorString>(root, L"MTX"));
}
