// The page text driver, from page dictionaries in small PDF files.
#include "text/PageText.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

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
                    const std::vector<std::string>& objects, int width = 78) {
        std::vector<std::string> all = {"<< /Type /Catalog /Pages 2 0 R >>",
                                        "<< /Type /Pages /Kids [3 0 R] /Count 1 " + root + " >>",
                                        "<< /Type /Page /Parent 2 0 R " + page + " >>"};
        all.insert(all.end(), objects.begin(), objects.end());
        EXPECT_TRUE(Open(test::PdfBuilder(all, "/Root 1 0 R").Build()));
        ObjectHandle dict = Store().GetPage(0);
        Lines lines = {"left over"};
        ExtractPageText(lines, Store(), AsDictionary(dict.get()), width, CodePage::Ascii());
        return lines;
    }
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

TEST_F(PageTextTest, WidthSetsTheColumns) {
    const std::vector<std::string> objects = {
        StreamBody("",
                   "BT /F1 10 Tf 1 0 0 1 0 700 Tm (Left) Tj 1 0 0 1 400 700 Tm (Right) Tj "
                   "1 0 0 1 0 600 Tm (Below) Tj ET"),
        kFont};
    EXPECT_EQ(PageLines(kResources, "/Contents 4 0 R", objects, 40),
              (Lines{"Left" + std::string(33, ' ') + "Right ", "", "Below "}));
}

}  // namespace
}  // namespace tessary
