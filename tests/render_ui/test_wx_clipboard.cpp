// The desktop clipboard: a metafile put on it through the seam is offered as image/x-emf, image/svg+xml
// and image/png to anyone who reads wx's clipboard (this process reads it back through the X server),
// and the seam's open/empty/close rules hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/emf/emf_svg.h"
#include "qor/platform/gdi_object.h"
#include "qor/render/ui/wx_clipboard.h"

namespace {

HENHMETAFILE drawing() {
    CMetaFileDC dc;
    EXPECT_TRUE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr));
    CBrush blue(RGB(0, 0, 255));
    dc.SelectObject(&blue);
    dc.Rectangle(0, 0, 200, 100);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    dc.SelectObject(&red);
    dc.MoveTo(0, 150);
    dc.LineTo(200, 150);
    return dc.CloseEnhanced();
}

/// Installs the backend for one test and restores the in-process clipboard afterwards.
class WxClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { QOR::setClipboardBackend(&backend); }
    void TearDown() override {
        backend.close();
        QOR::setClipboardBackend(nullptr);
    }
    QOR::WxClipboard backend;
};

std::string customData(const char* format) {
    wxCustomDataObject data{wxDataFormat(format)};
    if (!wxTheClipboard->IsSupported(data.GetFormat()) || !wxTheClipboard->GetData(data)) return {};
    return std::string(static_cast<const char*>(data.GetData()), data.GetSize());
}

} // namespace

TEST_F(WxClipboardTest, OffersTheMetafileAsEmfSvgAndPng) {
    HENHMETAFILE mf = drawing();
    const CEnhMetaFile copy = CopyEnhMetaFileW(mf, nullptr);
    std::string svg;
    ASSERT_TRUE(QOR::enhMetaFileToSvg(mf, svg));

    QOR::ClipboardBackend& cb = QOR::clipboard();
    ASSERT_EQ(&cb, &backend);
    ASSERT_TRUE(cb.open());
    ASSERT_TRUE(cb.empty());
    ASSERT_TRUE(cb.setEnhMetaFile(mf));
    EXPECT_TRUE(mf.isNull()); // the clipboard took it
    ASSERT_TRUE(cb.close());

    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_TRUE(wxTheClipboard->IsSupported(wxDataFormat("image/x-emf")));
    EXPECT_TRUE(wxTheClipboard->IsSupported(wxDataFormat("image/svg+xml")));
    EXPECT_TRUE(wxTheClipboard->IsSupported(wxDataFormat("image/png")));
    const std::string emf = customData("image/x-emf");
    EXPECT_TRUE(emf.size() == copy.bytes().size() &&
                std::equal(emf.begin(), emf.end(), copy.bytes().begin(),
                           [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; }));
    EXPECT_EQ(customData("image/svg+xml"), svg);
    wxBitmapDataObject png;
    ASSERT_TRUE(wxTheClipboard->GetData(png));
    wxTheClipboard->Close();

    // The picture: the frame's pixel box on white, the blue box and the red line where they were drawn.
    const wxImage image = png.GetBitmap().ConvertToImage();
    const wxImage expected = QOR::metafileImage(copy);
    ASSERT_TRUE(image.IsOk() && expected.IsOk());
    EnhMetaHeader header{};
    ASSERT_TRUE(copy.header(header));
    EXPECT_EQ(image.GetWidth(), header.bounds.right + 1); // the frame is the drawing's bounds from (0, 0)
    EXPECT_EQ(image.GetHeight(), header.bounds.bottom + 1);
    ASSERT_EQ(image.GetSize(), expected.GetSize());
    EXPECT_EQ(0, std::memcmp(image.GetData(), expected.GetData(),
                             std::size_t(image.GetWidth()) * image.GetHeight() * 3));
    EXPECT_EQ(image.GetBlue(100, 50), 255);
    EXPECT_EQ(image.GetRed(100, 50), 0);
    EXPECT_EQ(image.GetRed(100, 150), 255);
    EXPECT_EQ(image.GetGreen(100, 150), 0);
    EXPECT_EQ(image.GetGreen(100, 125), 255); // paper

    // And through the seam again: the same bytes.
    EXPECT_TRUE(cb.hasEnhMetaFile());
    const HENHMETAFILE back = cb.getEnhMetaFile();
    ASSERT_FALSE(back.isNull());
    EXPECT_TRUE(
        std::equal(back.bytes().begin(), back.bytes().end(), copy.bytes().begin(), copy.bytes().end()));
}

TEST_F(WxClipboardTest, KeepsTheSeamsRules) {
    HENHMETAFILE mf = drawing();
    HENHMETAFILE none;
    QOR::ClipboardBackend& cb = QOR::clipboard();
    EXPECT_FALSE(cb.setEnhMetaFile(mf)); // not open
    EXPECT_FALSE(cb.empty());
    EXPECT_FALSE(cb.close());
    ASSERT_TRUE(cb.open());
    EXPECT_FALSE(cb.open()); // one opener at a time
    EXPECT_FALSE(cb.setEnhMetaFile(none));
    EXPECT_FALSE(mf.isNull());
    ASSERT_TRUE(cb.empty());
    EXPECT_TRUE(cb.close());
    EXPECT_FALSE(cb.hasEnhMetaFile()); // emptied
    EXPECT_TRUE(cb.getEnhMetaFile().isNull());

    // Someone else holding wx's clipboard keeps the backend out.
    ASSERT_TRUE(wxTheClipboard->Open());
    EXPECT_FALSE(cb.open());
    wxTheClipboard->Close();

    // Another program's data that is no metafile reads as none.
    ASSERT_TRUE(wxTheClipboard->Open());
    auto* junk = new wxCustomDataObject(wxDataFormat("image/x-emf"));
    junk->SetData(5, "junk!");
    ASSERT_TRUE(wxTheClipboard->SetData(junk));
    wxTheClipboard->Close();
    EXPECT_TRUE(cb.hasEnhMetaFile());
    EXPECT_TRUE(cb.getEnhMetaFile().isNull());
}

TEST(WxClipboardImage, NullAndMalformedMetafilesGiveNoPicture) {
    EXPECT_FALSE(QOR::metafileImage(HENHMETAFILE()).IsOk());
    HENHMETAFILE mf = drawing();
    std::vector<unsigned char> bytes(mf.bytes().begin(), mf.bytes().end());
    bytes.resize(bytes.size() - 20);         // no end record
    bytes[48] = (unsigned char)bytes.size(); // the header's size field covers what is left
    bytes[49] = (unsigned char)(bytes.size() >> 8);
    const CEnhMetaFile cut = CEnhMetaFile::fromBytes(bytes);
    ASSERT_FALSE(cut.isNull());
    EXPECT_FALSE(QOR::metafileImage(cut).IsOk());
}
