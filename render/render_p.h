#pragma once

// Internals shared by the renderer's sources (included from outside render/ by its tests alone).

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <tuple>
#include <variant>
#include <vector>

#include "qor/kernel/data/hatch_pattern.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/point3d_array.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/platform/device_coord_p.h"
#include "qor/platform/region.h"
#include "qor/render/hatch_p.h"
#include "qor/render/picture.h"
#include "qor/render/polyline_prep.h"
#include "qor/render/render.h"

namespace QOR::render {

/// Lengths fixed by the renderer, in millimetres (unit 4), converted into the drawing unit once per frame.
constexpr double kDotLengthMm = 0.21;
constexpr double kMinSegmentMm = 0.22;
/// Chord tolerance, in device units, of every segment turned into device points.
constexpr double kPointTolerance = 0.5;
/// Margin of the fit used for the fixed-scale matrix.
constexpr double kFitMargin = 0.05;
/// Pixels around an item's device bounds that its drawing may still reach besides the pen's width:
/// truncation toward zero moves a point in (-1, 0) onto pixel 0, and a one-pixel piece or a point's
/// figure ends a pixel beyond the point that places it.
constexpr double kCullMargin = 2.0;
/// XOR mask that turns an RGB colour into its complement.
constexpr COLORREF kInvertMask = 0xFFFFFF;

/// True when a and b have the very same coordinates: such points come to the same device point, so the
/// second need not be transformed again.
inline bool sameCoordinates(const CQorPoint3d& a, const CQorPoint3d& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool samePoint(POINT a, POINT b) noexcept {
    return a.x == b.x && a.y == b.y;
}

/// Loops in device points, stored one after the other.
struct DeviceLoops {
    std::vector<POINT> points;
    std::vector<int> counts;       ///< points of each loop
    std::vector<std::size_t> gaps; ///< points a trace moves to without drawing: segments that do not join

    void clear() {
        points.clear();
        counts.clear();
        gaps.clear();
    }
};

/// Bounds of model points, growing (cull.cpp). A NaN coordinate leaves the bounds as they are but poisons
/// sum, which is how such geometry is told apart (an infinite one too: inf - inf): it lands somewhere on
/// the device.
struct ModelBox {
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    double lo[3] = {kInf, kInf, kInf};
    double hi[3] = {-kInf, -kInf, -kInf};
    double sum = 0.0;

    void add(const CQorPoint3d& p, double grow = 0.0);
    /// A segment: its end points; an arc: the sphere about its chord's middle that holds the whole arc,
    /// whatever plane it lies in.
    void add(const CQorVertex& vx);
    void add(const CQorVertexArray& vl);
    void add(const ModelBox& other) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], other.lo[k]);
            hi[k] = std::max(hi[k], other.hi[k]);
        }
        sum += other.sum;
    }
    bool hasNaN() const { return sum != sum; }
    bool isEmpty() const { return !(lo[0] <= hi[0]); }
};

/// A path of straight segments in the plane z = 0 as the points it visits, in runs of segments each of which
/// starts where the one before it ended: what a repaint reads of a polyline, 16 bytes a point against 56
/// a segment.
struct FlatPath {
    struct Point {
        double x, y;
        CQorPoint3d inSpace() const noexcept { return CQorPoint3d(x, y, 0.0); }
    };
    std::vector<Point> points;
    std::vector<std::uint32_t> runStarts; ///< the first point of each run; a run has two points at least

    /// Sets this to path when path is straight and lies in z = +0 exactly (so that its points place
    /// exactly as the segments' own); false, and empty, otherwise.
    bool assign(const CQorVertexArray& path);
    bool empty() const noexcept { return points.empty(); }
};

/// A path as styledPath leaves it, kept by a painter from frame to frame: it depends on the item and on
/// what FramePreparation holds, which no pan or zoom changes, so a repaint only transforms it. Straight
/// paths in the plane are kept flat.
struct KeptPath {
    CQorVertexArray path; ///< empty when flat holds it
    FlatPath flat;
    bool continuous = false;
    /// The length of its shortest segment (a chord for an arc): a frame whose minimum segment is no longer
    /// draws no piece as a pixel and need not measure each.
    double shortest = std::numeric_limits<double>::infinity();

    /// Keeps styled, which styledPath returned with isContinuous.
    void assign(const CQorVertexArray& styled, bool isContinuous);
};

/// A polyline item's path, kept. Each kept item holds the stamp of the item it was made from, so that an
/// item changed since (its stamp moved) is prepared again.
struct PreparedPolyline {
    KeptPath path;
    bool made = false;
    std::uint64_t stamp = 0; ///< CQorDisplayItem::m_stamp of the item it was made from
    ModelBox bounds;         ///< of the path
};

