#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qor/platform/raster/raster_dc.h"

// A memory DC on a white 32-bit bitmap, with helpers that show pixels as text: '#' for the pen colour
// (black), 'o' for the brush colour (red), '.' for white, '?' for anything else.
class RasterFixture : public ::testing::Test {
protected:
    static constexpr COLORREF kWhite = RGB(255, 255, 255);
    static constexpr COLORREF kBlack = RGB(0, 0, 0);
    static constexpr COLORREF kRed = RGB(255, 0, 0);

    void SetUp() override { make(24, 16); }

    void make(int width, int height, int bpp = 32) {
        dc.DeleteDC();
        bitmap.DeleteObject();
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap.CreateBitmap(width, height, 1, UINT(bpp), nullptr));
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, kWhite);
    }

    void usePen(int width, COLORREF color = kBlack) {
        pen.DeleteObject();
        pen.CreatePen(PS_SOLID, width, color);
        dc.SelectObject(&pen);
    }
    void useBrush(COLORREF color = kRed) {
        brush.DeleteObject();
        brush.CreateSolidBrush(color);
        dc.SelectObject(&brush);
    }

    char cell(int x, int y) const {
        const COLORREF c = dc.GetPixel(x, y);
        return c == kBlack ? '#' : c == kRed ? 'o' : c == kWhite ? '.' : '?';
    }

    /// Rows y0 .. y1 - 1 of columns x0 .. x1 - 1.
    std::vector<std::string> rows(int x0, int y0, int x1, int y1) const {
        std::vector<std::string> out;
        for (int y = y0; y < y1; ++y) {
            std::string r;
            for (int x = x0; x < x1; ++x)
                r += cell(x, y);
            out.push_back(r);
        }
        return out;
    }

    int count(char what) const {
        int n = 0;
        BITMAP info{};
        bitmap.GetBitmap(&info);
        for (int y = 0; y < info.bmHeight; ++y)
            for (int x = 0; x < info.bmWidth; ++x)
                n += cell(x, y) == what;
        return n;
    }

    CRasterDC dc;
    CBitmap bitmap;
    CPen pen;
    CBrush brush;
};

using Rows = std::vector<std::string>;
