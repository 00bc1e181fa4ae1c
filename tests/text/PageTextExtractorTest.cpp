#include "text/PageTextExtractor.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "pdf/PdfObjectStore.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

class ExtractorTest : public ::testing::Test {
  protected:
    // /F1: codes 65, 66, 67 are 500, 600, 700 wide, everything else 500; /F2 is
    // Courier (600 everywhere); /F3 two-byte codes, 0x0001 a space 500 wide
    // and 0x0022 an "A" 600 wide.
    ObjectHandle resources = test::ParseObject(
        "<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Test /FirstChar 65 "
        "/Widths [500 600 700] /FontDescriptor << /Ascent 700 /Descent -200 /MissingWidth 500 >> "
        ">> /F2 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> /F3 << /Subtype /Type0 "
        "/Encoding /Identity-H /DescendantFonts [ << /W [ 1 [ 500 ] 34 [ 600 ] ] /CIDSystemInfo "
        "<< /Registry (Adobe) /Ordering (GB1) >> >> ] >> >> "
        "/ColorSpace << /CS0 [/ICCBased 9 0 R] /CS1 [/CalGray << >>] /CS2 /DeviceRGB >> >>");
    PdfObjectStore store{nullptr};
    std::unique_ptr<PageTextExtractor> extractor;
    const GraphicsState& state() { return extractor->GetState(); }

    void Run(std::string_view content) {
        extractor = std::make_unique<PageTextExtractor>(store, CodePage::Utf8());
        extractor->LoadPageFonts(AsDictionary(resources.get()));
        extractor->RunContent(content);
    }
    // The items the content shows, frame by frame in layout order and in line
    // order within each, as "text xStart-xEnd@baseline"; a frame other than
    // the upright one starts with its direction, "/eighths" and "m" when mirrored.
    std::string Shown(std::string_view content) {
        Run(content);
        std::string shown;
        char item[64];
        for (const TextFrame* frame : extractor->GetFrames().GetFramesInOrder()) {
            const TextDirection direction = frame->GetDirection();
            if (!direction.IsUpright())
                shown += " /" + std::to_string(direction.eighths) + (direction.mirrored ? "m" : "");
            for (const TextLine* line : frame->GetLines().GetLines()) {
                for (const TextItem& i : line->GetItems()) {
                    std::snprintf(item, sizeof item, " %s %g-%g@%g", std::string(i.text).c_str(),
                                  i.xStart, i.xEnd, line->GetBaseline());
                    shown += item;
                }
            }
        }
        return shown;
    }
};

TEST_F(ExtractorTest, TextPositioning) {
    Shown("BT /F1 10 Tf 0 -14 TD T*");
    EXPECT_DOUBLE_EQ(state().leading, 14);
    EXPECT_DOUBLE_EQ(state().lineY, -28);
    // Tm then Td: x = e + 10a, y = f + 10b.
    EXPECT_EQ(Shown("BT /F1 10 Tf 2 0.5 0 1 100 200 Tm 10 0 Td (A) Tj ET"), " A 120-130@205");
    // "BT" after "ET" is back at the identity.
    EXPECT_EQ(Shown("BT 1 0 0 1 5 5 Tm ET BT /F1 10 Tf (A) Tj ET"), " A 0-5@0");
    // Tz scales advances, spacing and "TJ" adjustments; Ts raises the baseline.
    EXPECT_EQ(Shown("BT /F1 10 Tf 50 Tz 5 Ts 2 Tc [(A) -1000 (B)] TJ ET"),
              " A 0-2.5@5 B 8.5-11.5@5");
    // The quote operators move to the next line first.
    EXPECT_EQ(Shown("BT /F1 10 Tf 12 TL (A) ' 3 1 (B) \" ET"), " A 0-5@-12 B 0-6@-24");
    EXPECT_DOUBLE_EQ(state().wordSpacing, 3);
    EXPECT_DOUBLE_EQ(state().charSpacing, 1);
}