/// A text item's glyphs as the model points their traces visit, each arc in chords: what a repaint
/// places on the device. A painter keeps it from frame to frame.
struct PreparedText {
    struct Glyph {
        int group = 0;       ///< its stroke group in the item
        int loopEnd = 0;     ///< one past its last loop in loopEnds
        bool closed = false; ///< its first loop is closed: the glyph is filled
        bool curved = false; ///< drawn from the item's own arcs (a metafile): no points here
        ModelBox bounds;     ///< of its points
    };
    std::vector<CQorPoint3d> points;
    /// Per point, 1 where a segment starts: a trace lifts the pen there unless the device point repeats
    /// the one before it. Other points (0) end a segment.
    std::vector<std::uint8_t> starts;
    std::vector<int> loopEnds; ///< one past each loop's last point
    std::vector<Glyph> glyphs;
    ModelBox bounds; ///< of every point
    bool made = false;
    std::uint64_t stamp = 0; ///< CQorDisplayItem::m_stamp of the item it was made from, when kept

    void clear() {
        points.clear();
        starts.clear();
        loopEnds.clear();
        glyphs.clear();
        bounds = ModelBox();
        made = false;
    }
};

/// A region item's loops with their arcs in chords, and what is made of them the first time it is drawn:
/// its hatch lines and its outline paths, all in model space. A painter keeps it from frame to frame.
struct PreparedRegion {
    CQorArrayTempl<CQorVertexArray> loops;
    CQorArrayTempl<CQorVertexArray> hatch;
    bool hatchMade = false;
    std::vector<KeptPath> outlines; ///< each loop's, after the view direction, its line type laid
    bool outlinesMade = false;
    ModelBox bounds; ///< of the item's loops
    bool made = false;
    std::uint64_t stamp = 0; ///< CQorDisplayItem::m_stamp of the item it was made from
};

/// True when kept was made from item as it stands: the item's stamp has not moved since. An item
/// without a stamp is never trusted.
template <class Kept>
bool madeFrom(const Kept& kept, const CQorDisplayItem& item) noexcept {
    return kept.made && item.m_stamp != 0 && kept.stamp == item.m_stamp;
}

/// What a painter keeps of one item: nothing, a polyline's path, a text's glyphs or a region's loops.
using KeptItem = std::variant<std::monostate, PreparedPolyline, PreparedText, PreparedRegion>;

/// Buffers one thread of a frame reuses from item to item: an item allocates only when it needs more room
/// than every item before it.
struct Scratch {
    CQorVertexArray vl;                          ///< an item's polyline or loop after the view direction
    std::vector<POINT> points;                   ///< device points of one segment or loop
    DeviceLoops loops;                           ///< device points of a region's or a glyph's loops
    CQorArrayTempl<double> dashes;               ///< an item's dash array
    detail::PolylineScratch polyline;            ///< dash laying
    CQorVertexArray split;                       ///< a styled polyline with its arcs in chords
    CQorVertexArray chords;                      ///< a glyph loop with its arcs in chords
    CQorArrayTempl<CQorVertexArray> regionLoops; ///< a region's loops with their arcs in chords
    CRgn hole;                                   ///< the hole being cut out of the clip
    detail::PatternTestScratch patternTest;
    PreparedText text; ///< a text's glyphs, when the painter keeps none
};

/// What a frame asks of the host, asked once per frame: hatch patterns and pictures.
class Lookups {
public:
    /// The definition of a hatch pattern.
    const CQorPatternDef& pattern(const CQorString& name);
    /// A picture as qor_gdx_image_get_bitmap loads it; null when it cannot be loaded.
    CBitmap* picture(const CQorString& name, int number, int width, int height, bool flag, COLORREF back);
    /// While sealed, a look-up not made before finds nothing (an empty pattern, no picture) instead of
    /// asking the host or reading a file, and the look-ups may be read from several threads at once.
    void setSealed(bool sealed) noexcept { m_sealed = sealed; }
    /// Whether every pattern a list at revision uses was looked up, as the last notePatternsOf said.
    bool hasPatternsOf(std::uint64_t revision) const noexcept {
        return revision != 0 && m_patternsOf == revision;
    }
    void notePatternsOf(std::uint64_t revision) noexcept { m_patternsOf = revision; }
    /// Forgets every pattern and picture looked up so far.
    void clear() noexcept {
        m_patternsOf = 0;
        m_patterns.clear();
        m_pictures.clear();
    }

private:
    bool m_sealed = false;
    std::uint64_t m_patternsOf = 0; ///< the list revision whose patterns were all looked up
    std::map<CQorString, CQorPatternDef> m_patterns;
    std::map<std::tuple<CQorString, int, int, int, bool, COLORREF>, HBITMAP, std::less<>> m_pictures;
};

