#include <gtest/gtest.h>

#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/number_text.h"

#include <cmath>
#include <random>
#include <string>

namespace {

std::wstring rtos(double value, int format, int precision, int flag = 0) {
    std::wstring out = L"<unchanged>";
    QOR::detail::rtos(out, value, format, precision, flag);
    return out;
}

struct FormatCase {
    double value;
    int format;
    int precision;
    int flag;
    const wchar_t* text;
};

} // namespace

// One row per rounding, sign and flag rule of each format (1 scientific ... 5 fractional).
TEST(Rtos, EveryFormatRoundsAndSigns) {
    const FormatCase cases[] = {
        {17.5, 1, 4, 0, L"1.7500E+01"},
        {-17.5, 1, 4, 0, L"-1.7500E+01"},
        {-0.0, 1, 2, 0, L"0.00E+00"},
        {9.99996, 1, 4, 0, L"1.0000E+01"}, // the carry moves the exponent
        {0.000123456, 1, 2, 0, L"1.23E-04"},
        {1.5e300, 1, 1, 0, L"1.5E+300"},
        {17.5, 1, 4, kRtosNoTrailingZeros, L"1.75E+01"},
        {12.0, 1, 0, 0, L"1E+01"},

        {17.5, 2, 2, 0, L"17.50"},
        {-17.5, 2, 2, 0, L"-17.50"},
        {0.0, 2, 3, 0, L"0.000"},
        {-0.001, 2, 2, 0, L"0.00"}, // rounds to zero: no minus sign
        {16.5, 2, 0, 0, L"17"},     // halves away from zero, not to even
        {-2.5, 2, 0, 0, L"-3"},
        {1.005, 2, 2, 0, L"1.01"}, // rounds the digits the user typed
        {9.995, 2, 2, 0, L"10.00"},
        {0.5, 2, 2, kRtosNoLeadingZero, L".50"},
        {17.5, 2, 8, kRtosCompact, L"17.5"},
        {17.0, 2, 8, kRtosCompact, L"17"},
        {1e20, 2, 1, 0, L"100000000000000000000.0"},
        {1.0 / 3.0, 2, 40, 0, L"0.3333333333333333"}, // precision clamped to 16

        {17.5, 3, 2, 0, L"1'-5.50\""},
        {-17.5, 3, 2, 0, L"-1'-5.50\""},
        {0.0, 3, 2, 0, L"0'-0.00\""},
        {11.999, 3, 2, 0, L"1'-0.00\""}, // rounding carries into the feet
        {12.0, 3, 2, kRtosNoZeroInches, L"1'"},
        {5.25, 3, 2, kRtosNoZeroFeet, L"5.25\""},
        {17.5, 3, 4, kRtosCompact, L"1'-5.5\""},
        {123.4, 3, 1, 0, L"10'-3.4\""},

        {17.5, 4, 2, 0, L"1'-5 1/2\""},
        {-17.5, 4, 2, 0, L"-1'-5 1/2\""},
        {0.0, 4, 2, 0, L"0'-0\""},
        {11.9375, 4, 2, 0, L"1'-0\""}, // 11 15/16 at quarters carries to a foot
        {11.9375, 4, 4, 0, L"0'-11 15/16\""},
        {0.5, 4, 2, 0, L"0'-0 1/2\""},
        {0.5, 4, 2, kRtosCompact, L"1/2\""},
        {24.0, 4, 2, kRtosCompact, L"2'"},
        {1.0 / 512, 4, 8, 0, L"0'-0 1/256\""}, // half of 1/256 rounds up
        {0.1, 4, 20, 0, L"0'-0 13/128\""},     // precision clamped to 8: 25.6/256 -> 26/256
        {-0.01, 4, 2, 0, L"0'-0\""},
        {123.375, 4, 4, 0, L"10'-3 3/8\""},

        {17.5, 5, 2, 0, L"17 1/2"},
        {-1.75, 5, 2, 0, L"-1 3/4"},
        {0.0, 5, 2, 0, L"0"},
        {0.375, 5, 3, 0, L"3/8"},
        {2.99, 5, 2, 0, L"3"},
        {2.125, 5, 2, 0, L"2 1/4"},                // 8.5 quarters: half rounds away from zero
        {0x1p60, 5, 8, 0, L"1152921504606846976"}, // every digit of a huge whole kept
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(rtos(c.value, c.format, c.precision, c.flag), c.text)
            << "value " << c.value << " format " << c.format << " precision " << c.precision << " flag "
            << c.flag;
}

TEST(Rtos, RefusesWhatItCannotWrite) {
    std::wstring out = L"kept";
    EXPECT_FALSE(QOR::detail::rtos(out, std::nan(""), 2, 2, 0));
    EXPECT_FALSE(QOR::detail::rtos(out, INFINITY, 2, 2, 0));
    EXPECT_FALSE(QOR::detail::rtos(out, 1.0, 0, 2, 0));
    EXPECT_FALSE(QOR::detail::rtos(out, 1.0, 6, 2, 0));
    EXPECT_EQ(out, L"kept");
    EXPECT_EQ(rtos(1.25, 2, -3), L"1"); // negative precision counts as 0
}

TEST(AtoF, TypedForms) {
    struct {
        const wchar_t* text;
        double value;
    } cases[] = {{L"1'2\"", 14},    {L"1'-2 1/2\"", 14.5}, {L"1'2-1/2\"", 14.5},
                 {L"14.5\"", 14.5}, {L"3/8", 0.375},       {L"-1 3/4", -1.75},
                 {L"1.5e3", 1500},  {L"1.7500E+01", 17.5}, {L" -1'-2\" ", -14},
                 {L"1'", 12},       {L"+.5", 0.5},         {L"5.", 5},
                 {L"1 1/2'", 18},   {L"0'-0 1/2\"", 0.5},  {L"1' 2\"", 14},
                 {L"1/2\"", 0.5},   {L"1.5'", 18},         {L"0", 0},
                 {L"1E-3", 0.001},  {L"10'-3.4\"", 123.4}, {L"123 6/16", 123.375},
                 {L"72'3", 867}};
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_TRUE(QOR::detail::distof(c.text, value)) << CQorString(c.text).toUtf8();
        EXPECT_DOUBLE_EQ(value, c.value);
        EXPECT_DOUBLE_EQ(qorAtoF(c.text), c.value);
    }
}

