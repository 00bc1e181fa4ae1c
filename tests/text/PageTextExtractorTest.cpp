#include "text/PageTextExtractor.h"

#include <gtest/gtest.h>

#include "pdf/PdfObjectStore.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

struct Item {
    std::string text;
    double xStart, xEnd, baseline;
};

class ExtractorTest : public ::testing::Test {
  protected:
    // /F1: codes 65, 66, 67 are 500, 600, 700 wide, everything else 500; /F2 is
    // Courier (600 everywhere).
    ObjectHandle resources = test::ParseObject(
        "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Test /FirstChar 65 "
        "/Widths [500 600 700] /FontDescriptor << /Ascent 700 /Descent -200 /MissingWidth 500 >> "
        ">> /F2 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> "
        "/ColorSpace << /CS0 [/ICCBased 9 0 R] /CS1 [/CalGray << >>] /CS2 /DeviceRGB >> >>");
    PdfObjectStore store{nullptr};
    std::unique_ptr<PageTextExtractor> extractor;
    const PageTextExtractor::TextState& state() { return extractor->GetState(); }

    // The items the content shows, in line order.
    std::vector<Item> Run(std::string_view content) {
        extractor = std::make_unique<PageTextExtractor>(store, CodePage::Utf8());
        extractor->LoadPageFonts(AsDictionary(resources.get()));
        extractor->RunContent(content);
        std::vector<Item> items;
        for (const TextLine* line : extractor->GetLines().GetLines()) {
            for (const TextItem& item : line->GetItems()) {
                items.push_back({item.text, item.xStart, item.xEnd, line->GetBaseline()});
            }
        }
        return items;
    }
};

TEST_F(ExtractorTest, TextPositioning) {
    Run("BT /F1 10 Tf 0 -14 TD");
    EXPECT_DOUBLE_EQ(state().lineY, -14);
    EXPECT_DOUBLE_EQ(state().leading, 14);
    Run("BT /F1 10 Tf 0 -14 TD T*");
    EXPECT_DOUBLE_EQ(state().lineY, -28);
    EXPECT_DOUBLE_EQ(state().textY, -28);
    // Tm then Td: x = e + 10a, y = f + 10b.
    std::vector<Item> items = Run("BT /F1 10 Tf 2 0.5 0 1 100 200 Tm 10 0 Td (A) Tj ET");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0].xStart, 120);
    EXPECT_DOUBLE_EQ(items[0].baseline, 205);
    // "cm" is ignored; "BT" after "ET" is back at the identity.
    items = Run("BT 1 0 0 1 5 5 Tm ET 1 0 0 1 50 50 cm BT /F1 10 Tf (A) Tj ET");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0].xStart, 0);
    EXPECT_DOUBLE_EQ(items[0].baseline, 0);
    // Tz and Ts are recorded but move nothing.
    items = Run("BT /F1 10 Tf 50 Tz 5 Ts (AB) Tj ET");
    EXPECT_DOUBLE_EQ(state().horizontalScale, 0.5);
    EXPECT_DOUBLE_EQ(state().textX, 11);
    EXPECT_DOUBLE_EQ(items[0].baseline, 0);
}

TEST_F(ExtractorTest, ShowingAdvancesByWidthsAndSpacing) {
    std::vector<Item> items = Run("BT /F1 10 Tf (ABC) Tj ET");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].text, "C");
    EXPECT_DOUBLE_EQ(items[1].xStart, 5);
    EXPECT_DOUBLE_EQ(items[1].xEnd, 11);
    EXPECT_DOUBLE_EQ(items[2].xEnd, 18);
    EXPECT_DOUBLE_EQ(state().textX, 18);
    // Tc after every character, the last included; Tw after decoded spaces.
    Run("BT /F1 10 Tf 1 Tc 2 Tw (A A) Tj ET");
    EXPECT_DOUBLE_EQ(state().textX, 5 + 1 + 5 + 1 + 2 + 5 + 1);
    // TJ: -250 at size 12 moves 3 units right; numbers move even without a font.
    items = Run("BT /F1 12 Tf [(A) -250 (B)] TJ ET");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_DOUBLE_EQ(items[1].xStart - items[0].xEnd, 3);
    Run("BT 0 10 Td 10 Tf [-1000] TJ ET");
    EXPECT_DOUBLE_EQ(state().textX, 10);
    EXPECT_TRUE(Run("BT /F1 10 Tf (A) TJ ET").empty());  // a TJ operand that isn't an array
    // The quote operators move to the next line first.
    Run("BT /F1 10 Tf 12 TL (A) ' 3 1 (B) \" ET");
    EXPECT_DOUBLE_EQ(state().lineY, -24);
    EXPECT_DOUBLE_EQ(state().wordSpacing, 3);
    EXPECT_DOUBLE_EQ(state().charSpacing, 1);
    // A text matrix scaled by 2 doubles the extents.
    EXPECT_DOUBLE_EQ(Run("BT /F1 10 Tf 2 0 0 2 0 0 Tm (A) Tj ET")[0].xEnd, 10);
    // No text before the first "Tf" that names a known font; an unknown name
    // keeps the font but takes the size.
    items = Run("BT (A) Tj /F1 10 Tf /Nope 20 Tf (A) Tj ET");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0].xEnd, 10);
    // "Tf" with only its size takes the name from the operand below.
    items = Run("/F2 BT 10 Tf (A) Tj ET");
    EXPECT_EQ(state().fontName, "/F2");
    EXPECT_DOUBLE_EQ(items.back().xEnd - items.back().xStart, 6);
}

