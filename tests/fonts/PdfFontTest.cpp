#include "fonts/PdfFont.h"

#include <gtest/gtest.h>

#include <vector>

#include "fonts/FontLimits.h"
#include "platform/FontMeasurer.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

// A direct stream (the memory-mode parser can't read streams).
ObjectHandle MakeStream(std::string data) {
    return MakeObject<PdfStream>(std::move(data));
}

// The font of a dictionary written as text, with `entry` set to a stream of
// `data` when one is given.
PdfFont LoadFont(std::string_view dictText, std::string_view data = {},
                 const char* entry = "/ToUnicode") {
    ObjectHandle dict = test::ParseObject(dictText);
    auto* dictionary = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
    if (!data.empty())
        dictionary->SetValue(entry, MakeStream(std::string(data)));
    PdfFont font;
    font.Load(dictionary);
    return font;
}

TEST(PdfFontEncoding, DecodesThroughBaseEncodingsAndDifferences) {
    // /g3 is not in the glyph list: a space, not the letter. Standard holds
    // U+00A8 at 200. Names before the first number go nowhere; -1 is no code,
    // but the count goes on from it. Without an encoding a code is Latin-1.
    // /StandardEncoding and values of other kinds leave the encoding as it was.
    using Codes = std::vector<std::pair<std::uint32_t, std::uint16_t>>;
    const std::vector<std::pair<std::string, Codes>> cases = {
        {"/Encoding << /BaseEncoding /WinAnsiEncoding /Differences [ 39 /quotesingle 96 /grave ] "
         ">>",
         {{39, 0x27}, {96, 0x60}, {150, 0x2013}}},
        {"/Encoding << /Differences [ 65 /g3 /B ] >>", {{65, 0x20}, {66, 0x42}}},
        {"/Encoding << /Differences [ 32 /space 200 /Eacute ] >> /BaseFont /Helvetica",
         {{200, 0xC9}, {0xE9, 0xD8}}},
        {"/Encoding << /Differences [ /A /B 70 /C ] >>", {{70, 0x43}, {0, 0}, {1, 1}}},
        {"/Encoding << /Differences [ -1 /A /B 65535 /C /D ] >>", {{0, 0x42}, {0xFFFF, 0x43}}},
        {"", {{0xE9, 0xE9}, {0x1234, 0x1234}}},
        {"/Encoding /WinAnsiEncoding", {{0x81, 0x2022}, {0x05, 0}, {0x141, 0}}},
        {"/Encoding /MacRomanEncoding", {{0xDB, 0xA4}}},
        {"/Encoding /MacExpertEncoding", {{0xDB, 0xB2}}},
        {"/Encoding /StandardEncoding", {{0xE9, 0xE9}}},
        {"/BaseFont /Courier /Encoding /Identity-H", {{0x27, 0x2019}}},
        {"/BaseFont /Courier /Encoding [ /WinAnsiEncoding ]", {{0x27, 0x2019}}},
        {"/BaseFont /Courier /Encoding 5", {{0x27, 0x2019}}},
    };
    for (const auto& [entries, codes] : cases) {
        PdfFont font = LoadFont("<< " + entries + " >>");
        for (const auto& [code, unicode] : codes)
            EXPECT_EQ(font.GetUnicode(code), unicode) << entries << " " << code;
    }
    EXPECT_EQ(LoadFont("<< /Encoding << /Differences [ 65535 /C /D ] >> >>").codeMap.size(),
              1u);  // 0x10000 is above every code
}

