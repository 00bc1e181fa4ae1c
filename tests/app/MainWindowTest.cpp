#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/DialogUnits.h"
#include "app/ViewCommand.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::ModalScript;

QString LabelText(QWidget* window, const char* name) {
    QLabel* label = window->findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString("(no label %1)").arg(name);
}

TEST(MainWindow, Layout) {
    MainWindow window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Tessary");
    const DialogUnits units(DialogFont());
    EXPECT_EQ(window.size(), units.ToPixels(291, 151));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.windowIcon().isNull());

    QWidget* close = window.findChild<QPushButton*>("2");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(window.focusWidget(), close);
    EXPECT_EQ(test::TabOrder(close), (std::vector<std::string>{"2", "1001", "1034", "1002"}));
    // No default button, not even after showing (Qt would otherwise promote
    // the first auto-default button).
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
    // The label beside Convert ends with a blank.
    EXPECT_EQ(LabelText(&window, "convertLabel"),
              "Automatically convert all pages in a PDF file and write to a text file with same "
              "name (but the file type becomes \".txt\") ");
}

// Enter right after start-up presses the focused "Close"; Esc ends the window too.
TEST(MainWindow, EnterAndEscapeEndIt) {
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        MainWindow window;
        ModalScript script;
        script.Then([key](QWidget* dialog) { test::PressKey(dialog, key); });
        EXPECT_EQ(window.exec(), QDialog::Rejected);
        EXPECT_TRUE(script.Unexpected().empty());
    }
    // Enter on another focused button presses that one instead.
    MainWindow window;
    ModalScript script;
    QString about;
    script
        .Then([](QWidget* dialog) {
            dialog->findChild<QPushButton*>("1034")->setFocus();
            test::PressKey(dialog, Qt::Key_Enter);
        })
        .Then([&about](QWidget* dialog) {
            about = dialog->windowTitle();
            dialog->close();
        })
        .Then([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    window.exec();
    EXPECT_EQ(about, "About Tessary");
}

// The About button and the context menu's About entry open the same box.
TEST(MainWindow, About) {
    MainWindow window;
    window.show();
    std::vector<QStringList> seen;
    auto record = [&seen](QWidget* dialog) {
        auto* ok = dialog->findChild<QPushButton*>("1");
        seen.push_back({dialog->metaObject()->className(), dialog->windowTitle(),
                        LabelText(dialog, "versionLabel"), LabelText(dialog, "descriptionLabel"),
                        ok != nullptr && ok->isDefault() ? "OK default" : "no default"});
        test::PressKey(dialog, Qt::Key_Return);
    };
    ModalScript script;
    script.Then(record).Then(record);

    window.findChild<QPushButton*>("1034")->click();
    const std::unique_ptr<QMenu> menu = window.CreateContextMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions.back()->text(), "&About Tessary...");
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    actions.back()->trigger();

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0][0], "tessary::AboutDialog");
    EXPECT_EQ(seen[0][1], "About Tessary");
    EXPECT_EQ(seen[0][2], "Tessary  1.0 (Build 0403)");
    EXPECT_TRUE(seen[0][3].endsWith('.'));
    EXPECT_EQ(seen[0][4], "OK default");
    EXPECT_EQ(window.contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST(ViewCommand, FailuresAndViewer) {
    test::TempDir dir;
    test::UserInterfaceRecorder ui;
    auto view = [&](const std::string& path) {
        ui.openPath = QString::fromStdString(path);
        ui.messages.clear();
        ViewPdfFile(nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        for (const test::RecordedMessage& message : ui.messages) {
            EXPECT_EQ(message.caption, "Tessary");
            EXPECT_EQ(message.icon, MessageIcon::None);
        }
        return ui.messages.empty() ? QString() : ui.messages.back().text;
    };

    ui.openPath.clear();
    ViewPdfFile(nullptr);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].first, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|");
    EXPECT_EQ(ui.openRequests[0].second, "pdf");

    EXPECT_EQ(view((dir.Path() / "missing.pdf").string()), "Could not parse the PDF file.");
    std::vector<std::string> objects = test::SimpleDocument({"BT ET", "BT ET"});
    EXPECT_EQ(view(dir.Write("a.pdf", test::PdfBuilder(objects, "").Build())),
              "Could not find catalog.");
    const std::string complete = test::PdfBuilder(objects, "/Root 1 0 R").Build();
    objects[0] = "<< /Type /Catalog >>";
    EXPECT_EQ(view(dir.Write("b.pdf", test::PdfBuilder(objects, "/Root 1 0 R").Build())),
              "Could not find pages.");

    // A readable file opens the viewer with its path and /Count; closing it
    // ends the command quietly.
    ModalScript script;
    QStringList viewer;
    script.Then([&viewer](QWidget* dialog) {
        viewer << dialog->metaObject()->className() << dialog->windowTitle()
               << LabelText(dialog, "1016");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    const std::string path = dir.Write("c.pdf", complete);
    EXPECT_EQ(view(path), QString());
    EXPECT_EQ(viewer,
              (QStringList{"tessary::ViewerWindow",
                           "View PDF Text: " + QString::fromStdString(path), "Total pages: 2"}));
}

}  // namespace
}  // namespace tessary
