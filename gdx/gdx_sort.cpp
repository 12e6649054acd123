// Draw order: the six classes of displListSort.

#include <cstdint>
#include <vector>

#include "gdx/gdx_p.h"
#include "kernel/status.h"

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
    if (n < 2) return;
    QOR::detail::guarded(false, [&] {
        CQorDisplayItem* items = m_list.data();
        std::vector<std::uint8_t> classes(static_cast<std::size_t>(n));
        int count[kClasses] = {};
        bool ordered = true;
        int last = 0;
        for (int i = 0; i < n; ++i) {
            const int c = drawClass(items[i]);
            classes[std::size_t(i)] = std::uint8_t(c);
            ++count[c];
            ordered = ordered && c >= last;
            last = c;
        }
        // Concatenating the classes gives ascending item numbers exactly when the classes never descend.
        if (ordered) return true;
        // Appending class by class move-constructs every item once; the extra scans only read bytes.
        CQorArrayTempl<CQorDisplayItem> sorted;
        sorted.reserve(n);
        for (int c = 0; c < kClasses; ++c) {
            if (count[c] == 0) continue;
            for (int i = 0; i < n; ++i)
                if (classes[std::size_t(i)] == c) sorted.append(std::move(items[i]));
        }
        m_list = std::move(sorted);
        return true;
    });
}
