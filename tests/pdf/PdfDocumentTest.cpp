#include "pdf/PdfDocument.h"

#include <gtest/gtest.h>

#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::PdfBuilder;
using test::StreamBody;

struct Recorder {
    std::vector<std::pair<int, std::string>> calls;
    std::vector<std::string> passwords;  // answers to kind 2, in order; cancel when none left

    static int Callback(void* self, int kind, std::string& argument) {
        auto* recorder = static_cast<Recorder*>(self);
        recorder->calls.emplace_back(kind, argument);
        if (kind == kAskPassword) {
            if (recorder->passwords.empty())
                return 0;
            argument = recorder->passwords.front();
            recorder->passwords.erase(recorder->passwords.begin());
            return 1;
        }
        return 0;
    }
};

class PdfDocumentTest : public ::testing::Test {
  protected:
    bool Open(const std::string& bytes, Recorder* recorder = nullptr) {
        path = dir.Write("doc.pdf", bytes);
        return document.Open(path, false, recorder ? &Recorder::Callback : nullptr, recorder);
    }
    std::string ValueOf(int number) {
        return GetStringValue(document.GetStore()->GetObject(number, 0).get());
    }

    test::TempDir dir;
    std::string path;
    PdfDocument document;
};

const std::vector<std::string> kObjects = {"<< /Type /Catalog >>", "(two)", "(three)"};

TEST_F(PdfDocumentTest, FindsTheLastEofAndStartxref) {
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    EXPECT_TRUE(Open(pdf + "trailing garbage after the end"));
    EXPECT_EQ(ValueOf(2), "two");
    // A later "%%EOF" is the one used; the "startxref" searched is the last before it.
    EXPECT_TRUE(Open(pdf + "more bytes\n%%EOF junk"));
    EXPECT_TRUE(Open(pdf + "startxref\n999999\n%%EOF\n") == false);
}

TEST_F(PdfDocumentTest, MalformedStructureFailsToOpen) {
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    auto without = [&](const std::string& what, const std::string& instead) {
        std::string copy = pdf;
        copy.replace(copy.rfind(what), what.size(), instead);
        return copy;
    };
    EXPECT_FALSE(Open(without("%%EOF", "%%EOX")));
    EXPECT_FALSE(Open(without("startxref", "startxrex")));
    EXPECT_FALSE(Open(without("xref\n0", "xrex\n0")));
    EXPECT_FALSE(Open(without("trailer", "trailex")));
    std::string notDictionary = without("<< /Size", "[ /Size");
    notDictionary.replace(notDictionary.rfind(">>\nstartxref"), 2, " ]");
    EXPECT_FALSE(Open(notDictionary));
    EXPECT_FALSE(Open(""));
    EXPECT_FALSE(Open("%%EOF"));  // offset 0 is never probed
    EXPECT_FALSE(document.Open(dir.Path() / "missing.pdf", false, nullptr, nullptr));
}

TEST_F(PdfDocumentTest, IncrementalUpdates) {
    PdfBuilder builder(kObjects, "/Root 1 0 R");
    builder.AddUpdate({{2, "(two, updated)"}}, "/Root 1 0 R");
    builder.AddUpdate({{4, "(four)"}}, "/Root 1 0 R");
    ASSERT_TRUE(Open(builder.Build()));
    EXPECT_EQ(ValueOf(2), "two, updated");  // the newest definition wins
    EXPECT_EQ(ValueOf(3), "three");         // found through the /Prev chain of three sections
    EXPECT_EQ(ValueOf(4), "four");

    // An entry of another generation doesn't hide the old one.
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    std::size_t prev = pdf.rfind("startxref\n") + 10;
    std::string prevOffset = pdf.substr(prev, pdf.find('\n', prev) - prev);
    std::size_t at = pdf.size();
    pdf += "2 1 obj\n(generation one)\nendobj\n";
    std::size_t xref = pdf.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00001 n\r\n", at);
    pdf += "xref\n2 1\n" + std::string(entry) + "trailer\n<< /Size 4 /Root 1 0 R /Prev " +
           prevOffset + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(GetStringValue(document.GetStore()->GetObject(2, 1).get()), "generation one");
    EXPECT_EQ(ValueOf(2), "two");
}

TEST_F(PdfDocumentTest, BrokenPrevChainsEndButOpenSucceeds) {
    PdfBuilder builder(kObjects, "/Root 1 0 R");
    builder.AddUpdate({{2, "(new)"}}, "/Root 1 0 R");
    std::string pdf = builder.Build();
    std::size_t prev = pdf.rfind("/Prev ") + 6;
    std::size_t end = pdf.find(' ', prev);

    std::string pastEnd = pdf;
    pastEnd.replace(prev, end - prev, "99999999");
    ASSERT_TRUE(Open(pastEnd));
    EXPECT_EQ(ValueOf(2), "new");
    EXPECT_EQ(ValueOf(3), "");  // only in the unreadable older section

    // A /Prev that leads back to the newest section itself ends the chain.
    std::string loop = pdf;
    std::size_t sx = loop.rfind("startxref\n") + 10;
    std::string self = loop.substr(sx, loop.find('\n', sx) - sx);
    loop.replace(prev, end - prev, self);
    ASSERT_TRUE(Open(loop));
    EXPECT_EQ(ValueOf(2), "new");
}

