#include "decode/LzwDecoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tessary {
namespace {

// Packs codes most significant bit first, each with its own width.
class BitWriter {
  public:
    void Put(unsigned code, unsigned width) {
        for (unsigned i = width; i-- > 0;) {
            if (bits_ % 8 == 0) {
                bytes_.push_back('\0');
            }
            if ((code >> i) & 1) {
                bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> (bits_ % 8)));
            }
            ++bits_;
        }
    }
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
    std::size_t bits_ = 0;
};

std::string Codes9(const std::vector<unsigned>& codes) {
    BitWriter writer;
    for (unsigned code : codes) {
        writer.Put(code, 9);
    }
    return writer.Bytes();
}

// A plain LZW encoder with the early change of width that PDF uses. With
// `clearWhenFull` it starts a new table before code 4095 is assigned, as
// most writers do; otherwise it just stops adding codes there, leaving the
// decoder's table to fill up to its own limit.
std::string LzwEncode(const std::string& data, bool clearWhenFull) {
    BitWriter writer;
    std::map<std::string, unsigned> table;
    unsigned nextCode = 258;
    // The width the decoder will use for the next code: it grows when the
    // decoder's table (one entry behind this one) reaches 253, 765, 1789.
    auto width = [&] {
        const unsigned decoderEntries = nextCode - 258 == 0 ? 0 : nextCode - 259;
        return decoderEntries < 253    ? 9u
               : decoderEntries < 765  ? 10u
               : decoderEntries < 1789 ? 11u
                                       : 12u;
    };
    auto codeOf = [&](const std::string& s) {
        return s.size() == 1 ? static_cast<unsigned char>(s[0]) : table.at(s);
    };
    writer.Put(256, 9);
    std::string current;
    for (char c : data) {
        if (current.empty() || table.count(current + c)) {
            current += c;
            continue;
        }
        writer.Put(codeOf(current), width());
        if (nextCode < 4095) {
            table[current + c] = nextCode++;
        } else if (clearWhenFull) {
            writer.Put(256, width());
            table.clear();
            nextCode = 258;
        }
        current = c;
    }
    if (!current.empty()) {
        writer.Put(codeOf(current), width());
        ++nextCode;  // the decoder adds an entry for this last code too
    }
    writer.Put(257, width());
    return writer.Bytes();
}

std::string PseudoText(std::size_t length) {
    std::string text;
    unsigned seed = 12345;
    while (text.size() < length) {
        seed = seed * 1103515245 + 12345;
        text.push_back("abcdefgh ijklmnop\n"[(seed >> 16) % 18]);
    }
    return text;
}

TEST(LzwDecoderTest, DecodesTheBasicCases) {
    EXPECT_EQ(LzwDecode(Codes9({256, 65, 66, 258, 257})), "ABAB");
    // A code equal to the next free code: the previous string plus its first byte.
    EXPECT_EQ(LzwDecode(Codes9({65, 258, 257})), "AAA");
    // A code beyond the next free code is read the same way and continues as
    // the code just defined.
    EXPECT_EQ(LzwDecode(Codes9({65, 300, 66, 258, 257})), "AAABAA");
    // Eight 9-bit codes fill nine bytes exactly; no end code.
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 67, 68, 69, 70, 71, 72})), "ABCDEFGH");
    EXPECT_EQ(LzwDecode(""), "");
    // Data after the end code is not read.
    EXPECT_EQ(LzwDecode(Codes9({65, 257, 66})), "A");
}

TEST(LzwDecoderTest, ClearCodeForgetsTheTable) {
    // After the clear, 258 names nothing and ends the decoding.
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 256, 67, 68, 258, 257})), "ABCDCD");
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 256, 259, 67})), "AB");
    EXPECT_EQ(LzwDecode(Codes9({258, 65, 257})), "");
}

TEST(LzwDecoderTest, CodeRunningPastTheInputReadsZeroBits) {
    // 65 then the first seven bits of 66 (0b001000010): the two missing bits
    // read as 0, giving 64.
    std::string data = Codes9({65, 66});
    data.resize(2);
    EXPECT_EQ(LzwDecode(data), "A@");
}

TEST(LzwDecoderTest, CodeWidthGrowsAndTableStaysBounded) {
    // Sizes that take the table past 253, 765 and 1789 entries, and past its
    // 4093-entry limit: the encoder either clears or lets the table fill up.
    for (std::size_t length : {500, 3000, 12000, 60000}) {
        const std::string text = PseudoText(length);
        EXPECT_EQ(LzwDecode(LzwEncode(text, true)), text) << length;
        EXPECT_EQ(LzwDecode(LzwEncode(text, false)), text) << length;
    }
}

TEST(LzwDecoderTest, DecodesAnotherEncodersOutput) {
    // PseudoText(30000) encoded by Ghostscript's PostScript LZWEncode filter,
    // which clears its table several times on the way.
    std::ifstream file(TESSARY_DECODE_TEST_DATA "/pseudo-text-30000.lzw", std::ios::binary);
    std::stringstream encoded;
    encoded << file.rdbuf();
    ASSERT_FALSE(encoded.str().empty());
    EXPECT_EQ(LzwDecode(encoded.str()), PseudoText(30000));
}

TEST(LzwDecoderTest, OutputStopsAtTheLimit) {
    const std::string text = PseudoText(10000);
    const std::string encoded = LzwEncode(text, true);
    LzwDecoder decoder;
    EXPECT_EQ(decoder.Decode(encoded, 5000), text.substr(0, 5000));
    EXPECT_TRUE(decoder.LimitReached());
    EXPECT_EQ(decoder.Decode(encoded, text.size()), text);
    EXPECT_FALSE(decoder.LimitReached());

    // A run of one byte doubles up code by code: a few kilobytes of codes
    // would give far more output than the limit allows.
    std::vector<unsigned> codes = {65};
    for (unsigned code = 258; code < 258 + 252; ++code) {
        codes.push_back(code);
    }
    EXPECT_EQ(LzwDecode(Codes9(codes), 1000), std::string(1000, 'A'));
}

}  // namespace
}  // namespace tessary
