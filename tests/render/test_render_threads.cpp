// Two threads paint while a third changes what the library shares between threads: the message language,
// the configuration (reloaded from the same files), the display-list registry and the host functions.
// None of that is an input of the paints, so each picture must equal the one painted before on this
// thread alone, pixel for pixel. One painter draws a list large enough for the renderer's own worker
// threads. Run under ThreadSanitizer (scripts/test.sh) this also shows every shared object guarded.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "qor/gdx/registry.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/host/host_app.h"
#include "qor/kernel/locale/messages.h"
#include "qor/render/render.h"
#include "qor/render/render_p.h"
#include "tiled_demo.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

struct Scene {
    CQorGDX gdx;
    unsigned threads = 1; // the renderer's threads for one paint
    CBitmap expected;
};

bool paint(CQorGDX& gdx, unsigned threads, CBitmap& bitmap) {
    return QOR::render::paintToBitmap(&gdx, bitmap, kWidth, kHeight, threads);
}

bool samePixels(const CBitmap& a, const CBitmap& b) {
    return a.surface() && b.surface() && a.surface()->words == b.surface()->words;
}

TEST(RenderThreads, PicturesStayTheSameWhileSharedStateChanges) {
    Scene scenes[2];
    ASSERT_TRUE(tiledDemo(scenes[0].gdx, 0, kWidth, kHeight)); // the demo as it is
    ASSERT_TRUE(tiledDemo(scenes[1].gdx, 12000, kWidth, kHeight));
    scenes[1].threads = 2;
    for (Scene& scene : scenes)
        ASSERT_TRUE(paint(scene.gdx, 1, scene.expected));

    const QOR::CCfgBackup keepConfiguration;
    const std::wstring language = QOR::msgLangSet(nullptr);
    std::atomic<bool> painting{true};
    std::atomic<int> changes{0};
    std::thread changer([&] {
        CQorGDX stored(scenes[0].gdx);
        for (int round = 0; painting.load() || round < 2; ++round) {
            QOR::msgLangSet(round % 2 ? L"en" : L"de");
            qor_msg_get(nullptr, L"QOR_TITLE", L"", nullptr);
            QOR::cfgMgrPtr()->reload();
            const int key = createGdxInMap(nullptr);
            gdxMapSetAt(key, stored);
            gdxMapRemoveAt(key);
            QOR::setHostFcn(L"QOR_TEST_THREADS", [](const resbuf*, resbuf*&) { return RTNORM; });
            QOR::setHostFcn(L"QOR_TEST_THREADS", {});
            ++changes;
        }
    });

    // Each painter has its own copy of its list: a list is one thread's at a time (painting sorts it).
    std::atomic<int> differing{0};
    std::thread painters[2];
    for (int p = 0; p < 2; ++p) {
        painters[p] = std::thread([&, p] {
            CQorGDX own(scenes[p].gdx);
            for (int round = 0; round < 3; ++round) {
                CBitmap bitmap;
                if (!paint(own, scenes[p].threads, bitmap) || !samePixels(bitmap, scenes[p].expected))
                    ++differing;
            }
        });
    }
    for (std::thread& painter : painters)
        painter.join();
    painting = false;
    changer.join();
    QOR::msgLangSet(language.c_str());

    EXPECT_EQ(differing.load(), 0);
    EXPECT_GE(changes.load(), 2);
}

} // namespace
