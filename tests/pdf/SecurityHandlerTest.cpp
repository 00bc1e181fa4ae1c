#include "pdf/SecurityHandler.h"

#include <gtest/gtest.h>

#include "decode/Md5.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "pdf/PdfParser.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

const std::string kData = std::string(TESSARY_CORPUS_DIR) + "/../pdf/data/";
const std::string kCorpus = std::string(TESSARY_CORPUS_DIR) + "/";

struct Prompter {
    std::vector<std::string> answers;  // password answers; cancel when none are left
    std::vector<std::pair<int, std::string>> calls;

    static int Callback(void* self, int kind, std::string& argument) {
        auto* prompter = static_cast<Prompter*>(self);
        prompter->calls.emplace_back(kind, argument);
        if (kind != kAskPassword || prompter->answers.empty())
            return 0;
        argument = prompter->answers.front();
        prompter->answers.erase(prompter->answers.begin());
        return 1;
    }
    int Prompts() const {
        return static_cast<int>(std::count_if(
            calls.begin(), calls.end(), [](const auto& c) { return c.first == kAskPassword; }));
    }
};

// The decoded content of every page, joined.
std::string PageContents(PdfDocument& document) {
    PdfObjectStore& store = *document.GetStore();
    std::string all;
    for (int i = 0;; ++i) {
        ObjectHandle page = store.GetPage(i);
        if (!page)
            break;
        ObjectHandle contents = DictionaryOrEmpty(page.get()).GetValue("/Contents");
        if (const PdfArray* parts = AsArray(contents.get())) {
            for (std::size_t k = 0; k < parts->GetCount(); ++k) {
                ObjectHandle part = parts->GetElement(k);
                if (const PdfStream* s = AsStream(part.get()))
                    all += s->data;
            }
        } else if (const PdfStream* s = AsStream(contents.get())) {
            all += s->data;
        }
        all += "\f";
    }
    return all;
}

std::string PlainContents(const std::string& path) {
    PdfDocument plain;
    EXPECT_TRUE(plain.Open(path, false, nullptr, nullptr));
    return PageContents(plain);
}

TEST(SecurityHandler, EncryptedFilesOpenWithEitherPassword) {
    struct Case {
        std::string file, plain, user;
    };
    const std::vector<Case> cases = {
        {kCorpus + "qpdf/lo-prose--rc4-40.pdf", kCorpus + "libreoffice/lo-prose.pdf", "user"},
        {kCorpus + "ghostscript/gs-groff-short--rc4-40.pdf",
         kCorpus + "ghostscript/gs-groff-short.pdf", "user"},
        {kData + "gs-groff-short--qpdf-rc4-40.pdf", kCorpus + "ghostscript/gs-groff-short.pdf",
         "user"},
    };
    for (const Case& c : cases) {
        const std::string expected = PlainContents(c.plain);
        ASSERT_GT(expected.size(), 1000u);
        for (const std::string& password : {c.user, std::string("owner")}) {
            Prompter prompter{{password}, {}};
            PdfDocument document;
            ASSERT_TRUE(document.Open(c.file, false, &Prompter::Callback, &prompter)) << c.file;
            EXPECT_EQ(prompter.Prompts(), 1);
            EXPECT_EQ(PageContents(document), expected) << c.file << " with " << password;
        }
    }
}

TEST(SecurityHandler, EmptyUserPasswordOpensWithoutAPrompt) {
    for (const std::string& file : {kCorpus + "qpdf/lo-prose--rc4-40-nopw.pdf",
                                    kData + "gs-groff-short--qpdf-rc4-40-nouser.pdf"}) {
        Prompter prompter;
        PdfDocument document;
        ASSERT_TRUE(document.Open(file, false, &Prompter::Callback, &prompter)) << file;
        EXPECT_TRUE(prompter.calls.empty());
        EXPECT_NE(PageContents(document).find("Tf"), std::string::npos);
    }
}