TEST(AtoF, RejectsWhatIsNotALength) {
    const wchar_t* bad[] = {L"",      L"   ", L"1,5",     L"abc",   L"12abc",  L"--1",   L"1'-",    L"1/0",
                            L"1.5/2", L"1e",  L"1e999",   L"1 2",   L"1-2",    L"'",     L"1'2\"3", L"1\"\"",
                            L"1'\"",  L".",   L"- 1'2 3", L"1/2/3", L"\x00BD", L"1'-2'", L"NaN",    L"inf"};
    for (const wchar_t* text : bad) {
        double value = -99;
        EXPECT_FALSE(QOR::detail::distof(text, value)) << CQorString(text).toUtf8();
        EXPECT_EQ(value, -99);
        EXPECT_EQ(qorAtoF(text), 0.0);
    }
    EXPECT_EQ(qorAtoF(nullptr), 0.0);
}

// Whatever qorRtoS writes reads back to the value within half a step of its precision.
TEST(AtoF, ReadsBackWhatRtosWrites) {
    std::mt19937_64 random(20260105);
    std::uniform_real_distribution<double> magnitude(-6.0, 6.0);
    std::uniform_int_distribution<int> precision(0, 8);
    const int flags[] = {0, kRtosCompact, kRtosNoLeadingZero, kRtosNoZeroFeet, kRtosNoZeroInches};
    for (int format = 1; format <= 5; ++format) {
        for (int i = 0; i < 4000; ++i) {
            const double x = (i % 2 ? -1 : 1) * std::pow(10.0, magnitude(random));
            const int p = precision(random);
            const int flag = flags[i % 5];
            std::wstring text;
            ASSERT_TRUE(QOR::detail::rtos(text, x, format, p, flag));
            double back = 0;
            ASSERT_TRUE(QOR::detail::distof(text.c_str(), back))
                << "format " << format << " text size " << text.size();
            double step = format >= 4 ? std::ldexp(1.0, -p) : std::pow(10.0, -p);
            if (format == 1) step *= std::pow(10.0, std::floor(std::log10(std::fabs(x))) + 1);
            EXPECT_LE(std::fabs(back - x), step / 2 + std::fabs(x) * 1e-14)
                << "format " << format << " precision " << p << " value " << x;
        }
    }
}

TEST(Rtos, ExportedFormIntoQorString) {
    CQorString buffer(L"kept");
    EXPECT_FALSE(qorRtoS(buffer, std::nan(""), 2, 2, 0));
    EXPECT_EQ(buffer, L"kept");
    ASSERT_TRUE(qorRtoS(buffer, 29.25, 4, 2));
    EXPECT_EQ(buffer, L"2'-5 1/4\"");
    EXPECT_EQ(qorAtoF(buffer), 29.25);
}
