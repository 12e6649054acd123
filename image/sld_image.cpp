#include "qor/image/sld_image.h"

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/slide/gdx_sld.h"

namespace {

/// True for "LEER" in any mixture of cases.
bool isEmptySlide(const wchar_t* name) {
    const wchar_t* empty = L"LEER";
    for (; *name != 0 && *empty != 0; ++name, ++empty)
        if (CQorString::toUpper(*name) != *empty) return false;
    return *name == 0 && *empty == 0;
}

bool drawSlide(CQorGDX* gdx, const wchar_t* name, const wchar_t* library, DWORD flags,
               const CQorDataItem* parm) {
    if (gdx == nullptr || name == nullptr) return false;
    if (isEmptySlide(name)) {
        gdx->imagePt({}, QOR::GdxItemHidden, CQorPoint3d::kOrigin, CQorColor(), CQorMatrix3d(), 0.0,
                     QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
        return true;
    }
    if (library == nullptr) return false;
    QOR::CGdxSld slide;
    return slide.load(name, library) && slide.convert(gdx, flags, parm);
}

} // namespace

bool qor_gdx_image_sld(CQorGDX* gdx, const wchar_t* name, const wchar_t* library, DWORD flags,
                       CQorDataItem* parm) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_sld", false,
                                  [&] { return drawSlide(gdx, name, library, flags, parm); });
}
