// SVG from metafile records: what each record becomes, where its points land, and that bad bytes give
// false and leave the caller's text alone. Rendering the SVG is checked on the demo (tests/render/).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "emf_fixture.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/emf/emf_svg.h"
#include "qor/platform/gdi_object.h"
#include "qor/platform/png_codec.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/platform/region.h"

namespace {

namespace emf = QOR::detail::emf;
using emf_test::records;

std::string svgOf(const CEnhMetaFile& mf) {
    std::string svg;
    EXPECT_TRUE(QOR::enhMetaFileToSvg(mf, svg));
    return svg;
}

bool has(const std::string& svg, const std::string& part) {
    return svg.find(part) != std::string::npos;
}

/// The bytes of mf with the word at byte offset `at` replaced.
std::vector<unsigned char> patched(const CEnhMetaFile& mf, std::size_t at, std::uint32_t value) {
    std::vector<unsigned char> bytes(mf.bytes().begin(), mf.bytes().end());
    for (int k = 0; k < 4; ++k)
        bytes[at + std::size_t(k)] = (unsigned char)(value >> (8 * k));
    return bytes;
}

std::vector<unsigned char> fromBase64(const std::string& text) {
    std::vector<unsigned char> out;
    std::uint32_t acc = 0;
    int bits = 0;
    for (char c : text) {
        int v = c >= 'A' && c <= 'Z'   ? c - 'A'
                : c >= 'a' && c <= 'z' ? c - 'a' + 26
                : c >= '0' && c <= '9' ? c - '0' + 52
                : c == '+'             ? 62
                : c == '/'             ? 63
                                       : -1;
        if (v < 0) break;
        acc = (acc << 6) | std::uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back((unsigned char)(acc >> bits));
        }
    }
    return out;
}

class EmfSvg : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr)); }
    CMetaFileDC dc;
};

} // namespace

TEST_F(EmfSvg, ViewBoxIsTheFramePixelBoxAndPointsRunThroughPixelCentres) {
    const POINT tri[] = {{10, 20}, {110, 20}, {60, 70}};
    dc.Polygon(tri, 3);
    dc.Polyline(tri, 2);
    dc.MoveTo(10, 90);
    dc.LineTo(40, 90);
    dc.LineTo(40, 99); // one run: one path
    dc.SetPixelV(5, 6, RGB(0x12, 0x34, 0x56));
    const std::string svg = svgOf(dc.CloseEnhanced());
    EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ")) << svg;
    EXPECT_TRUE(has(svg, "viewBox=\"5 6 106 94\"")) << svg; // bounds [5, 111) x [6, 100)
    EXPECT_TRUE(has(svg, "width=\"28.05mm\"")) << svg;      // 106 px at 96 dpi, to 0.01 mm
    EXPECT_TRUE(has(svg, "points=\"10.5,20.5 110.5,20.5 60.5,70.5\"")) << svg;
    EXPECT_TRUE(has(svg, "<polyline fill=\"none\" stroke=\"#000000\" points=\"10.5,20.5 110.5,20.5\""))
        << svg;
    EXPECT_TRUE(has(svg, "d=\"M10.5 90.5 L40.5 90.5 L40.5 99.5\"")) << svg;
    EXPECT_TRUE(has(svg, "fill=\"#123456\" d=\"M5 6H6V7H5Z\"")) << svg;
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
}

TEST_F(EmfSvg, PolyPolygonKeepsItsHolesByTheFillMode) {
    const POINT rings[] = {{0, 0}, {40, 0}, {40, 40}, {0, 40}, {10, 10}, {30, 10}, {30, 30}, {10, 30}};
    const int counts[] = {4, 4};
    CBrush red(RGB(255, 0, 0));
    dc.SelectObject(&red);
    dc.PolyPolygon(rings, counts, 2);
    dc.SetPolyFillMode(WINDING);
    dc.PolyPolygon(rings, counts, 2);
    const std::string svg = svgOf(dc.CloseEnhanced());
    const std::string path =
        "d=\"M0.5 0.5 L40.5 0.5 L40.5 40.5 L0.5 40.5Z M10.5 10.5 L30.5 10.5 L30.5 30.5 L10.5 30.5Z\"";
    EXPECT_TRUE(has(svg, "<path fill=\"#ff0000\" fill-rule=\"evenodd\" stroke=\"#000000\" " + path)) << svg;
    EXPECT_TRUE(has(svg, "<path fill=\"#ff0000\" fill-rule=\"nonzero\" stroke=\"#000000\" " + path)) << svg;
}

TEST_F(EmfSvg, PensGiveWidthColourAndDashes) {
    CPen wide(PS_SOLID, 3, RGB(0, 128, 255));
    dc.SelectObject(&wide);
    dc.MoveTo(0, 0);
    dc.LineTo(50, 0);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(0, 10, 20, 30);
    const CEnhMetaFile mf = dc.CloseEnhanced();
    const std::string solid = svgOf(mf);
    EXPECT_TRUE(has(solid, "stroke=\"#0080ff\" stroke-width=\"3\" d=\"M0.5 0.5 L50.5 0.5\"")) << solid;
    EXPECT_TRUE(has(solid, "<rect x=\"0.5\" y=\"10.5\" width=\"19\" height=\"19\" fill=\"#ffffff\" "
                           "fill-rule=\"evenodd\" stroke=\"none\"/>"))
        << solid;
    // This library lays dashes out itself; other writers' styled pens keep their style.
    for (const auto& r : records(mf)) {
        if (r.type != emf::kCreatePen) continue;
        std::string svg;
        const auto dashed = patched(mf, r.offset + 12, 3 /* PS_DASHDOT */);
        ASSERT_TRUE(QOR::enhMetaFileBytesToSvg(dashed, svg));
        EXPECT_TRUE(has(svg, "stroke-linecap=\"butt\" stroke-dasharray=\"27 18 9 18\"")) << svg;
    }
}

