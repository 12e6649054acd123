#pragma once

// Conventions (display lists)
//  - Item numbers are 0-based positions in the list. They change whenever items are removed, sorted or
//    picked, so callers keep item paths instead. Getters taking an item number read with the const
//    element access of CQorArrayTempl: past the end they answer a default item's value, and a negative
//    number counts from the end.
//  - An item path is a CQorArrayTempl<int> of ids from the top level down. An item lies under a path when
//    its own path has at least as many entries and begins with it. Operations that change items select
//    them by path; an empty path selects nothing (except where a function says otherwise).
//  - Spaces: item coordinates --item matrix--> model --view direction--> turned model --projection-->
//    projected (the space of the extents) --view--> window pixels before zoom --zoom--> window pixels.
//    The chain from an item to the window is zoom * view * projection * view direction * item matrix,
//    products as in kernel/geom/matrix3d.h (the rightmost factor acts first). Window pixels have their origin
//    top-left with y growing downwards.
//  - Extents are kept eagerly: the adders widen them by the new item, every operation that moves,
//    restyles or removes items recomputes them. Items flagged GdxItemNoExtents or GdxItemAnchored and
//    pictures never count.

#include <cstdint>
#include <limits>

#include "qor/gdx/display_item.h"
#include "qor/kernel/geom/point3d_array.h"

class CQorDataItem;

namespace QOR::detail {
struct GdxAccess;
}

/// A display list: items in draw order plus the view state needed to draw them (background colour,
/// colour table, point defaults, four matrices, extents and an optional fixed view box). A plain value:
/// copies are deep. No method throws; failures are reported as each method says.
class QOR_EXPORT CQorGDX : public CQorObj {
public:
    using Path = CQorArrayTempl<int>;

    /// Background from the host application object, point defaults and colour-table slots 1-5 from the
    /// configuration entry "OLV_MENU\COLOR" (missing entries: default colours, point size 0.0, point
    /// mode 0).
    CQorGDX();
    /// Exactly these fields; reads no configuration; the colour table stays empty.
    CQorGDX(const CQorColor& back, const CQorMatrix3d& proj, double pdSize, DWORD pdMode,
            const CQorPoint3d& viewMin, const CQorPoint3d& viewMax);
    CQorGDX(const CQorGDX&) = default;
    CQorGDX(CQorGDX&&) noexcept = default;
    CQorGDX& operator=(const CQorGDX&) = default;
    CQorGDX& operator=(CQorGDX&&) noexcept = default;
    ~CQorGDX() override;

    /// Every field equal (items as CQorDisplayItem::operator==, doubles exactly with NaN equal to NaN); the
    /// revision is not compared.
    bool operator==(const CQorGDX& other) const noexcept;
    bool operator!=(const CQorGDX& other) const noexcept { return !(*this == other); }

    // --- Adders. Each appends one item at the end and, unless flags & (GdxItemNoExtents |
    // GdxItemAnchored), widens the extents by its geometry under projection * view direction * mtx.
    // Flags are stored exactly as given. When memory runs out (or the host throws, for host text) the list
    // stays as it was and one message goes to the diagnostics sink (kernel/base/diagnostics.h).

    /// A point item at pt (item coordinates). pdSize 0.0 and pdMode kGdxPdModeDefault follow the list's
    /// defaults. With GdxItemAnchored the polyline field holds one vertex from anchor to the origin.
    void imagePt(const Path& path, DWORD flags, const CQorPoint3d& pt, const CQorColor& color,
                 const CQorMatrix3d& mtx, double pdSize, DWORD pdMode, const CQorPoint3d& anchor) noexcept;
    /// A polyline item. An empty linetype stores {1.0}. With GdxItemAnchored the point field = anchor.
    void imageVl(const Path& path, DWORD flags, const CQorVertexArray& vl, const CQorColor& color,
                 const CQorMatrix3d& mtx, const CQorArrayTempl<double>& linetype, double ltscale,
                 DWORD thickness, const CQorPoint3d& anchor) noexcept;
    /// A region item; regions[0] is the outer boundary and alone widens the extents. When flags has
    /// GdxItemFill or GdxItemHatch the fill colour is fcolor, or color when fcolor has no colour index;
    /// otherwise the fill colour stays a default colour. The hatch is always stored.
    void imageReg(const Path& path, DWORD flags, const CQorArrayTempl<CQorVertexArray>& regions,
                  const CQorColor& color, const CQorMatrix3d& mtx, const CQorArrayTempl<double>& linetype,
                  double ltscale, DWORD thickness, const CQorColor& fcolor, const QOR::CHatchProp& hatch,
                  const CQorPoint3d& anchor) noexcept;
    /// A picture item by file or resource name (null = none) or resource number (kGdxNoPictureNumber =
    /// none). When p1 != p2 the polyline holds one vertex p1 -> p2: the picture's rectangle in window
    /// pixels, to which no matrix applies. Pictures never widen the extents.
    void imagePicture(const Path& path, DWORD flags, const wchar_t* name, int number, const CQorPoint3d& p1,
                      const CQorPoint3d& p2) noexcept;
    /// Appends copies of items as they are (all or, when memory runs out, none); the extents are not
    /// touched. False when items is empty or nothing was appended.
    bool addDisplayList(const CQorArrayTempl<CQorDisplayItem>& items) noexcept;

