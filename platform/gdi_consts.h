#pragma once

// GDI's constants, with their Win32 values (metafile records store them as they are).

#include "qor/platform/win_types.h"

// Raster operations of BitBlt (d = destination, s = source). The others answer false.
constexpr DWORD SRCCOPY = 0x00CC0020;   // d = s
constexpr DWORD SRCPAINT = 0x00EE0086;  // d = d | s
constexpr DWORD SRCAND = 0x008800C6;    // d = d & s
constexpr DWORD SRCINVERT = 0x00660046; // d = d ^ s
constexpr DWORD DSTINVERT = 0x00550009; // d = ~d (no source)
constexpr DWORD BLACKNESS = 0x00000042; // d = 0 (no source)
constexpr DWORD WHITENESS = 0x00FF0062; // d = 1 (no source)

// Region combination.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Region complexity, the result of region functions. RGN_ERROR is GDI's ERROR (0), renamed because a
// macro called ERROR is defined by too many other headers.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles (solid and null only; dashes reach the device already laid out as segments).
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Brush styles.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
