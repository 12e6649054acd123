#pragma once

// View windows of display lists: CQorDplistImage shows a list the caller owns and lets the user pan
// (middle button), zoom (wheel), fit (middle double click) and pick (left button); CQorVllImage shows
// polylines of its own with one of them highlighted.
//
// Conventions
//  - Client points: pixels from the client area's top-left corner, y down; the list's window space is
//    the same (its view matrix maps model space onto it). Wheel points come in screen coordinates, as
//    the wheel message has them; every other handler takes client points.
//  - The zoom matrix is the window's own: it keeps its translation in column 3 (entry[0][3] is x,
//    entry[1][3] is y, client pixels) and is handed to the list after each change; the window never
//    reads the list's zoom matrix back.
//  - Each handler is the behaviour of its mouse message and can be called directly; bindEvents() turns
//    wx events into calls (render/ui/wx_args.h). A handler's "default handling" is the event skipped on
//    to wx.
//  - A pick goes to the parent as a queued QOR_EVT_ITEM_PICKED command event: its id is the window's,
//    its int the top-level id of the item picked.
//  - Paint draws through a CViewPainter into a cairo image the window keeps at its client size and sets
//    it as the source of the paint context's cairo context (GTK 3): the painter's pixels reach the
//    screen without a copy of ours. Nothing else draws on the window. Without a list the window shows
//    its background colour only.

#include <memory>

#include <wx/cursor.h>
#include <wx/event.h>
#include <wx/window.h>

#include "qor/gdx/gdx.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"
#include "qor/render/view_painter.h"

/// Posted to the parent when the user picks an item (see Conventions).
wxDECLARE_EXPORTED_EVENT(QOR_UI_EXPORT, QOR_EVT_ITEM_PICKED, wxCommandEvent);

namespace QOR::detail {
struct PaintImage;
/// Library cursor 4006 (the pan cursor); the cross cursor when the resource cannot be read.
QOR_UI_EXPORT wxCursor panCursor();
} // namespace QOR::detail

class QOR_UI_EXPORT CQorDplistImage : public wxWindow {
public:
    /// No window yet: Create makes it. No list, identity zoom; both cursors loaded.
    CQorDplistImage();
    CQorDplistImage(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize, long style = 0);
    ~CQorDplistImage() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    /// Attaches gdx (not owned; it must outlive the attachment) or detaches with null; the whole window is
    /// repainted. True when a list is attached now.
    bool set_dpList(CQorGDX* gdx);
    CQorGDX* get_dpList() const noexcept { return m_gdx; }
    /// With a list: its view matrix fitted to its view extents for the client size (margin 0.05), the
    /// window's zoom matrix and the list's set to identity. Does not repaint.
    void zoomExtents();
    /// The window's zoom matrix (see Conventions).
    const CQorMatrix3d& zoomMtx() const noexcept { return m_zoom; }

    void OnPaint();
    /// Not handled (0) while the middle button is down (flags & MK_MBUTTON); without a list or with a
    /// delta of 0, handled (1) without change. Otherwise zooms by f = |delta| * 1.2 / 120 (its inverse for
    /// a negative delta) about pt, given in screen coordinates, and repaints: one notch zooms in by 1.2, a
    /// delta of 60 gives f = 0.6, so a small positive turn shrinks the picture.
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    /// While the window has the focus: with the middle button down, pans by the distance from where it
    /// went down (with a list) and shows the pan cursor; otherwise the normal cursor.
    void OnMouseMove(UINT flags, CPoint pt);
    /// Takes the focus; picks the top-most item at pt (the list stays sorted and reversed) and posts its
    /// top-level id to the parent; nothing when no item lies there.
    void OnLButtonDown(UINT flags, CPoint pt);
    void OnLButtonUp(UINT flags, CPoint pt);
    /// Starts panning: focus, the zoom translation kept as pan origin, the mouse captured, pt kept as pan
    /// start, the pan cursor.
    void OnMButtonDown(UINT flags, CPoint pt);
    /// Ends panning: capture released, normal cursor.
    void OnMButtonUp(UINT flags, CPoint pt);
    /// zoomExtents and a repaint.
    void OnMButtonDblClk(UINT flags, CPoint pt);

protected:
    /// True when this window has the keyboard focus.
    bool focused() const;
    /// Repaints the whole window (once it exists).
    void invalidate() {
        if (GetHandle()) Refresh();
    }

private:
    void bindEvents();
    void setPanOrigin() noexcept;

    CQorGDX* m_gdx = nullptr; ///< attached list, not owned
    CQorMatrix3d m_zoom;
    int m_panStartX = 0, m_panStartY = 0;          ///< client pixels where the middle button went down
    double m_panOriginX = 0.0, m_panOriginY = 0.0; ///< zoom translation when panning started
    wxCursor m_panCursor;
    wxCursor m_normalCursor;
    QOR::CViewPainter m_painter;
    std::unique_ptr<QOR::detail::PaintImage> m_image; ///< the painted pixels at client size
};

class QOR_UI_EXPORT CQorVllImage : public CQorDplistImage {
public:
    /// Its own list attached; the back colour of the host application (imageBkColor); base point shown.
    CQorVllImage();
    CQorVllImage(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxDefaultSize, long style = 0);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    /// Stores rgb (0x00BBGGRR) as the back colour; the contrast colour becomes white when the mean of the
    /// three components is below 128, else black; the list gets both (the contrast colour in colour-table
    /// slot 6).
    void SetBkColor(DWORD rgb);
    DWORD contrastColor() const noexcept { return m_contrast; }
    /// Replaces the list: the base point at the origin with path (0), each polyline i with path (i + 1);
    /// fits the view and repaints. The polylines are not kept. True.
    bool setVll(const CQorArrayTempl<CQorVertexArray>& vll);
    /// Highlights polyline index (none for a negative index) and restores the colour of the one before;
    /// repaints. Returns the index highlighted before.
    int SetCurVl(int index);
    /// Shows or hides the base point (and counts it in the extents or not); fits the view and repaints.
    /// Returns the old setting.
    bool setDrawBase(bool show);
    void OnLButtonDblClk(UINT flags, CPoint pt);

    CQorGDX& list() noexcept { return m_own; }

private:
    void init();

    CQorGDX m_own;
    int m_pdSize = 0;
    DWORD m_pdMode = 0xFFFFFFFF;
    int m_curVl = -1;
    DWORD m_back = 0;
    DWORD m_contrast = 0;
    bool m_drawBase = true;
};
