#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qor/slide/slide_reader_p.h"
#include "slide_writer.h"

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

TEST(SlideRecords, RelativeRecordsFillsAndStops) {
    using W = SlideWriter;
    const std::vector<SlideVertex> tri{{0, 0}, {10, 0}, {10, 10}};
    const struct {
        const char* what;
        W slide;
        std::vector<std::string> expected;
    } rows[] = {
        {"a common-endpoint chain starts at the from point of the vector",
         W().vector(50, 50, 0, 0).commonEndpoint(10, 0).commonEndpoint(0, 10).commonEndpoint(-10, -10),
         {"v 50,50 0,0", "v 50,50 60,50", "v 60,50 60,60", "v 60,60 50,50"}},
        {"offset vectors are relative to the point before the record",
         W().vector(20, 30, 0, 0).offsetVector(1, 2, 10, 20).offsetVector(1, 2, 10, 20).commonEndpoint(1, 1),
         {"v 20,30 0,0", "v 21,32 30,50", "v 22,34 31,52", "v 22,34 23,35"}},
        {"offsets wrap modulo 16 bits",
         W().vector(32767, -32768, 0, 0).commonEndpoint(1, -1),
         {"v 32767,-32768 0,0", "v 32767,-32768 -32768,32767"}},
        {"a fill ends early at the negative y of its closing record, not taken as a vertex",
         W().fill(tri, 5).color(3),
         {"f 0,0 10,0 10,10 0,0", "c 3"}},
        {"without its closing record, a fill takes the next three words as that record",
         W().fill(tri, -1, false).color(9).color(9).color(9).color(3),
         {"f 0,0 10,0 10,10 0,0", "c 3"}},
        {"past the end every word reads 0xFCFC, whose negative y ends the polygon",
         W().fill({{0, 0}, {7, 0}}, 32767, false).end(false),
         {"f 0,0 7,0 0,0"}},
        {"end record", W().color(1).word(0xFC00).color(2), {"c 1"}},
        {"unknown opcode 0x8000", W().color(1).word(0x8000).color(2), {"c 1"}},
        {"unknown opcode 0xFA12", W().color(1).word(0xFA12).color(2), {"c 1"}},
        {"unknown opcode 0xFD01", W().color(1).word(0xFD01).color(2), {"c 1"}},
        {"a vector cut after its first word reads 0xFCFC (-772) for the missing words",
         W().word(7).end(false),
         {"v 7,-772 -772,-772"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(records(row.slide.bytes()), row.expected) << row.what;
}

TEST(SlideRecords, HalfAWordReadsAsEndOfFile) {
    std::vector<unsigned char> bytes = SlideWriter().color(1).end(false).bytes();
    bytes.push_back(0x05);
    EXPECT_EQ(records(bytes), std::vector<std::string>{"c 1"});
}

} // namespace
