#include "fonts/CMapReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonts/FontLimits.h"

namespace tessary {
namespace {

CodeMap Read(const std::string& program) {
    CodeMap map;
    ReadCMap(program, map);
    return map;
}

TEST(CMapReaderTest, TakesValuesAsBigEndianNumbers) {
    EXPECT_EQ(GetByteStringValue(""), 0u);
    EXPECT_EQ(GetByteStringValue(std::string("\x00\x66\x00\x69", 4)), 0x00660069u);
    EXPECT_EQ(GetByteStringValue("\x01\x02\x03\x04\x05"), 0x02030405u);  // the first pushed out
    EXPECT_EQ(GetByteStringValue("\xFF\xFF"), 0xFFFFu);
}

TEST(CMapReaderTest, ReadsCharAndRangeSections) {
    const CodeMap map = Read(
        "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
        "1 begincodespacerange <00> <FF> endcodespacerange\n"
        "3 beginbfchar <01> <0041> <02> <00660069> (A) <0061> endbfchar\n"
        "4 beginbfrange <20> <22> <0041>\n"
        "<10> <12> [ <0061> <0062> ]\n"
        "<00FF> <0101> <00FE>\n"
        "<50> <4F> <0030> endbfrange\n"
        "1 begincidrange <60> <61> 5 endcidrange\n"
        "endcmap CMapName currentdict /CMap defineresource pop end end\n");
    // Nothing from the reversed range or the cidrange.
    EXPECT_EQ(map, (CodeMap{{0x01, 0x0041},
                            {0x02, 0x00660069},
                            {0x41, 0x0061},
                            {0x20, 0x0041},
                            {0x21, 0x0042},
                            {0x22, 0x0043},
                            {0x10, 0x0061},
                            {0x11, 0x0062},
                            {0x12, 0},
                            {0xFF, 0x00FE},
                            {0x100, 0x00FF},
                            {0x101, 0x0100}}));
    // Later mappings replace earlier ones.
    EXPECT_EQ(Read("beginbfrange <00> <01> <0030> endbfrange beginbfchar <01> <0058> endbfchar"),
              (CodeMap{{0, 0x30}, {1, 0x58}}));
}

TEST(CMapReaderTest, MalformedDataKeepsWhatWasRead) {
    // A syntax failure ends the reading.
    EXPECT_EQ(Read("beginbfchar <01> <0041> endbfchar beginbfchar <02> <0042> [ >> ] "
                   "beginbfchar <03> <0043> endbfchar"),
              (CodeMap{{1, 0x41}, {2, 0x42}}));
    // A range whose destination is missing is not used.
    EXPECT_EQ(Read("beginbfrange <01> <01> <0041> <02> <03>"), (CodeMap{{1, 0x41}}));
    EXPECT_EQ(Read("beginbfchar <01>"), CodeMap{});
    // A section ends at its first source that is not a string.
    EXPECT_EQ(Read("beginbfchar <01> <0041> 5 <02> <0042> endbfchar"), (CodeMap{{1, 0x41}}));
}

TEST(CMapReaderTest, CodesBeyondTheCodeSpaceEndWithoutWrapping) {
    EXPECT_EQ(Read("beginbfrange <FFFFFFFF> <FFFFFFFF> <0041> <FFFE> <FFFFFFFF> <0041> "
                   "<00010000> <00010005> <0041> endbfrange beginbfchar <00012345> <0041> "
                   "endbfchar"),
              (CodeMap{{0xFFFE, 0x41}, {0xFFFF, 0x42}}));
}

TEST(CMapReaderTest, StopsAfterTheMappingLimit) {
    std::string program = "beginbfrange\n";
    for (std::uint32_t full = 0; full < kMaxCMapMappings / kCodeSpaceSize; ++full)
        program += "<0000> <FFFF> <0041>\n";
    const CodeMap map =
        Read(program + "<0000> <0000> <0058> endbfrange beginbfchar <01> <0058> endbfchar");
    EXPECT_EQ(map.size(), kCodeSpaceSize);
    EXPECT_EQ(map.at(0), 0x41u);
    EXPECT_EQ(map.at(1), 0x42u);
}

}  // namespace
}  // namespace tessary