/// What every kept item depends on besides the item itself; the items are made again when it changes.
struct FramePreparation {
    CQorMatrix3d viewDirection;
    double dotLength = 0.0;
    double patternDot = 0.0;

    /// The very same bytes: a matrix equal within tolerance may still place points elsewhere.
    bool sameAs(const FramePreparation& other) const noexcept {
        return std::memcmp(&viewDirection, &other.viewDirection, sizeof viewDirection) == 0 &&
               dotLength == other.dotLength && patternDot == other.patternDot;
    }
};

/// What drawInParts keeps for a painter's next frame: its layers and its drawing threads' buffers
/// (parts.cpp).
struct PartsCache;
struct PartsCacheDeleter {
    void operator()(PartsCache* parts) const noexcept;
};

/// What a painter keeps from one frame to the next: the calling thread's buffers, the look-ups and what
/// the drawing threads used, so a repaint neither grows buffers or makes layers again nor asks the host
/// for patterns and pictures it gave before.
struct FrameCache {
    Scratch scratch;
    Lookups lookups;
    std::vector<std::int64_t> costs;                      ///< the estimated cost of each slice of items
    std::uint64_t costsOf = 0;                            ///< the list revision costs were estimated for
    double costsDotLength = 0.0;                          ///< and the dot length
    CRgn client;                                          ///< the frame's client clip
    bool keepsItems = false;                              ///< a painter's: the items below are kept
    std::vector<KeptItem> kept;                           ///< per item of the list, when kept
    FramePreparation keptFor;                             ///< what the kept items were made for
    std::unique_ptr<PartsCache, PartsCacheDeleter> parts; ///< made by the first frame drawn in parts
};

/// Everything one frame shares between its items.
struct Frame {
    CDC& dc;
    const CQorGDX& gdx;
    RenderTarget target;
    int width;
    int height;
    COLORREF back;          ///< the list's back colour, RGB
    CQorMatrix3d scene;     ///< zoom * view * projection
    CQorMatrix3d fixed;     ///< the scene's placement of the origin with a fixed scale, y down
    double dotLength;       ///< length of a dot of a line type, drawing units
    double minSegment;      ///< pieces shorter than this are one pixel, drawing units
    double patternDot;      ///< length of a dot inside a fitted dash pattern or a hatch, drawing units
    const CRgn* clientClip; ///< re-selected after a fill narrowed the clip; null: none
    Scratch& scratch;
    Lookups& lookups;
    /// Per item, what a painter keeps (each item drawn by one thread in a frame); null: nothing kept.
    std::vector<KeptItem>* kept = nullptr;

    /// The kept entry of item, made an empty T when it held something else; null when nothing is kept.
    template <class T>
    T* keptAs(int item) const {
        if (!kept || std::size_t(item) >= kept->size()) return nullptr;
        KeptItem& entry = (*kept)[std::size_t(item)];
        if (T* held = std::get_if<T>(&entry)) return held;
        return &entry.emplace<T>();
    }

    bool window() const noexcept { return target == RenderTarget::Window; }
    const CQorDisplayItem& item(int i) const { return gdx.getDisplayList()[i]; }
};

/// renderItems inside the caller's guarded boundary: false when the drawing failed, the failure kept for
/// that boundary to report (kernel/base/status.h). May throw.
bool drawFrame(CQorGDX& gdx, CDC& dc, int width, int height, RenderTarget target);
/// Draws items first to last - 1 of the frame's list, in order. Should an item throw, the frame's dc gets
/// back the pen, brush, colours and client clip it had on entry.
void drawItems(const Frame& frame, int first, int last);
/// Draws every item of a large list for the window into dc, which holds bitmap, with up to `threads`
/// threads at once: stretches of the list drawn into layers of their own are laid over bitmap afterwards,
/// so the pixels come out as if drawn in one pass. False, having drawn nothing, when the list is too
/// small to gain from it or there is no memory for the layers. When a drawing thread fails (memory, an
/// exception), the others stop, nothing more is drawn, and its failure becomes the calling thread's
/// failure to report (detail::adoptFailure); true then too. With a cache the layers and the threads'
/// buffers are taken from it and given back to it for the next frame.
bool drawInParts(const Frame& frame, CBitmap& bitmap, unsigned threads, FrameCache* cache);
/// Items per slice of the work of drawInParts.
constexpr int kSliceItems = 8;
/// Estimated cost of drawing each slice of items 0 to last - 1, from the first item of the slice: reading
/// every item of a large list would take milliseconds of the frame. Into costs, cleared first; uses the
/// frame's scratch.
void sliceCosts(const Frame& frame, int last, std::vector<std::int64_t>& costs);
/// paintToBitmap drawing a large list with up to `threads` threads.
bool paintToBitmap(CQorGDX* gdx, CBitmap& bitmap, int width, int height, unsigned threads) noexcept;
/// What the window shows, drawn into dc, which holds a 32-bit bitmap of width x height: the back colour,
/// then every item, with up to `threads` threads. cache, when not null, lends its buffers and look-ups
/// (and keeps what the frame adds to them). False when the drawing failed, the failure kept for the
/// caller's boundary to report. May throw.
bool paintBitmap(CQorGDX& gdx, CDC& dc, int width, int height, unsigned threads, FrameCache* cache);

