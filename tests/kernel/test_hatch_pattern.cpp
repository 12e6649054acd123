#include "qor/kernel/data/hatch_pattern.h"

#include <gtest/gtest.h>

#include <string>

#include "qor/kernel/data/file_find.h"
#include "qor/kernel/host/pattern_source.h"
#include "qor/kernel/locale/units.h"

namespace {

CQorString dataPath(const char* relative) {
    return CQorString::fromUtf8(std::string(QOR_TEST_DATA_DIR) + "/" + relative);
}

CQorString bundledPath() {
    return QOR::resourceDir() + L"/patterns/qor.pat";
}

CQorArrayTempl<double> row(std::initializer_list<double> values) {
    return CQorArrayTempl<double>(values);
}

} // namespace

TEST(PatternFile, BundledLibraryHoldsTheCommonNames) {
    CQorPatternFile file;
    ASSERT_TRUE(file.read(bundledPath()));
    EXPECT_EQ(file.messages().len(), 0) << file.messages()[0].toUtf8();
    EXPECT_EQ(file.unit(), Qor::kUnitMillimeter);
    for (const wchar_t* name :
         {L"ANSI31", L"ANSI32", L"ANSI33", L"ANSI34", L"ANSI35", L"ANSI36", L"ANSI37", L"ANSI38",
          L"DOTS",   L"GRAVEL", L"NET",    L"NET3",   L"BRICK",  L"HEX",    L"HONEY",  L"SQUARE",
          L"CROSS",  L"ZIGZAG", L"EARTH",  L"STEEL",  L"INSUL",  L"LINE"}) {
        CQorPatternDef def;
        EXPECT_TRUE(file.get(name, def)) << CQorString(name).toUtf8();
        EXPECT_GT(def.len(), 0) << CQorString(name).toUtf8();
        for (const auto& line : def) {
            EXPECT_GE(line.len(), 5);
            EXPECT_GT(line[4], 0.0) << "every bundled line family must repeat across the region";
        }
    }
    CQorPatternDef ansi31;
    ASSERT_TRUE(file.get(L"ansi31", ansi31));
    ASSERT_EQ(ansi31.len(), 1);
    EXPECT_EQ(ansi31[0], row({45, 0, 0, 0, 3.175}));
}

TEST(PatternFile, BrokenFileSkipsOnlyTheBadPatterns) {
    CQorPatternFile file;
    const CQorString path = dataPath("pattern/malformed/bad_lines.pat");
    ASSERT_TRUE(file.read(path));
    ASSERT_EQ(file.len(), 3);
    EXPECT_EQ(file.nameAt(0), L"GOOD1");
    EXPECT_EQ(file.nameAt(1), L"GOOD2");
    EXPECT_EQ(file.nameAt(2), L"GOOD3");
    EXPECT_EQ(file.descriptionAt(1), L"Second good pattern, with a comma in its description");

    CQorPatternDef def;
    ASSERT_TRUE(file.get(L"Good1", def));
    EXPECT_EQ(def.len(), 1) << "the second GOOD1 must not replace the first";
    ASSERT_TRUE(file.get(L"GOOD2", def));
    ASSERT_EQ(def.len(), 2);
    EXPECT_EQ(def[0], row({0, 0, 0, .0625, .125, .25, -.125}));
    ASSERT_TRUE(file.get(L"good3", def));
    EXPECT_EQ(def[0], row({0, 0, 0, 0, 1, 0, -1}));
    EXPECT_FALSE(file.get(L"BAD_NUMBER", def));
    EXPECT_EQ(def.len(), 0);

    // One message per skipped pattern (and for the stray line), each naming the file and the line.
    const auto& messages = file.messages();
    ASSERT_EQ(messages.len(), 6);
    const int lines[] = {3, 9, 17, 19, 23, 27};
    for (int i = 0; i < messages.len(); ++i) {
        CQorString prefix;
        prefix.format(L"%s:%d: ", path.c_str(), lines[i]);
        EXPECT_EQ(messages[i].left(prefix.len()), prefix) << messages[i].toUtf8();
    }
    EXPECT_GE(messages[1].find(L"BAD_NUMBER"), 0);
}

TEST(PatternFile, AcceptsTheWritingOfBothLibraries) {
    CQorPatternFile file;
    // Leading points, explicit signs and exponents, CR LF and lone CR line ends, a byte-order mark, tabs,
    // blank lines inside, no line end after the last line.
    ASSERT_TRUE(
        file.parse("\xEF\xBB\xBF*A,x\r\n\t45 ,\t.5,-.5, +1., 2e-1\r\n\r\n*b\r0,0,0,0,1,-.25", L"lib.pat"));
    EXPECT_EQ(file.messages().len(), 0);
    CQorPatternDef def;
    ASSERT_TRUE(file.get(L"a", def));
    EXPECT_EQ(def[0], row({45, .5, -.5, 1, .2}));
    ASSERT_TRUE(file.get(L"B", def));
    EXPECT_EQ(def[0], row({0, 0, 0, 0, 1, -.25}));
    EXPECT_EQ(file.unit(), Qor::kUnitNone);

    // A trailing comma is tolerated; an empty field inside, "inf" and "nan" are not.
    ASSERT_TRUE(file.parse("*T\n0,0,0,0,1,\n*E\n0,0,,0,1\n*I\n0,0,0,0,inf\n*N\n0,0,0,nan,1\n", L"x.pat"));
    EXPECT_TRUE(file.contains(L"T"));
    EXPECT_EQ(file.len(), 1);
    EXPECT_EQ(file.messages().len(), 3);
}

