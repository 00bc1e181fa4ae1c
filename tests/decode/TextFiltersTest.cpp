// The filters that need no table: ASCII base-85, hexadecimal, run length.
#include "decode/Ascii85Decode.h"
#include "decode/AsciiHexDecode.h"
#include "decode/RunLengthDecode.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tessary {
namespace {

using namespace std::string_literals;

TEST(Ascii85DecodeTest, DecodesGroupsAndZeroGroups) {
    EXPECT_EQ(Ascii85Decode("87cU\r\nRD_*#\t4DfTZ )+T~>"), "Hello, World!");
    EXPECT_EQ(Ascii85Decode("!!!!!~>"), "\0\0\0\0"s);
    // 'z' between two groups and after a line break: four zero bytes each.
    EXPECT_EQ(Ascii85Decode("87cURzD_*#4\n z~>"), "Hell\0\0\0\0o, W\0\0\0\0"s);
    // 'z' inside a group and bytes outside the alphabet are skipped.
    EXPECT_EQ(Ascii85Decode("87czUR\x80{~>"), "Hell");
    // "uuuuu" is above 2^32 - 1 and wraps modulo 2^32.
    EXPECT_EQ(Ascii85Decode("uuuuu~>"), "\x08\x78\x0E\xC4");
    // A final group of n digits gives n - 1 bytes; everything after '~' is ignored.
    EXPECT_EQ(Ascii85Decode("87~>"), "H");
    EXPECT_EQ(Ascii85Decode("87cU~>"), "Hel");
    EXPECT_EQ(Ascii85Decode("8~>"), "");
    EXPECT_EQ(Ascii85Decode("  \n\t ~>"), "");
    EXPECT_EQ(Ascii85Decode("87cURD]~>87cUR"), "Hello");
}

TEST(Ascii85DecodeTest, MissingEndMarkerDecodesAsIfItFollowed) {
    for (const char* data : {"87cURD_*#4DfTZ)+T", "87", "87c", "87cU", "87cUR", "z", "8", ""})
        EXPECT_EQ(Ascii85Decode(data), Ascii85Decode(std::string(data) + "~>")) << data;
    EXPECT_EQ(Ascii85Decode("87c"), "He");
}

TEST(AsciiHexDecodeTest, DigitsWhiteSpaceAndEnd) {
    for (const auto& [data, decoded] : std::vector<std::pair<std::string, std::string>>{
             {"48656c6C6F>", "Hello"},
             {" 48 65\r\n6c\t6c\f6f\0>", "Hello"},
             {"48656c6c6f", "Hello"},  // no end marker
             {"48656c6c6>", "Hell`"},  // odd count: a 0 follows the last digit
             {"4g8z>4142", "H"},       // other bytes skipped; nothing after '>'
             {">", ""},
             {"", ""}})
        EXPECT_EQ(AsciiHexDecode(data), decoded) << data;
}

TEST(RunLengthDecodeTest, RunsEndAndLimit) {
    // Octal escapes: a hexadecimal one would run on into the letters after it.
    for (const auto& [data, decoded] : std::vector<std::pair<std::string, std::string>>{
             {"\002abc\376Z\200xyz", "abcZZZ"},
             {"\002abc\376Z", "abcZZZ"},  // no end marker
             {"\005ab", "ab"},            // a copy cut by the end of the input
             {"\000a\377"s, "a"},         // a repeat without its byte
             {"\200\000a"s, ""},
             {"\201Z", std::string(128, 'Z')}})
        EXPECT_EQ(RunLengthDecode(data), decoded) << data;
    EXPECT_EQ(RunLengthDecode("\201Z\000a"s, 128), "");
    EXPECT_EQ(RunLengthDecode("\201Z\000a"s, 129), std::string(128, 'Z') + "a");
}

}  // namespace
}  // namespace tessary