/// How one item is drawn: its colour and mode and the matrix that takes model space to the device.
struct ItemStyle {
    COLORREF color = 0;
    GdxColorMode mode = GdxColorOwn; ///< after the promotion of a colourless item to GdxColorInverse
    CQorMatrix3d base;
};

// matrices.cpp
CQorMatrix3d sceneMatrix(const CQorGDX& gdx);
CQorMatrix3d fixedScaleMatrix(const CQorGDX& gdx, int width, int height);
CQorMatrix3d baseMatrix(const Frame& frame, int item);

// cull.cpp
/// False when nothing item draws can reach the window: its geometry, placed on the device by its
/// matrices, lies wholly outside the frame's pixels. True whenever that cannot be told from its bounds
/// (the metafile target, points, texts, pictures, projective matrices, NaN coordinates).
bool mayReachWindow(const Frame& frame, int item, const ItemStyle& style);
/// True when box placed by the affine m lies wholly outside the frame's pixels widened by margin on every
/// side. A NaN anywhere never misses.
bool missesWindow(const Frame& frame, const ModelBox& box, const CQorMatrix3d& m, double margin);
/// Device points [left, right] x [top, bottom].
struct DeviceBounds {
    int left, top, right, bottom;
};
/// Boxes inside one box `within` (without NaN) placed on the device by one affine matrix, as an item's
/// parts are: each box placed at a fraction of the cost of placing its corners.
class BoxPlacer {
public:
    BoxPlacer(const CQorMatrix3d& m, const ModelBox& within) noexcept;
    /// Bounds of the device points that the points inside box come to.
    DeviceBounds deviceBounds(const ModelBox& box) const noexcept;
    /// As the function missesWindow.
    bool missesWindow(const Frame& frame, const ModelBox& box, double margin) const noexcept;

private:
    /// False when a coordinate is not finite.
    bool place(const ModelBox& box, double lo[2], double hi[2]) const noexcept;

    double m_row[2][4];
    double m_abs[2][3];
    double m_slack; ///< what may separate a placed point from the exact one
};
/// True when m keeps w = 1: a bounding box it places bounds what it places.
bool isAffine(const CQorMatrix3d& m);

// item_color.cpp
/// The item's drawing colour; mode receives the colour mode it was drawn by.
COLORREF itemColor(const Frame& frame, int item, GdxColorMode& mode);
/// The fill colour of a region given its drawing colour.
COLORREF fillColor(const Frame& frame, int item, const ItemStyle& style);

// line_type.cpp
/// Sets dashes to the dash array the item is drawn with: built-in patterns expanded, entries scaled, dots
/// sized; empty for a solid line.
void itemDashes(const CQorGDX& gdx, int item, double dotLength, CQorArrayTempl<double>& dashes);
/// Replaces vl by its dashes, the pattern fitted to each segment (qor_gdx_image_vl_measure, mode 1, with
/// dots of dotLength), laid one after the other into one polyline; fewer than two entries leave vl
/// unchanged.
void applyLineType(CQorVertexArray& vl, const CQorArrayTempl<double>& dashes, double dotLength,
                   detail::PolylineScratch& scratch);

