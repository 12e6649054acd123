// The metafile target: what it records plays back to the picture the window shows, other programs read
// the file, the list's view is fitted, and the metafile reaches a file or the clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "qor/gdx/gdx_json.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/png_codec.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"

namespace {

namespace fs = std::filesystem;
using Path = CQorArrayTempl<int>;

constexpr int kWidth = 240, kHeight = 160;

/// A fresh folder of its own for each test.
fs::path scratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::temp_directory_path() / "qor_metafile_tests" / info->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

CQorGDX loadDemo() {
    CQorGDX gdx;
    const fs::path demo = fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    std::string error;
    EXPECT_TRUE(QOR::gdxReadJsonFile(gdx, demo, &error)) << error;
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet())); // extents from the items
    return gdx;
}

CQorVertexArray polyline(std::initializer_list<std::pair<double, double>> points, double bulge = 0.0) {
    const std::vector<std::pair<double, double>> p(points);
    CQorVertexArray vl;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        vl.append(CQorVertex(CQorPoint3d(p[i].first, p[i].second, 0),
                             CQorPoint3d(p[i + 1].first, p[i + 1].second, 0), bulge));
    return vl;
}

/// Lines, arcs, dashes, points, a hatched and outlined region, an anchored mark and a picture: every
/// kind whose pixels both targets agree on (solid fills differ at their edges, see the demo test).
CQorGDX sharedKinds() {
    CQorGDX gdx(CQorColor(7), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
    gdx.imageVl(Path{1}, 0, polyline({{0, 0}, {100, 0}, {100, 60}}), CQorColor(1), CQorMatrix3d(), {}, 1.0, 2,
                {});
    gdx.imageVl(Path{2}, 0, polyline({{0, 10}, {40, 50}}, 0.6), CQorColor(5), CQorMatrix3d(), {1, 1, 0}, 0.4,
                0, {});
    gdx.imageVl(Path{3}, 0, polyline({{10, 60}, {90, 60}}), CQorColor(7), CQorMatrix3d(), {1, 1, 1}, 0.3, 0,
                {});
    for (int n = 0; n < 5; ++n)
        gdx.imagePt(Path{4, n}, 0, CQorPoint3d(10 + n * 18, -12, 0), CQorColor(3), CQorMatrix3d(), -9.0,
                    DWORD(std::array{0, 2, 3, 34, 66}[std::size_t(n)]), {});
    CQorVertexArray bore = polyline({{62, 30}, {78, 30}}, 1.0);
    bore += polyline({{78, 30}, {62, 30}}, 1.0);
    const CQorArrayTempl<CQorVertexArray> loops{polyline({{50, 10}, {90, 10}, {90, 50}, {50, 50}, {50, 10}}),
                                                bore};
    gdx.imageReg(Path{5}, QOR::GdxItemHatch | QOR::GdxItemOutline, loops, CQorColor(6), CQorMatrix3d(), {},
                 1.0, 1, CQorColor(4), QOR::CHatchProp(L"ANSI31", 0.0, 1.0, false), {});
    gdx.imageVl(Path{6}, QOR::GdxItemAnchored, polyline({{0, 0}, {0.05, 0.05}, {0.1, 0}}), CQorColor(2),
                CQorMatrix3d(), {}, 1.0, 0, CQorPoint3d(100, 60, 0));
    gdx.imagePicture(Path{7}, 0, nullptr, 2000, CQorPoint3d(4, 4, 0), CQorPoint3d(36, 36, 0));
    gdx.projMtxSet(CQorMatrix3d());
    return gdx;
}

/// The metafile played onto a raster picture of the metafile's size filled with back first.
bool playBack(const HENHMETAFILE& emf, COLORREF back, CBitmap& out) {
    CRasterDC dc;
    if (!out.CreateBitmap(kWidth, kHeight, 1, 32, nullptr) || !dc.CreateCompatibleDC(nullptr)) return false;
    CBitmap* old = dc.SelectObject(&out);
    dc.FillSolidRect(0, 0, kWidth, kHeight, back);
    const bool played = PlayEnhMetaFile(&dc, emf, nullptr);
    dc.SelectObject(old);
    return played;
}

bool same(const CQorMatrix3d& a, const CQorMatrix3d& b) {
    return a.isEqualTo(b, 0.0);
}

int differingPixels(const CBitmap& a, const CBitmap& b) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            n += a.surface()->colorAt(x, y) != b.surface()->colorAt(x, y);
    return n;
}

