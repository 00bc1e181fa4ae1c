#include "app/ViewerWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QTest>

#include "ModalScript.h"
#include "ViewerTestSupport.h"
#include "app/NumberBox.h"
#include "text/TextLine.h"

namespace tessary {
namespace {

using ViewerTest = test::ViewerFixture;
const QString kCannotLoad = "Could not load content of PDF page.";

TEST_F(ViewerTest, OpensOnTheFirstPageAndStaysInsideTheDocument) {
    OpenProse();
    EXPECT_EQ(FindControl<QLabel>(*viewer, kTotalPagesLabel)->text(), "Total pages: 4");
    EXPECT_EQ(Box(kPageNumberBox).text() + " " + Box(kLineWidthBox).text(), "1 78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 78));
    EXPECT_FALSE(TextBox().isReadOnly());
    EXPECT_EQ(TextBox().lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(TextBox().font()).fixedPitch());
    // Labels stand centred on the boxes they name.
    EXPECT_EQ(FindControl(*viewer, kLineWidthLabel)->geometry().center().y(),
              Box(kLineWidthBox).geometry().center().y());
    EXPECT_EQ(test::TabOrder(&Box(kPageNumberBox)),
              (std::vector<int>{kPageNumberBox, kGoButton, kPrevPageButton, kNextPageButton,
                                kCloseButton, kLineWidthBox, kRegenerateButton, kCopyButton,
                                kSaveButton, kPageTextBox}));

    EXPECT_FALSE(Button(kPrevPageButton).isEnabled());
    EXPECT_TRUE(Button(kNextPageButton).isEnabled());
    Button(kNextPageButton).click();
    EXPECT_TRUE(Button(kPrevPageButton).isEnabled());
    Button(kNextPageButton).click();
    Button(kNextPageButton).click();
    EXPECT_EQ(Box(kPageNumberBox).text(), "4");
    EXPECT_FALSE(Button(kNextPageButton).isEnabled());
    EXPECT_EQ(TextBox().GetPageText(), Expected(3, 78));
    viewer->ShowNextPage();
    EXPECT_EQ(viewer->GetCurrentPage(), 3);

    OpenPages({"Only"});
    EXPECT_FALSE(Button(kPrevPageButton).isEnabled() || Button(kNextPageButton).isEnabled());
    viewer->ShowPreviousPage();
    viewer->ShowNextPage();
    EXPECT_EQ(viewer->GetCurrentPage(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ViewerTest, GoReadsTheBoxes) {
    OpenProse();
    Press(kGoButton, " \t004\t");
    EXPECT_EQ(viewer->GetCurrentPage(), 3);
    for (const char* outside : {"0", "5", "4294967295"}) {
        Press(kGoButton, outside);
        EXPECT_EQ(ui.Take(), QStringList{"Page number out of range."}) << outside;
        EXPECT_EQ(Box(kPageNumberBox).text(), "4");
    }
    // Not a number: the message, then the page the box held before.
    for (const char* text : {"", " ", "-1", "+1", "1 2", "2a", "4294967296", "\xd9\xa3"}) {
        Press(kGoButton, QString::fromUtf8(text));
        EXPECT_EQ(ui.Take(), QStringList{kPositiveIntegerMessage}) << text;
        EXPECT_EQ(Box(kPageNumberBox).text(), "4");
    }
    Press(kGoButton, "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, ApplicationName());
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    ui.Take();

    // The width is read first; when it fails, the page number isn't read.
    Press(kGoButton, "2", "x");
    EXPECT_EQ(ui.Take(), QStringList{kPositiveIntegerMessage});
    EXPECT_EQ(viewer->GetCurrentPage(), 3);
    EXPECT_EQ(Box(kLineWidthBox).text(), "78");
}

TEST_F(ViewerTest, EditsAreKeptUntilRegenerateAndCopied) {
    OpenProse();
    Press(kGoButton, "3");
    TextBox().setPlainText("edited\nsecond");
    Button(kNextPageButton).click();
    Button(kPrevPageButton).click();
    EXPECT_EQ(TextBox().GetPageText(), "edited\r\nsecond");

    // Going to the page already shown keeps what the box holds.
    TextBox().appendPlainText("third");
    Press(kGoButton, "3");
    EXPECT_EQ(TextBox().GetPageText(), "edited\r\nsecond\r\nthird");
    // Copy puts the edited text on the clipboard, selected in the box.
    Button(kCopyButton).click();
    EXPECT_EQ(QApplication::clipboard()->text(), "edited\r\nsecond\r\nthird");
    EXPECT_EQ(TextBox().textCursor().selectedText().size(), TextBox().toPlainText().size());

    // Regenerate drops the edits even at the same width, for good; so does an empty box.
    Press(kRegenerateButton, "3", "78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
    for (int round = 0; round < 2; ++round) {
        Button(kNextPageButton).click();
        Button(kPrevPageButton).click();
        EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
        TextBox().clear();
    }
}

TEST_F(ViewerTest, EachPageHasItsWidth) {
    OpenPages({"A|B", "C|D", "E|F"});
    Press(kGoButton, "2");
    Press(kRegenerateButton, "2", "40");
    EXPECT_EQ(TextBox().GetPageText(), Expected(1, 40));
    EXPECT_NE(Expected(1, 40), Expected(1, 78));
    Button(kNextPageButton).click();
    EXPECT_EQ(Box(kLineWidthBox).text(), "78");
    EXPECT_EQ(TextBox().GetPageText(), Expected(2, 78));
    Button(kPrevPageButton).click();
    EXPECT_EQ(Box(kLineWidthBox).text(), "40");

    // 0 is passed on as it is; any larger number, however long, lays the page
    // out at the widest layout, which the box then shows.
    Press(kRegenerateButton, "2", "0");
    EXPECT_EQ(TextBox().GetPageText(), Expected(1, 0));
    for (const QString& wide : {QString::number(kMaxLineWidth + 1), QString(40, u'9')}) {
        Press(kRegenerateButton, "2", wide);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(Box(kLineWidthBox).text(), QString::number(kMaxLineWidth));
        EXPECT_EQ(viewer->GetPageTexts().GetWidth(1), kMaxLineWidth);
    }
    // Entries only for what differs: page 2's width, the texts of pages 1 and 3.
    EXPECT_EQ(viewer->GetPageTexts().GetEntryCount(), 3u);
}

TEST_F(ViewerTest, NumberBoxesChooseTheDefaultButton) {
    OpenProse();
    for (int id : {kGoButton, kPrevPageButton, kNextPageButton, kCloseButton, kRegenerateButton,
                   kCopyButton, kSaveButton}) {
        EXPECT_FALSE(Button(id).autoDefault()) << id;
    }
    viewer->show();
    QApplication::setActiveWindow(viewer.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    EXPECT_EQ(QApplication::focusWidget(), &Box(kPageNumberBox));
    EXPECT_TRUE(Button(kGoButton).isDefault());
    Box(kLineWidthBox).setFocus();
    EXPECT_TRUE(Button(kRegenerateButton).isDefault());
    EXPECT_FALSE(Button(kGoButton).isDefault());
    TextBox().setFocus();
    Button(kCloseButton).setFocus();
    EXPECT_TRUE(Button(kRegenerateButton).isDefault());

    // Enter in the text box inserts a line break; in a number box it runs its command.
    TextBox().setFocus();
    TextBox().moveCursor(QTextCursor::End);
    QTest::keyClick(&TextBox(), Qt::Key_Return);
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 78) + "\r\n");
    Box(kLineWidthBox).setFocus();
    Box(kLineWidthBox).setText("40");
    QTest::keyClick(&Box(kLineWidthBox), Qt::Key_Return);
    EXPECT_EQ(TextBox().GetPageText(), Expected(0, 40));
    Box(kPageNumberBox).setFocus();
    Box(kPageNumberBox).setText("3");
    QTest::keyClick(&Box(kPageNumberBox), Qt::Key_Enter);
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
    const std::vector<int> bottomRow = {kLineWidthLabel, kLineWidthBox, kRegenerateButton,
                                        kCopyButton, kSaveButton};
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const int id = controls[i]->objectName().toInt();
        const bool bottom = std::find(bottomRow.begin(), bottomRow.end(), id) != bottomRow.end();
        const QRect expected = id == kPageTextBox   ? before[i].adjusted(0, 0, 100, 50)
                               : id == kCloseButton ? before[i].translated(100, 50)
                               : bottom             ? before[i].translated(0, 50)
                                                    : before[i];
        EXPECT_EQ(controls[i]->geometry(), expected) << id;
    }
    // Back to the first size after a detour below the controls' sizes.
    viewer->resize(60, 40);
    viewer->resize(first);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->geometry(), before[i]);
    }
}

TEST_F(ViewerTest, CountsThatDontMatchTheTree) {
    for (const char* count : {"/Count 0", "/Count -5"}) {
        OpenPages({"Never shown"}, count);
        EXPECT_EQ(FindControl<QLabel>(*viewer, kTotalPagesLabel)->text(), "Total pages: 0");
        EXPECT_TRUE(TextBox().isReadOnly() && TextBox().toPlainText().isEmpty());
        for (int id : {kPageNumberBox, kGoButton, kPrevPageButton, kNextPageButton, kLineWidthBox,
                       kRegenerateButton, kSaveButton}) {
            EXPECT_FALSE(FindControl(*viewer, id)->isEnabled()) << id;
        }
        EXPECT_TRUE(Button(kCopyButton).isEnabled());
        viewer->GoToPage();
        viewer->ShowNextPage();
        viewer->RegeneratePage();
        viewer->SavePageText();
        EXPECT_TRUE(ui.messages.empty()) << count;
    }

    // Two pages in a tree that claims 2,147,483,647.
    OpenPages({"First", "Second"}, "/Count 2147483647");
    EXPECT_EQ(FindControl<QLabel>(*viewer, kTotalPagesLabel)->text(), "Total pages: 2147483647");
    Button(kNextPageButton).click();
    Button(kNextPageButton).click();
    Press(kGoButton, "2147483647");
    EXPECT_EQ(ui.Take(), (QStringList{kCannotLoad, kCannotLoad}));
    EXPECT_EQ(viewer->GetCurrentPage(), 1);
    EXPECT_EQ(viewer->GetPageTexts().GetEntryCount(), 2u);

    // No page at all: the viewer opens read-only on no page.
    std::vector<std::string> objects = test::SimpleDocument({"BT ET"});
    objects[1] = "<< /Type /Pages /Kids [] /Count 3 >>";
    Open(dir.Write("nopage.pdf", test::PdfBuilder(objects, "/Root 1 0 R").Build()));
    EXPECT_EQ(ui.Take(), QStringList{kCannotLoad});
    EXPECT_TRUE(TextBox().isReadOnly());
    Button(kNextPageButton).click();
    EXPECT_EQ(ui.Take(), QStringList{kCannotLoad});
    EXPECT_EQ(viewer->GetCurrentPage(), 0);
}

}  // namespace
}  // namespace tessary