TEST(SecurityHandler, PasswordLoop) {
    const std::string file = kCorpus + "qpdf/lo-prose--rc4-40.pdf";
    {
        // Wrong, then right: one message between two prompts.
        Prompter prompter{{"wrong", "user"}, {}};
        PdfDocument document;
        EXPECT_TRUE(document.Open(file, false, &Prompter::Callback, &prompter));
        ASSERT_EQ(prompter.calls.size(), 3u);
        EXPECT_EQ(prompter.calls[0], (std::pair<int, std::string>{kAskPassword, ""}));
        EXPECT_EQ(prompter.calls[1], (std::pair<int, std::string>{
                                         kShowMessage, "Invalid password. Please input again."}));
        EXPECT_EQ(prompter.calls[2], (std::pair<int, std::string>{kAskPassword, "wrong"}));
    }
    {
        // An empty answer is not followed by the message; cancel ends the open.
        Prompter prompter{{"", "wrong"}, {}};
        PdfDocument document;
        EXPECT_FALSE(document.Open(file, false, &Prompter::Callback, &prompter));
        EXPECT_EQ(prompter.Prompts(), 3);
        EXPECT_EQ(prompter.calls.size(), 4u);
    }
    {
        PdfDocument document;  // no callback: the empty password alone is tried
        EXPECT_FALSE(document.Open(file, false, nullptr, nullptr));
    }
}

TEST(SecurityHandler, OtherHandlersAreRefused) {
    for (const char* file :
         {"qpdf/lo-prose--rc4-128.pdf", "ghostscript/gs-groff-short--rc4-128.pdf",
          "qpdf/lo-prose--aes-128.pdf", "qpdf/lo-prose--aes-256.pdf"}) {
        Prompter prompter{{"user"}, {}};
        PdfDocument document;
        EXPECT_FALSE(document.Open(kCorpus + file, false, &Prompter::Callback, &prompter)) << file;
        ASSERT_EQ(prompter.calls.size(), 1u) << file;
        EXPECT_EQ(prompter.calls[0].second, "This document is encrypted by non-stardard handler.");
    }
}

ObjectHandle Dictionary(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    return parser.ReadObject(0, 0);
}

TEST(SecurityHandler, FileKeyInputs) {
    ObjectHandle trailer = Dictionary("<< /ID [(first) (second)] >>");
    ObjectHandle noId = Dictionary("<< >>");
    auto key = [&](const std::string& encrypt, const std::string& password, const PdfObject* t) {
        ObjectHandle e = Dictionary(encrypt);
        FileKey k = ComputeFileKey(DictionaryOrEmpty(t), DictionaryOrEmpty(e.get()), password);
        EXPECT_EQ(k.length, 5u);
        return std::string(k.bytes.begin(), k.bytes.begin() + static_cast<long>(k.length));
    };
    // The key is MD5(padded password, /O, /P little-endian, first /ID string), cut to 5 bytes.
    Md5 md5;
    const std::uint8_t padding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41,
                                      0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
                                      0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80,
                                      0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};
    md5.Add(std::span<const std::uint8_t>(padding));
    md5.Add(std::string_view("owner-entry"));
    const std::uint8_t p[4] = {0xD4, 0xFF, 0xFF, 0xFF};
    md5.Add(std::span<const std::uint8_t>(p));
    md5.Add(std::string_view("first"));
    Md5::Digest digest = md5.Finish();
    EXPECT_EQ(key("<< /O (owner-entry) /P -44 >>", "", trailer.get()),
              std::string(digest.begin(), digest.begin() + 5));

    EXPECT_EQ(key("<< /O (o) /P 4294967292 >>", "pw", trailer.get()),
              key("<< /O (o) /P -4 >>", "pw", trailer.get()));
    EXPECT_NE(key("<< /O (o) /P -4 >>", "pw", trailer.get()),
              key("<< /O (o) /P -4 >>", "pw", noId.get()));
    // Past 32 bytes a password is cut; at its first zero byte it ends.
    const std::string long32(32, 'x');
    EXPECT_EQ(key("<< /O (o) >>", long32 + "tail", trailer.get()),
              key("<< /O (o) >>", long32, trailer.get()));
    EXPECT_EQ(key("<< /O (o) >>", std::string("ab\0cd", 5), trailer.get()),
              key("<< /O (o) >>", "ab", trailer.get()));
}

TEST(SecurityHandler, ShortUserEntryIsRejected) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog >>", "<< /Filter /Standard /V 1 /R 2 /O (o) /U (short) /P -4 >>"};
    test::TempDir dir;
    PdfDocument document;
    Prompter prompter{{"a", "b"}, {}};
    EXPECT_FALSE(document.Open(
        dir.Write("short.pdf", test::PdfBuilder(objects, "/Root 1 0 R /Encrypt 2 0 R").Build()),
        false, &Prompter::Callback, &prompter));
    EXPECT_EQ(prompter.Prompts(), 3);
}

}  // namespace
}  // namespace tessary
