// Decryption of one string or stream of an object encrypted by the standard
// security handler (RC4 with a key derived from the file key and the object's
// number and generation).
#pragma once

#include <cstdint>
#include <span>

namespace tessary {

// Decrypts (equally: encrypts) data in place for the given object with RC4.
// The file key is the key that the password check produced (5 bytes for 40-bit
// RC4); the object key is the first min(n + 5, 16) bytes of the MD5 digest of
// the n key bytes, the object number's three low bytes and the generation's
// two low bytes, least significant first.
void DecryptObjectData(std::span<const std::uint8_t> fileKey, std::int32_t objectNumber,
                       std::int32_t generation, std::span<std::uint8_t> data);

}  // namespace tessary