TEST_F(ExtractorTest, CurrentMatrixPlacesText) {
    // Drawn under a flipped matrix with flipped text matrices, as some
    // producers draw every page: the same items as the plain page.
    EXPECT_EQ(Shown("1 0 0 -1 0 800 cm BT /F1 10 Tf 1 0 0 -1 100 100 Tm (AB) Tj "
                    "1 0 0 -1 100 120 Tm (C) Tj ET"),
              Shown("BT /F1 10 Tf 1 0 0 1 100 700 Tm (AB) Tj 1 0 0 1 100 680 Tm (C) Tj ET"));
    // Scaled and moved: "cm" concatenates onto the matrix; "q" and "Q" save
    // and restore it.
    EXPECT_EQ(Shown("1 0 0 1 10 20 cm 2 0 0 2 0 0 cm BT /F1 10 Tf (A) Tj ET"), " A 10-20@20");
    EXPECT_EQ(Shown("BT /F1 10 Tf q 2 0 0 2 0 0 cm Q q 1 0 0 1 7 0 cm (A) Tj Q (B) Tj ET"),
              " B 0-6@0 A 7-12@0");
    // A skewed (slanted) matrix puts a raised character where it lands.
    EXPECT_EQ(Shown("BT /F1 10 Tf 1 0 0.5 1 0 0 Tm 2 Ts (A) Tj ET"), " A 1-6@2");
    // Invisible text (render mode 3, as written over scanned pages) is text.
    EXPECT_EQ(Shown("BT /F1 10 Tf 3 Tr (A) Tj ET"), " A 0-5@0");
}

TEST_F(ExtractorTest, EachDirectionIsReadInItsOwnFrame) {
    // Turned by a quarter, mirrored, upside down: each reads left to right in
    // its frame (turned about the origin without a page box), the frame with
    // the most characters first.
    EXPECT_EQ(Shown("BT /F1 10 Tf 0 1 -1 0 50 100 Tm (AB) Tj 1 0 0 1 0 10 Tm (C) Tj ET"),
              " /2 A 100-105@-50 B 105-111@-50 C 0-7@10");
    EXPECT_EQ(Shown("BT /F1 10 Tf -1 0 0 1 100 0 Tm (A) Tj -1 0 0 -1 100 0 Tm (B) Tj ET"),
              " /4m A -100--95@0 /4 B -100--94@0");
    // A negative size turns the glyphs around: they run to the left, upright
    // in the half-turned frame.
    EXPECT_EQ(Shown("BT /F1 -10 Tf 1 0 0 1 100 0 Tm (A) Tj ET"), " /4 A -100--95@0");
    // A caption turned by a quarter comes after the main text, read as words.
    Run("BT /F1 10 Tf 1 0 0 1 0 100 Tm (AB AB) Tj 1 0 0 1 0 88 Tm (ABC) Tj "
        "0 1 -1 0 200 0 Tm (CAB) Tj ET");
    EXPECT_EQ(extractor->GetFrames().LayOutLines(78),
              (std::vector<std::string>{"AB AB ", "ABC ", "", "CAB "}));
}

TEST_F(ExtractorTest, DegenerateMatricesPlaceNothing) {
    // Singular, beyond any page, not finite: the text after them, under a
    // sound matrix again, is placed.
    for (const char* matrix :
         {"0 0 0 0 0 0 cm", "1 2 2 4 0 0 cm", "0 0 0 0 5 5 Tm", "1 0 0 1 2e6 0 cm",
          "1e6 0 0 1e6 0 0 cm", "1e300 0 0 1e300 0 0 cm 1e300 0 0 1e300 0 0 cm"}) {
        EXPECT_EQ(Shown(std::string("BT /F1 10 Tf q ") + matrix + " (A) Tj Q (B) Tj ET"),
                  " B 0-6@0")
            << matrix;
    }
}

TEST_F(ExtractorTest, ShowingAdvancesByWidthsAndSpacing) {
    EXPECT_EQ(Shown("BT /F1 10 Tf (ABC) Tj ET"), " A 0-5@0 B 5-11@0 C 11-18@0");
    EXPECT_DOUBLE_EQ(state().textX, 18);
    // Tc after every code, the last included; Tw after the one-byte code 32
    // alone, never after a two-byte code.
    EXPECT_EQ(Shown("BT /F1 10 Tf 1 Tc 2 Tw (A A) Tj ET"), " A 0-5@0 A 14-19@0");
    EXPECT_DOUBLE_EQ(state().textX, 20);
    EXPECT_EQ(Shown("BT /F3 10 Tf 1 Tc 2 Tw <002200010022> Tj ET"), " A 0-6@0 A 13-19@0");
    // TJ: -250 at size 12 moves 3 units right; numbers move even without a
    // font; an operand that isn't an array shows nothing.
    EXPECT_EQ(Shown("BT /F1 12 Tf [(A) -250 (B)] TJ ET"), " A 0-6@0 B 9-16.2@0");
    Shown("BT 0 10 Td 10 Tf [-1000] TJ ET");
    EXPECT_DOUBLE_EQ(state().textX, 10);
    EXPECT_EQ(Shown("BT /F1 10 Tf (A) TJ ET"), "");
    // A code that decodes to U+0000 leaves an item with no text.
    EXPECT_EQ(Shown("BT /F1 10 Tf <00> Tj ET"), "  0-5@0");
    // A text matrix scaled by 2 doubles the extents.
    EXPECT_EQ(Shown("BT /F1 10 Tf 2 0 0 2 0 0 Tm (A) Tj ET"), " A 0-10@0");
    // No text before the first "Tf" that names a known font; an unknown name
    // keeps the font but takes the size. "Tf" with only its size takes the
    // name from the operand below.
    EXPECT_EQ(Shown("BT (A) Tj /F1 10 Tf /Nope 20 Tf (A) Tj ET"), " A 0-10@0");
    EXPECT_EQ(Shown("/F2 BT 10 Tf (A) Tj ET"), " A 0-6@0");
}

