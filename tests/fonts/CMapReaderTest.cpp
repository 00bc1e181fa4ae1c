#include "fonts/CMapReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts/FontLimits.h"

namespace tessary {
namespace {

CodeMap Text(const std::string& program, std::uint32_t maxCode = 0xFFFFFFFF) {
    return ReadCMap(program, maxCode).unicode;
}

TEST(CMapReaderTest, TakesValuesAsBigEndianNumbers) {
    EXPECT_EQ(GetByteStringValue(""), 0u);
    EXPECT_EQ(GetByteStringValue(std::string("\x00\x66\x00\x69", 4)), 0x00660069u);
    EXPECT_EQ(GetByteStringValue("\x01\x02\x03\x04\x05"), 0x02030405u);  // the first pushed out
    EXPECT_EQ(GetByteStringValue("\xFF\xFF"), 0xFFFFu);
}

TEST(CMapReaderTest, DestinationsGiveAllTheirCharacters) {
    const CodeMap map = Text(
        "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
        "1 begincodespacerange <00> <FF> endcodespacerange\n"
        "6 beginbfchar <01> <0041> <02> <00660069> (A) <0061> <03> <D835DC00> <04> /fi\n"
        "<05> <41> <06> <DC00> endbfchar\n"
        "5 beginbfrange <20> <22> <0041>\n"
        "<10> <12> [ <0061> <00660069> ]\n"
        "<00FF> <0101> <00FE>\n"
        "<30> <31> <D835DCFF>\n"
        "<50> <4F> <0030> endbfrange\n"
        "1 begincidrange <60> <61> 5 endcidrange\n"
        "endcmap CMapName currentdict /CMap defineresource pop end end\n");
    // A surrogate pair is one character, a lone surrogate stays; a name is
    // its glyph; a bfrange adds to the last unit of its destination, across
    // byte boundaries. Nothing from the reversed range or the cidrange.
    EXPECT_EQ(map, (CodeMap{{0x01, U"A"},
                            {0x02, U"fi"},
                            {0x41, U"a"},
                            {0x03, U"\U0001D400"},
                            {0x04, U"\uFB01"},
                            {0x05, U"A"},
                            {0x06, std::u32string(1, 0xDC00)},
                            {0x20, U"A"},
                            {0x21, U"B"},
                            {0x22, U"C"},
                            {0x10, U"a"},
                            {0x11, U"fi"},
                            {0x12, U""},
                            {0xFF, U"\u00FE"},
                            {0x100, U"\u00FF"},
                            {0x101, U"\u0100"},
                            {0x30, U"\U0001D4FF"},
                            {0x31, U"\U0001D500"}}));
    // Later mappings replace earlier ones.
    EXPECT_EQ(Text("beginbfrange <00> <01> <0030> endbfrange beginbfchar <01> <0058> endbfchar"),
              (CodeMap{{0, U"0"}, {1, U"X"}}));
}

TEST(CMapReaderTest, CodespacesCidsAndUseCMap) {
    const CMap cmap = ReadCMap(
        "/CMapName /Other def /90ms-RKSJ-H usecmap\n"
        "5 begincodespacerange <00> <80> <8140> <9FFC> <0000> <00> <0102030405> <0102030405>\n"
        "<00000000> <01FFFFFF> endcodespacerange\n"
        "2 begincidrange <20> <7E> 1 <8100> <81FF> 9000 endcidrange\n"
        "2 begincidchar <41> 500 <2A> -1 endcidchar\n"
        "1 begincidrange <8140> <817E> 633 endcidrange\n",
        0);
    EXPECT_EQ(cmap.useCMap, "/90ms-RKSJ-H");
    // Bounds of unequal lengths, or longer than four bytes, are no range.
    std::vector<std::size_t> lengths;
    for (const CodespaceRange& range : cmap.codespace)
        lengths.push_back(range.length);
    EXPECT_EQ(lengths, (std::vector<std::size_t>{1, 2, 4}));
    EXPECT_TRUE(cmap.codespace[1].Matches("\x90\x40", 2));
    EXPECT_FALSE(cmap.codespace[1].Matches("\x90\x3F", 2));
    EXPECT_TRUE(cmap.codespace[1].Matches("\x90", 1));
    // A later range or char replaces what earlier ones said of its codes.
    std::vector<std::optional<std::uint32_t>> cids;
    for (std::uint32_t code : {0x20u, 0x40u, 0x41u, 0x42u, 0x7Eu, 0x7Fu, 0x2Au, 0x8100u, 0x813Fu,
                               0x8140u, 0x817Eu, 0x817Fu, 0x8200u})
        cids.push_back(cmap.cids.Find(code));
    EXPECT_EQ(cids,
              (std::vector<std::optional<std::uint32_t>>{1, 33, 500, 35, 95, std::nullopt, 11, 9000,
                                                         9063, 633, 695, 9127, std::nullopt}));
}

TEST(CMapReaderTest, MalformedDataKeepsWhatWasRead) {
    // A syntax failure ends the reading.
    EXPECT_EQ(Text("beginbfchar <01> <0041> endbfchar beginbfchar <02> <0042> [ >> ] "
                   "beginbfchar <03> <0043> endbfchar"),
              (CodeMap{{1, U"A"}, {2, U"B"}}));
    // A range whose destination is missing is not used.
    EXPECT_EQ(Text("beginbfrange <01> <01> <0041> <02> <03>"), (CodeMap{{1, U"A"}}));
    EXPECT_EQ(Text("beginbfchar <01>"), CodeMap{});
    // A section ends at its first source that is not a string.
    EXPECT_EQ(Text("beginbfchar <01> <0041> 5 <02> <0042> endbfchar"), (CodeMap{{1, U"A"}}));
    EXPECT_TRUE(ReadCMap("begincidrange <00> <01> /x <02> <03> 4 endcidrange", 0).cids.IsEmpty());
}

TEST(CMapReaderTest, LimitsEndTheReading) {
    // Ranges end at their high code without wrapping; codes above the largest
    // are skipped without counting.
    EXPECT_EQ(Text("beginbfrange <FFFFFFFF> <FFFFFFFF> <0041> endbfrange").size(), 1u);
    EXPECT_EQ(Text("beginbfrange <FFFE> <FFFFFFFF> <0041> endbfrange beginbfchar <00012345> "
                   "<0041> <01> <0042> endbfchar",
                   0xFFFF),
              (CodeMap{{0xFFFE, U"A"}, {0xFFFF, U"B"}, {1, U"B"}}));
    // Mappings: each code of a range counts.
    std::string program = "beginbfrange\n";
    for (std::uint32_t full = 0; full < kMaxCMapMappings / kCodeSpaceSize; ++full)
        program += "<0000> <FFFF> <0041>\n";
    CodeMap map =
        Text(program + "<0000> <0000> <0058> endbfrange beginbfchar <01> <0058> endbfchar");
    EXPECT_EQ(map.size(), kCodeSpaceSize);
    EXPECT_EQ(map.at(0), U"A");
    EXPECT_EQ(map.at(1), U"B");
    // Characters: a destination is read up to its bound, and a range copies it
    // until the characters of the CMap are used up.
    std::string destination;
    for (int unit = 0; unit < 300; ++unit)
        destination += "0041";
    map = Text("beginbfrange <0000> <FFFF> <" + destination + "> endbfrange");
    EXPECT_EQ(map.size(), kMaxCMapCharacters / (kMaxDestinationBytes / 2));
    EXPECT_EQ(map.at(0).size(), kMaxDestinationBytes / 2);
}

}  // namespace
}  // namespace tessary
