#include <gtest/gtest.h>

#include <map>

#include "fonts/PdfFont.h"
#include "support/TestSupport.h"
#include "text/PageText.h"

namespace tessary {
namespace {

// Every font of the page's /Font resources by its resource name.
std::map<std::string, PdfFont*> LoadPageFonts(PdfObjectStore& store, std::int32_t index) {
    ObjectHandle page = store.GetPage(index);
    ObjectHandle resources = FindResources(AsDictionary(page.get()));
    ObjectHandle fontDict = DictionaryOrEmpty(resources.get()).GetValue("/Font");
    const PdfDictionary& fonts = DictionaryOrEmpty(fontDict.get());
    std::map<std::string, PdfFont*> loaded;
    std::string name;
    for (auto position = fonts.GetStartPosition(); !fonts.AtEnd(position);) {
        ObjectHandle font = fonts.GetNextEntry(position, name);
        loaded[name] = store.GetFont(AsDictionary(font.get()));
    }
    return loaded;
}

TEST(PdfFontCacheTest, SharedFontObjectsShareOneFontAndDirectOnesGoByContent) {
    const std::string helvetica = "<< /Subtype /Type1 /BaseFont /Helvetica >>";
    const std::string times = "<< /Subtype /Type1 /BaseFont /Times-Roman >>";
    test::TestDocument doc;
    ASSERT_TRUE(doc.Open(
        test::PdfBuilder(
            {"<< /Type /Catalog /Pages 2 0 R >>",
             "<< /Type /Pages /Kids [ 3 0 R 4 0 R ] /Count 2 /Resources << /Font << /F1 5 0 R "
             "/F4 7 0 R /F2 " +
                 helvetica + " /F3 " + times + " >> >> >>",
             "<< /Type /Page /Parent 2 0 R >>",
             "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 5 0 R /F2 " + helvetica +
                 " >> >> >>",
             "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /ToUnicode 6 0 R >>",
             test::StreamBody("", "1 beginbfchar <41> <0057> endbfchar"),
             // A CMap that uses itself.
             "<< /Subtype /Type0 /Encoding 8 0 R /DescendantFonts [ << /W [ 7 [ 700 ] ] >> ] >>",
             test::StreamBody("/UseCMap 8 0 R", "begincidrange <00> <FF> 7 endcidrange")},
            "/Root 1 0 R")
            .Build()));
    std::map<std::string, PdfFont*> first = LoadPageFonts(doc.Store(), 0);
    std::map<std::string, PdfFont*> second = LoadPageFonts(doc.Store(), 1);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(first["/F1"], second["/F1"]);
    EXPECT_EQ(first["/F1"]->GetText(0x41), U"W");
    EXPECT_EQ(first["/F2"], second["/F2"]);  // equal direct dictionaries in other places
    EXPECT_NE(first["/F2"], first["/F3"]);
    EXPECT_EQ(first["/F2"]->GetWidth('A'), 667);
    EXPECT_EQ(first["/F3"]->GetWidth('A'), 722);
    EXPECT_EQ(first["/F4"]->GetWidth(0), 700);
    EXPECT_EQ(doc.Store().GetFont(nullptr), nullptr);

    // A direct dictionary gone before the next request can't hand its font
    // to another that takes its place in memory.
    for (int round = 0; round < 3; ++round) {
        ObjectHandle courier =
            test::ParseObject("<< /BaseFont /Courier /Widths [ " + std::to_string(round) + " ] >>");
        PdfFont* font = doc.Store().GetFont(AsDictionary(courier.get()));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->GetWidth(0), round);
    }
}

}  // namespace
}  // namespace tessary
