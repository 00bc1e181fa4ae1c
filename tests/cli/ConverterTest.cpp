// tessary-convert as a user runs it: files in, text files and messages out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "CliRun.h"
#include "support/PdfBuilder.h"
#include "text/TextFileConversion.h"

namespace tessary {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::RunConverter;

const fs::path kCorpus = TESSARY_CORPUS_DIR;
const std::string kProse = "libreoffice/lo-prose.pdf";
const std::string kLong = "libreoffice/lo-long.pdf";
const std::string kAccents = "libreoffice/lo-accents.pdf";
const std::string kEncrypted = "qpdf/lo-prose--rc4-40.pdf";  // user "user", owner "owner"

class ConverterTest : public ::testing::Test {
  protected:
    // Copies a corpus file into the work folder under `name`.
    std::string Copy(const std::string& corpusFile, const std::string& name) {
        fs::copy_file(kCorpus / corpusFile, dir.Path() / name);
        return name;
    }
    test::CliRun Run(const std::vector<std::string>& arguments) {
        return RunConverter(arguments, dir.Path().string());
    }
    bool Exists(const std::string& name) const { return fs::exists(dir.Path() / name); }
    std::string Read(const std::string& name) const { return ReadFileBytes(dir.Path() / name); }

    test::TempDir dir;
};

TEST_F(ConverterTest, UsageErrorsNameTheProgram) {
    // The cases themselves are the command line's unit tests; here, what reaches the user.
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{}, {"-o", "x.txt", "a.pdf", "b.pdf"}}) {
        test::CliRun run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.err.rfind("tessary-convert: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Try 'tessary-convert --help'"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    test::CliRun version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "tessary-convert 1.0\n");
    test::CliRun help = Run({"-h"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: tessary-convert [OPTION]... FILE.pdf...\n", 0), 0u);
}

TEST_F(ConverterTest, FailedFilesLeaveNothingAndDontStopTheOthers) {
    Copy(kProse, "prose.pdf");
    Copy(kAccents, "accents.pdf");
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
    EXPECT_TRUE(Exists("prose.txt"));
    EXPECT_TRUE(Exists("accents.txt"));
    EXPECT_FALSE(Exists("missing.txt"));
    EXPECT_EQ(Read("junk.txt"), "old text");

    test::CliRun good = Run({"-q", "prose.pdf", "accents.pdf"});
    EXPECT_EQ(good.exitStatus, 0);
    EXPECT_EQ(good.err, "");
}

TEST_F(ConverterTest, StandardOutputHoldsTheFileBytes) {
    Copy(kProse, "prose.pdf");
    ASSERT_EQ(Run({"-q", "prose.pdf"}).exitStatus, 0);
    test::CliRun run = Run({"-o", "-", "prose.pdf"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, Read("prose.txt"));
    EXPECT_EQ(run.err, "prose.pdf: 4 pages converted successfully into file (standard output)\n");

    test::CliRun named = Run({"-o", "elsewhere.out", "prose.pdf"});
    EXPECT_EQ(named.exitStatus, 0);
    EXPECT_EQ(Read("elsewhere.out"), Read("prose.txt"));
}

TEST_F(ConverterTest, PageRangeAndWidth) {
    Copy(kLong, "long.pdf");
    test::CliRun range = Run({"--first", "2", "--last", "3", "-o", "-", "long.pdf"});
    EXPECT_EQ(range.exitStatus, 0);
    EXPECT_EQ(range.out.rfind(PageHeader(2), 0), 0u);
    EXPECT_NE(range.out.find(PageHeader(3)), std::string::npos);
    EXPECT_EQ(range.out.find("Page 4 "), std::string::npos);
    EXPECT_NE(range.err.find("35 pages converted"), std::string::npos);  // /Count as written
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
}

TEST_F(ConverterTest, EncodingChoosesTheBytes) {
    Copy(kAccents, "accents.pdf");
    const std::string ascii = Run({"--encoding", "ASCII", "-o", "-", "accents.pdf"}).out;
    const std::string utf8 = Run({"--encoding", "UTF-8", "-o", "-", "accents.pdf"}).out;
    const std::string latin9 = Run({"-e", "ISO-8859-15", "-o", "-", "accents.pdf"}).out;
    EXPECT_TRUE(std::all_of(ascii.begin(), ascii.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    EXPECT_NE(ascii.find("senor Muller"), std::string::npos);
    EXPECT_NE(utf8.find("se\xC3\xB1or M\xC3\xBCller"), std::string::npos);
    EXPECT_NE(latin9.find("se\xF1or M\xFCller"), std::string::npos);
}

TEST_F(ConverterTest, Passwords) {
    Copy(kEncrypted, "locked.pdf");
    Copy(kProse, "open.pdf");
    test::CliRun right = Run({"--password", "user", "locked.pdf", "open.pdf"});
    EXPECT_EQ(right.exitStatus, 0) << right.err;
    EXPECT_EQ(Read("locked.txt"), Read("open.txt"));  // the same document, encrypted
    fs::remove(dir.Path() / "locked.txt");

    // Standard input isn't a terminal: without --password nothing asks.
    test::CliRun none = Run({"locked.pdf"});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_NE(none.err.find("give it with --password"), std::string::npos);
    EXPECT_NE(none.err.find("tessary-convert: locked.pdf: Could not parse the PDF file.\n"),
              std::string::npos);

    // A wrong password is tried once, then the file fails.
    test::CliRun wrong = Run({"-p", "guess", "locked.pdf"});
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_NE(wrong.err.find("Could not parse the PDF file."), std::string::npos);
    EXPECT_FALSE(Exists("locked.txt"));
}

TEST_F(ConverterTest, NeverWritesOverAnInput) {
    Copy(kProse, "notes.txt");
    const std::string before = Read("notes.txt");
    test::CliRun own = Run({"notes.txt"});
    EXPECT_EQ(own.exitStatus, 1);
    EXPECT_EQ(own.err,
              "tessary-convert: notes.txt: The text file would replace the PDF file itself: "
              "notes.txt\n");
    EXPECT_EQ(Read("notes.txt"), before);

    Copy(kProse, "a.pdf");
    fs::create_symlink("a.pdf", dir.Path() / "link.pdf");
    EXPECT_EQ(Run({"-o", "link.pdf", "a.pdf"}).exitStatus, 1);
    EXPECT_EQ(Read("a.pdf"), before);

    // Two inputs with one text file: the second doesn't replace the first's text.
    Copy(kAccents, "a");
    test::CliRun twice = Run({"a.pdf", "a"});
    EXPECT_EQ(twice.exitStatus, 1);
    EXPECT_NE(twice.err.find("tessary-convert: a: The text file a.txt already holds the text of "
                             "a.pdf\n"),
              std::string::npos);
    EXPECT_NE(Read("a.txt").find("Page 4"), std::string::npos);
}

TEST_F(ConverterTest, WriteFailureIsReported) {
    Copy(kProse, "prose.pdf");
    test::CliRun run = Run({"-o", "/dev/full", "prose.pdf"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "tessary-convert: prose.pdf: Could not write the file.\n");
    struct stat info;
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    test::CliRun folder = Run({"-o", dir.Path().string(), "prose.pdf"});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_NE(folder.err.find("Could not open the file for writting."), std::string::npos);
}

// The core's conversion with the password the converter's tests use: "user" once.
int AnswerUserOnce(void* userData, int kind, std::string& argument) {
    bool& asked = *static_cast<bool*>(userData);
    if (kind != kAskPassword || asked) {
        return 0;
    }
    asked = true;
    argument = "user";
    return 1;
}

TEST_F(ConverterTest, CorpusMatchesTheConversionFunction) {
    std::vector<std::string> arguments{"-q", "-p", "user", "--encoding", "UTF-8"};
    std::vector<fs::path> pdfs;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
        if (entry.path().extension() == ".pdf") {
            pdfs.push_back(entry.path());
            fs::copy_file(entry.path(), dir.Path() / entry.path().filename());
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
        const std::string output = TextFileNameFor((reference.Path() / name).string());
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
