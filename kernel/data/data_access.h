#pragma once

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/locale/units.h"

// Reading and writing values under a key of a possibly null item, the way callers that hold item
// pointers do it: QOR::dataItemGet(entry, {}, value) reads the entry itself. Plain values, points,
// polylines, lists of polylines and matrices pass straight to CQorDataItem::get and set; units are
// stored as their int number. A null item gives false. (Colours: data_color.h.)

namespace QOR {

template <class T>
requires requires(const CQorDataItem& item, T& value) {
    item.get(value, CQorDataKey());
}
bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, T& value) noexcept {
    return item != nullptr && item->get(value, key);
}

template <class T>
requires requires(CQorDataItem& item, const T& value) {
    item.set(value, CQorDataKey());
}
bool dataItemSet(CQorDataItem* item, const CQorDataKey& key, const T& value) noexcept {
    return item != nullptr && item->set(value, key);
}

/// A unit is an int from kUnitCurrent (-1) to kUnitParsec (20); another number reads as false.
inline bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, Qor::lUnit& unit) noexcept {
    int value = 0;
    if (!dataItemGet(item, key, value) || value < Qor::kUnitCurrent || value >= Qor::kUnitCount) return false;
    unit = static_cast<Qor::lUnit>(value);
    return true;
}

inline bool dataItemSet(CQorDataItem* item, const CQorDataKey& key, Qor::lUnit unit) noexcept {
    return item != nullptr && item->set(int(unit), key);
}

/// A length format is an int: kFormatCurrent (-1) or 1 to 5 (AutoCAD's LUNITS).
inline bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, Qor::lFormat& format) noexcept {
    int value = 0;
    if (!dataItemGet(item, key, value) || value == 0 || value < Qor::kFormatCurrent ||
        value > Qor::kFormatFractional)
        return false;
    format = static_cast<Qor::lFormat>(value);
    return true;
}

inline bool dataItemSet(CQorDataItem* item, const CQorDataKey& key, Qor::lFormat format) noexcept {
    return item != nullptr && item->set(int(format), key);
}

} // namespace QOR
