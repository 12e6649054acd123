// The drawing rules of the renderer, checked on the verbs it sends to a recording device context. The
// lists use identity matrices, so model coordinates are device coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

#include "qor/render/picture.h"
#include "qor/render/render.h"
#include "recording_dc.h"

namespace {

using QOR::RenderTarget;
using Path = CQorArrayTempl<int>;

constexpr COLORREF kWhite = RGB(255, 255, 255);

CQorGDX makeList(int backIndex = 250) {
    return CQorGDX(CQorColor(backIndex), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
}

CQorVertexArray segment(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.append(CQorPoint3d(x0, y0, 0), CQorPoint3d(x1, y1, 0));
    return vl;
}

/// A loop through the corners (z = 0), closed back to the first.
CQorVertexArray loop(std::initializer_list<std::pair<double, double>> corners) {
    const std::vector<std::pair<double, double>> c(corners);
    CQorVertexArray vl;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const auto& next = c[(i + 1) % c.size()];
        vl.append(CQorPoint3d(c[i].first, c[i].second, 0), CQorPoint3d(next.first, next.second, 0));
    }
    return vl;
}

using Loops = CQorArrayTempl<CQorVertexArray>;

void addLine(CQorGDX& gdx, const CQorVertexArray& vl, const CQorColor& color,
             const CQorArrayTempl<double>& lt, double ltscale = 1.0, DWORD flags = 0,
             CQorPoint3d anchor = {}) {
    gdx.imageVl(Path{1}, flags, vl, color, CQorMatrix3d(), lt, ltscale, 1, anchor);
}

std::vector<std::string> draw(CQorGDX& gdx, RenderTarget target = RenderTarget::Window, int w = 200,
                              int h = 100) {
    RecordingDC dc;
    QOR::renderItems(gdx, dc, w, h, target);
    return dc.log;
}

/// The lines of the log that start with one of the prefixes, in order.
template <class... Prefix>
std::vector<std::string> only(const std::vector<std::string>& log, const Prefix&... prefixes) {
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (((line.rfind(prefixes, 0) == 0) || ...)) out.push_back(line);
    return out;
}

char hexColor[8];
const char* hex(COLORREF c) {
    std::snprintf(hexColor, sizeof hexColor, "%06x", unsigned(c));
    return hexColor;
}

TEST(RenderColor, ColourModesAndVisibilityOnTheBackground) {
    CQorGDX gdx = makeList(7); // white back colour
    gdx.ColorTabSet(QOR::GdxColorHighlight, CQorColor(1));
    addLine(gdx, segment(0, 0, 10, 0), CQorColor(), {});                                    // no colour
    addLine(gdx, segment(0, 1, 10, 1), CQorColor(7), {});                                   // white on white
    addLine(gdx, segment(0, 2, 10, 2), CQorColor(5), {}, 1.0, QOR::GdxColorHighlight << 8); // table slot 1
    // The complement of white and white inverted on a white window: one black pen, which the window
    // keeps for the second item. Then red from the table, and at the end the DC's own pen back.
    const std::vector<std::string> pens = only(draw(gdx), "pen 1 ");
    ASSERT_EQ(pens.size(), 3u);
    EXPECT_EQ(pens[0], std::string("pen 1 ") + hex(0));
    EXPECT_EQ(pens[1], std::string("pen 1 ") + hex(CQorColor(1).oleColor()));

    // A dark window keeps white as it is.
    CQorGDX dark = makeList(250);
    addLine(dark, segment(0, 1, 10, 1), CQorColor(7), {});
    EXPECT_EQ(only(draw(dark), "pen 1 ")[0], std::string("pen 1 ") + hex(kWhite));
}

TEST(RenderLineType, BuiltInPatternsScaleAndSolidLines) {
    // (1, 1, 0) is the dashed pattern (10, -4), times the line-type scale, fitted to the segment: it
    // starts and ends with half a dash, and 14 patterns of 7 fill 100 with each gap 1/7 longer.
    CQorGDX dashed = makeList();
    addLine(dashed, segment(0, 10, 100, 10), CQorColor(3), CQorArrayTempl<double>{1, 1, 0}, 0.5);
    const std::vector<std::string> lines = only(draw(dashed), "line ");
    ASSERT_EQ(lines.size(), 28u); // two half dashes per pattern
    EXPECT_EQ(lines[0], "line 0,10 2,10");
    EXPECT_EQ(lines[1], "line 4,10 7,10"); // 4.64 to 7.14
    EXPECT_EQ(lines[2], "line 7,10 9,10");
    EXPECT_EQ(lines[27], "line 97,10 100,10");

    // (1), (1, 0, 0) and an empty array are solid: one line from end to end.
    for (const CQorArrayTempl<double>& solid :
         {CQorArrayTempl<double>{1}, CQorArrayTempl<double>{1, 0, 0}, CQorArrayTempl<double>{}}) {
        CQorGDX gdx = makeList();
        addLine(gdx, segment(0, 10, 100, 10), CQorColor(3), solid, 0.5);
        EXPECT_EQ(only(draw(gdx), "line "), std::vector<std::string>{"line 0,10 100,10"});
    }
}

TEST(RenderLineType, ZeroEntriesAreDotsOfOnePixelWhateverTheScale) {
    CQorGDX gdx = makeList();
    addLine(gdx, segment(0, 10, 100, 10), CQorColor(3), CQorArrayTempl<double>{0, -10}, 2.0);
    const std::vector<std::string> log = draw(gdx);
    EXPECT_TRUE(only(log, "line ").empty());
    const std::vector<std::string> pixels = only(log, "pixel ");
    // The gap scales to 20, the dot stays 0.21: four patterns of 20.21 fit, their gaps widened to 25.
    ASSERT_EQ(pixels.size(), 4u);
    EXPECT_EQ(pixels[0].substr(0, pixels[0].rfind(' ')), "pixel 0,10");
    EXPECT_EQ(pixels[1].substr(0, pixels[1].rfind(' ')), "pixel 25,10");
}

TEST(RenderPoint, FiguresOfThePointModes) {
    auto figure = [](DWORD mode, double size) {
        CQorGDX gdx = makeList();
        gdx.imagePt(Path{1}, 0, CQorPoint3d(50, 40, 0), CQorColor(3), CQorMatrix3d(), size, mode, {});
        return only(draw(gdx), "line", "ellipse", "rect", "fill");
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(figure(0, -10), V{"ellipse 49 39 51 41"});
    EXPECT_EQ(figure(1, -10), V{});
    EXPECT_EQ(figure(2, 10),
              (V{"line 50,40 50,45", "line 50,40 50,35", "line 50,40 55,40", "line 50,40 45,40"}));
    EXPECT_EQ(figure(3, 10),
              (V{"line 50,40 55,45", "line 50,40 55,35", "line 50,40 45,45", "line 50,40 45,35"}));
    EXPECT_EQ(figure(4, 10), V{"line 50,40 50,35"});
    EXPECT_EQ(figure(33, 10), V{"ellipse 45 35 55 45"});
    EXPECT_EQ(figure(65, 10), V{"rect 45 35 55 45"});
    EXPECT_EQ(figure(8 | 2, 10), V{"fill 45 35 55 45 " + std::string(hex(CQorColor(3).oleColor()))});
}

TEST(RenderPoint, PositiveSizesFollowTheZoomNegativeSizesStayInPixels) {
    for (double size : {4.0, -4.0}) {
        CQorGDX gdx = makeList();
        CQorMatrix3d zoom;
        zoom.setToScaling(3.0);
        gdx.zoomMtxSet(zoom);
        gdx.imagePt(Path{1}, 0, CQorPoint3d(10, 10, 0), CQorColor(3), CQorMatrix3d(), size, 4, {});
        const std::vector<std::string> lines = only(draw(gdx), "line ");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], size > 0 ? "line 30,30 30,24" : "line 30,30 30,32");
    }
}

