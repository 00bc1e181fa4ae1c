// The keys and decryption of one string or stream of an object encrypted by
// the standard security handler, revisions 2 to 4 (ISO 32000-1 Algorithm 1).
// Revisions 5 and 6 use the file key itself for every object.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessary {

// The key of one object: the first min(n + 5, 16) bytes of the MD5 digest of
// the n file key bytes, the object number's three low bytes and the
// generation's two low bytes (least significant first), and for AES (/AESV2)
// the 4 bytes "sAlT".
std::string ObjectKey(std::string_view fileKey, std::int32_t objectNumber, std::int32_t generation,
                      bool aes);

// Decrypts (equally: encrypts) data in place for the given object with RC4
// and the object's key.
void DecryptObjectData(std::span<const std::uint8_t> fileKey, std::int32_t objectNumber,
                       std::int32_t generation, std::span<std::uint8_t> data);

}  // namespace tessary
