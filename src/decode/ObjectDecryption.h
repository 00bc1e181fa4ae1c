// Decryption of one string or stream of an object encrypted by the standard
// security handler (RC4 with a key derived from the file key and the object's
// number and generation).
#pragma once

#include <cstdint>
#include <span>

namespace tessary {

// Decrypts (equally: encrypts) data in place for the given object. The file
// key is the 5-byte key that the password check produced.
void DecryptObjectData(std::span<const std::uint8_t> fileKey, std::int32_t objectNumber,
                       std::int32_t generation, std::span<std::uint8_t> data);

}  // namespace tessary
