#include "fonts/PdfFont.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fonts/CMapResources.h"
#include "platform/FontMeasurer.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

// The font of a dictionary written as text. Each entry of `streams` is set,
// at the path of dictionary keys it names ("/FontDescriptor/FontFile"), to a
// direct stream of its data (the memory-mode parser can't read streams).
std::unique_ptr<PdfFont> Font(std::string_view dictText,
                              const std::map<std::string, std::string>& streams = {}) {
    ObjectHandle dict = test::ParseObject(dictText);
    for (const auto& [path, data] : streams) {
        auto* target = const_cast<PdfDictionary*>(AsDictionary(dict.get()));
        std::string_view key = path;
        for (std::size_t slash; (slash = key.find('/', 1)) != std::string_view::npos;
             key.remove_prefix(slash)) {
            target = const_cast<PdfDictionary*>(
                AsDictionary(ResolveBorrowed(target->PeekValue(key.substr(0, slash)))));
        }
        target->SetValue(key, MakeObject<PdfStream>(std::string(data)));
    }
    return LoadFont(AsDictionary(dict.get()));
}

std::u32string Text(const std::unique_ptr<PdfFont>& font, std::uint32_t code) {
    return std::u32string(font->GetText(code));
}

// The widths of the codes, then the space width, ascent and descent when `all`.
std::vector<int> Metrics(const std::unique_ptr<PdfFont>& font,
                         std::initializer_list<std::uint32_t> codes, bool all = true) {
    std::vector<int> metrics;
    for (std::uint32_t code : codes)
        metrics.push_back(font->GetWidth(code));
    if (all)
        metrics.insert(metrics.end(), {font->spaceWidth, font->ascent, font->descent});
    return metrics;
}

std::vector<std::uint32_t> Codes(const PdfFont& font, std::string_view shown) {
    std::vector<std::uint32_t> codes;
    std::size_t position = 0;
    for (std::uint32_t code = 0; font.NextCode(shown, position, code);)
        codes.push_back(code);
    return codes;
}

TEST(SimpleFontTest, DecodesThroughBaseEncodingsAndDifferences) {
    // /g3 is not in the glyph list: a space, not the letter. Standard holds
    // U+00A8 at 200. Names before the first number go nowhere; -1 is no code,
    // but the count goes on from it. Without an encoding a code is Latin-1.
    // /StandardEncoding and values of other kinds leave the encoding as it was.
    using Codes = std::vector<std::pair<std::uint32_t, std::u32string>>;
    const std::vector<std::pair<std::string, Codes>> cases = {
        {"/Encoding << /BaseEncoding /WinAnsiEncoding /Differences [ 39 /quotesingle 96 /grave ] "
         ">>",
         {{39, U"'"}, {96, U"`"}, {150, U"\u2013"}}},
        {"/Encoding << /Differences [ 65 /g3 /B ] >>", {{65, U" "}, {66, U"B"}}},
        {"/Encoding << /Differences [ 32 /space 200 /Eacute ] >> /BaseFont /Helvetica",
         {{200, U"\u00C9"}, {0xE9, U"\u00D8"}}},
        {"/Encoding << /Differences [ /A /B 70 /C ] >>", {{70, U"C"}, {0, U""}, {1, U"\1"}}},
        {"/Encoding << /Differences [ -1 /A /B ] >>", {{0, U"B"}}},
        {"", {{0xE9, U"\u00E9"}, {0x1234, U""}}},  // codes are bytes
        {"/Encoding /WinAnsiEncoding", {{0x81, U"\u2022"}, {0x05, U""}}},
        {"/Encoding /MacRomanEncoding", {{0xDB, U"\u00A4"}}},
        {"/Encoding /MacExpertEncoding", {{0xDB, U"\u00B2"}}},
        {"/Encoding /StandardEncoding", {{0xE9, U"\u00E9"}}},
        {"/BaseFont /Courier /Encoding /Identity-H", {{0x27, U"\u2019"}}},
        {"/BaseFont /Courier /Encoding [ /WinAnsiEncoding ]", {{0x27, U"\u2019"}}},
        {"/BaseFont /Courier /Encoding 5", {{0x27, U"\u2019"}}},
    };
    for (const auto& [entries, codes] : cases) {
        auto font = Font("<< " + entries + " >>");
        for (const auto& [code, text] : codes)
            EXPECT_EQ(Text(font, code), text) << entries << " " << code;
    }
}

