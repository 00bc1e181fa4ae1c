// Byte-level algorithms of PDF's standard security handler (ISO 32000-1
// 7.6.3 for revisions 2 to 4, ISO 32000-2 7.6.4 for revisions 5 and 6):
// password padding, file keys, and the user and owner password checks. They
// take the entries of the /Encrypt dictionary as plain values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

// The 32 bytes that pad every password, published with the PDF standard.
inline constexpr std::array<std::uint8_t, 32> kPasswordPadding = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

// The entries of an /Encrypt dictionary (and of the trailer) that the
// password algorithms read, as they stand in the file.
struct EncryptionValues {
    int revision = 0;              // /R, 2 to 6
    int keyLengthBits = 0;         // /Encrypt's /Length, 0 when absent; revisions 3 and 4 only
    std::string owner;             // /O
    std::string user;              // /U
    std::string ownerKey;          // /OE, revisions 5 and 6
    std::string userKey;           // /UE, revisions 5 and 6
    std::string perms;             // /Perms, revisions 5 and 6
    std::int32_t permissions = 0;  // /P
    std::string firstId;           // the first string of the trailer's /ID; revisions 2 to 4
    bool encryptMetadata = true;   // /EncryptMetadata; revision 4 and up
};

enum class PasswordRole { kNone, kUser, kOwner };

struct Authentication {
    PasswordRole role = PasswordRole::kNone;
    // The file key: 5 to 16 bytes for revisions 2 to 4, 32 for 5 and 6;
    // empty when the password is wrong.
    std::string fileKey;
    // Revisions 5 and 6: /Perms, decrypted with the file key, agrees with /P
    // and /EncryptMetadata. The key is right either way (it comes from a
    // matching password hash); a mismatch only says that the permissions
    // were altered after encryption. Always true for revisions 2 to 4.
    bool permsMatch = true;
};

// Checks `password` as the user password, then as the owner password. For
// revisions 2 to 4 it is taken as bytes (PDFDocEncoding, as typed), for 5
// and 6 as UTF-8 bytes, of which only the first 127 count. Revisions outside
// 2 to 6, and entries too short to hold their check values, accept nothing.
Authentication AuthenticatePassword(const EncryptionValues& values, std::string_view password);

// The password's bytes up to its first zero byte, cut to 32, followed by as
// many leading bytes of kPasswordPadding as make 32 bytes.
std::string PadPassword(std::string_view password);

// Revisions 2 to 4: the file key for a user password (ISO 32000-1 Algorithm
// 2): MD5 of the padded password, /O, /P (4 bytes, little-endian), the first
// /ID string, 4 bytes FF when revision 4 leaves metadata unencrypted, then 50
// more MD5 passes over the key for revision 3 and up. 5 bytes for revision 2,
// otherwise /Length / 8 bounded to 5..16; without /Length, 5 bytes for
// revision 3 and 16 for revision 4, whose crypt filters are 128-bit.
std::string ComputeRc4FileKey(const EncryptionValues& values, std::string_view password);

// Revisions 2 to 4: decrypts the first 32 bytes of /O with the key made from
// the owner password (for revision 3 and up through 50 more MD5 passes and 20
// RC4 passes), which gives the padded user password, and returns that user
// password with its padding removed, ready to be checked like a typed one.
// An /O shorter than 32 bytes gives an empty string. `keyLength` is the file
// key's length in bytes (5 to 16).
std::string RecoverUserPasswordFromOwner(std::string_view ownerPassword,
                                         std::string_view ownerEntry, int revision = 2,
                                         std::size_t keyLength = 5);

}  // namespace tessary
