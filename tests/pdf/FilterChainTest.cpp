#include "pdf/FilterChain.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::Deflate;
using test::StreamBody;

const std::string kLzw = "\x80\x0b\x60\x50\x22\x0c\x0c\x85\x01";  // "-----A---B"

class FilterChainTest : public ::testing::Test, public test::TestDocument {
  protected:
    void OpenStreams(std::vector<std::string> streams) {
        streams.insert(streams.begin(), "<< /Type /Catalog >>");
        EXPECT_TRUE(Open(test::PdfBuilder(streams, "/Root 1 0 R").Build(), &prompter));
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> shown;
        for (const auto& [kind, text] : prompter.calls)
            shown.push_back(text);
        return shown;
    }
    test::Prompter prompter;
};

TEST_F(FilterChainTest, FiltersRunInOrder) {
    const std::string text = "BT /F1 12 Tf (Hello) Tj ET";
    OpenStreams({StreamBody("/Filter [/ASCII85Decode /LZWDecode]", "J.#a]+q+m6!<~>"),
                 StreamBody("/Filter [null /FlateDecode 3]", Deflate(text)),
                 StreamBody("/Filter /FlateDecode /Predictor 1", Deflate(text)),
                 StreamBody("/Filter /FlateDecode /Predictor 12", Deflate(text)),
                 StreamBody("/Filter /LZWDecode /Predictor 2", kLzw),
                 StreamBody("/Filter /FlateDecode", "not zlib data"),
                 StreamBody("/Filter 9 0 R", Deflate(text)), "/FlateDecode",
                 StreamBody("", "plain")});
    EXPECT_EQ(DataOf(2), "-----A---B");
    EXPECT_EQ(DataOf(3), "(absent)");  // the number 3 is taken as a filter name
    EXPECT_EQ(DataOf(4), text);
    EXPECT_EQ(DataOf(5), "(absent)");  // predictors are refused, silently
    EXPECT_EQ(DataOf(6), "(absent)");
    EXPECT_EQ(DataOf(7), "");  // a stream that doesn't inflate reads as empty
    EXPECT_EQ(DataOf(8), text);
    EXPECT_EQ(DataOf(10), "plain");
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Unsupported decoder: 3, please contact Korvane Software."});

    // Raw streams stay as read.
    const std::string compressed = Deflate(text);
    ASSERT_TRUE(Open(
        test::PdfBuilder({"<< /Type /Catalog >>", StreamBody("/Filter /FlateDecode", compressed)},
                         "/Root 1 0 R")
            .Build(),
        nullptr, true));
    EXPECT_EQ(DataOf(2), compressed);
}

TEST_F(FilterChainTest, DecodeParmsRunBesideTheFilters) {
    // Rows of 3 bytes: Sub (1 2 3 -> 1 3 6), then Up (1 1 1 -> 2 4 7).
    const std::string png = Deflate("\x01\x01\x02\x03\x02\x01\x01\x01");
    const std::string rows = "\x01\x03\x06\x02\x04\x07";
    std::string tiffHex;
    for (unsigned char byte : Deflate("\x01\x01\x01\x01\x01\x01"))
        tiffHex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15], ' '};
    // 65, then 258 to 510 (each the string before it plus one A), then 257,
    // all 9 bits wide: the width grows before the end code with early change.
    std::string lzw(9 * 255 / 8 + 1, '\0');
    for (unsigned n = 0; n < 255; ++n) {
        const unsigned code = n == 0 ? 65 : n == 254 ? 257 : 257 + n;
        for (unsigned bit = 0; bit < 9; ++bit)
            lzw[(9 * n + bit) / 8] |=
                static_cast<char>(((code >> (8 - bit)) & 1) << (7 - (9 * n + bit) % 8));
    }
    OpenStreams(
        {StreamBody("/Filter /FlateDecode /DecodeParms << /Predictor 12 /Columns 3 >>", png),
         StreamBody("/Filter [/ASCIIHexDecode /FlateDecode] /DecodeParms [null << "
                    "/Predictor 2 /Colors 3 /Columns 2 >>]",
                    tiffHex + ">"),
         StreamBody("/Filter [/FlateDecode] /DecodeParms 5 0 R", png),
         "<< /Predictor 10 /Columns 3 >>",
         StreamBody("/Filter /FlateDecode /DecodeParms << /Predictor 12 /Columns 0 >>", png),
         StreamBody("/Filter /LZWDecode /DecodeParms << /EarlyChange 0 >>", lzw),
         StreamBody("/Filter /LZWDecode", lzw),
         StreamBody("/Filter [/Crypt /RunLengthDecode] /DecodeParms [<< /Name /Identity >>]",
                    "\x02xyz\xfe-\x80")});
    EXPECT_EQ(DataOf(2), rows);
    EXPECT_EQ(DataOf(3), "\x01\x01\x01\x02\x02\x02");
    EXPECT_EQ(DataOf(4), rows);
    EXPECT_EQ(DataOf(6), "");  // parameters out of range
    EXPECT_EQ(DataOf(7), std::string(32385, 'A'));
    EXPECT_GT(DataOf(8).size(), 32385u);
    EXPECT_EQ(DataOf(9), "xyz---");
    EXPECT_EQ(Messages(), std::vector<std::string>{});
}

TEST_F(FilterChainTest, UnsupportedFiltersAreReportedOncePerRun) {
    OpenStreams({StreamBody("/Filter /DCTDecode", "a"), StreamBody("/Filter /DCTDecode", "b"),
                 StreamBody("/Filter [/FlateDecode /JBIG2Decode]", Deflate("c")),
                 StreamBody("/Filter /JBIG2", "d"), StreamBody("/Filter /Fl", "e"),
                 StreamBody("/Filter /AHx", "66")});
    for (int n = 2; n <= 7; ++n)
        EXPECT_EQ(DataOf(n), "(absent)") << n;
    // A second document in the same run reports nothing already reported.
    OpenStreams({StreamBody("/Filter /DCTDecode", "a")});
    EXPECT_EQ(DataOf(2), "(absent)");
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Unsupported decoder: /DCTDecode, please contact Korvane Software.",
                              "Unsupported decoder: /JBIG2Decode, please contact Korvane Software.",
                              "Unsupported decoder: /Fl, please contact Korvane Software.",
                              "Unsupported decoder: /AHx, please contact Korvane Software."}));
}

}  // namespace
}  // namespace tessary
