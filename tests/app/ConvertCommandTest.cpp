// The Convert command's wiring: the file dialog, the busy cursor, the
// password dialog, the core's conversion in the system's code page, and every
// message in its box, on a file encrypted with 40-bit RC4 (user password "user").
#include "app/ConvertCommand.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <filesystem>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/PasswordDialog.h"
#include "platform/SystemCodePage.h"
#include "support/TestSupport.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

using test::ModalScript;

TEST(ConvertCommand, DialogsMessagesAndTheCoresText) {
    test::TempDir dir;
    const std::filesystem::path input = dir.path / "locked.pdf";
    const std::filesystem::path output = dir.path / "locked.txt";
    std::filesystem::copy_file(test::CorpusPath("qpdf/lo-prose--rc4-40.pdf"), input);
    test::UserInterfaceRecorder ui;
    ConvertPdfFile(nullptr);  // the open dialog cancelled
    EXPECT_EQ(ui.openRequests, (std::vector<std::pair<QString, QString>>{
                                   {"PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|", "pdf"}}));
    std::vector<std::string> log;
    ui.onMessage = [&log](const test::RecordedMessage& message) {
        log.push_back(message.caption.toStdString() + ": " + message.text.toStdString());
    };
    ui.openPath = QString::fromStdString((dir.path / "missing.pdf").string());
    ConvertPdfFile(nullptr);  // no system reason in the box
    EXPECT_EQ(log, std::vector<std::string>{"Tessary: Could not parse the PDF file."});
    log.clear();

    auto answer = [&log](const char* password) {
        return [&log, password](QWidget* dialog) {
            log.push_back("dialog");
            EXPECT_TRUE(FindControl<QLineEdit>(*dialog, kPasswordBox)->text().isEmpty());
            // The command is busy, but the dialog shows the normal cursor.
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            test::SetText(dialog, kPasswordBox, password);
            test::PressKey(dialog, Qt::Key_Return);
        };
    };
    ui.openPath = QString::fromStdString(input.string());
    ui.messages.clear();
    {
        ModalScript script;
        script.Then(answer("wrong")).Then(answer("user"));
        ConvertPdfFile(nullptr);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(log, (std::vector<std::string>{
                       "dialog",
                       "app_tests: Invalid password. Please input again.",
                       "dialog",
                       "Tessary: 4 pages converted successfully into file " + output.string(),
                   }));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].cursor, std::optional(Qt::ArrowCursor));
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
    EXPECT_NE(ui.messages[1].cursor, std::optional(Qt::WaitCursor));  // busy cursor off for the box
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const std::string reference = (dir.path / "reference.txt").string();
    ConversionOptions options;
    options.codePage = GetSystemCodePage();
    test::Prompter prompter{{"user"}, {}};
    ConvertPdfFileToText(input.string(), reference, options, &test::Prompter::Callback, &prompter);
    EXPECT_EQ(test::ReadFileBytes(output), test::ReadFileBytes(reference));

    std::filesystem::remove(output);
    log.clear();
    ModalScript cancel;
    cancel.Then([](QWidget* d) { FindControl<QPushButton>(*d, kCancelButton)->click(); });
    ConvertPdfFile(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"Tessary: Could not parse the PDF file."}));
    EXPECT_TRUE(cancel.Done());
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace tessary
