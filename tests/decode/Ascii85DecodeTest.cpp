#include "decode/Ascii85Decode.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tessary
