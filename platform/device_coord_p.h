#pragma once

// Conversion of coordinates into device space.
//
// Conventions
//  - Device coordinates are ints limited to [-kDeviceLimit, kDeviceLimit]: GDI keeps its device space to
//    28 bits, and the limit leaves every sum, difference and product of two coordinates room in 64 bits.
//    Every drawing call of CDC clamps what it is given into that range before anything else sees it, so a
//    coordinate of INT_MIN or INT_MAX can neither overflow nor make a loop run for billions of rows.
//  - Doubles become device coordinates by deviceCoord(): NaN becomes 0, other values are clamped to the
//    limit and then truncated toward zero. No other code converts.

#include <cmath>
#include <cstdint>

namespace QOR {

constexpr int kDeviceLimit = (1 << 27) - 1;

constexpr int clampDevice(std::int64_t v) noexcept {
    return v > kDeviceLimit ? kDeviceLimit : (v < -kDeviceLimit ? -kDeviceLimit : int(v));
}

inline int deviceCoord(double v) noexcept {
    if (std::isnan(v)) return 0;
    if (v >= kDeviceLimit) return kDeviceLimit;
    if (v <= -kDeviceLimit) return -kDeviceLimit;
    return int(v); // truncation toward zero
}

} // namespace QOR
