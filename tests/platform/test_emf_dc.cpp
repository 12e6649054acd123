#include <gtest/gtest.h>

#include <filesystem>

#include "emf_fixture.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/raster/raster_dc.h"

namespace emf = QOR::detail::emf;
using emf_test::field;
using emf_test::records;

namespace {

class MetaFileDc : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr)); }

    std::vector<std::uint32_t> types(const CEnhMetaFile& mf) {
        std::vector<std::uint32_t> out;
        for (const auto& r : records(mf))
            out.push_back(r.type);
        return out;
    }

    CMetaFileDC dc;
};

std::filesystem::path tempPath(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "qor_emf_tests";
    std::filesystem::create_directories(dir);
    return dir / name;
}

} // namespace

TEST_F(MetaFileDc, HeaderBoundsFrameAndReferenceDeviceAgree) {
    CPen wide(PS_SOLID, 4, RGB(1, 2, 3));
    dc.Rectangle(10, 20, 110, 70);
    dc.SelectObject(&wide);
    dc.MoveTo(200, 30);
    dc.LineTo(300, 30); // widens the bounds by half the pen
    const CEnhMetaFile mf = dc.CloseEnhanced();
    EnhMetaHeader h{};
    ASSERT_TRUE(mf.header(h));
    EXPECT_EQ(CRect(h.bounds), CRect(10, 20, 302, 69));
    // Frame: the pixel box [10, 303) x [20, 70) in 0.01 mm at 96 dpi, inclusive.
    EXPECT_EQ(CRect(h.frameHimm), CRect(265, 529, 8017 - 1, 1852 - 1));
    EXPECT_EQ(h.devicePx.cx * 254, h.deviceMm.cx * 96 * 10); // 96 dpi exactly
    EXPECT_EQ(h.devicePx.cy * 254, h.deviceMm.cy * 96 * 10);
    EXPECT_EQ(h.bytes, mf.bytes().size());
    EXPECT_EQ(h.records, records(mf).size());
    EXPECT_EQ(records(mf).back().type, std::uint32_t(emf::kEof));
    emf_test::expectConverts(mf, "header");
}

TEST_F(MetaFileDc, EmptyPictureHasEmptyBounds) {
    const CEnhMetaFile mf = dc.CloseEnhanced();
    EnhMetaHeader h{};
    ASSERT_TRUE(mf.header(h));
    EXPECT_EQ(CRect(h.bounds), CRect(0, 0, -1, -1));
    EXPECT_EQ(CRect(h.frameHimm), CRect(0, 0, -1, -1));
    EXPECT_EQ(types(mf), (std::vector<std::uint32_t>{emf::kHeader, emf::kEof}));
    emf_test::expectConverts(mf, "empty");
}

TEST_F(MetaFileDc, BoundsAreCutToTheClip) {
    CRgn clip;
    clip.CreateRectRgn(0, 0, 50, 40);
    dc.SelectClipRgn(&clip);
    dc.Ellipse(30, 30, 90, 90);
    const CEnhMetaFile mf = dc.CloseEnhanced();
    EnhMetaHeader h{};
    ASSERT_TRUE(mf.header(h));
    EXPECT_EQ(CRect(h.bounds), CRect(30, 30, 49, 39));
}

TEST_F(MetaFileDc, GivenFrameIsKept) {
    CMetaFileDC framed;
    const RECT frame{0, 0, 2645, 1322};
    ASSERT_TRUE(framed.CreateEnhanced(nullptr, nullptr, &frame, nullptr));
    framed.SetPixelV(3, 3, 0);
    EnhMetaHeader h{};
    ASSERT_TRUE(framed.CloseEnhanced().header(h));
    EXPECT_EQ(CRect(h.frameHimm), CRect(frame));
    EXPECT_EQ(CRect(h.bounds), CRect(3, 3, 3, 3));
}

TEST_F(MetaFileDc, PensAndBrushesBecomeObjectsAndStockSelections) {
    CPen red(PS_SOLID, 1, RGB(255, 0, 0)), blue(PS_SOLID, 3, RGB(0, 0, 255));
    dc.SelectObject(&red);
    dc.SelectObject(&red); // nothing new to record
    dc.SelectObject(&blue);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(NULL_PEN);
    const CEnhMetaFile mf = dc.CloseEnhanced();
    const auto rs = records(mf);
    const std::vector<std::uint32_t> expected = {emf::kHeader,       emf::kCreatePen,    emf::kSelectObject,
                                                 emf::kCreatePen,    emf::kSelectObject, emf::kDeleteObject,
                                                 emf::kSelectObject, emf::kDeleteObject, emf::kEof};
    ASSERT_EQ(types(mf), expected);
    EXPECT_EQ(field(mf, rs[1], 0), 1u); // first pen slot
    EXPECT_EQ(field(mf, rs[1], 2), 1u); // width
    EXPECT_EQ(field(mf, rs[3], 0), 2u); // the other slot, then the first one deleted
    EXPECT_EQ(field(mf, rs[3], 2), 3u);
    EXPECT_EQ(field(mf, rs[3], 4), RGB(0, 0, 255));
    EXPECT_EQ(field(mf, rs[5], 0), 1u);
    EXPECT_EQ(field(mf, rs[6], 0), emf::kStockObjectFlag | NULL_PEN);
}

