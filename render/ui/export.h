#pragma once

// QOR_UI_EXPORT marks what the shared library qor_ui offers its callers; everything else stays hidden.
// QOR_BUILDING_UI is defined only while qor_ui itself is compiled.
#if defined(_WIN32)
#if defined(QOR_BUILDING_UI)
#define QOR_UI_EXPORT __declspec(dllexport)
#else
#define QOR_UI_EXPORT __declspec(dllimport)
#endif
#else
#define QOR_UI_EXPORT __attribute__((visibility("default")))
#endif
