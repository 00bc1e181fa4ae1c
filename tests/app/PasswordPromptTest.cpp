#include "app/PasswordPrompt.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/PasswordDialog.h"
#include "pdf/PdfDocument.h"

namespace tessary {
namespace {

using test::ModalScript;

TEST(PasswordDialog, MaskedBoxAndOkAsDefault) {
    PasswordDialog dialog(nullptr);
    dialog.show();
    auto* ok = FindControl<QPushButton>(dialog, kOkButton);
    auto* cancel = FindControl<QPushButton>(dialog, kCancelButton);
    auto* box = FindControl<QLineEdit>(dialog, kPasswordBox);
    ASSERT_TRUE(ok && cancel && box);
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault() || cancel->autoDefault());
    EXPECT_EQ(dialog.focusWidget(), ok);
    EXPECT_EQ(test::TabOrder(ok), (std::vector<int>{kOkButton, kCancelButton, kPasswordBox}));
}

TEST(PasswordPrompt, AskPassword) {
    auto focusAndPress = [](int id, const char* text, int key) {
        return [=](QWidget* dialog) {
            QWidget* control = FindControl(*dialog, id);
            control->setFocus();
            test::SetText(dialog, kPasswordBox, text);
            test::PressKey(dialog, key);
        };
    };
    const std::tuple<const char*, ModalScript::Step, int, std::string> cases[] = {
        {"Enter at once", [](QWidget* d) { test::PressKey(d, Qt::Key_Return); }, 1, ""},
        {"Enter in the box", focusAndPress(kPasswordBox, "user", Qt::Key_Enter), 1, "user"},
        {"Cancel", [](QWidget* d) { FindControl<QPushButton>(*d, kCancelButton)->click(); }, 0,
         "before"},
        {"Enter on Cancel", focusAndPress(kCancelButton, "typed", Qt::Key_Return), 0, "before"},
        {"Esc", focusAndPress(kPasswordBox, "typed", Qt::Key_Escape), 0, "before"},
        {"close box", [](QWidget* d) { d->close(); }, 0, "before"},
    };
    for (const auto& [what, step, result, expected] : cases) {
        ModalScript script;
        script.Then(step);
        std::string argument = "before";
        EXPECT_EQ(PasswordPrompt(nullptr, kAskPassword, argument), result) << what;
        EXPECT_EQ(argument, expected) << what;
        EXPECT_TRUE(script.Done()) << what;
    }
}

TEST(PasswordPrompt, MessagesOtherKindsAndBytes) {
    test::UserInterfaceRecorder ui;
    std::string text = "This document is encrypted by non-stardard handler.";
    EXPECT_EQ(PasswordPrompt(nullptr, kShowMessage, text), 0);
    std::string untouched = "x";
    EXPECT_EQ(PasswordPrompt(nullptr, 0, untouched), 0);
    EXPECT_EQ(PasswordPrompt(nullptr, 3, untouched), 0);
    EXPECT_EQ(untouched, "x");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QString::fromStdString(text));
    EXPECT_EQ(ui.messages[0].caption, "app_tests");  // the program file's base name
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);

    EXPECT_EQ(PasswordBytes(QString::fromUtf8("caf\u00e9\u00ff")), "caf\xE9\xFF");  // Latin-1
    // A character beyond Latin-1 makes the whole password UTF-8.
    EXPECT_EQ(PasswordBytes(QString::fromUtf8("\u00e9\u03a9")), "\xC3\xA9\xCE\xA9");
}

}  // namespace
}  // namespace tessary
