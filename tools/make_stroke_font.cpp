// make_stroke_font: writes gdx/stroke_font_data.cpp, the built-in stroke font, from an outline font.
//
//   g++ -std=c++20 -O2 tools/make_stroke_font.cpp $(pkg-config --cflags --libs freetype2) -o make_stroke_font
//   ./make_stroke_font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf > gdx/stroke_font_data.cpp
//
// Each glyph's outline is flattened finely, then thinned (Douglas-Peucker) to a coarse polygon: the whole
// font should stay near 1 600 straight segments, so that text costs little to store, lay out and draw.
// A glyph whose thinned outlines would cross each other, or whose holes would leave their outer outline,
// is thinned again with a smaller tolerance until its outlines are valid. Coordinates are scaled so that
// the top of "H" is 1.0 and rounded to six decimals before they are checked, so the checks hold for what
// the library reads. The output depends only on the font file and this program: same input, same bytes.
//
// Development tool only (FreeType from Debian's libfreetype-dev); the library never links FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Pt {
    double x = 0, y = 0;
};

using Loop = std::vector<Pt>;

/// Tolerance of the thinning, in cap heights: the largest distance of a dropped outline point from the
/// polygon edge that replaces it. Chosen so that the whole font comes to about 1 600 segments while
/// bowls stay round enough to read at 10 pixels.
constexpr double kTolerance = 0.034;
/// A glyph that fails its checks is retried with the tolerance halved, down to this.
constexpr double kMinTolerance = 0.001;
/// Curves are flattened into this many pieces before thinning.
constexpr int kCurveSteps = 24;

// --- Flattening the font's outline.

struct Flattener {
    std::vector<Loop> loops;
    Pt last;

    static Pt pt(const FT_Vector* v) { return {double(v->x), double(v->y)}; }

    static int moveTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<Flattener*>(user);
        self->loops.emplace_back();
        self->last = pt(to);
        self->loops.back().push_back(self->last);
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<Flattener*>(user);
        self->last = pt(to);
        self->loops.back().push_back(self->last);
        return 0;
    }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* self = static_cast<Flattener*>(user);
        const Pt a = self->last, c = pt(control), b = pt(to);
        for (int i = 1; i <= kCurveSteps; ++i) {
            const double t = double(i) / kCurveSteps, u = 1 - t;
            self->loops.back().push_back(
                {u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y});
        }
        self->last = b;
        return 0;
    }
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* self = static_cast<Flattener*>(user);
        const Pt a = self->last, p = pt(c1), q = pt(c2), b = pt(to);
        for (int i = 1; i <= kCurveSteps; ++i) {
            const double t = double(i) / kCurveSteps, u = 1 - t;
            const double wa = u * u * u, wp = 3 * u * u * t, wq = 3 * u * t * t, wb = t * t * t;
            self->loops.back().push_back(
                {wa * a.x + wp * p.x + wq * q.x + wb * b.x, wa * a.y + wp * p.y + wq * q.y + wb * b.y});
        }
        self->last = b;
        return 0;
    }
};

/// The glyph's contours as fine polygons in font units (closing point not repeated).
std::vector<Loop> flatten(FT_Face face, unsigned long code) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return {};
    FT_Outline_Funcs funcs{};
    funcs.move_to = &Flattener::moveTo;
    funcs.line_to = &Flattener::lineTo;
    funcs.conic_to = &Flattener::conicTo;
    funcs.cubic_to = &Flattener::cubicTo;
    Flattener f;
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &f) != 0) return {};
    for (Loop& loop : f.loops) {
        // Drop repeated points, including the closing one.
        Loop clean;
        for (const Pt& p : loop)
            if (clean.empty() || p.x != clean.back().x || p.y != clean.back().y) clean.push_back(p);
        while (clean.size() > 1 && clean.front().x == clean.back().x && clean.front().y == clean.back().y)
            clean.pop_back();
        loop = clean;
    }
    std::erase_if(f.loops, [](const Loop& l) { return l.size() < 3; });
    return f.loops;
}

// --- Plane geometry on polygons.

