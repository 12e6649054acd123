#include "qor/objlib/layer.h"

#include "qor/kernel/base/color.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/data/data_item.h"

namespace QOR {

namespace {

constexpr const wchar_t* kTable = L"*LAYER*";

/// The table entry of one layer; the name is one key component, so a backslash in it splits nothing.
const CQorDataItem* layerEntry(const wchar_t* layer) noexcept {
    return cfg_get(CQorDataKey(kTable, layer));
}

} // namespace

bool layer_color(CQorColor& color, const wchar_t* layer) noexcept {
    const wchar_t* name = layer != nullptr && *layer != 0 ? layer : L"0";
    if (dataItemGet(layerEntry(name), {}, color)) return true;
    if (!dataItemGet(layerEntry(L"0"), {}, color)) color = CQorColor(7);
    return false;
}

bool phys_layer(CQorString& name, const wchar_t* logical, const CQorDataItem* item) noexcept {
    if (logical == nullptr || *logical == 0) return false;
    CQorString own;
    if (item != nullptr && item->isDir() && item->get(own, CQorDataKey(logical)) && !own.isEmpty()) {
        name = own;
        return true;
    }
    if (layerEntry(logical) == nullptr) return false;
    name = logical;
    return true;
}

bool getBtLayer(const CQorDataItem* item, CQorString& first, CQorString& second) noexcept {
    first = L"0";
    second = L"0";
    if (item == nullptr || !item->isDir()) return false;
    CQorString text;
    if (item->get(text, L"PART") && !text.isEmpty()) first = text;
    second = first;
    if (item->get(text, L"PART_HID") && !text.isEmpty())
        second = text;
    else
        phys_layer(second, L"VERDECKT", nullptr);
    return true;
}

} // namespace QOR
