#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "ModalScript.h"
#include "UserInterfaceRecorder.h"
#include "app/DialogUnits.h"
#include "app/StartupCommandLine.h"
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
    QWidget* close = FindControl<QPushButton>(window, kCloseButton);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(window.focusWidget(), close);
    EXPECT_EQ(test::TabOrder(close),
              (std::vector<int>{kCloseButton, kViewButton, kAboutButton, kConvertButton}));
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
        auto* ok = FindControl<QPushButton>(*dialog, kOkButton);
        seen.push_back({dialog->metaObject()->className(), dialog->windowTitle(),
                        LabelText(dialog, "versionLabel"),
                        ok != nullptr && ok->isDefault() ? "OK default" : "no default"});
        test::PressKey(dialog, Qt::Key_Return);
    };
    ModalScript script;
    script.Then(record).Then(record);
    FindControl<QPushButton>(window, kAboutButton)->setFocus();
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

TEST(StartupCommandLine, OneFileHelpVersionAndMistakes) {
    using Action = StartupCommandLine::Action;
    const std::tuple<std::vector<std::string>, Action, std::string> cases[] = {
        {{}, Action::Run, ""},
        {{"a.pdf"}, Action::Run, "a.pdf"},
        {{"--", "-a.pdf"}, Action::Run, "-a.pdf"},
        {{"--help", "-x"}, Action::ShowHelp, ""},
        {{"-V"}, Action::ShowVersion, ""},
        {{"-x", "--help"}, Action::UsageError, "unknown option -x"},
        {{"a.pdf", "b.pdf"},
         Action::UsageError,
         "one PDF file at a time, not two: a.pdf and b.pdf"},
    };
    for (const auto& [arguments, action, text] : cases) {
        const StartupCommandLine parsed = ParseStartupCommandLine(arguments);
        EXPECT_EQ(parsed.action, action) << text;
        EXPECT_EQ(action == Action::UsageError ? parsed.error : parsed.file, text);
    }
}

// View asks for a file and says in a box what it can't show; a file named on
// the command line or dropped on the window opens in the viewer once the
// window is up, as View opens it.
TEST(ViewCommand, FromTheDialogTheCommandLineOrADrop) {
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
    QStringList viewers;
    auto close = [&viewers](QWidget* dialog) {
        viewers << dialog->metaObject()->className() << dialog->windowTitle()
                << FindControl<QLabel>(*dialog, kTotalPagesLabel)->text();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        qobject_cast<QDialog*>(dialog)->reject();
    };
    script.Then(close).Then(close).Then(close);
    for (const auto& [path, message] : cases) {
        ui.openPath = QString::fromStdString(path);
        ViewPdfFile(nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        for (const test::RecordedMessage& shown : ui.messages) {
            EXPECT_TRUE(shown.caption == "Tessary" && shown.icon == MessageIcon::None);
        }
        EXPECT_EQ(ui.Take(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    MainWindow window;
    window.show();
    const QString oldFolder = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path.string()));
    window.ViewSoon("c.pdf");  // relative, as typed
    QDir::setCurrent(oldFolder);
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewers.size() == 6; }));
    auto drop = [&window](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
            QApplication::sendEvent(&window, &dropped);
        }
        return enter.isAccepted();
    };
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(complete));
    EXPECT_FALSE(drop({file, file}));
    EXPECT_FALSE(drop({QUrl("https://example.org/c.pdf")}));
    EXPECT_TRUE(drop({file}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewers.size() == 9; }));
    const QStringList viewer = {"tessary::ViewerWindow",
                                "View PDF Text: " + QString::fromStdString(complete),
                                "Total pages: 2"};
    EXPECT_EQ(viewers, viewer + viewer + viewer);
    EXPECT_TRUE(script.Done());
}

TEST(UserInterface, MessageBoxesUseTheDialogFont) {
    test::ModalScript script;
    QFont font;
    script.Then([&font](QWidget* box) {
        font = box->font();
        qobject_cast<QDialog*>(box)->accept();
    });
    ShowMessage(nullptr, "Page number out of range.", "tessary");
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(font.family(), DialogFont().family());
    EXPECT_EQ(font.pointSize(), DialogFont().pointSize());
}

}  // namespace
}  // namespace tessary
