#pragma once

// The JSON form of a display list (UTF-8 text): how qor-render, the tests' fixtures and the demo files
// hold display lists. Every field of the list and of each item is kept, so saving, loading and saving
// again gives the same text and an equal list (CQorGDX::operator==), doubles bit for bit.
//
//  {
//    "qor_gdx": 1,                          format version; required
//    "background": COLOR,
//    "pdSize": 0.0, "pdMode": 0,            list point defaults
//    "projection": MATRIX, "view": MATRIX, "zoom": MATRIX, "viewDirection": MATRIX,
//    "extents": [] or [POINT, POINT],      kept as stored, not recomputed on loading
//    "viewMin": POINT, "viewMax": POINT,
//    "colorTable": [COLOR, ...],           slot 1 first
//    "items": [ITEM, ...]                  in list order
//  }
//  ITEM: {"type": 1, "flags": 0, "stack": [5, 2], "color": COLOR, "linetype": [1.0], "ltscale": 1.0,
//         "point": POINT, "pdMode": 4294967295, "pdSize": 0.0, "vl": POLYLINE, "regions": [POLYLINE, ...],
//         "matrix": MATRIX, "fillColor": COLOR, "thickness": 0,
//         "hatch": {"name": "ANSI31", "angle": 0.0, "scale": 1.0, "double": false},
//         "align": "TL", "text": "...", "strokes": [[POLYLINE, ...], ...]}
//        Only "type" is required; the writer leaves out every member that holds a default item's value
//        (see CQorDisplayItem), and the reader takes a missing member as that value. The same holds for
//        the members of "hatch". Text items (type 5) are the exception for "strokes": when it is missing
//        the reader lays the strokes out from "text", "align" and "point" (CQorGDX::imageTxt), and the
//        writer leaves it out exactly when that gives the item's strokes bit for bit. A text item is
//        thus written by hand as {"type": 5, "text": "...", "align": "BC", "point": [x, y, 0], ...}.
//        Texts longer than 10 000 characters are not laid out by the reader: they need "strokes"; nor
//        are more than 200 000 characters in all across the items of one list (the reader fails with
//        "too much text to lay out; give its strokes"), so the writer keeps the strokes of the texts past
//        that budget.
//  POINT: [x, y, z]. MATRIX: four rows of four numbers, [[m00, m01, m02, m03], ...] (translation in
//        column 3). POLYLINE: an array of vertices, each [start x, y, z, end x, y, z, bulge].
//  COLOR: a plain colour index (-1 to 255), or {"index": 7, "trueColor": "#RRGGBB", "book": "...",
//        "name": "..."} with all but "index" optional.
//  Numbers: a double is a JSON number written with the shortest digits that read back to the same value
//        (-0.0 included), or one of the strings "nan", "inf", "-inf". flags and pdMode are unsigned 32-bit,
//        type, stack ids, thickness and colour indices signed 32-bit integers.
//
// The reader is strict: any other shape, a missing required member, a value of the wrong type or out of
// range, or an unknown member makes it fail, and the display list is then left unchanged. Unknown members
// are refused so that a misspelt name is not silently dropped.

#include <filesystem>
#include <string>
#include <string_view>

#include "qor/gdx/gdx.h"

namespace QOR {

/// Writes gdx as JSON text into out: one line, or with pretty set each member of the list and each item
/// on a line of its own. False only when memory runs out.
QOR_EXPORT bool gdxToJson(const CQorGDX& gdx, std::string& out, bool pretty = true) noexcept;

/// Reads JSON text into gdx, replacing it entirely. On failure gdx is unchanged and, when error is
/// given, it receives a short English reason.
QOR_EXPORT bool gdxFromJson(CQorGDX& gdx, std::string_view text, std::string* error = nullptr) noexcept;

/// Reads a file (gdxFromJson); a missing or unreadable file is an error too.
QOR_EXPORT bool gdxReadJsonFile(CQorGDX& gdx, const std::filesystem::path& file,
                                std::string* error = nullptr) noexcept;

/// Writes a file atomically: a temporary file in the same folder, then renamed over file.
QOR_EXPORT bool gdxWriteJsonFile(const CQorGDX& gdx, const std::filesystem::path& file) noexcept;

} // namespace QOR
