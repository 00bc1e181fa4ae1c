// Decrypts arbitrary bytes with AES-CBC. The first byte chooses the key
// length (16, 32, or a wrong one); the key follows, then the vector and data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/Aes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static constexpr std::size_t kKeyLengths[] = {16, 32, 15, 24};
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t keyLength = std::min(kKeyLengths[data[0] % 4], input.size());
    const std::string_view key = input.substr(0, keyLength);
    const std::string_view rest = input.substr(keyLength);
    // Output is never longer than the data after the vector.
    const std::size_t plain = tessary::AesCbcDecrypt(key, rest).size();
    const std::size_t unpadded = tessary::AesCbcDecryptNoPadding(key, rest).size();
    if ((plain > 0 && plain + tessary::kAesBlockSize > rest.size()) || unpadded > rest.size()) {
        __builtin_trap();
    }
    return 0;
}