TEST(RenderRegion, WindowFillCutsTheHolesOutOfTheClip) {
    CQorGDX gdx = makeList();
    const Loops loops{loop({{10, 10}, {90, 10}, {90, 60}}), loop({{60, 20}, {80, 20}, {80, 40}})};
    gdx.imageReg(Path{1}, QOR::GdxItemFill, loops, CQorColor(1), CQorMatrix3d(), {}, 1.0, 1, CQorColor(5),
                 QOR::CHatchProp(), {});
    const std::vector<std::string> steps = only(draw(gdx), "clip", "polygon", "brush");
    const std::string fill = hex(CQorColor(5).oleColor());
    const std::vector<std::string> expected{
        "clip",                               // the client rectangle
        "brush " + fill,                      // the fill's brush
        "clip",                               // the hole cut out of the client rectangle
        "polygon 10,10 90,10 90,60 10,10 /1", // the outer loop, no outline flag
        "clip",                               // the client rectangle again
        "brush ffffff"};                      // the DC's own brush back
    EXPECT_EQ(steps, expected);
}

TEST(RenderRegion, HatchIsLinesOrWhenTooDenseAFillAndHiddenItemsDrawNothing) {
    const Loops loops{loop({{10, 10}, {50, 10}, {50, 50}, {10, 50}})};
    CQorGDX drawable = makeList();
    drawable.imageReg(Path{1}, QOR::GdxItemHatch, loops, CQorColor(1), CQorMatrix3d(), {}, 1.0, 1,
                      CQorColor(5), QOR::CHatchProp(L"_USER", 0.0, 5.0, false), {});
    const std::vector<std::string> hatched = draw(drawable);
    EXPECT_TRUE(only(hatched, "polygon ").empty());
    EXPECT_GE(only(hatched, "line ").size(), 5u); // lines 5 apart across a 40-unit square

    // A hatch too dense to draw is a solid fill in the fill colour.
    CQorGDX gdx = makeList();
    gdx.imageReg(Path{1}, QOR::GdxItemHatch, loops, CQorColor(1), CQorMatrix3d(), {}, 1.0, 1, CQorColor(5),
                 QOR::CHatchProp(L"ANSI31", 0.0, 1e-4, false), {});
    gdx.imageVl(Path{2}, QOR::GdxItemHidden, segment(0, 0, 50, 50), CQorColor(1), CQorMatrix3d(), {}, 1.0, 1,
                {});
    const std::vector<std::string> log = draw(gdx);
    ASSERT_FALSE(only(log, "brush ").empty());
    EXPECT_EQ(only(log, "brush ")[0], "brush " + std::string(hex(CQorColor(5).oleColor())));
    EXPECT_EQ(only(log, "polygon ").size(), 1u);
    EXPECT_TRUE(only(log, "line ").empty()); // the hidden polyline
}

