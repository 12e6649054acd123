#pragma once

// A device context that draws nothing and writes down every verb it receives, one line each, so that
// renderer tests can assert on what was drawn rather than on pixels.

#include <cstdio>
#include <string>
#include <vector>

#include "qor/platform/dc.h"

class RecordingDC : public CDC {
public:
    RecordingDC() { setCreated(true); }

    std::vector<std::string> log;

protected:
    Status selectPen(const LOGPEN& pen, int) override {
        return note("pen %d %06x%s", int(pen.lopnWidth.x), unsigned(pen.lopnColor),
                    pen.lopnStyle == PS_NULL ? " null" : "");
    }
    Status selectBrush(const LOGBRUSH& brush, int) override {
        if (brush.lbStyle == BS_NULL) return note("%s", "brush null");
        return note("brush %06x", unsigned(brush.lbColor));
    }
    Status selectClip(const QOR::Region* clip) override { return note("%s", clip ? "clip" : "clip none"); }
    Status setAttributes(const QOR::detail::DcAttributes&) override { return Status::Ok; }
    Status selectBitmap(const QOR::detail::Surface*) override { return Status::Ok; }
    Status strokeSegment(POINT a, POINT b) override {
        return note("line %d,%d %d,%d", int(a.x), int(a.y), int(b.x), int(b.y));
    }
    // A polyline is written down as its segments: tests look at lines, not at how they were batched.
    Status polyline(std::span<const POINT> points) override {
        for (std::size_t i = 1; i < points.size(); ++i)
            strokeSegment(points[i - 1], points[i]);
        return Status::Ok;
    }
    Status polyPolygon(std::span<const POINT> points, std::span<const int> counts) override {
        std::string text = "polygon";
        for (const POINT& p : points)
            text += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        log.push_back(text + " /" + std::to_string(counts.size()));
        return Status::Ok;
    }
    Status ellipse(const RECT& b) override {
        return note("ellipse %d %d %d %d", int(b.left), int(b.top), int(b.right), int(b.bottom));
    }
    Status rectangle(const RECT& b) override {
        return note("rect %d %d %d %d", int(b.left), int(b.top), int(b.right), int(b.bottom));
    }
    Status fillSolidRect(const RECT& r, COLORREF c) override {
        return note("fill %d %d %d %d %06x", int(r.left), int(r.top), int(r.right), int(r.bottom),
                    unsigned(c));
    }
    Status setPixel(POINT p, COLORREF c, COLORREF& actual) override {
        actual = c;
        return note("pixel %d,%d %06x", int(p.x), int(p.y), unsigned(c));
    }
    Status getPixel(POINT, COLORREF&) const override { return Status::Unsupported; }
    Status bitBlt(const RECT&, const QOR::detail::BlitSource*, POINT, DWORD) override {
        return note("%s", "blit");
    }

private:
    template <class... A>
    Status note(const char* format, A... args) {
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, format, args...);
        log.emplace_back(buffer);
        return Status::Ok;
    }
};
