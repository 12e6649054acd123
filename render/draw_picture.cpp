// Picture items: an image file or an icon copied at its own size to a rectangle given in device pixels.
#include <cstdint>

#include "qor/platform/raster/raster_dc.h"
#include "qor/render/picture.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Largest bitmap a picture is scaled to: the rectangle can come from a file, and a few huge ones would
/// otherwise take gigabytes and seconds to scale whatever the size of the surface.
constexpr std::int64_t kMaxPictureArea = std::int64_t(1) << 24;

bool pictureSizeFits(int width, int height) {
    return width <= kMetafileSideLimit && height <= kMetafileSideLimit &&
           std::int64_t(width) * height <= kMaxPictureArea;
}

} // namespace

void drawPicture(const Frame& frame, int item) {
    // Read in place (what pictureGet and geomGet copy out), so that a repaint allocates nothing.
    const CQorDisplayItem& it = frame.item(item);
    const CQorString& name = it.m_text;
    const int number = int(it.m_pdMode);
    const DWORD flags = frame.gdx.flagGet(item);

    // The rectangle is in device pixels already: no matrix applies. Without corners (and always when
    // fitted) the picture takes the whole drawing.
    double left = 0.0, top = 0.0, right = frame.width, bottom = frame.height;
    if (!(flags & GdxItemPictureFit) && !it.m_vl.isEmpty()) {
        const CQorVertexArray& c = it.m_vl;
        left = c[0].start.x;
        top = c[0].start.y;
        right = c[-1].end.x;
        bottom = c[-1].end.y;
    }
    // Icons come out opaque on the back colour, so their transparent corners show it in both targets.
    const bool flag = !frame.window() && (flags & GdxItemPictureOpt);
    const int width = deviceCoord(right - left), height = deviceCoord(bottom - top);
    if (!pictureSizeFits(width, height)) return; // as when the bitmap cannot be made
    CBitmap* bitmap = frame.lookups.picture(name, number, width, height, flag, frame.back);
    if (!bitmap) return;

    CRasterDC source;
    if (!source.CreateCompatibleDC(&frame.dc)) return;
    CBitmap* old = source.SelectObject(bitmap);
    frame.dc.BitBlt(deviceCoord(left), deviceCoord(top), bitmap->width(), bitmap->height(), &source, 0, 0,
                    SRCCOPY);
    source.SelectObject(old);
}

} // namespace QOR::render
