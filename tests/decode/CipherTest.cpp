// The byte-level pieces of the standard security handler.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "decode/Aes.h"
#include "decode/Md5.h"
#include "decode/ObjectDecryption.h"
#include "decode/Rc4.h"
#include "decode/Sha2.h"
#include "decode/StandardSecurity.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::Bytes;

template <typename Data>
std::string Hex(const Data& data) {
    std::string hex;
    for (auto byte : data) {
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
    // AES object keys add "sAlT" to the digest.
    EXPECT_EQ(Hex(ObjectKey(Bytes("0102030405"), 0x123456, 0x0789, true)), "346889210e5c8c9197c1");
    EXPECT_EQ(Hex(ObjectKey(Bytes("000102030405060708090a0b0c0d0e0f"), 7, 0, true)),
              "8be05f4432358a80b1989cd329ba6e21");
}

TEST(Sha2Test, MatchesNistExamples) {
    EXPECT_EQ(Hex(Sha256("abc")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(Sha384("abc")),
              "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded163"
              "1a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7");
    EXPECT_EQ(Hex(Sha512("abc")),
              "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
              "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
}

TEST(AesTest, CbcWithVectorInFrontAndPadding) {
    // NIST SP 800-38A F.2.1 and F.2.5: CBC with AES-128 and AES-256.
    const std::string iv = Bytes("000102030405060708090a0b0c0d0e0f");
    const std::string plain =
        Bytes("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
    const std::string key128 = Bytes("2b7e151628aed2a6abf7158809cf4f3c");
    const std::string key256 =
        Bytes("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    const std::string cipher128 =
        Bytes("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2");
    const std::string cipher256 =
        Bytes("f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d");
    EXPECT_EQ(AesCbcEncryptNoPadding(key128, iv, plain), cipher128);
    EXPECT_EQ(AesCbcEncryptNoPadding(key256, iv, plain), cipher256);
    // The plain text ends in 0x51, not valid padding: every byte is kept, and
    // a partial block after the last whole one is dropped.
    EXPECT_EQ(AesCbcDecrypt(key128, iv + cipher128), plain);
    EXPECT_EQ(AesCbcDecrypt(key256, iv + cipher256 + "xyz"), plain);
    // "Hello, object" with 3 bytes of padding (encrypted by the openssl tool).
    EXPECT_EQ(AesCbcDecrypt(key128, iv + Bytes("eff0ba79fbbae0fc4b0dfd4a3b17f284")),
              "Hello, object");
    // No vector, the vector alone, wrong key lengths, blocks cut short.
    for (const auto& [key, data] : std::vector<std::pair<std::string, std::string>>{
             {key128, iv.substr(0, 15)}, {key128, iv}, {key128.substr(1), iv + cipher128}})
        EXPECT_EQ(AesCbcDecrypt(key, data), "");
    EXPECT_EQ(AesCbcDecryptNoPadding(key128, cipher128.substr(1)), "");
    EXPECT_EQ(AesCbcEncryptNoPadding(key128, iv.substr(1), plain), "");
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

// /Encrypt entries and file keys of files that qpdf encrypted: 40-bit RC4,
// 128-bit RC4, revision 4 with metadata in clear (its /Length left out
// here), AES-256 revisions 5 and 6 (a UTF-8 user password). The keys are
// those qpdf --show-encryption-key prints; owner password "owner" throughout.
TEST(StandardSecurityTest, KeysMatchThoseOfAnotherWriter) {
    struct Case {
        int revision, lengthBits;
        bool encryptMetadata;
        const char *user, *userEntry, *ownerEntry, *userKey, *ownerKey, *perms, *fileKey;
    };
    const Case cases[] = {
        {2, 40, true, "user", "71c48dfad95aa6102648f2043b368930878c1dd72b2e51700e0865ca194abbe5",
         "94e8094419662a774442fb072e3d9f19e9d130ec09a4d0061e78fe920f7ab62f", "", "", "",
         "cab8b8a585"},
        {3, 128, true, "user", "9496c45be8cd46a68779b096ed120e070122456a91bae5134273a6db134c87c4",
         "0ba3835f88f90388e74e54584125ce142be0de24c6b0d37746e075b891756671", "", "", "",
         "c7c0f89c915158ea30e4284d26addcb3"},
        // Revision 4 without /Length: 128 bits.
        {4, 0, false, "user", "d4cc487e1a3d0c1f83f8e69489379a7b0122456a91bae5134273a6db134c87c4",
         "0ba3835f88f90388e74e54584125ce142be0de24c6b0d37746e075b891756671", "", "", "",
         "2246c5f5f19518bbe3a3440acae3c880"},
        {5, 256, true, "user",
         "db8bd88c1ed37245ffbc93195f79319f8474a8cf0dc5a6d22a8ab980a2c07e2d"
         "5e93fd8e403ac5ab04f25d103eb7d7b6",
         "33dac3d611c5ac60f85c8e614b209f13ba8c1796406e3064ea0caa475cdd4081"
         "b7390ca8f0996a1191c1401d646bd8a9",
         "632dce6f5f48bcf8f591890905393955c073ca0e12a385031ea56c5688e7b2f8",
         "32da38218a4947485dae9eb33cc83fe0aa10e6881bd2c945dfe7a4a7c39fade6",
         "7ae71996cd248ca55cb689a09443210e",
         "54e6634cae1a5c470fc1ebbc069b74fbb3f95eb07ff07150ddc467153d85bb31"},
        {6, 256, true, "p\xc3\xa4ssw\xc3\xb6rt",
         "5c1d1754c68d34b819c8da5776261b214a1f55445c2659a7026ffdc1caaf830c"
         "c0746e8715d4fa829ed87e7c8c5c30e3",
         "264278ed291a7cea20c7898f4423e7c05ee8c21078f39ea9312d5ffc651f5370"
         "aefb87ada39cec5c3c1f89f487bbdaa3",
         "fe2ab4ac04a7f346a2635141b1de6066294b2a707a14eca8233df4c5a094a1e6",
         "edf704b46c4aa54fdb3a5d132070f1776eeab5d0b6b274d8260207a1f735524d",
         "b306719c7dafe024bc44147bee68e5f6",
         "6b2194de4789b3774e30676db6128cc9b0e551e0860839c9e774025639728af0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.revision);
        EncryptionValues values{c.revision,
                                c.lengthBits,
                                Bytes(c.ownerEntry),
                                Bytes(c.userEntry),
                                Bytes(c.ownerKey),
                                Bytes(c.userKey),
                                Bytes(c.perms),
                                -4,
                                Bytes("35733cfb6362de21a3749acbc3cc5fa0"),
                                c.encryptMetadata};
        for (const auto& [password, role] :
             {std::pair{c.user, PasswordRole::kUser}, std::pair{"owner", PasswordRole::kOwner}}) {
            const Authentication result = AuthenticatePassword(values, password);
            EXPECT_EQ(result.role, role);
            EXPECT_EQ(Hex(result.fileKey), c.fileKey);
            EXPECT_TRUE(result.permsMatch);
        }
        for (const char* wrong : {"", "User", "owner "})
            EXPECT_EQ(AuthenticatePassword(values, wrong).fileKey, "") << wrong;
        // A tampered /Perms still opens (the key comes from the password), but says so.
        values.permissions = -8;
        EXPECT_EQ(AuthenticatePassword(values, "owner").permsMatch, c.revision < 5);
        // Entries cut short and unknown revisions accept nothing.
        values.user.resize(c.revision < 5 ? 15 : 47);
        EXPECT_EQ(AuthenticatePassword(values, c.user).role, PasswordRole::kNone);
        values.revision = c.revision == 2 ? 7 : 1;
        EXPECT_EQ(AuthenticatePassword(values, "owner").role, PasswordRole::kNone);
    }
}

}  // namespace
}  // namespace tessary
