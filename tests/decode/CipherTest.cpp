#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/Md5.h"
#include "decode/ObjectDecryption.h"
#include "decode/Rc4.h"

namespace tessary {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
    std::string hex;
    for (std::uint8_t byte : bytes) {
        hex += "0123456789abcdef"[byte >> 4];
        hex += "0123456789abcdef"[byte & 15];
    }
    return hex;
}

std::string Hex(const std::string& bytes) {
    return Hex(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string Md5Hex(std::string_view data) {
    Md5 md5;
    md5.Add(data);
    return Hex(md5.Finish());
}

TEST(Md5Test, MatchesTheRfc1321Suite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890123456"
                     "7890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Test, PiecewiseAddingEqualsOneAdd) {
    std::string data;
    for (int i = 0; i < 1000; ++i) {
        data.push_back(static_cast<char>(i * 31));
    }
    Md5 md5;
    std::size_t at = 0;
    for (std::size_t piece : {1, 62, 1, 64, 130, 7, 500}) {
        md5.Add(std::string_view(data).substr(at, piece));
        at += piece;
    }
    md5.Add(std::string_view(data).substr(at));
    EXPECT_EQ(Hex(md5.Finish()), Md5Hex(data));
    md5.Start();
    md5.Add("abc");
    EXPECT_EQ(Hex(md5.Finish()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Rc4Test, MatchesPublishedVectorsBothWays) {
    struct Vector {
        std::string key, plain, cipherHex;
    };
    for (const Vector& v :
         {Vector{"Key", "Plaintext", "bbf316e8d940af0ad3"}, Vector{"Wiki", "pedia", "1021bf0420"},
          Vector{"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"}}) {
        std::string data = v.plain;
        Rc4Crypt(v.key, data);
        EXPECT_EQ(Hex(data), v.cipherHex);
        Rc4Crypt(v.key, data);
        EXPECT_EQ(data, v.plain);
    }
    std::string data = "unchanged";
    Rc4Crypt("", data);
    EXPECT_EQ(data, "unchanged");
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(ObjectDecryptionTest, KeyFromFileKeyAndObjectNumbers) {
    // Expected values computed independently (MD5 and RC4 of a scripting
    // language's standard library) from the key rules.
    const std::vector<std::uint8_t> fileKey = {1, 2, 3, 4, 5};
    std::vector<std::uint8_t> data = Bytes("Hello, object");
    DecryptObjectData(fileKey, 0x123456, 0x0789, data);
    EXPECT_EQ(Hex(data), "59e92c30b1ef9d1a2988725b99");
    // Only the three low bytes of the number and two of the generation count.
    DecryptObjectData(fileKey, 0x7F123456, 0x30789, data);
    EXPECT_EQ(data, Bytes("Hello, object"));

    // A 16-byte file key gives a 16-byte object key.
    std::vector<std::uint8_t> longKey(16);
    for (std::uint8_t i = 0; i < 16; ++i) {
        longKey[i] = i;
    }
    DecryptObjectData(longKey, 7, 0, data);
    EXPECT_EQ(Hex(data), "0f325ad032e654a43697b1dce8");
    DecryptObjectData(longKey, 7, 0, data);
    EXPECT_EQ(data, Bytes("Hello, object"));

    std::vector<std::uint8_t> other = Bytes("Hello, object");
    DecryptObjectData(fileKey, 0x123457, 0x0789, other);
    EXPECT_NE(Hex(other), "59e92c30b1ef9d1a2988725b99");
}

}  // namespace
}  // namespace tessary