TEST(PatternFile, NamesRunToTheFirstCommaAndMayHoldBlanks) {
    CQorPatternFile file;
    ASSERT_TRUE(file.parse("*5x16 Staggered, Block 5 x 16\n0,0,0,0,16\n"
                           "*5x16 Stacked\n90,0,0,0,5\n"
                           "*\t Wide  Gap \t,\n0,0,0,0,1\n",
                           L"cad.pat"));
    EXPECT_EQ(file.messages().len(), 0);
    ASSERT_EQ(file.len(), 3);
    EXPECT_EQ(file.nameAt(0), CQorString(L"5X16 STAGGERED"));
    EXPECT_EQ(file.descriptionAt(0), CQorString(L"Block 5 x 16"));
    EXPECT_EQ(file.nameAt(1), CQorString(L"5X16 STACKED"));
    EXPECT_EQ(file.nameAt(2), CQorString(L"WIDE  GAP"));
    CQorPatternDef def;
    ASSERT_TRUE(file.get(L"5x16 stacked", def));
    EXPECT_EQ(def[0], row({90, 0, 0, 0, 5}));
    EXPECT_FALSE(file.contains(L"5X16"));
}

TEST(PatternFile, UnitComesFromTheDeclarationOrTheMetricName) {
    CQorPatternFile file;
    ASSERT_TRUE(file.parse(";%UNITS=INCH\n*A\n0,0,0,0,1\n", L"/x/acadiso.pat"));
    EXPECT_EQ(file.unit(), Qor::kUnitInch) << "a declaration wins over the name";
    ASSERT_TRUE(file.parse("*A\n0,0,0,0,1\n", L"C:\\Support\\acadiso.pat"));
    EXPECT_EQ(file.unit(), Qor::kUnitMillimeter);
    ASSERT_TRUE(file.parse("*A\n0,0,0,0,1\n", L"/iso/acad.pat"));
    EXPECT_EQ(file.unit(), Qor::kUnitNone) << "only the file's own name counts";
    ASSERT_TRUE(file.parse("; %units = mm\n", L"plain.pat"));
    EXPECT_EQ(file.unit(), Qor::kUnitMillimeter);
}

TEST(PatternFile, UnknownNamesAndBadArgumentsGiveEmptyDefinitions) {
    CQorPatternFile file;
    CQorPatternDef def{row({1, 2, 3})};
    EXPECT_FALSE(file.get(L"ANSI31", def));
    EXPECT_EQ(def.len(), 0);
    EXPECT_FALSE(file.get(nullptr, def));
    EXPECT_FALSE(file.read(nullptr));
    EXPECT_FALSE(file.read(dataPath("pattern/does_not_exist.pat")));
    EXPECT_FALSE(file.read(dataPath("pattern"))) << "a folder is not a file";
    EXPECT_EQ(file.nameAt(-1), L"");
    EXPECT_EQ(file.nameAt(5), L"");
}

TEST(PatternFile, MessagesOfAGarbageFileAreCapped) {
    std::string text = "*P\n";
    for (int i = 0; i < 5000; ++i)
        text += "*\nx\n";
    CQorPatternFile file;
    ASSERT_TRUE(file.parse(text, L"junk.pat"));
    EXPECT_EQ(file.len(), 1) << "P has no lines, which is valid";
    EXPECT_LE(file.messages().len(), 100);
}

TEST(PatternSource, FindsBundledPatternsInTheDrawingUnit) {
    CQorPatternDef def;
    ASSERT_TRUE(QOR::patternFind(L"Ansi31", def));
    ASSERT_EQ(def.len(), 1);
    EXPECT_DOUBLE_EQ(def[0][4], QOR::acadUnitCv(3.175, Qor::kUnitMillimeter, Qor::kUnitCurrent));
    EXPECT_FALSE(QOR::patternFind(L"NO_SUCH_PATTERN", def));
    EXPECT_EQ(def.len(), 0);
    EXPECT_FALSE(QOR::patternFind(L"", def));
    EXPECT_FALSE(QOR::patternFind(nullptr, def));
    EXPECT_FALSE(QOR::patternFind(L"../patterns/qor", def)) << "names are not paths";
}

TEST(PatternSource, ConvertsLengthsButNotAngles) {
    CQorPatternDef def{row({45, 1, 2, 3, 4, -0.5})};
    QOR::patternConvert(def, Qor::kUnitInch, Qor::kUnitMillimeter);
    const double expected[] = {45, 25.4, 50.8, 76.2, 101.6, -12.7};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(def[0][i], expected[i]);
    QOR::patternConvert(def, Qor::kUnitNone, Qor::kUnitMillimeter);
    EXPECT_EQ(def[0][1], 25.4) << "a file without a unit is taken as it stands";
}