TEST(RenderAnchored, AnchoredItemsKeepTheirSizeWhenZooming) {
    auto drawAt = [](double zoomFactor) {
        CQorGDX gdx = makeList();
        CQorMatrix3d zoom;
        zoom.setToScaling(zoomFactor);
        gdx.zoomMtxSet(zoom);
        // 0.1 units long, anchored at (20, 10).
        addLine(gdx, segment(0, 0, 0.1, 0), CQorColor(3), {}, 1.0, QOR::GdxItemAnchored,
                CQorPoint3d(20, 10, 0));
        return only(draw(gdx), "line ");
    };
    const std::vector<std::string> near = drawAt(1.0), far = drawAt(2.0);
    ASSERT_EQ(near.size(), 1u);
    ASSERT_EQ(far.size(), 1u);
    // The anchor follows the zoom; the length (0.1 times the fixed scale of 100 / 1.1) does not.
    EXPECT_EQ(near[0], "line 20,10 29,10");
    EXPECT_EQ(far[0], "line 40,20 49,20");
}

TEST(RenderText, GlyphsAreFilledWithTheirHolesClippedThenTraced) {
    CQorDisplayItem text;
    text.m_type = QorDisplayTxt;
    text.m_color = CQorColor(3);
    text.m_strokes.append(Loops{loop({{10, 10}, {30, 10}, {30, 30}, {10, 30}}),
                                loop({{15, 15}, {25, 15}, {25, 25}, {15, 25}})});
    text.m_strokes.append(Loops{segment(40, 10, 50, 30)}); // an open stroke
    CQorGDX gdx = makeList();
    ASSERT_TRUE(gdx.addDisplayList(CQorArrayTempl<CQorDisplayItem>{text}));
    const std::vector<std::string> log = draw(gdx);
    EXPECT_EQ(only(log, "clip").size(), 3u); // client, hole cut out, client again (not for the open stroke)
    EXPECT_EQ(only(log, "polygon"), std::vector<std::string>{"polygon 10,10 30,10 30,30 10,30 10,10 /1"});
    EXPECT_EQ(only(log, "line ").size(), 9u); // every segment of every loop
}

