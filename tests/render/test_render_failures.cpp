// A paint that fails - the host throws, memory runs out, on the caller's thread or a drawing thread - gives
// the documented failure result and exactly one message to the diagnostics sink, and the program goes on.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "failing_allocations.h"
#include "forwarding_host.h"
#include "qor/kernel/base/diagnostics.h"
#include "qor/kernel/host/host_app.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"
#include "qor/render/render_p.h"
#include "recording_dc.h"
#include "tiled_demo.h"

namespace {

using Path = CQorArrayTempl<int>;
using QOR::RenderTarget;

/// Counts messages and keeps the first. Allocates nothing, so it works while allocations fail.
struct CountingSink {
    int count = 0;
    char first[256] = {};
    QOR::DiagnosticReceiver previous;

    CountingSink() { previous = QOR::setDiagnosticSink(&CountingSink::sink, this); }
    ~CountingSink() { QOR::setDiagnosticSink(previous.sink, previous.context); }
    void reset() {
        count = 0;
        first[0] = '\0';
    }
    std::string message() const { return first; }

    static void sink(void* context, QOR::DiagnosticLevel, const char* message) noexcept {
        auto* self = static_cast<CountingSink*>(context);
        if (self->count++ == 0) std::strncat(self->first, message, sizeof self->first - 1);
    }
};

/// The default host, except that every pattern look-up throws.
class ThrowingHost final : public ForwardingHost {
public:
    bool patternGet(const wchar_t*, CQorArrayTempl<CQorArrayTempl<double>>&) override {
        throw std::runtime_error("pattern server down");
    }
};

using HostThrows = HostInstalled<ThrowingHost>;

CQorVertexArray square(double x, double y, double side) {
    CQorVertexArray vl;
    vl.append(CQorPoint3d(x, y, 0), CQorPoint3d(x + side, y, 0));
    vl.append(CQorPoint3d(x + side, y, 0), CQorPoint3d(x + side, y + side, 0));
    vl.append(CQorPoint3d(x + side, y + side, 0), CQorPoint3d(x, y + side, 0));
    vl.append(CQorPoint3d(x, y + side, 0), CQorPoint3d(x, y, 0));
    return vl;
}

/// A little of every kind, the region hatched with a pattern the host looks up.
CQorGDX smallList() {
    CQorGDX gdx(CQorColor(250), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
    gdx.imageVl(Path{1}, 0, square(2, 2, 30), CQorColor(1), CQorMatrix3d(), {1.0, 2.0, -1.0}, 1.0, 1, {});
    gdx.imageReg(Path{2}, QOR::GdxItemHatch | QOR::GdxItemOutline,
                 CQorArrayTempl<CQorVertexArray>{square(5, 5, 20)}, CQorColor(3), CQorMatrix3d(), {}, 1.0, 1,
                 CQorColor(5), QOR::CHatchProp(L"ANSI31", 0.0, 0.2, false), {});
    gdx.imageTxt(Path{3}, 0, L"Qor", CQorColor(2), CQorMatrix3d(), L"BL", CQorPoint3d(4, 36, 0), {});
    gdx.imagePt(Path{4}, 0, CQorPoint3d(40, 10, 0), CQorColor(4), CQorMatrix3d(), 3.0, 34, {});
    return gdx;
}

TEST(RenderFailure, AHostThatThrowsFailsEachPaintWithOneMessageAndNothingHalfDrawnIsHandedOut) {
    CQorGDX gdx = smallList();
    CountingSink sink;
    {
        HostThrows throwing;

        // renderItems: false, and the caller's dc has its own pen back.
        RecordingDC dc;
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        dc.SelectObject(&pen);
        EXPECT_FALSE(QOR::renderItems(gdx, dc, 64, 48, RenderTarget::Window));
        EXPECT_EQ(dc.GetCurrentPen(), &pen);
        EXPECT_EQ(sink.count, 1);
        EXPECT_EQ(sink.message(), "renderItems: exception: pattern server down");

        // paintWindow copies nothing.
        sink.reset();
        CBitmap screen;
        CRasterDC window;
        ASSERT_TRUE(screen.CreateBitmap(64, 48, 1, 32, nullptr) && window.CreateCompatibleDC(nullptr));
        CBitmap* old = window.SelectObject(&screen);
        window.FillSolidRect(0, 0, 64, 48, RGB(9, 8, 7));
        EXPECT_FALSE(QOR::paintWindow(&gdx, window, 64, 48));
        EXPECT_EQ(screen.surface()->colorAt(10, 10), RGB(9, 8, 7));
        window.SelectObject(old);
        EXPECT_EQ(sink.count, 1);
        EXPECT_NE(sink.message().find("paintWindow: "), std::string::npos);

        // paintToMetafile writes no file.
        sink.reset();
        const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "qor_failed_paint.emf";
        std::filesystem::remove(file);
        EXPECT_FALSE(QOR::paintToMetafile(&gdx, file.wstring().c_str(), 64, 48));
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(sink.count, 1);

        // A large list drawn by several threads looks its patterns up first, on the caller's thread.
        sink.reset();
        CQorGDX large;
        ASSERT_TRUE(tiledDemo(large, 30000, 320, 240));
        CBitmap bitmap;
        EXPECT_FALSE(QOR::render::paintToBitmap(&large, bitmap, 320, 240, 4));
        EXPECT_EQ(bitmap.surface(), nullptr);
        EXPECT_EQ(sink.count, 1);
        EXPECT_EQ(sink.message(), "paintToBitmap: exception: pattern server down");
    }
    sink.reset();
    RecordingDC dc;
    EXPECT_TRUE(QOR::renderItems(gdx, dc, 64, 48, RenderTarget::Window));
    EXPECT_EQ(sink.count, 0);
}

/// Runs a library call with allocations failing after `allowed` of them.
struct Arming {
    long allowed = 0;
    bool anyFailed = false;

    template <class F>
    auto operator()(F&& libraryCall) {
        const failing_allocations::Armed armed(allowed);
        auto result = libraryCall();
        anyFailed = failing_allocations::disarm();
        return result;
    }
};

/// Runs run(arming) with allocations failing after 0, 1, 2, ... allocations until no allocation failed.
/// Each run must either succeed silently or fail with exactly one "<name>: out of memory" message.
template <class Run>
void sweepAllocationFailures(const char* name, Run run) {
    CountingSink sink;
    const std::string expected = std::string(name) + ": out of memory";
    int failedRuns = 0;
    for (long allowed = 0; allowed < 20000; ++allowed) {
        sink.reset();
        Arming arming{allowed};
        if (run(arming)) {
            ASSERT_EQ(sink.count, 0) << name << " after " << allowed << " allocations: " << sink.message();
        } else {
            ASSERT_TRUE(arming.anyFailed) << name << " failed with memory to spare";
            ASSERT_EQ(sink.count, 1) << name << " after " << allowed << " allocations";
            ASSERT_EQ(sink.message(), expected);
            ++failedRuns;
        }
        if (!arming.anyFailed) break;
    }
    EXPECT_GT(failedRuns, 0) << name;
}

TEST(RenderFailure, RunningOutOfMemoryAnywhereInAPaintFailsItWithOneMessage) {
    CQorGDX gdx = smallList();
    sweepAllocationFailures("paintToBitmap", [&](Arming& armed) {
        CBitmap bitmap;
        const bool ok = armed([&] { return QOR::render::paintToBitmap(&gdx, bitmap, 64, 48, 1); });
        return ok && bitmap.surface() != nullptr;
    });
    sweepAllocationFailures("renderItems", [&](Arming& armed) {
        RecordingDC dc;
        dc.log.reserve(1000); // the recording itself allocates nothing while armed
        return armed([&] { return QOR::renderItems(gdx, dc, 64, 48, RenderTarget::Metafile); });
    });
    sweepAllocationFailures("paintToMetafile", [&](Arming& armed) {
        return armed([&] { return bool(QOR::paintToMetafile(&gdx, nullptr, 64, 48)); });
    });
    // The list itself: an adder that runs out of memory leaves it as it was.
    const CQorGDX before = gdx;
    const Path path{5};
    const CQorArrayTempl<CQorVertexArray> loops{square(0, 0, 9)};
    const CQorArrayTempl<double> solid{1.0};
    sweepAllocationFailures("CQorGDX::imageReg", [&](Arming& armed) {
        const int n = gdx.lenGet();
        armed([&] {
            gdx.imageReg(path, QOR::GdxItemFill, loops, CQorColor(1), CQorMatrix3d(), solid, 1.0, 1,
                         CQorColor(2), QOR::CHatchProp(), {});
            return true;
        });
        if (gdx.lenGet() == n) return false;
        gdx.clear(path);
        return true;
    });
    EXPECT_TRUE(gdx == before);

    CBitmap bitmap; // and afterwards painting works as ever
    EXPECT_TRUE(QOR::paintToBitmap(&gdx, bitmap, 64, 48));
}

TEST(RenderFailure, ADrawingThreadOutOfMemoryFailsThePaintWithOneMessageFromTheCaller) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 30000, 320, 240));
    CountingSink sink;
    // Only the helper threads run out, after a budget that lets them make their layers and start drawing
    // (a helper without a layer leaves its stretch to the caller, which is no failure).
    int failedPaints = 0;
    for (const long budget : {16L, 64L, 256L}) {
        sink.reset();
        CBitmap bitmap;
        bool ok = true;
        {
            const failing_allocations::Armed armed(budget, true);
            ok = QOR::render::paintToBitmap(&gdx, bitmap, 320, 240, 4);
        }
        if (ok) {
            EXPECT_EQ(sink.count, 0) << sink.message();
            continue;
        }
        ++failedPaints;
        EXPECT_EQ(bitmap.surface(), nullptr);
        EXPECT_EQ(sink.count, 1);
        EXPECT_EQ(sink.message(), "paintToBitmap: out of memory");
    }
    EXPECT_GT(failedPaints, 0);
    sink.reset();
    CBitmap bitmap;
    EXPECT_TRUE(QOR::render::paintToBitmap(&gdx, bitmap, 320, 240, 4));
    EXPECT_EQ(sink.count, 0);
}

} // namespace