/// Saves both pictures next to each other for a look when a comparison fails.
std::string keep(const CBitmap& window, const CBitmap& played, const std::string& name) {
    const fs::path dir = fs::temp_directory_path();
    QOR::bitmapWritePng(window, (dir / (name + ".window.png")).wstring().c_str());
    QOR::bitmapWritePng(played, (dir / (name + ".metafile.png")).wstring().c_str());
    return (dir / (name + ".{window,metafile}.png")).string();
}

TEST(RenderMetafile, PlaysBackToWhatTheWindowShows) {
    CQorGDX gdx = sharedKinds();
    const fs::path file = scratchDir() / "kinds.emf";
    refresh(&gdx, file.wstring().c_str(), kHeight, kWidth);
    const HENHMETAFILE emf = GetEnhMetaFileW(file.wstring().c_str());
    ASSERT_TRUE(emf);
    // The list now holds the view the metafile was drawn with, so the window draws the same scene.
    CBitmap window, played;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, window, kWidth, kHeight));
    ASSERT_TRUE(playBack(emf, RGB(255, 255, 255), played));
    EXPECT_EQ(differingPixels(window, played), 0) << keep(window, played, "metafile_kinds");
    EXPECT_NE(played.surface()->colorAt(20, 20), RGB(255, 255, 255)); // the picture is there
}

TEST(RenderMetafile, DemoPlaysBackToTheWindowUpToFillEdges) {
    CQorGDX gdx = loadDemo();
    gdx.backColorSet(CQorColor(7)); // paper: the metafile's white-to-black rule and the window agree
    const HENHMETAFILE emf = QOR::paintToMetafile(&gdx, nullptr, kWidth, kHeight);
    ASSERT_TRUE(emf);
    CBitmap window, played;
    ASSERT_TRUE(QOR::paintToBitmap(&gdx, window, kWidth, kHeight));
    ASSERT_TRUE(playBack(emf, RGB(255, 255, 255), played));
    // Scan-line fills and polygon fills may part on a pixel along a slanted edge (the chords of filled
    // arcs and arrow heads); nothing else differs.
    const int differing = differingPixels(window, played);
    EXPECT_LE(differing, 12) << keep(window, played, "metafile_demo");
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            drawn += played.surface()->colorAt(x, y) != RGB(255, 255, 255);
    EXPECT_GT(drawn, 2000);
}

