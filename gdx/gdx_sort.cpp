// Draw order: the six classes of displListSort.

#include <cstdint>
#include <vector>

#include "qor/gdx/gdx_p.h"
#include "qor/kernel/base/status.h"

namespace {

/// Class 0..5 of an item in draw order: regions, other items, REFER items, HIGHLIGHT regions, other
/// HIGHLIGHT items, pictures.
int drawClass(const CQorDisplayItem& item) noexcept {
    const int t = item.m_type;
    const int c = QOR::gdxColorMode(item.m_flags);
    if (t == QorDisplayPicture) return 5;
    if (c == QOR::GdxColorRefer) return 2;
    if (c == QOR::GdxColorHighlight) return t == QorDisplayReg ? 3 : 4;
    return t == QorDisplayReg ? 0 : 1;
}

constexpr int kClasses = 6;

} // namespace

void CQorGDX::displListSort() {
    const int n = m_list.len();
    if (n < 2 || m_sortedAt == m_revision.value()) return;
    QOR::detail::guarded(false, [&] {
        CQorDisplayItem* items = m_list.data();
        int count[kClasses] = {};
        bool ordered = true;
        int last = 0;
        for (int i = 0; i < n; ++i) {
            const int c = drawClass(items[i]);
            ++count[c];
            ordered = ordered && c >= last;
            last = c;
        }
        // Concatenating the classes gives ascending item numbers exactly when the classes never descend.
        // A list painted again is in order already: it allocates nothing.
        if (ordered) {
            m_sortedAt = m_revision.value();
            return true;
        }
        m_revision.bump();
        std::vector<std::uint8_t> classes(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            classes[std::size_t(i)] = std::uint8_t(drawClass(items[i]));
        // Stable counting sort applied in place: from[k] is the item that belongs at position k. Each
        // cycle of that permutation is rotated through one spare item, so every item moves once and no
        // second list is allocated.
        int next[kClasses];
        for (int c = 0, at = 0; c < kClasses; ++c) {
            next[c] = at;
            at += count[c];
        }
        std::vector<int> from(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            from[std::size_t(next[classes[std::size_t(i)]]++)] = i;
        for (int k = 0; k < n; ++k) {
            if (from[std::size_t(k)] == k) continue;
            CQorDisplayItem spare(std::move(items[k]));
            int at = k;
            for (int src = from[std::size_t(at)]; src != k; src = from[std::size_t(at)]) {
                items[at] = std::move(items[src]);
                from[std::size_t(at)] = at;
                at = src;
            }
            items[at] = std::move(spare);
            from[std::size_t(at)] = at;
        }
        m_sortedAt = m_revision.value();
        return true;
    });
}
