#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "ViewerTestSupport.h"
#include "app/NumberBox.h"
#include "app/SaveTextDialog.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

using test::Control;
using test::ReadFileBytes;
using ::testing::ElementsAre;
using ::testing::StartsWith;

// What the test answers in the save dialog; a null text leaves a box alone.
struct SaveChoice {
    QString destination = QString();
    SaveScope scope = SaveScope::WholeDocument;
    WriteMode mode = WriteMode::Overwrite;
    QString from = QString();
    QString to = QString();
};

// Fills the dialog and presses OK: the dialog's result.
int Answer(SaveTextDialog& dialog, const SaveChoice& choice) {
    Control<QRadioButton>(dialog, QByteArray::number(1024 + static_cast<int>(choice.scope)))
        ->click();
    Control<QRadioButton>(dialog, QByteArray::number(1030 + static_cast<int>(choice.mode)))
        ->click();
    if (!choice.from.isNull()) {
        Control<QLineEdit>(dialog, "1028")->setText(choice.from);
    }
    if (!choice.to.isNull()) {
        Control<QLineEdit>(dialog, "1029")->setText(choice.to);
    }
    if (!choice.destination.isNull()) {
        Control<QLineEdit>(dialog, "1032")->setText(choice.destination);
    }
    Control<QPushButton>(dialog, "1")->click();
    return dialog.result();
}

class SaveTest : public test::ViewerFixture {
  protected:
    // Runs Save with these answers (the destination defaults to Output()).
    void RunSave(const SaveChoice& choice) {
        viewer->SetSaveDialogRunner(
            [&choice](SaveTextDialog& dialog) { return Answer(dialog, choice); });
        viewer->SavePageText();
    }
    // The same; the text file's bytes afterwards.
    std::string Save(SaveChoice choice) {
        if (choice.destination.isNull()) {
            choice.destination = QString::fromStdString(Output());
        }
        RunSave(choice);
        return ReadFileBytes(choice.destination.toStdString());
    }
    std::string Output() const { return (dir.Path() / "out.txt").string(); }
    std::string Page(std::int32_t index, const std::string& text) {
        return PageHeader(index + 1) + text + "\r\n";
    }
};

TEST(SaveTextDialog, StartsFromItsInitialValues) {
    test::MessageRecorder messages;
    SaveTextDialog dialog("/docs/report.pdf", 4, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Save Text File");
    EXPECT_EQ(Control<QLineEdit>(dialog, "1032")->text(), "/docs/report.txt");
    QLineEdit* from = Control<QLineEdit>(dialog, "1028");
    QLineEdit* to = Control<QLineEdit>(dialog, "1029");
    EXPECT_EQ(from->text(), "1");
    EXPECT_EQ(to->text(), "4");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "1024")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(dialog, "1030")->isChecked());
    EXPECT_TRUE(Control<QPushButton>(dialog, "1")->isDefault());
    EXPECT_FALSE(from->isEnabled());
    EXPECT_FALSE(to->isEnabled());
    Control<QRadioButton>(dialog, "1026")->click();
    EXPECT_TRUE(from->isEnabled() && to->isEnabled());
    Control<QRadioButton>(dialog, "1025")->click();
    EXPECT_FALSE(from->isEnabled() || to->isEnabled());

    // Browse fills the destination box, unless cancelled.
    QString filter, suffix, answer = "/chosen/file.txt";
    SetSaveFileFunction([&](QWidget*, const QString& f, const QString& s) {
        filter = f;
        suffix = s;
        return answer;
    });
    Control<QPushButton>(dialog, "1033")->click();
    EXPECT_EQ(filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(suffix, "txt");
    EXPECT_EQ(Control<QLineEdit>(dialog, "1032")->text(), "/chosen/file.txt");
    answer.clear();
    Control<QPushButton>(dialog, "1033")->click();
    SetSaveFileFunction({});
    EXPECT_EQ(Control<QLineEdit>(dialog, "1032")->text(), "/chosen/file.txt");

    Answer(dialog, {.destination = "typed.txt",
                    .scope = SaveScope::PageRange,
                    .mode = WriteMode::Append,
                    .from = " 2",
                    .to = "3\t"});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetDestination(), "typed.txt");
    EXPECT_EQ(dialog.GetFrom(), 2u);
    EXPECT_EQ(dialog.GetTo(), 3u);
    EXPECT_EQ(dialog.GetWriteMode(), WriteMode::Append);
    EXPECT_EQ(dialog.GetSaveScope(), SaveScope::PageRange);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SaveTextDialog, RefusesValuesItCannotUse) {
    test::TempDir dir;
    const std::string pdf = dir.Write("doc.pdf", "%PDF-1.4 stand-in");
    std::filesystem::create_symlink(pdf, dir.Path() / "link.pdf");
    std::filesystem::create_hard_link(pdf, dir.Path() / "hard.pdf");
    struct Case {
        SaveChoice choice;
        QString message;
    };
    const QString outside = "Page number out of range.";
    const QString itself = "The text file would replace the PDF file itself: ";
    const Case cases[] = {
        {{.from = ""}, kPositiveIntegerMessage},
        {{.from = "x", .to = "x"}, kPositiveIntegerMessage},
        {{.to = "-1"}, kPositiveIntegerMessage},
        {{.scope = SaveScope::PageRange, .from = "0"}, outside},
        {{.scope = SaveScope::PageRange, .to = "5"}, outside},
        {{.destination = QString::fromStdString(pdf)}, itself},
        {{.destination = QString::fromStdString((dir.Path() / "link.pdf").string()),
          .mode = WriteMode::Append},
         itself},
        {{.destination = QString::fromStdString((dir.Path() / "hard.pdf").string())}, itself},
    };
    for (const Case& c : cases) {
        test::MessageRecorder messages;
        SaveTextDialog dialog(QString::fromStdString(pdf), 4, nullptr);
        dialog.show();
        EXPECT_EQ(Answer(dialog, c.choice), QDialog::Rejected) << c.message.toStdString();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(messages.messages.size(), 1u) << c.message.toStdString();
        EXPECT_THAT(messages.messages[0].text.toStdString(), StartsWith(c.message.toStdString()));
        EXPECT_EQ(messages.messages[0].caption, ApplicationName());
    }
    EXPECT_EQ(ReadFileBytes(pdf), "%PDF-1.4 stand-in");

    // from > to and values in disabled boxes that a range would refuse are fine.
    for (const SaveChoice& fine :
         {SaveChoice{.scope = SaveScope::PageRange, .from = "4", .to = "1"},
          SaveChoice{.from = "0", .to = "99"}}) {
        SaveTextDialog dialog(QString::fromStdString(pdf), 4, nullptr);
        EXPECT_EQ(Answer(dialog, fine), QDialog::Accepted);
    }
}

