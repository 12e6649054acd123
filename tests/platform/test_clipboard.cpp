#include <gtest/gtest.h>

#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_dc.h"

namespace {

CEnhMetaFile picture() {
    CMetaFileDC dc;
    dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr);
    dc.Rectangle(0, 0, 5, 5);
    return dc.CloseEnhanced();
}

// A backend that only counts, as a window toolkit's would forward.
struct CountingBackend : QOR::ClipboardBackend {
    int sets = 0;
    bool open() noexcept override { return true; }
    bool close() noexcept override { return true; }
    bool empty() noexcept override { return true; }
    bool setEnhMetaFile(HENHMETAFILE& mf) noexcept override {
        ++sets;
        mf = CEnhMetaFile();
        return true;
    }
    bool hasEnhMetaFile() const noexcept override { return sets > 0; }
    HENHMETAFILE getEnhMetaFile() const noexcept override { return CEnhMetaFile(); }
};

} // namespace

TEST(Clipboard, InProcessFollowsOpenEmptySetClose) {
    QOR::ClipboardBackend& board = QOR::clipboard();
    CEnhMetaFile mf = picture();
    EXPECT_FALSE(board.setEnhMetaFile(mf)); // not open
    EXPECT_FALSE(mf.isNull());
    ASSERT_TRUE(board.open());
    EXPECT_FALSE(board.open()); // one opener at a time
    EXPECT_TRUE(board.empty());
    EXPECT_TRUE(board.setEnhMetaFile(mf));
    EXPECT_TRUE(mf.isNull()); // ownership passed
    EXPECT_TRUE(board.close());
    EXPECT_FALSE(board.close());
    EXPECT_TRUE(board.hasEnhMetaFile());
    const CEnhMetaFile copy = board.getEnhMetaFile();
    EXPECT_FALSE(copy.isNull());
    EXPECT_TRUE(board.hasEnhMetaFile()); // reading leaves it there
    ASSERT_TRUE(board.open());
    board.empty();
    board.close();
    EXPECT_FALSE(board.hasEnhMetaFile());
}

TEST(Clipboard, InstalledBackendReplacesTheDefault) {
    CountingBackend counting;
    QOR::setClipboardBackend(&counting);
    CEnhMetaFile mf = picture();
    EXPECT_TRUE(QOR::clipboard().setEnhMetaFile(mf));
    EXPECT_EQ(counting.sets, 1);
    QOR::setClipboardBackend(nullptr);
    EXPECT_NE(&QOR::clipboard(), &counting);
}
