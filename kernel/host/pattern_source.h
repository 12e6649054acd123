#pragma once

// Where the default host finds hatch pattern definitions by name (its patternGet).

#include "qor/kernel/data/hatch_pattern.h"

namespace QOR {

/// Fills def with the pattern name, its lengths converted from the unit of its file to the current
/// drawing unit (QOR::acadUnitCv; lengths of a file without a unit are taken as they stand; angles are
/// never converted). Looks, in this order, in the file "<name>.pat" (the name as given, then in lower
/// case), where a single pattern lives by the product family's convention, and then in the bundled
/// library "patterns/qor.pat"; both are found through the file search, so a file of the same name on the
/// search path wins over a bundled one. False, leaving def empty, for a null or unknown name.
///
/// Files are read on first use and again when their size or time changes; the messages of a reading go
/// to standard error once. Any thread: the process-wide cache of files is guarded by a mutex, held while
/// a file is read and the definition copied out (not while the host is asked for the drawing unit).
QOR_EXPORT bool patternFind(const wchar_t* name, CQorPatternDef& def) noexcept;

/// The lengths of def (every entry but the angle) converted from unit `from` to unit `to` (Qor::lUnit
/// values; -1 the current drawing unit).
QOR_EXPORT void patternConvert(CQorPatternDef& def, int from, int to) noexcept;

} // namespace QOR
