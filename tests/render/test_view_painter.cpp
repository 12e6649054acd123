// The persistent painter of a view window: the same pixels as paintToBitmap, drawn straight into the
// caller's rows, repaint after repaint; patterns asked for once until the list or the configuration
// changes; a failed paint leaves the back colour and one message.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "failing_allocations.h"
#include "forwarding_host.h"
#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/host/host_app.h"
#include "qor/render/render.h"
#include "qor/render/render_p.h"
#include "qor/render/view_painter.h"
#include "tiled_demo.h"

namespace {

/// Pixels as a window hands them over: rows padded beyond the width, the padding marked.
struct Pixels {
    static constexpr std::uint32_t kPadding = 0xAB123456;
    int width, height, strideWords;
    std::vector<std::uint32_t> words;

    Pixels(int w, int h, int padWords = 3)
        : width(w), height(h), strideWords(w + padWords), words(std::size_t(strideWords) * h, kPadding) {}
    std::ptrdiff_t strideBytes() const { return std::ptrdiff_t(strideWords) * 4; }
    bool paint(QOR::CViewPainter& painter, CQorGDX* gdx) {
        return painter.paint(gdx, words.data(), width, height, strideBytes());
    }
    /// The first pixel that differs from bitmap (as "x,y"), "" when all agree and the padding is untouched.
    std::string differenceFrom(const CBitmap& bitmap) const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < strideWords; ++x) {
                const std::uint32_t p = words[std::size_t(y) * strideWords + x];
                const bool same = x < width ? p == bitmap.surface()->row32(y)[x] : p == kPadding;
                if (!same) return std::to_string(x) + "," + std::to_string(y);
            }
        return "";
    }
};

/// Pixels.differenceFrom what paintToBitmap draws of gdx at the same size.
std::string differenceFromPaint(const Pixels& pixels, CQorGDX& gdx) {
    CBitmap bitmap;
    if (!QOR::paintToBitmap(&gdx, bitmap, pixels.width, pixels.height)) return "paintToBitmap failed";
    return pixels.differenceFrom(bitmap);
}

void zoomAbout(CQorGDX& gdx, double factor, double x, double y) {
    CQorMatrix3d zoom;
    zoom.setToScaling(factor, CQorPoint3d(x, y, 0));
    gdx.zoomMtxSet(zoom * CQorMatrix3d(gdx.zoomMtxGet()));
}

/// The default host, counting the pattern look-ups.
class CountingHost final : public ForwardingHost {
public:
    int patterns = 0;
    bool patternGet(const wchar_t* name, CQorArrayTempl<CQorArrayTempl<double>>& def) override {
        ++patterns;
        return ForwardingHost::patternGet(name, def);
    }
};

struct CountingSink {
    int count = 0;
    QOR::DiagnosticReceiver previous = QOR::setDiagnosticSink(&CountingSink::sink, this);
    ~CountingSink() { QOR::setDiagnosticSink(previous.sink, previous.context); }
    static void sink(void* context, QOR::DiagnosticLevel, const char*) noexcept {
        ++static_cast<CountingSink*>(context)->count;
    }
};

TEST(ViewPainter, RepaintsEqualPaintToBitmapThroughZoomsAndSizeChanges) {
    CQorGDX small, large;
    ASSERT_TRUE(tiledDemo(small, 0, 200, 150));
    ASSERT_TRUE(tiledDemo(large, 20000, 200, 150)); // large enough for the drawing threads
    QOR::CViewPainter painter;
    for (CQorGDX* gdx : {&small, &large}) {
        for (const auto& [w, h] : {std::pair{200, 150}, std::pair{200, 150}, std::pair{97, 211}}) {
            Pixels pixels(w, h);
            ASSERT_TRUE(pixels.paint(painter, gdx));
            EXPECT_EQ(differenceFromPaint(pixels, *gdx), "") << w << " x " << h;
            zoomAbout(*gdx, 1.2, w / 3.0, h / 2.0);
        }
    }
}

/// Moves the list's projection far from the origin and fits the view to it again. nearAffine puts 1e-300
/// into the projection's last row: every point is placed bit for bit as before (w stays exactly 1), but the
/// renderer can no longer bound items by boxes, so it neither culls nor skips a glyph by its bounds.
void placeFar(CQorGDX& gdx, int width, int height, bool nearAffine) {
    CQorMatrix3d proj;
    proj.setToTranslation(CQorVector3d(3.0e6, -1.5e6, 0.0));
    if (nearAffine) proj.entry[3][0] = 1e-300;
    gdx.projMtxSet(proj);
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, height, width, 0.05));
    gdx.zoomMtxSet(CQorMatrix3d());
}

