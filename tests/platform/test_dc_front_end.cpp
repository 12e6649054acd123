// The CDC front end against a recording backend: which verbs a call reaches, with which arguments. This is
// also the contract a metafile backend relies on.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "qor/platform/dc.h"
#include "qor/platform/device_coord_p.h"

namespace {

class RecordingDc : public CDC {
public:
    RecordingDc() { setCreated(true); }
    std::vector<std::string> log;
    bool refuseBitmaps = true;

protected:
    static std::string pt(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string rc(const RECT& r) { return pt({r.left, r.top}) + "-" + pt({r.right, r.bottom}); }
    Status note(std::string line) {
        log.push_back(std::move(line));
        return Status::Ok;
    }

    Status selectPen(const LOGPEN& pen, int stock) override {
        return note("pen " + std::to_string(pen.lopnStyle) + " w" + std::to_string(pen.lopnWidth.x) +
                    " stock " + std::to_string(stock));
    }
    Status selectBrush(const LOGBRUSH& brush, int stock) override {
        return note("brush " + std::to_string(brush.lbStyle) + " stock " + std::to_string(stock));
    }
    Status selectClip(const QOR::Region* clip) override {
        return note(clip ? "clip " + rc(clip->bounds()) : "clip none");
    }
    Status setAttributes(const QOR::detail::DcAttributes& a) override {
        return note("attributes bk " + std::to_string(a.bkColor) + " fill " + std::to_string(a.polyFillMode));
    }
    Status selectBitmap(const QOR::detail::Surface* s) override {
        if (s && refuseBitmaps) return Status::Unsupported;
        return note(s ? "bitmap" : "bitmap none");
    }
    Status strokeSegment(POINT from, POINT to) override { return note("segment " + pt(from) + " " + pt(to)); }
    Status polyline(std::span<const POINT> points) override {
        return note("polyline " + std::to_string(points.size()));
    }
    Status polyPolygon(std::span<const POINT> points, std::span<const int> counts) override {
        return note("polypolygon " + std::to_string(points.size()) + "/" + std::to_string(counts.size()) +
                    " " + pt(points[0]));
    }
    Status ellipse(const RECT& box) override { return note("ellipse " + rc(box)); }
    Status rectangle(const RECT& box) override { return note("rectangle " + rc(box)); }
    Status fillSolidRect(const RECT& r, COLORREF c) override {
        return note("fill " + rc(r) + " " + std::to_string(c));
    }
    Status setPixel(POINT p, COLORREF c, COLORREF& actual) override {
        actual = c;
        return note("pixel " + pt(p));
    }
    Status getPixel(POINT, COLORREF&) const override { return Status::Unsupported; }
    Status bitBlt(const RECT& dst, const QOR::detail::BlitSource* src, POINT origin, DWORD rop) override {
        return note("blt " + rc(dst) + (src ? " from " + pt(origin) : " no source") + " rop " +
                    std::to_string(rop));
    }
};

const int L = QOR::kDeviceLimit;

} // namespace

TEST(DcFrontEnd, LinesReachTheBackendClampedAndOnlyWithAPen) {
    RecordingDc dc;
    dc.MoveTo(INT_MIN, 5);
    dc.LineTo(INT_MAX, 5);
    dc.LineTo(INT_MAX, 5); // zero length: no verb
    dc.SelectStockObject(NULL_PEN);
    EXPECT_TRUE(dc.LineTo(0, 0)); // moves without drawing
    const POINT pts[] = {{0, 0}, {1, 1}};
    dc.Polyline(pts, 2);
    EXPECT_EQ(dc.log,
              (std::vector<std::string>{"segment " + std::to_string(-L) + ",5 " + std::to_string(L) + ",5",
                                        "pen 5 w1 stock 8"}));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 0));
}

TEST(DcFrontEnd, ShapesAreNormalisedAndRejectedWithoutPenAndBrush) {
    RecordingDc dc;
    const POINT tri[] = {{INT_MIN, 0}, {4, 4}, {0, 4}};
    dc.Ellipse(10, 20, 0, 5);
    dc.Rectangle(INT_MAX, 0, 3, INT_MIN);
    dc.Polygon(tri, 3);
    EXPECT_EQ(dc.log,
              (std::vector<std::string>{"ellipse 0,5-10,20",
                                        "rectangle 3," + std::to_string(-L) + "-" + std::to_string(L) + ",0",
                                        "polypolygon 3/1 " + std::to_string(-L) + ",0"}));
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(HOLLOW_BRUSH);
    dc.log.clear();
    EXPECT_TRUE(dc.Polygon(tri, 3));
    EXPECT_TRUE(dc.Ellipse(0, 0, 4, 4));
    EXPECT_TRUE(dc.Rectangle(0, 0, 4, 4));
    EXPECT_TRUE(dc.log.empty());
}

TEST(DcFrontEnd, FillSolidRectSetsTheBackgroundFirst) {
    RecordingDc dc;
    dc.FillSolidRect(5, 5, -3, 2, 0xFF123456); // negative width: the rect is normalised; top byte dropped
    EXPECT_EQ(dc.log, (std::vector<std::string>{"attributes bk 1193046 fill 1", "fill 2,5-5,7 1193046"}));
}

TEST(DcFrontEnd, RefusedSelectionChangesNothing) {
    RecordingDc dc;
    CBitmap bmp;
    bmp.CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(dc.SelectObject(&bmp), nullptr);
    EXPECT_EQ(dc.GetCurrentBitmap(), nullptr);
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID); // the backend cannot read pixels
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(DcFrontEnd, RestoreAnnouncesTheWholeState) {
    RecordingDc dc;
    dc.SaveDC();
    CRgn r;
    r.CreateRectRgn(1, 2, 3, 4);
    dc.SelectClipRgn(&r);
    dc.SetPolyFillMode(WINDING);
    dc.log.clear();
    dc.RestoreDC(-1);
    EXPECT_EQ(dc.log, (std::vector<std::string>{"bitmap none", "pen 0 w1 stock 7", "brush 0 stock 0",
                                                "clip none", "attributes bk 16777215 fill 1"}));
}

TEST(DcFrontEnd, BitBltCutsTheBlockToTheSource) {
    RecordingDc dc;
    dc.refuseBitmaps = false;
    CBitmap bmp;
    bmp.CreateBitmap(10, 10, 1, 32, nullptr);
    RecordingDc src;
    src.refuseBitmaps = false;
    src.SelectObject(&bmp);
    dc.BitBlt(100, 100, 50, 50, &src, -3, 8, SRCCOPY);
    dc.BitBlt(INT_MIN, 0, INT_MAX, 5, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(dc.log, (std::vector<std::string>{"blt 103,100-113,102 from 0,8 rop 13369376",
                                                "blt " + std::to_string(-L) + ",0-" + std::to_string(-1) +
                                                    ",5 no source rop 5570569"}));
}
