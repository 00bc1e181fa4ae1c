#include "app/PasswordPrompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/ConvertCommand.h"
#include "app/PasswordDialog.h"
#include "pdf/PdfDocument.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::ModalScript;

TEST(PasswordDialog, Layout) {
    PasswordDialog dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Document Password");
    auto* ok = dialog.findChild<QPushButton*>("1");
    auto* cancel = dialog.findChild<QPushButton*>("2");
    auto* box = dialog.findChild<QLineEdit*>("1022");
    ASSERT_TRUE(ok && cancel && box);
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(box->text().isEmpty());
    // OK is the one default button, first in tab order and focused at open.
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_FALSE(cancel->autoDefault());
    EXPECT_EQ(dialog.focusWidget(), ok);
    EXPECT_EQ(test::TabOrder(ok), (std::vector<std::string>{"1", "2", "1022"}));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

// Runs the prompt's password request with one scripted answer.
struct PromptOutcome {
    int result;
    std::string argument;
};
PromptOutcome AskWith(ModalScript::Step answer) {
    ModalScript script;
    script.Then(std::move(answer));
    std::string argument = "before";
    const int result = PasswordPrompt(nullptr, kAskPassword, argument);
    EXPECT_EQ(script.PendingSteps(), 0u);
    EXPECT_TRUE(script.Unexpected().empty());
    return {result, argument};
}

TEST(PasswordPrompt, AskPassword) {
    // Enter as soon as the dialog opens presses OK: the empty password.
    PromptOutcome enter = AskWith([](QWidget* dialog) { test::PressKey(dialog, Qt::Key_Return); });
    EXPECT_EQ(enter.result, 1);
    EXPECT_EQ(enter.argument, "");

    // Enter in the password box presses the default button too.
    PromptOutcome typed = AskWith([](QWidget* dialog) {
        auto* box = dialog->findChild<QLineEdit*>("1022");
        box->setFocus();
        box->setText("user");
        test::PressKey(dialog, Qt::Key_Enter);
    });
    EXPECT_EQ(typed.result, 1);
    EXPECT_EQ(typed.argument, "user");

    // Cancel, Esc and the close box leave the string alone.
    for (const ModalScript::Step& step : std::vector<ModalScript::Step>{
             [](QWidget* dialog) {
                 test::SetText(dialog, "1022", "typed");
                 test::ClickButton(dialog, "2");
             },
             [](QWidget* dialog) { test::PressKey(dialog, Qt::Key_Escape); },
             [](QWidget* dialog) { dialog->close(); },
         }) {
        PromptOutcome cancelled = AskWith(step);
        EXPECT_EQ(cancelled.result, 0);
        EXPECT_EQ(cancelled.argument, "before");
    }

    // Enter on a focused Cancel presses Cancel, as in any dialog here.
    PromptOutcome onCancel = AskWith([](QWidget* dialog) {
        dialog->findChild<QPushButton*>("2")->setFocus();
        test::PressKey(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(onCancel.result, 0);
}

TEST(PasswordPrompt, MessagesAndOtherKinds) {
    test::UserInterfaceRecorder ui;
    std::string text = "This document is encrypted by non-stardard handler.";
    EXPECT_EQ(PasswordPrompt(nullptr, kShowMessage, text), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QString::fromStdString(text));
    EXPECT_EQ(ui.messages[0].caption, "app_tests");  // the program file's base name
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);

    std::string untouched = "x";
    EXPECT_EQ(PasswordPrompt(nullptr, 0, untouched), 0);
    EXPECT_EQ(PasswordPrompt(nullptr, 3, untouched), 0);
    EXPECT_EQ(untouched, "x");
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(PasswordPrompt, PasswordBytes) {
    EXPECT_EQ(PasswordBytes("user"), "user");
    EXPECT_EQ(PasswordBytes(""), "");
    EXPECT_EQ(PasswordBytes(QString::fromUtf8("caf\u00e9\u00ff")), "caf\xE9\xFF");  // Latin-1
    // A character beyond Latin-1 makes the whole password UTF-8.
    EXPECT_EQ(PasswordBytes(QString::fromUtf8("\u00e9\u03a9")), "\xC3\xA9\xCE\xA9");
}

// The whole password loop through the Convert command, on a file encrypted
// with 40-bit RC4 (user password "user"): every dialog and message in order.
class PasswordLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string source = std::string(TESSARY_CORPUS_DIR) + "/qpdf/lo-prose--rc4-40.pdf";
        input = dir.Path() / "locked.pdf";
        std::filesystem::copy_file(source, input);
        ui.openPath = QString::fromStdString(input.string());
        ui.onMessage = [this](const test::RecordedMessage& message) {
            log.push_back("message " + message.caption.toStdString() + ": " +
                          message.text.toStdString());
        };
    }
    ModalScript::Step Answer(const QString& password) {
        return [this, password](QWidget* dialog) {
            log.push_back("dialog");
            EXPECT_TRUE(dialog->findChild<QLineEdit*>("1022")->text().isEmpty());
            // The command is busy, but the dialog shows the normal cursor.
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
            test::SetText(dialog, "1022", password);
            test::PressKey(dialog, Qt::Key_Return);
        };
    }

    test::TempDir dir;
    std::filesystem::path input;
    test::UserInterfaceRecorder ui;
    std::vector<std::string> log;
};

TEST_F(PasswordLoop, EmptyWrongThenRight) {
    ModalScript script;
    script.Then(Answer("")).Then(Answer("wrong")).Then(Answer("user"));
    ConvertPdfFile(nullptr);
    const std::string output = (dir.Path() / "locked.txt").string();
    EXPECT_EQ(log, (std::vector<std::string>{
                       "dialog",  // no message after the empty password
                       "dialog",
                       "message app_tests: Invalid password. Please input again.",
                       "dialog",
                       "message Tessary: 4 pages converted successfully into file " + output,
                   }));
    EXPECT_TRUE(script.Unexpected().empty());
    EXPECT_TRUE(std::filesystem::exists(output));
    EXPECT_EQ(ui.messages[0].cursor, std::optional(Qt::ArrowCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PasswordLoop, CancelFirstPrompt) {
    ModalScript script;
    script.Then([this](QWidget* dialog) {
        log.push_back("dialog");
        test::ClickButton(dialog, "2");
    });
    ConvertPdfFile(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"dialog",
                                             "message Tessary: Could not parse the PDF file."}));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "locked.txt"));
}

}  // namespace
}  // namespace tessary
