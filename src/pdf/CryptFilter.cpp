#include "pdf/CryptFilter.h"

#include <algorithm>
#include <span>

#include "decode/ObjectDecryption.h"

namespace tessary {

void CryptFilter::SetFileKey(std::string_view fileKey) {
    keyLength = std::min(fileKey.size(), key.size());
    std::copy_n(fileKey.begin(), keyLength, key.begin());
}

std::string CryptFilter::Decrypt(std::int32_t objectNumber, std::int32_t generation,
                                 std::string_view data) const {
    std::string plain(data);
    switch (method) {
        case Method::Identity:
            break;
        case Method::Rc4:
            DecryptObjectData(
                std::span(key.data(), keyLength), objectNumber, generation,
                std::span(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size()));
            break;
        case Method::AesV2:
        case Method::AesV3:
            plain.clear();  // not read yet
            break;
    }
    return plain;
}

}  // namespace tessary
