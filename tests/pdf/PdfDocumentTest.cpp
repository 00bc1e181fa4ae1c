#include "pdf/PdfDocument.h"

#include <gtest/gtest.h>

#include "pdf/Limits.h"
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

// As Replace, padding `with` with spaces so that no offset moves.
std::string Overwrite(const std::string& s, const std::string& what, std::string with) {
    with.resize(std::max(what.size(), with.size()), ' ');
    return Replace(s, what, with);
}

class PdfDocumentTest : public ::testing::Test, public test::TestDocument {
  protected:
    // Opens the file and gives the values of objects 2 and 3, "-" when it
    // doesn't open; "+" marks a repaired file.
    std::string Read(const std::string& pdf) {
        if (!Open(pdf))
            return "-";
        return (document->WasRepaired() ? "+" : "") + ValueOf(2) + "," + ValueOf(3);
    }
};

TEST_F(PdfDocumentTest, FindsTheLastEofAndStartxref) {
    EXPECT_EQ(Read(kPdf + "trailing garbage after the end"), "two,three");
    EXPECT_EQ(Read(kPdf + "more bytes\n%%EOF junk"), "two,three");
    EXPECT_EQ(Read(""), "-");
    EXPECT_EQ(Read("%%EOF"), "-");
    EXPECT_FALSE(PdfDocument().Open(dir.path / "missing.pdf", false, nullptr, nullptr));
}

TEST_F(PdfDocumentTest, UpdatesAndChainsMixingTablesAndStreams) {
    const std::map<int, std::string> update = {{1, "<< /Type /Catalog >>"}, {2, "(new)"}};
    for (bool baseStream : {false, true}) {
        PdfBuilder builder(kObjects, "/Root 1 0 R");
        if (baseStream)
            builder.UseXrefStream();
        builder.AddUpdate(update, "/Root 1 0 R", !baseStream)
            .AddUpdate({{4, "(four)"}}, "/Root 1 0 R", baseStream);
        ASSERT_TRUE(Open(builder.Build()));
        EXPECT_EQ(ValueOf(2), "new");    // the newest definition wins
        EXPECT_EQ(ValueOf(3), "three");  // through the whole chain
        EXPECT_EQ(ValueOf(4), "four");
        EXPECT_FALSE(document->WasRepaired());
    }
    // An entry of another generation doesn't hide the old one.
    std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R")
                          .AddUpdate({{2, "(generation one)"}}, "/Root 1 0 R")
                          .Build();
    ASSERT_TRUE(Open(Replace(Replace(pdf, "2 0 obj", "2 1 obj"), "00000 n", "00001 n")));
    EXPECT_EQ(GetStringValue(Store().GetObject(2, 1).get()), "generation one");
    EXPECT_EQ(ValueOf(2), "two");

    // A /Prev that comes back ends the chain; one that can't be read leaves
    // the file to a repair.
    for (bool asStream : {false, true}) {
        pdf = PdfBuilder(kObjects, "/Root 1 0 R").AddUpdate(update, "", asStream).Build();
        const std::size_t prev = pdf.rfind("/Prev ") + 6;
        const std::size_t length = pdf.find(' ', prev) - prev;
        EXPECT_EQ(Read(std::string(pdf).replace(prev, length, test::LastStartxref(pdf))), "new,");
        EXPECT_EQ(Read(std::string(pdf).replace(prev, length, "99999999")), "+new,three");
    }
}

TEST_F(PdfDocumentTest, CrossReferenceStreams) {
    // Every field width, with and without a type field, and /Index pairs
    // listed out of order.
    for (std::array<int, 3> widths :
         {std::array{1, 4, 2}, {1, 2, 1}, {0, 3, 0}, {2, 8, 2}, {1, 3, 0}}) {
        for (bool split : {false, true}) {
            EXPECT_EQ(
                Read(PdfBuilder(kObjects, "/Root 1 0 R").UseXrefStream(widths, split).Build()),
                "two,three")
                << widths[0] << widths[1] << widths[2] << split;
        }
    }
    // A stream section that can't be read leaves the file to a repair.
    const std::string pdf = PdfBuilder(kObjects, "/Root 1 0 R").UseXrefStream().Build();
    for (const char* w : {"/W [1 9 2]", "/W [1 4]  ", "/W [1 4 /A]", "/W 7"})
        EXPECT_EQ(Read(Overwrite(pdf, "/W [1 4 2]", w)), "+two,three") << w;
    EXPECT_EQ(Read(Overwrite(pdf, "/Type /XRef", "/Type /XRex")), "+two,three");
    // Counts far beyond the data allocate nothing: the entries it lacks are absent.
    for (const char* index : {"/Index [0 2147483647]", "/Size 2147483647"}) {
        EXPECT_EQ(Read(Overwrite(pdf, "/Index [ 0 5 ]", index)), "two,three");
        EXPECT_EQ(Store().GetObject(2000000000, 0), nullptr);
    }
}

