// The settings store behind regRead/regWrite: values keep their DWORD packing, texts round-trip, and a
// missing key or value reads as missing.
#include <gtest/gtest.h>

#include <filesystem>

#include "dlg_test.h"
#include "qor/dlg/dlg_geometry.h"
#include "qor/dlg/registry.h"

namespace {
const wchar_t* const kKey = L"HKEY_CURRENT_USER\\Software\\VEL-MORA\\QOR\\Dialogs\\Test";
}

TEST(Registry, NumbersAndTextsRoundTrip) {
    std::filesystem::remove(QOR::detail::registryFile().toUtf8());
    DWORD number = 7;
    CQorString text = L"unchanged";
    EXPECT_FALSE(QOR::regRead(kKey, L"Pos", number));
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(QOR::regRead(kKey, L"Label", text));
    EXPECT_FALSE(std::filesystem::exists(QOR::detail::registryFile().toUtf8())); // reading creates nothing

    // Every bit of the two words survives, the sign bit of the high word included.
    const DWORD packed = QOR::detail::packWords(0xFFFF, 0x8001);
    ASSERT_TRUE(QOR::regWrite(kKey, L"Pos", packed));
    ASSERT_TRUE(QOR::regWrite(kKey, L"Label", L"Grüße\\n\"zwei\" = Zeilen; #1"));
    ASSERT_TRUE(QOR::regRead(kKey, L"Pos", number));
    EXPECT_EQ(number, 0x8001FFFFu);
    EXPECT_EQ(QOR::detail::lowWord(number), 0xFFFF);
    EXPECT_EQ(QOR::detail::highWord(number), 0x8001);
    ASSERT_TRUE(QOR::regRead(kKey, L"Label", text));
    EXPECT_EQ(text, L"Grüße\\n\"zwei\" = Zeilen; #1");
    EXPECT_FALSE(QOR::regRead(kKey, L"Label", number)); // a text is no number

    EXPECT_TRUE(QOR::regDeleteKey(kKey));
    EXPECT_FALSE(QOR::regRead(kKey, L"Pos", number));
    EXPECT_FALSE(QOR::regWrite(nullptr, L"Pos", 1u));
    EXPECT_FALSE(QOR::regWrite(kKey, L"", 1u));
    std::filesystem::remove(QOR::detail::registryFile().toUtf8());
}

TEST(Registry, AppKeyAndPlace) {
    CQorString key;
    EXPECT_STREQ(QOR::regAppKey(key, L"QOR"), L"Software\\VEL-MORA\\QOR");
    EXPECT_STREQ(QOR::regAppKey(key, nullptr), L"Software\\VEL-MORA\\QOR");
    EXPECT_STREQ(QOR::regAppKey(key, L"TRQ"), L"Software\\VEL-MORA\\TRQ");
    // The test script points XDG_CONFIG_HOME at a temporary folder.
    const std::string file = QOR::detail::registryFile().toUtf8();
    EXPECT_EQ(file.rfind(std::getenv("XDG_CONFIG_HOME"), 0), 0u) << file;
}
