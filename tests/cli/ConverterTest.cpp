// tessary-convert as a user runs it: files in, text files and messages out.
#include <gtest/gtest.h>
#include <unistd.h>

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
    test::CliRun Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        return test::RunConverter(arguments, dir.path.string(), input);
    }
    bool Exists(const std::string& name) const { return fs::exists(dir.path / name); }
    std::string Read(const std::string& name) const { return ReadFileBytes(dir.path / name); }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    // The core's conversion of a file in the folder.
    std::string Reference(const std::string& name, const ConversionOptions& options) const {
        test::TempDir reference;
        const std::string output = (reference.path / "reference.txt").string();
        ConvertPdfFileToText((dir.path / name).string(), output, options, nullptr, nullptr);
        return ReadFileBytes(output);
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

// Failed files leave nothing and don't stop the others; any number of jobs
// gives the same text files, messages and exit status as one.
TEST_F(ConverterTest, FailuresAmongGoodFilesWithAnyNumberOfJobs) {
    dir.Write("junk.pdf", "not a PDF file\n");
    dir.Write("junk.txt", "old text");            // an earlier output, left alone by a failure
    Copy("libreoffice/lo-columns.pdf", "prose");  // its text file is prose.pdf's
    const std::vector<std::string> files = {"prose.pdf", "missing.pdf", "junk.pdf",
                                            "long.pdf",  "accents.pdf", "prose"};
    const std::string messages =
        "prose.pdf: 4 pages converted successfully into file prose.txt\n"
        "tessary-convert: missing.pdf: No such file or directory\n"
        "tessary-convert: junk.pdf: Not a PDF file.\n"
        "long.pdf: 35 pages converted successfully into file long.txt\n"
        "accents.pdf: 2 pages converted successfully into file accents.txt\n"
        "tessary-convert: prose: The text file prose.txt already holds the text of prose.pdf\n";
    const std::vector<std::string> outputs = {"prose.txt", "long.txt", "accents.txt"};
    std::vector<std::string> texts;
    for (const char* jobs : {"1", "3", "0"}) {
        std::vector<std::string> arguments = {"-j", jobs};
        arguments.insert(arguments.end(), files.begin(), files.end());
        test::CliRun run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 1) << jobs;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, messages) << jobs;
        EXPECT_FALSE(Exists("missing.txt"));
        EXPECT_EQ(Read("junk.txt"), "old text");
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            if (texts.size() < outputs.size()) {
                texts.push_back(Read(outputs[i]));
            }
            EXPECT_EQ(Read(outputs[i]), texts[i]) << jobs << " " << outputs[i];
            fs::remove(dir.path / outputs[i]);
        }
    }
    EXPECT_TRUE(Has(texts[0], "Page 4"));

    test::CliRun quiet = Run({"-q", "-j", "2", "prose.pdf", "accents.pdf"});
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

    // Every option of the text reaches the conversion (on page 1 of these
    // columns, the width shows in the reading order too).
    Copy("libreoffice/lo-columns.pdf", "columns.pdf");
    ConversionOptions options;
    options.codePage = CodePage::Utf8();
    options.width = 40;
    options.lastPage = 2;
    options.lineEnd = LineEnd::Unix;
    options.pageBreak = PageBreak::FormFeed;
    options.order = TextOrder::Reading;
    EXPECT_EQ(Run({"-w", "40", "-f", "1", "-l", "2", "-e", "UTF-8", "--eol", "unix",
                   "--page-break=formfeed", "--order", "reading", "-o", "-", "columns.pdf"})
                  .out,
              Reference("columns.pdf", options));
}

TEST_F(ConverterTest, StandardInput) {
    ASSERT_EQ(Run({"-q", "prose.pdf"}).exitStatus, 0);
    const std::string pdf = Read("prose.pdf");
    test::CliRun piped = Run({"-"}, pdf);
    EXPECT_EQ(piped.exitStatus, 0);
    EXPECT_EQ(piped.out, Read("prose.txt"));
    EXPECT_EQ(piped.err,
              "(standard input): 4 pages converted successfully into file (standard output)\n");
    test::CliRun toFile = Run({"-o", "piped.txt", "-"}, pdf);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(Read("piped.txt"), Read("prose.txt"));
    // A file as standard input is read where it is.
    test::CliRun redirected =
        test::RunConverter({"-q", "-"}, dir.path.string(), "", (dir.path / "prose.pdf").c_str());
    EXPECT_EQ(redirected.out, Read("prose.txt"));

    test::CliRun junk = Run({"-j", "2", "accents.pdf", "-"}, "not a PDF file");
    EXPECT_EQ(junk.exitStatus, 1);
    EXPECT_EQ(junk.out, "");
    EXPECT_TRUE(Has(junk.err, "tessary-convert: (standard input): Not a PDF file.\n"));
    EXPECT_TRUE(Exists("accents.txt"));
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

// No text file replaces a PDF file of the run, its own or another.
TEST_F(ConverterTest, InputsAreNeverReplaced) {
    Copy("libreoffice/lo-prose.pdf", "notes.txt");
    Copy("libreoffice/lo-accents.pdf", "notes.pdf");
    test::CliRun run = Run({"notes.pdf", "notes.txt"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "tessary-convert: notes.pdf: The text file would replace another PDF file of this "
              "run: notes.txt\n"
              "tessary-convert: notes.txt: The text file would replace the PDF file itself: "
              "notes.txt\n");
    EXPECT_EQ(Read("notes.txt"), Read("prose.pdf"));
}

}  // namespace
}  // namespace tessary
