#include "text/TextFileConversion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "text/PageText.h"

namespace tessary {
namespace {

using test::kCourierResources;
using test::PdfBuilder;
using test::ReadFileBytes;

TEST(TextFileConversion, TextFileNameFor) {
    EXPECT_EQ(TextFileNameFor("/docs/report.pdf"), "/docs/report.txt");
    EXPECT_EQ(TextFileNameFor("/docs/report"), "/docs/report.txt");
    EXPECT_EQ(TextFileNameFor("/old.docs/report"), "/old.txt");
    EXPECT_EQ(TextFileNameFor("a.b.pdf"), "a.b.txt");
    EXPECT_EQ(TextFileNameFor("notes.txt"), "notes.txt");
}

class ConversionTest : public ::testing::Test {
  protected:
    ConversionResult Convert(const std::string& pdf, const std::string& name = "in.pdf") {
        input = dir.Write(name, pdf);
        output = TextFileNameFor(input);
        return ConvertPdfFileToText(input, output, options, nullptr, nullptr);
    }
    // One page whose root has the given /Count entry.
    static std::string Counted(const std::string& count) {
        std::vector<std::string> objects =
            test::SimpleDocument({"BT /F1 10 Tf (A) Tj ET"}, kCourierResources);
        objects[1] = "<< /Type /Pages /Kids [3 0 R] " + count + " >>";
        return PdfBuilder(objects, "/Root 1 0 R").Build();
    }
    test::TempDir dir;
    std::string input, output;
    ConversionOptions options = [] {
        ConversionOptions ascii;
        ascii.codePage = CodePage::Ascii();
        return ascii;
    }();
};

TEST_F(ConversionTest, FileFormat) {
    // Page 2 has no text; "%" is written as it is.
    ConversionResult result =
        Convert(PdfBuilder(test::SimpleDocument({"BT /F1 10 Tf 72 700 Td (Hello 100%) Tj ET", "",
                                                 "BT /F1 10 Tf 72 700 Td (End) Tj ET"},
                                                kCourierResources),
                           "/Root 1 0 R")
                    .Build());
    ASSERT_EQ(result.status, ConversionStatus::Converted);
    EXPECT_EQ(ConversionMessage(result), "3 pages converted successfully into file " + output);
    EXPECT_EQ(ReadFileBytes(output),
              "------------------------ Page 1 -----------------------\r\n\r\nHello 100% \r\n\r\n"
              "------------------------ Page 2 -----------------------\r\n\r\n\r\n"
              "------------------------ Page 3 -----------------------\r\n\r\nEnd \r\n\r\n");
}

TEST_F(ConversionTest, CountsAsWritten) {
    // A /Count far beyond the one page: the page is written and the
    // conversion ends at once, reporting the count as written.
    for (auto [count, pages, written] :
         {std::tuple{"", "0", 0}, {"/Count -3", "-3", 0}, {"/Count 2147483647", "2147483647", 1}}) {
        ConversionResult result = Convert(Counted(count));
        EXPECT_EQ(ConversionMessage(result),
                  std::string(pages) + " pages converted successfully into file " + output);
        EXPECT_EQ(result.pagesWritten, written);
        EXPECT_TRUE(std::filesystem::exists(output));
        EXPECT_EQ(ReadFileBytes(output).empty(), written == 0);
    }
}

TEST_F(ConversionTest, EarlyFailuresCreateNothing) {
    // The application's messages, and the detailed ones of the command line.
    const std::vector<std::tuple<std::string, ConversionStatus, std::string, std::string>> cases = {
        {"not a pdf", ConversionStatus::OpenFailed, "Could not parse the PDF file.",
         "Not a PDF file."},
        {std::string(kPdfSignatureWindow - 5, ' ') + "%PDF-1.4 damaged",
         ConversionStatus::OpenFailed, "Could not parse the PDF file.",
         "Could not parse the PDF file."},
        {PdfBuilder({"<< /Type /Catalog >>"}, "").Build(), ConversionStatus::NoCatalog,
         "Could not find catalog.", "Could not find catalog."},
        {PdfBuilder({"<< /Type /Catalog >>"}, "/Root 1 0 R").Build(), ConversionStatus::NoPages,
         "Could not find pages.", "Could not find pages."},
    };
    for (const auto& [pdf, status, message, detailed] : cases) {
        ConversionResult result = Convert(pdf, "early.pdf");
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(ConversionMessage(result), message);
        EXPECT_EQ(DetailedConversionMessage(result), detailed);
        EXPECT_FALSE(std::filesystem::exists(output));
        dir.Write("early.txt", "keep me");
        Convert(pdf, "early.pdf");
        EXPECT_EQ(ReadFileBytes(output), "keep me");  // an existing text file isn't touched
        std::filesystem::remove(output);
    }
    // Files that can't be read give the system's reason.
    const std::pair<std::string, std::string> unreadable[] = {
        {(dir.path / "missing.pdf").string(), "No such file or directory"},
        {dir.path.string(), "Is a directory"},
    };
    for (const auto& [path, reason] : unreadable) {
        ConversionResult result = ConvertPdfFileToText(path, output, {}, nullptr, nullptr);
        EXPECT_EQ(ConversionMessage(result), "Could not parse the PDF file.");
        EXPECT_EQ(DetailedConversionMessage(result), reason);
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

// A sink that keeps the text.
struct StringOutput final : TextOutput {
    bool Open() override { return true; }
    bool Write(std::string_view bytes) override {
        text += bytes;
        return true;
    }
    bool Close() override { return true; }
    void Discard() override {}
    std::string text;
};

// Pages 2 and 3 of three, in two columns, so that the order shows as well.
TEST(TextFileConversion, FormsOfTheText) {
    const std::string pdf = test::CorpusPath("libreoffice/lo-columns.pdf");
    test::TestDocument document;
    ASSERT_TRUE(document.Open(ReadFileBytes(pdf)));
    for (TextOrder order : {TextOrder::Layout, TextOrder::Reading}) {
        std::vector<std::vector<std::string>> pages(3);
        for (std::size_t i = 1; i < pages.size(); ++i) {
            ObjectHandle page = document.Store().GetPage(static_cast<std::int32_t>(i));
            ExtractPageText(pages[i], document.Store(), AsDictionary(page.get()), kDefaultLineWidth,
                            CodePage::Utf8(), order);
        }
        for (LineEnd lineEnd : {LineEnd::Dos, LineEnd::Unix}) {
            const std::string end = lineEnd == LineEnd::Dos ? "\r\n" : "\n";
            for (PageBreak pageBreak : {PageBreak::Header, PageBreak::FormFeed, PageBreak::None}) {
                std::string expected;
                for (std::size_t i = 1; i < pages.size(); ++i) {
                    if (pageBreak == PageBreak::Header) {
                        expected += "------------------------ Page " + std::to_string(i + 1) +
                                    " -----------------------" + end + end;
                    }
                    for (const std::string& line : pages[i])
                        expected += line + end;
                    expected += pageBreak == PageBreak::Header     ? end
                                : pageBreak == PageBreak::FormFeed ? "\f"
                                                                   : "";
                }
                ConversionOptions options;
                options.codePage = CodePage::Utf8();
                options.firstPage = 2;
                options.lineEnd = lineEnd;
                options.pageBreak = pageBreak;
                options.order = order;
                StringOutput output;
                ConvertPdfToText(pdf, output, options, nullptr, nullptr);
                EXPECT_EQ(output.text, expected);
            }
        }
    }
    ConversionOptions beyond;
    beyond.firstPage = 4;
    StringOutput output;
    EXPECT_EQ(ConvertPdfToText(pdf, output, beyond, nullptr, nullptr).pagesWritten, 0);
    EXPECT_EQ(output.text, "");
}

TEST_F(ConversionTest, OutputFailures) {
    const std::string pdf = Counted("/Count 1");
    // The input's own name as output: refused, the input stays.
    EXPECT_EQ(Convert(pdf, "input.txt").status, ConversionStatus::OutputIsInput);
    EXPECT_EQ(ReadFileBytes(input), pdf);

    input = dir.Write("in.pdf", pdf);
    ConversionResult result = ConvertPdfFileToText(
        input, (dir.path / "no-such-folder" / "out.txt").string(), {}, nullptr, nullptr);
    EXPECT_EQ(ConversionMessage(result), "Could not open the file for writting.");
    if (std::filesystem::exists("/dev/full")) {
        result = ConvertPdfFileToText(input, "/dev/full", {}, nullptr, nullptr);
        EXPECT_EQ(result.status, ConversionStatus::WriteFailed);
        EXPECT_EQ(ConversionMessage(result), "Could not write the file.");
        EXPECT_TRUE(std::filesystem::exists("/dev/full"));
    }
}

}  // namespace
}  // namespace tessary
