#include "decode/Sha2.h"

#include <openssl/evp.h>

namespace tessary {

namespace {

std::string Digest(const EVP_MD* type, std::string_view data) {
    std::string digest(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), reinterpret_cast<unsigned char*>(digest.data()),
                   &length, type, nullptr) != 1) {
        return {};
    }
    digest.resize(length);
    return digest;
}

}  // namespace

std::string Sha256(std::string_view data) {
    return Digest(EVP_sha256(), data);
}
std::string Sha384(std::string_view data) {
    return Digest(EVP_sha384(), data);
}
std::string Sha512(std::string_view data) {
    return Digest(EVP_sha512(), data);
}

}  // namespace tessary
