#pragma once

// The enhanced-metafile player: draws a metafile onto any device context through CDC's public calls only,
// so that a metafile can be checked (played onto a raster DC and compared), viewed and converted.
//
// Conventions
//  - Records played: the ones CMetaFileDC writes (emf_records_p.h) plus EMR_POLYGON, EMR_POLYLINE and
//    EMR_POLYPOLYGON with 32-bit points, EMR_BITBLT with a bitmap, EMR_PAINTRGN, EMR_INTERSECTCLIPRECT,
//    EMR_EXCLUDECLIPRECT, EMR_SAVEDC and EMR_RESTOREDC. Other records (text, paths, transforms, palettes,
//    comments) are skipped. A record that cannot be played is skipped too; playing goes on.
//  - Placement: without a rect, records are drawn at their recorded device coordinates. With a rect,
//    the frame's pixel box [left, right + 1) x [top, bottom + 1) at the reference device's resolution is
//    mapped onto the rect: points are scaled and rounded to the nearest pixel, pen widths by the mean
//    scale, bitmaps resampled by nearest pixel.
//  - The DC's state is saved before and restored after playing, and playing starts from GDI's defaults
//    (black pen, white brush, white background, black text, opaque, alternate fill, position (0, 0)).
//    The metafile's clip regions are cut to the DC's clip box at the start.
//  - Malformed data never crash: a record whose size field is not a multiple of 4, is below 8 or runs
//    past the end stops playing, and any count inside a record is checked against the record's size.

#include "qor/kernel/base/export.h"
#include "qor/platform/dc.h"
#include "qor/platform/emf/metafile.h"

/// Plays the metafile onto pDC (see Conventions). False when pDC is null or not created, the metafile is
/// null, or its records stop before the end record.
QOR_EXPORT BOOL PlayEnhMetaFile(CDC* pDC, const HENHMETAFILE& hemf, const RECT* lpRect) noexcept;