TEST(RenderMetafile, Emf2svgReadsTheFile) {
    if (std::system("command -v emf2svg-conv >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is missing";
    const fs::path dir = scratchDir();
    CQorGDX gdx = loadDemo();
    refresh(&gdx, (dir / "demo.emf").wstring().c_str(), kHeight, kWidth);
    const std::string command =
        "emf2svg-conv -i '" + (dir / "demo.emf").string() + "' -o '" + (dir / "demo.svg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(dir / "demo.svg");
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    int paths = 0;
    for (std::size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1))
        ++paths;
    EXPECT_GT(paths, 100);                            // every line and scan line of the drawing
    EXPECT_NE(svg.find("<image"), std::string::npos); // the picture
}

TEST(RenderMetafile, ViewIsFittedToTheExtentsAndKept) {
    CQorGDX gdx = sharedKinds();
    CQorMatrix3d zoom;
    zoom.setToScaling(2.0);
    gdx.zoomMtxSet(zoom);
    const CQorMatrix3d proj = gdx.projMtxGet();
    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);

    refresh(&gdx, nullptr, kHeight, kWidth);
    EXPECT_TRUE(same(gdx.viewMtxGet(), getViewMtx(min, max, kHeight, kWidth, 0.05)));
    EXPECT_TRUE(same(gdx.zoomMtxGet(), zoom)); // only the view matrix changes
    EXPECT_TRUE(same(gdx.projMtxGet(), proj));

    // No width: the view is fitted as for a width of 320, but the drawing stays clipped to the sides given,
    // which leaves nothing to draw.
    refresh(&gdx, nullptr, kHeight, 0);
    EXPECT_TRUE(same(gdx.viewMtxGet(), getViewMtx(min, max, kHeight, 320, 0.05)));
    EnhMetaHeader header{};
    ASSERT_TRUE(QOR::clipboard().getEnhMetaFile().header(header));
    EXPECT_LT(header.bounds.right, header.bounds.left); // empty bounds: nothing drawn

    // The view box, when one is set, is what gets fitted.
    gdx.extMaxViewSet(CQorPoint3d(0, 0, 0), CQorPoint3d(10, 10, 0));
    refresh(&gdx, nullptr, kHeight, kWidth);
    EXPECT_TRUE(same(gdx.viewMtxGet(),
                     getViewMtx(CQorPoint3d(0, 0, 0), CQorPoint3d(10, 10, 0), kHeight, kWidth, 0.05)));
}

TEST(RenderMetafile, NullPathPutsTheMetafileOnTheClipboardUnlessItIsHeld) {
    QOR::ClipboardBackend& board = QOR::clipboard();
    CQorGDX gdx = sharedKinds();
    const fs::path file = scratchDir() / "same.emf";
    refresh(&gdx, file.wstring().c_str(), kHeight, kWidth);
    refresh(&gdx, nullptr, kHeight, kWidth);
    ASSERT_TRUE(board.hasEnhMetaFile());
    const HENHMETAFILE onBoard = board.getEnhMetaFile();
    const HENHMETAFILE onDisk = GetEnhMetaFileW(file.wstring().c_str());
    ASSERT_TRUE(onDisk);
    EXPECT_TRUE(std::ranges::equal(onBoard.bytes(), onDisk.bytes())); // the same picture either way
    EXPECT_TRUE(board.open());                                        // closed again afterwards
    board.close();

    // The next one replaces it; an empty list gives an empty picture.
    CQorGDX empty;
    refresh(&empty, nullptr, kHeight, kWidth);
    EnhMetaHeader header{};
    ASSERT_TRUE(board.getEnhMetaFile().header(header));
    EXPECT_LT(header.bytes, onDisk.bytes().size());
    EXPECT_EQ(header.bounds.right, -1);

    // Someone else holds the clipboard open: it gets nothing.
    ASSERT_TRUE(board.open());
    board.empty();
    refresh(&gdx, nullptr, kHeight, kWidth);
    EXPECT_FALSE(board.hasEnhMetaFile());
    board.close();
    EXPECT_FALSE(board.hasEnhMetaFile());
}

TEST(RenderMetafile, FilesAreWrittenWholeOrNotAtAll) {
    const fs::path dir = scratchDir();
    CQorGDX gdx = sharedKinds();
    refresh(&gdx, (dir / "a.emf").wstring().c_str(), kHeight, kWidth);
    // Only the finished file remains in the folder.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        files += entry.path().filename() == "a.emf" ? 1 : 100;
    EXPECT_EQ(files, 1);

    // A folder that does not exist: no file, no clipboard, no crash; the view is fitted all the same.
    QOR::clipboard().open();
    QOR::clipboard().empty();
    QOR::clipboard().close();
    gdx.viewMtxSet(CQorMatrix3d());
    refresh(&gdx, (dir / "missing" / "b.emf").wstring().c_str(), kHeight, kWidth);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_FALSE(QOR::clipboard().hasEnhMetaFile());
    EXPECT_FALSE(same(gdx.viewMtxGet(), CQorMatrix3d()));
    EXPECT_FALSE(QOR::paintToMetafile(&gdx, (dir / "missing" / "b.emf").wstring().c_str(), kWidth, kHeight));

    // No list: nothing at all.
    refresh(nullptr, (dir / "c.emf").wstring().c_str(), kHeight, kWidth);
    refresh(nullptr, nullptr, kHeight, kWidth);
    EXPECT_FALSE(fs::exists(dir / "c.emf"));
    EXPECT_FALSE(QOR::clipboard().hasEnhMetaFile());
    EXPECT_FALSE(QOR::paintToMetafile(nullptr, nullptr, kWidth, kHeight));
}

} // namespace
