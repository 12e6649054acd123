#include "qor/gdx/registry.h"

#include <mutex>

#include "qor/gdx/registry_p.h"
#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/status.h"

namespace {

struct Registry {
    std::mutex lock;
    CQorMapTempl<int, CQorGDX> lists;
};

/// Built on first use so that loading the library constructs nothing it may not need; a function-local
/// static is destroyed at unload with every list still in it.
Registry& registry() {
    static Registry map;
    return map;
}

int freeKey(const CQorMapTempl<int, CQorGDX>& lists) {
    int key = 1;
    while (lists.contains(key))
        ++key;
    return key;
}

} // namespace

int gdxMapKeyNew() noexcept {
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    return freeKey(r.lists);
}

void gdxMapSetAt(int key, CQorGDX& gdx) noexcept {
    Registry& r = registry();
    QOR::detail::guarded(false, [&] {
        const std::lock_guard<std::mutex> guard(r.lock);
        r.lists.set(key, gdx);
        return true;
    });
}

bool gdxMapRemoveAt(int key) noexcept {
    // The list is destroyed under the lock; a list holds no callbacks, so that cannot re-enter.
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    return r.lists.removeKey(key);
}

CQorGDX* getGdxFromMap(int key) noexcept {
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    return r.lists.find(key);
}

int QOR::detail::gdxMapAdd(const CQorGDX& gdx) noexcept {
    Registry& r = registry();
    return guarded(-1, [&] {
        const std::lock_guard<std::mutex> guard(r.lock);
        const int key = freeKey(r.lists);
        r.lists.set(key, gdx);
        return key;
    });
}