TEST(ViewPainter, WhatBoundsLeaveOutWouldPaintNothing) {
    // Texts whose glyphs shrink to a point, items beside the window and items across its edges, far
    // from the origin, at several zooms and turned: bounded and unbounded drawing agree pixel for pixel.
    constexpr int kW = 240, kH = 160;
    CQorGDX bounded, unbounded;
    ASSERT_TRUE(tiledDemo(bounded, 3000, kW, kH));
    ASSERT_TRUE(tiledDemo(unbounded, 3000, kW, kH));
    placeFar(bounded, kW, kH, false);
    placeFar(unbounded, kW, kH, true);
    QOR::CViewPainter painter;
    CQorMatrix3d turn;
    turn.setToRotation(0.37, CQorVector3d(0, 0, 1), CQorPoint3d(kW / 2.0, kH / 2.0, 0));
    const struct {
        double factor, x, y;
        bool turned;
    } views[] = {{1.0, 0, 0, false},
                 {0.3, kW / 2.0, kH / 2.0, false},
                 {4.0, 0, 0, false},
                 {9.0, kW * 0.7, kH * 0.2, true},
                 {40.0, kW * 0.3, kH * 0.6, true}};
    for (const auto& view : views) {
        for (CQorGDX* gdx : {&bounded, &unbounded}) {
            zoomAbout(*gdx, view.factor, view.x, view.y);
            if (view.turned) gdx->zoomMtxSet(turn * CQorMatrix3d(gdx->zoomMtxGet()));
        }
        Pixels pixels(kW, kH);
        ASSERT_TRUE(pixels.paint(painter, &bounded));
        EXPECT_EQ(differenceFromPaint(pixels, unbounded), "") << "zoom " << view.factor;
    }
}

TEST(ViewPainter, KeptPolylinesOfEveryShapeRepaintAsDrawn) {
    // Polylines kept in the plane and kept as segments (lifted, at z = -0, with arcs), continuous and
    // dotted, doubling back, far from the origin: each repaint after a pan or a zoom as paintToBitmap.
    CQorGDX gdx(CQorColor(250), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
    const auto add = [&](double z, double bulge, const CQorArrayTempl<double>& lineType) {
        const double x0 = 1.0e6 + 37.0 * gdx.lenGet(), y0 = -2.0e6;
        CQorVertexArray vl;
        vl.append(CQorVertex(CQorPoint3d(x0, y0, z), CQorPoint3d(x0 + 30, y0 + 7, z), bulge));
        vl.append(CQorPoint3d(x0 + 30, y0 + 7, z), CQorPoint3d(x0 + 2, y0 + 60, z));
        vl.append(CQorPoint3d(x0 + 2, y0 + 60, z), CQorPoint3d(x0 + 30, y0 + 7, z)); // back again
        gdx.imageVl(CQorArrayTempl<int>{gdx.lenGet() + 1}, 0, vl, CQorColor(1 + gdx.lenGet() % 7),
                    CQorMatrix3d(), lineType, 1.0, 1, CQorPoint3d());
    };
    for (const CQorArrayTempl<double>& lineType :
         {CQorArrayTempl<double>{}, CQorArrayTempl<double>{1, 1, 0}, CQorArrayTempl<double>{1, 2, 0}}) {
        add(0.0, 0.0, lineType);
        add(-0.0, 0.0, lineType);
        add(5.0, 0.0, lineType);
        add(0.0, 0.4, lineType);
    }
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, 120, 400, 0.05));
    QOR::CViewPainter painter;
    Pixels pixels(400, 120);
    CQorMatrix3d pan;
    pan.setToTranslation(CQorVector3d(3, -2, 0));
    for (const double zoom : {1.0, 0.4, 3.0}) {
        zoomAbout(gdx, zoom, 200, 60);
        ASSERT_TRUE(pixels.paint(painter, &gdx));
        EXPECT_EQ(differenceFromPaint(pixels, gdx), "") << "zoom " << zoom;
        gdx.zoomMtxSet(pan * CQorMatrix3d(gdx.zoomMtxGet()));
        ASSERT_TRUE(pixels.paint(painter, &gdx));
        EXPECT_EQ(differenceFromPaint(pixels, gdx), "") << "zoom " << zoom << ", panned";
    }
}

