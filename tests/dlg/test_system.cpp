// The family's module names and starting programs.
#include <gtest/gtest.h>

#include <filesystem>

#include "qor/dlg/system.h"

TEST(System, AppFileNameNamesLoadedModules) {
    CQorString path = L"unchanged";
    // The dialog library is linked into this test program: its module is the program.
    ASSERT_TRUE(QOR::appFileName(path, L"Qor", L"Mfc", L"Dll"));
    EXPECT_TRUE(std::filesystem::exists(path.toUtf8())) << path.toUtf8();
    EXPECT_FALSE(QOR::appFileName(path, L"Qor", L"Obj", L"Dll")); // not loaded here
    EXPECT_EQ(path, L"libqor_objects.so");
    path = L"unchanged";
    EXPECT_FALSE(QOR::appFileName(path, nullptr, L"Mfc", L"Dll"));
    EXPECT_EQ(path, L"unchanged");
}

TEST(System, ExecuteWaitsOrNot) {
    EXPECT_TRUE(QOR::execute(L"true", 0, false));
    EXPECT_FALSE(QOR::execute(L"false", 0, false));
    EXPECT_TRUE(QOR::execute(L"sleep 0", 0, true));
    EXPECT_FALSE(QOR::execute(L"/no/such/program", 0, true));
    EXPECT_FALSE(QOR::execute(nullptr, 0, true));
}
