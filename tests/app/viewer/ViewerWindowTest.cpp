#include "app/ViewerWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QTest>

#include "ModalScript.h"
#include "ViewerTestSupport.h"
#include "app/NumberBox.h"

namespace tessary {
namespace {

using test::Control;
using ViewerTest = test::ViewerFixture;
const QString kCannotLoad = "Could not load content of PDF page.";

TEST_F(ViewerTest, OpensOnTheFirstPageAndStaysInsideTheDocument) {
    OpenProse();
    EXPECT_EQ(Control<QLabel>(*viewer, "1016")->text(), "Total pages: 4");
    EXPECT_EQ(Box("1010").text() + " " + Box("1017").text(), "1 78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 78));
    EXPECT_FALSE(TextBox().isReadOnly());
    EXPECT_EQ(TextBox().lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(TextBox().font()).fixedPitch());
    EXPECT_EQ(test::TabOrder(&Box("1010")),
              (std::vector<std::string>{"1010", "1011", "1012", "1013", "2", "1017", "1018", "1019",
                                        "1020", "1023"}));

    EXPECT_FALSE(Button("1012").isEnabled());
    EXPECT_TRUE(Button("1013").isEnabled());
    Button("1013").click();
    EXPECT_TRUE(Button("1012").isEnabled());
    Button("1013").click();
    Button("1013").click();
    EXPECT_EQ(Box("1010").text(), "4");
    EXPECT_FALSE(Button("1013").isEnabled());
    EXPECT_EQ(TextBox().GetPageText(), Expected(3, 78));
    viewer->ShowNextPage();
    EXPECT_EQ(viewer->GetCurrentPage(), 3);

    OpenPages({"Only"});
    EXPECT_FALSE(Button("1012").isEnabled() || Button("1013").isEnabled());
    viewer->ShowPreviousPage();
    viewer->ShowNextPage();
    EXPECT_EQ(viewer->GetCurrentPage(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ViewerTest, GoReadsTheBoxes) {
    OpenProse();
    Press("1011", " \t004\t");
    EXPECT_EQ(viewer->GetCurrentPage(), 3);
    for (const char* outside : {"0", "5", "4294967295"}) {
        Press("1011", outside);
        EXPECT_EQ(ui.Take(), QStringList{"Page number out of range."}) << outside;
        EXPECT_EQ(Box("1010").text(), "4");
    }
    // Not a number: the message, then the page the box held before.
    for (const char* text : {"", " ", "-1", "+1", "1 2", "2a", "4294967296", "\xd9\xa3"}) {
        Press("1011", QString::fromUtf8(text));
        EXPECT_EQ(ui.Take(), QStringList{kPositiveIntegerMessage}) << text;
        EXPECT_EQ(Box("1010").text(), "4");
    }
    Press("1011", "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, ApplicationName());
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    ui.Take();

    // The width is read first; when it fails, the page number isn't read.
    Press("1011", "2", "x");
    EXPECT_EQ(ui.Take(), QStringList{kPositiveIntegerMessage});
    EXPECT_EQ(viewer->GetCurrentPage(), 3);
    EXPECT_EQ(Box("1017").text(), "78");
}

TEST_F(ViewerTest, EditsAreKeptUntilRegenerate) {
    OpenProse();
    Press("1011", "3");
    TextBox().setPlainText("edited\nsecond");
    Button("1013").click();
    Button("1012").click();
    EXPECT_EQ(TextBox().GetPageText(), "edited\r\nsecond");

    // Going to the page already shown keeps what the box holds.
    TextBox().appendPlainText("third");
    Press("1011", "3");
    EXPECT_EQ(TextBox().GetPageText(), "edited\r\nsecond\r\nthird");

    // Regenerate drops the edits even at the same width, for good; so does an empty box.
    Press("1018", "3", "78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
    for (int round = 0; round < 2; ++round) {
        Button("1013").click();
        Button("1012").click();
        EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
        TextBox().clear();
    }
}

TEST_F(ViewerTest, EachPageHasItsWidth) {
    OpenPages({"A|B", "C|D", "E|F"});
    Press("1011", "2");
    Press("1018", "2", "40");
    EXPECT_EQ(TextBox().GetPageText(), Expected(1, 40));
    EXPECT_NE(Expected(1, 40), Expected(1, 78));
    Button("1013").click();
    EXPECT_EQ(Box("1017").text(), "78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
    Button("1012").click();
    EXPECT_EQ(Box("1017").text(), "40");

    // 0 is passed on as it is; above the cap the width is refused.
    Press("1018", "2", "0");
    EXPECT_EQ(TextBox().GetPageText(), Expected(1, 0));
    Press("1018", "2", QString::number(kMaxLineWidth + 1));
    EXPECT_EQ(ui.Take(), QStringList{kPositiveIntegerMessage});
    EXPECT_EQ(viewer->GetPageTexts().GetWidth(1), 0);
    Press("1018", "2", QString::number(kMaxLineWidth));
    EXPECT_EQ(viewer->GetPageTexts().GetWidth(1), static_cast<std::int32_t>(kMaxLineWidth));
    // Entries only for what differs: page 2's width, the texts of pages 1 and 3.
    EXPECT_EQ(viewer->GetPageTexts().GetEntryCount(), 3u);
}

TEST_F(ViewerTest, NumberBoxesChooseTheDefaultButton) {
    OpenProse();
    for (const char* id : {"1011", "1012", "1013", "2", "1018", "1019", "1020"}) {
        EXPECT_FALSE(Button(id).autoDefault()) << id;
    }
    viewer->show();
    QApplication::setActiveWindow(viewer.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    EXPECT_EQ(QApplication::focusWidget(), &Box("1010"));
    EXPECT_TRUE(Button("1011").isDefault());
    Box("1017").setFocus();
    EXPECT_TRUE(Button("1018").isDefault());
    EXPECT_FALSE(Button("1011").isDefault());
    TextBox().setFocus();
    Button("2").setFocus();
    EXPECT_TRUE(Button("1018").isDefault());

    // Enter in the text box inserts a line break; in a number box it runs its command.
    TextBox().setFocus();
    TextBox().moveCursor(QTextCursor::End);
    QTest::keyClick(&TextBox(), Qt::Key_Return);
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 78) + "\r\n");
    Box("1017").setFocus();
    Box("1017").setText("40");
    QTest::keyClick(&Box("1017"), Qt::Key_Return);
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 40));
    Box("1010").setFocus();
    Box("1010").setText("3");
    QTest::keyClick(&Box("1010"), Qt::Key_Enter);
    EXPECT_EQ(viewer->GetCurrentPage(), 2);
}

TEST_F(ViewerTest, ResizingStretchesTheTextBoxAndMovesTheBottomRow) {
    OpenProse();
    viewer->show();  // the first size is only recorded
    const QSize first = viewer->size();
    const QList<QWidget*> controls = viewer->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::vector<QRect> before;
    for (QWidget* control : controls) {
        before.push_back(control->geometry());
    }
    viewer->resize(first + QSize(100, 50));
    const QStringList bottomRow = {"1021", "1017", "1018", "1019", "1020"};
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QString id = controls[i]->objectName();
        const QRect expected = id == "1023"             ? before[i].adjusted(0, 0, 100, 50)
                               : id == "2"              ? before[i].translated(100, 50)
                               : bottomRow.contains(id) ? before[i].translated(0, 50)
                                                        : before[i];
        EXPECT_EQ(controls[i]->geometry(), expected) << id.toStdString();
    }
    // Back to the first size after a detour below the controls' sizes.
    viewer->resize(60, 40);
    viewer->resize(first);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->geometry(), before[i]);
    }
}

TEST_F(ViewerTest, CopyPutsTheEditedTextOnTheClipboard) {
    OpenProse();
    TextBox().setPlainText(QString::fromUtf8("edited “page”\n\nlast"));
    Button("1019").click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("edited “page”\r\n\r\nlast"));
    EXPECT_EQ(TextBox().textCursor().selectedText().size(), TextBox().toPlainText().size());
}

TEST_F(ViewerTest, CountsThatDontMatchTheTree) {
    for (const char* count : {"/Count 0", "/Count -5"}) {
        OpenPages({"Never shown"}, count);
        EXPECT_EQ(Control<QLabel>(*viewer, "1016")->text(), "Total pages: 0");
        EXPECT_TRUE(TextBox().isReadOnly() && TextBox().toPlainText().isEmpty());
        for (const char* id : {"1010", "1011", "1012", "1013", "1017", "1018", "1020"}) {
            EXPECT_FALSE(Control(*viewer, id)->isEnabled()) << id;
        }
        EXPECT_TRUE(Button("1019").isEnabled());
        viewer->GoToPage();
        viewer->ShowNextPage();
        viewer->RegeneratePage();
        viewer->SavePageText();
        EXPECT_TRUE(ui.messages.empty()) << count;
    }

    // Two pages in a tree that claims 2,147,483,647.
    OpenPages({"First", "Second"}, "/Count 2147483647");
    EXPECT_EQ(Control<QLabel>(*viewer, "1016")->text(), "Total pages: 2147483647");
    Button("1013").click();
    Button("1013").click();
    Press("1011", "2147483647");
    EXPECT_EQ(ui.Take(), (QStringList{kCannotLoad, kCannotLoad}));
    EXPECT_EQ(viewer->GetCurrentPage(), 1);
    EXPECT_EQ(viewer->GetPageTexts().GetEntryCount(), 2u);

    // No page at all: the viewer opens read-only on no page.
    std::vector<std::string> objects = test::SimpleDocument({"BT ET"});
    objects[1] = "<< /Type /Pages /Kids [] /Count 3 >>";
    Open(dir.Write("nopage.pdf", test::PdfBuilder(objects, "/Root 1 0 R").Build()));
    EXPECT_EQ(ui.Take(), QStringList{kCannotLoad});
    EXPECT_TRUE(TextBox().isReadOnly());
    Button("1013").click();
    EXPECT_EQ(ui.Take(), QStringList{kCannotLoad});
    EXPECT_EQ(viewer->GetCurrentPage(), 0);
}

}  // namespace
}  // namespace tessary
