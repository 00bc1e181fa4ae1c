// Every corpus file opens with its user password and has the pages its
// manifest gives; rewritten by qpdf with object streams, linearized, and
// encrypted with 128-bit RC4, AES-128 and AES-256, reads exactly as the file
// itself, with the user and with the owner password. The rewrites are made at
// test time in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support/TestSupport.h"

namespace tessary {
namespace {

TEST(QpdfVariants, ReadExactlyAsTheOriginal) {
    const bool qpdf = std::system("qpdf --version >/dev/null 2>&1") == 0;
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
        const std::string expected = test::DocumentText(original, password);
        ASSERT_EQ(std::count(expected.begin(), expected.end(), '\f'), file.pages) << file.path;
        if (!qpdf)
            continue;  // the rewrites need qpdf
        for (const auto& [variant, options] : variants) {
            const std::string rewritten = (dir.path / (variant + ".pdf")).string();
            const std::string command = "qpdf --password='" + password + "' " + options + " '" +
                                        original + "' '" + rewritten + "' >/dev/null 2>&1";
            ASSERT_NE(std::system(command.c_str()), -1);
            // A rewrite keeps the original's encryption unless it sets its own.
            const bool encrypts = options.find("--encrypt") != std::string::npos;
            for (const std::string& tried : encrypts ? std::vector<std::string>{"U", "O"}
                                                     : std::vector<std::string>{password}) {
                EXPECT_EQ(test::DocumentText(rewritten, tried), expected)
                    << file.path << " " << variant << " " << tried;
            }
        }
    }
}

}  // namespace
}  // namespace tessary
