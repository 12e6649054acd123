#pragma once

// Forward declarations of the platform layer's types, for headers that only point to them.

class CDC;
class CRasterDC;
class CMetaFileDC;
class CGdiObject;
class CPen;
class CBrush;
class CRgn;
class CBitmap;

namespace QOR {
class Region;
namespace detail {
struct Surface;
} // namespace detail
} // namespace QOR