TEST(SimpleFontTest, ToUnicodeStreamReplacesTheEncoding) {
    const std::string cmap = "2 beginbfchar <41> <0057> <42> <00660069> endbfchar";
    auto font =
        Font("<< /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>", {{"/ToUnicode", cmap}});
    EXPECT_EQ(Text(font, 0x41), U"W");
    EXPECT_EQ(Text(font, 0x42), U"fi");
    EXPECT_EQ(Text(font, 0x80), U"\u0080");  // not U+20AC: /Encoding isn't read
    EXPECT_EQ(font->GetWidth(0x41), 944);    // Helvetica's "W"
    // A /ToUnicode that isn't a stream counts as absent.
    EXPECT_EQ(Text(Font("<< /Encoding /WinAnsiEncoding /ToUnicode /Identity-H >>"), 0x80),
              U"\u20AC");
    // A CMap given as /Encoding adds to the base encoding.
    font = Font("<< /BaseFont /Times-Roman >>", {{"/Encoding", cmap}});
    EXPECT_EQ(Text(font, 0x41), U"W");
    EXPECT_EQ(Text(font, 0x27), U"\u2019");
    // Shown strings are one code per byte.
    font = Font("<< >>", {{"/ToUnicode", "1 beginbfchar <0003> <0020> endbfchar"}});
    EXPECT_EQ(Codes(*font, std::string("\x00\x03\xFF", 3)),
              (std::vector<std::uint32_t>{0x00, 0x03, 0xFF}));
    EXPECT_EQ(Text(font, 3), U" ");
}

// Programs of tools/make_test_fonts.py.
std::string FontProgram(const std::string& name) {
    return test::ReadFileBytes(std::string(TESSARY_FONT_PROGRAMS_DIR) + "/" + name);
}

TEST(SimpleFontTest, BuiltInEncodingOfAnEmbeddedProgram) {
    // Euro at 65, f_i at 66, uni00E9 at 67, g3 at 68.
    const std::string type1 = FontProgram("type1.pfa");
    const std::string descriptor = " /FontDescriptor << /Flags 32 >> >>";
    auto font = Font("<< /Subtype /Type1" + descriptor, {{"/FontDescriptor/FontFile", type1}});
    // Names the glyph list doesn't know leave the code as it was.
    EXPECT_EQ(Text(font, 65) + Text(font, 66) + Text(font, 67) + Text(font, 68) + Text(font, 69),
              U"\u20AC"
              U"fi\u00E9DE");
    font = Font("<< /Encoding << /Differences [ 66 /B ] >>" + descriptor,
                {{"/FontDescriptor/FontFile", type1}});
    EXPECT_EQ(Text(font, 65) + Text(font, 66),
              U"\u20AC"
              U"B");
    // A base encoding or a ToUnicode map answers every code; a program that
    // FreeType refuses counts as absent.
    for (const auto& [entries, program] : std::vector<std::pair<std::string, std::string>>{
             {"/Encoding /WinAnsiEncoding", type1}, {"", type1.substr(0, 200)}}) {
        font = Font("<< " + entries + descriptor, {{"/FontDescriptor/FontFile", program}});
        EXPECT_EQ(Text(font, 65), U"A") << entries;
    }
    font = Font("<<" + descriptor, {{"/FontDescriptor/FontFile", type1},
                                    {"/ToUnicode", "beginbfchar <42> <0042> endbfchar"}});
    EXPECT_EQ(Text(font, 65), U"A");
    // A symbolic TrueType program: its (3,0) map (Euro at 0xF041), else its
    // (1,0) map (Euro at 0x41), and the names of its post table; a TrueType
    // program that isn't symbolic is not read.
    for (const char* name : {"symbol-3-0.ttf", "mac-1-0.ttf"}) {
        for (int flags : {4, 32}) {
            font = Font("<< /Subtype /TrueType /FontDescriptor << /Flags " + std::to_string(flags) +
                            " >> >>",
                        {{"/FontDescriptor/FontFile2", FontProgram(name)}});
            EXPECT_EQ(Text(font, 65), flags == 4 ? U"\u20AC" : U"A") << name << flags;
        }
    }
}