double area(const Loop& l) {
    double a = 0;
    for (std::size_t i = 0; i < l.size(); ++i) {
        const Pt& p = l[i];
        const Pt& q = l[(i + 1) % l.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

bool inside(const Loop& l, Pt p) {
    bool in = false;
    for (std::size_t i = 0, j = l.size() - 1; i < l.size(); j = i++) {
        const Pt& a = l[i];
        const Pt& b = l[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

double cross(Pt o, Pt a, Pt b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

/// Whether segments ab and cd touch or cross (shared end points count).
bool segmentsMeet(Pt a, Pt b, Pt c, Pt d) {
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    auto onSegment = [](Pt p, Pt q, Pt r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
           (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

/// True when no two edges of the polygon meet except neighbours at their shared corner.
bool isSimple(const Loop& l) {
    const std::size_t n = l.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            if (j == i + 1 || (i == 0 && j == n - 1)) continue;
            if (segmentsMeet(l[i], l[(i + 1) % n], l[j], l[(j + 1) % n])) return false;
        }
    return true;
}

/// True when an edge of a meets an edge of b.
bool loopsMeet(const Loop& a, const Loop& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            if (segmentsMeet(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()])) return true;
    return false;
}

// --- Thinning.

double distanceToSegment(Pt p, Pt a, Pt b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

void douglasPeucker(const Loop& l, std::size_t from, std::size_t to, double tol, std::vector<bool>& keep) {
    // Points from+1 .. to-1 (indices modulo the loop) against the chord from -> to.
    const std::size_t n = l.size();
    double worst = -1;
    std::size_t at = 0;
    for (std::size_t k = from + 1; k < to; ++k) {
        const double d = distanceToSegment(l[k % n], l[from % n], l[to % n]);
        if (d > worst) {
            worst = d;
            at = k;
        }
    }
    if (worst <= tol) return;
    keep[at % n] = true;
    douglasPeucker(l, from, at, tol, keep);
    douglasPeucker(l, at, to, tol, keep);
}

double round6(double v) {
    const double r = std::round(v * 1e6) / 1e6;
    return r == 0 ? 0.0 : r; // no negative zero in the table
}

/// The loop thinned to tolerance tol, its points rounded to six decimals. Two anchors that stay: the
/// lowest-leftmost point and the point farthest from it, so that the result does not depend on where
/// the font starts its contour more than necessary.
Loop thin(const Loop& l, double tol) {
    const std::size_t n = l.size();
    std::size_t a = 0;
    for (std::size_t i = 1; i < n; ++i)
        if (l[i].y < l[a].y || (l[i].y == l[a].y && l[i].x < l[a].x)) a = i;
    std::size_t b = a;
    double far = -1;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = std::hypot(l[i].x - l[a].x, l[i].y - l[a].y);
        if (d > far) {
            far = d;
            b = i;
        }
    }
    std::vector<bool> keep(n, false);
    keep[a] = keep[b] = true;
    const std::size_t bb = b > a ? b : b + n;
    douglasPeucker(l, a, bb, tol, keep);
    douglasPeucker(l, bb, a + n, tol, keep);
    Loop out;
    // Start the output at the anchor so that every loop begins at its lowest-leftmost corner.
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (a + k) % n;
        if (!keep[i]) continue;
        const Pt p{round6(l[i].x), round6(l[i].y)};
        if (!out.empty() && p.x == out.back().x && p.y == out.back().y) continue;
        out.push_back(p);
    }
    while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y)
        out.pop_back();
    return out;
}

// --- Glyphs.

struct Shape {
    Loop outer;              // counter-clockwise
    std::vector<Loop> holes; // clockwise
};

struct Glyph {
    unsigned code = 0;
    std::vector<Shape> shapes;
    double tolerance = 0;
};

/// Groups the fine contours into shapes (outer outline plus the holes directly inside it), by nesting
/// depth rather than by the font's winding: a contour inside an odd number of others is a hole.
struct Nesting {
    std::vector<int> parent; // for holes: index of their outer contour; -1 for outer contours
};

Nesting nest(const std::vector<Loop>& loops) {
    const std::size_t n = loops.size();
    std::vector<std::vector<std::size_t>> containers(n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (i != j && std::fabs(area(loops[j])) > std::fabs(area(loops[i])) &&
                inside(loops[j], loops[i][0]))
                containers[i].push_back(j);
    Nesting out;
    out.parent.assign(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        if (containers[i].size() % 2 == 0) continue;
        // The innermost container: the one of the smallest area.
        std::size_t best = containers[i][0];
        for (std::size_t j : containers[i])
            if (std::fabs(area(loops[j])) < std::fabs(area(loops[best]))) best = j;
        out.parent[i] = int(best);
    }
    return out;
}

bool shapeIsValid(const Shape& s) {
    auto good = [](const Loop& l) { return l.size() >= 3 && isSimple(l); };
    if (!good(s.outer) || area(s.outer) <= 0) return false;
    for (std::size_t i = 0; i < s.holes.size(); ++i) {
        const Loop& h = s.holes[i];
        if (!good(h) || area(h) >= 0 || loopsMeet(s.outer, h)) return false;
        for (const Pt& p : h)
            if (!inside(s.outer, p)) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (loopsMeet(h, s.holes[j]) || inside(s.holes[j], h[0]) || inside(h, s.holes[j][0]))
                return false;
    }
    return true;
}

/// Shapes of a glyph must not cross each other either (their fills are drawn one after the other).
bool shapesApart(const std::vector<Shape>& shapes) {
    for (std::size_t i = 0; i < shapes.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (loopsMeet(shapes[i].outer, shapes[j].outer)) return false;
    return true;
}

Glyph makeGlyph(FT_Face face, unsigned code, double scale) {
    std::vector<Loop> loops = flatten(face, code);
    for (Loop& l : loops)
        for (Pt& p : l)
            p = {p.x * scale, p.y * scale};
    const Nesting tree = nest(loops);
    // Orientation as the library stores it: outer outlines counter-clockwise, holes clockwise.
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const bool hole = tree.parent[i] >= 0;
        if ((area(loops[i]) > 0) == hole) std::reverse(loops[i].begin(), loops[i].end());
    }
    Glyph g;
    g.code = code;
    for (double tol = kTolerance;; tol /= 2) {
        g.shapes.clear();
        g.tolerance = tol;
        bool valid = true;
        for (std::size_t i = 0; i < loops.size(); ++i) {
            if (tree.parent[i] >= 0) continue;
            Shape s;
            s.outer = thin(loops[i], tol);
            for (std::size_t j = 0; j < loops.size(); ++j)
                if (tree.parent[j] == int(i)) s.holes.push_back(thin(loops[j], tol));
            valid = valid && shapeIsValid(s);
            g.shapes.push_back(std::move(s));
        }
        valid = valid && shapesApart(g.shapes);
        if (valid) return g;
        if (tol / 2 < kMinTolerance) {
            std::fprintf(stderr, "make_stroke_font: glyph U+%04X stays invalid\n", code);
            return g;
        }
    }
}

/// The characters of the font in the order of the library's eight builder routines.
std::vector<std::vector<unsigned>> routines() {
    auto range = [](unsigned from, unsigned to) {
        std::vector<unsigned> r;
        for (unsigned c = from; c <= to; ++c)
            r.push_back(c);
        return r;
    };
    std::vector<std::vector<unsigned>> out = {
        range(0x21, 0x2E), range(0x2F, 0x39), range(0x3A, 0x40), range(0x41, 0x5A),
        range(0x5B, 0x5F), range(0x61, 0x7A), range(0x7B, 0x7E), {0xC4, 0xE4, 0xD6, 0xF6, 0xDC, 0xFC, 0xDF}};
    for (unsigned c : {0xB1u, 0xB2u, 0xB3u, 0xBAu, 0xBCu, 0xBDu, 0xBEu})
        out[6].push_back(c);
    return out;
}

std::string describe(unsigned code) {
    char buf[32];
    if (code < 0x80 && code != '\\')
        std::snprintf(buf, sizeof buf, "U+%04X %c", code, char(code));
    else if (code == '\\')
        std::snprintf(buf, sizeof buf, "U+%04X backslash", code);
    else
        std::snprintf(buf, sizeof buf, "U+%04X", code);
    return buf;
}

std::string num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_stroke_font FONT.ttf > gdx/stroke_font_data.cpp\n");
        return 2;
    }
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, argv[1], 0, &face) != 0) {
        std::fprintf(stderr, "make_stroke_font: cannot open %s\n", argv[1]);
        return 1;
    }
    // Cap height: the top of "H".
    double capTop = 0;
    for (const Loop& l : flatten(face, 'H'))
        for (const Pt& p : l)
            capTop = std::max(capTop, p.y);
    if (capTop <= 0) {
        std::fprintf(stderr, "make_stroke_font: the font has no \"H\"\n");
        return 1;
    }
    const double scale = 1.0 / capTop;

    std::vector<std::vector<Glyph>> table;
    int segments = 0, loopCount = 0, glyphCount = 0;
    for (const std::vector<unsigned>& routine : routines()) {
        table.emplace_back();
        for (unsigned code : routine) {
            Glyph g = makeGlyph(face, code, scale);
            if (g.shapes.empty()) {
                std::fprintf(stderr, "make_stroke_font: the font has no outline for U+%04X\n", code);
                return 1;
            }
            for (const Shape& s : g.shapes) {
                segments += int(s.outer.size());
                ++loopCount;
                for (const Loop& h : s.holes) {
                    segments += int(h.size());
                    ++loopCount;
                }
            }
            if (g.tolerance != kTolerance)
                std::fprintf(stderr, "make_stroke_font: %s thinned with tolerance %g\n",
                             describe(code).c_str(), g.tolerance);
            table.back().push_back(std::move(g));
            ++glyphCount;
        }
    }
    std::fprintf(stderr, "make_stroke_font: %d glyphs, %d loops, %d segments\n", glyphCount, loopCount,
                 segments);

    std::string family = face->family_name ? face->family_name : "?";
    std::string style = face->style_name ? face->style_name : "?";
    std::printf("// Generated by tools/make_stroke_font.cpp from the outlines of %s %s; do not edit.\n",
                family.c_str(), style.c_str());
    std::printf("// The font's licence: gdx/stroke_font_LICENSE. To regenerate, see tools/README.md.\n");
    std::printf("//\n");
    std::printf(
        "// %d glyphs, %d closed loops, %d straight segments. Glyph-cell units: cap height 1.0 (the top of\n",
        glyphCount, loopCount, segments);
    std::printf("// \"H\"), baseline y = 0, x from the glyph origin (the left side bearing included).\n");
    std::printf("#include \"qor/gdx/stroke_font_p.h\"\n\nnamespace QOR::detail {\n\nnamespace {\n\n");
    std::printf("// clang-format off\n");
    std::printf(
        "// Per glyph: character code, number of shapes; per shape: number of loops (the outer one first,\n");
    std::printf("// then its holes); per loop: number of corner points.\n");
    std::printf("const int kLayout[] = {\n");
    for (std::size_t r = 0; r < table.size(); ++r) {
        std::printf("    // builder routine %zu\n", r + 1);
        for (const Glyph& g : table[r]) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%02X", g.code);
            std::string line = "    " + std::string(code) + ", " + std::to_string(g.shapes.size()) + ",";
            for (const Shape& s : g.shapes) {
                line +=
                    " " + std::to_string(1 + s.holes.size()) + ", " + std::to_string(s.outer.size()) + ",";
                for (const Loop& h : s.holes)
                    line += " " + std::to_string(h.size()) + ",";
            }
            std::printf("%s // %s\n", line.c_str(), describe(g.code).c_str());
        }
    }
    std::printf("};\n\n");
    std::printf(
        "// Corner points, x then y, loop after loop in the order of kLayout; each loop closes from its\n");
    std::printf("// last point back to its first. Outer loops run counter-clockwise, holes clockwise.\n");
    std::printf("const double kPoints[] = {\n");
    for (const std::vector<Glyph>& routine : table)
        for (const Glyph& g : routine) {
            std::printf("    // %s\n", describe(g.code).c_str());
            auto emit = [](const Loop& l) {
                std::string line = "   ";
                for (const Pt& p : l) {
                    std::string pair = " " + num(p.x) + ", " + num(p.y) + ",";
                    if (line.size() + pair.size() > 110) {
                        std::printf("%s\n", line.c_str());
                        line = "   ";
                    }
                    line += pair;
                }
                std::printf("%s\n", line.c_str());
            };
            for (const Shape& s : g.shapes) {
                emit(s.outer);
                for (const Loop& h : s.holes)
                    emit(h);
            }
        }
    std::printf("};\n\n");
    std::printf("// Number of glyphs each builder routine inserts, in the order the routines run.\n");
    std::printf("const int kRoutineGlyphs[] = {");
    for (std::size_t r = 0; r < table.size(); ++r)
        std::printf("%s%zu", r ? ", " : "", table[r].size());
    std::printf("};\n");
    std::printf("// clang-format on\n\n} // namespace\n\n");
    std::printf("const StrokeFontTable kStrokeFont{kLayout, kPoints, kRoutineGlyphs};\n\n");
    std::printf("} // namespace QOR::detail\n");
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return 0;
}
