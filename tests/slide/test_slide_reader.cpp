#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "slide/slide_reader.h"
#include "tests/slide/slide_writer.h"

namespace {

using QOR::detail::SlideHeader;
using QOR::detail::SlidePoint;
using QOR::detail::SlideRecord;
using QOR::detail::SlideRecordKind;
using QOR::detail::SlideRecordReader;

/// The records as text: "v x0,y0 x1,y1", "f x,y x,y ...", "c index".
std::vector<std::string> records(const std::vector<unsigned char>& bytes) {
    SlideHeader header;
    std::vector<std::string> out;
    if (!QOR::detail::readSlideHeader(bytes, header)) return out;
    SlideRecordReader reader(bytes, header);
    SlideRecord r;
    auto pt = [](SlidePoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
    while (reader.next(r)) {
        if (r.kind == SlideRecordKind::Vector) {
            out.push_back("v " + pt(r.from) + " " + pt(r.to));
        } else if (r.kind == SlideRecordKind::Color) {
            out.push_back("c " + std::to_string(r.color));
        } else {
            std::string text = "f";
            for (SlidePoint p : r.polygon)
                text += " " + pt(p);
            out.push_back(text);
        }
    }
    return out;
}

TEST(SlideHeader, LevelsAndByteOrdersGiveTheSameSize) {
    for (int level : {1, 2})
        for (bool big : {false, true}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " big " << big);
            const std::vector<unsigned char> bytes = SlideWriter(640, 300, level, big).bytes();
            SlideHeader h;
            ASSERT_TRUE(QOR::detail::readSlideHeader(bytes, h));
            EXPECT_EQ(h.level, level);
            EXPECT_EQ(h.width, 640);
            EXPECT_EQ(h.height, 300);
            EXPECT_EQ(h.recordsAt, level == 1 ? 34u : 31u);
            EXPECT_EQ(h.swapWords, big && level == 2); // level 1 is always little-endian
        }
}

TEST(SlideHeader, OtherLevelsAndShortDataAreRefused) {
    std::vector<unsigned char> bytes = SlideWriter().bytes();
    bytes[18] = 3;
    SlideHeader h;
    EXPECT_FALSE(QOR::detail::readSlideHeader(bytes, h));
    EXPECT_EQ(h.width, 100); // still decoded for getSize
    bytes.resize(18);
    EXPECT_FALSE(QOR::detail::readSlideHeader(bytes, h));
    EXPECT_FALSE(QOR::detail::readSlideHeader({}, h));
}

TEST(SlideHeader, UnknownTestNumberReadsSizeBigEndianAndWordsLittleEndian) {
    std::vector<unsigned char> bytes = SlideWriter(0x0102, 0x0304).vector(1, 2, 3, 4).bytes();
    bytes[29] = 0x55;
    bytes[30] = 0x66;
    SlideHeader h;
    ASSERT_TRUE(QOR::detail::readSlideHeader(bytes, h));
    EXPECT_EQ(h.width, 0x0201);
    EXPECT_EQ(h.height, 0x0403);
    EXPECT_EQ(records(bytes), std::vector<std::string>{"v 1,2 3,4"});
}

TEST(SlideRecords, EveryKindInBothByteOrdersAndLevels) {
    for (int level : {1, 2})
        for (bool big : {false, true}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " big " << big);
            SlideWriter w(100, 50, level, big);
            w.color(1).vector(10, 20, 30, -40).commonEndpoint(5, -3).offsetVector(-2, 4, 6, -8).color(255);
            w.fill({{0, 0}, {10, 0}, {10, 10}});
            EXPECT_EQ(records(w.bytes()),
                      (std::vector<std::string>{"c 1", "v 10,20 30,-40", "v 10,20 15,17", "v 13,21 21,9",
                                                "c 255", "f 0,0 10,0 10,10 0,0"}));
        }
}

TEST(SlideRecords, CommonEndpointChainStartsAtTheVectorsFromPoint) {
    SlideWriter w;
    w.vector(50, 50, 0, 0).commonEndpoint(10, 0).commonEndpoint(0, 10).commonEndpoint(-10, -10);
    EXPECT_EQ(records(w.bytes()),
              (std::vector<std::string>{"v 50,50 0,0", "v 50,50 60,50", "v 60,50 60,60", "v 60,60 50,50"}));
}

TEST(SlideRecords, OffsetVectorsAreRelativeToThePointBeforeTheRecord) {
    SlideWriter w;
    w.vector(20, 30, 0, 0).offsetVector(1, 2, 10, 20).offsetVector(1, 2, 10, 20).commonEndpoint(1, 1);
    EXPECT_EQ(records(w.bytes()),
              (std::vector<std::string>{"v 20,30 0,0", "v 21,32 30,50", "v 22,34 31,52", "v 22,34 23,35"}));
}

TEST(SlideRecords, OffsetsWrapModulo16Bits) {
    SlideWriter w;
    w.vector(32767, -32768, 0, 0).commonEndpoint(1, -1);
    EXPECT_EQ(records(w.bytes()),
              (std::vector<std::string>{"v 32767,-32768 0,0", "v 32767,-32768 -32768,32767"}));
}

TEST(SlideRecords, FillEndsEarlyAtANegativeY) {
    SlideWriter w;
    // Announces five vertices but closes after three; the closing record is not taken as a vertex.
    w.fill({{0, 0}, {10, 0}, {10, 10}}, 5).color(3);
    EXPECT_EQ(records(w.bytes()), (std::vector<std::string>{"f 0,0 10,0 10,10 0,0", "c 3"}));
}

TEST(SlideRecords, FillWithoutClosingRecordSwallowsTheNextRecord) {
    SlideWriter w;
    // All vertices announced are read; the next three words are taken as the closing record.
    w.fill({{0, 0}, {10, 0}, {10, 10}}, -1, false).color(9).color(9).color(9).color(3);
    EXPECT_EQ(records(w.bytes()), (std::vector<std::string>{"f 0,0 10,0 10,10 0,0", "c 3"}));
}

TEST(SlideRecords, FillAnnouncingMoreVerticesThanTheDataHoldEndsAtTheEnd) {
    SlideWriter w;
    w.fill({{0, 0}, {7, 0}}, 32767, false).end(false);
    // Past the end every word reads 0xFCFC, whose negative y ends the polygon.
    EXPECT_EQ(records(w.bytes()), std::vector<std::string>{"f 0,0 7,0 0,0"});
}

TEST(SlideRecords, StopsAtEndAndUnknownOpcodes) {
    for (int op : {0xFC00, 0x8000, 0xFA12, 0xFD01}) {
        SlideWriter w;
        w.color(1).word(op).color(2);
        EXPECT_EQ(records(w.bytes()), std::vector<std::string>{"c 1"}) << std::hex << op;
    }
}

TEST(SlideRecords, TruncatedWordsReadAsEndOfFile) {
    SlideWriter w;
    w.color(1).end(false);
    std::vector<unsigned char> bytes = w.bytes();
    bytes.push_back(0x05); // half a word
    EXPECT_EQ(records(bytes), std::vector<std::string>{"c 1"});
    // A vector cut after its first word gets 0xFCFC (-772) for the words that are missing.
    SlideWriter v;
    v.word(7).end(false);
    EXPECT_EQ(records(v.bytes()), std::vector<std::string>{"v 7,-772 -772,-772"});
}

} // namespace
