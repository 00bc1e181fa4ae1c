// The generated tables: complete, found by their lookups, and holding the rows
// that are easy to get wrong.
#include <gtest/gtest.h>

#include <string>

#include "fonts/AsciiSubstitute.h"
#include "fonts/BaseEncoding.h"
#include "fonts/GlyphList.h"
#include "fonts/StandardFontTable.h"

namespace tessary {
namespace {

TEST(GlyphListTest, FindsEveryNameAndGivesSpaceForOthers) {
    ASSERT_EQ(GlyphList.size(), 4281u);
    for (const GlyphListEntry& entry : GlyphList)
        ASSERT_EQ(LookupGlyphName(entry.name), entry.unicode) << entry.name;
    EXPECT_EQ(LookupGlyphName("quoteright"), 0x2019);
    EXPECT_EQ(LookupGlyphName("dalethatafpatah"), 0x05B2);  // 05D3 05B2: the last is kept
    for (std::string name :
         {"uni0041", "u1F600", "a1", "dollar.oldstyle", "/A", "Ab", "", "\xC3\x89", "AE\xFF"}) {
        EXPECT_EQ(LookupGlyphName(name), 0x0020) << name;
    }
    EXPECT_EQ(LookupGlyphName(std::string("A\0", 2)), 0x0020);
}

TEST(BaseEncodingTest, HoldsTheEasilyMissedRows) {
    using enum BaseEncoding;
    const std::vector<std::tuple<BaseEncoding, std::uint32_t, std::uint16_t>> rows = {
        {WinAnsi, 0x7F, 0x2022},   {WinAnsi, 0x81, 0x2022},   {WinAnsi, 0x8D, 0x2022},
        {WinAnsi, 0x8F, 0x2022},   {WinAnsi, 0x90, 0x2022},   {WinAnsi, 0x9D, 0x2022},
        {WinAnsi, 0x80, 0x20AC},   {WinAnsi, 0xA0, 0x0020},   {WinAnsi, 0xAD, 0x002D},
        {WinAnsi, 0x96, 0x2013},   {MacRoman, 0xCA, 0x0020},  {MacRoman, 0xDB, 0x00A4},
        {MacRoman, 0xC1, 0x00A1},  {Standard, 0x27, 0x2019},  {Standard, 0x60, 0x2018},
        {Standard, 0xC8, 0x00A8},  {Standard, 0xE9, 0x00D8},  {MacExpert, 0x21, 0xF721},
        {MacExpert, 0x30, 0xF730}, {MacExpert, 0xAF, 0xF6F0}, {MacExpert, 0xE6, 0xF6F3}};
    for (const auto& [encoding, code, unicode] : rows)
        EXPECT_EQ(GetBaseEncodingUnicode(encoding, code), unicode) << code;
    for (std::uint32_t code : {0x7F, 0xAD, 0xB0, 0xB2, 0xB3, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBD,
                               0xC3, 0xC5, 0xC6, 0xD7, 0xF0}) {
        EXPECT_EQ(GetBaseEncodingUnicode(MacRoman, code), 0) << code;
    }
    for (BaseEncoding encoding : {WinAnsi, MacRoman, MacExpert, Standard}) {
        for (std::uint32_t code : {0u, 31u, 256u, 0xFFFFFFFFu})
            EXPECT_EQ(GetBaseEncodingUnicode(encoding, code), 0) << code;
    }
    for (int encoding : {static_cast<int>(NoEncoding), 5, -1})
        EXPECT_EQ(GetBaseEncodingUnicode(static_cast<BaseEncoding>(encoding), 0x41), 0);
}

TEST(StandardFontTableTest, RowsAndWidths) {
    for (const auto* table : {&HelveticaMetrics, &HelveticaBoldMetrics, &TimesRomanMetrics,
                              &TimesBoldMetrics, &TimesItalicMetrics, &TimesBoldItalicMetrics}) {
        ASSERT_EQ(table->size(), 228u);
        for (std::size_t i = 0; i < table->size(); ++i) {
            EXPECT_EQ((*table)[i].unicode, HelveticaMetrics[i].unicode) << i;
            EXPECT_EQ(LookupCharWidth(*table, (*table)[i].unicode), (*table)[i].width) << i;
        }
    }
    auto width = [](const char* font, std::uint16_t unicode) {
        const int row = FindStandardFont(font);
        return row < 0 ? std::nullopt : LookupCharWidth(StandardFontTable[row].metrics, unicode);
    };
    EXPECT_EQ(width("/Helvetica", 0xD8), 778);
    EXPECT_EQ(width("/Helvetica-BoldOblique", 'm'), 889);
    EXPECT_EQ(width("/Times-Roman", 'a'), 444);
    EXPECT_EQ(width("/Times-Italic", 0x2014), 889);
    EXPECT_EQ(width("/Times-Bold", 'W'), 1000);
    EXPECT_EQ(width("/Times-BoldItalic", 'A'), 667);
    EXPECT_EQ(width("/Helvetica", 0xFFFF), std::nullopt);
    EXPECT_EQ(width("/Courier", 'A'), std::nullopt);
    for (const char* other : {"/ABCDEF+Helvetica", "Helvetica", "/Helvetica,Bold"})
        EXPECT_EQ(FindStandardFont(other), -1) << other;
    EXPECT_EQ(StandardFontTable[FindStandardFont("/Symbol")].baseEncoding, BaseEncoding::Standard);
}

TEST(AsciiSubstituteTest, HoldsTheRowsInOrderAndFindsThem) {
    ASSERT_EQ(AsciiSubstituteTable.size(), 168u);
    EXPECT_EQ(AsciiSubstituteTable.front().unicode, 0x00A0);
    EXPECT_EQ(AsciiSubstituteTable.back().unicode, 0xFB02);
    for (const AsciiSubstitute& row : AsciiSubstituteTable)
        EXPECT_EQ(GetAsciiSubstitute(row.unicode), row.text) << row.unicode;
    EXPECT_EQ(GetAsciiSubstitute(0x2014), "--");
    EXPECT_EQ(GetAsciiSubstitute(0x2216), "\\");
    EXPECT_EQ(GetAsciiSubstitute(0xF8EA), "(TM)");
    for (std::uint16_t unicode : {0x0000, 0x0041, 0x00AD, 0x0101, 0x4E00, 0xFFFF})
        EXPECT_EQ(GetAsciiSubstitute(unicode), std::nullopt) << unicode;
}

}  // namespace
}  // namespace tessary