TEST_F(SaveTest, WritesTheChosenPages) {
    OpenProse();
    Press("1011", "2");
    Press("1018", "2", "40");
    Button("1013").click();
    TextBox().setPlainText("edited page three\nno final break");
    const std::string edited = "edited page three\r\nno final break";

    EXPECT_EQ(Save({}), Page(0, Expected(0, 78)) + Page(1, Expected(1, 40)) + Page(2, edited) +
                            Page(3, Expected(3, 78)));
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}), Page(2, edited));
    EXPECT_EQ(Save({.scope = SaveScope::PageRange, .from = "2", .to = "3"}),
              Page(1, Expected(1, 40)) + Page(2, edited));
    // Saving changes nothing in the viewer.
    EXPECT_EQ(viewer->GetCurrentPage(), 2);
    EXPECT_EQ(TextBox().GetPageText(), edited);
    EXPECT_EQ(viewer->GetPageTexts().GetText(3), "");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveTest, OverwritesOrAppends) {
    OpenPages({"One", "Two"});
    const std::string once = Page(0, Expected(0, 78)) + Page(1, Expected(1, 78));
    EXPECT_EQ(Save({.mode = WriteMode::Append}), once);
    EXPECT_EQ(Save({.mode = WriteMode::Append}), once + once);
    // from > to writes no page: appending leaves the file, overwriting empties it.
    EXPECT_EQ(
        Save({.scope = SaveScope::PageRange, .mode = WriteMode::Append, .from = "2", .to = "1"}),
        once + once);
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}), Page(0, Expected(0, 78)));
    EXPECT_EQ(Save({.scope = SaveScope::PageRange, .from = "2", .to = "1"}), "");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveTest, UneditedPagesAreWhatConvertWrites) {
    const auto cp1252 = CodePage::FromName("CP1252");
    ASSERT_TRUE(cp1252);
    for (const auto& [file, codePage] : {std::pair{"libreoffice/lo-prose.pdf", CodePage::Utf8()},
                                         std::pair{"libreoffice/lo-accents.pdf", *cp1252}}) {
        const std::string pdf = test::CorpusFile(file);
        const std::string converted = (dir.Path() / "converted.txt").string();
        ConversionOptions options;
        options.codePage = codePage;
        ASSERT_EQ(ConvertPdfFileToText(pdf, converted, options, nullptr, nullptr).status,
                  ConversionStatus::Converted);
        // Every page has been through the box, the first one is shown.
        Open(pdf, codePage);
        while (Button("1013").isEnabled()) {
            Button("1013").click();
        }
        Press("1011", "1");
        const std::string saved = Save({});
        EXPECT_EQ(saved, ReadFileBytes(converted)) << file;
        EXPECT_GT(saved.size(), 1000u);
        EXPECT_TRUE(std::any_of(saved.begin(), saved.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    }

    // Edits are written in the output code page, with the substitutions of
    // the extracted text for what it lacks.
    Open(test::CorpusFile("libreoffice/lo-accents.pdf"), *cp1252);
    TextBox().setPlainText(QString::fromUtf8("é€ﬁ☃\n"));
    EXPECT_EQ(Save({.scope = SaveScope::CurrentPage}), Page(0,
                                                            "\xE9\x80"
                                                            "fi?\r\n"));
}

TEST_F(SaveTest, ReportsFilesItCannotWrite) {
    OpenPages({"One"});
    RunSave({.destination = QString::fromStdString((dir.Path() / "missing" / "out.txt").string())});
    EXPECT_THAT(messages.Take(), ElementsAre("Could not open the file for writting."));

    RunSave({.destination = "/dev/full"});
    EXPECT_THAT(messages.Take(), ElementsAre("Could not write the file."));
    struct stat info;
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(SaveTest, StopsWhereTheTreeEnds) {
    // Two pages in a tree that claims 2,147,483,647.
    OpenPages({"One", "Two"}, "/Count 2147483647");
    const std::string both = Page(0, Expected(0, 78)) + Page(1, Expected(1, 78));
    EXPECT_EQ(Save({}), both);
    EXPECT_EQ(Save({.scope = SaveScope::PageRange, .from = "2", .to = "2147483647"}),
              Page(1, Expected(1, 78)));
}

TEST_F(SaveTest, RunsTheRealModalDialog) {
    OpenPages({"One"});
    int tries = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SaveTextDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            Answer(*dialog, {.destination = QString::fromStdString(Output())});
        } else if (++tries > 200) {
            QApplication::activeModalWidget()->close();  // never reached when all is well
        }
    });
    driver.start(10);
    viewer->SavePageText();
    EXPECT_EQ(ReadFileBytes(Output()), Page(0, Expected(0, 78)));
}

}  // namespace
}  // namespace tessary
