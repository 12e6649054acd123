#include "qor/kernel/data/data_color.h"

#include "qor/kernel/base/numbers.h"

namespace QOR {

namespace {

constexpr std::uint32_t swapRedBlue(std::uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

} // namespace

bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, CQorColor& color) noexcept {
    if (item == nullptr) return false;
    const CQorDataItem* entry = key.isEmpty() ? item : item->getItem(key);
    if (entry == nullptr) return false;
    int index = 0;
    if (entry->get(index)) return color.setColorIndex(index);
    if (!entry->isDir() || !entry->get(index, L"COLOR")) return false;
    CQorColor read;
    if (!read.setColorIndex(index)) return false;
    int rgb = 0;
    CQorString text;
    if (entry->get(rgb, L"RGB"))
        read.setColor(std::uint32_t(rgb));
    else if (entry->get(text, L"RGB"))
        read.setColor(std::uint32_t(QOR::atoi(text)));
    CQorString book, name;
    entry->get(book, L"BOOK");
    entry->get(name, L"NAME");
    if (!read.setNames(book, name)) return false;
    color = read;
    return true;
}

bool dataItemSet(CQorDataItem* item, const CQorDataKey& key, const CQorColor& color) noexcept {
    if (item == nullptr) return false;
    const bool named = *color.bookName() || *color.colorName();
    if (!color.hasTrueColor() && !named) return item->set(color.colorIndex(), key);
    // The item itself becomes the directory; entries of an earlier colour that this one lacks go.
    auto fill = [&](CQorDataItem& entry) {
        if (!entry.mkDir() || !entry.set(color.colorIndex(), L"COLOR")) return false;
        entry.remove(L"RGB");
        entry.remove(L"BOOK");
        entry.remove(L"NAME");
        if (color.hasTrueColor() && !entry.set(int(swapRedBlue(color.oleColor())), L"RGB")) return false;
        return !named || (entry.set(color.bookName(), L"BOOK") && entry.set(color.colorName(), L"NAME"));
    };
    if (key.isEmpty()) return fill(*item);
    CQorDataItem entry;
    return fill(entry) && item->setItem(entry, key);
}

} // namespace QOR
