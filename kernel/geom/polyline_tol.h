#pragma once

// Tolerances and limits of the polyline kernel (vertex.h, vertex_array.h and the polyline_*.h functions).
// All lengths are in drawing units.

namespace QOR {

/// Distance within which a point counts as lying on a segment, an arc or a region boundary, and within
/// which two intersection or break points are the same point. A millionth of a drawing unit is far below
/// anything a display or a machine resolves, yet well above the rounding that intersection and transform
/// arithmetic leaves on coordinates up to 1e6 (about 1e6 * 2^-52 per operation).
inline constexpr double kOnTol = 1e-6;

/// A bulge whose magnitude is below this is a straight segment: over a chord of 1e6 units its sagitta is
/// below 1e-6 units (kOnTol), so no caller could tell the arc from the line.
inline constexpr double kBulgeTol = 1e-12;

/// Most chords one arc is split into, whatever deviation is asked for. A full circle of radius 1e6 split
/// into this many chords deviates by less than 0.02 units; more would only cost memory.
inline constexpr int kMaxChords = 16384;

/// Most dashes vl_measure lays along one polyline. A pattern denser than this (a tiny dash on a huge
/// path) is drawn as the continuous path instead, so a bad scale cannot exhaust memory.
inline constexpr int kMaxDashes = 1 << 20;

} // namespace QOR