TEST(SimpleFontTest, StandardFontsUseBuiltInMetrics) {
    // 0xE9 is U+00D8 in the standard encoding; 0x80 has no text and no
    // metrics pair: the default width.
    auto helvetica = Font("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    EXPECT_EQ(Text(helvetica, 0x80), U"");
    EXPECT_EQ(Metrics(helvetica, {65, 0xE9, 0x80}),
              (std::vector<int>{667, 778, 278, 278, 718, 207}));
    // A descriptor replaces the row's defaults, even with nothing in it.
    auto courier = Font("<< /BaseFont /Courier /FontDescriptor << /Ascent 600 >> >>");
    EXPECT_EQ(Metrics(courier, {0x20, 0x41, 0xE9, 0xFFFF}, false), std::vector<int>(4, 0));
    EXPECT_EQ(courier->ascent, 600);
    // A subset's name is no standard font's.
    auto subset = Font("<< /Subtype /Type1 /BaseFont /ABCDEF+Helvetica >>");
    EXPECT_EQ(Text(subset, 0x27), U"'");
    EXPECT_EQ(Metrics(subset, {65}), (std::vector<int>{400, 400, 700, 200}));
}

TEST(SimpleFontTest, WidthsArrayThenDefaults) {
    auto font = Font("<< /Subtype /Type1 /FirstChar 32 /Widths [ 250 333 ] >>");
    // Codes are taken as 16 bits.
    EXPECT_EQ(Metrics(font, {33, 34, 0x10020}), (std::vector<int>{333, 400, 250, 250, 700, 200}));
    // No code decodes to a space: the width of U+0020 by the other rules.
    const std::string noSpace =
        " /FirstChar 32 /Widths [ 250 ] /Encoding << /Differences [ 32 /A ] >> >>";
    EXPECT_EQ(Font("<< /BaseFont /Helvetica" + noSpace)->spaceWidth, 278);
    EXPECT_EQ(Font("<< /BaseFont /Times-Roman" + noSpace)->spaceWidth, 250);
    EXPECT_EQ(Font("<< /FontDescriptor << /MissingWidth 500 >>" + noSpace)->spaceWidth, 500);
    EXPECT_EQ(Font("<< /FontDescriptor << >>" + noSpace)->spaceWidth, 400);
    // Values that can't be widths or distances don't wrap around 16 bits.
    font = Font(
        "<< /FontDescriptor << /Ascent -700 /Descent 212 /MissingWidth -5 >> /Widths [ -1 70000 ] "
        ">>");
    EXPECT_EQ(Metrics(font, {0, 1, 2}), (std::vector<int>{0, 65535, 400, 400, 700, 212}));
    // A descriptor that gives no height at all: the font's box does.
    font =
        Font("<< /FontDescriptor << /Ascent 0 /Descent 0 /FontBBox [ -543 -303 1277 981 ] >> >>");
    EXPECT_EQ(Metrics(font, {}), (std::vector<int>{400, 981, 303}));
    // Entries past the last code are dropped.
    EXPECT_EQ(Metrics(Font("<< /FirstChar 65534 /Widths [ 1 2 3 ] >>"), {0xFFFF, 0}, false),
              (std::vector<int>{2, 400}));
}

TEST(SimpleFontTest, Type3MetricsComeThroughTheFontMatrix) {
    // Glyph space a hundredth of text space: widths and heights ten times the
    // thousandths they are written in, fractions rounded.
    auto font = Font(
        "<< /Subtype /Type3 /FontMatrix [0.01 0 0 -0.01 0 0] /FirstChar 32 /Widths [25 60.46] "
        "/FontDescriptor << /Ascent 70 /Descent -20 /MissingWidth 30 >> >>");
    EXPECT_EQ(Metrics(font, {32, 33, 34}), (std::vector<int>{250, 605, 300, 250, 700, 200}));
    // The usual matrix reads as other fonts do; no descriptor keeps the defaults.
    font = Font("<< /Subtype /Type3 /FontMatrix [0.001 0 0 0.001 0 0] /Widths [500.9] >>");
    EXPECT_EQ(font->GetWidth(0), 500);
    font = Font("<< /Subtype /Type3 /FontMatrix [1 0 0 1 0 0] /Widths [0.5] >>");
    EXPECT_EQ(std::vector<std::uint16_t>({font->GetWidth(0), font->ascent}),
              std::vector<std::uint16_t>({500, 700}));
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
        auto font = Font(std::string("<< /Subtype /TrueType /BaseFont ") + baseFont + " >>");
        EXPECT_EQ(requests, std::vector<FontRequest>{request}) << baseFont;
        EXPECT_EQ(Metrics(font, {'A'}), (std::vector<int>{1065, 1032, 905, 212}));
    }
    // With a descriptor, or another subtype, nothing is measured.
    requests.clear();
    Font("<< /Subtype /TrueType /BaseFont /Arial /FontDescriptor << >> >>");
    Font("<< /Subtype /Type1 /BaseFont /Arial >>");
    EXPECT_TRUE(requests.empty());
}

