#pragma once

// SVG from an enhanced metafile: the records are translated one by one into SVG elements, so that
// programs that cannot read metafiles (Inkscape, LibreOffice, browsers) get the vector drawing.
//
// Conventions
//  - User space is the metafile's device space: one user unit per recorded device pixel, y down. The
//    viewBox is the frame's pixel box at the reference device's resolution, [left, right + 1) x
//    [top, bottom + 1) as the player maps it (emf_player.h); width and height give the frame in
//    millimetres, so the picture keeps its physical size.
//  - A recorded point (x, y) names pixel (x, y); lines and outlines run through pixel centres, so their
//    points are written as (x + 0.5, y + 0.5). Rectangles of regions and bitmaps cover their pixels
//    exactly ([left, right) x [top, bottom)).
//  - Translated: lines (MoveToEx/LineTo), polylines, polygons and polypolygons (16- and 32-bit points;
//    a polypolygon is one path, so holes stay holes; fill-rule from the polygon fill mode: alternate is
//    evenodd, winding is nonzero), ellipses, rectangles, pixels, filled and painted regions, pens (colour,
//    width, the dash styles of PS_DASH to PS_DASHDOTDOT, null), solid and null brushes (a hatched brush
//    fills with its colour), stock objects, clip regions (rectangles; an excluded rectangle is not cut
//    out), SaveDC/RestoreDC, and bitmaps (EMR_BITBLT with a bitmap or a brush, EMR_STRETCHDIBITS) as
//    embedded PNG images in data: URIs. Source AND and OR raster operations become multiply and screen
//    blending, which gives the same result for the black-and-white masks they are used with.
//  - Unknown records (text, paths, transforms, palettes, comments) are skipped, as are records whose
//    counts do not fit their size; the rest is still written.
//  - The output is UTF-8 and well-formed XML whatever the records say: it holds numbers and fixed names
//    only.
//  - Malformed data never crash: a header that does not check out, an empty frame, a record whose size
//    field is below 8, not a multiple of 4 or runs past the end, or no end record gives false.

#include <span>
#include <string>

#include "qor/kernel/base/export.h"
#include "qor/platform/emf/metafile.h"

namespace QOR {

/// Writes the SVG document of the metafile into svg (replacing its content). False when the metafile is
/// null or malformed (see Conventions); svg is then unchanged.
QOR_EXPORT bool enhMetaFileToSvg(const HENHMETAFILE& hemf, std::string& svg) noexcept;

/// The same for metafile bytes (a whole metafile, header first).
QOR_EXPORT bool enhMetaFileBytesToSvg(std::span<const unsigned char> bytes, std::string& svg) noexcept;

/// Writes the SVG document of the metafile to path (UTF-8 on disk), atomically. False when the metafile
/// is null or malformed or writing fails; an earlier file at path is then left as it was.
QOR_EXPORT bool enhMetaFileWriteSvg(const HENHMETAFILE& hemf, const wchar_t* path) noexcept;

} // namespace QOR
