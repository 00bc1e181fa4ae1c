#include "decode/StandardSecurity.h"

#include <gtest/gtest.h>

#include <string>

#include "decode/Md5.h"
#include "decode/Rc4.h"

namespace tessary {
namespace {

using namespace std::string_literals;

TEST(StandardSecurityTest, PadsPasswordsTo32Bytes) {
    const std::string padding = PadPassword("");
    EXPECT_EQ(padding.substr(0, 4), "\x28\xBF\x4E\x5E");
    EXPECT_EQ(PadPassword("user"), "user" + padding.substr(0, 28));
    EXPECT_EQ(PadPassword("ab\0cd"s), "ab" + padding.substr(0, 30));
    EXPECT_EQ(PadPassword(std::string(40, 'p')), std::string(32, 'p'));
}

// /O as a revision 2 writer computes it: the padded user password encrypted
// with the first 5 bytes of the MD5 digest of the padded owner password.
std::string OwnerEntry(const std::string& owner, const std::string& user) {
    Md5 md5;
    md5.Add(PadPassword(owner));
    const Md5::Digest digest = md5.Finish();
    std::string entry = PadPassword(user);
    Rc4Crypt(std::string_view(reinterpret_cast<const char*>(digest.data()), 5), entry);
    return entry;
}

TEST(StandardSecurityTest, RecoversUserPasswordFromOwnerPassword) {
    for (const std::string& user :
         {""s, "user"s, "x("s, std::string(32, 'u'), "31 bytes long password 12345678"s}) {
        EXPECT_EQ(RecoverUserPasswordFromOwner("owner", OwnerEntry("owner", user)), user);
    }
    // The /O entry of a real 40-bit file (user "user", owner "owner").
    std::string entry;
    for (const char* hex = "94e8094419662a774442fb072e3d9f19e9d130ec09a4d0061e78fe920f7ab62f";
         *hex != '\0'; hex += 2) {
        entry.push_back(static_cast<char>(std::stoi(std::string(hex, 2), nullptr, 16)));
    }
    EXPECT_EQ(RecoverUserPasswordFromOwner("owner", entry), "user");
    EXPECT_NE(RecoverUserPasswordFromOwner("wrong", entry), "user");
    EXPECT_EQ(RecoverUserPasswordFromOwner("owner", entry.substr(0, 31)), "");
}

}  // namespace
}  // namespace tessary
