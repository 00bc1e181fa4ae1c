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

std::string ObjectKey(std::string_view fileKey, std::int32_t objectNumber, std::int32_t generation,
                      bool aes) {
    // Only the three low bytes of the object number and the two low bytes of
    // the generation enter the key.
    const auto number = static_cast<std::uint32_t>(objectNumber);
    const auto gen = static_cast<std::uint32_t>(generation);
    const std::array<char, 5> objectBytes = {
        static_cast<char>(number), static_cast<char>(number >> 8), static_cast<char>(number >> 16),
        static_cast<char>(gen), static_cast<char>(gen >> 8)};

    Md5 md5;
    md5.Add(fileKey);
    md5.Add(std::string_view(objectBytes.data(), objectBytes.size()));
    if (aes) {
        md5.Add("sAlT");
    }
    const Md5::Digest digest = md5.Finish();
    const std::size_t keyLength =
        std::min(fileKey.size() + objectBytes.size(), kMaxObjectKeyLength);
    return std::string(reinterpret_cast<const char*>(digest.data()), keyLength);
}

void DecryptObjectData(std::span<const std::uint8_t> fileKey, std::int32_t objectNumber,
                       std::int32_t generation, std::span<std::uint8_t> data) {
    const std::string key =
        ObjectKey(std::string_view(reinterpret_cast<const char*>(fileKey.data()), fileKey.size()),
                  objectNumber, generation, false);
    Rc4Crypt(std::span(reinterpret_cast<const std::uint8_t*>(key.data()), key.size()), data);
}

}  // namespace tessary