    // --- Text items. Text is drawn from the built-in stroke font (gdx/stroke_font.h): the item keeps its
    // string, alignment code and insertion point, and its strokes are laid out from them (txtReglUpd)
    // whenever one of them is set here. Strokes are in item coordinates, glyph-cell units: a cap height of
    // 1.0 unless the item matrix scales them.

    /// A text item: text (null = empty) at insertion point pos with alignment code align (null = empty),
    /// line type {1.0, 0.0, 0.0}, line-type scale 0.0, thickness 0; with GdxItemAnchored the polyline
    /// field holds one vertex from anchor to the origin. Its strokes are laid out at once and widen the
    /// extents (first polyline of each group).
    void imageTxt(const Path& path, DWORD flags, const wchar_t* text, const CQorColor& color,
                  const CQorMatrix3d& mtx, const wchar_t* align, const CQorPoint3d& pos,
                  const CQorPoint3d& anchor) noexcept;
    /// A text item whose strokes the host lays out (qor_text_to_regl with data and height). The item
    /// keeps no text, alignment or point, so it is never laid out by this list on its own. False, adding
    /// nothing, when data is null or not a directory, the host gives no strokes or the call failed.
    bool imageTxt(const Path& path, DWORD flags, const CQorDataItem* data, const CQorColor& color,
                  const CQorMatrix3d& mtx, double height, const CQorPoint3d& anchor) noexcept;

    // --- Item getters (by item number; see Conventions).
    QorDisplayObj typeGet(int item) const;
    DWORD flagGet(int item) const;
    const CQorColor& colorGet(int item) const;
    const CQorColor& fcolorGet(int item) const;
    const CQorArrayTempl<double>& linetypeGet(int item) const;
    double ltscaleGet(int item) const;
    const CQorMatrix3d& mtxGet(int item) const;
    int thicknGet(int item) const;
    void itemStackGet(Path& out, int item) const;
    void geomGet(CQorPoint3d& out, int item) const;
    void geomGet(CQorVertexArray& out, int item) const;
    void geomGet(CQorArrayTempl<CQorVertexArray>& out, int item) const;
    void geomGet(CQorStrokeGroups& out, int item) const;
    /// False when item is not below lenGet() (negative numbers count from the end as elsewhere).
    bool hatchGet(int item, QOR::CHatchProp& out) const;
    /// The item's point mode, or the list's when the item has kGdxPdModeDefault.
    DWORD pdModeGet(int item) const;
    /// The item's point size, or the list's when the item has 0.0.
    double pdSizeGet(int item) const;
    /// Copies the picture name and number. True when the number is not kGdxNoPictureNumber, otherwise
    /// only when the name is non-empty.
    bool pictureGet(int item, CQorString& name, int& number) const;