TEST_F(MeasuredFontTest, WidthsArrayCoversItsCodesAndMeasuredWidthsTheRest) {
    auto font = Font("<< /Subtype /TrueType /BaseFont /Arial /FirstChar 65 /Widths [ 700 ] >>");
    EXPECT_EQ(Metrics(font, {65, 66, 0}, false), (std::vector<int>{700, 1066, 1000}));
    font = Font("<< /Subtype /TrueType /BaseFont /Arial /FirstChar 300 /Widths [ 900 ] >>");
    EXPECT_EQ(Metrics(font, {66, 280, 300, 301}, false), (std::vector<int>{1066, 400, 900, 400}));
}

const char* kIdentityFont =
    "<< /Subtype /Type0 /Encoding /Identity-H /DescendantFonts [ << /Subtype /CIDFontType2 "
    "/DW 600 /W [ 3 [ 250 ] 36 38 700 40 [ 500 510.9 ] 50 [ ] 60 70 ] /FontDescriptor << "
    "/Ascent 900 /Descent -210 >> >> ] >>";

TEST(CompositeFontTest, IdentityHWithToUnicodeAndWidthsByCid) {
    auto font =
        Font(kIdentityFont, {{"/ToUnicode",
                              "beginbfchar <0003> <0020> <0024> <0041> <0025> <00660069> <0026> "
                              "<D83DDE00> endbfchar"}});
    // Two bytes per code; an odd byte at the end is dropped.
    EXPECT_EQ(Codes(*font, std::string("\x00\x24\x00\x25\x00\x03\x01", 7)),
              (std::vector<std::uint32_t>{0x24, 0x25, 0x03}));
    EXPECT_EQ(Codes(*font, "\x26"), std::vector<std::uint32_t>{});
    EXPECT_EQ(Text(font, 0x24) + Text(font, 0x25) + Text(font, 0x26), U"Afi\U0001F600");
    EXPECT_EQ(Text(font, 0x27), U"");
    // Both forms of /W over /DW; a malformed entry ends them.
    EXPECT_EQ(Metrics(font, {3, 4, 36, 38, 39, 40, 41, 42, 60}),
              (std::vector<int>{250, 600, 700, 700, 600, 500, 510, 600, 600, 250, 900, 210}));
    // Without a code for the space, a quarter em; without /DW, 1000; without
    // /Encoding, Identity-H; without a descriptor, the default metrics.
    font = Font("<< /Subtype /Type0 /DescendantFonts [ << >> ] >>");
    EXPECT_EQ(Metrics(font, {7}), (std::vector<int>{1000, 250, 700, 200}));
    EXPECT_EQ(Codes(*font, "\x01\x02"), std::vector<std::uint32_t>{0x0102});
}

