// Items a zoomed-in window leaves out: whatever the renderer skips must be an item that would not have
// painted a single pixel. Each view draws every skipped item anyway, with nothing skipped, onto an empty
// canvas, and the canvas must stay empty.
#include <gtest/gtest.h>

#include <cmath>

#include "qor/kernel/locale/units.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render_p.h"
#include "tiled_demo.h"

namespace {

using namespace QOR::render;

constexpr int kWidth = 160, kHeight = 120;
constexpr COLORREF kEmpty = RGB(1, 2, 3); // a colour no item of the demo draws in

/// A window canvas and the frame that draws into it, for one view of gdx.
struct Canvas {
    CBitmap bitmap;
    CRasterDC dc;
    CRgn client;
    FrameCache cache;

    explicit Canvas(CQorGDX& gdx) {
        bitmap.CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.SelectStockObject(NULL_PEN);
        dc.FillSolidRect(0, 0, kWidth, kHeight, kEmpty);
        client.CreateRectRgn(0, 0, kWidth, kHeight);
        dc.SelectClipRgn(&client);
        dc.SetBkColor(gdx.backColorGet().oleColor() & kInvertMask);
        gdx.displListSort();
    }
    Frame frame(const CQorGDX& gdx) {
        const auto mm = [](double length) {
            return QOR::acadUnitCv(length, Qor::kUnitMillimeter, Qor::kUnitCurrent);
        };
        return Frame{dc,
                     gdx,
                     QOR::RenderTarget::Window,
                     kWidth,
                     kHeight,
                     gdx.backColorGet().oleColor() & kInvertMask,
                     sceneMatrix(gdx),
                     fixedScaleMatrix(gdx, kWidth, kHeight),
                     mm(kDotLengthMm),
                     mm(kMinSegmentMm),
                     mm(QOR::detail::kPatternDotMm),
                     &client,
                     cache.scratch,
                     cache.lookups};
    }
    int paintedPixels() const {
        int painted = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                painted += bitmap.surface()->colorAt(x, y) != kEmpty;
        return painted;
    }
};

/// Draws item i as drawItems does, without asking whether it can be seen.
void drawRegardless(const Frame& frame, int i, const ItemStyle& style) {
    CPen pen(PS_SOLID, frame.gdx.thicknGet(i), style.color);
    CPen* old = frame.dc.SelectObject(&pen);
    switch (frame.gdx.typeGet(i)) {
    case QorDisplayVl:
        drawPolyline(frame, i, style);
        break;
    case QorDisplayReg:
        drawRegion(frame, i, style);
        break;
    case QorDisplayTxt:
        drawText(frame, i, style);
        break;
    default:
        break;
    }
    frame.dc.SelectObject(old);
}

void zoomAbout(CQorGDX& gdx, double factor, double x, double y) {
    CQorMatrix3d zoom;
    zoom.setToScaling(factor, CQorPoint3d(x, y, 0));
    gdx.zoomMtxSet(zoom * CQorMatrix3d(gdx.zoomMtxGet()));
}

} // namespace

TEST(RenderCull, ItemsLeftOutWouldPaintNothing) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 2000, kWidth, kHeight));
    // Zoomed in about points at the edges and inside, so that items lie across every side of the window.
    const struct {
        double factor, x, y;
    } views[] = {
        {3.0, 0.0, 0.0}, {2.5, kWidth, kHeight}, {7.0, kWidth * 0.4, kHeight * 0.6}, {1.7, -9.0, 50.0}};
    int culled = 0, kept = 0;
    for (const auto& view : views) {
        zoomAbout(gdx, view.factor, view.x, view.y);
        Canvas canvas(gdx);
        const Frame frame = canvas.frame(gdx);
        for (int i = 0; i < gdx.lenGet(); ++i) {
            if (gdx.flagGet(i) & QOR::GdxItemHidden) continue;
            ItemStyle style;
            style.base = baseMatrix(frame, i);
            style.color = itemColor(frame, i, style.mode);
            if (mayReachWindow(frame, i, style)) {
                ++kept;
                continue;
            }
            ++culled;
            drawRegardless(frame, i, style);
        }
        EXPECT_EQ(canvas.paintedPixels(), 0)
            << "zoom " << view.factor << " about " << view.x << ", " << view.y;
    }
    EXPECT_GT(culled, 1000); // the views do leave most of the list out
    EXPECT_GT(kept, 100);
}

TEST(RenderCull, KeepsWhatItCannotBound) {
    CQorGDX gdx;
    CQorVertexArray line;
    line.append(CQorPoint3d(-5000, -5000, 0), CQorPoint3d(-4000, -5000, 0));
    CQorVertexArray nan;
    nan.append(CQorPoint3d(NAN, 10, 0), CQorPoint3d(20, 10, 0));
    for (const CQorVertexArray* vl : {&line, &nan, &line})
        gdx.imageVl(CQorArrayTempl<int>{1}, 0, *vl, CQorColor(1), CQorMatrix3d(), {1.0}, 1.0, 0, {});
    ASSERT_EQ(gdx.lenGet(), 3);
    Canvas canvas(gdx);
    Frame frame = canvas.frame(gdx);
    ItemStyle style;
    style.base = CQorMatrix3d();
    EXPECT_FALSE(mayReachWindow(frame, 0, style)); // far to the left and above
    EXPECT_TRUE(mayReachWindow(frame, 1, style));  // a NaN lands somewhere on the device
    style.base.entry[3][0] = 1e-9;                 // projective: bounds of the corners prove nothing
    EXPECT_TRUE(mayReachWindow(frame, 2, style));
    frame.target = QOR::RenderTarget::Metafile; // a metafile keeps every record
    style.base = CQorMatrix3d();
    EXPECT_TRUE(mayReachWindow(frame, 0, style));
}