TEST(RenderFrame, ShapesThatComeToOnePixelShowOnlyWithAWidePen) {
    // Pieces far smaller than a pixel: a polyline of three and a filled glyph square, all inside pixel
    // (10, 10). Lines between equal points draw nothing with a thin pen, and a dot with a wide one.
    CQorVertexArray tiny;
    tiny.append(CQorPoint3d(10.1, 10.1, 0), CQorPoint3d(10.2, 10.1, 0));
    tiny.append(CQorPoint3d(10.2, 10.1, 0), CQorPoint3d(10.3, 10.2, 0));
    tiny.append(CQorPoint3d(10.3, 10.2, 0), CQorPoint3d(10.4, 10.4, 0));
    CQorVertexArray square = tiny;
    square.append(CQorPoint3d(10.4, 10.4, 0), CQorPoint3d(10.1, 10.1, 0));
    const auto inkedPixels = [&](bool text, int thickness) {
        CQorGDX gdx = makeList();
        CQorDisplayItem item;
        item.m_type = text ? QorDisplayTxt : QorDisplayVl;
        item.m_color = CQorColor(3);
        item.m_thickness = thickness;
        if (text)
            item.m_strokes.append(Loops{square});
        else
            item.m_vl = tiny;
        EXPECT_TRUE(gdx.addDisplayList(CQorArrayTempl<CQorDisplayItem>{item}));
        CBitmap bitmap;
        EXPECT_TRUE(QOR::paintToBitmap(&gdx, bitmap, 30, 30));
        const COLORREF back = bitmap.surface()->colorAt(0, 0);
        int inked = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                inked += bitmap.surface()->colorAt(x, y) != back;
        return inked;
    };
    for (const bool text : {false, true}) {
        SCOPED_TRACE(text ? "glyph" : "polyline");
        EXPECT_EQ(inkedPixels(text, 1), 0);
        EXPECT_GT(inkedPixels(text, 3), 0);
    }
}

TEST(RenderFrame, EmptyListAndNullList) {
    CQorGDX gdx = makeList();
    EXPECT_EQ(draw(gdx), std::vector<std::string>{"clip"});
    RecordingDC dc;
    EXPECT_FALSE(QOR::paintWindow(nullptr, dc, 100, 100));
    EXPECT_TRUE(dc.log.empty());
    CBitmap bitmap;
    EXPECT_FALSE(QOR::paintToBitmap(&gdx, bitmap, 0, 10));
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, bitmap, 3, 2));
    EXPECT_EQ(bitmap.surface()->colorAt(2, 1), gdx.backColorGet().oleColor());
}

} // namespace

TEST(RenderPicture, FittedPictureCoversTheSurfaceAndBadRectanglesDrawNothing) {
    const CQorString bmp = CQorString::fromUtf8(std::string(QOR_TEST_DATA_DIR) + "/bmp/pattern_24.bmp");
    CQorGDX gdx = makeList();
    // The corners of a fitted picture are not read.
    gdx.imagePicture(Path{1}, QOR::GdxItemPictureFit, bmp.c_str(), 0, CQorPoint3d(5, 5, 0),
                     CQorPoint3d(6, 6, 0));
    CBitmap window;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, window, 40, 30));
    bool flag = true;
    const HBITMAP expected = qor_gdx_image_get_bitmap(bmp, 0, 40, 30, flag, 0);
    ASSERT_TRUE(expected);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            differing += window.surface()->colorAt(x, y) != expected->surface()->colorAt(x, y);
    EXPECT_EQ(differing, 0);

    // A metafile's picture is its own size.
    const HENHMETAFILE emf = QOR::paintToMetafile(&gdx, nullptr, 50, 20);
    EnhMetaHeader header{};
    ASSERT_TRUE(emf.header(header));
    EXPECT_EQ(header.bounds.right, 49);
    EXPECT_EQ(header.bounds.bottom, 19);

    // Not a number, beyond any bitmap, backwards, a side or an area too large to scale to: nothing is
    // drawn and nothing breaks.
    const double nan = std::nan("");
    CQorGDX bad = makeList();
    bad.imagePicture(Path{1}, 0, bmp.c_str(), 0, CQorPoint3d(nan, 0, 0), CQorPoint3d(20, nan, 0));
    bad.imagePicture(Path{2}, 0, bmp.c_str(), 0, CQorPoint3d(0, 0, 0), CQorPoint3d(1e12, 1e12, 0));
    bad.imagePicture(Path{3}, 0, bmp.c_str(), 0, CQorPoint3d(30, 30, 0), CQorPoint3d(10, 10, 0));
    bad.imagePicture(Path{4}, 0, nullptr, 0x7FFF, CQorPoint3d(0, 0, 0), CQorPoint3d(10, 10, 0));
    bad.imagePicture(Path{5}, 0, bmp.c_str(), 0, CQorPoint3d(0, 0, 0), CQorPoint3d(40000, 2, 0));
    bad.imagePicture(Path{6}, 0, bmp.c_str(), 0, CQorPoint3d(0, 0, 0), CQorPoint3d(4100, 4100, 0));
    const std::vector<std::string> log = draw(bad);
    EXPECT_EQ(only(log, "blit").size(), 1u); // only the first: sizes of 0 keep the file's size
}
