#pragma once

// QOR_EXPORT marks what the shared library qor_core offers its callers; everything else stays hidden
// (the library is built with hidden default visibility). QOR_BUILDING_CORE is defined only while the
// library itself is compiled.
#if defined(_WIN32)
#if defined(QOR_BUILDING_CORE)
#define QOR_EXPORT __declspec(dllexport)
#else
#define QOR_EXPORT __declspec(dllimport)
#endif
#else
#define QOR_EXPORT __attribute__((visibility("default")))
#endif
