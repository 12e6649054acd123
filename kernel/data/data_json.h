#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/export.h"

class CQorDataItem;

// The JSON form of a data item (UTF-8 text).
//
//  - A directory is a JSON object; its members are its children in order. A member name is the child's key:
//    a text key as it stands, a short key as "#" and its decimal value ("#12"), a handle key as "&" and its
//    text ("&2A7F"). A text key that begins with one of # & $ \ is written with a leading backslash
//    ("\#1" is the text key "#1").
//  - Plain JSON values stand for the kinds that JSON has: true/false a bool, an integer an int (it must
//    fit 32 bits), a number with a fraction or an exponent a double, a string a text, null a fresh item
//    holding nothing.
//  - Every other value is an object with exactly one member whose name starts with "$":
//      {"$ulong": 4000000000}             unsigned long
//      {"$double": "nan"}                 a double that JSON cannot write ("nan", "inf", "-inf"); any
//                                         double may be written this way, also as a number
//      {"$int": 7}                        an int, the same as 7
//      {"$ints": [5, 7]}                  array of ints
//      {"$strs": ["A", "B"]}              array of texts
//      {"$point": [x, y, z]}              CQorPoint3d
//      {"$points": [[x, y, z], ...]}      CQorPoint3dArray
//      {"$vl": [[[sx, sy, sz], [ex, ey, ez], bulge], ...]}
//                                         CQorVertexArray: one [start, end, bulge] per vertex
//      {"$vll": [[vertex, ...], ...]}     list of vertex arrays, each as in "$vl"
//      {"$matrix": [[m00, m01, m02, m03], [m10, ...], [...], [...]]}
//                                         CQorMatrix3d, row by row (entry[row][column])
//    Inside arrays a double may also be one of the three strings above.
//  - Doubles are written with the shortest digits that read back to the same bits, so values round-trip
//    exactly, -0.0 included.
//  - Anything else is malformed: a plain array, an unknown "$" tag, an object mixing a "$" member with
//    others, an int out of range, a short key out of range, nesting deeper than kMaxJsonDepth.

namespace QOR {

/// Deepest nesting of directories and arrays that the reader accepts.
constexpr int kMaxJsonDepth = 256;

/// Writes item (its value or its directory; its own key is not part of the form) as JSON text. indent < 0
/// gives one line. False only when out of memory.
QOR_EXPORT bool dataToJson(const CQorDataItem& item, std::string& out, int indent = 2) noexcept;

/// Reads JSON text into item, replacing its content but keeping its key. On failure item is unchanged and,
/// when error is given, it receives a short English reason.
QOR_EXPORT bool dataFromJson(CQorDataItem& item, std::string_view text,
                             std::string* error = nullptr) noexcept;

/// Reads a JSON file (dataFromJson); a missing or unreadable file is an error too.
QOR_EXPORT bool dataReadJsonFile(CQorDataItem& item, const std::filesystem::path& file,
                                 std::string* error = nullptr) noexcept;

/// Reads a kernel object file: either the JSON form of the object's root item, or, for an object with a
/// linked object, {"$object": {"data": <root item>, "linked": <object as here>}}. chain receives the
/// root items: [0] the object's, [1] its linked object's, [2] that one's, and so on. On failure chain is
/// unchanged.
QOR_EXPORT bool objectFromJson(CQorArrayTempl<CQorDataItem>& chain, std::string_view text,
                               std::string* error = nullptr) noexcept;

/// Writes a JSON file atomically (a temporary file in the same folder, then renamed over file).
QOR_EXPORT bool dataWriteJsonFile(const CQorDataItem& item, const std::filesystem::path& file) noexcept;

} // namespace QOR
