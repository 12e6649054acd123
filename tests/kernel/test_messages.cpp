#include <gtest/gtest.h>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/file_find.h"
#include "qor/kernel/locale/countries.h"
#include "qor/kernel/locale/messages.h"
#include "qor/kernel/locale/units.h"

#include <cwchar>
#include <filesystem>
#include <fstream>

namespace {

// Restores the current language after each test.
class Messages : public ::testing::Test {
protected:
    void SetUp() override { m_saved = QOR::msgLangSet(nullptr); }
    void TearDown() override { QOR::msgLangSet(m_saved); }

private:
    const wchar_t* m_saved = nullptr;
};

} // namespace

TEST(Countries, TableEndsWithNullCodeAndCodesAreUnique) {
    const QOR::Country_st* table = QOR::dlCountries();
    int count = 0;
    for (const QOR::Country_st* c = table; c->code; ++c, ++count) {
        EXPECT_NE(c->name, nullptr);
        EXPECT_EQ(QOR::countryFind(c->code), c);
        if (c->fallback) {
            EXPECT_NE(QOR::countryFind(c->fallback), nullptr);
        }
    }
    EXPECT_GE(count, 2);
    EXPECT_STREQ(table[0].code, L"de");
    static_assert(sizeof(QOR::Country_st) == 4 * sizeof(void*));
    EXPECT_EQ(QOR::countryFind(L"EN"), &table[1]);
    EXPECT_EQ(QOR::countryFind(L"xx"), nullptr);
    EXPECT_EQ(QOR::countryFind(nullptr), nullptr);
}

TEST_F(Messages, LookUpInEachBundledLanguage) {
    EXPECT_STREQ(qor_msg_get(L"QOR_", L"QOR_MFC_0002", L"x", L"de"), L"Wert darf nicht größer sein als");
    EXPECT_STREQ(qor_msg_get(L"QOR_", L"QOR_MFC_0002", L"x", L"en"), L"Value must not be greater than");
    EXPECT_STREQ(qor_msg_get(L"QOR_", L"QOR022", nullptr, L"DE"), L"Eintragung notwendig");
}

TEST_F(Messages, MissingKeyOrLanguageGivesTheDefaultOrEnglish) {
    const wchar_t* fallback = L"Vorgabe";
    EXPECT_EQ(qor_msg_get(L"QOR_", L"QOR_NO_SUCH_KEY", fallback, L"de"), fallback);
    EXPECT_EQ(qor_msg_get(L"QOR_", L"QOR_NO_SUCH_KEY", nullptr, L"en"), nullptr);
    EXPECT_EQ(qor_msg_get(L"QOR_", L"QOR001", fallback, L"xx"), fallback); // unknown language
    EXPECT_EQ(qor_msg_get(L"QOR_", L"QOR001", fallback, L"0"), fallback);
    EXPECT_EQ(qor_msg_get(L"OLV_", L"QOR001", fallback, L"de"), fallback); // no catalogue of that family
    EXPECT_EQ(qor_msg_get(L"QOR_", nullptr, fallback, L"de"), fallback);
    EXPECT_STREQ(qor_msg_get(L"QOR_", L"QOR001", fallback, L"fr"), L"Error"); // known, but no catalogue
}

TEST_F(Messages, CurrentLanguageDecidesWhenNoneIsGiven) {
    EXPECT_STREQ(QOR::msgLangSet(L"EN"), L"en");
    EXPECT_STREQ(qor_msg_get(nullptr, L"QOR001", L"Fehler", nullptr), L"Error");
    EXPECT_STREQ(QOR::msgLangSet(L"klingon"), L"en"); // unknown: unchanged
    EXPECT_STREQ(QOR::msgLangSet(nullptr), L"en");
    EXPECT_STREQ(QOR::msgBoxTitle(nullptr), L"Qor");
    QOR::msgLangSet(L"de");
    EXPECT_STREQ(qor_msg_get(L"QOR_", L"QOR001", L"?", L""), L"Fehler");
}

TEST_F(Messages, TextsStayValidAcrossLookups) {
    const wchar_t* first = qor_msg_get(L"QOR_", L"QOR_MFC_0010", nullptr, L"de");
    for (int i = 0; i < 20; ++i)
        qor_msg_get(L"QOR_", L"QOR_MFC_0011", nullptr, i % 2 ? L"de" : L"en");
    EXPECT_STREQ(first, L"Kein Text ausgewählt");
}

