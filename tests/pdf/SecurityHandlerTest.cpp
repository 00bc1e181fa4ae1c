#include "pdf/SecurityHandler.h"

#include <gtest/gtest.h>

#include "decode/Md5.h"
#include "decode/StandardSecurity.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::CorpusPath;
using test::Prompter;

const std::string kData = CorpusPath("../pdf/data/");
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
            ObjectHandle part = parts ? parts->GetElement(k) : std::move(contents);
            const std::string* data = GetStreamData(part.get());
            all += data ? *data : "";
        }
        all += "\f";
    }
    return all;
}

TEST(SecurityHandler, EncryptedFilesOpenWithEitherPassword) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {CorpusPath("qpdf/lo-prose--rc4-40.pdf"), CorpusPath("libreoffice/lo-prose.pdf")},
        {CorpusPath("ghostscript/gs-groff-short--rc4-40.pdf"),
         CorpusPath("ghostscript/gs-groff-short.pdf")},
        {kData + "gs-groff-short--qpdf-rc4-40.pdf", CorpusPath("ghostscript/gs-groff-short.pdf")},
    };
    for (const auto& [file, plain] : cases) {
        const std::string expected = PageContents(plain);
        ASSERT_GT(expected.size(), 1000u);
        for (const char* password : {"user", "owner"}) {
            Prompter prompter{{password}, {}};
            EXPECT_EQ(PageContents(file, &prompter), expected) << file << " with " << password;
            EXPECT_EQ(prompter.Count(kAskPassword), 1);
        }
    }
    // An empty user password opens without a prompt.
    for (const std::string& file : {CorpusPath("qpdf/lo-prose--rc4-40-nopw.pdf"),
                                    kData + "gs-groff-short--qpdf-rc4-40-nouser.pdf"}) {
        Prompter prompter;
        EXPECT_NE(PageContents(file, &prompter).find("Tf"), std::string::npos) << file;
        EXPECT_TRUE(prompter.calls.empty());
    }
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
    // A /U shorter than 32 bytes rejects every password.
    prompter = {{"a", "b"}, {}};
    EXPECT_FALSE(test::TestDocument().Open(
        EncryptedPdf("/Filter /Standard /V 1 /R 2 /O (o) /U (short) /P -4"), &prompter));
    EXPECT_EQ(prompter.Count(kAskPassword), 3);
}

TEST(SecurityHandler, OtherHandlersAreRefused) {
    const std::vector<std::pair<int, std::string>> refused = {{kShowMessage, kNonStandard}};
    for (const char* file :
         {"qpdf/lo-prose--rc4-128.pdf", "ghostscript/gs-groff-short--rc4-128.pdf",
          "qpdf/lo-prose--aes-128.pdf", "qpdf/lo-prose--aes-256.pdf"}) {
        Prompter prompter{{"user"}, {}};
        EXPECT_FALSE(PdfDocument().Open(CorpusPath(file), false, &Prompter::Callback, &prompter));
        EXPECT_EQ(prompter.calls, refused) << file;
    }
    for (const char* handler :
         {"/Filter /Standard /V 2 /R 3 /Length 128", "/Filter /Standard /V 1.0",
          "/Filter /Standard", "/Filter /Other /V 1"}) {
        Prompter prompter;
        EXPECT_FALSE(test::TestDocument().Open(
            EncryptedPdf(std::string(handler) + " /O (o) /U (u) /P -4"), &prompter));
        EXPECT_EQ(prompter.calls, refused) << handler;
    }
}

TEST(SecurityHandler, FileKeyInputs) {
    auto key = [](const std::string& encrypt, const std::string& password, bool withId = true) {
        ObjectHandle trailer = test::ParseObject(withId ? "<< /ID [(first) (second)] >>" : "<< >>");
        ObjectHandle e = test::ParseObject("<< " + encrypt + " >>");
        FileKey k =
            ComputeFileKey(DictionaryOrEmpty(trailer.get()), DictionaryOrEmpty(e.get()), password);
        EXPECT_EQ(k.length, 5u);
        return std::string(k.bytes.begin(), k.bytes.begin() + 5);
    };
    // MD5 of the padded password, /O, /P little-endian and the first /ID string, cut to 5 bytes.
    Md5 md5;
    md5.Add(PadPassword("") + "owner-entry\xD4\xFF\xFF\xFF" + "first");
    Md5::Digest digest = md5.Finish();
    EXPECT_EQ(key("/O (owner-entry) /P -44", ""), std::string(digest.begin(), digest.begin() + 5));
    EXPECT_EQ(key("/O (o) /P 4294967292", "pw"), key("/O (o) /P -4", "pw"));
    EXPECT_NE(key("/O (o) /P -4", "pw"), key("/O (o) /P -4", "pw", false));
    // Past 32 bytes a password is cut; at its first zero byte it ends.
    EXPECT_EQ(key("/O (o)", std::string(32, 'x') + "tail"), key("/O (o)", std::string(32, 'x')));
    EXPECT_EQ(key("/O (o)", std::string("ab\0cd", 5)), key("/O (o)", "ab"));
}

}  // namespace
}  // namespace tessary
