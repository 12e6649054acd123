#include <gtest/gtest.h>

#include "qor/kernel/data/dta_file.h"

#include <filesystem>
#include <fstream>

TEST(DtaFile, ScratchSetsAreCopies) {
    CQorDataItem item;
    item.set(1, L"A\\B");
    QOR::CDtaFilePointer fp = QOR::dtaOpen(QOR::kDtaScratch, 3, nullptr, &item);
    ASSERT_TRUE(fp);
    fp.get()->set(2, L"A\\B");
    int v = 0;
    item.get(v, L"A\\B");
    EXPECT_EQ(v, 1);

    QOR::CDtaFilePointer sub = QOR::dtaOpen(QOR::kDtaScratch, 3, L"A", &item);
    ASSERT_TRUE(sub);
    EXPECT_TRUE(sub.get()->get(v, L"B"));
    EXPECT_FALSE(QOR::dtaOpen(QOR::kDtaScratch, 3, L"MISSING", &item));

    QOR::CDtaFilePointer empty = QOR::dtaOpen(6, 3, nullptr, nullptr);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty.get()->isDir());
    EXPECT_TRUE(empty.set(&item, L"COPY"));
    EXPECT_NE(empty.get(L"COPY\\A"), nullptr);
    EXPECT_NE(empty.get(L"NEW\\DIR", true), nullptr);

    QOR::CDtaFilePointer readOnly = QOR::dtaOpen(6, QOR::kDtaRead, nullptr, &item);
    EXPECT_FALSE(readOnly.set(&item, L"X"));
    EXPECT_EQ(readOnly.get(L"X", true), nullptr);
    EXPECT_FALSE(QOR::dtaOpen(99, 3, nullptr, &item));
}

TEST(DtaFile, StoreObjectsAreSharedBetweenOpenings) {
    CQorDataItem root;
    root.set(L"L", L"LABEL");
    QOR::CAdsName entity;
    ASSERT_TRUE(QOR::dtaCreate(entity, &root));
    {
        QOR::CDtaFilePointer fp = QOR::dtaOpen(QOR::kDtaEntity, 3, entity);
        ASSERT_TRUE(fp);
        EXPECT_EQ(fp.entity(), entity);
        CQorDataItem hole;
        hole.set(5, L"D");
        EXPECT_TRUE(fp.set(&hole, L"BT"));
    }
    QOR::CDtaFilePointer again = QOR::dtaOpen(3, 3, entity);
    int d = 0;
    EXPECT_TRUE(again.get()->get(d, L"BT\\D"));
    EXPECT_EQ(d, 5);

    CQorArrayTempl<CQorDataKey> keys;
    EXPECT_TRUE(again.dir(keys));
    ASSERT_EQ(keys.len(), 2);
    EXPECT_EQ(keys[1], CQorDataKey(L"BT"));
    EXPECT_FALSE(again.dir(keys, L"LABEL"));

    EXPECT_TRUE(QOR::dtaErase(entity));
    EXPECT_FALSE(QOR::dtaOpen(3, 3, entity));
    EXPECT_NE(again.get(L"BT"), nullptr); // an opening keeps its object
    EXPECT_FALSE(QOR::dtaOpen(3, 3, QOR::CAdsName()));

    QOR::CAdsName made(entity.id() + 1000);
    QOR::CDtaFilePointer created = QOR::dtaOpen(3, 3 | QOR::kDtaCreate, made, nullptr, &root);
    ASSERT_TRUE(created);
    EXPECT_NE(created.get(L"LABEL"), nullptr);
    QOR::dtaErase(made);
}

TEST(DtaFile, LinkedObjects) {
    CQorDataItem sheetDef;
    sheetDef.set(1.5, L"N");
    QOR::CAdsName def;
    QOR::dtaCreate(def, &sheetDef);
    CQorDataItem sheet;
    sheet.set(def.handle(), L"XREF");
    QOR::CAdsName obj;
    QOR::dtaCreate(obj, &sheet);

    QOR::CDtaFilePointer fp = QOR::dtaOpen(3, 3, obj);
    EXPECT_FALSE(fp.lobjGet());
    ASSERT_TRUE(QOR::dtaLink(obj, def));
    QOR::CDtaFilePointer linked = fp.lobjGet();
    ASSERT_TRUE(linked);
    double n = 0;
    EXPECT_TRUE(linked.get()->get(n, L"N"));
    QOR::CDtaFilePointer byHandle = fp.lobjGet(L"XREF");
    ASSERT_TRUE(byHandle);
    EXPECT_EQ(byHandle.get(), linked.get());
    EXPECT_FALSE(fp.lobjGet(L"MISSING"));
    EXPECT_FALSE(QOR::dtaLink(obj, QOR::CAdsName(999999)));
    QOR::dtaErase(def);
    EXPECT_FALSE(fp.lobjGet());
    QOR::dtaErase(obj);
    QOR::CDtaFilePointer closed;
    EXPECT_FALSE(closed.lobjGet());
    EXPECT_EQ(closed.get(), nullptr);
}

TEST(DtaFile, ObjectFilesOpenWithTheirLinkedObjects) {
    const auto file = std::filesystem::temp_directory_path() / "qor_test_dta_object.json";
    std::ofstream(file)
        << R"({"$object": {"data": {"D": 2.0}, "linked": {"$object": {"data": {"STACK": {"$strs": ["S1"]}}}}}})";
    const CQorString path = CQorString::fromUtf8(file.string());
    QOR::CDtaFilePointer fp = QOR::dtaOpen(QOR::kDtaFile, QOR::kDtaRead, path, nullptr);
    ASSERT_TRUE(fp);
    double d = 0;
    EXPECT_TRUE(fp.get()->get(d, L"D"));
    QOR::CDtaFilePointer linked = fp.lobjGet();
    ASSERT_TRUE(linked);
    CQorArrayTempl<CQorString> stack;
    EXPECT_TRUE(linked.get()->get(stack, L"STACK"));
    EXPECT_FALSE(linked.lobjGet());

    std::ofstream(file) << R"({"D": 3.0})";
    QOR::CDtaFilePointer plain = QOR::dtaOpen(1, 1, path, nullptr);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain.get()->get(d, L"D"));
    EXPECT_EQ(d, 3.0);

    std::ofstream(file) << R"({"$object": {"linked": {}}})";
    EXPECT_FALSE(QOR::dtaOpen(1, 1, path, nullptr));
    std::filesystem::remove(file);
    EXPECT_FALSE(QOR::dtaOpen(1, 1, path, nullptr));
    EXPECT_FALSE(QOR::dtaOpen(1, 1, nullptr, nullptr));
}
