#pragma once

// CPicture: a picture file (PNG, JPEG, BMP, ICO, GIF, TIFF, whatever wxImage reads) in a window of its own,
// shrunk to fit, zoomed by the wheel about the cursor, panned with the middle button, and copied to the
// library's clipboard as a metafile.
//
// Conventions
//  - Client points: pixels from the client area's top-left corner, y down. Wheel points come in screen
//    coordinates, as the wheel message has them; every other handler takes client points.
//  - Sizes: the picture's size in HIMETRIC (0.01 mm) comes from its pixel count and the file's resolution
//    (96 dpi when the file names none); its size in device pixels is that at the display's resolution,
//    rounded: width = (himetric width * dpi + 1270) / 2540, likewise the height. Both sizes are clamped
//    to 1 .. 2^24, whatever resolution a file claims.
//  - Fit: f = max(1, height / client height, width / client width): a picture is shrunk to fit, never
//    enlarged. The picture is shown at origin (x, y) with size zoom * size / f; fitting centres it
//    (origin = trunc((client - size / f) / 2)) and sets zoom to 1.
//  - Each handler is the behaviour of its mouse message and can be called directly; one-line bindings
//    turn wx events into calls (render/ui/wx_args.h).
//  - Paint draws into an image at client size and blits it once (render/ui/paint_image_p.h): the back
//    colour, then the picture (its transparent parts show the back colour).

#include <memory>

#include <wx/string.h>
#include <wx/window.h>

#include "qor/platform/emf/metafile.h"
#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

namespace QOR {

namespace detail {
struct PaintImage;
struct PictureSurface;
} // namespace detail

class QOR_UI_EXPORT CPicture : public wxWindow {
public:
    /// No window yet: Create makes it. No picture, zoom 1, the system's button-face colour as back colour.
    CPicture();
    CPicture(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxDefaultSize, long style = 0);
    ~CPicture() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    /// False for a null path. Otherwise drops the current picture, loads the file, fits it, repaints and
    /// returns true, also when the file could not be read: then the window holds no picture and the
    /// reason (the system's error text, or that the file holds no picture wxImage reads) is shown in a
    /// message box titled "CPicture::LoadImage" (showError).
    bool LoadImage(const wchar_t* path);
    /// With a picture: fits it to the client area, zoom 1, and repaints.
    virtual void Reset();
    /// Stores colour (0x00BBGGRR) as the back colour; shown from the next paint.
    virtual void SetBackColor(DWORD colour);
    /// False without a picture or when the clipboard cannot be opened. Otherwise the clipboard is emptied
    /// and gets the picture at its pixel size (transparent parts white) as a metafile, or stays empty when
    /// there is no memory for one; true.
    virtual bool Copy();
    /// The picture at its pixel size over white, as Copy puts it on the clipboard; null without a
    /// picture or when there is no memory for it.
    HENHMETAFILE metafile() const;

    bool hasPicture() const noexcept { return m_picture != nullptr; }
    int pixelWidth() const noexcept { return m_width; }
    int pixelHeight() const noexcept { return m_height; }
    int himetricWidth() const noexcept { return m_himetricWidth; }
    int himetricHeight() const noexcept { return m_himetricHeight; }
    double zoom() const noexcept { return m_zoom; }
    CPoint origin() const noexcept { return CPoint(m_originX, m_originY); }
    DWORD backColor() const noexcept { return m_back; }

    void OnPaint();
    /// About pt (screen coordinates): a positive delta zooms in by 1.5 unless zoom is above 20, any other
    /// delta zooms out by 1.5 unless zoom is below 0.5; the origin moves so that the picture point under
    /// the cursor stays put (origin = trunc((origin - p) * step + p)). Returns 1 and repaints after a
    /// step; 0 for a refused step or without a picture, changing nothing.
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);
    /// Starts panning: focus, mouse captured, the origin and pt kept.
    void OnMButtonDown(UINT flags, CPoint pt);
    /// Ends panning: capture released.
    void OnMButtonUp(UINT flags, CPoint pt);
    /// While panning with the middle button held: origin = origin kept + (pt - point kept), repaint.
    void OnMouseMove(UINT flags, CPoint pt);

protected:
    /// Shows a failed load's reason; a message box. Tests replace it.
    virtual void showError(const wxString& text, const wxString& title);

private:
    void bindEvents();
    /// Reads path into m_picture and sets the sizes; the reason when it cannot ("" on success).
    wxString load(const wchar_t* path);
    void fit();
    /// f of the fit for the current client size (1 for an empty client area).
    double fitFactor() const;
    void invalidate() {
        if (GetHandle()) Refresh();
    }

    DWORD m_back = 0;
    std::unique_ptr<detail::PictureSurface> m_picture; ///< null: no picture
    int m_width = 0, m_height = 0;                     ///< device pixels
    int m_himetricWidth = 0, m_himetricHeight = 0;     ///< 0.01 mm
    double m_zoom = 1.0;
    int m_originX = 0, m_originY = 0;       ///< client pixels of the picture's top-left corner
    int m_panOriginX = 0, m_panOriginY = 0; ///< the origin when panning started
    int m_panStartX = 0, m_panStartY = 0;   ///< client pixels where the middle button went down
    bool m_panning = false;
    std::unique_ptr<detail::PaintImage> m_image; ///< the painted pixels at client size
};

} // namespace QOR
