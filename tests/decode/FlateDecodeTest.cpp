#include "decode/FlateDecode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace tessary {
namespace {

std::string Compress(const std::string& data) {
    uLongf size = compressBound(data.size());
    std::string out(size, '\0');
    EXPECT_EQ(compress(reinterpret_cast<Bytef*>(out.data()), &size,
                       reinterpret_cast<const Bytef*>(data.data()), data.size()),
              Z_OK);
    out.resize(size);
    return out;
}

// Deflates `count` zero bytes without ever holding them: a stream of a few
// hundred kilobytes that inflates to `count` bytes. windowBits -15 writes raw
// deflate data without the zlib header and trailer.
std::string CompressZeros(std::size_t count, int windowBits = 15) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_RLE), Z_OK);
    std::vector<Bytef> zeros(1 << 20, 0);
    std::string out;
    std::vector<Bytef> chunk(1 << 16);
    int flush = Z_NO_FLUSH;
    do {
        if (stream.avail_in == 0 && flush == Z_NO_FLUSH) {
            const std::size_t step = std::min(count, zeros.size());
            count -= step;
            stream.next_in = zeros.data();
            stream.avail_in = static_cast<uInt>(step);
            flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
        }
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        deflate(&stream, flush);
        out.append(reinterpret_cast<char*>(chunk.data()), chunk.size() - stream.avail_out);
    } while (flush != Z_FINISH || stream.avail_out == 0);
    deflateEnd(&stream);
    return out;
}

std::string TextOfLength(std::size_t length) {
    std::string text;
    for (unsigned i = 0; text.size() < length; ++i) {
        text += "BT /F1 12 Tf 72 " + std::to_string(i % 700) + " Td (Line " + std::to_string(i) +
                ") Tj ET\n";
    }
    text.resize(length);
    return text;
}

std::string Noise(std::size_t length) {
    std::string noise;
    unsigned seed = 99;
    while (noise.size() < length) {
        seed = seed * 1103515245 + 12345;
        noise.push_back(static_cast<char>(seed >> 23));
    }
    return noise;
}

TEST(FlateDecodeTest, RoundTripsStreamsOfAnySize) {
    const std::string binary = Noise(3000);
    // 700000 bytes exceed the first output block many times over and the
    // 500000 bytes that a fixed buffer would have held.
    for (const std::string& data :
         {std::string(), std::string("x"), binary, TextOfLength(700000), std::string(5000000, '\0'),
          // Output that expands far more, or far less, after its
          // first megabytes than before.
          Noise(1500000) + std::string(8000000, '\0'),
          std::string(4000000, '\0') + Noise(300000)}) {
        EXPECT_EQ(FlateDecode(Compress(data)), data) << "size " << data.size();
    }
    EXPECT_EQ(FlateDecode(Compress("content") + "trailing garbage"), "content");
}

TEST(FlateDecodeTest, DamagedStreamKeepsOutputBeforeTheDamage) {
    const std::string text = TextOfLength(200000);
    std::string wrongChecksum = Compress(text);
    wrongChecksum.back() ^= 1;
    EXPECT_EQ(FlateDecode(wrongChecksum), text);

    const std::string compressed = Compress(text);
    const std::string truncated = FlateDecode(compressed.substr(0, compressed.size() / 2));
    EXPECT_GT(truncated.size(), 0u);
    EXPECT_LT(truncated.size(), text.size());
    EXPECT_EQ(truncated, text.substr(0, truncated.size()));

    EXPECT_EQ(FlateDecode(compressed.substr(0, 2)), "");  // header only: nothing produced
    EXPECT_EQ(FlateDecode("not a zlib stream at all"), "");
    EXPECT_EQ(FlateDecode(""), "");
}

TEST(FlateDecodeTest, RawDeflateWithoutHeaderIsEmpty) {
    EXPECT_EQ(FlateDecode(CompressZeros(1000, -15)), "");
}

TEST(FlateDecodeTest, OutputPastTheLimitIsEmpty) {
    const std::string text = TextOfLength(100000);
    EXPECT_EQ(FlateDecode(Compress(text), text.size()), text);
    EXPECT_EQ(FlateDecode(Compress(text), text.size() - 1), "");

    // 300 MiB of zeros in about 300 KB: the decoder must give up at the
    // default limit of 256 MiB.
    const std::string bomb = CompressZeros(std::size_t{300} << 20);
    EXPECT_LT(bomb.size(), std::size_t{1} << 20);
    EXPECT_EQ(FlateDecode(bomb), "");
    EXPECT_EQ(FlateDecode(CompressZeros(1 << 20)), std::string(1 << 20, '\0'));
}

}  // namespace
}  // namespace tessary
