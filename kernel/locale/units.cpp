#include "qor/kernel/locale/units.h"

#include "qor/kernel/base/status.h"
#include "qor/kernel/host/host_app.h"

#include <algorithm>
#include <cmath>

namespace {

// A unit's length in metres as mantissa x 10^exponent. Every mantissa is an integer below 2^53, so it
// is exact in a double; a conversion then needs one division and rounds once (see unitFactor).
struct DecimalLength {
    double mantissa;
    int exponent;
};

constexpr DecimalLength kUnitMetres[Qor::kUnitCount] = {
    {1, 0},                // unitless (never used for conversion)
    {254, -4},             // inch
    {3048, -4},            // foot
    {1609344, -3},         // mile
    {1, -3},               // millimetre
    {1, -2},               // centimetre
    {1, 0},                // metre
    {1, 3},                // kilometre
    {254, -10},            // microinch
    {254, -7},             // mil
    {9144, -4},            // yard
    {1, -10},              // angstrom
    {1, -9},               // nanometre
    {1, -6},               // micron
    {1, -1},               // decimetre
    {1, 1},                // dekametre
    {1, 2},                // hectometre
    {1, 9},                // gigametre
    {1495978707, 2},       // astronomical unit
    {94607304725808.0, 2}, // light year
    {30856775814914.0, 3}, // parsec
};

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isRealUnit(int unit) noexcept {
    return unit > Qor::kUnitNone && unit < Qor::kUnitCount;
}

int resolveUnit(int unit) noexcept {
    return unit == Qor::kUnitCurrent ? int(QOR::acad_unit_get()) : unit;
}

// Units of `to` per unit of `from`, both real units. The power of ten joins the mantissa on the side
// where it keeps the operands exact, so the quotient is the correctly rounded factor for all but the
// most extreme pairs (parsecs to angstroms), which still come within an ulp or two.
double unitFactor(int from, int to) noexcept {
    const DecimalLength& a = kUnitMetres[from];
    const DecimalLength& b = kUnitMetres[to];
    const int shift = a.exponent - b.exponent; // at most 26 in magnitude
    double num = a.mantissa;
    double den = b.mantissa;
    const double power = kPowersOfTen[std::min(std::abs(shift), 22)] *
                         (std::abs(shift) > 22 ? kPowersOfTen[std::abs(shift) - 22] : 1.0);
    if (shift >= 0)
        num *= power;
    else
        den *= power;
    return num / den;
}

} // namespace

namespace QOR {

Qor::lUnit acad_unit_get() noexcept {
    const int unit =
        detail::guarded(int(Qor::kUnitMillimeter), [] { return int(qorAppPtr()->drawingUnit()); });
    return unit >= Qor::kUnitNone && unit < Qor::kUnitCount ? static_cast<Qor::lUnit>(unit)
                                                            : Qor::kUnitMillimeter;
}

double acadUnitCv(double value, int from, int to, double& factor) noexcept {
    from = resolveUnit(from);
    to = resolveUnit(to);
    factor = 1.0;
    if (!isRealUnit(from) || !isRealUnit(to) || from == to) return value;
    factor = unitFactor(from, to);
    return value * factor;
}

double acadUnitCv(double value, int from, int to) noexcept {
    double factor;
    return acadUnitCv(value, from, to, factor);
}

int autoPrec(int precision, int unit, int format) noexcept {
    int decimals = std::clamp(precision, 0, 64);
    const int current = resolveUnit(Qor::kUnitCurrent);
    if (isRealUnit(unit) && isRealUnit(current) && unit != current)
        decimals += int(std::lround(std::log10(unitFactor(current, unit))));
    decimals = std::clamp(decimals, 0, 16);
    if (format == Qor::kFormatArchitectural || format == Qor::kFormatFractional)
        return std::min(int(std::ceil(decimals * std::log2(10.0))), 8);
    return decimals;
}

} // namespace QOR
