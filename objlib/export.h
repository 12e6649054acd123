#pragma once

// QOR_OBJECTS_EXPORT marks what the shared library qor_objects offers its callers; everything else stays
// hidden. QOR_BUILDING_OBJECTS is defined only while qor_objects itself is compiled.
#if defined(_WIN32)
#if defined(QOR_BUILDING_OBJECTS)
#define QOR_OBJECTS_EXPORT __declspec(dllexport)
#else
#define QOR_OBJECTS_EXPORT __declspec(dllimport)
#endif
#else
#define QOR_OBJECTS_EXPORT __attribute__((visibility("default")))
#endif
