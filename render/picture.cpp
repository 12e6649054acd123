#include "qor/render/picture.h"

#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/bmp_codec.h"
#include "qor/platform/ico_codec.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/platform/resources.h"

namespace {

/// The icon drawn over backColor: result = (back AND mask) XOR (colour AND NOT mask), computed with the
/// same transfers a GDI program uses, so that the rules of monochrome-to-colour transfers apply.
HBITMAP iconToBitmap(CBitmap& color, CBitmap& mask, COLORREF backColor) {
    const int w = color.width() ? color.width() : 32, h = color.height() ? color.height() : 32;
    auto result = std::make_unique<CBitmap>();
    CRasterDC target, maskDc, colorDc;
    if (!target.CreateCompatibleDC(nullptr) || !maskDc.CreateCompatibleDC(nullptr) ||
        !colorDc.CreateCompatibleDC(nullptr) || !result->CreateCompatibleBitmap(&target, w, h))
        return nullptr;
    target.SelectObject(result.get());
    target.FillSolidRect(0, 0, w, h, backColor);
    maskDc.SelectObject(&mask);
    colorDc.SelectObject(&color);
    target.BitBlt(0, 0, w, h, &maskDc, 0, 0, SRCAND);
    maskDc.BitBlt(0, 0, w, h, nullptr, 0, 0, DSTINVERT);
    colorDc.BitBlt(0, 0, w, h, &maskDc, 0, 0, SRCAND);
    target.BitBlt(0, 0, w, h, &colorDc, 0, 0, SRCINVERT);
    return result;
}

HBITMAP loadPicture(const CQorString& name, int number, int width, int height, bool& flag,
                    COLORREF backColor) {
    CBitmap color, mask;
    if (!name.isEmpty()) {
        CQorString found;
        if (!QOR::fileFind(found, name.c_str()) || found.len() <= 4) return nullptr;
        CQorString extension = found.right(4);
        extension.makeLower();
        if (extension == L".bmp") {
            auto bitmap = std::make_unique<CBitmap>();
            if (!QOR::bitmapReadBmp(*bitmap, name.c_str(), width, height)) return nullptr;
            return bitmap;
        }
        if (extension != L".ico" || !QOR::iconRead(color, mask, name.c_str(), width, height)) return nullptr;
    } else {
        const int id = number & 0xFFFF;
        // System icons come at the system icon size, whatever was asked for.
        const bool loaded = QOR::isSystemIcon(id)
                                ? QOR::iconLoadResource(color, mask, id, QOR::detail::kSystemIconSide,
                                                        QOR::detail::kSystemIconSide)
                                : QOR::iconLoadResource(color, mask, id, width, height);
        if (!loaded) return nullptr;
    }
    flag = false;
    return iconToBitmap(color, mask, backColor & 0x00FFFFFF);
}

} // namespace

HBITMAP qor_gdx_image_get_bitmap(const CQorString& name, int number, int width, int height, bool& flag,
                                 unsigned long backColor) noexcept {
    if (width < 0 || height < 0) return nullptr;
    try {
        return loadPicture(name, number, width, height, flag, COLORREF(backColor));
    } catch (...) {
        QOR::detail::fail(QOR::detail::Status::NoMemory);
        return nullptr;
    }
}

unsigned long qor_gdx_picture_bkcolor_get(CDC* dc, BITMAP* info) noexcept {
    if (!dc || !info) return CLR_INVALID;
    const int w = info->bmWidth, h = info->bmHeight;
    const int cx = int((w - 1) * 0.5), cy = int((h - 1) * 0.5);
    const POINT samples[5] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {cx, cy}, {w - 1, h - 1}};
    return QOR::detail::guarded(CLR_INVALID, [&] {
        CQorMapTempl<COLORREF, int> counts;
        for (const POINT& p : samples)
            ++counts[dc->GetPixel(p)];
        // Ascending colour order; only a strictly higher count replaces the choice, so ties go to the
        // smaller colour.
        COLORREF best = CLR_INVALID;
        int bestCount = 0;
        for (const auto& [colour, count] : counts)
            if (count > bestCount) {
                best = colour;
                bestCount = count;
            }
        return best;
    });
}

void qor_gdx_picture_transparent(CDC* dc, int x, int y, int, int, CBitmap* bitmap) noexcept {
    if (!dc || !bitmap || !bitmap->isCreated()) return;
    const COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    CRasterDC image, maskDc;
    CBitmap mask;
    BITMAP info{};
    if (image.CreateCompatibleDC(dc) && maskDc.CreateCompatibleDC(dc) && bitmap->GetBitmap(&info)) {
        image.SelectObject(bitmap);
        const COLORREF back = COLORREF(qor_gdx_picture_bkcolor_get(&image, &info));
        if (mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)) {
            maskDc.SelectObject(&mask);
            image.SetBkColor(back);
            // Background pixels become 1 in the mask, all others 0.
            maskDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &image, 0, 0, SRCCOPY);
            dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &image, 0, 0, SRCINVERT);
            dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &maskDc, 0, 0, SRCAND);
            dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &image, 0, 0, SRCINVERT);
        }
    }
    if (oldBack != CLR_INVALID) dc->SetBkColor(oldBack);
    if (oldText != CLR_INVALID) dc->SetTextColor(oldText);
}
