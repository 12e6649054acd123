#include <gtest/gtest.h>

#include "qor/kernel/base/numbers.h"

#include <climits>
#include <cmath>
#include <string>

TEST(Atof, ReadsTheLeadingNumber) {
    EXPECT_EQ(QOR::atof(L"  12.5mm"), 12.5);
    EXPECT_EQ(QOR::atof(L"+3e2"), 300.0);
    EXPECT_EQ(QOR::atof(L"-.5"), -0.5);
    EXPECT_EQ(QOR::atof(L"1,5"), 1.0); // ',' is not a decimal separator
    EXPECT_EQ(QOR::atof(L"7e"), 7.0);
    EXPECT_EQ(QOR::atof(L"abc"), 0.0);
    EXPECT_EQ(QOR::atof(L"--5"), 0.0);
    EXPECT_EQ(QOR::atof(L"-+5"), 0.0);
    EXPECT_EQ(QOR::atof(L""), 0.0);
    EXPECT_EQ(QOR::atof(nullptr), 0.0);
    EXPECT_TRUE(std::isinf(QOR::atof(L"-inf")));
    EXPECT_TRUE(QOR::isNan(QOR::atof(L"nan")));
    EXPECT_TRUE(QOR::isNan(QOR::nan()));
    EXPECT_FALSE(QOR::isNan(HUGE_VAL));
}

TEST(Atof, OutOfRangeSaturatesInsteadOfFailing) {
    EXPECT_EQ(QOR::atof(L"1e999"), HUGE_VAL);
    EXPECT_EQ(QOR::atof(L"-1e999"), -HUGE_VAL);
    EXPECT_EQ(QOR::atof(L"1e-999"), 0.0);
    EXPECT_EQ(QOR::atof(L"1e-99999999999999999999"), 0.0);
    EXPECT_EQ(QOR::atof((L"0." + std::wstring(400, L'0') + L"1").c_str()), 0.0);
    EXPECT_EQ(QOR::atof((L"1" + std::wstring(400, L'0')).c_str()), HUGE_VAL);
}

TEST(Atoi, ClampsInsteadOfOverflowing) {
    EXPECT_EQ(QOR::atoi(L" -42x"), -42);
    EXPECT_EQ(QOR::atoi(L"+16711680"), 16711680);
    EXPECT_EQ(QOR::atoi(L"2147483647"), INT_MAX);
    EXPECT_EQ(QOR::atoi(L"2147483648"), INT_MAX);
    EXPECT_EQ(QOR::atoi(L"-2147483648"), INT_MIN);
    EXPECT_EQ(QOR::atoi(L"-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(QOR::atoi(L"3.9"), 3);
    EXPECT_EQ(QOR::atoi(L"x1"), 0);
    EXPECT_EQ(QOR::atoi(nullptr), 0);
}
