// A device-context backend written outside the library: it derives from CDC, receives the clip through
// selectClip and reads it only through QOR::Region's public read interface.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qor/platform/dc.h"

namespace {

/// Keeps what the clip it was last given looks like, read as rectangles and as row spans.
class ClipReadingDc : public CDC {
public:
    ClipReadingDc() { setCreated(true); }

    bool clipped = false;
    std::vector<RECT> rects;
    std::string spans; ///< "y:x0-x1 " per span
    RECT bounds{};

protected:
    Status selectClip(const QOR::Region* clip) override {
        clipped = clip != nullptr;
        rects.clear();
        spans.clear();
        bounds = RECT{};
        if (!clip) return Status::Ok;
        clip->rects(rects);
        clip->forEachSpan([&](int y, int x0, int x1) {
            spans += std::to_string(y) + ":" + std::to_string(x0) + "-" + std::to_string(x1) + " ";
        });
        bounds = clip->bounds();
        return Status::Ok;
    }
    Status selectPen(const LOGPEN&, int) override { return Status::Ok; }
    Status selectBrush(const LOGBRUSH&, int) override { return Status::Ok; }
    Status setAttributes(const QOR::detail::DcAttributes&) override { return Status::Ok; }
    Status selectBitmap(const QOR::detail::Surface*) override { return Status::Unsupported; }
    Status strokeSegment(POINT, POINT) override { return Status::Ok; }
    Status polyline(std::span<const POINT>) override { return Status::Ok; }
    Status polyPolygon(std::span<const POINT>, std::span<const int>) override { return Status::Ok; }
    Status ellipse(const RECT&) override { return Status::Ok; }
    Status rectangle(const RECT&) override { return Status::Ok; }
    Status fillSolidRect(const RECT&, COLORREF) override { return Status::Ok; }
    Status setPixel(POINT, COLORREF, COLORREF& actual) override {
        actual = 0;
        return Status::Ok;
    }
    Status getPixel(POINT, COLORREF&) const override { return Status::Unsupported; }
    Status bitBlt(const RECT&, const QOR::detail::BlitSource*, POINT, DWORD) override { return Status::Ok; }
};

bool insideAnyRect(const std::vector<RECT>& rects, int x, int y) {
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

} // namespace

TEST(BackendClip, ABackendOutsideTheLibraryReadsTheClipItWasGiven) {
    ClipReadingDc dc;
    CRgn frame, hole;
    frame.CreateRectRgn(0, 0, 6, 4);
    hole.CreateRectRgn(2, 1, 4, 3);
    dc.SelectClipRgn(&frame);
    ASSERT_TRUE(dc.clipped);
    EXPECT_EQ(dc.spans, "0:0-6 1:0-6 2:0-6 3:0-6 ");
    ASSERT_EQ(dc.rects.size(), 1u); // equal rows are one band
    EXPECT_EQ(dc.rects[0].right, 6);
    EXPECT_EQ(dc.rects[0].bottom, 4);

    // A ring: the combined clip reaches the backend, never the region the caller still holds.
    dc.ExtSelectClipRgn(&hole, RGN_DIFF);
    EXPECT_EQ(dc.spans, "0:0-6 1:0-2 1:4-6 2:0-2 2:4-6 3:0-6 ");
    EXPECT_EQ(dc.rects.size(), 4u);
    EXPECT_EQ(dc.bounds.right, 6);
    EXPECT_EQ(dc.bounds.bottom, 4);
    for (int y = -1; y <= 4; ++y)
        for (int x = -1; x <= 6; ++x) {
            const bool inRing = x >= 0 && x < 6 && y >= 0 && y < 4 && !(x >= 2 && x < 4 && y >= 1 && y < 3);
            EXPECT_EQ(insideAnyRect(dc.rects, x, y), inRing) << x << "," << y;
        }

    // A polygon clip: the rects cover exactly the pixels the region holds.
    CRgn triangle;
    const POINT corners[] = {{0, 0}, {8, 0}, {0, 8}};
    ASSERT_TRUE(triangle.CreatePolygonRgn(corners, 3, ALTERNATE));
    dc.SelectClipRgn(&triangle);
    for (int y = -1; y <= 8; ++y)
        for (int x = -1; x <= 8; ++x)
            EXPECT_EQ(insideAnyRect(dc.rects, x, y), triangle.PtInRegion(x, y) != FALSE) << x << "," << y;

    dc.SelectClipRgn(nullptr);
    EXPECT_FALSE(dc.clipped);
}

TEST(BackendClip, AnEmptyClipReadsAsNoPixels) {
    ClipReadingDc dc;
    CRgn none;
    none.CreateRectRgn(5, 5, 5, 9);
    dc.SelectClipRgn(&none);
    EXPECT_TRUE(dc.clipped);
    EXPECT_TRUE(dc.rects.empty());
    EXPECT_TRUE(dc.spans.empty());
    EXPECT_EQ(dc.bounds.right, 0);
}