TEST(PdfFontEncoding, ToUnicodeStreamReplacesTheEncoding) {
    const char* cmap = "1 beginbfchar <41> <0057> endbfchar";
    PdfFont font = LoadFont("<< /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>", cmap);
    EXPECT_EQ(font.GetUnicode(0x41), 0x0057);
    EXPECT_EQ(font.GetUnicode(0x80), 0x0080);  // not U+20AC: /Encoding isn't read
    EXPECT_EQ(font.GetCharWidth(0x41, font.GetUnicode(0x41)), 944);  // Helvetica's "W"
    // A /ToUnicode that isn't a stream counts as absent.
    EXPECT_EQ(LoadFont("<< /Encoding /WinAnsiEncoding /ToUnicode /Identity-H >>").GetUnicode(0x80),
              0x20AC);
    // A CMap given as /Encoding adds to the base encoding.
    font = LoadFont("<< /BaseFont /Times-Roman >>", cmap, "/Encoding");
    EXPECT_EQ(font.GetUnicode(0x41), 0x0057);
    EXPECT_EQ(font.GetUnicode(0x27), 0x2019);
    // Shown strings are one code per byte.
    font = LoadFont("<< >>", "1 beginbfchar <0003> <0020> endbfchar");
    const std::string shown("\x00\x03\xFF", 3);
    std::vector<std::uint32_t> codes;
    std::size_t position = 0;
    for (std::uint32_t code = 0; font.NextCode(shown, position, code);)
        codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<std::uint32_t>{0x00, 0x03, 0xFF}));
    EXPECT_EQ(font.GetUnicode(3), 0x0020);
}

