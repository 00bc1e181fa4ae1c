// tessary-convert as a user runs it: files in, text files and messages out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CliRun.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;

const fs::path kCorpus = TESSARY_CORPUS_DIR;

class ConverterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Copy("libreoffice/lo-prose.pdf", "prose.pdf");
        Copy("libreoffice/lo-accents.pdf", "accents.pdf");
        Copy("libreoffice/lo-long.pdf", "long.pdf");
        Copy("qpdf/lo-prose--rc4-40.pdf", "locked.pdf");  // user password "user"
    }
    void Copy(const fs::path& from, const std::string& name) {
        fs::copy_file(from.is_absolute() ? from : kCorpus / from, dir.path / name);
    }
    test::CliRun Run(const std::vector<std::string>& arguments) {
        return test::RunConverter(arguments, dir.path.string());
    }
    bool Exists(const std::string& name) const { return fs::exists(dir.path / name); }
    std::string Read(const std::string& name) const { return ReadFileBytes(dir.path / name); }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    test::TempDir dir;
};

TEST_F(ConverterTest, UsageHelpAndVersion) {
    test::CliRun usage = Run({"-o", "x.txt", "prose.pdf", "accents.pdf"});
    EXPECT_EQ(usage.exitStatus, 2);
    EXPECT_EQ(usage.err.rfind("tessary-convert: ", 0), 0u) << usage.err;
    EXPECT_TRUE(Has(usage.err, "Try 'tessary-convert --help'"));
    EXPECT_EQ(usage.out, "");
    EXPECT_FALSE(Exists("x.txt") || Exists("prose.txt"));

    test::CliRun version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "tessary-convert 1.0\n");
    test::CliRun help = Run({"-h"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: tessary-convert [OPTION]... FILE.pdf...\n", 0), 0u);
}

TEST_F(ConverterTest, FailedFilesLeaveNothingAndDontStopTheOthers) {
    dir.Write("junk.pdf", "%PDF-1.4 not really\n");
    dir.Write("junk.txt", "old text");  // an earlier output, left alone by a failure
    test::CliRun run = Run({"prose.pdf", "missing.pdf", "junk.pdf", "accents.pdf"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "prose.pdf: 4 pages converted successfully into file prose.txt\n"
              "tessary-convert: missing.pdf: Could not parse the PDF file.\n"
              "tessary-convert: junk.pdf: Could not parse the PDF file.\n"
              "accents.pdf: 2 pages converted successfully into file accents.txt\n");
    EXPECT_TRUE(Exists("prose.txt") && Exists("accents.txt"));
    EXPECT_FALSE(Exists("missing.txt"));
    EXPECT_EQ(Read("junk.txt"), "old text");

    test::CliRun quiet = Run({"-q", "prose.pdf", "accents.pdf"});
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_EQ(quiet.err, "");
}

TEST_F(ConverterTest, OutputOptionsChooseWhereAndWhat) {
    ASSERT_EQ(Run({"-q", "prose.pdf"}).exitStatus, 0);
    test::CliRun toStdout = Run({"-o", "-", "prose.pdf"});
    EXPECT_EQ(toStdout.exitStatus, 0);
    EXPECT_EQ(toStdout.out, Read("prose.txt"));
    EXPECT_EQ(toStdout.err,
              "prose.pdf: 4 pages converted successfully into file (standard output)\n");
    EXPECT_EQ(Run({"-o", "elsewhere.out", "prose.pdf"}).exitStatus, 0);
    EXPECT_EQ(Read("elsewhere.out"), Read("prose.txt"));

    test::CliRun range = Run({"--first", "2", "--last", "3", "-o", "-", "long.pdf"});
    EXPECT_EQ(range.out.rfind(PageHeader(2), 0), 0u);
    EXPECT_TRUE(Has(range.out, PageHeader(3)) && !Has(range.out, "Page 4 "));
    EXPECT_TRUE(Has(range.err, "35 pages converted"));  // /Count as written
    EXPECT_EQ(Run({"--first", "36", "-o", "-", "long.pdf"}).out, "");

    auto longestLine = [](const std::string& text) {
        std::size_t longest = 0, start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            longest = std::max(longest, end - start);
        }
        return longest;
    };
    const std::size_t narrow = longestLine(Run({"-w", "40", "-o", "-", "long.pdf"}).out);
    const std::size_t wide = longestLine(Run({"--width=160", "-o", "-", "long.pdf"}).out);
    EXPECT_LT(narrow, wide);
    EXPECT_GT(wide, 120u);

    const std::string ascii = Run({"--encoding", "ASCII", "-o", "-", "accents.pdf"}).out;
    EXPECT_TRUE(std::all_of(ascii.begin(), ascii.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    EXPECT_TRUE(Has(ascii, "senor Muller"));
    EXPECT_TRUE(Has(Run({"--encoding", "UTF-8", "-o", "-", "accents.pdf"}).out,
                    "se\xC3\xB1or M\xC3\xBCller"));
    EXPECT_TRUE(
        Has(Run({"-e", "ISO-8859-15", "-o", "-", "accents.pdf"}).out, "se\xF1or M\xFCller"));

    // Reading order: the left column's lines follow one another.
    Copy("libreoffice/lo-columns.pdf", "columns.pdf");
    const std::string firstColumn = "of the quarry \r\nsupports briefly";
    EXPECT_TRUE(Has(Run({"--order", "reading", "-o", "-", "columns.pdf"}).out, firstColumn));
    EXPECT_FALSE(Has(Run({"-o", "-", "columns.pdf"}).out, firstColumn));
}

TEST_F(ConverterTest, Passwords) {
    test::CliRun right = Run({"--password", "user", "locked.pdf", "prose.pdf"});
    EXPECT_EQ(right.exitStatus, 0) << right.err;
    EXPECT_EQ(Read("locked.txt"), Read("prose.txt"));  // the same document, encrypted
    fs::remove(dir.path / "locked.txt");

    // Standard input isn't a terminal: without --password nothing asks.
    test::CliRun none = Run({"locked.pdf"});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_TRUE(Has(none.err, "give it with --password"));
    EXPECT_TRUE(Has(none.err, "tessary-convert: locked.pdf: Could not parse the PDF file.\n"));

    test::CliRun wrong = Run({"-p", "guess", "locked.pdf"});  // tried once, then the file fails
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_TRUE(Has(wrong.err, "Could not parse the PDF file."));
    EXPECT_FALSE(Exists("locked.txt"));
}

TEST_F(ConverterTest, OutputProblems) {
    Copy(kCorpus / "libreoffice/lo-prose.pdf", "notes.txt");
    const std::string pdf = Read("notes.txt");
    test::CliRun own = Run({"notes.txt"});
    EXPECT_EQ(own.exitStatus, 1);
    EXPECT_EQ(own.err,
              "tessary-convert: notes.txt: The text file would replace the PDF file itself: "
              "notes.txt\n");
    EXPECT_EQ(Read("notes.txt"), pdf);
    fs::create_symlink("prose.pdf", dir.path / "link.pdf");
    EXPECT_EQ(Run({"-o", "link.pdf", "prose.pdf"}).exitStatus, 1);
    EXPECT_EQ(Read("prose.pdf"), pdf);

    // Two inputs with one text file: the second doesn't replace the first's text.
    Copy("libreoffice/lo-accents.pdf", "prose");
    test::CliRun twice = Run({"prose.pdf", "prose"});
    EXPECT_EQ(twice.exitStatus, 1);
    EXPECT_TRUE(Has(twice.err,
                    "tessary-convert: prose: The text file prose.txt already holds "
                    "the text of prose.pdf\n"));
    EXPECT_TRUE(Has(Read("prose.txt"), "Page 4"));

    test::CliRun full = Run({"-o", "/dev/full", "prose.pdf"});
    EXPECT_EQ(full.exitStatus, 1);
    EXPECT_EQ(full.err, "tessary-convert: prose.pdf: Could not write the file.\n");
    test::CliRun folder = Run({"-o", dir.path.string(), "prose.pdf"});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_TRUE(Has(folder.err, "Could not open the file for writting."));
}

int AnswerUserOnce(void* userData, int kind, std::string& argument) {
    bool& asked = *static_cast<bool*>(userData);
    if (kind != kAskPassword || std::exchange(asked, true)) {
        return 0;
    }
    argument = "user";
    return 1;
}

TEST_F(ConverterTest, CorpusMatchesTheConversionFunction) {
    std::vector<std::string> arguments{"-q", "-p", "user", "--encoding", "UTF-8"};
    std::vector<fs::path> pdfs;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
        if (entry.path().extension() == ".pdf") {
            pdfs.push_back(entry.path());
            Copy(entry.path(), entry.path().filename().string());
            arguments.push_back(entry.path().filename().string());
        }
    }
    ASSERT_GT(pdfs.size(), 20u);
    Run(arguments);

    test::TempDir reference;
    ConversionOptions options;
    options.codePage = CodePage::Utf8();
    for (const fs::path& pdf : pdfs) {
        const std::string name = pdf.filename().string();
        const std::string output = TextFileNameFor((reference.path / name).string());
        bool asked = false;
        ConversionResult result =
            ConvertPdfFileToText(pdf.string(), output, options, AnswerUserOnce, &asked);
        const std::string cliOutput = TextFileNameFor(name);
        ASSERT_EQ(Exists(cliOutput), result.status == ConversionStatus::Converted) << name;
        if (Exists(cliOutput)) {
            EXPECT_EQ(Read(cliOutput), ReadFileBytes(output)) << name;
        }
    }
}

}  // namespace
}  // namespace tessary