    // --- List-level accessors.
    int lenGet() const noexcept { return m_list.len(); }
    /// A number that changes whenever an item is added, removed, reordered or changed, to one no list in
    /// the process has had: a list showing a number seen before still holds the very items it held then
    /// (a copy shows its source's number). The view, the colours and the list's defaults leave it as it
    /// is. What a painter keeps per item is checked against the item only when the number moved.
    std::uint64_t revisionGet() const noexcept { return m_revision.value(); }
    const CQorArrayTempl<CQorDisplayItem>& getDisplayList() const noexcept { return m_list; }
    const CQorColor& backColorGet() const noexcept { return m_backColor; }
    void backColorSet(const CQorColor& color) { m_backColor = color; }
    /// List defaults for point items; setting them touches no item.
    DWORD pdModeGet() const noexcept { return m_pdMode; }
    void pdModeSet(DWORD mode) noexcept { m_pdMode = mode; }
    double pdSizeGet() const noexcept { return m_pdSize; }
    void pdSizeSet(double size) noexcept { m_pdSize = size; }
    /// Number of colour-table slots stored.
    int ColorTabLenGet() const noexcept { return m_colorTab.len(); }
    /// Stores color in slot mode (1-14), growing the table with default colours; false for other modes.
    bool ColorTabSet(QOR::GdxColorMode mode, const CQorColor& color);
    /// Slot mode; a default colour for a slot never stored (or a mode outside 1-14).
    const CQorColor& colorTabGet(QOR::GdxColorMode mode) const;

    // --- Path operations (see Conventions).
    /// Numbers of the items under path, ascending; empty for an empty path.
    Path StackToItemNr(const Path& path) const;
    /// The largest of 0 and the top-level ids of all items with a non-empty path.
    int stackGet() const;
    /// -1 when no item lies at or under path. Otherwise the largest of 0 and the ids that items deeper
    /// than path use on the level directly below it, so stackGet(path) + 1 is a free sub-id. An empty path
    /// gives stackGet().
    int stackGet(const Path& path) const;
    /// Applies flag operation op (see flagSet) to every item under path and recomputes the extents.
    /// False, changing nothing, when the list or path is empty or no item is under path.
    bool propSet(const Path& path, DWORD op);
    /// As propSet, but an empty path selects every item, and true also when nothing matched; false only
    /// for an empty list.
    bool redraw(const Path& path, DWORD op);
    /// Sets the colour mode of every item under path: flags = ((mode & 15) << 8) | (flags & 0xFF), which
    /// also clears any bits above bit 11. Does not re-sort. False as propSet.
    bool cModeSet(const Path& path, QOR::GdxColorMode mode);
    /// Copies hatch into every item under path. False as propSet.
    bool hatchSet(const Path& path, const QOR::CHatchProp& hatch);
    /// Set the point mode or size of every item whose path equals path exactly (non-empty); true when at
    /// least one item was set.
    bool pdModeSet(const Path& path, DWORD mode);
    bool pdSizeSet(const Path& path, double size);
    /// Moves a whole object so that its reference item takes the placement M and every other item under
    /// path follows rigidly. The reference item is the first item under path whose path has exactly
    /// path's length, or the last item under path when none has. With D = M * inverse(reference matrix),
    /// each item matrix T becomes D * T (D acts after the item's own placement). False, changing nothing,
    /// when the list or path is empty or no item is under path.
    bool mtxSet(const Path& path, const CQorMatrix3d& M);
    /// Store the text, the alignment code or the insertion point of every item under path (an empty path
    /// selects every item; the kind is not checked, the text field doubles as a picture's name), lay its
    /// strokes out again and recompute the extents. False only for a null text or code: true also when
    /// no item matched.
    bool txtSet(const Path& path, const wchar_t* text);
    bool txtAlignSet(const Path& path, const wchar_t* align);
    void txtPointSet(const Path& path, CQorPoint3d pos);
    /// The text, alignment code and insertion point of an item (never null; see Conventions for item
    /// numbers). The pointers stay valid until the item is changed or removed.
    const wchar_t* txtGet(int item) const;
    const wchar_t* txtAlignGet(int item) const;
    CQorPoint3d txtPointGet(int item) const;
    /// Removes the items under path and recomputes the extents. False as propSet.
    bool removeItemStack(const Path& path);
    /// Removes the items under path; true when at least one was removed.
    bool clear(const Path& path);
    /// Empties the list and the extents and unsets the view box; matrices, colours and defaults stay.
    void clear();
    /// Sorts into draw order, stably: regions below other items, REFER items above those, HIGHLIGHT
    /// items above those (regions first again), pictures on top. A list already in that order is not
    /// touched, and once found in order is not read through again until its items change.
    void displListSort();

