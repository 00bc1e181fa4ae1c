// The byte-level pieces of the standard security handler.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "decode/Md5.h"
#include "decode/ObjectDecryption.h"
#include "decode/Rc4.h"
#include "decode/StandardSecurity.h"

namespace tessary {
namespace {

template <typename Bytes>
std::string Hex(const Bytes& bytes) {
    std::string hex;
    for (auto byte : bytes) {
        hex += "0123456789abcdef"[static_cast<std::uint8_t>(byte) >> 4];
        hex += "0123456789abcdef"[static_cast<std::uint8_t>(byte) & 15];
    }
    return hex;
}

std::string Md5Hex(std::string_view data) {
    Md5 md5;
    md5.Add(data);
    return Hex(md5.Finish());
}

TEST(Md5Test, MatchesTheRfc1321Suite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890"
                     "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    // Adding in pieces across block boundaries equals one Add; Start begins anew.
    std::string data;
    for (int i = 0; i < 1000; ++i)
        data.push_back(static_cast<char>(i * 31));
    Md5 md5;
    std::size_t at = 0;
    for (std::size_t piece : {1, 62, 1, 64, 130, 7, 735}) {
        md5.Add(std::string_view(data).substr(at, piece));
        at += piece;
    }
    EXPECT_EQ(Hex(md5.Finish()), Md5Hex(data));
    md5.Start();
    md5.Add("abc");
    EXPECT_EQ(Hex(md5.Finish()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Rc4Test, MatchesPublishedVectorsBothWays) {
    for (const auto& [key, plain, cipher] : std::vector<std::array<std::string, 3>>{
             {"Key", "Plaintext", "bbf316e8d940af0ad3"},
             {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
             {"", "unchanged", Hex(std::string("unchanged"))}}) {
        std::string data = plain;
        Rc4Crypt(key, data);
        EXPECT_EQ(Hex(data), cipher);
        Rc4Crypt(key, data);
        EXPECT_EQ(data, plain);
    }
}

TEST(ObjectDecryptionTest, KeyFromFileKeyAndObjectNumbers) {
    // Expected values computed independently (MD5 and RC4 of a scripting
    // language's standard library) from the key rules.
    const std::string text = "Hello, object";
    std::vector<std::uint8_t> data(text.begin(), text.end());
    const std::vector<std::uint8_t> fileKey = {1, 2, 3, 4, 5};
    DecryptObjectData(fileKey, 0x123456, 0x0789, data);
    EXPECT_EQ(Hex(data), "59e92c30b1ef9d1a2988725b99");
    // Only the three low bytes of the number and two of the generation count.
    DecryptObjectData(fileKey, 0x7F123456, 0x30789, data);
    EXPECT_EQ(Hex(data), Hex(text));
    // A 16-byte file key gives a 16-byte object key; decrypting twice is the identity.
    const std::vector<std::uint8_t> longKey = {0, 1, 2,  3,  4,  5,  6,  7,
                                               8, 9, 10, 11, 12, 13, 14, 15};
    DecryptObjectData(longKey, 7, 0, data);
    EXPECT_EQ(Hex(data), "0f325ad032e654a43697b1dce8");
    DecryptObjectData(longKey, 7, 0, data);
    EXPECT_EQ(Hex(data), Hex(text));
}

TEST(StandardSecurityTest, RecoversUserPasswordFromOwnerPassword) {
    // /O as a revision 2 writer computes it: the padded user password encrypted
    // with the first 5 bytes of the MD5 digest of the padded owner password.
    Md5 md5;
    md5.Add(PadPassword("owner"));
    const Md5::Digest digest = md5.Finish();
    for (const std::string& user : std::vector<std::string>{
             "", "user", "x(", "31 bytes long password 12345678", std::string(32, 'u')}) {
        std::string entry = PadPassword(user);
        Rc4Crypt(std::string_view(reinterpret_cast<const char*>(digest.data()), 5), entry);
        EXPECT_EQ(RecoverUserPasswordFromOwner("owner", entry), user);
        EXPECT_NE(RecoverUserPasswordFromOwner("wrong", entry), user);
        EXPECT_EQ(RecoverUserPasswordFromOwner("owner", entry.substr(0, 31)), "");
    }
}

}  // namespace
}  // namespace tessary
