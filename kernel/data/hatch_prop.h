#pragma once

#include "qor/kernel/base/string.h"

namespace QOR {

/// How a region is hatched: a pattern by name, turned and scaled as a whole.
class CHatchProp {
public:
    /// No pattern: empty name, angle 0, scale 1, single family.
    CHatchProp() = default;
    /// A pattern `name` turned by `angleRad` (radians, counter-clockwise) and scaled by `scale` (every
    /// length of the pattern definition is multiplied by it); `isDouble` adds, for user-defined patterns,
    /// a second family of lines at angleRad + pi/2.
    CHatchProp(const wchar_t* name, double angleRad, double scale, bool isDouble)
        : m_name(name), m_angle(angleRad), m_scale(scale), m_double(isDouble) {}

    bool operator==(const CHatchProp& other) const noexcept {
        return m_name == other.m_name && m_angle == other.m_angle && m_scale == other.m_scale &&
               m_double == other.m_double;
    }

    CQorString m_name;     // pattern name
    double m_angle = 0.0;  // radians, rotation of the whole pattern
    double m_scale = 1.0;  // multiplies every length of the pattern definition
    bool m_double = false; // user-defined patterns: add the family at m_angle + pi/2
};

} // namespace QOR