    // --- View, projection, extents and picking (the matrix chain: see Conventions).
    const CQorMatrix3d& viewDirectionMtxGet() const noexcept { return m_viewDirMtx; }
    /// Copies, then recomputes the extents.
    void viewDirectionMtxSet(const CQorMatrix3d& mtx);
    /// View direction = QOR::g_mtx_view(dir, origin, true): the model seen from the side dir points to.
    void viewDirectionHvcSet(const CQorVector3d& dir);
    /// One of "P", "N", "S", "O", "W", "NO", "NW", "SO", "SW" (qor_gdx_view_vdir_get); false and no
    /// change for any other name.
    bool viewDirectionSet(CQorString name);
    const CQorMatrix3d& projMtxGet() const noexcept { return m_projMtx; }
    /// Copies, then recomputes the extents.
    void projMtxSet(const CQorMatrix3d& mtx);
    const CQorMatrix3d& viewMtxGet() const noexcept { return m_viewMtx; }
    void viewMtxSet(const CQorMatrix3d& mtx) { m_viewMtx = mtx; }
    const CQorMatrix3d& zoomMtxGet() const noexcept { return m_zoomMtx; }
    void zoomMtxSet(const CQorMatrix3d& mtx) { m_zoomMtx = mtx; }

    /// The extents (projected space): false when empty, else the minimum and maximum corner.
    bool extmaxGet(CQorPoint3d& min, CQorPoint3d& max) const;
    /// Extents of the items under path merged into what min and max hold on entry (start them as
    /// needed, for example at +-the largest double). Items flagged GdxItemNoExtents or GdxItemAnchored
    /// are skipped; other items without geometry match but add nothing. True when an item matched;
    /// false at once for an empty path.
    bool extmaxGet(const Path& path, CQorPoint3d& min, CQorPoint3d& max) const;
    /// The view box when set (minimum != maximum), else the extents; min and max stay untouched when both
    /// are missing.
    void extMaxViewGet(CQorPoint3d& min, CQorPoint3d& max) const;
    void extMaxViewSet(const CQorPoint3d& min, const CQorPoint3d& max);
    /// Freezes the current extents as the view box (empty extents unset it).
    void extMaxViewSet();
    /// Window point (pixels) to model point: p under the inverse of zoom * view * projection * view
    /// direction; p itself when that product is singular.
    CQorPoint3d imagePtWc(const CQorPoint3d& p) const;
    /// Picks at window point p: sorts the list into draw order, reverses it (it stays reversed) and
    /// returns the top-level id of the first point, polyline or region outer boundary within kPickTol
    /// model units of imagePtWc(p); -1 when none. Hidden items are picked too.
    int imageItemGet(const CQorPoint3d& p);

    /// Picking distance in model units (not pixels).
    static constexpr double kPickTol = 5.0;

protected:
    /// Flag operation op on one item, then the extents are recomputed. op: 1 clear / 2 set GdxItemHidden,
    /// 3 clear / 4 set GdxItemNoExtents, 5 set / 6 clear 0x10, 7 set / 8 clear 0x20, 9 set / 10 clear 0x40;
    /// any other op (or item number outside the list) changes and recomputes nothing.
    void flagSet(int item, DWORD op);
    /// Colour mode of one item (as cModeSet).
    void cFlagSet(int item, QOR::GdxColorMode mode);
    /// Removes one item and recomputes the extents; false when item is negative or not below lenGet().
    bool removeItem(int item);
    /// Recomputes the extents from every item.
    void refresh_ext();
    /// Widens the extents by p under projection * view direction * mtx.
    void refresh_ext(const CQorPoint3d& p, const CQorMatrix3d& mtx);
    /// Widens the extents by vl under projection * view direction * mtx.
    void refresh_ext(const CQorVertexArray& vl, const CQorMatrix3d& mtx);
    /// Lays out the strokes of one item (0 <= item < lenGet(), else nothing) from its text, alignment code
    /// and point. Each character with a glyph is placed at point + (cursor, 0, 0) with its loops turned
    /// counter-clockwise; the cursor then moves by the width of the glyph's ink plus 0.5. Characters
    /// without a glyph (the space) take no room. With H the largest top y of the placed glyphs (and at
    /// least 0: measured from y = 0 of item coordinates, so the point's own y is part of it) and
    /// W = cursor - 0.3, the whole text moves by: "TL" (0, -H), "TC" (-W/2, -H), "TR" (-W, -H),
    /// "CL" (0, -H/2), "CC" (-W/2, -H/2), "CR" (-W, -H/2), "BC" (-W/2, 0), "BR" (-W, 0); any other code
    /// (compared exactly) none. The extents are left to the caller.
    void txtReglUpd(int item);

private:
    friend struct QOR::detail::GdxAccess; // the JSON reader restores every field as stored

