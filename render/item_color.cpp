// Item colours: the colour mode picks the item's own colour, a colour-table slot or the complement of
// the background; each target then makes sure the colour stays visible on its background.
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// A colour that would vanish: the window inverts one equal to its background; a metafile has no
/// background of its own and is usually shown on white, so white becomes black.
COLORREF visible(const Frame& frame, COLORREF rgb) {
    if (frame.window()) return rgb == frame.dc.GetBkColor() ? rgb ^ kInvertMask : rgb;
    return rgb == kInvertMask ? 0 : rgb;
}

} // namespace

COLORREF itemColor(const Frame& frame, int item, GdxColorMode& mode) {
    mode = gdxColorMode(frame.gdx.flagGet(item));
    const CQorColor& own = frame.gdx.colorGet(item);
    if (mode == GdxColorOwn && own.colorIndex() == -1) mode = GdxColorInverse;
    COLORREF rgb = 0;
    if (mode == GdxColorOwn)
        rgb = own.oleColor();
    else if (mode == GdxColorInverse)
        rgb = frame.back ^ kInvertMask;
    else
        rgb = frame.gdx.colorTabGet(mode).oleColor();
    return visible(frame, rgb & kInvertMask);
}

COLORREF fillColor(const Frame& frame, int item, const ItemStyle& style) {
    // The window goes by the promoted mode, so a colourless region fills in the complement of the
    // background; the metafile goes by the stored mode.
    const GdxColorMode mode = frame.window() ? style.mode : gdxColorMode(frame.gdx.flagGet(item));
    if (mode != GdxColorOwn) return style.color;
    const CQorColor& fill = frame.gdx.fcolorGet(item);
    if (fill.colorIndex() != 0) return visible(frame, fill.oleColor() & kInvertMask);
    return style.color;
}

} // namespace QOR::render
