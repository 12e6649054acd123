#pragma once

// File > Save as: what qor-view shows, written as a PNG picture, an enhanced metafile or an SVG
// document. Every file is written atomically: a reader never sees half of it, and a failed write leaves
// an earlier file as it was.

#include <optional>

#include <wx/string.h>

#include "qor/platform/bitmap.h"
#include "qor/platform/emf/metafile.h"

enum class SaveFormat { Png, Emf, Svg };

/// The format by the extension of path (.png, .emf, .svg, any letter case); none for another.
std::optional<SaveFormat> saveFormatOf(const wxString& path);

/// The wildcard of File > Save as, in the order of SaveFormat.
wxString saveFilter();

/// The extension (without the dot) of format.
const char* extensionOf(SaveFormat format);

/// Writes bitmap as PNG; false when it is not created or the file cannot be written.
bool writePng(const CBitmap& bitmap, const wxString& path);

/// Writes metafile as EMF or SVG (format must be one of them); false when it is null or the file cannot
/// be written.
bool writeMetafile(const HENHMETAFILE& metafile, SaveFormat format, const wxString& path);

/// The metafile played at width x height pixels onto a white 32-bit bitmap; false, bitmap not created,
/// for a null metafile or a size below 1 x 1.
bool playToBitmap(const HENHMETAFILE& metafile, int width, int height, CBitmap& bitmap);
