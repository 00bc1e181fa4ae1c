#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/ViewCommand.h"
#include "support/PdfBuilder.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::ModalScript;

QString LabelText(QWidget* window, const char* name) {
    QLabel* label = window->findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString("(no label %1)").arg(name);
}

TEST(MainWindow, CloseFocusedWithoutDefaultButton) {
    MainWindow window;
    window.show();
    EXPECT_FALSE(window.windowIcon().isNull());
    QWidget* close = window.findChild<QPushButton*>("2");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(window.focusWidget(), close);
    EXPECT_EQ(test::TabOrder(close), (std::vector<std::string>{"2", "1001", "1034", "1002"}));
    // Not even after showing (Qt would otherwise promote the first auto-default button).
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << button->objectName().toStdString();
    }
    // Enter right after start-up presses the focused "Close"; Esc ends the window too.
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        MainWindow modal;
        ModalScript script;
        script.Then([key](QWidget* dialog) { test::PressKey(dialog, key); });
        EXPECT_EQ(modal.exec(), QDialog::Rejected);
        EXPECT_TRUE(script.Done());
    }
}

// Enter on the focused About button and the context menu's last entry open the same box.
TEST(MainWindow, About) {
    MainWindow window;
    window.show();
    std::vector<QStringList> seen;
    auto record = [&seen](QWidget* dialog) {
        auto* ok = dialog->findChild<QPushButton*>("1");
        seen.push_back({dialog->metaObject()->className(), dialog->windowTitle(),
                        LabelText(dialog, "versionLabel"),
                        ok != nullptr && ok->isDefault() ? "OK default" : "no default"});
        test::PressKey(dialog, Qt::Key_Return);
    };
    ModalScript script;
    script.Then(record).Then(record);
    window.findChild<QPushButton*>("1034")->setFocus();
    test::PressKey(&window, Qt::Key_Enter);
    EXPECT_EQ(window.contextMenuPolicy(), Qt::CustomContextMenu);
    const std::unique_ptr<QMenu> menu = window.CreateContextMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions.back()->text(), "&About Tessary...");
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    actions.back()->trigger();

    const QStringList about = {"tessary::AboutDialog", "About Tessary", "Tessary  1.0 (Build 0403)",
                               "OK default"};
    EXPECT_EQ(seen, (std::vector<QStringList>{about, about}));
    EXPECT_TRUE(script.Done());
}

TEST(ViewCommand, FailuresAndViewer) {
    test::TempDir dir;
    test::UserInterfaceRecorder ui;
    std::vector<std::string> objects = test::SimpleDocument({"BT ET", "BT ET"});
    const std::string complete =
        dir.Write("c.pdf", test::PdfBuilder(objects, "/Root 1 0 R").Build());
    objects[0] = "<< /Type /Catalog >>";
    const std::pair<std::string, QString> cases[] = {
        {"", ""},  // the open dialog cancelled
        {(dir.path / "missing.pdf").string(), "Could not parse the PDF file."},
        {dir.Write("a.pdf", test::PdfBuilder(objects, "").Build()), "Could not find catalog."},
        {dir.Write("b.pdf", test::PdfBuilder(objects, "/Root 1 0 R").Build()),
         "Could not find pages."},
        {complete, ""},  // the viewer, closed at once: the command ends quietly
    };
    test::ModalScript script;
    QStringList viewer;
    script.Then([&viewer](QWidget* dialog) {
        viewer << dialog->metaObject()->className() << dialog->windowTitle()
               << LabelText(dialog, "1016");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    for (const auto& [path, message] : cases) {
        ui.openPath = QString::fromStdString(path);
        ViewPdfFile(nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        for (const test::RecordedMessage& shown : ui.messages) {
            EXPECT_TRUE(shown.caption == "Tessary" && shown.icon == MessageIcon::None);
        }
        EXPECT_EQ(ui.Take(), message.isEmpty() ? QStringList() : QStringList{message});
    }
    EXPECT_EQ(ui.openRequests[0].first, "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*|");
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(viewer, (QStringList{"tessary::ViewerWindow",
                                   "View PDF Text: " + QString::fromStdString(complete),
                                   "Total pages: 2"}));
}

}  // namespace
}  // namespace tessary
