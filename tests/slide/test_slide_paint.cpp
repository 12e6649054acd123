// Painting slides onto device contexts. The reference image of the demo slide is regenerated with
//     QOR_UPDATE_REFERENCES=1 build/tests/qor_test_slide --gtest_filter='SlideReference.*'
// and tests/data/slide_paint/demo_sld_600x400.ref.png is reviewed before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../platform/emf_fixture.h"
#include "../render/recording_dc.h"
#include "../render/reference_image.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/platform/resources.h"
#include "qor/slide/slide.h"
#include "qor/slide/slide_reader_p.h"
#include "slide_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

/// A slide with every record kind, in the given level and byte order.
Bytes sampleSlide(int level = 2, bool big = false) {
    SlideWriter w(100, 50, level, big);
    w.color(1).vector(0, 0, 100, 50).commonEndpoint(-20, 0).commonEndpoint(0, -20);
    w.color(5).fill({{10, 10}, {40, 10}, {40, 30}, {10, 30}});
    w.color(3).vector(60, 5, 90, 5).offsetVector(0, 5, 30, 5).offsetVector(0, 5, 30, 5);
    w.color(7).fill({{70, 40}, {95, 48}, {95, 32}}, 9);
    return w.bytes();
}

/// What draw did, without the restoring of the DC's state at its end (pen, brush and the clip, which is
/// selected nowhere else).
std::vector<std::string> drawLog(QOR::CSlide& slide, const CRect& rect) {
    RecordingDC dc;
    slide.draw(&dc, rect);
    const auto restore = std::find(dc.log.begin(), dc.log.end(), "clip none");
    if (restore - dc.log.begin() >= 2) dc.log.erase(restore - 2, dc.log.end());
    return dc.log;
}

