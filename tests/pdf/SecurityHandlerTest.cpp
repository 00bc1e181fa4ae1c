#include "pdf/SecurityHandler.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::CorpusPath;
using test::Prompter;

const std::string kNonStandard = "This document is encrypted by non-stardard handler.";

// The decoded content streams of every page, joined.
std::string PageContents(const std::string& path, Prompter* prompter = nullptr) {
    PdfDocument document;
    if (!document.Open(path, false, prompter ? &Prompter::Callback : nullptr, prompter))
        return "(not opened)";
    std::string all;
    for (int i = 0; ObjectHandle page = document.GetStore()->GetPage(i); ++i) {
        ObjectHandle contents = DictionaryOrEmpty(page.get()).GetValue("/Contents");
        const PdfArray* parts = AsArray(contents.get());
        for (std::size_t k = 0; k < (parts ? parts->GetCount() : 1); ++k) {
            const std::string* data = GetStreamData(parts ? parts->PeekElement(k) : contents.get());
            all += data ? *data : "";
        }
        all += "\f";
    }
    return all;
}

// lo-prose.pdf encrypted by qpdf with these options, in `dir`.
std::string Encrypted(const test::TempDir& dir, const std::string& name,
                      const std::string& options) {
    const std::string path = (dir.path / name).string();
    const std::string command = "qpdf --allow-weak-crypto --encrypt user owner " + options +
                                " -- '" + CorpusPath("libreoffice/lo-prose.pdf") + "' '" + path +
                                "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? path : "";
}

// Revisions 3, 4 with AES and 6 are read through every corpus file (the qpdf
// variants test), and the keys of every revision are checked on their own
// (StandardSecurityTest); revision 2 and 4 with RC4 here.
TEST(SecurityHandler, EveryRevisionOpensWithEitherPassword) {
    const std::string prose = CorpusPath("libreoffice/lo-prose.pdf");
    std::vector<std::string> files = {CorpusPath("qpdf/lo-prose--rc4-40.pdf")};
    test::TempDir dir;
    if (std::system("qpdf --version >/dev/null 2>&1") == 0)
        files.push_back(Encrypted(dir, "r4-rc4.pdf", "128 --use-aes=n --force-V4"));
    const std::string expected = PageContents(prose);
    ASSERT_GT(expected.size(), 1000u);
    for (const std::string& file : files) {
        for (const char* password : {"user", "owner"}) {
            Prompter prompter{{password}, {}};
            EXPECT_EQ(PageContents(file, &prompter), expected) << file << " with " << password;
        }
    }
    // An empty user password opens without a prompt.
    Prompter prompter;
    EXPECT_EQ(PageContents(CorpusPath("qpdf/lo-prose--rc4-40-nopw.pdf"), &prompter),
              PageContents(prose));
    EXPECT_TRUE(prompter.calls.empty());
}

std::string EncryptedPdf(const std::string& encrypt) {
    return test::PdfBuilder({"<< /Type /Catalog >>", "<< " + encrypt + " >>"},
                            "/Root 1 0 R /Encrypt 2 0 R")
        .Build();
}

TEST(SecurityHandler, PasswordLoop) {
    const std::string file = CorpusPath("qpdf/lo-prose--rc4-40.pdf");
    PdfDocument document;
    // Wrong, then right: one message between two prompts.
    Prompter prompter{{"wrong", "user"}, {}};
    EXPECT_TRUE(document.Open(file, false, &Prompter::Callback, &prompter));
    EXPECT_EQ(prompter.calls, (std::vector<std::pair<int, std::string>>{
                                  {kAskPassword, ""},
                                  {kShowMessage, "Invalid password. Please input again."},
                                  {kAskPassword, "wrong"}}));
    // An empty answer is not followed by the message; cancel ends the open.
    prompter = {{"", "wrong"}, {}};
    EXPECT_FALSE(PdfDocument().Open(file, false, &Prompter::Callback, &prompter));
    EXPECT_EQ(prompter.Count(kAskPassword), 3);
    EXPECT_EQ(prompter.calls.size(), 4u);
    // No callback: the empty password alone is tried.
    EXPECT_FALSE(PdfDocument().Open(file, false, nullptr, nullptr));
}

TEST(SecurityHandler, UnknownHandlersAreRefused) {
    for (const char* handler :
         {"/Filter /Other /V 1", "/Filter /Standard", "/Filter /Standard /V 1.0",
          "/Filter /Standard /V 3 /R 3", "/Filter /Standard /V 2 /R 7",
          "/Filter /Standard /V 5 /R 4", "/Filter /Standard /V 4 /R 4 /StmF /Missing",
          "/Filter /Standard /V 4 /R 4 /CF << /StdCF << /CFM /Future >> >> /StrF /StdCF"}) {
        Prompter prompter;
        EXPECT_FALSE(test::TestDocument().Open(
            EncryptedPdf(std::string(handler) + " /O (o) /U (u) /P -4"), &prompter));
        EXPECT_EQ(prompter.calls,
                  (std::vector<std::pair<int, std::string>>{{kShowMessage, kNonStandard}}))
            << handler;
    }
}

TEST(SecurityHandler, CryptFiltersAndExemptions) {
    // An update to an AES file whose trailer leaves /Encrypt and /ID to the
    // older one: the encryption dictionary gains a crypt filter of a method
    // no reader knows, which no stream needs; streams name their own crypt
    // filter with /Crypt.
    const std::string aes = test::ReadFileBytes(CorpusPath("qpdf/lo-prose--aes-128.pdf"));
    const std::size_t start = aes.find("18 0 obj\n") + 9;
    std::string encrypt = aes.substr(start, aes.find("\nendobj", start) - start);
    encrypt.replace(encrypt.find("<< /StdCF"), 2, "<< /Unused << /CFM /FutureCipher >>");
    const std::string pdf = test::AppendUpdate(
        aes,
        {{18, encrypt},
         {19, test::StreamBody("/Filter /Crypt /DecodeParms << /Name /Identity >>", "plain")},
         {20, test::StreamBody("/Filter [/Crypt] /DecodeParms [<< /Name /Unused >>]", "x")},
         {21, test::StreamBody("/Type /XRef", "never encrypted")}},
        "/Size 22");
    Prompter prompter{{"user"}, {}};
    test::TestDocument document;
    ASSERT_TRUE(document.Open(pdf, &prompter));
    EXPECT_EQ(prompter.Count(kAskPassword), 1);
    EXPECT_EQ(document.DataOf(19), "plain");
    EXPECT_EQ(document.DataOf(20), "(absent)");
    EXPECT_EQ(document.DataOf(21), "never encrypted");

    // Metadata stays plain when /EncryptMetadata is false, and only then.
    test::TempDir dir;
    for (bool clear : {true, false}) {
        const std::string file = Encrypted(
            dir, "meta.pdf", clear ? "128 --use-aes=y --cleartext-metadata" : "128 --use-aes=y");
        if (file.empty())
            GTEST_SKIP() << "qpdf is not installed";
        prompter = {{"user"}, {}};
        ASSERT_TRUE(document.Open(
            test::AppendUpdate(test::ReadFileBytes(file),
                               {{90, test::StreamBody("/Type /Metadata", "<x:xmpmeta/>")}},
                               "/Size 91"),
            &prompter));
        EXPECT_EQ(document.DataOf(90) == "<x:xmpmeta/>", clear);
    }
}

}  // namespace
}  // namespace tessary
