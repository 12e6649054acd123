#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorColor;
class CQorDataItem;

// Layers: the configuration's layer table "*LAYER*" maps each layer name to its colour, in the colour form
// of kernel/data/data_color.h (a bare AutoCAD colour index, or a directory with "COLOR" and a true colour
// "RGB" 0x00RRGGBB). Layer "0" is the fallback of every name the table lacks. Names compare exactly.
//
//   "*LAYER*": {"0": 7, "KONTUR": 7, "VERDECKT": 8, "ACHSE": 1, "BOHRUNG": {"COLOR": 4, "RGB": 32960}}

namespace QOR {

/// The colour of layer: its entry in the layer table, else the entry of layer "0", else AutoCAD colour
/// index 7. True when the table has an entry for layer itself (a null layer reads as "0").
QOR_OBJECTS_EXPORT bool layer_color(CQorColor& color, const wchar_t* layer) noexcept;

/// The physical (drawing) layer of a logical one, such as "ACHSE" for centre lines: the text under the key
/// logical in item, when item is a directory that holds one (an object naming its own layers, as a
/// drilling's "PART_SOLID"), else logical itself when the layer table has it. Otherwise name keeps what it
/// held (callers start it as "0") and the result is false.
QOR_OBJECTS_EXPORT bool phys_layer(CQorString& name, const wchar_t* logical,
                                   const CQorDataItem* item) noexcept;

/// The two layers of an element: first for its visible edges, second for its hidden ones. first is the
/// element's "PART" text (the part layer), "0" when it has none; second its "PART_HID" text, else the
/// table's layer "VERDECKT" when it exists, else first. False for a null or non-directory item, which
/// gives "0" for both.
QOR_OBJECTS_EXPORT bool getBtLayer(const CQorDataItem* item, CQorString& first, CQorString& second) noexcept;

} // namespace QOR