TEST_F(PdfDocumentTest, ObjectStreams) {
    // The catalog inside the stream too, as many writers do.
    EXPECT_EQ(Read(PdfBuilder(kObjects, "/Root 1 0 R").UseObjectStream({1, 2, 3}).Build()),
              "two,three");
    // A hybrid file: the table marks them free, its cross-reference stream
    // gives them; without /XRefStm they are absent.
    const std::string hybrid =
        PdfBuilder(kObjects, "/Root 1 0 R").UseObjectStream({2, 3}).MakeHybrid().Build();
    EXPECT_EQ(Read(hybrid), "two,three");
    EXPECT_EQ(Read(Overwrite(hybrid, "/XRefStm", "/XRefStx")), ",");
    // One that leads back into the chain ends it.
    const std::size_t stm = hybrid.rfind("/XRefStm ") + 9;
    EXPECT_EQ(Read(std::string(hybrid).replace(stm, hybrid.find(' ', stm) - stm,
                                               test::LastStartxref(hybrid))),
              ",");
    // Header counts and offsets are bounded by the decoded data.
    EXPECT_EQ(
        Read(PdfBuilder(kObjects, "/Root 1 0 R").UseObjectStream({2, 3}, "/N 2147483647").Build()),
        "two,three");
    EXPECT_EQ(
        Read(PdfBuilder(kObjects, "/Root 1 0 R").UseObjectStream({2, 3}, "/First 99").Build()),
        ",");
    // A /Length among the stream's own objects reads as absent.
    const std::string pdf =
        PdfBuilder({"<< /Type /Catalog >>", "(two)", "(three)", "12"}, "/Root 1 0 R")
            .UseObjectStream({2, 3, 4}, "/Pad (......)")
            .Build();
    EXPECT_EQ(Read(pdf), "two,three");
    const std::size_t pad = pdf.find("/Pad");
    EXPECT_EQ(Read(Overwrite(pdf, pdf.substr(pad, pdf.find(" >>", pad) - pad), "/Length 4 0 R")),
              ",");
    // An object stream listed inside itself (nested, and holding itself).
    std::string nested = pdf;
    const std::size_t entry = nested.rfind("stream\r\n") + 8 + 5 * 7;
    nested.replace(entry, 7, std::string("\x02\x00\x00\x00\x05\x00\x00", 7));
    EXPECT_EQ(Read(nested), ",");
    EXPECT_EQ(Store().GetObject(5, 0), nullptr);
}

TEST_F(PdfDocumentTest, DamagedFilesAreRepaired) {
    const std::string header = "%PDF-1.4\n";
    const std::string body = kPdf.substr(0, kPdf.find("xref\n0 4"));
    const std::string streams = PdfBuilder(kObjects, "/Root 1 0 R").UseObjectStream({2, 3}).Build();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {header + "junk shifting every offset\n" + kPdf.substr(header.size()), "+two,three"},
        {Replace(kPdf, "startxref", "startxrex"), "+two,three"},
        {Replace(kPdf, "%%EOF", "%%EOX"), "+two,three"},
        {Replace(kPdf, "xref\n0 4", "xrex\n0 4"), "+two,three"},
        {Replace(kPdf, "xref\n0 4", "xref\n0 -4"), "+two,three"},
        {Replace(kPdf, "trailer", "trailex"), "+two,three"},  // the catalog is found by its /Type
        {body, "+two,three"},                                 // cut before the table
        {body.substr(0, body.find("3 0 obj") + 5), "+two,"},  // cut inside a header
        // The last definition of a number wins.
        {body + "2 0 obj\n(again)\nendobj\n", "+again,three"},
        // The trailer from a cross-reference stream; objects from the object stream.
        {Replace(streams, "startxref\n", "startxref\n1"), "+two,three"},
        // A stream whose /Length is wrong is read up to its "endstream".
        {Replace(body, "(three)", "<< /Length 99 >>\nstream\nabc\r\nendstream"), "+two,"},
        {"not a PDF file", "-"},
        {Replace(body, "/Catalog", "/Catalox"), "-"},
    };
    for (const auto& [pdf, expected] : cases)
        EXPECT_EQ(Read(pdf), expected) << pdf;
    ASSERT_TRUE(Open(Replace(body, "(three)", "<< /Length 99 >>\nstream\nabc\r\nendstream")));
    EXPECT_EQ(DataOf(3), "abc");
}

