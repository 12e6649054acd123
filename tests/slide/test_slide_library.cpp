#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qor/slide/slide.h"
#include "qor/slide/slide_library.h"
#include "qor/slide/slide_library_p.h"
#include "slide_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::span<const unsigned char> find(const Bytes& library, const std::string& name) {
    std::span<const unsigned char> slide;
    if (!QOR::detail::findSlideInLibrary(library, name, slide)) return {};
    return slide;
}

Bytes bytesOf(std::span<const unsigned char> s) {
    return Bytes(s.begin(), s.end());
}

class SlideLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        first = SlideWriter(10, 10).vector(0, 0, 10, 10).bytes();
        second = SlideWriter(20, 20).color(3).bytes();
        last = SlideWriter(30, 30, 1).fill({{0, 0}, {5, 0}, {0, 5}}).bytes();
        library = slideLibrary({{"FIRST", first}, {"Zweite\xC4", second}, {"LAST", last}});
    }
    Bytes first, second, last, library;
};

TEST_F(SlideLibrary, FindsEachSlideBetweenItsOffsetAndTheNext) {
    EXPECT_EQ(bytesOf(find(library, "FIRST")), first);
    EXPECT_EQ(bytesOf(find(library, "Zweite\xC4")), second);
    EXPECT_EQ(bytesOf(find(library, "LAST")), last); // the last one reads to the end of the file
    EXPECT_TRUE(find(library, "MISSING").empty());
    EXPECT_TRUE(find(library, "").empty());
}

TEST_F(SlideLibrary, IgnoresLetterCaseInCodePage1252) {
    EXPECT_EQ(bytesOf(find(library, "first")), first);
    EXPECT_EQ(bytesOf(find(library, "ZWEITE\xE4")), second); // a-umlaut against A-umlaut
    EXPECT_TRUE(find(library, "zweite").empty());
    EXPECT_TRUE(QOR::detail::equalNoCase1252("\x8A\x9C", "\x9A\x8C"));
    EXPECT_FALSE(QOR::detail::equalNoCase1252("\xD7", "\xF7")); // multiplication and division signs
}

TEST(SlideLibraryNames, NamesOf32BytesOrMoreAreNotFound) {
    const Bytes slide = SlideWriter().bytes();
    const std::string name31(31, 'A'), name32(32, 'B');
    const Bytes library = slideLibrary({{name31, slide}, {name32, slide}});
    EXPECT_EQ(bytesOf(find(library, name31)), slide);
    EXPECT_TRUE(find(library, name32).empty());
    EXPECT_TRUE(find(library, name32 + "B").empty());
    const auto entries = QOR::detail::readSlideLibraryDirectory(library);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, name32); // listed whole, though it cannot be looked up
}

TEST(SlideLibraryNames, ConvertsWideNamesToCodePage1252) {
    EXPECT_EQ(QOR::detail::toCodePage1252(L"Stra\u00DFe \u20AC\u0160\u4E00"), "Stra\xDF"
                                                                              "e \x80\x8A?");
    EXPECT_EQ(QOR::detail::toCodePage1252(nullptr), "");
}

TEST(SlideLibraryDirectory, EndsAtTheTerminatorOrTheEndOfTheBytes) {
    const Bytes slide = SlideWriter().bytes();
    Bytes library = slideLibrary({{"A", slide}, {"B", slide}});
    EXPECT_EQ(QOR::detail::readSlideLibraryDirectory(library).size(), 2u);
    // Cut inside the second entry: only the first is left, and it reads to the end.
    library.resize(32 + 36 + 20);
    const auto entries = QOR::detail::readSlideLibraryDirectory(library);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "A");
    EXPECT_TRUE(find(library, "A").empty()); // its offset lies past the end now
    EXPECT_TRUE(QOR::detail::readSlideLibraryDirectory(Bytes(31, 1)).empty());
}

TEST(SlideLibraryDirectory, OffsetsOutsideTheFileOrBackwardsFindNothing) {
    const Bytes slide = SlideWriter().bytes();
    Bytes library = slideLibrary({{"A", slide}, {"B", slide}});
    library[32 + 32 + 3] = 0x7F; // A's offset far past the end
    EXPECT_TRUE(find(library, "A").empty());
    library = slideLibrary({{"A", slide}, {"B", slide}});
    library[32 + 36 + 32] = 0; // B starts before A
    library[32 + 36 + 33] = 0;
    EXPECT_TRUE(find(library, "A").empty());
}

TEST(SlideLibraryFile, ShowReadsFromFilesAndLibraries) {
    const fs::path dir = fs::temp_directory_path() / "qor_slide_library_test";
    fs::create_directories(dir);
    const Bytes slide = SlideWriter(64, 32).vector(0, 0, 64, 32).bytes();
    const Bytes other = SlideWriter(8, 8).bytes();
    auto write = [&](const fs::path& p, const Bytes& b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    };
    write(dir / "one.sld", slide);
    write(dir / "lib.slb", slideLibrary({{"OTHER", other}, {"M\xDCHLE", slide}}));

    QOR::CSlide s;
    long w = 0, h = 0;
    EXPECT_FALSE(s.getSize(w, h));
    ASSERT_TRUE(s.show((dir / "one.sld").wstring().c_str()));
    ASSERT_TRUE(s.getSize(w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    ASSERT_TRUE(s.show(L"m\u00FChle", (dir / "lib.slb").wstring().c_str()));
    EXPECT_EQ(bytesOf(s.data()), slide);
    EXPECT_FALSE(s.show(L"NONE", (dir / "lib.slb").wstring().c_str()));
    EXPECT_FALSE(s.hasData()); // the old slide is gone too
    EXPECT_FALSE(s.show((dir / "missing.sld").wstring().c_str()));
    EXPECT_FALSE(s.show(nullptr));
    EXPECT_FALSE(s.show(nullptr, (dir / "lib.slb").wstring().c_str()));
    fs::remove_all(dir);
}

TEST(SlideLibraryFile, ListsTheNamesEveryLookupFinds) {
    const fs::path dir = fs::temp_directory_path() / "qor_slide_library_names";
    fs::create_directories(dir);
    const Bytes slide = SlideWriter(8, 8).bytes();
    const Bytes library =
        slideLibrary({{"EINS", slide}, {"M\xDC\x80", slide}, {std::string(32, 'L'), slide}});
    std::ofstream(dir / "lib.slb", std::ios::binary)
        .write(reinterpret_cast<const char*>(library.data()), std::streamsize(library.size()));
    const std::wstring path = (dir / "lib.slb").wstring();

    std::vector<std::wstring> names{L"stale"};
    ASSERT_TRUE(QOR::slideLibraryNames(path.c_str(), names));
    // Code page 1252 comes back as the characters it stands for; the 32-byte name is left out.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"EINS", L"M\u00DC\u20AC"}));
    QOR::CSlide s;
    for (const std::wstring& name : names)
        EXPECT_TRUE(s.show(name.c_str(), path.c_str()));

    EXPECT_FALSE(QOR::slideLibraryNames((dir / "missing.slb").wstring().c_str(), names));
    EXPECT_EQ(names.size(), 2u); // unchanged
    EXPECT_FALSE(QOR::slideLibraryNames(nullptr, names));
    std::ofstream(dir / "empty.slb", std::ios::binary) << "short";
    ASSERT_TRUE(QOR::slideLibraryNames((dir / "empty.slb").wstring().c_str(), names));
    EXPECT_TRUE(names.empty());
    fs::remove_all(dir);
}

} // namespace
