// Byte-level steps of PDF's standard security handler that need no
// dictionary: password padding and the recovery of the user password from the
// owner password.
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

// The password's bytes up to its first zero byte, cut to 32, followed by as
// many leading bytes of kPasswordPadding as make 32 bytes.
std::string PadPassword(std::string_view password);

// Revision 2 (40-bit RC4): decrypts the first 32 bytes of the /O entry with
// the key made from the owner password, which gives the padded user password,
// and returns that user password with its padding removed, ready to be checked
// like a typed one. An /O shorter than 32 bytes gives an empty string.
std::string RecoverUserPasswordFromOwner(std::string_view ownerPassword,
                                         std::string_view ownerEntry);

}  // namespace tessary
