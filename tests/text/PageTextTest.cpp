// The page text driver, from page dictionaries in small PDF files.
#include "text/PageText.h"

#include <gtest/gtest.h>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::PdfBuilder;
using test::StreamBody;

const char* kFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>";

class PageTextTest : public ::testing::Test {
  protected:
    std::vector<std::string> PageLines(const std::vector<std::string>& objects, int page = 0,
                                       int width = 78) {
        document = std::make_unique<PdfDocument>();
        EXPECT_TRUE(document->Open(dir.Write("p.pdf", PdfBuilder(objects, "/Root 1 0 R").Build()),
                                   false, nullptr, nullptr));
        PdfObjectStore& store = *document->GetStore();
        ObjectHandle dict = store.GetPage(page);
        std::vector<std::string> lines = {"left over"};
        ExtractPageText(lines, store, AsDictionary(dict.get()), width, CodePage::Ascii());
        return lines;
    }
    test::TempDir dir;
    std::unique_ptr<PdfDocument> document;
};

using Lines = std::vector<std::string>;

TEST_F(PageTextTest, ContentsArraysAreJoinedWithNothingBetween) {
    // "ET" at the end of the first stream and "BT" at the start of the second
    // run together into one unknown operator: the second text object keeps the
    // matrix of the first.
    EXPECT_EQ(
        PageLines(
            {"<< /Type /Catalog /Pages 2 0 R >>",
             "<< /Type /Pages /Kids [3 0 R] /Count 1 /Resources << /Font << /F1 6 0 R >> >> >>",
             "<< /Type /Page /Parent 2 0 R /Contents [4 0 R 7 0 R 5 0 R] >>",
             StreamBody("", "BT /F1 10 Tf 1 0 0 1 100 700 Tm (One) Tj ET"),
             StreamBody("", "BT 0 -20 Td (Two) Tj ET"), kFont, "42"}),
        (Lines{"One ", "", "Two "}));
}

TEST_F(PageTextTest, ResourcesAreInherited) {
    // The parent chain loops back; the resources of the root are found first.
    EXPECT_EQ(
        PageLines(
            {"<< /Type /Catalog /Pages 2 0 R >>",
             "<< /Type /Pages /Kids [3 0 R] /Count 1 /Resources << /Font << /F1 5 0 R >> >> >>",
             "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
             StreamBody("", "BT /F1 10 Tf (Hi) Tj ET"), kFont}),
        (Lines{"Hi "}));
    EXPECT_EQ(PageLines({"<< /Type /Catalog /Pages 2 0 R >>",
                         "<< /Type /Pages /Kids [3 0 R] /Count 1 /Parent 3 0 R >>",
                         "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
                         StreamBody("", "BT /F1 10 Tf (Hi) Tj ET")}),
              Lines{});
}

TEST_F(PageTextTest, PagesWithoutText) {
    auto page = [](const std::string& contents) {
        return std::vector<std::string>{
            "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            "<< /Type /Page /Parent 2 0 R " + contents + " >>", StreamBody("", "")};
    };
    EXPECT_EQ(PageLines(page("")), Lines{});
    EXPECT_EQ(PageLines(page("/Contents 4 0 R")), Lines{});
    EXPECT_EQ(PageLines(page("/Contents 12")), Lines{});
    EXPECT_EQ(PageLines(page("/Contents /Name")), Lines{});
    EXPECT_EQ(PageLines(page("/Contents 99 0 R")), Lines{});
    EXPECT_EQ(PageLines(page("/Contents 4 0 R"), 1), Lines{});  // no such page
}

TEST_F(PageTextTest, WidthChangesColumnsOnly) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 /Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
        StreamBody("",
                   "BT /F1 10 Tf 1 0 0 1 0 700 Tm (Left) Tj 1 0 0 1 400 700 Tm (Right) Tj "
                   "1 0 0 1 0 600 Tm (Below) Tj ET"),
        kFont};
    Lines wide = PageLines(objects, 0, 78);
    Lines narrow = PageLines(objects, 0, 40);
    ASSERT_EQ(wide.size(), narrow.size());
    EXPECT_EQ(wide.front().substr(0, 5), "Left ");
    EXPECT_GT(wide.front().size(), narrow.front().size());
    EXPECT_EQ(wide.back(), narrow.back());
}

}  // namespace
}  // namespace tessary
