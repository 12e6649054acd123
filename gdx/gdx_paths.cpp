// Operations that select items by path, and the flag operations they apply.

#include <algorithm>
#include <utility>

#include "qor/gdx/gdx_p.h"
#include "qor/kernel/base/status.h"

using QOR::detail::guarded;
using QOR::detail::isUnder;
using QOR::detail::stamp;

namespace {

/// True when stack equals path exactly.
bool isExactly(const CQorArrayTempl<int>& stack, const CQorArrayTempl<int>& path) noexcept {
    return stack.len() == path.len() && isUnder(stack, path);
}

DWORD withColorMode(DWORD flags, QOR::GdxColorMode mode) noexcept {
    return ((DWORD(mode) & 15u) << QOR::kGdxColorModeShift) | (flags & 0xFFu);
}

} // namespace

/// True when op changes the extents bit of the item. Only GdxItemNoExtents (ops 3 and 4) decides
/// whether an item counts, so the other ops leave the extents as they are and need no recomputation.
bool CQorGDX::applyFlagOp(CQorDisplayItem& item, DWORD op) noexcept {
    DWORD& f = item.m_flags;
    const DWORD before = f;
    switch (op) {
    case 1:
        f &= ~0x04u;
        break;
    case 2:
        f |= 0x04u;
        break;
    case 3:
        f &= ~0x08u;
        break;
    case 4:
        f |= 0x08u;
        break;
    case 5:
        f |= 0x10u;
        break;
    case 6:
        f &= ~0x10u;
        break;
    case 7:
        f |= 0x20u;
        break;
    case 8:
        f &= ~0x20u;
        break;
    case 9:
        f |= 0x40u;
        break;
    case 10:
        f &= ~0x40u;
        break;
    default:
        break;
    }
    return ((f ^ before) & QOR::GdxItemNoExtents) != 0;
}

CQorGDX::Path CQorGDX::StackToItemNr(const Path& path) const {
    return guarded(Path{}, [&] {
        Path numbers;
        if (path.isEmpty()) return numbers;
        const CQorDisplayItem* items = m_list.data();
        for (int i = 0; i < m_list.len(); ++i)
            if (isUnder(items[i].m_stack, path)) numbers.append(i);
        return numbers;
    });
}

int CQorGDX::stackGet() const {
    int top = 0;
    for (const CQorDisplayItem& item : m_list)
        if (!item.m_stack.isEmpty()) top = std::max(top, item.m_stack.data()[0]);
    return top;
}

int CQorGDX::stackGet(const Path& path) const {
    if (path.isEmpty()) return stackGet();
    const int level = path.len();
    int result = -1;
    for (const CQorDisplayItem& item : m_list) {
        if (!isUnder(item.m_stack, path)) continue;
        result = std::max(result, 0);
        if (item.m_stack.len() > level) result = std::max(result, item.m_stack.data()[level]);
    }
    return result;
}

bool CQorGDX::propSet(const Path& path, DWORD op) {
    if (m_list.isEmpty() || path.isEmpty()) return false;
    bool moved = false;
    const bool any = forEachUnder(path, [&](CQorDisplayItem& item) { moved |= applyFlagOp(item, op); });
    if (moved) refresh_ext();
    return any;
}

bool CQorGDX::redraw(const Path& path, DWORD op) {
    if (m_list.isEmpty()) return false;
    bool moved = false;
    forEachUnder(path, [&](CQorDisplayItem& item) { moved |= applyFlagOp(item, op); });
    if (moved) refresh_ext();
    return true;
}

bool CQorGDX::cModeSet(const Path& path, QOR::GdxColorMode mode) {
    if (m_list.isEmpty() || path.isEmpty()) return false;
    return forEachUnder(path,
                        [&](CQorDisplayItem& item) { item.m_flags = withColorMode(item.m_flags, mode); });
}

bool CQorGDX::hatchSet(const Path& path, const QOR::CHatchProp& hatch) {
    if (m_list.isEmpty() || path.isEmpty()) return false;
    return guarded(false,
                   [&] { return forEachUnder(path, [&](CQorDisplayItem& item) { item.m_hatch = hatch; }); });
}

bool CQorGDX::pdModeSet(const Path& path, DWORD mode) {
    if (path.isEmpty()) return false;
    bool any = false;
    for (CQorDisplayItem& item : changeItems())
        if (isExactly(item.m_stack, path)) {
            item.m_pdMode = mode;
            stamp(item);
            any = true;
        }
    return any;
}

bool CQorGDX::pdSizeSet(const Path& path, double size) {
    if (path.isEmpty()) return false;
    bool any = false;
    for (CQorDisplayItem& item : changeItems())
        if (isExactly(item.m_stack, path)) {
            item.m_pdSize = size;
            stamp(item);
            any = true;
        }
    return any;
}

bool CQorGDX::mtxSet(const Path& path, const CQorMatrix3d& M) {
    if (m_list.isEmpty() || path.isEmpty()) return false;
    const CQorDisplayItem* reference = nullptr;
    for (const CQorDisplayItem& item : m_list) {
        if (!isUnder(item.m_stack, path)) continue;
        reference = &item;
        if (item.m_stack.len() == path.len()) break;
    }
    if (!reference) return false;
    // D takes the reference's old placement to M; applied after every item's own matrix, the whole
    // object moves rigidly with its reference.
    const CQorMatrix3d D = M * reference->m_mtx.inverse();
    forEachUnder(path, [&](CQorDisplayItem& item) { item.m_mtx = D * item.m_mtx; });
    refresh_ext();
    return true;
}

bool CQorGDX::removeItemStack(const Path& path) {
    if (m_list.isEmpty() || path.isEmpty()) return false;
    return clear(path);
}

bool CQorGDX::clear(const Path& path) {
    if (path.isEmpty()) return false;
    // Removing all matches in one pass keeps the survivors in order, exactly as removing them one by one
    // from the highest number down would, without moving the tail once per removed item.
    CQorDisplayItem* items = m_list.data();
    const int n = m_list.len();
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (isUnder(items[i].m_stack, path)) continue;
        if (kept != i) items[kept] = std::move(items[i]);
        ++kept;
    }
    if (kept == n) return false;
    changeItems().setLogicalLength(kept);
    refresh_ext();
    return true;
}

void CQorGDX::clear() {
    changeItems().clear();
    m_extents.clear();
    m_viewMin = CQorPoint3d::kOrigin;
    m_viewMax = CQorPoint3d::kOrigin;
}

void CQorGDX::flagSet(int item, DWORD op) {
    if (item < 0 || item >= m_list.len()) return;
    CQorDisplayItem& changed = changeItems().data()[item];
    stamp(changed);
    if (applyFlagOp(changed, op)) refresh_ext();
}

void CQorGDX::cFlagSet(int item, QOR::GdxColorMode mode) {
    if (item < 0 || item >= m_list.len()) return;
    CQorDisplayItem& changed = changeItems().data()[item];
    stamp(changed);
    changed.m_flags = withColorMode(changed.m_flags, mode);
}

bool CQorGDX::removeItem(int item) {
    if (item < 0 || item >= m_list.len()) return false;
    changeItems().removeAt(item);
    refresh_ext();
    return true;
}
