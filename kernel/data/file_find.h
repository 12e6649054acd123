#pragma once

#include "qor/kernel/base/export.h"

class CQorString;

namespace QOR {

/// Finds a file by name. An absolute name is taken as it is; a relative one is looked for in each
/// folder of the configured search path in order, then in the bundled resource folder (resourceDir).
/// The search path is the configuration entry "*QOR_SEARCH_PATH*": an array of folder names, or one
/// text of folder names separated by semicolons.
/// On success `found` holds the absolute path of an existing regular file and the result is true; on
/// failure (null or empty name, nothing found) `found` is unchanged and the result is false.
QOR_EXPORT bool fileFind(CQorString& found, const wchar_t* name) noexcept;

/// The help location of `module` (a template in which "<topic>" stands for the topic: a help file, a
/// "file:" or an "http(s):" URL): the text of the configuration entry "*HELP*\<module>", the module name
/// compared exactly, then without regard to case. A help file named by a relative path is looked up
/// with fileFind and given as an absolute path when found. False, leaving `location` unchanged, when no
/// location is configured (or module is null or empty).
QOR_EXPORT bool help_find(const wchar_t* module, CQorString& location) noexcept;

/// The bundled resource folder (message catalogues, default configuration, patterns): the environment
/// variable QOR_RES_DIR when it is set and not empty, else the folder installed with the library
/// (share/qor beside the library's lib/ folder; a build tree has the same layout). Empty when neither
/// can be told, in which case only absolute names and the search path find files.
QOR_EXPORT CQorString resourceDir() noexcept;

} // namespace QOR
