#include "pdf/FilterChain.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "pdf/PdfDocument.h"
#include "pdf/PdfObjectStore.h"
#include "support/PdfBuilder.h"

namespace tessary {
namespace {

using test::PdfBuilder;
using test::StreamBody;

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(data.data()), data.size());
    out.resize(size);
    return out;
}

std::string Ascii85(const std::string& data) {
    std::string out;
    for (std::size_t i = 0; i < data.size(); i += 4) {
        std::uint32_t value = 0;
        const std::size_t n = std::min<std::size_t>(4, data.size() - i);
        for (std::size_t k = 0; k < 4; ++k) {
            value = value * 256 + (k < n ? static_cast<std::uint8_t>(data[i + k]) : 0);
        }
        char group[5];
        for (int k = 4; k >= 0; --k) {
            group[k] = static_cast<char>('!' + value % 85);
            value /= 85;
        }
        out.append(group, n + 1);
    }
    return out + "~>";
}

struct Messages {
    std::vector<std::string> shown;
    static int Callback(void* self, int kind, std::string& text) {
        if (kind == kShowMessage)
            static_cast<Messages*>(self)->shown.push_back(text);
        return 0;
    }
};

class FilterChainTest : public ::testing::Test {
  protected:
    PdfObjectStore& Open(std::vector<std::string> streams) {
        streams.insert(streams.begin(), "<< /Type /Catalog >>");
        document = std::make_unique<PdfDocument>();
        EXPECT_TRUE(document->Open(dir.Write("f.pdf", PdfBuilder(streams, "/Root 1 0 R").Build()),
                                   false, &Messages::Callback, &messages));
        return *document->GetStore();
    }
    // Data of stream object n, or "(absent)".
    std::string Data(int n) {
        ObjectHandle obj = document->GetStore()->GetObject(n, 0);
        const PdfStream* stream = AsStream(obj.get());
        return stream ? stream->data : "(absent)";
    }

    test::TempDir dir;
    Messages messages;
    std::unique_ptr<PdfDocument> document;
};

TEST_F(FilterChainTest, FiltersRunInOrder) {
    const std::string text = "BT /F1 12 Tf (Hello) Tj ET";
    const std::string big(600000, 'x');  // past the fixed buffer an older design had
    Open({StreamBody("/Filter [/ASCII85Decode /FlateDecode]", Ascii85(Compress(text))),
          StreamBody("/Filter /FlateDecode", Compress(big)),
          StreamBody("/Filter [null /FlateDecode 3]", Compress(text)),
          StreamBody("/Filter /FlateDecode /Predictor 1", Compress(text)),
          StreamBody("/Filter /FlateDecode /Predictor 12", Compress(text)),
          StreamBody("/Filter /LZWDecode /Predictor 2", "\x80\x0b\x60\x50\x22\x0c\x0c\x85\x01"),
          StreamBody("/Filter /FlateDecode", "not zlib data"),
          StreamBody("/Filter 10 0 R", Compress(text)), "/FlateDecode",
          StreamBody("/Filter /LZWDecode", "\x80\x0b\x60\x50\x22\x0c\x0c\x85\x01"),
          StreamBody("", "plain")});
    EXPECT_EQ(Data(2), text);
    EXPECT_EQ(Data(3), big);
    EXPECT_EQ(Data(4), "(absent)");  // the number 3 is taken as a filter name
    EXPECT_EQ(Data(5), text);
    EXPECT_EQ(Data(6), "(absent)");  // predictors are refused, silently
    EXPECT_EQ(Data(7), "(absent)");
    EXPECT_EQ(Data(8), "");  // a stream that doesn't inflate reads as empty
    EXPECT_EQ(Data(9), text);
    EXPECT_EQ(Data(11), "-----A---B");
    EXPECT_EQ(Data(12), "plain");
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"Unsupported decoder: 3, please contact Korvane Software."});
    // The stored /Length is the decoded length.
    ObjectHandle stream = document->GetStore()->GetObject(3, 0);
    EXPECT_EQ(AsStream(stream.get())->dictionary->GetValueInteger("/Length"), 600000);
}

TEST_F(FilterChainTest, UnsupportedFiltersAreReportedOncePerRun) {
    Open({StreamBody("/Filter /DCTDecode", "a"), StreamBody("/Filter /DCTDecode", "b"),
          StreamBody("/Filter [/FlateDecode /JBIG2Decode]", Compress("c")),
          StreamBody("/Filter /JBIG2", "d"), StreamBody("/Filter /Fl", "e")});
    for (int n = 2; n <= 6; ++n)
        EXPECT_EQ(Data(n), "(absent)") << n;
    // A second document in the same run reports nothing already reported.
    Open({StreamBody("/Filter /DCTDecode", "a")});
    EXPECT_EQ(Data(2), "(absent)");
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{
                  "Unsupported decoder: /DCTDecode, please contact Korvane Software.",
                  "Unsupported decoder: /JBIG2Decode, please contact Korvane Software.",
                  "Unsupported decoder: /Fl, please contact Korvane Software."}));
}

TEST_F(FilterChainTest, RawStreamsStayAsRead) {
    const std::string compressed = Compress("text");
    std::vector<std::string> objects = {"<< /Type /Catalog >>",
                                        StreamBody("/Filter /FlateDecode", compressed)};
    PdfDocument raw;
    ASSERT_TRUE(raw.Open(dir.Write("raw.pdf", PdfBuilder(objects, "/Root 1 0 R").Build()), true,
                         nullptr, nullptr));
    ObjectHandle stream = raw.GetStore()->GetObject(2, 0);
    EXPECT_EQ(AsStream(stream.get())->data, compressed);
}

}  // namespace
}  // namespace tessary