TEST_F(ExtractorTest, WhiteFillHidesText) {
    // "g" changes nothing; /CS1 is a calibrated gray space, /CS0 an ICC-based
    // one (black), /CS2 an entry that isn't an array (other).
    for (const char* white :
         {"1 1 1 rg", "/DeviceGray cs 1 sc", "/DeviceCMYK cs 0 0 0 0 scn", "/CS1 cs 1 sc"}) {
        EXPECT_EQ(Shown("BT /F1 10 Tf " + std::string(white) + " (A) Tj ET"), "") << white;
    }
    for (const char* other :
         {"0.5 g 1 1 1 g", "0.9 0.9 0.9 rg", "/DeviceGray cs 0.9 sc",
          "/DeviceCMYK cs 0.2 0 0 0 scn", "/CS0 cs 1 1 1 scn", "/CS2 cs 1 1 1 scn"}) {
        EXPECT_EQ(Shown("BT /F1 10 Tf " + std::string(other) + " (A) Tj ET"), " A 0-5@0") << other;
    }
    Shown("/DeviceCMYK cs 0 0 0 1 scn");
    EXPECT_EQ(state().fillColour, (std::array<double, 3>{0.5, 1, 1}));
    // White text leaves no items, but the text after it keeps its place.
    EXPECT_EQ(Shown("BT /F1 10 Tf 1 1 1 rg (A) Tj 0 0 0 rg (B) Tj ET"), " B 5-11@0");
}

TEST_F(ExtractorTest, SaveAndRestore) {
    EXPECT_EQ(Shown("BT /F1 10 Tf 1 0 0 1 7 7 Tm q /F2 20 Tf 1 0 0 1 0 0 Tm Q (A) Tj ET"),
              " A 7-12@7");
    Shown("Q Q 1 0 0 rg");  // nothing saved: ignored
    EXPECT_DOUBLE_EQ(state().fillColour[0], 1);
    // Deep nesting: saved states stop at the limit, but "q" and "Q" still pair
    // up: the "Q" of a "q" that saved nothing restores nothing.
    std::string deep, close;
    for (std::size_t i = 1; i <= kMaxSavedStates + 10; ++i) {
        deep += "q " + std::to_string(i) + " 0 0 rg ";
        close += "Q ";
    }
    Shown(deep + "Q Q Q Q Q Q Q Q Q Q");
    EXPECT_DOUBLE_EQ(state().fillColour[0], kMaxSavedStates + 10);
    Shown(deep + close);
    EXPECT_DOUBLE_EQ(state().fillColour[0], 0);
}

TEST_F(ExtractorTest, OperandsAndSyntaxFailures) {
    // Operands of earlier operators are read when an operator lacks its own;
    // at the bottom of the stack numbers read as 0.
    Shown("BT 1 2 3 4 5 6 Tm Tm");
    EXPECT_EQ(state().textMatrix, (Matrix{1, 2, 3, 4, 5, 6}));
    Shown("Tc");
    EXPECT_DOUBLE_EQ(state().charSpacing, 0);
    // A syntax failure ends the content; what was shown stays.
    EXPECT_EQ(Shown("BT /F1 10 Tf (A) Tj [ (B) Tj"), " A 0-5@0");
    EXPECT_EQ(Shown("BT /F1 10 Tf (A) Tj (unterminated"), " A 0-5@0");
    // Millions of operands cost no more than the few an operator can read.
    std::string many;
    for (int i = 0; i < 200000; ++i)
        many += "1 2 3 ";
    EXPECT_EQ(Shown(many + "BT /F1 10 Tf (A) Tj"), " A 0-5@0");
}

}  // namespace
}  // namespace tessary