TEST(ViewPainter, RepaintsItemsChangedSinceTheLastPaint) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 20000, 200, 150)); // drawn by the drawing threads
    QOR::CViewPainter painter;
    Pixels pixels(200, 150);
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    zoomAbout(gdx, 8.0, 20, 20); // texts that show their glyphs, hatches drawn as lines
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    // Texts laid out anew, a hatch changed, items removed (every later item moves up), a polyline moved
    // and restyled.
    ASSERT_TRUE(gdx.txtSet(CQorArrayTempl<int>{11}, L"WWWW"));
    ASSERT_TRUE(gdx.hatchSet(CQorArrayTempl<int>{4}, QOR::CHatchProp(L"ANSI37", 0.5, 2.0, false)));
    ASSERT_TRUE(gdx.clear(CQorArrayTempl<int>{9}));
    CQorMatrix3d shift;
    shift.setToTranslation(CQorVector3d(5, 5, 0));
    ASSERT_TRUE(gdx.mtxSet(CQorArrayTempl<int>{1}, shift));
    ASSERT_TRUE(gdx.cModeSet(CQorArrayTempl<int>{2}, QOR::GdxColorHighlight));
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    EXPECT_EQ(differenceFromPaint(pixels, gdx), "");
}

TEST(ViewPainter, BadArgumentsLeaveThePixelsAlone) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 0, 40, 30));
    QOR::CViewPainter painter;
    Pixels pixels(40, 30);
    const std::vector<std::uint32_t> before = pixels.words;
    EXPECT_FALSE(pixels.paint(painter, nullptr));
    EXPECT_FALSE(painter.paint(&gdx, nullptr, 40, 30, 160));
    EXPECT_FALSE(painter.paint(&gdx, pixels.words.data(), 0, 30, 160));
    EXPECT_FALSE(painter.paint(&gdx, pixels.words.data(), 40, -1, 160));
    EXPECT_FALSE(painter.paint(&gdx, pixels.words.data(), 40, 30, 156)); // shorter than a row
    EXPECT_FALSE(painter.paint(&gdx, pixels.words.data(), 40, 30, 162)); // not whole pixels
    EXPECT_EQ(pixels.words, before);
}

TEST(ViewPainter, KeepsHatchPatternsUntilTheListOrTheConfigurationChanges) {
    HostInstalled<CountingHost> installed;
    CQorGDX gdx, other;
    ASSERT_TRUE(tiledDemo(gdx, 0, 80, 60));
    ASSERT_TRUE(tiledDemo(other, 0, 80, 60));
    QOR::CViewPainter painter;
    Pixels pixels(80, 60);
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    const int first = installed.host.patterns;
    ASSERT_GT(first, 0) << "the demo hatches a region";
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    EXPECT_EQ(installed.host.patterns, first);

    ASSERT_TRUE(pixels.paint(painter, &other));
    EXPECT_EQ(installed.host.patterns, 2 * first);
    painter.forget();
    ASSERT_TRUE(pixels.paint(painter, &other));
    EXPECT_EQ(installed.host.patterns, 3 * first);
    {
        const QOR::CCfgBackup keep;
        ASSERT_TRUE(QOR::cfgMgrPtr()->reload());
    }
    ASSERT_TRUE(pixels.paint(painter, &other));
    EXPECT_EQ(installed.host.patterns, 4 * first);
}

TEST(ViewPainter, AFailedPaintShowsTheBackColourAndReportsOnce) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 0, 64, 48));
    QOR::CViewPainter painter;
    Pixels pixels(64, 48);
    ASSERT_TRUE(pixels.paint(painter, &gdx)); // the painter's own state exists: only the frame can fail
    const std::uint32_t back = QOR::detail::pixelFromColor(gdx.backColorGet().oleColor() & 0xFFFFFF);
    CountingSink sink;
    bool failed = false;
    {
        const failing_allocations::Armed armed(2);
        failed = !pixels.paint(painter, &gdx);
    }
    ASSERT_TRUE(failed);
    EXPECT_EQ(sink.count, 1);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            ASSERT_EQ(pixels.words[std::size_t(y) * pixels.strideWords + x], back) << x << "," << y;
    // And the next paint draws again.
    ASSERT_TRUE(pixels.paint(painter, &gdx));
    EXPECT_EQ(differenceFromPaint(pixels, gdx), "");
}

} // namespace
