#include "qor/image/registry.h"

#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"

namespace {

using Registry = CQorMapTempl<CQorString, QOR::GdxImageFcn>;

/// Built on first use; a function-local static is destroyed, with every name, at unload.
Registry& registry() {
    static Registry map;
    return map;
}

} // namespace

namespace QOR {

void setGdxImageFcn(const wchar_t* name, GdxImageFcn fcn) noexcept {
    if (name == nullptr) return;
    // Out of memory leaves the registry as it was.
    detail::guardedAt("setGdxImageFcn", false, [&] {
        const CQorString key(name);
        if (fcn == nullptr)
            registry().removeKey(key);
        else
            registry().set(key, fcn);
        return true;
    });
}

} // namespace QOR

bool qor_gdx_image(const wchar_t* name, CQorGDX* gdx, QOR::CDtaFilePointer* object,
                   QOR::CDtaFilePointer* options) noexcept {
    if (name == nullptr) return false;
    // A generator is our own code or the host's; whatever it throws stays on this side.
    return QOR::detail::guardedAt("qor_gdx_image", false, [&] {
        QOR::GdxImageFcn fcn = nullptr;
        return registry().lookup(CQorString(name), fcn) && fcn(gdx, object, options);
    });
}
