// The page text driver, from page dictionaries in small PDF files.
#include "text/PageText.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "text/TextLimits.h"

namespace tessary {
namespace {

using Lines = std::vector<std::string>;
using test::StreamBody;

const char* kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>";

class PageTextTest : public ::testing::Test, public test::TestDocument {
  protected:
    // The text of the first page of a catalog, a page tree root with the given
    // entries, a page with the given entries, and the objects from 4 on.
    Lines PageLines(const std::string& root, const std::string& page,
                    const std::vector<std::string>& objects, int width = 78,
                    const CodePage& codePage = CodePage::Ascii(),
                    TextOrder order = TextOrder::Layout) {
        std::vector<std::string> all = {"<< /Type /Catalog /Pages 2 0 R >>",
                                        "<< /Type /Pages /Kids [3 0 R] /Count 1 " + root + " >>",
                                        "<< /Type /Page /Parent 2 0 R " + page + " >>"};
        all.insert(all.end(), objects.begin(), objects.end());
        EXPECT_TRUE(Open(test::PdfBuilder(all, "/Root 1 0 R").Build(), &prompter));
        ObjectHandle dict = Store().GetPage(0);
        Lines lines = {"left over"};
        ExtractPageText(lines, Store(), AsDictionary(dict.get()), width, codePage, order);
        return lines;
    }
    test::Prompter prompter;
};

const std::string kResources = "/Resources << /Font << /F1 5 0 R >> >>";

TEST_F(PageTextTest, ContentsArraysAreJoinedWithNothingBetween) {
    // "ET" at the end of the first stream and "BT" at the start of the second
    // run together into one unknown operator: the second text object keeps the
    // matrix of the first. 6 isn't a stream and is skipped.
    EXPECT_EQ(PageLines(kResources, "/Contents [4 0 R 6 0 R 7 0 R]",
                        {StreamBody("", "BT /F1 10 Tf 1 0 0 1 100 700 Tm (One) Tj ET"), kFont, "42",
                         StreamBody("", "BT 0 -20 Td (Two) Tj ET")}),
              (Lines{"One ", "", "Two "}));
}

TEST_F(PageTextTest, ResourcesAreInheritedUpToACycle) {
    const std::string content = StreamBody("", "BT /F1 10 Tf (Hi) Tj ET");
    EXPECT_EQ(PageLines(kResources, "/Contents 4 0 R", {content, kFont}), Lines{"Hi "});
    EXPECT_EQ(PageLines("/Parent 3 0 R", "/Contents 4 0 R", {content, kFont}), Lines{});
}

TEST_F(PageTextTest, PagesWithoutText) {
    for (const char* contents :
         {"", "/Contents 4 0 R", "/Contents 12", "/Contents /Name", "/Contents 99 0 R"}) {
        EXPECT_EQ(PageLines("", contents, {StreamBody("", "")}), Lines{}) << contents;
    }
    Lines lines = {"left over"};
    ExtractPageText(lines, Store(), nullptr, 78, CodePage::Ascii());  // no such page
    EXPECT_EQ(lines, Lines{});
}

TEST_F(PageTextTest, TurnedPagesReadAsTheUprightPageAtTheWidth) {
    const std::string text =
        "BT /F1 10 Tf 1 0 0 1 100 700 Tm (Hello world) Tj 0 -12 Td (Second line) Tj "
        "1 0 0 1 400 700 Tm (Right) Tj 1 0 0 1 100 652 Tm (After gap) Tj ET";
    // The box that the text is turned within is inherited, and a crop box
    // stands before the media box.
    const std::vector<std::pair<std::string, std::string>> turns = {
        {"/MediaBox [0 0 612 792]", ""},
        {"/MediaBox [0 0 792 612]", "0 1 -1 0 792 0 cm "},
        {"/MediaBox [0 0 612 792]", "-1 0 0 -1 612 792 cm "},
        {"/MediaBox [0 0 2000 2000] /CropBox [0 0 792 612]", "0 -1 1 0 0 612 cm "}};
    for (const auto& [box, turn] : turns) {
        EXPECT_EQ(PageLines(kResources + box, "/Contents 4 0 R",
                            {StreamBody("", turn + text), kFont}, 40),
                  (Lines{"Hello world" + std::string(25, ' ') + "Right ", "Second line ", "",
                         "After gap "}))
            << turn;
    }
}

TEST_F(PageTextTest, ColumnsReadInOrderInEveryDirection) {
    // Two columns of three lines and a caption turned against them: read in
    // order, the columns come one after another in any turn of the page, and
    // the caption after them.
    std::string columns = "BT /F1 10 Tf";
    for (int i = 0; i < 3; ++i) {
        for (const auto& [x, tag] : {std::pair{72, 'L'}, std::pair{330, 'R'}}) {
            columns += " 1 0 0 1 " + std::to_string(x) + " " + std::to_string(700 - 12 * i) +
                       " Tm (" + tag + std::to_string(i) + " one two three four five six) Tj";
        }
    }
    columns += " ET";
    const std::string caption = " BT /F1 10 Tf 0 1 -1 0 560 300 Tm (Caption) Tj ET";
    const auto read = [&](const std::string& box, const std::string& turn) {
        return PageLines(kResources + box, "/Contents 4 0 R",
                         {StreamBody("", turn + columns + caption), kFont}, 78, CodePage::Ascii(),
                         TextOrder::Reading);
    };
    const Lines upright = read("/MediaBox [0 0 612 792]", "");
    EXPECT_EQ(upright, (Lines{"L0 one two three four five six ", "L1 one two three four five six ",
                              "L2 one two three four five six ", "",
                              "R0 one two three four five six ", "R1 one two three four five six ",
                              "R2 one two three four five six ", "", "Caption "}));
    EXPECT_EQ(read("/MediaBox [0 0 792 612]", "0 1 -1 0 792 0 cm "), upright);
    EXPECT_EQ(read("/MediaBox [0 0 612 792]", "-1 0 0 -1 612 792 cm "), upright);
}

TEST_F(PageTextTest, FormsRunWithTheirMatrixAndResources) {
    // /Fm1 moves its text down by 10 and names a font whose "A" reads "Z";
    // /Fm2, without resources, uses those of /Fm1 and draws itself. The "Q"s
    // that /Fm1 leaves over restore nothing of the page's, and its last "cm"
    // ends with it. A missing name and an image draw nothing, and the image
    // is not even decoded: its filter, which no one reads, goes unreported.
    const std::string form = "/Type /XObject /Subtype /Form /BBox [0 0 612 792] ";
    EXPECT_EQ(
        PageLines("",
                  "/Resources << /Font << /F1 5 0 R >> /XObject << /Fm1 6 0 R /Im1 9 0 R >> >> "
                  "/Contents 4 0 R",
                  {StreamBody("",
                              "q 1 0 0 1 0 -100 cm /Fm1 Do Q /Fm1 Do /Nope Do /Im1 Do "
                              "BT /F1 10 Tf 1 0 0 1 100 700 Tm (A) Tj ET"),
                   kFont,
                   StreamBody(form + "/Matrix [1 0 0 1 0 -10] /Resources << /Font << /F1 7 0 R >> "
                                     "/XObject << /Fm2 8 0 R >> >>",
                              "Q Q BT /F1 10 Tf 1 0 0 1 100 700 Tm (Inner) Tj ET /Fm2 Do "
                              "3 0 0 3 0 0 cm"),
                   "<< /Type /Font /Subtype /Type1 /BaseFont /Courier "
                   "/Encoding << /Differences [65 /Z] >> >>",
                   StreamBody(form, "BT /F1 10 Tf 1 0 0 1 100 690 Tm (A) Tj ET /Fm2 Do"),
                   StreamBody("/Type /XObject /Subtype /Image /Width 1 /Height 1 "
                              "/ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /DCTDecode",
                              "x")}),
        (Lines{"A ", "Inner ", "Z ", "", "Inner ", "Z "}));
    EXPECT_TRUE(prompter.calls.empty());

    // A chain of forms each drawing one line and the next form, a line lower:
    // the form one level deeper than the limit is not entered.
    std::vector<std::string> chain = {StreamBody("", "/X Do"), kFont};
    for (int k = 0; k < kMaxFormDepth + 8; ++k) {
        chain.push_back(StreamBody(form +
                                       "/Matrix [1 0 0 1 0 -10] /Resources << /Font << /F1 5 0 "
                                       "R >> /XObject << /X " +
                                       std::to_string(7 + k) + " 0 R >> >>",
                                   "BT /F1 10 Tf 1 0 0 1 100 700 Tm (x) Tj ET /X Do"));
    }
    EXPECT_EQ(PageLines("", "/Resources << /XObject << /X 6 0 R >> >> /Contents 4 0 R", chain),
              Lines(kMaxFormDepth, "x "));
}

// Codes 1 to 7 show the seven ligatures, each as wide as its letters (600
// each in Courier), and a bar follows two spaces after them.
TEST_F(PageTextTest, LigaturesAreTheirLettersAndAsWide) {
    const std::vector<std::string> font = {
        "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /FirstChar 1 /Widths [ 1200 1200 1200 "
        "1800 1800 1200 1200 ] /ToUnicode 6 0 R >>",
        StreamBody("", "beginbfrange <01> <07> <FB00> endbfrange")};
    for (const char* word : {"o\x01\x02\x03\x04\x05\x06\x07o", "offfiflffifflststo"}) {
        std::vector<std::string> objects = {
            StreamBody("", "BT /F1 10 Tf [(" + std::string(word) + ") -1200 (|)] TJ ET")};
        objects.insert(objects.end(), font.begin(), font.end());
        EXPECT_EQ(PageLines(kResources, "/Contents 4 0 R", objects, 20),
                  Lines{"offfiflffifflststo | "})
            << word;
    }
}

}  // namespace
}  // namespace tessary
