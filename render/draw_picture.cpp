// Picture items: an image file or an icon copied at its own size to a rectangle given in device pixels.
#include "platform/raster/raster_dc.h"
#include "render/picture.h"
#include "render/render_p.h"

namespace QOR::render {

void drawPicture(const Frame& frame, int item) {
    const CQorGDX& gdx = frame.gdx;
    CQorString name;
    int number = 0;
    gdx.pictureGet(item, name, number);
    const DWORD flags = gdx.flagGet(item);

    // The rectangle is in device pixels already: no matrix applies. Without corners (and always when
    // fitted) the picture takes the whole drawing.
    CQorVertexArray corners;
    if (!(flags & GdxItemPictureFit)) gdx.geomGet(corners, item);
    double left = 0.0, top = 0.0, right = frame.width, bottom = frame.height;
    if (!corners.isEmpty()) {
        const CQorVertexArray& c = corners;
        left = c[0].start.x;
        top = c[0].start.y;
        right = c[-1].end.x;
        bottom = c[-1].end.y;
    }
    // Icons come out opaque on the back colour, so their transparent corners show it in both targets.
    const bool flag = !frame.window() && (flags & GdxItemPictureOpt);
    CBitmap* bitmap = frame.scratch.picture(name, number, deviceCoord(right - left),
                                            deviceCoord(bottom - top), flag, frame.back);
    if (!bitmap) return;

    CRasterDC source;
    if (!source.CreateCompatibleDC(&frame.dc)) return;
    CBitmap* old = source.SelectObject(bitmap);
    frame.dc.BitBlt(deviceCoord(left), deviceCoord(top), bitmap->width(), bitmap->height(), &source, 0, 0,
                    SRCCOPY);
    source.SelectObject(old);
}

} // namespace QOR::render
