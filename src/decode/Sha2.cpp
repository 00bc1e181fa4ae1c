#include "decode/Sha2.h"

#include "decode/LibCrypto.h"

namespace tessary {

namespace {

using DigestType = decltype(LibCrypto::sha256);

std::string Digest(DigestType LibCrypto::*type, std::string_view data) {
    const LibCrypto* crypto = GetLibCrypto();
    if (!crypto) {
        return {};
    }
    std::string digest(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    if (crypto->digest(data.data(), data.size(), reinterpret_cast<unsigned char*>(digest.data()),
                       &length, (crypto->*type)(), nullptr) != 1) {
        return {};
    }
    digest.resize(length);
    return digest;
}

}  // namespace

std::string Sha256(std::string_view data) {
    return Digest(&LibCrypto::sha256, data);
}
std::string Sha384(std::string_view data) {
    return Digest(&LibCrypto::sha384, data);
}
std::string Sha512(std::string_view data) {
    return Digest(&LibCrypto::sha512, data);
}

}  // namespace tessary
