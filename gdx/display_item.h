#pragma once

#include <cstdint>

#include "qor/gdx/gdx_types.h"
#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/color.h"
#include "qor/kernel/base/obj.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/vertex_array.h"

/// Glyph stroke groups of a text item: one group of closed polylines per glyph shape.
using CQorStrokeGroups = CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>;

/// One drawable entry of a display list (CQorGDX). A plain value: copies are deep.
///
/// Coordinates are item coordinates; the item matrix takes them to model space (see gdx/gdx.h for the
/// chain to the window). The fields are public so that renderers and serializers read them directly;
/// code that changes items goes through the display list, which keeps its extents in step.
///
/// Memory: an empty array or string owns no heap memory, so an item pays the heap only for the geometry
/// it carries. A typical polyline item allocates its item stack, its line type and its vertices.
///
/// Defaults (what an adder does not set): type 0, flags 0, empty arrays and strings, colours with
/// no colour index, point at the origin, point mode kGdxPdModeDefault and point size 0.0 (both follow the
/// list's defaults), line-type scale 1.0, thickness 0, identity matrix, no hatch pattern.
class QOR_EXPORT CQorDisplayItem : public CQorObj {
public:
    CQorDisplayItem() = default;
    CQorDisplayItem(const CQorDisplayItem&) = default;
    CQorDisplayItem(CQorDisplayItem&&) noexcept = default;
    CQorDisplayItem& operator=(const CQorDisplayItem&) = default;
    CQorDisplayItem& operator=(CQorDisplayItem&&) noexcept = default;
    ~CQorDisplayItem() override;

    /// True when every field but the stamp is equal. Doubles compare by value, with NaN equal to NaN (so an
    /// item always equals its copy); points, vertices and matrices compare exactly, not within a tolerance.
    bool operator==(const CQorDisplayItem& other) const noexcept;
    bool operator!=(const CQorDisplayItem& other) const noexcept { return !(*this == other); }

    QorDisplayObj m_type = QorDisplayObj(0);
    /// Flag bits (low byte, QOR::GdxItem...) and colour mode (bits 8-11).
    DWORD m_flags = 0;
    /// Item path: ids from the top level down; entry 0 is the top-level id.
    CQorArrayTempl<int> m_stack;
    /// Line and text colour.
    CQorColor m_color;
    /// Dash pattern handed to the renderer, in item units before m_ltscale.
    CQorArrayTempl<double> m_linetype;
    double m_ltscale = 1.0;
    /// Point (points), insertion point (texts) or anchor (anchored polylines and regions).
    CQorPoint3d m_point;
    /// Points: PDMODE (kGdxPdModeDefault = the list's). Pictures: resource number (kGdxNoPictureNumber =
    /// none).
    DWORD m_pdMode = QOR::kGdxPdModeDefault;
    /// Points: PDSIZE (0.0 = the list's).
    double m_pdSize = 0.0;
    /// Polylines: the geometry. Anchored points and texts: one vertex from the anchor to the origin.
    /// Pictures: one vertex from the first to the second corner, in device coordinates.
    CQorVertexArray m_vl;
    /// Regions: boundary 0 is the outer one (the only one counted for extents and picking).
    CQorArrayTempl<CQorVertexArray> m_regions;
    /// Item to model coordinates.
    CQorMatrix3d m_mtx;
    /// Regions: fill colour.
    CQorColor m_fcolor;
    /// Pen width handed to the renderer.
    int m_thickness = 0;
    QOR::CHatchProp m_hatch;
    /// Texts: alignment code.
    CQorString m_align;
    /// Texts: the text. Pictures: file or resource name.
    CQorString m_text;
    /// Texts: one group of polylines per glyph shape, placed and aligned in item coordinates.
    CQorStrokeGroups m_strokes;
    /// Set by the display list that holds the item whenever it adds or changes it, to a number no item has
    /// had (the counter of CQorGDX::revisionGet): what a painter keeps of the item holds while the number
    /// stands. 0 outside a list. Neither compared nor stored.
    std::uint64_t m_stamp = 0;
};
