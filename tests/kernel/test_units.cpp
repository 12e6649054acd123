#include <gtest/gtest.h>

#include "qor/kernel/locale/units.h"

#include <cmath>
#include <limits>

TEST(AcadUnitCv, EveryUnitInMetres) {
    const double metres[Qor::kUnitCount] = {1,
                                            0.0254,
                                            0.3048,
                                            1609.344,
                                            0.001,
                                            0.01,
                                            1,
                                            1000,
                                            2.54e-8,
                                            2.54e-5,
                                            0.9144,
                                            1e-10,
                                            1e-9,
                                            1e-6,
                                            0.1,
                                            10,
                                            100,
                                            1e9,
                                            1.495978707e11,
                                            9.4607304725808e15,
                                            3.0856775814914e16};
    for (int unit = 1; unit < Qor::kUnitCount; ++unit)
        EXPECT_DOUBLE_EQ(QOR::acadUnitCv(1.0, unit, Qor::kUnitMeter), metres[unit]) << "unit " << unit;
}

TEST(AcadUnitCv, CommonFactorsAreTheNearestDoubles) {
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitInch, Qor::kUnitMillimeter), 25.4);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitMillimeter, Qor::kUnitInch), 1.0 / 25.4);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitFoot, Qor::kUnitInch), 12.0);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitMile, Qor::kUnitFoot), 5280.0);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitYard, Qor::kUnitFoot), 3.0);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitMil, Qor::kUnitInch), 0.001);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitMeter, Qor::kUnitMillimeter), 1000.0);
    EXPECT_EQ(QOR::acadUnitCv(1.0, Qor::kUnitMillimeter, Qor::kUnitMeter), 0.001);
    EXPECT_DOUBLE_EQ(QOR::acadUnitCv(1.0, Qor::kUnitParsec, Qor::kUnitAngstrom), 3.0856775814914e26);
}

TEST(AcadUnitCv, CurrentUnitIsMillimetresWithoutHost) {
    EXPECT_EQ(QOR::acad_unit_get(), Qor::kUnitMillimeter);
    double factor = 0;
    EXPECT_EQ(QOR::acadUnitCv(2.0, Qor::kUnitInch, Qor::kUnitCurrent, factor), 50.8);
    EXPECT_EQ(factor, 25.4);
    EXPECT_EQ(QOR::acadUnitCv(0.21, 4, -1), 0.21);
}

TEST(AcadUnitCv, UnitlessAndBadUnitsConvertNothing) {
    double factor = 0;
    EXPECT_EQ(QOR::acadUnitCv(3.5, Qor::kUnitNone, Qor::kUnitInch, factor), 3.5);
    EXPECT_EQ(factor, 1.0);
    EXPECT_EQ(QOR::acadUnitCv(3.5, Qor::kUnitMeter, Qor::kUnitNone), 3.5);
    EXPECT_EQ(QOR::acadUnitCv(3.5, 21, Qor::kUnitMeter), 3.5);
    EXPECT_EQ(QOR::acadUnitCv(3.5, Qor::kUnitMeter, -7), 3.5);
    EXPECT_TRUE(std::isnan(QOR::acadUnitCv(std::nan(""), Qor::kUnitMeter, Qor::kUnitInch)));
}

TEST(AutoPrec, FollowsTheScaleOfTheCurrentUnitAndTheFormat) {
    // The current unit is millimetres here.
    EXPECT_EQ(QOR::autoPrec(2, Qor::kUnitMillimeter, Qor::kFormatDecimal), 2);
    EXPECT_EQ(QOR::autoPrec(2, Qor::kUnitMeter, Qor::kFormatDecimal), 0);     // 2 decimals of m -> mm
    EXPECT_EQ(QOR::autoPrec(1, Qor::kUnitInch, Qor::kFormatDecimal), 0);      // round(log10(1/25.4)) = -1
    EXPECT_EQ(QOR::autoPrec(4, Qor::kUnitMicron, Qor::kFormatScientific), 7); // 1e-4 um = 1e-7 mm
    EXPECT_EQ(QOR::autoPrec(3, -1, Qor::kFormatEngineering), 3);
    EXPECT_EQ(QOR::autoPrec(-5, -1, Qor::kFormatDecimal), 0);
    EXPECT_EQ(QOR::autoPrec(99, -1, Qor::kFormatDecimal), 16);
    EXPECT_EQ(QOR::autoPrec(std::numeric_limits<int>::max(), 4, 2), 16);
    // Fraction formats count bits of the denominator instead of decimals.
    EXPECT_EQ(QOR::autoPrec(0, -1, Qor::kFormatArchitectural), 0);
    EXPECT_EQ(QOR::autoPrec(1, -1, Qor::kFormatArchitectural), 4); // 1/16 resolves tenths
    EXPECT_EQ(QOR::autoPrec(2, -1, Qor::kFormatFractional), 7);
    EXPECT_EQ(QOR::autoPrec(8, 4, Qor::kFormatFractional), 8);
}
