// The demo drawn into a metafile and written as SVG: rsvg-convert (librsvg, the SVG reader of GNOME
// programs) must read the SVG, and its picture must look like the one the window shows. Both pictures
// stay in the temporary folder (qor_svg_tests/) for a look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "qor/gdx/gdx_json.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/emf/emf_svg.h"
#include "qor/platform/png_codec.h"
#include "qor/render/render.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 640, kHeight = 480;

/// Largest difference of the three channels.
int channelDistance(COLORREF a, COLORREF b) {
    const auto d = [&](int shift) { return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)); };
    return std::max({d(0), d(8), d(16)});
}

} // namespace

TEST(RenderSvg, DemoSvgRendersLikeTheWindow) {
    ASSERT_EQ(std::system("command -v rsvg-convert >/dev/null 2>&1"), 0)
        << "rsvg-convert is missing (Debian package librsvg2-bin; scripts/install-deps.sh installs it)";
    const fs::path dir = fs::temp_directory_path() / "qor_svg_tests";
    fs::create_directories(dir);
    CQorGDX gdx;
    const fs::path demo = fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    std::string error;
    ASSERT_TRUE(QOR::gdxReadJsonFile(gdx, demo, &error)) << error;
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet())); // extents from the items
    gdx.backColorSet(CQorColor(7));                 // paper, as a pasted picture has
    const HENHMETAFILE emf = QOR::paintToMetafile(&gdx, nullptr, kWidth, kHeight);
    ASSERT_TRUE(emf);
    CBitmap window;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, window, kWidth, kHeight));
    ASSERT_TRUE(QOR::bitmapWritePng(window, (dir / "demo.window.png").wstring().c_str()));

    const fs::path svg = dir / "demo.svg", png = dir / "demo.rsvg.png";
    ASSERT_TRUE(QOR::enhMetaFileWriteSvg(emf, svg.wstring().c_str()));
    fs::remove(png);
    const std::string command = "rsvg-convert --dpi-x 96 --dpi-y 96 --background-color white -o '" +
                                png.string() + "' '" + svg.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    CBitmap rendered;
    ASSERT_TRUE(QOR::bitmapReadPng(rendered, png.wstring().c_str()));

    // The SVG's picture is the frame's pixel box, which starts at the metafile's bounds.
    EnhMetaHeader header{};
    ASSERT_TRUE(emf.header(header));
    const int left = header.bounds.left, top = header.bounds.top;
    EXPECT_NEAR(rendered.width(), header.bounds.right + 1 - left, 1);
    EXPECT_NEAR(rendered.height(), header.bounds.bottom + 1 - top, 1);

    // Loose likeness: a pixel matches when its colour is within kTolerance in every channel of the
    // window's pixel at the same place (`same`), or of one of its eight neighbours (`near`), which
    // forgives anti-aliased edges and half-pixel shifts. Ink: pixels the window draws in.
    constexpr int kTolerance = 64;
    int total = 0, same = 0, nearby = 0, ink = 0, inkNear = 0;
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x) {
            const int wx = x + left, wy = y + top;
            if (wx < 0 || wy < 0 || wx >= kWidth || wy >= kHeight) continue;
            const COLORREF want = window.surface()->colorAt(wx, wy);
            ++total;
            same += channelDistance(want, rendered.surface()->colorAt(x, y)) <= kTolerance;
            bool close = false;
            for (int dy = -1; dy <= 1 && !close; ++dy)
                for (int dx = -1; dx <= 1 && !close; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    close = sx >= 0 && sy >= 0 && sx < rendered.width() && sy < rendered.height() &&
                            channelDistance(want, rendered.surface()->colorAt(sx, sy)) <= kTolerance;
                }
            nearby += close;
            if (want != RGB(255, 255, 255)) {
                ++ink;
                inkNear += close;
            }
        }
    ASSERT_GT(total, kWidth * kHeight / 4);
    ASSERT_GT(ink, 2000);
    const double sameShare = double(same) / total, nearShare = double(nearby) / total;
    const double inkShare = double(inkNear) / ink;
    RecordProperty("same", std::to_string(sameShare));
    RecordProperty("near", std::to_string(nearShare));
    RecordProperty("ink", std::to_string(inkShare));
    EXPECT_GE(sameShare, 0.97) << "pictures in " << dir;
    EXPECT_GE(nearShare, 0.995) << "pictures in " << dir;
    EXPECT_GE(inkShare, 0.90) << "pictures in " << dir;
    std::printf("demo SVG vs window: same %.4f, near %.4f, ink near %.4f of %d pixels (%d ink)\n", sameShare,
                nearShare, inkShare, total, ink);
}
