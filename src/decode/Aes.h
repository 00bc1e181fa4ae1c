// AES in CBC mode as PDF encryption uses it (ISO 32000-2 7.6.3), through
// OpenSSL's libcrypto. Keys are 16 bytes (AES-128) or 32 bytes (AES-256);
// any other key length gives an empty result.
#pragma once

#include <string>
#include <string_view>

namespace tessary {

inline constexpr std::size_t kAesBlockSize = 16;

// Decrypts a string or stream encrypted by /AESV2 or /AESV3: the first 16
// bytes are the initialization vector, the rest whole blocks. PKCS#5 padding
// is removed when it is valid (a last byte n of 1 to 16 and n bytes of n);
// otherwise every decrypted byte is kept. Data shorter than the vector gives
// an empty result; a partial block at the end is dropped.
std::string AesCbcDecrypt(std::string_view key, std::string_view ivAndData);

// Decrypts whole blocks with a zero initialization vector and no padding, as
// /UE, /OE and /Perms are stored. Data that is not whole blocks gives empty.
std::string AesCbcDecryptNoPadding(std::string_view key, std::string_view data);

// Encrypts whole blocks with the given 16-byte vector and no padding (the
// hash of revision 6). Data that is not whole blocks gives empty.
std::string AesCbcEncryptNoPadding(std::string_view key, std::string_view iv,
                                   std::string_view data);

}  // namespace tessary
