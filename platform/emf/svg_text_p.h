#pragma once

// Text of SVG documents: numbers, colours and base64, appended to a UTF-8 string. Only the SVG writer
// (emf_svg.cpp) includes this. Every function appends ASCII only, so what it writes needs no escaping
// in an attribute value.

#include <charconv>
#include <cstdint>
#include <span>
#include <string>

#include "qor/platform/win_types.h"

namespace QOR::detail::svg {

/// The shortest fixed-point form that reads back as v ("10.5", "3"); never an exponent.
inline void appendNumber(std::string& out, double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    out.append(buf, r.ec == std::errc() ? r.ptr : buf);
}

/// A whole number in decimal.
inline void appendInt(std::string& out, std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

/// A COLORREF (0x00bbggrr) as #rrggbb; the high byte is ignored.
inline void appendColor(std::string& out, COLORREF c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const unsigned rgb[3] = {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
    out += '#';
    for (unsigned v : rgb) {
        out += kHex[v >> 4];
        out += kHex[v & 0xF];
    }
}

/// bytes in base64 with padding, on one line (for data: URIs).
inline void appendBase64(std::string& out, std::span<const unsigned char> bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v =
            (std::uint32_t(bytes[i]) << 16) | (std::uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        for (int k = 18; k >= 0; k -= 6)
            out += kAlphabet[(v >> k) & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const std::uint32_t v =
            (std::uint32_t(bytes[i]) << 16) | (two ? std::uint32_t(bytes[i + 1]) << 8 : 0);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += two ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
}

} // namespace QOR::detail::svg
