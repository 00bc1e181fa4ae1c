#include <QRadioButton>
#include <algorithm>
#include <filesystem>

#include "ModalScript.h"
#include "ViewerTestSupport.h"
#include "app/NumberBox.h"
#include "app/SaveTextDialog.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

using test::ReadFileBytes;

// The answers to the save dialog; a null text leaves its box as it is.
struct SaveChoice {
    QString destination = QString();
    SaveScope scope = SaveScope::WholeDocument;
    WriteMode mode = WriteMode::Overwrite;
    QString from = QString(), to = QString();
};

// Fills the dialog in and presses OK; gives the dialog's result.
int Answer(SaveTextDialog& dialog, const SaveChoice& choice) {
    FindControl<QRadioButton>(dialog, kSaveWholeDocumentButton + static_cast<int>(choice.scope))
        ->click();
    FindControl<QRadioButton>(dialog, kOverwriteFileButton + static_cast<int>(choice.mode))
        ->click();
    const std::pair<int, QString> boxes[] = {{kRangeFromBox, choice.from},
                                             {kRangeToBox, choice.to},
                                             {kDestinationBox, choice.destination}};
    for (const auto& [id, text] : boxes) {
        if (!text.isNull()) {
            FindControl<QLineEdit>(dialog, id)->setText(text);
        }
    }
    FindControl<QPushButton>(dialog, kOkButton)->click();
    return dialog.result();
}

class SaveTest : public test::ViewerFixture {
  protected:
    void RunSave(const SaveChoice& choice) {
        viewer->SetSaveDialogRunner([&choice](SaveTextDialog& d) { return Answer(d, choice); });
        viewer->SavePageText();
    }
    // Saves to Output() and gives what the file then holds.
    std::string Save(SaveChoice choice) {
        choice.destination = QString::fromStdString(Output());
        RunSave(choice);
        return ReadFileBytes(Output());
    }
    std::string Output() const { return (dir.path / "out.txt").string(); }
    static std::string Page(std::int32_t index, const std::string& text) {
        return PageHeader(index + 1) + text + "\r\n";
    }
};