TEST_F(PdfDocumentTest, EntriesThatDontHoldTheirObject) {
    // Object 3's entry points at object 2: the header test fails, nothing is
    // cached, and as the catalog is where its entry says, nothing is repaired.
    const std::size_t table = kPdf.find("xref\n0 4\n") + 9;
    std::string pdf = kPdf;
    pdf.replace(table + 3 * 20, 10, kPdf.substr(table + 2 * 20, 10));
    EXPECT_EQ(Read(pdf), "two,");
    EXPECT_EQ(Store().GetObject(3, 0), nullptr);

    // A free entry whose generation matches is still looked for.
    pdf = kPdf;
    pdf[table + 2 * 20 + 17] = 'f';
    EXPECT_EQ(Read(pdf), "two,three");

    // A subsection claiming far more entries than the file holds allocates
    // nothing big; the section can't be read whole, so the file is repaired.
    pdf = PdfBuilder(kObjects, "/Root 1 0 R /Pad (123456789)")
              .AddUpdate({{2, "(new)"}}, "/Root 1 0 R")
              .Build();
    pdf = Replace(Replace(pdf, "xref\n0 4", "xref\n0 2147483647"), "/Pad (123456789)", "/Pad ()");
    EXPECT_EQ(Read(pdf), "+new,three");
}

TEST_F(PdfDocumentTest, StreamsAreReadWhenAskedFor) {
    test::Prompter prompter;
    ASSERT_TRUE(
        Open(PdfBuilder({"<< /Type /Catalog >>",
                         "<< /Length 3 0 R >>\nstream\nhello\nendstream",  // indirect
                         "5",
                         "<< /Length 3 >>\nstream\nabc   \n\nendstream",  // space before end
                         "<< /Length 9 >>\nstream\nabc\nendstream",       // into endstream
                         "<< /Length -1 >>\nstream\nabc\nendstream",
                         "<< /Length 2000000000 >>\nstream\nabc\nendstream",
                         "<< /Length 8 0 R >>\nstream\nabc\nendstream",  // its own /Length
                         "[ << /Length 3 >> stream\nabc\nendstream (after) ]",
                         test::StreamBody("/Filter /NotYetSeenDecode", "abc")},
                        "/Root 1 0 R")
                 .Build(),
             &prompter));
    EXPECT_EQ(DataOf(2) + DataOf(4), "helloabc");
    for (int n = 5; n <= 8; ++n)
        EXPECT_EQ(Store().GetObject(n, 0), nullptr) << n;
    // The reading goes on right after "endstream".
    ObjectHandle array = Store().GetObject(9, 0);
    ASSERT_TRUE(IsKind(array.get(), PdfObjectType::Array));
    EXPECT_EQ(AsArray(array.get())->GetElementString(1), "after");
    // Looking a stream up decodes nothing; its filter is reported when its
    // bytes are asked for.
    ObjectHandle unsupported = Store().GetObject(10, 0);
    ASSERT_TRUE(IsKind(unsupported.get(), PdfObjectType::Stream));
    EXPECT_TRUE(prompter.calls.empty());
    EXPECT_EQ(GetStreamData(unsupported.get()), nullptr);
    EXPECT_EQ(prompter.Count(kShowMessage), 1);
}

TEST_F(PdfDocumentTest, StreamsReadForReuseAreKeptWithinTheDocumentsAllowance) {
    const std::string fills(kMaxKeptStreamBytes - 6, 'x');
    ASSERT_TRUE(Open(PdfBuilder({"<< /Type /Catalog >>", test::StreamBody("", "once"),
                                 test::StreamBody("", "reused"), test::StreamBody("", fills),
                                 test::StreamBody("", "late")},
                                "/Root 1 0 R")
                         .Build()));
    std::string buffer, other;
    auto read = [&](int number, std::string& into, bool reuse) {
        return AsStream(Store().GetObject(number, 0).get())->ReadData(into, reuse);
    };
    EXPECT_EQ(read(2, buffer, false), &buffer);  // decoded for this reading only
    EXPECT_EQ(buffer, "once");
    EXPECT_EQ(read(2, other, false), &other);
    EXPECT_EQ(read(3, buffer, true), &buffer);  // kept from the second use on
    const std::string* kept = read(3, buffer, true);
    ASSERT_NE(kept, &buffer);
    EXPECT_EQ(*kept, "reused");
    EXPECT_EQ(read(3, other, false), kept);
    read(4, buffer, true);
    EXPECT_NE(read(4, buffer, true), &buffer);  // takes the rest of the allowance
    read(5, buffer, true);
    EXPECT_EQ(read(5, buffer, true), &buffer);
    EXPECT_EQ(buffer, "late");
}

}  // namespace
}  // namespace tessary