    template <class F>
    bool forEachUnder(const Path& path, F&& visit);
    /// Applies change to every item under path, lays each out again and recomputes the extents.
    template <class F>
    void changeText(const Path& path, F&& change);
    /// Applies flag operation op; true when it changed whether the item counts for the extents.
    static bool applyFlagOp(CQorDisplayItem& item, DWORD op) noexcept;
    void appendItem(CQorDisplayItem&& item);
    void setExtents(bool any, const CQorPoint3d& min, const CQorPoint3d& max);

    /// The revision of the items: 0 for a list that never held any, then a fresh number from a process-wide
    /// counter at every change. A list moved from takes a fresh number too: it no longer holds its items.
    class Revision {
    public:
        Revision() noexcept = default;
        Revision(const Revision&) noexcept = default;
        Revision& operator=(const Revision&) noexcept = default;
        Revision(Revision&& other) noexcept : m_value(other.m_value) { other.bump(); }
        Revision& operator=(Revision&& other) noexcept {
            m_value = other.m_value;
            other.bump();
            return *this;
        }
        std::uint64_t value() const noexcept { return m_value; }
        void bump() noexcept;

    private:
        std::uint64_t m_value = 0;
    };
    /// The items, for a change: moves the revision on.
    CQorArrayTempl<CQorDisplayItem>& changeItems() noexcept {
        m_revision.bump();
        return m_list;
    }

    Revision m_revision;
    /// The revision at which the items were last found in draw order: a list painted again is not read
    /// through once more.
    std::uint64_t m_sortedAt = std::numeric_limits<std::uint64_t>::max();
    CQorColor m_backColor;
    double m_pdSize = 0.0;
    DWORD m_pdMode = 0;
    CQorMatrix3d m_projMtx;
    CQorMatrix3d m_viewMtx;
    CQorMatrix3d m_zoomMtx;
    /// Empty, or exactly [minimum corner, maximum corner] in projected space.
    CQorPoint3dArray m_extents;
    CQorPoint3d m_viewMin;
    CQorPoint3d m_viewMax;
    CQorArrayTempl<CQorDisplayItem> m_list;
    /// Slot n (1-based) at index n - 1.
    CQorArrayTempl<CQorColor> m_colorTab;
    CQorMatrix3d m_viewDirMtx;
};

/// The view matrix that fits the box pmin..pmax (projected space; only x and y count), widened on each
/// side by margin times its larger side, into a window of width x height pixels (0 stands for 320 x 240):
/// the relatively larger side fills the window, the other is centred, and y is turned to grow downwards.
/// A model point (x, y) lands at pixel (s (x - left), height - s (y - bottom)). The identity when the
/// widened box has no area.
QOR_EXPORT CQorMatrix3d getViewMtx(CQorPoint3d pmin, CQorPoint3d pmax, int height, int width, double margin);

/// Asks the host to lay out a text: calls the host function "qor_text_to_regl" with the LISP form of
/// data (a directory, as a list of dotted pairs, for example "TEXT", "ALIGN" and "HEIGHT") and height
/// as a real. out is emptied, then filled when the host answers RTNORM with a list (or nil) of stroke
/// groups (QOR::fromRb). True when out is non-empty afterwards; false, out unchanged, for null data.
QOR_EXPORT bool qor_text_to_regl(const CQorDataItem* data, CQorStrokeGroups& out, double height);

/// The direction of a named view: "P" (0,0,1), "N" (0,1,0), "S" (0,-1,0), "O" (-1,0,0), "W" (1,0,0), "NO"
/// (1,1,1), "NW" (-1,1,1), "SO" (1,-1,1), "SW" (-1,-1,1); the zero vector for any other name. The vector
/// points from the model towards the viewer.
QOR_EXPORT CQorVector3d qor_gdx_view_vdir_get(const CQorString& name);