TEST(SaveTextDialog, StartsFromItsInitialValues) {
    SaveTextDialog dialog("/docs/report.pdf", 4, nullptr);
    EXPECT_EQ(FindControl<QLineEdit>(dialog, kDestinationBox)->text(), "/docs/report.txt");
    QLineEdit* from = FindControl<QLineEdit>(dialog, kRangeFromBox);
    QLineEdit* to = FindControl<QLineEdit>(dialog, kRangeToBox);
    EXPECT_EQ(from->text() + " " + to->text(), "1 4");
    EXPECT_TRUE(FindControl<QRadioButton>(dialog, kSaveWholeDocumentButton)->isChecked() &&
                FindControl<QRadioButton>(dialog, kOverwriteFileButton)->isChecked());
    EXPECT_TRUE(FindControl<QPushButton>(dialog, kOkButton)->isDefault());
    EXPECT_FALSE(from->isEnabled() || to->isEnabled());
    FindControl<QRadioButton>(dialog, kSavePageRangeButton)->click();
    EXPECT_TRUE(from->isEnabled() && to->isEnabled());
    FindControl<QRadioButton>(dialog, kSaveCurrentPageButton)->click();
    EXPECT_FALSE(from->isEnabled() || to->isEnabled());

    QString filter, suffix;
    SetSaveFileFunction([&](QWidget*, const QString& f, const QString& s) {
        filter = f;
        suffix = s;
        return QString("/chosen/file.txt");
    });
    FindControl<QPushButton>(dialog, kBrowseButton)->click();
    SetSaveFileFunction({});
    EXPECT_EQ(filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(suffix, "txt");
    EXPECT_EQ(FindControl<QLineEdit>(dialog, kDestinationBox)->text(), "/chosen/file.txt");
}

TEST(SaveTextDialog, RefusesValuesItCannotUse) {
    test::TempDir dir;
    const std::string pdf = dir.Write("doc.pdf", "%PDF-1.4 stand-in");
    std::filesystem::create_symlink(pdf, dir.path / "link.pdf");
    std::filesystem::create_hard_link(pdf, dir.path / "hard.pdf");
    const QString outside = "Page number out of range.";
    const QString itself = "The text file would replace the PDF file itself: ";
    const std::pair<SaveChoice, QString> refused[] = {
        {{.from = ""}, kPositiveIntegerMessage},
        {{.to = "-1"}, kPositiveIntegerMessage},
        {{.scope = SaveScope::PageRange, .from = "0"}, outside},
        {{.scope = SaveScope::PageRange, .to = "5"}, outside},
        {{.destination = QString::fromStdString(pdf)}, itself},
        {{.destination = (dir.path / "link.pdf").c_str(), .mode = WriteMode::Append}, itself},
        {{.destination = (dir.path / "hard.pdf").c_str()}, itself},
    };
    for (const auto& [choice, message] : refused) {
        test::UserInterfaceRecorder ui;
        SaveTextDialog dialog(QString::fromStdString(pdf), 4, nullptr);
        dialog.show();
        EXPECT_EQ(Answer(dialog, choice), QDialog::Rejected);
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(ui.messages.size(), 1u) << message.toStdString();
        EXPECT_TRUE(ui.messages[0].text.startsWith(message)) << message.toStdString();
        EXPECT_EQ(ui.messages[0].caption, ApplicationName());
    }
    EXPECT_EQ(ReadFileBytes(pdf), "%PDF-1.4 stand-in");

    // from > to is fine, and so are values of disabled range boxes.
    for (const SaveChoice& fine :
         {SaveChoice{.scope = SaveScope::PageRange, .from = "4", .to = "1"},
          SaveChoice{.from = "0", .to = "99"}}) {
        SaveTextDialog dialog(QString::fromStdString(pdf), 4, nullptr);
        EXPECT_EQ(Answer(dialog, fine), QDialog::Accepted);
    }
}

TEST_F(SaveTest, WritesTheChosenPages) {
    OpenProse();
    Press(kGoButton, "2");
    Press(kRegenerateButton, "2", "40");
    Button(kNextPageButton).click();
    TextBox().setPlainText("edited page three\nno final break");
    const std::string edited = "edited page three\r\nno final break";

    EXPECT_EQ(Save({}), Page(0, Expected(0, 78)) + Page(1, Expected(1, 40)) + Page(2, edited) +
                            Page(3, Expected(3, 78)));
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}), Page(2, edited));
    EXPECT_EQ(Save({.scope = SaveScope::PageRange, .from = "2", .to = "3"}),
              Page(1, Expected(1, 40)) + Page(2, edited));
    // Save changes nothing in the viewer: page 4's extraction isn't kept.
    EXPECT_EQ(TextBox().GetPageText(), edited);
    EXPECT_EQ(viewer->GetPageTexts().GetText(3), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SaveTest, OverwritesOrAppends) {
    OpenPages({"One", "Two"});
    const std::string once = Page(0, Expected(0, 78)) + Page(1, Expected(1, 78));
    test::ModalScript script;  // first the real modal dialog, as the viewer runs it
    script.Then([this](QWidget* dialog) {
        Answer(*qobject_cast<SaveTextDialog*>(dialog),
               {.destination = Output().c_str(), .mode = WriteMode::Append});
    });
    viewer->SavePageText();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(ReadFileBytes(Output()), once);
    EXPECT_EQ(Save({.mode = WriteMode::Append}), once + once);
    // from > to writes no page: appending leaves the file, overwriting empties it.
    SaveChoice none = {
        .scope = SaveScope::PageRange, .mode = WriteMode::Append, .from = "2", .to = "1"};
    EXPECT_EQ(Save(none), once + once);
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}), Page(0, Expected(0, 78)));
    none.mode = WriteMode::Overwrite;
    EXPECT_EQ(Save(none), "");
}

TEST_F(SaveTest, UneditedPagesAreWhatConvertWrites) {
    const std::string pdf = test::CorpusPath("libreoffice/lo-accents.pdf");
    const std::string converted = (dir.path / "converted.txt").string();
    ConversionOptions options;
    options.codePage = CodePage::FromName("CP1252").value();
    ConvertPdfFileToText(pdf, converted, options, nullptr, nullptr);
    Open(pdf, options.codePage);  // every page goes through the box
    while (Button(kNextPageButton).isEnabled()) {
        Button(kNextPageButton).click();
    }
    Press(kGoButton, "1");
    const std::string saved = Save({});
    EXPECT_EQ(saved, ReadFileBytes(converted));
    EXPECT_TRUE(std::any_of(saved.begin(), saved.end(), [](char c) { return c & 0x80; }));
    // Edits are written in the output code page, with the substitutes of the
    // extracted text for what it lacks.
    TextBox().setPlainText(QString::fromUtf8("é€ﬁ☃\n"));
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}),
              Page(0, std::string("\xE9\x80") + "fi?\r\n"));
}

TEST_F(SaveTest, WriteErrorsAndHugeCounts) {
    OpenPages({"One"});
    RunSave({.destination = (dir.path / "missing" / "out.txt").c_str()});
    EXPECT_EQ(ui.Take(), QStringList{"Could not open the file for writting."});
    RunSave({.destination = "/dev/full"});
    EXPECT_EQ(ui.Take(), QStringList{"Could not write the file."});

    // A huge /Count: Save stops where the tree ends.
    OpenPages({"One", "Two"}, "/Count 2147483647");
    EXPECT_EQ(Save({}), Page(0, Expected(0, 78)) + Page(1, Expected(1, 78)));
    EXPECT_EQ(Save({.scope = SaveScope::PageRange, .from = "2", .to = "2147483647"}),
              Page(1, Expected(1, 78)));
}

}  // namespace
}  // namespace tessary
