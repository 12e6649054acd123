#include <gtest/gtest.h>

#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_access.h"
#include "qor/kernel/data/data_iterator.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("qor_test_config_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        ::unsetenv("QOR_CONFIG");
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path write(const char* name, const std::string& text) {
        const auto file = m_dir / name;
        std::ofstream(file) << text;
        return file;
    }

    QOR::CCfgBackup m_backup; // every test leaves the configuration as it found it
    std::filesystem::path m_dir;
};

} // namespace

TEST_F(ConfigTest, BundledDefaultsHoldTheEntriesCallersRead) {
    CConfig config;
    ASSERT_TRUE(config.load(CConfig::defaultsFile(), {}));
    const CQorDataItem* root = config.getCfgRoot();
    for (const wchar_t* key :
         {L"PDSIZE", L"PDMODE", L"HIGHLIGHT", L"REFER", L"AXIS", L"BASE", L"AUX", L"BACKGROUND"}) {
        int value = -1;
        EXPECT_TRUE(root->get(value, CQorDataKey(L"OLV_MENU", L"COLOR", key))) << key;
    }
    double size = -1; // read as a double as well as an int
    EXPECT_TRUE(root->get(size, L"OLV_MENU\\COLOR\\PDSIZE"));
    CQorString appl;
    EXPECT_TRUE(root->get(appl, L"*APPL*"));
    EXPECT_TRUE(root->getItem(L"*HOLE*")->isDir());
    EXPECT_TRUE(root->getItem(L"*WALL_EDIT*")->isDir());
    EXPECT_EQ(root->getItem(L"*WALL_EDIT*\\BT"), nullptr);
}

TEST_F(ConfigTest, UserFileMergesOverTheDefaults) {
    const auto defaults = write("defaults.json", R"({"A": 1, "D": {"X": 1, "Y": 2}, "V": {"$ints": [1]}})");
    const auto user = write("user.json", R"({"NEW": "n", "D": {"Y": 20, "Z": 30}, "A": {"SUB": 1}, "V": 5})");
    CConfig config;
    ASSERT_TRUE(config.load(defaults, user));
    const CQorDataItem* root = config.getCfgRoot();
    std::wstring order;
    for (QOR::CDataIterator it(root); !it.done(); it.next())
        order += it.key()->text(), order += L' ';
    EXPECT_EQ(order, L"A D V NEW ");
    int v = 0;
    EXPECT_TRUE(root->get(v, L"D\\X"));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(root->get(v, L"D\\Y"));
    EXPECT_EQ(v, 20);
    EXPECT_TRUE(root->get(v, L"D\\Z"));
    EXPECT_TRUE(root->get(v, L"A\\SUB")); // a directory replaces a value
    EXPECT_TRUE(root->get(v, L"V"));      // and a value a different value
    EXPECT_EQ(v, 5);
}

TEST_F(ConfigTest, MalformedUserFileIsReportedOnceAndDefaultsStay) {
    const auto defaults = write("defaults.json", R"({"A": 1})");
    const auto user = write("broken.json", R"({"A": 2,)");
    CConfig config;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(config.load(defaults, user));
    EXPECT_FALSE(config.load(defaults, user));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("broken.json"), std::string::npos);
    EXPECT_EQ(err.find("broken.json"), err.rfind("broken.json")); // once
    int a = 0;
    EXPECT_TRUE(config.getCfgRoot()->get(a, L"A"));
    EXPECT_EQ(a, 1);

    const auto notDir = write("value.json", "3");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(config.load(defaults, notDir));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(config.load(defaults, m_dir / "missing.json")); // no user file is normal
}

TEST_F(ConfigTest, EnvironmentNamesTheUserFile) {
    const auto user = write("env.json", R"({"*APPL*": "TRQ"})");
    ::setenv("QOR_CONFIG", user.c_str(), 1);
    EXPECT_EQ(CConfig::userFile(), user);
    ASSERT_TRUE(QOR::cfgMgrPtr()->reload());
    CQorString appl;
    EXPECT_TRUE(QOR::dataItemGet(QOR::cfg_get(L"*APPL*"), {}, appl));
    EXPECT_EQ(appl, L"TRQ");
    EXPECT_NE(QOR::cfg_get(L"OLV_MENU\\COLOR\\HIGHLIGHT"), nullptr); // defaults still there
}

TEST_F(ConfigTest, DirectoriesKeysAndBackups) {
    EXPECT_EQ(QOR::cfg_get(L""), nullptr);
    EXPECT_EQ(QOR::cfg_dir_make(L""), nullptr);
    CQorDataItem* outline = QOR::cfg_dir_make(L"*QOR_OUTLINE*");
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(QOR::cfg_dir_make(L"*QOR_OUTLINE*"), outline);
    EXPECT_EQ(QOR::cfg_dir_make(L"*APPL*"), nullptr); // a value is in the way

    CQorDataKey key;
    EXPECT_TRUE(QOR::getCfgKey(key, L"HOLE"));
    EXPECT_EQ(key, CQorDataKey(L"*HOLE*"));
    EXPECT_EQ(key.len(), 1);
    EXPECT_TRUE(QOR::getCfgKey(key, L"*HOLE*"));
    EXPECT_FALSE(QOR::getCfgKey(key, L"NONE"));
    EXPECT_EQ(key, CQorDataKey(L"*NONE*"));
    EXPECT_FALSE(QOR::getCfgKey(key, nullptr));
    EXPECT_TRUE(key.isEmpty());

    {
        QOR::CCfgBackup hole(CQorDataKey(L"*HOLE*"));
        QOR::CCfgBackup wall(L"*WALL_EDIT*\\BT");
        QOR::cfgMgrPtr()->getCfgRoot()->set(L"M1", CQorDataKey(L"*HOLE*", L"BT"));
        QOR::cfgMgrPtr()->getCfgRoot()->set(4, CQorDataKey(L"*WALL_EDIT*", L"BT"));
        EXPECT_NE(QOR::cfg_get(L"*HOLE*\\BT"), nullptr);
    }
    EXPECT_EQ(QOR::cfg_get(L"*HOLE*\\BT"), nullptr);
    EXPECT_EQ(QOR::cfg_get(L"*WALL_EDIT*\\BT"), nullptr);
    {
        QOR::CCfgBackup dismissed(L"*HOLE*");
        QOR::cfgMgrPtr()->getCfgRoot()->set(1, L"*HOLE*\\X");
        dismissed.dismiss();
    }
    EXPECT_NE(QOR::cfg_get(L"*HOLE*\\X"), nullptr); // the change stays
}

TEST(ConfigBackup, WholeTreeComesBack) {
    const CQorDataItem before(*QOR::cfgMgrPtr()->getCfgRoot());
    {
        QOR::CCfgBackup all;
        QOR::cfgMgrPtr()->getCfgRoot()->remove(L"OLV_MENU");
        QOR::cfgMgrPtr()->getCfgRoot()->set(1, L"EXTRA");
    }
    EXPECT_EQ(*QOR::cfgMgrPtr()->getCfgRoot(), before);
}
