#include "decode/ObjectDecryption.h"

namespace tessary {

// Placeholder until RC4 and MD5 land: leaves the bytes as they are.
void DecryptObjectData(std::span<const std::uint8_t>, std::int32_t, std::int32_t,
                       std::span<std::uint8_t>) {}

}  // namespace tessary
