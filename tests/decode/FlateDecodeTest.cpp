#include "decode/FlateDecode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::Deflate;

// `count` zero bytes deflated without ever holding them: about a thousandth
// of their size. windowBits -15 writes raw deflate data without the zlib
// header and trailer.
std::string DeflateZeros(std::size_t count, int windowBits = 15) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_RLE);
    std::vector<Bytef> zeros(1 << 20, 0);
    std::string out(count / 500 + 1024, '\0');
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    for (int flush = Z_NO_FLUSH; flush != Z_FINISH;) {
        stream.next_in = zeros.data();
        stream.avail_in = static_cast<uInt>(std::min(count, zeros.size()));
        count -= stream.avail_in;
        flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
        deflate(&stream, flush);
    }
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string Text(std::size_t length) {
    std::string text;
    for (unsigned i = 0; text.size() < length; ++i) {
        text += "BT /F1 12 Tf 72 " + std::to_string(i % 700) + " Td (Line " + std::to_string(i) +
                ") Tj ET\n";
    }
    return text.substr(0, length);
}

std::string Noise(std::size_t length) {
    std::string noise;
    for (unsigned seed = 99; noise.size() < length;) {
        seed = seed * 1103515245 + 12345;
        noise.push_back(static_cast<char>(seed >> 23));
    }
    return noise;
}

TEST(FlateDecodeTest, RoundTripsStreamsOfAnySize) {
    // 700000 bytes are past the 500000 that a fixed buffer would have held;
    // the last two expand far more, or far less, after their first megabytes.
    for (const std::string& data :
         {std::string(), std::string("x"), Noise(3000), Text(700000), std::string(5000000, '\0'),
          Noise(1500000) + std::string(8000000, '\0'),
          std::string(4000000, '\0') + Noise(300000)}) {
        EXPECT_EQ(FlateDecode(Deflate(data)), data) << "size " << data.size();
    }
    EXPECT_EQ(FlateDecode(Deflate("content") + "trailing garbage"), "content");
    EXPECT_EQ(FlateDecode(DeflateZeros(1000, -15)), "");  // raw deflate without the header
}

TEST(FlateDecodeTest, DamagedStreamKeepsOutputBeforeTheDamage) {
    const std::string text = Text(200000);
    std::string compressed = Deflate(text);
    const std::string truncated = FlateDecode(compressed.substr(0, compressed.size() / 2));
    EXPECT_GT(truncated.size(), 0u);
    EXPECT_LT(truncated.size(), text.size());
    EXPECT_EQ(truncated, text.substr(0, truncated.size()));
    EXPECT_EQ(FlateDecode(compressed.substr(0, 2)), "");  // header only: nothing produced
    EXPECT_EQ(FlateDecode("not a zlib stream at all"), "");
    compressed.back() ^= 1;  // a wrong checksum
    EXPECT_EQ(FlateDecode(compressed), text);
}

TEST(FlateDecodeTest, OutputPastTheLimitIsEmpty) {
    const std::string text = Text(100000);
    EXPECT_EQ(FlateDecode(Deflate(text), text.size()), text);
    EXPECT_EQ(FlateDecode(Deflate(text), text.size() - 1), "");
    EXPECT_EQ(FlateDecode(Deflate("abc"), 3), "abc");
    EXPECT_EQ(FlateDecode(Deflate("abc"), 2), "");
    // 300 MiB of zeros in about 300 KB: past the default limit of 256 MiB.
    const std::string bomb = DeflateZeros(std::size_t{300} << 20);
    EXPECT_LT(bomb.size(), std::size_t{1} << 20);
    EXPECT_EQ(FlateDecode(bomb), "");
    EXPECT_EQ(FlateDecode(DeflateZeros(1 << 20)), std::string(1 << 20, '\0'));
}

}  // namespace
}  // namespace tessary