TEST_F(ExtractorTest, WhiteFillHidesText) {
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"0.5 g 1 1 1 g", 2},  // "g" changes nothing
        {"1 1 1 rg", 0},
        {"0.9 0.9 0.9 rg", 2},
        {"/DeviceGray cs 1 sc", 0},
        {"/DeviceGray cs 0.9 sc", 2},
        {"/DeviceCMYK cs 0 0 0 0 scn", 0},
        {"/DeviceCMYK cs 0.2 0 0 0 scn", 2},
        {"/CS1 cs 1 sc", 0},       // a calibrated gray space from the resources
        {"/CS0 cs 1 1 1 scn", 2},  // ICC-based: black
        {"/CS2 cs 1 1 1 scn", 2},  // an entry that isn't an array: other
    };
    for (const auto& [colour, shown] : cases) {
        EXPECT_EQ(Run("BT /F1 10 Tf " + colour + " (AB) Tj ET").size(), shown) << colour;
    }
    Run("/DeviceCMYK cs 0 0 0 1 scn");
    EXPECT_EQ(state().fillColour, (std::array<double, 3>{0.5, 1, 1}));
    // White text leaves no items, but the text after it keeps its place.
    std::vector<Item> items = Run("BT /F1 10 Tf 1 1 1 rg (A) Tj 0 0 0 rg (B) Tj ET");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0].xStart, 5);
}

TEST_F(ExtractorTest, SaveAndRestore) {
    std::vector<Item> items =
        Run("BT /F1 10 Tf 1 0 0 1 7 7 Tm q /F2 20 Tf 1 0 0 1 0 0 Tm Q (A) Tj ET");
    EXPECT_EQ(state().fontName, "/F1");
    EXPECT_DOUBLE_EQ(state().fontSize, 10);
    EXPECT_DOUBLE_EQ(items[0].xStart, 7);
    Run("Q Q 1 0 0 rg");  // nothing saved: ignored
    EXPECT_DOUBLE_EQ(state().fillColour[0], 1);
    // Deep nesting: saved states stop at the limit, but "q" and "Q" still pair up.
    std::string open = "1 0 0 rg ", close;
    for (std::size_t i = 0; i < kMaxSavedStates + 10; ++i) {
        open += "q 0 1 0 rg ";
        close += "Q ";
    }
    Run(open + close);
    EXPECT_EQ(state().fillColour, (std::array<double, 3>{1, 0, 0}));
}

TEST_F(ExtractorTest, OperandsAndSyntaxFailures) {
    // Operands of earlier operators are read when an operator lacks its own;
    // at the bottom of the stack numbers read as 0.
    Run("BT 1 2 3 4 5 6 Tm Tm");
    EXPECT_EQ(state().textMatrix, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
    Run("Tc");
    EXPECT_DOUBLE_EQ(state().charSpacing, 0);
    // A syntax failure ends the content; what was shown stays.
    EXPECT_EQ(Run("BT /F1 10 Tf (A) Tj [ (B) Tj").size(), 1u);
    EXPECT_EQ(Run("BT /F1 10 Tf (A) Tj (unterminated").size(), 1u);
    // Millions of operands cost no more than the few an operator can read.
    std::string many;
    for (int i = 0; i < 200000; ++i) {
        many += "1 2 3 ";
    }
    EXPECT_EQ(Run(many + "BT /F1 10 Tf (A) Tj").size(), 1u);
}

}  // namespace
}  // namespace tessary
