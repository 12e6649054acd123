#pragma once

#include "qor/kernel/base/export.h"

class CQorString;
template <class T>
class CQorArrayTempl;

namespace Qor {

/// Drawing units, numbered as AutoCAD's INSUNITS system variable. Each unit's length in metres is
/// given next to it. kUnitCurrent is not a unit: it stands for the current drawing unit
/// (QOR::acad_unit_get) wherever a unit is passed.
enum lUnit : int {
    kUnitCurrent = -1,
    kUnitNone = 0,          // unitless: converts nothing
    kUnitInch = 1,          // 0.0254
    kUnitFoot = 2,          // 0.3048
    kUnitMile = 3,          // 1609.344
    kUnitMillimeter = 4,    // 0.001
    kUnitCentimeter = 5,    // 0.01
    kUnitMeter = 6,         // 1
    kUnitKilometer = 7,     // 1000
    kUnitMicroinch = 8,     // 2.54e-8
    kUnitMil = 9,           // 2.54e-5
    kUnitYard = 10,         // 0.9144
    kUnitAngstrom = 11,     // 1e-10
    kUnitNanometer = 12,    // 1e-9
    kUnitMicron = 13,       // 1e-6
    kUnitDecimeter = 14,    // 0.1
    kUnitDekameter = 15,    // 10
    kUnitHectometer = 16,   // 100
    kUnitGigameter = 17,    // 1e9
    kUnitAstronomical = 18, // 1.495978707e11
    kUnitLightYear = 19,    // 9.4607304725808e15
    kUnitParsec = 20,       // 3.0856775814914e16
};

/// Number of real units (0 to kUnitParsec).
inline constexpr int kUnitCount = 21;

/// Length formats, numbered as AutoCAD's LUNITS system variable. kFormatCurrent stands for the host's
/// current length format where a caller asks for it.
enum lFormat : int {
    kFormatCurrent = -1,
    kFormatScientific = 1,    // 1.7500E+01
    kFormatDecimal = 2,       // 17.50
    kFormatEngineering = 3,   // 1'-5.50"   (one drawing unit is one inch)
    kFormatArchitectural = 4, // 1'-5 1/2"  (one drawing unit is one inch)
    kFormatFractional = 5,    // 17 1/2
};

} // namespace Qor

namespace QOR {

/// The names of the drawing units in the language `country` (null: the current language), entry i
/// naming unit i (kUnitCount entries). Texts of the message keys "QOR_UNIT_00" to "QOR_UNIT_20", with
/// the German names as defaults.
QOR_EXPORT CQorArrayTempl<CQorString> acad_units(const wchar_t* country) noexcept;

/// The current drawing unit as the host reports it (qorAppPtr()->drawingUnit(); the default host reads
/// the configuration, millimetres unless it says otherwise); millimetres for an answer that is no unit.
QOR_EXPORT Qor::lUnit acad_unit_get() noexcept;

/// Converts a length from one drawing unit to another. Either unit may be kUnitCurrent (-1, the
/// current drawing unit). When either unit is unitless (0) or not a unit at all, nothing is converted:
/// the value comes back unchanged. The factors are kept as exact decimals, so the common conversions
/// (inch to millimetre is 25.4) are the nearest doubles to the true factor.
QOR_EXPORT double acadUnitCv(double value, int from, int to) noexcept;
/// As above, and stores the factor applied (units of `to` per unit of `from`; 1 when nothing is
/// converted) in `factor`.
QOR_EXPORT double acadUnitCv(double value, int from, int to, double& factor) noexcept;

/// The precision to format lengths of the current drawing unit with, in the terms `format` counts it.
///
/// `precision` is a number of decimals chosen for lengths in `unit`. When `unit` is a real unit
/// and differs from the current drawing unit, the decimals follow the change of scale: two decimals of
/// millimetres become five in metres and three in inches (round(log10(ratio)) more or fewer). With
/// `unit` -1 (or 0) the precision is taken as meant for the current unit already.
///
/// Scientific, decimal and engineering formats count decimals: the result is 0 to 16. Architectural
/// and fractional formats count the power of two of the largest denominator: the decimals d become
/// ceil(d x log2(10)) bits, at most 8 (1/256), so a fraction is never coarser than the decimals asked
/// for. A negative precision counts as 0.
QOR_EXPORT int autoPrec(int precision, int unit, int format) noexcept;

} // namespace QOR
