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
