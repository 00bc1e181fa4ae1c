// The Convert command's wiring: the file dialog, the busy cursor, the core's
// conversion in the system's code page, and its message in a box.
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

TEST(ConvertCommand, ConvertsLikeTheCoreAndSaysSo) {
    test::TempDir dir;
    test::UserInterfaceRecorder ui;
    ConvertPdfFile(nullptr);  // the open dialog cancelled
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].first, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|");
    EXPECT_EQ(ui.openRequests[0].second, "pdf");
    EXPECT_TRUE(ui.messages.empty());

    const std::string pdf = dir.Write(
        "doc.pdf",
        test::PdfBuilder(test::SimpleDocument({"BT /F1 10 Tf 72 700 Td (Caf\xE9 100%) Tj ET"},
                                              "/Resources << /Font << /F1 << /Type /Font /Subtype "
                                              "/Type1 /BaseFont /Courier >> >> >>"),
                         "/Root 1 0 R")
            .Build());
    const std::string output = TextFileNameFor(pdf);
    const std::pair<std::string, std::string> cases[] = {
        {(dir.path / "missing.pdf").string(), "Could not parse the PDF file."},  // no system reason
        {pdf, "1 pages converted successfully into file " + output},
    };
    for (const auto& [path, message] : cases) {
        ui.openPath = QString::fromStdString(path);
        ConvertPdfFile(nullptr);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.toStdString(), message);
        EXPECT_EQ(ui.messages[0].caption, "Tessary");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
        EXPECT_NE(ui.messages[0].cursor,
                  std::optional(Qt::WaitCursor));  // busy cursor off for the box
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ui.messages.clear();
    }
    const std::string reference = (dir.path / "reference.txt").string();
    ConversionOptions options;
    options.codePage = GetSystemCodePage();
    ConvertPdfFileToText(pdf, reference, options, nullptr, nullptr);
    EXPECT_EQ(test::ReadFileBytes(output), test::ReadFileBytes(reference));
}

}  // namespace
}  // namespace tessary
