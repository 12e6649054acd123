#pragma once

// AutoCAD hatch pattern files (.pat) and the pattern definitions read from them.
//
// File format, as this reader takes it
//  - Text, UTF-8 (ASCII in practice); a byte-order mark is skipped; lines end in LF, CR LF or CR.
//  - ';' starts a comment that runs to the end of the line. Blank lines are ignored anywhere, so a
//    missing blank line after the last pattern, or several of them, make no difference.
//  - "*NAME[, description]" starts a pattern. The name is everything up to the first comma, trimmed; it
//    may hold blanks ("*5x16 Staggered", as other CAD programs write them) and is matched without regard
//    to case. The description is everything after the first comma, trimmed.
//  - Every following line up to the next header is one pattern line
//    "angle, x, y, delta-x, delta-y [, dash ...][,]": angle in degrees, the line origin (x, y), the shift
//    along the line from one line to the next, the distance between lines, then the dash array (positive
//    dash, negative gap, 0 dot). One trailing comma is accepted, as some files end every line with one.
//    Numbers are decimal with an optional sign and exponent; a leading or trailing point (".125", "3.")
//    is accepted, as both the imperial and the metric files write them.
//  - A comment ";%UNITS=INCH" or ";%UNITS=MM" declares the unit of every length in the file. Without it, a
//    file whose name contains "iso" (as the metric file of the product family does) is taken as
//    millimetres; any other file has no unit and its lengths are used as they stand.
//  - A pattern with no lines is valid: it draws nothing.
//
// Bad input
//  - A pattern line that does not hold at least five finite numbers (or more than kMaxLineEntries), a
//    header without a name, or a non-comment line before the first header is a bad line. The pattern it
//    belongs to is skipped as a whole and one message "<file>:<line>: ..." is recorded for it; the other
//    patterns of the file load.
//  - When a name occurs twice, the first definition counts; the second is skipped with a message.

#include <string_view>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/string.h"

/// A hatch pattern definition: one entry per pattern line, each laid out as angle (degrees), origin x,
/// origin y, delta-x, delta-y, dashes. Lengths are in the unit of the file (see CQorPatternFile::unit).
using CQorPatternDef = CQorArrayTempl<CQorArrayTempl<double>>;

/// The patterns of one .pat file.
class QOR_EXPORT CQorPatternFile {
public:
    /// Most entries one pattern line may have (five numbers and the dashes). Real files use at most a
    /// dozen dashes; the limit keeps a corrupt line from costing memory.
    static constexpr int kMaxLineEntries = 5 + 256;
    /// Largest file read. The biggest pattern libraries in use are a few hundred kilobytes.
    static constexpr long long kMaxFileBytes = 16LL << 20;

    /// Replaces the content by the patterns of the file at path (UTF-8 on disk). False, leaving the
    /// object empty, when the file cannot be read or exceeds kMaxFileBytes; a file with bad lines still
    /// reads (true) with messages.
    bool read(const wchar_t* path) noexcept;
    /// Replaces the content by the patterns of text; fileName names the source in messages and decides
    /// the unit of a file without a declaration. False only when memory runs out.
    bool parse(std::string_view text, const wchar_t* fileName) noexcept;

    /// Fills def with the pattern name (any case). False, leaving def empty, for an unknown or null name.
    bool get(const wchar_t* name, CQorPatternDef& def) const noexcept;
    bool contains(const wchar_t* name) const noexcept;

    /// Number of patterns read, and the name (upper case) and description of pattern i in file order;
    /// empty strings for an index out of range.
    int len() const noexcept { return m_patterns.len(); }
    CQorString nameAt(int i) const noexcept;
    CQorString descriptionAt(int i) const noexcept;

    /// The unit of the file's lengths: Qor::kUnitInch, Qor::kUnitMillimeter or Qor::kUnitNone (none
    /// declared or implied by the name).
    int unit() const noexcept { return m_unit; }

    /// One message per skipped pattern (and per stray line), "<file>:<line>: <what>", in file order.
    const CQorArrayTempl<CQorString>& messages() const noexcept { return m_messages; }

private:
    struct Pattern {
        CQorString name; // upper case
        CQorString description;
        CQorPatternDef lines;
    };
    int find(const wchar_t* name) const noexcept;
    void clear() noexcept;

    CQorArrayTempl<Pattern> m_patterns;
    CQorArrayTempl<CQorString> m_messages;
    int m_unit = 0;
};
