#pragma once

#include <string>

#include "qor/kernel/base/export.h"

class CQorString;

// Lengths as text, in the forms AutoCAD's rtos writes and distof reads.
//
// Formats (Qor::lFormat), shown for 17.5 at the reference precision with no zero suppression:
//   1 scientific     precision 4  1.7500E+01   mantissa with `precision` decimals, E, sign, two or more
//                                              exponent digits
//   2 decimal        precision 2  17.50        `precision` decimals
//   3 engineering    precision 2  1'-5.50"     feet, a hyphen, inches with `precision` decimals
//   4 architectural  precision 2  1'-5 1/2"    feet, a hyphen, whole inches, a blank, a reduced fraction
//   5 fractional     precision 2  17 1/2       whole units, a blank, a reduced fraction
// Engineering and architectural take one drawing unit as one inch (12 to the foot). For formats 1 to 3
// the precision counts decimals (0 to 16); for formats 4 and 5 it is the power of two of the largest
// denominator (0 to 8: 2 means quarters, 8 means 1/256). Precisions outside those ranges are clamped.
//
// Rounding: decimals round half away from zero on the shortest decimal text of the value (the digits
// that read back as the same double), so 1.005 at two decimals is 1.01, as the user who typed it
// expects, and not the 1.00 its binary value would give. Fractions round the value to the nearest
// 1/2^precision, halves away from zero. A rounding carry runs into the higher places: 11 15/16 inches
// at precision 2 is 1'-0". A value that rounds to zero is written without a minus sign. Next to the
// largest double a carry may write a length beyond it (-1.56e308 in scientific with no decimals is
// -2E+308); such text does not read back.
//
// Forms without a fraction or feet: architectural inches below one inch keep the "0" inch digit in the
// report form (0'-0 1/2"); a fractional value below one is written as the fraction alone (1/2).

/// Bits of the final argument of qorRtoS: which zeros are left out. 0 gives AutoCAD's report form.
enum QorRtosFlag : int {
    kRtosNoZeroFeet = 0x01,      // engineering, architectural: 0'-5" is written 5"
    kRtosNoZeroInches = 0x02,    // engineering, architectural: 1'-0" is written 1'
    kRtosNoLeadingZero = 0x04,   // decimal: 0.50 is written .50
    kRtosNoTrailingZeros = 0x08, // scientific, decimal, engineering: 17.50 is written 17.5, 17.00 as 17
    /// The compact form of edit fields and combo boxes: zero feet, zero inches and trailing zeros left
    /// out. This is the bit the controls pass.
    kRtosCompact = 0x20,
};

/// Writes `value` (drawing units) in `format` (Qor::lFormat 1 to 5) with `precision` (decimals, or for
/// formats 4 and 5 the power of two of the largest denominator), leaving out the zeros `flag`
/// (QorRtosFlag bits) names; see the top of this file. False, leaving `buffer` unchanged, for NaN,
/// infinities, other formats, or when memory runs out.
QOR_EXPORT bool qorRtoS(CQorString& buffer, double value, int format, int precision, int flag = 0) noexcept;

/// Reads a length as a CAD user types it and as qorRtoS writes it, in drawing units (feet count 12).
///
/// Accepted, with blanks allowed around the whole and between the parts:
///   [sign] number                        17.5   .5   5.   1.5e3   1.7500E+01
///   [sign] whole fraction                17 1/2   17-1/2   3/8
///   [sign] inches "                      14.5"   5 1/2"
///   [sign] feet ' [[-] inches ["]]       1'   1'2"   1'-2 1/2"   1'2-1/2"   72'3 (the inch mark is optional)
/// where a number has digits with an optional point and exponent, a fraction is integer/integer with a
/// non-zero denominator, a whole part before a fraction is an integer and feet may be any number or
/// whole-and-fraction. The sign belongs to the whole length (-1'-2" is -14). A decimal comma, a second
/// sign, letters and results outside the double range are not a length.
///
/// Text that is not a length, an empty text and null give 0.0, as C's atof does for text without a
/// number, so that a field holding garbage shows 0 and the range checks of its owner decide (no partial
/// prefix is read: "12abc" gives 0, not 12). Callers that must tell 0 from garbage use detail::distof.
QOR_EXPORT double qorAtoF(const wchar_t* text) noexcept;

namespace QOR::detail {

/// Formats value; false, leaving out untouched, for NaN, infinities and formats other than 1 to 5.
bool rtos(std::wstring& out, double value, int format, int precision, int flag);

/// Parses a length (see qorAtoF for the accepted text); false for anything else.
bool distof(const wchar_t* text, double& value) noexcept;

} // namespace QOR::detail