// segments.cpp
/// Device point of a transformed point.
inline POINT devicePoint(const CQorPoint3d& p) noexcept {
    return POINT{deviceCoord(p.x), deviceCoord(p.y)};
}
/// devicePoint(p * m) for an affine m and a finite p, for which w is exactly 1: the same two sums, without
/// the rows the device does not use.
inline POINT affineDevicePoint(const CQorMatrix3d& m, const CQorPoint3d& p) noexcept {
    return POINT{
        deviceCoord(m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2] * p.z + m.entry[0][3]),
        deviceCoord(m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2] * p.z + m.entry[1][3])};
}
/// The device points of a segment after transforming it by m.
void segmentPoints(const CQorVertex& segment, const CQorMatrix3d& m, std::vector<POINT>& out);
/// Lines sent to a device context as polylines: a segment that starts where the one before it ended
/// extends the same polyline. A point that repeats the one before it adds nothing to a line and is left
/// out, except where a segment came to a single point, which a wide pen still marks.
class LineRuns {
public:
    /// affine: every matrix given to add is affine and every point added finite (affineDevicePoint).
    LineRuns(CDC& dc, std::vector<POINT>& buffer, bool affine = false)
        : m_dc(dc), m_points(buffer), m_affine(affine) {
        m_points.clear();
    }
    ~LineRuns() { flush(); }
    LineRuns(const LineRuns&) = delete;
    LineRuns& operator=(const LineRuns&) = delete;

    /// A segment between device points.
    void add(POINT from, POINT to);
    /// A segment after transforming it by m; an arc in chords of half a device unit.
    void add(const CQorVertex& segment, const CQorMatrix3d& m);
    /// Draws what was added so far.
    void flush();

private:
    CDC& m_dc;
    std::vector<POINT>& m_points;
    /// The last segment's end in model space, while m_points ends with its device point.
    const CQorPoint3d* m_lastEnd = nullptr;
    std::vector<POINT> m_arc;
    bool m_affine;
};

/// One pixel at p in color (the target decides how).
void drawPixel(const Frame& frame, POINT p, COLORREF color);
/// The path a styled polyline (already transformed by the view direction, and used up) is drawn along:
/// its line type laid, its arcs in chords; continuous receives whether short pieces keep their length.
/// The result lives in vl or in the frame's scratch until the next polyline.
const CQorVertexArray& styledPath(const Frame& frame, CQorVertexArray& vl,
                                  const CQorArrayTempl<double>& dashes, bool& continuous);
/// Draws a styled path: each segment by m, short pieces of a broken path as single pixels. affine: m is
/// affine and every point of path finite.
void tracePath(const Frame& frame, const CQorVertexArray& path, bool continuous, const CQorMatrix3d& m,
               COLORREF color, bool affine = false);
/// tracePath for a kept path.
void tracePath(const Frame& frame, const KeptPath& path, const CQorMatrix3d& m, COLORREF color, bool affine);
/// Draws a styled polyline (already transformed by the view direction, and used up): line type, chords,
/// then each segment by m, short pieces of a broken line as single pixels.
void drawStyledPolyline(const Frame& frame, CQorVertexArray& vl, const CQorArrayTempl<double>& dashes,
                        const CQorMatrix3d& m, COLORREF color);

// fill.cpp
/// Solid fills in one colour: the brush, the back colour and the fill mode selected once for all of them.
class SolidFill {
public:
    SolidFill(const Frame& frame, COLORREF color);
    ~SolidFill();
    SolidFill(const SolidFill&) = delete;
    SolidFill& operator=(const SolidFill&) = delete;

    /// Fills the first of loops as a polygon, the others cut out of the clip region beforehand (alternate
    /// filling), outlined with the dc's pen unless outline is false; the client clip is re-selected
    /// afterwards when a hole narrowed it.
    void fill(const DeviceLoops& loops, bool outline);

private:
    const Frame& m_frame;
    CBrush m_brush;
    CBrush* m_oldBrush = nullptr;
};
/// One SolidFill of loops, outlined.
void fillDeviceLoops(const Frame& frame, const DeviceLoops& loops, COLORREF color);
/// Fills loops (the first the outer boundary, the others holes) after transforming them by d, in color,
/// as a polygon with the holes clipped out, or by horizontal scan lines.
void fillLoops(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& d,
               COLORREF color, bool scanLines);

// The item kinds.
void drawPoint(const Frame& frame, int item, const ItemStyle& style);
void drawPolyline(const Frame& frame, int item, const ItemStyle& style);
/// The path a painter keeps for polyline item, made or made again when the item changed; null when the
/// frame keeps none.
const PreparedPolyline* keptPolyline(const Frame& frame, int item);
/// The loops a painter keeps for region item, as keptPolyline.
PreparedRegion* keptRegion(const Frame& frame, int item);
void drawRegion(const Frame& frame, int item, const ItemStyle& style);
void drawText(const Frame& frame, int item, const ItemStyle& style);
void drawPicture(const Frame& frame, int item);

} // namespace QOR::render