TEST(CompositeFontTest, EmbeddedCMapsOfOneToFourByteCodes) {
    const std::string cmap =
        "begincodespacerange <00> <7F> <8000> <BFFF> <C00000> <DFFFFF> <E0000000> <FFFFFFFF> "
        "endcodespacerange 2 begincidrange <00> <7F> 0 <8000> <BFFF> 200 endcidrange "
        "begincidchar <E0000001> 300 endcidchar";
    auto font = Font(
        "<< /Subtype /Type0 /DescendantFonts [ << /W [ 65 [ 321 ] 202 [ 654 ] 300 [ 987 ] ] >> ] "
        ">>",
        {{"/Encoding", cmap}});
    EXPECT_EQ(Codes(*font, std::string("A\x80\x02\xC1\x00\x00\xE0\x00\x00\x01\x90", 11)),
              (std::vector<std::uint32_t>{0x41, 0x8002, 0xC10000, 0xE0000001}));
    // No CID for 0xC10000: the missing glyph's width.
    EXPECT_EQ(Metrics(font, {0x41, 0x8002, 0xE0000001, 0xC10000}, false),
              (std::vector<int>{321, 654, 987, 1000}));
    // A CMap that uses another holds the other's codespace and mappings where
    // its own don't.
    font = Font("<< /Subtype /Type0 /DescendantFonts [ << /W [ 5 [ 555 ] 6 [ 666 ] ] >> ] >>",
                {{"/Encoding", "/Identity-H usecmap begincidchar <0005> 6 endcidchar"}});
    EXPECT_EQ(Codes(*font, std::string("\x00\x05\x00\x06", 4)), (std::vector<std::uint32_t>{5, 6}));
    EXPECT_EQ(Metrics(font, {5, 6}, false), (std::vector<int>{666, 666}));
}

TEST(CompositeFontTest, PredefinedCMapsAndCollectionsFromTheDataFolder) {
    const std::string japanese =
        "/DescendantFonts [ << /CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) >> "
        "/W [ 231 [ 500 ] ] >> ] >>";
    // Shift-JIS: "A" in one byte, HIRAGANA LETTER A in two. The text comes
    // by CID from the collection's table.
    auto font = Font("<< /Subtype /Type0 /Encoding /90ms-RKSJ-H " + japanese);
    EXPECT_EQ(Codes(*font, "A\x82\xA0"), (std::vector<std::uint32_t>{0x41, 0x82A0}));
    EXPECT_EQ(Text(font, 0x41) + Text(font, 0x82A0), U"A\u3042");
    EXPECT_EQ(font->spaceWidth, 500);
    // The vertical UCS-2 CMap uses the horizontal one.
    font = Font("<< /Subtype /Type0 /Encoding /UniJIS-UCS2-V " + japanese);
    EXPECT_EQ(Text(font, 0x3042), U"\u3042");
    // Without the data the same font reads as two-byte codes without text.
    SetCMapDataFolder("");
    font = Font("<< /Subtype /Type0 /Encoding /90ms-RKSJ-H " + japanese);
    SetCMapDataFolder(std::nullopt);
    EXPECT_EQ(Codes(*font, "A\x82\xA0"), std::vector<std::uint32_t>{0x4182});
    EXPECT_EQ(Text(font, 0x4182), U"");
}

}  // namespace
}  // namespace tessary
