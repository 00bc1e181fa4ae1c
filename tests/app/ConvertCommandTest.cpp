#include "app/ConvertCommand.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "UserInterfaceRecorder.h"
#include "platform/SystemCodePage.h"
#include "support/PdfBuilder.h"
#include "support/TestSupport.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

using test::PdfBuilder;

const char* kFont =
    "/Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> >>";

class ConvertCommand : public ::testing::Test {
  protected:
    // Runs the command on a file of these bytes; the one message it shows.
    QString Convert(const std::string& name, const std::string& bytes) {
        input = dir.Write(name, bytes);
        return ConvertPath(input);
    }
    QString ConvertPath(const std::string& path) {
        ui.openPath = QString::fromStdString(path);
        ui.messages.clear();
        ConvertPdfFile(nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is off again
        EXPECT_EQ(ui.messages.size(), 1u);
        if (ui.messages.empty()) {
            return {};
        }
        const test::RecordedMessage& message = ui.messages.back();
        EXPECT_EQ(message.caption, "Tessary");
        EXPECT_EQ(message.icon, MessageIcon::None);
        EXPECT_NE(message.cursor, std::optional(Qt::WaitCursor));  // busy cursor off for the box
        return message.text;
    }
    std::string Output() const { return TextFileNameFor(input); }

    test::TempDir dir;
    test::UserInterfaceRecorder ui;
    std::string input;
};

TEST_F(ConvertCommand, CancelAndEarlyFailuresCreateNothing) {
    ConvertPdfFile(nullptr);  // the open dialog cancelled
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].first, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|");
    EXPECT_EQ(ui.openRequests[0].second, "pdf");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path));

    std::vector<std::string> objects = test::SimpleDocument({"BT ET"});
    const std::string noCatalog = PdfBuilder(objects, "").Build();
    objects[0] = "<< /Type /Catalog >>";
    const std::pair<std::string, QString> failures[] = {
        {"", "Could not parse the PDF file."},  // no such file
        {"not a PDF file", "Could not parse the PDF file."},
        {noCatalog, "Could not find catalog."},
        {PdfBuilder(objects, "/Root 1 0 R").Build(), "Could not find pages."},
    };
    for (const auto& [bytes, message] : failures) {
        input = (dir.path / "input.pdf").string();
        EXPECT_EQ(bytes.empty() ? ConvertPath(input) : Convert("input.pdf", bytes), message);
        EXPECT_FALSE(std::filesystem::exists(Output())) << message.toStdString();
    }
}

TEST_F(ConvertCommand, OutputProblems) {
    const std::string pdf =
        PdfBuilder(test::SimpleDocument({"BT /F1 10 Tf (A) Tj ET"}, kFont), "/Root 1 0 R").Build();

    // A folder in the text file's place.
    std::filesystem::create_directory(dir.path / "blocked.txt");
    EXPECT_EQ(Convert("blocked.pdf", pdf), "Could not open the file for writting.");

    // A PDF file named *.txt would be its own output: refused, left intact.
    const QString message = Convert("named.txt", pdf);
    EXPECT_TRUE(message.startsWith("The text file would replace the PDF file itself"));
    EXPECT_EQ(test::ReadFileBytes(input), pdf);
}

TEST_F(ConvertCommand, ConvertsLikeTheCore) {
    std::vector<std::string> objects = test::SimpleDocument(
        {"BT /F1 10 Tf 72 700 Td (Caf\xE9 100%) Tj ET", "BT /F1 10 Tf 72 700 Td (Two) Tj ET"},
        kFont);
    objects[1] = "<< /Type /Pages /Kids [3 0 R 5 0 R] /Count 3 >>";  // one page missing
    const std::string pdf = PdfBuilder(objects, "/Root 1 0 R").Build();
    const QString message = Convert("doc.pdf", pdf);
    EXPECT_EQ(message,
              QString::fromStdString("3 pages converted successfully into file " + Output()));

    // The core conversion's bytes at the default width in the system's code page.
    const std::string reference = (dir.path / "reference.txt").string();
    ConversionOptions options;
    options.codePage = GetSystemCodePage();
    ASSERT_EQ(ConvertPdfFileToText(input, reference, options, nullptr, nullptr).status,
              ConversionStatus::Converted);
    const std::string written = test::ReadFileBytes(Output());
    EXPECT_EQ(written, test::ReadFileBytes(reference));
    EXPECT_NE(written.find("Page 2 -"), std::string::npos);
    EXPECT_EQ(written.find("Page 3 -"), std::string::npos);

    // An existing text file is replaced without a question.
    EXPECT_EQ(Convert("doc.pdf", pdf).left(1), "3");
    EXPECT_EQ(test::ReadFileBytes(Output()), written);
}

}  // namespace
}  // namespace tessary