TEST_F(MetaFileDc, ShapesPickTheirRecords) {
    const POINT small[] = {{0, 0}, {10, 0}, {5, 5}};
    const POINT large[] = {{0, 0}, {40000, 0}, {5, 5}};
    const int counts[] = {2, 1};
    dc.Polygon(small, 3);
    dc.Polygon(large, 3);
    dc.Polyline(small, 3);
    dc.Polyline(large, 3);
    dc.PolyPolygon(small, counts, 1);
    dc.MoveTo(1, 1);
    dc.LineTo(4, 4);
    dc.LineTo(8, 1); // continues from the recorded position: no move record
    dc.SetPixelV(2, 2, RGB(1, 2, 3));
    const CEnhMetaFile mf = dc.CloseEnhanced();
    const std::vector<std::uint32_t> expected = {
        emf::kHeader,   emf::kPolygon16, emf::kPolygon, emf::kPolyline16, emf::kPolyline, emf::kPolygon16,
        emf::kMoveToEx, emf::kLineTo,    emf::kLineTo,  emf::kSetPixelV,  emf::kEof};
    EXPECT_EQ(types(mf), expected);
    emf_test::expectConverts(mf, "shapes_records");
}

TEST_F(MetaFileDc, WritesTheFileAtomicallyOnClose) {
    const auto path = tempPath("atomic.emf");
    std::filesystem::remove(path);
    CMetaFileDC file;
    ASSERT_TRUE(file.CreateEnhanced(nullptr, path.wstring().c_str(), nullptr, L"Qor\0atomic\0\0"));
    file.Rectangle(1, 1, 20, 20);
    EXPECT_FALSE(std::filesystem::exists(path)); // only the temporary file so far
    const CEnhMetaFile mf = file.CloseEnhanced();
    ASSERT_FALSE(mf.isNull());
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(QOR::detail::readFileBytes(path.wstring().c_str(), 1 << 20, bytes));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), mf.bytes().begin(), mf.bytes().end()));
    const CEnhMetaFile again = GetEnhMetaFileW(path.wstring().c_str());
    EXPECT_EQ(again.bytes().size(), mf.bytes().size());
    for (const auto& e : std::filesystem::directory_iterator(path.parent_path()))
        EXPECT_EQ(e.path().string().find("atomic.emf.tmp"), std::string::npos) << e.path();

    CMetaFileDC nowhere;
    EXPECT_FALSE(nowhere.CreateEnhanced(nullptr, L"/no/such/folder/x.emf", nullptr, nullptr));
    EXPECT_FALSE(nowhere.isCreated());
}

TEST_F(MetaFileDc, DescriptionIsStoredAsUtf16) {
    CMetaFileDC described;
    ASSERT_TRUE(described.CreateEnhanced(nullptr, nullptr, nullptr, L"Qor\0Bild \u00e4\0\0"));
    const CEnhMetaFile mf = described.CloseEnhanced();
    const auto rs = records(mf);
    const std::uint32_t units = field(mf, rs[0], 13), offset = field(mf, rs[0], 14);
    EXPECT_EQ(units, 12u); // "Qor" NUL "Bild ä" NUL NUL
    EXPECT_EQ(offset, emf::kHeaderBytes);
    EXPECT_EQ(QOR::detail::loadU16(mf.bytes().data() + offset + 2 * 9), 0xE4u);
}

TEST_F(MetaFileDc, NullDeviceAndRefusedCallsFail) {
    CMetaFileDC idle;
    EXPECT_FALSE(idle.LineTo(3, 3));
    EXPECT_TRUE(idle.CloseEnhanced().isNull());
    EXPECT_FALSE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr)); // already recording
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
    CBitmap bitmap;
    bitmap.CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(dc.SelectObject(&bitmap), nullptr);
    EXPECT_FALSE(dc.hasFailed()); // refusals are not failures of the recording
    EXPECT_TRUE(dc.LineTo(3, 3));
    const CEnhMetaFile mf = dc.CloseEnhanced();
    EXPECT_FALSE(mf.isNull());
    EXPECT_FALSE(dc.isCreated());
}

TEST(EnhMetaFile, HandlesOwnAndCopy) {
    CMetaFileDC dc;
    ASSERT_TRUE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr));
    dc.SetPixelV(1, 1, 0);
    CEnhMetaFile a = dc.CloseEnhanced();
    CEnhMetaFile b = std::move(a);
    EXPECT_TRUE(a.isNull());
    EXPECT_FALSE(b.isNull());
    CEnhMetaFile c = CopyEnhMetaFileW(b, nullptr);
    EXPECT_EQ(c.bytes().size(), b.bytes().size());
    EXPECT_TRUE(DeleteEnhMetaFile(b));
    EXPECT_FALSE(DeleteEnhMetaFile(b));
    EXPECT_FALSE(c.isNull());
    const unsigned char junk[120] = {1};
    EXPECT_TRUE(CEnhMetaFile::fromBytes(junk).isNull());
    EXPECT_TRUE(GetEnhMetaFileW(L"/no/such/file.emf").isNull());
}
