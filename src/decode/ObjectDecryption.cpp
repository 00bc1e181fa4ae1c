#include "decode/ObjectDecryption.h"

#include <algorithm>
#include <array>

#include "decode/Md5.h"
#include "decode/Rc4.h"

namespace tessary {

namespace {

// An object key never exceeds the 16 bytes of one MD5 digest.
constexpr std::size_t kMaxObjectKeyLength = 16;

}  // namespace

void DecryptObjectData(std::span<const std::uint8_t> fileKey, std::int32_t objectNumber,
                       std::int32_t generation, std::span<std::uint8_t> data) {
    // Only the three low bytes of the object number and the two low bytes of
    // the generation enter the key.
    const auto number = static_cast<std::uint32_t>(objectNumber);
    const auto gen = static_cast<std::uint32_t>(generation);
    const std::array<std::uint8_t, 5> objectBytes = {
        static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
        static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(gen),
        static_cast<std::uint8_t>(gen >> 8)};

    Md5 md5;
    md5.Add(fileKey);
    md5.Add(objectBytes);
    const Md5::Digest digest = md5.Finish();
    const std::size_t keyLength =
        std::min(fileKey.size() + objectBytes.size(), kMaxObjectKeyLength);
    Rc4Crypt(std::span(digest.data(), keyLength), data);
}

}  // namespace tessary
