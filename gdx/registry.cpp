#include "qor/gdx/registry.h"

#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/status.h"

namespace {

using Registry = CQorMapTempl<int, CQorGDX>;

/// Built on first use so that loading the library constructs nothing it may not need; a function-local
/// static is destroyed at unload with every list still in it.
Registry& registry() {
    static Registry map;
    return map;
}

} // namespace

int gdxMapKeyNew() noexcept {
    const Registry& map = registry();
    int key = 1;
    while (map.contains(key))
        ++key;
    return key;
}

void gdxMapSetAt(int key, CQorGDX& gdx) noexcept {
    QOR::detail::guarded(false, [&] {
        registry().set(key, gdx);
        return true;
    });
}

bool gdxMapRemoveAt(int key) noexcept {
    return registry().removeKey(key);
}

CQorGDX* getGdxFromMap(int key) noexcept {
    return registry().find(key);
}