/// A white raster of w x h with the slide drawn into it.
struct Picture {
    CRasterDC dc;
    CBitmap bitmap;
    Picture(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(w, h, 1, 32, nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
    }
    bool samePixels(const Picture& other) const {
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                if (dc.GetPixel(x, y) != other.dc.GetPixel(x, y)) return false;
        return true;
    }
    int countNot(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                n += dc.GetPixel(x, y) != c;
        return n;
    }
};

TEST(SlidePaint, ScalesKeepingTheAspectAndCentres) {
    QOR::CSlide slide;
    const Bytes bytes = SlideWriter(100, 50).vector(0, 0, 100, 50).fill({{0, 0}, {10, 0}, {10, 10}}).bytes();
    slide.show(bytes.data(), int(bytes.size()));
    const std::vector<std::string> log = drawLog(slide, CRect(0, 0, 201, 201));
    EXPECT_DOUBLE_EQ(slide.scale(), 2.0);
    EXPECT_EQ(slide.offsetX(), 0);
    EXPECT_EQ(slide.offsetY(), 50);
    // y grows upwards in the slide: (0, 0) is the bottom-left corner of the centred 200 x 100 picture.
    // Fills are polygons closed on their first vertex.
    EXPECT_EQ(log, (std::vector<std::string>{"line 0,150 200,50", "polygon 0,150 20,150 20,130 0,150 /1"}));
}

TEST(SlidePaint, ColourSevenIsBlackOnlyAgainstBackgroundSeven) {
    QOR::CSlide slide;
    const Bytes bytes = SlideWriter().color(7).vector(0, 0, 10, 10).color(1).bytes();
    slide.show(bytes.data(), int(bytes.size()));
    EXPECT_EQ(slide.BackColor(), 0);
    std::vector<std::string> log = drawLog(slide, CRect(0, 0, 101, 51));
    EXPECT_EQ(log[0], "pen 1 ffffff");
    EXPECT_EQ(slide.SetBkColor(7), 1);
    EXPECT_EQ(slide.BackColor(), 7);
    log = drawLog(slide, CRect(0, 0, 101, 51));
    EXPECT_EQ(log[0], "pen 1 000000");
    EXPECT_EQ(log[1], "brush 000000");
    EXPECT_NE(std::find(log.begin(), log.end(), "pen 1 0000ff"), log.end()); // index 1 stays red
}

TEST(SlidePaint, DrawsWithTheDcsPenUntilTheFirstColourAndRestoresTheDc) {
    QOR::CSlide slide;
    const Bytes bytes = SlideWriter().vector(0, 0, 10, 0).color(2).bytes();
    slide.show(bytes.data(), int(bytes.size()));
    RecordingDC dc;
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    dc.SelectObject(&pen);
    dc.log.clear();
    ASSERT_TRUE(slide.draw(&dc, CRect(0, 0, 101, 51)));
    EXPECT_EQ(dc.log[0], "line 0,50 10,50");
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
}

TEST(SlidePaint, NothingToDrawGivesFalse) {
    QOR::CSlide slide;
    RecordingDC dc;
    EXPECT_FALSE(slide.draw(&dc, CRect(0, 0, 10, 10)));
    Bytes bytes = sampleSlide();
    slide.show(bytes.data(), int(bytes.size()));
    EXPECT_FALSE(slide.draw(nullptr, CRect(0, 0, 10, 10)));
    bytes[18] = 0;
    slide.show(bytes.data(), int(bytes.size()));
    EXPECT_FALSE(slide.draw(&dc, CRect(0, 0, 10, 10)));
    EXPECT_TRUE(dc.log.empty());
    slide.show(nullptr, 5);
    EXPECT_FALSE(slide.hasData());
    // Degenerate sizes and rects draw without trouble.
    slide.show(SlideWriter(0, 0).vector(-32768, 32767, 32767, -32768).bytes().data(), 35);
    EXPECT_TRUE(slide.draw(&dc, CRect(0, 0, 0, 0)));
}

TEST(SlidePaint, TruncationAtEveryByteKeepsWhatWasDrawnBefore) {
    for (int level : {1, 2})
        for (bool big : {false, true}) {
            const Bytes full = sampleSlide(level, big);
            // Drawing up to a record boundary draws exactly the records before it; any cut after the
            // boundary draws those first (a partial record may add one more drawing of its own).
            std::vector<std::string> atBoundary;
            QOR::detail::SlideHeader header;
            QOR::detail::readSlideHeader(full, header);
            std::vector<std::size_t> boundaries{header.recordsAt};
            QOR::detail::SlideRecordReader reader(full, header);
            QOR::detail::SlideRecord record;
            while (reader.next(record))
                boundaries.push_back(reader.position());
            for (std::size_t cut = 0; cut <= full.size(); ++cut) {
                QOR::CSlide slide;
                slide.show(full.data(), int(cut));
                const std::vector<std::string> log = drawLog(slide, CRect(0, 0, 160, 120));
                if (std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end())
                    atBoundary = log;
                ASSERT_GE(log.size(), atBoundary.size()) << "cut " << cut;
                ASSERT_TRUE(std::equal(atBoundary.begin(), atBoundary.end(), log.begin())) << "cut " << cut;
            }
            EXPECT_GE(atBoundary.size(), 10u);
        }
}

TEST(SlidePaint, PaintFillsTheBackgroundUnlessTransparent) {
    QOR::CSlide slide;
    RecordingDC dc;
    slide.paint(&dc, CRect(0, 0, 20, 10));
    EXPECT_NE(std::find(dc.log.begin(), dc.log.end(), "brush f0f0f0"), dc.log.end()); // no slide: neutral
    EXPECT_NE(std::find(dc.log.begin(), dc.log.end(), "rect 0 0 20 10"), dc.log.end());
    const Bytes bytes = sampleSlide();
    slide.show(bytes.data(), int(bytes.size()));
    slide.SetBkColor(5);
    dc.log.clear();
    EXPECT_TRUE(slide.paint(&dc, CRect(0, 0, 20, 10)));
    EXPECT_NE(std::find(dc.log.begin(), dc.log.end(), "brush ff0000"), dc.log.end());
    dc.log.clear();
    EXPECT_TRUE(slide.paint(&dc, CRect(0, 0, 20, 10), true));
    EXPECT_EQ(std::find(dc.log.begin(), dc.log.end(), "rect 0 0 20 10"), dc.log.end());
}

TEST(SlideMetafile, PlaysBackAsTheSlideDrawnAgainstBackgroundSeven) {
    QOR::CSlide slide;
    const Bytes bytes = sampleSlide();
    slide.show(bytes.data(), int(bytes.size()));
    slide.SetBkColor(3);
    HENHMETAFILE emf = slide.CreateEnhMetaFileW(CRect(0, 0, 160, 120));
    ASSERT_FALSE(emf.isNull());
    EXPECT_EQ(slide.BackColor(), 3);

    Picture played(160, 120), direct(160, 120);
    ASSERT_TRUE(PlayEnhMetaFile(&played.dc, emf, nullptr));
    slide.SetBkColor(7);
    slide.draw(&direct.dc, CRect(0, 0, 160, 120));
    EXPECT_TRUE(played.samePixels(direct));
    EXPECT_GT(played.countNot(RGB(255, 255, 255)), 500);
    emf_test::expectConverts(emf, "slide_sample");
}

TEST(SlideMetafile, CopyPutsTheSlideOnTheClipboard) {
    QOR::CSlide slide;
    const Bytes bytes = sampleSlide();
    slide.show(bytes.data(), int(bytes.size()));
    ASSERT_TRUE(QOR::clipboard().open());
    EXPECT_FALSE(slide.Copy()); // somebody else holds it
    QOR::clipboard().empty();
    QOR::clipboard().close();
    ASSERT_TRUE(slide.Copy());
    const HENHMETAFILE emf = QOR::clipboard().getEnhMetaFile();
    ASSERT_FALSE(emf.isNull());
    EnhMetaHeader info{};
    ASSERT_TRUE(emf.header(info));
    EXPECT_GT(info.records, 10u);
}

TEST(SlideResource, LoadsTheEmbeddedDemoSlide) {
    Bytes onDisk;
    const fs::path demo = fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.sld";
    ASSERT_TRUE(QOR::detail::readFileBytes(demo.wstring().c_str(), 1 << 20, onDisk));
    QOR::CSlide slide;
    ASSERT_TRUE(slide.LoadSlide(1, reinterpret_cast<const wchar_t*>(std::uintptr_t(QOR::RT_SLIDE))));
    EXPECT_EQ(Bytes(slide.data().begin(), slide.data().end()), onDisk);
    slide.show(nullptr, 0);
    ASSERT_TRUE(slide.LoadSlide(1, L"sld"));
    EXPECT_TRUE(slide.hasData());
    EXPECT_FALSE(slide.LoadSlide(2, L"SLD"));
    EXPECT_FALSE(slide.LoadSlide(1, L"SLIDES"));
    EXPECT_FALSE(slide.LoadSlide(1, reinterpret_cast<const wchar_t*>(std::uintptr_t(RT_GROUP_ICON))));
    EXPECT_TRUE(slide.hasData()); // a failed load keeps the slide
}

TEST(SlideReference, DemoSlideMatchesReferenceImage) {
    constexpr int kWidth = 600, kHeight = 400;
    QOR::CSlide slide;
    ASSERT_TRUE(slide.LoadSlide(1, L"SLD"));
    Picture picture(kWidth, kHeight);
    ASSERT_TRUE(slide.paint(&picture.dc, CRect(0, 0, kWidth, kHeight)));

    expectMatchesReference(picture.bitmap, "slide_paint", "demo_sld_600x400");
}

} // namespace