TEST_F(Messages, UnitNamesInTheLanguage) {
    const CQorArrayTempl<CQorString> de = QOR::acad_units(L"de");
    const CQorArrayTempl<CQorString> en = QOR::acad_units(L"en");
    ASSERT_EQ(de.len(), Qor::kUnitCount);
    ASSERT_EQ(en.len(), Qor::kUnitCount);
    EXPECT_EQ(de[Qor::kUnitInch], L"Zoll");
    EXPECT_EQ(en[Qor::kUnitMillimeter], L"Millimeters");
    EXPECT_EQ(QOR::acad_units(L"xx")[Qor::kUnitFoot], L"Fuß");
}

TEST(FileFind, BundledThenAbsoluteThenNothing) {
    CQorString found;
    ASSERT_TRUE(QOR::fileFind(found, L"messages/qor_de.json"));
    EXPECT_EQ(found.view().front(), L'/');
    EXPECT_NE(found.find(L"qor_de.json"), -1);
    CQorString again;
    EXPECT_TRUE(QOR::fileFind(again, found));
    EXPECT_EQ(again, found);
    CQorString untouched(L"kept");
    EXPECT_FALSE(QOR::fileFind(untouched, L"messages/none.json"));
    EXPECT_FALSE(QOR::fileFind(untouched, L"/no/such/file"));
    EXPECT_FALSE(QOR::fileFind(untouched, L"messages")); // a folder is no file
    EXPECT_FALSE(QOR::fileFind(untouched, nullptr));
    EXPECT_FALSE(QOR::fileFind(untouched, L""));
    EXPECT_EQ(untouched, L"kept");
}

TEST(FileFind, SearchPathComesBeforeTheBundledFiles) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qor_test_file_find";
    std::filesystem::create_directories(folder / "messages");
    std::ofstream(folder / "messages" / "qor_de.json") << "{}";
    QOR::CCfgBackup backup(L"*QOR_SEARCH_PATH*");
    const CQorString folderText = CQorString::fromUtf8(folder.string());
    ASSERT_TRUE(QOR::cfg_get(L"*QOR_SEARCH_PATH*")->set((L"/no/such/folder; " + folderText).c_str()));
    CQorString found;
    ASSERT_TRUE(QOR::fileFind(found, L"messages/qor_de.json"));
    EXPECT_EQ(found.find(folderText), 0);

    CQorArrayTempl<CQorString> folders{CQorString(L"/no/such/folder")};
    ASSERT_TRUE(QOR::cfg_get(L"*QOR_SEARCH_PATH*")->set(folders));
    ASSERT_TRUE(QOR::fileFind(found, L"messages/qor_de.json"));
    EXPECT_EQ(found.find(folderText), -1); // the bundled file
    std::filesystem::remove_all(folder);
}

TEST(HelpFind, LocationsComeFromTheConfiguration) {
    QOR::CCfgBackup backup(L"*HELP*");
    CQorDataItem* help = QOR::cfg_dir_make(L"*HELP*");
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->set(L"https://example.org/help/<topic>.html", L"Qor"));
    ASSERT_TRUE(help->set(L"messages/qor_en.json", L"Rel"));
    ASSERT_TRUE(help->set(L"/opt/help/olv.chm", L"OLV"));
    CQorString location;
    ASSERT_TRUE(QOR::help_find(L"qor", location));
    EXPECT_EQ(location, L"https://example.org/help/<topic>.html");
    ASSERT_TRUE(QOR::help_find(L"Rel", location));
    EXPECT_EQ(location.view().front(), L'/');
    ASSERT_TRUE(QOR::help_find(L"OLV", location));
    EXPECT_EQ(location, L"/opt/help/olv.chm");
    CQorString untouched(L"kept");
    EXPECT_FALSE(QOR::help_find(L"TRQ", untouched));
    EXPECT_FALSE(QOR::help_find(nullptr, untouched));
    EXPECT_EQ(untouched, L"kept");
}

TEST_F(Messages, MessageBoxTitleFromTheHostElseTheCatalogue) {
    QOR::CCfgBackup backup(L"*QOR_HOST*\\TITLE");
    ASSERT_TRUE(QOR::cfg_dir_make(L"*QOR_HOST*")->set(L"OLV Konstruktion", L"TITLE"));
    EXPECT_STREQ(QOR::msgBoxTitle(nullptr), L"OLV Konstruktion");
    ASSERT_TRUE(QOR::cfg_dir_make(L"*QOR_HOST*")->set(L"", L"TITLE"));
    EXPECT_STREQ(QOR::msgBoxTitle(L"en"), L"Qor");
}
