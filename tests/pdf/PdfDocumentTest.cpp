#include "pdf/PdfDocument.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::PdfBuilder;

const std::vector<std::string> kObjects = {"<< /Type /Catalog >>", "(two)", "(three)"};
const std::string kPdf = PdfBuilder(kObjects, "/Root 1 0 R").Build();

// s with the last occurrence of `what` replaced.
std::string Replace(std::string s, const std::string& what, const std::string& with) {
    return s.replace(s.rfind(what), what.size(), with);
}

class PdfDocumentTest : public ::testing::Test, public test::TestDocument {};

TEST_F(PdfDocumentTest, FindsTheLastEofAndStartxref) {
    EXPECT_TRUE(Open(kPdf + "trailing garbage after the end"));
    EXPECT_EQ(ValueOf(2), "two");
    EXPECT_TRUE(Open(kPdf + "more bytes\n%%EOF junk"));
    EXPECT_FALSE(Open(kPdf + "startxref\n999999\n%%EOF\n"));
}

TEST_F(PdfDocumentTest, MalformedStructureFailsToOpen) {
    EXPECT_FALSE(Open(Replace(kPdf, "%%EOF", "%%EOX")));
    EXPECT_FALSE(Open(Replace(kPdf, "startxref", "startxrex")));
    EXPECT_FALSE(Open(Replace(kPdf, "xref\n0", "xrex\n0")));
    EXPECT_FALSE(Open(Replace(kPdf, "trailer", "trailex")));
    EXPECT_FALSE(
        Open(Replace(Replace(kPdf, "<< /Size", "[ /Size"), ">>\nstartxref", " ]\nstartxref")));
    EXPECT_FALSE(Open(""));
    EXPECT_FALSE(Open("%%EOF"));  // offset 0 is never probed
    EXPECT_FALSE(PdfDocument().Open(dir.path / "missing.pdf", false, nullptr, nullptr));
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
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R")
                          .AddUpdate({{2, "(generation one)"}}, "/Root 1 0 R")
                          .Build();
    ASSERT_TRUE(Open(Replace(Replace(pdf, "2 0 obj", "2 1 obj"), "00000 n", "00001 n")));
    EXPECT_EQ(GetStringValue(Store().GetObject(2, 1).get()), "generation one");
    EXPECT_EQ(ValueOf(2), "two");
}

TEST_F(PdfDocumentTest, BrokenPrevChainsEndButOpenSucceeds) {
    std::string pdf =
        PdfBuilder(kObjects, "/Root 1 0 R").AddUpdate({{2, "(new)"}}, "/Root 1 0 R").Build();
    std::size_t prev = pdf.rfind("/Prev ") + 6;
    std::size_t length = pdf.find(' ', prev) - prev;
    ASSERT_TRUE(Open(std::string(pdf).replace(prev, length, "99999999")));
    EXPECT_EQ(ValueOf(2), "new");
    EXPECT_EQ(ValueOf(3), "");  // only in the unreadable older section

    // A /Prev that leads back to the newest section itself ends the chain.
    std::size_t newest = pdf.rfind("startxref\n") + 10;
    ASSERT_TRUE(Open(std::string(pdf).replace(
        prev, length, pdf.substr(newest, pdf.find('\n', newest) - newest))));
    EXPECT_EQ(ValueOf(2), "new");
}

TEST_F(PdfDocumentTest, SubsectionsRunningPastTheFileKeepWhatIsThere) {
    // The older section claims far more entries than the file holds: those
    // that are there stay usable, the rest read as absent. /Pad makes room
    // for the longer count, so that no offset moves.
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R /Pad (123456789)")
                          .AddUpdate({{2, "(new)"}}, "/Root 1 0 R")
                          .Build();
    pdf = Replace(Replace(pdf, "xref\n0 4", "xref\n0 2147483647"), "/Pad (123456789)", "/Pad ()");
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(ValueOf(3), "three");
    EXPECT_EQ(Store().GetObject(2000000000, 0), nullptr);
    EXPECT_FALSE(Open(Replace(kPdf, "xref\n0 4", "xref\n0 -4")));
}

TEST_F(PdfDocumentTest, ObjectLookupChecksTheHeader) {
    // Object 3's entry points at object 2: the header test fails, nothing is cached.
    const std::size_t table = kPdf.find("xref\n0 4\n") + 9;
    std::string pdf = kPdf;
    pdf.replace(table + 3 * 20, 10, kPdf.substr(table + 2 * 20, 10));
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(Store().GetObject(3, 0), nullptr);
    EXPECT_EQ(Store().GetObject(3, 0), nullptr);
    EXPECT_EQ(ValueOf(2), "two");

    // A free entry whose generation matches is still looked for.
    pdf = kPdf;
    pdf[table + 2 * 20 + 17] = 'f';
    ASSERT_TRUE(Open(pdf));
    EXPECT_EQ(ValueOf(2), "two");
}

TEST_F(PdfDocumentTest, Streams) {
    ASSERT_TRUE(
        Open(PdfBuilder({"<< /Type /Catalog >>",
                         "<< /Length 3 0 R >>\nstream\nhello\nendstream",  // indirect
                         "5",
                         "<< /Length 3 >>\nstream\nabc   \n\nendstream",  // space before end
                         "<< /Length 9 >>\nstream\nabc\nendstream",       // into endstream
                         "<< /Length -1 >>\nstream\nabc\nendstream",
                         "<< /Length 2000000000 >>\nstream\nabc\nendstream",
                         "<< /Length 8 0 R >>\nstream\nabc\nendstream",  // its own /Length
                         "[ << /Length 3 >> stream\nabc\nendstream (after) ]"},
                        "/Root 1 0 R")
                 .Build()));
    ObjectHandle stream = Store().GetObject(2, 0);
    ASSERT_TRUE(IsKind(stream.get(), PdfObjectType::Stream));
    EXPECT_EQ(AsStream(stream.get())->data, "hello");
    EXPECT_EQ(AsStream(stream.get())->dictionary->GetValueString("/Length"), "5");
    EXPECT_EQ(AsStream(Store().GetObject(4, 0).get())->data, "abc");
    for (int n = 5; n <= 8; ++n)
        EXPECT_EQ(Store().GetObject(n, 0), nullptr) << n;
    // The reading goes on right after "endstream".
    ObjectHandle array = Store().GetObject(9, 0);
    ASSERT_TRUE(IsKind(array.get(), PdfObjectType::Array));
    EXPECT_EQ(AsArray(array.get())->GetElementString(1), "after");
}

}  // namespace
}  // namespace tessary