TEST(PdfFontWidths, StandardFontsUseBuiltInMetrics) {
    PdfFont helvetica = LoadFont("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    EXPECT_EQ(helvetica.GetCharWidth(65, helvetica.GetUnicode(65)), 667);
    EXPECT_EQ(helvetica.GetUnicode(0xE9), 0x00D8);
    EXPECT_EQ(helvetica.GetCharWidth(0xE9, 0x00D8), 778);
    EXPECT_EQ(helvetica.GetUnicode(0x80), 0);
    EXPECT_EQ(helvetica.GetCharWidth(0x80, 0), 278);       // no metrics pair: the default width
    EXPECT_EQ(helvetica.GetCharWidth(0x41, 0x0057), 944);  // the caller's character counts
    EXPECT_EQ(helvetica.spaceWidth, 278);
    EXPECT_EQ(helvetica.ascent, 718);
    EXPECT_EQ(helvetica.descent, 207);
    // A descriptor replaces the row's defaults, even with nothing in it.
    PdfFont courier = LoadFont("<< /BaseFont /Courier /FontDescriptor << /Ascent 600 >> >>");
    for (std::uint32_t code : {0x20u, 0x41u, 0xE9u, 0xFFFFu})
        EXPECT_EQ(courier.GetCharWidth(code, courier.GetUnicode(code)), 0) << code;
    EXPECT_EQ(courier.ascent, 600);
    // A subset's name is no standard font's.
    PdfFont subset = LoadFont("<< /Subtype /Type1 /BaseFont /ABCDEF+Helvetica >>");
    EXPECT_EQ(subset.baseEncoding, BaseEncoding::NoEncoding);
    EXPECT_EQ(subset.GetCharWidth(65, 65), 400);
    EXPECT_EQ(subset.ascent, 700);
    EXPECT_EQ(subset.descent, 200);
}

TEST(PdfFontWidths, WidthsArrayThenDefaults) {
    PdfFont font = LoadFont("<< /Subtype /Type1 /FirstChar 32 /Widths [ 250 333 ] >>");
    EXPECT_EQ(font.GetCharWidth(33, 33), 333);
    EXPECT_EQ(font.GetCharWidth(34, 34), 400);
    EXPECT_EQ(font.GetCharWidth(0x10020, 32), 250);  // codes are taken as 16 bits
    EXPECT_EQ(font.spaceWidth, 250);
    // No code decodes to a space: the width of U+0020 by the other rules.
    const std::string noSpace =
        " /FirstChar 32 /Widths [ 250 ] /Encoding << /Differences [ 32 /A ] >> >>";
    EXPECT_EQ(LoadFont("<< /BaseFont /Helvetica" + noSpace).spaceWidth, 278);
    EXPECT_EQ(LoadFont("<< /BaseFont /Times-Roman" + noSpace).spaceWidth, 250);
    EXPECT_EQ(LoadFont("<< /FontDescriptor << /MissingWidth 500 >>" + noSpace).spaceWidth, 500);
    EXPECT_EQ(LoadFont("<< /FontDescriptor << >>" + noSpace).spaceWidth, 400);
    // Values that can't be widths or distances don't wrap around 16 bits.
    font = LoadFont(
        "<< /FontDescriptor << /Ascent -700 /Descent 212 /MissingWidth -5 >> /Widths [ -1 70000 ] "
        ">>");
    EXPECT_EQ(font.ascent, 700);
    EXPECT_EQ(font.descent, 212);
    EXPECT_EQ(font.GetCharWidth(0, 0), 0);
    EXPECT_EQ(font.GetCharWidth(1, 1), 65535);
    EXPECT_EQ(font.GetCharWidth(2, 2), 400);
    // A descriptor that gives no height at all: the font's box does.
    font = LoadFont(
        "<< /FontDescriptor << /Ascent 0 /Descent 0 /FontBBox [ -543 -303 1277 981 ] >> >>");
    EXPECT_EQ(font.ascent, 981);
    EXPECT_EQ(font.descent, 303);
    // Entries past the last code are dropped.
    font = LoadFont("<< /FirstChar 65534 /Widths [ 1 2 3 ] >>");
    ASSERT_EQ(font.widths.size(), kCodeSpaceSize - 65534);
    EXPECT_EQ(font.GetCharWidth(0xFFFF, 0), 2);
    EXPECT_EQ(font.GetCharWidth(0, 0), 400);
}

// Measures every request as code + 1000 wide, ascent 905, descent 212.
class MeasuredFontTest : public ::testing::Test, public FontMeasurer {
  protected:
    void SetUp() override { previous = SetFontMeasurer(this); }
    void TearDown() override { SetFontMeasurer(previous); }
    FontMetrics Measure(const FontRequest& request) override {
        requests.push_back(request);
        FontMetrics metrics;
        for (std::size_t code = 0; code < metrics.widths.size(); ++code)
            metrics.widths[code] = static_cast<std::uint16_t>(1000 + code);
        metrics.ascent = 905;
        metrics.descent = 212;
        metrics.measured = true;
        return metrics;
    }
    std::vector<FontRequest> requests;
    FontMeasurer* previous = nullptr;
};

TEST_F(MeasuredFontTest, TrueTypeWithoutDescriptorMeasuresItsFamilyAndStyle) {
    const std::vector<std::pair<const char*, FontRequest>> cases = {
        {"/Arial,Bold", {"Arial", true, false}},
        {"/Arial,Italic", {"Arial", false, true}},
        {"/Times#20New#20Roman,BoldItalic", {"Times New Roman", true, true}},
        {"/Arial", {"Arial", false, false}},
        {"/Arial,Oblique", {"Arial", false, false}},
        {"/Arial,Bold,Italic", {"Arial", false, false}},
    };
    for (const auto& [baseFont, request] : cases) {
        requests.clear();
        PdfFont font = LoadFont(std::string("<< /Subtype /TrueType /BaseFont ") + baseFont + " >>");
        EXPECT_EQ(requests, std::vector<FontRequest>{request}) << baseFont;
        EXPECT_EQ(font.GetCharWidth('A', 'A'), 1000 + 'A');
        EXPECT_EQ(font.spaceWidth, 1032);
        EXPECT_EQ(font.ascent, 905);
        EXPECT_EQ(font.descent, 212);
    }
    // With a descriptor, or another subtype, nothing is measured.
    requests.clear();
    LoadFont("<< /Subtype /TrueType /BaseFont /Arial /FontDescriptor << >> >>");
    LoadFont("<< /Subtype /Type1 /BaseFont /Arial >>");
    EXPECT_TRUE(requests.empty());
}

TEST_F(MeasuredFontTest, WidthsArrayCoversItsCodesAndMeasuredWidthsTheRest) {
    PdfFont font =
        LoadFont("<< /Subtype /TrueType /BaseFont /Arial /FirstChar 65 /Widths [ 700 ] >>");
    EXPECT_EQ(font.GetCharWidth(65, 65), 700);
    EXPECT_EQ(font.GetCharWidth(66, 66), 1066);
    EXPECT_EQ(font.GetCharWidth(0, 0), 1000);
    font = LoadFont("<< /Subtype /TrueType /BaseFont /Arial /FirstChar 300 /Widths [ 900 ] >>");
    EXPECT_EQ(font.GetCharWidth(66, 66), 1066);
    EXPECT_EQ(font.GetCharWidth(280, 280), 400);
    EXPECT_EQ(font.GetCharWidth(300, 300), 900);
    EXPECT_EQ(font.GetCharWidth(301, 301), 400);
}

}  // namespace
}  // namespace tessary
