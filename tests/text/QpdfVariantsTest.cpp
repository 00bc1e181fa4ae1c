// Every corpus file, rewritten by qpdf with object streams, linearized, and
// encrypted with 128-bit RC4, AES-128 and AES-256, reads exactly as the file
// itself, with the user and with the owner password. The rewrites are made at
// test time in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestSupport.h"
#include "text/PageText.h"

namespace tessary {
namespace {

// Every page's text in UTF-8 at width 78, pages ended by form feeds;
// "(not opened)" when the file doesn't open with the password.
std::string Text(const std::string& path, const std::string& password) {
    test::Prompter prompter{{password}, {}};
    PdfDocument document;
    if (!document.Open(path, false, &test::Prompter::Callback, &prompter))
        return "(not opened)";
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; ObjectHandle page = document.GetStore()->GetPage(i); ++i) {
        ExtractPageText(lines, *document.GetStore(), AsDictionary(page.get()), 78,
                        CodePage::Utf8());
        for (const std::string& line : lines)
            text += line + "\n";
        text += "\f";
    }
    return text;
}

TEST(QpdfVariants, ReadExactlyAsTheOriginal) {
    if (std::system("qpdf --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "qpdf is not installed";
    const std::vector<std::pair<std::string, std::string>> variants = {
        {"objstm", "--object-streams=generate"},
        {"linearized", "--linearize"},
        {"rc4-128", "--allow-weak-crypto --encrypt U O 128 --use-aes=n --"},
        {"aes-128", "--encrypt U O 128 --use-aes=y --"},
        {"aes-256", "--encrypt U O 256 --"},
    };
    test::TempDir dir;
    for (const test::CorpusEntry& file : test::CorpusEntries()) {
        const std::string original = test::CorpusPath(file.path);
        const std::string& password = file.userPassword;
        const std::string expected = Text(original, password);
        ASSERT_NE(expected, "(not opened)") << file.path;
        for (const auto& [variant, options] : variants) {
            const std::string rewritten = (dir.path / (variant + ".pdf")).string();
            const std::string command = "qpdf --password='" + password + "' " + options + " '" +
                                        original + "' '" + rewritten + "' >/dev/null 2>&1";
            ASSERT_NE(std::system(command.c_str()), -1);
            // A rewrite keeps the original's encryption unless it sets its own.
            const bool encrypts = options.find("--encrypt") != std::string::npos;
            for (const std::string& tried : encrypts ? std::vector<std::string>{"U", "O"}
                                                     : std::vector<std::string>{password}) {
                EXPECT_EQ(Text(rewritten, tried), expected)
                    << file.path << " " << variant << " " << tried;
            }
        }
    }
}

}  // namespace
}  // namespace tessary
