#include "decode/LzwDecoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace tessary {
namespace {

// Packs codes most significant bit first, each with its own width.
struct BitWriter {
    void Put(unsigned code, unsigned width) {
        for (unsigned i = width; i-- > 0; ++bits) {
            if (bits % 8 == 0)
                bytes.push_back('\0');
            bytes.back() = static_cast<char>(bytes.back() | (((code >> i) & 1) << (7 - bits % 8)));
        }
    }
    std::string bytes;
    std::size_t bits = 0;
};

std::string Codes9(const std::vector<unsigned>& codes) {
    BitWriter writer;
    for (unsigned code : codes)
        writer.Put(code, 9);
    return writer.bytes;
}

// A plain LZW encoder, with PDF's early change of width or without. With `clearWhenFull`
// it starts a new table before code 4095 is assigned, as most writers do;
// otherwise it stops adding codes there and the decoder's table fills up to
// its own limit.
std::string LzwEncode(const std::string& data, bool clearWhenFull, bool earlyChange = true) {
    BitWriter writer;
    std::map<std::string, unsigned> table;
    unsigned nextCode = 258;
    // The decoder's table is one entry behind this one; its width grows when
    // that table reaches 253, 765 and 1789 entries (one more without early change).
    auto width = [&] {
        const unsigned entries = nextCode == 258 ? 0 : nextCode - 259;
        const unsigned late = earlyChange ? 0 : 1;
        return entries < 253 + late    ? 9u
               : entries < 765 + late  ? 10u
               : entries < 1789 + late ? 11u
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
    return writer.bytes;
}

std::string PseudoText(std::size_t length) {
    std::string text;
    for (unsigned seed = 12345; text.size() < length;) {
        seed = seed * 1103515245 + 12345;
        text.push_back("abcdefgh ijklmnop\n"[(seed >> 16) % 18]);
    }
    return text;
}

TEST(LzwDecoderTest, CodesAndClearCodes) {
    EXPECT_EQ(LzwDecode(Codes9({256, 65, 66, 258, 257})), "ABAB");
    // A code equal to the next free code: the previous string plus its first byte.
    EXPECT_EQ(LzwDecode(Codes9({65, 258, 257})), "AAA");
    // A code beyond it is read the same way and continues as the code just defined.
    EXPECT_EQ(LzwDecode(Codes9({65, 300, 66, 258, 257})), "AAABAA");
    // Eight 9-bit codes fill nine bytes exactly; no end code. Nothing after an end code.
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 67, 68, 69, 70, 71, 72})), "ABCDEFGH");
    EXPECT_EQ(LzwDecode(Codes9({65, 257, 66})), "A");
    EXPECT_EQ(LzwDecode(""), "");
    // After a clear, 258 names nothing; with no previous code it ends the decoding.
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 256, 67, 68, 258, 257})), "ABCDCD");
    EXPECT_EQ(LzwDecode(Codes9({65, 66, 256, 259, 67})), "AB");
    EXPECT_EQ(LzwDecode(Codes9({258, 65, 257})), "");
    // 65 then the first seven bits of 66 (0b001000010): the missing bits read as 0.
    EXPECT_EQ(LzwDecode(Codes9({65, 66}).substr(0, 2)), "A@");
}

TEST(LzwDecoderTest, CodeWidthGrowsAndTableStaysBounded) {
    // Sizes that take the table past 253, 765 and 1789 entries, and past its
    // 4093-entry limit: the encoder either clears or lets the table fill up.
    for (std::size_t length : {500, 3000, 12000, 60000}) {
        const std::string text = PseudoText(length);
        EXPECT_EQ(LzwDecode(LzwEncode(text, true)), text) << length;
        EXPECT_EQ(LzwDecode(LzwEncode(text, false)), text) << length;
        const std::string late = LzwEncode(text, true, false);
        EXPECT_EQ(LzwDecode(late, kMaxDecodedStreamSize, false), text) << length;
        if (length > 500) {
            EXPECT_NE(LzwDecode(late), text) << length;
        }
    }
    // PseudoText(30000) encoded by Ghostscript's LZWEncode filter, which
    // clears its table several times on the way.
    const std::string encoded =
        test::ReadFileBytes(TESSARY_DECODE_TEST_DATA "/pseudo-text-30000.lzw");
    ASSERT_FALSE(encoded.empty());
    EXPECT_EQ(LzwDecode(encoded), PseudoText(30000));
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
    for (unsigned code = 258; code < 258 + 252; ++code)
        codes.push_back(code);
    EXPECT_EQ(LzwDecode(Codes9(codes), 1000), std::string(1000, 'A'));
}

}  // namespace
}  // namespace tessary