TEST_F(EmfSvg, BitmapsAreEmbeddedAsPngOfTheirPixels) {
    CBitmap image;
    ASSERT_TRUE(image.CreateBitmap(3, 2, 1, 32, nullptr));
    CRasterDC source;
    ASSERT_TRUE(source.CreateCompatibleDC(nullptr));
    source.SelectObject(&image);
    const COLORREF colours[6] = {RGB(255, 0, 0),  RGB(0, 255, 0),   RGB(0, 0, 255),
                                 RGB(10, 20, 30), RGB(255, 255, 0), RGB(0, 0, 0)};
    for (int k = 0; k < 6; ++k)
        source.SetPixelV(k % 3, k / 3, colours[k]);
    dc.BitBlt(7, 8, 3, 2, &source, 0, 0, SRCCOPY);
    const std::string svg = svgOf(dc.CloseEnhanced());
    EXPECT_TRUE(has(svg, "<image x=\"7\" y=\"8\" width=\"3\" height=\"2\"")) << svg;
    const std::string uri = "xlink:href=\"data:image/png;base64,";
    const std::size_t at = svg.find(uri);
    ASSERT_NE(at, std::string::npos) << svg;
    const auto png = fromBase64(svg.substr(at + uri.size()));
    QOR::detail::Surface decoded;
    ASSERT_EQ(QOR::detail::decodePng(png, decoded, nullptr), QOR::detail::Status::Ok);
    ASSERT_EQ(decoded.width, 3);
    ASSERT_EQ(decoded.height, 2);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(decoded.colorAt(k % 3, k / 3), colours[k]) << k;
}

TEST_F(EmfSvg, ClipRegionsBecomeClipPaths) {
    CRgn clip;
    ASSERT_TRUE(clip.CreateRectRgn(5, 5, 15, 25));
    dc.SelectClipRgn(&clip);
    dc.Rectangle(0, 0, 30, 30);
    dc.SelectClipRgn(nullptr);
    dc.Rectangle(0, 0, 30, 30);
    const std::string svg = svgOf(dc.CloseEnhanced());
    EXPECT_TRUE(has(svg, "<clipPath id=\"c1\"><rect x=\"5\" y=\"5\" width=\"10\" height=\"20\"/></clipPath>\n"
                         "<g clip-path=\"url(#c1)\">\n<rect"))
        << svg;
    // The second rectangle is drawn outside the group.
    EXPECT_TRUE(has(svg, "</g>\n<rect")) << svg;
}

TEST_F(EmfSvg, MalformedBytesGiveFalseAndLeaveTheTextAlone) {
    const POINT tri[] = {{10, 20}, {110, 20}, {60, 70}};
    dc.Polygon(tri, 3);
    dc.SetPixelV(1, 1, RGB(1, 2, 3));
    const CEnhMetaFile mf = dc.CloseEnhanced();
    const auto all = mf.bytes();
    std::string svg = "kept";
    // Every shorter piece, and a size field that is too small, odd or too large.
    for (std::size_t n = 0; n < all.size(); ++n)
        EXPECT_FALSE(QOR::enhMetaFileBytesToSvg(all.first(n), svg)) << n;
    const auto recs = records(mf);
    ASSERT_GE(recs.size(), 3u);
    for (std::uint32_t size : {0u, 6u, 13u, 0x7FFFFFF0u})
        EXPECT_FALSE(QOR::enhMetaFileBytesToSvg(patched(mf, recs[1].offset + 4, size), svg)) << size;
    EXPECT_FALSE(QOR::enhMetaFileBytesToSvg(patched(mf, recs.back().offset, 0x7777), svg)); // no end record
    EXPECT_FALSE(QOR::enhMetaFileToSvg(CEnhMetaFile(), svg));
    EXPECT_EQ(svg, "kept");
    // A record of an unknown type is skipped, the rest is written.
    ASSERT_EQ(recs[2].type, std::uint32_t(emf::kSetPixelV));
    ASSERT_TRUE(QOR::enhMetaFileBytesToSvg(patched(mf, recs[2].offset, 0x7777), svg));
    EXPECT_TRUE(has(svg, "<polygon"));
    EXPECT_FALSE(has(svg, "#030201"));
}

TEST_F(EmfSvg, WritesTheFileAtomically) {
    dc.Rectangle(0, 0, 10, 10);
    const CEnhMetaFile mf = dc.CloseEnhanced();
    const auto dir = std::filesystem::temp_directory_path() / "qor_emf_tests";
    std::filesystem::create_directories(dir);
    const auto path = dir / "svg_atomic.svg";
    std::filesystem::remove(path);
    ASSERT_TRUE(QOR::enhMetaFileWriteSvg(mf, path.wstring().c_str()));
    EXPECT_EQ(std::filesystem::file_size(path), svgOf(mf).size());
    EXPECT_FALSE(QOR::enhMetaFileWriteSvg(CEnhMetaFile(), path.wstring().c_str()));
    EXPECT_FALSE(QOR::enhMetaFileWriteSvg(mf, (dir / "missing" / "x.svg").wstring().c_str()));
    EXPECT_EQ(std::filesystem::file_size(path), svgOf(mf).size());
}
