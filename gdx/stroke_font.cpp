// The process-wide font map and how the glyph table fills it.
#include "qor/gdx/stroke_font.h"

#include <atomic>
#include <mutex>

#include "qor/gdx/stroke_font_p.h"
#include "qor/kernel/base/status.h"

namespace QOR::detail {

namespace {

/// Reads the glyph table one count or coordinate at a time; any read past the end fails the whole fill.
class TableCursor {
public:
    explicit TableCursor(const StrokeFontTable& table) : m_table(table) {}

    /// The next count of the layout, which must be at least min.
    bool count(int& out, int min) {
        if (m_layout >= m_table.layout.size()) return false;
        out = m_table.layout[m_layout++];
        return out >= min;
    }
    bool point(CQorPoint3d& out) {
        if (m_table.points.size() - m_points < 2) return false;
        out = {m_table.points[m_points], m_table.points[m_points + 1], 0.0};
        m_points += 2;
        return true;
    }

private:
    const StrokeFontTable& m_table;
    std::size_t m_layout = 0;
    std::size_t m_points = 0;
};

/// Reads one closed loop of n corners.
bool readLoop(TableCursor& in, int n, CQorVertexArray& loop) {
    CQorPoint3d first, prev;
    if (!in.point(first)) return false;
    prev = first;
    loop.reserve(n);
    for (int i = 1; i < n; ++i) {
        CQorPoint3d p;
        if (!in.point(p)) return false;
        loop.append(prev, p);
        prev = p;
    }
    loop.append(prev, first);
    return true;
}

bool readGlyph(TableCursor& in, wchar_t& code, CQorStrokeGroups& glyph) {
    int c = 0, shapes = 0;
    if (!in.count(c, 1) || !in.count(shapes, 1)) return false;
    code = wchar_t(c);
    for (int s = 0; s < shapes; ++s) {
        int loops = 0;
        if (!in.count(loops, 1)) return false;
        CQorArrayTempl<CQorVertexArray>& group = glyph[glyph.len()];
        for (int l = 0; l < loops; ++l) {
            int corners = 0;
            if (!in.count(corners, 3) || !readLoop(in, corners, group[group.len()])) return false;
        }
    }
    return true;
}

} // namespace

int fillStrokeFontMap(StrokeFontMap& map, const StrokeFontTable& table) {
    TableCursor in(table);
    int inserted = 0;
    for (int glyphs : table.routineGlyphs) {
        if (glyphs < 0) return -1;
        for (int g = 0; g < glyphs; ++g) {
            wchar_t code = 0;
            CQorStrokeGroups glyph;
            if (!readGlyph(in, code, glyph)) return -1;
            map.set(code, std::move(glyph));
            ++inserted;
        }
    }
    return inserted;
}

} // namespace QOR::detail

namespace {

/// The font map, filled once and read-only from then on, so that looking a glyph up takes no lock.
struct FontMap {
    QOR::detail::StrokeFontMap map;
    std::atomic<bool> filled{false};
    std::mutex fillLock;
};

FontMap& fontMap() {
    static FontMap font;
    return font;
}

/// The filled map, or null when it cannot be filled. The fill goes into a fresh map that is swapped in
/// whole, under the lock, before `filled` is published; so a fill that fails (a malformed table, or cut
/// short by lack of memory) leaves the map empty and is tried again on the next call.
const QOR::detail::StrokeFontMap* filledMap() {
    FontMap& font = fontMap();
    if (font.filled.load(std::memory_order_acquire)) return &font.map;
    const std::lock_guard<std::mutex> guard(font.fillLock);
    if (!font.filled.load(std::memory_order_relaxed)) {
        QOR::detail::StrokeFontMap filled;
        if (QOR::detail::fillStrokeFontMap(filled, QOR::detail::kStrokeFont) < 0)
            return QOR::detail::fail(QOR::detail::Status::BadInput), nullptr;
        font.map.swap(filled);
        font.filled.store(true, std::memory_order_release);
    }
    return &font.map;
}

} // namespace

CQorStrokeGroups get_ascii_from_map(wchar_t c) {
    return QOR::detail::guarded(CQorStrokeGroups(), [&] {
        CQorStrokeGroups glyph;
        if (const QOR::detail::StrokeFontMap* map = filledMap()) map->lookup(c, glyph);
        return glyph;
    });
}