TEST_F(PdfDocumentTest, SubsectionsRunningPastTheFileKeepWhatIsThere) {
    // The older section claims far more entries than the file holds: the
    // entries that are there stay usable, the rest read as absent.
    // The older trailer's /Pad makes room, so that no offset moves.
    PdfBuilder builder(kObjects, "/Root 1 0 R /Pad (123456789)");
    builder.AddUpdate({{2, "(new)"}}, "/Root 1 0 R");
    std::string pdf = builder.Build();
    pdf.replace(pdf.find("xref\n0 4"), 8, "xref\n0 2147483647");
    pdf.replace(pdf.find("/Pad (123456789)"), 16, "/Pad ()");
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(ValueOf(3), "three");
    EXPECT_EQ(document.GetStore()->GetObject(2000000000, 0), nullptr);

    std::string negative = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    negative.replace(negative.find("xref\n0 4"), 8, "xref\n0 -4");
    EXPECT_FALSE(Open(negative));
}

TEST_F(PdfDocumentTest, ObjectLookupChecksTheHeader) {
    // Object 3's entry points at object 2: the header test fails, nothing is cached.
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    PdfBuilder builder(kObjects, "/Root 1 0 R");
    long offset2 = builder.OffsetOf(2);
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010ld 00000 n", offset2);
    std::size_t entry3 = pdf.find("xref\n0 4\n") + 9 + 3 * 20;
    pdf.replace(entry3, 18, entry);
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(document.GetStore()->GetObject(3, 0), nullptr);
    EXPECT_EQ(document.GetStore()->GetObject(3, 0), nullptr);
    EXPECT_EQ(ValueOf(2), "two");

    // A free entry whose generation matches is still looked for.
    std::string free = PdfBuilder(kObjects, "/Root 1 0 R").Build();
    std::size_t entry2 = free.find("xref\n0 4\n") + 9 + 2 * 20;
    free[entry2 + 17] = 'f';
    ASSERT_TRUE(Open(free));
    EXPECT_EQ(ValueOf(2), "two");
}

TEST_F(PdfDocumentTest, Streams) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog >>",
        "<< /Length 3 0 R >>\nstream\nhello\nendstream",  // indirect /Length
        "5",
        "<< /Length 3 >>\nstream\nabc   \n\nendstream",  // white space before endstream is fine
        "<< /Length 9 >>\nstream\nabc\nendstream",       // reaches into endstream
        "<< /Length -1 >>\nstream\nabc\nendstream",
        "<< /Length 2000000000 >>\nstream\nabc\nendstream",
        "<< /Length 8 0 R >>\nstream\nabc\nendstream",  // its /Length is itself
        "[ << /Length 3 >> stream\nabc\nendstream (after) ]",
    };
    ASSERT_TRUE(Open(PdfBuilder(objects, "/Root 1 0 R").Build()));
    PdfObjectStore& store = *document.GetStore();
    ObjectHandle stream = store.GetObject(2, 0);
    ASSERT_TRUE(IsKind(stream.get(), PdfObjectType::Stream));
    EXPECT_EQ(AsStream(stream.get())->data, "hello");
    EXPECT_EQ(AsStream(stream.get())->dictionary->GetValueString("/Length"), "5");
    EXPECT_EQ(AsStream(store.GetObject(4, 0).get())->data, "abc");
    EXPECT_EQ(store.GetObject(5, 0), nullptr);
    EXPECT_EQ(store.GetObject(6, 0), nullptr);
    EXPECT_EQ(store.GetObject(7, 0), nullptr);
    EXPECT_EQ(store.GetObject(8, 0), nullptr);
    // The reading goes on right after "endstream".
    ObjectHandle array = store.GetObject(9, 0);
    ASSERT_TRUE(IsKind(array.get(), PdfObjectType::Array));
    EXPECT_EQ(AsArray(array.get())->GetElementString(1), "after");
}

TEST_F(PdfDocumentTest, NonStandardEncryptionIsRefused) {
    for (const char* handler :
         {"/Filter /Standard /V 2 /R 3 /Length 128", "/Filter /Standard /V 1.0",
          "/Filter /Standard", "/Filter /Other /V 1"}) {
        Recorder recorder;
        std::vector<std::string> objects = kObjects;
        objects.push_back(std::string("<< ") + handler + " /O (o) /U (u) /P -4 >>");
        EXPECT_FALSE(Open(PdfBuilder(objects, "/Root 1 0 R /Encrypt 4 0 R").Build(), &recorder));
        ASSERT_EQ(recorder.calls.size(), 1u) << handler;
        EXPECT_EQ(recorder.calls[0].first, kShowMessage);
        EXPECT_EQ(recorder.calls[0].second, "This document is encrypted by non-stardard handler.");
    }
}

}  // namespace
}  // namespace tessary
