// The few libcrypto functions that AES and SHA-2 need, looked up the first
// time one of them is used. Most files are neither AES-encrypted nor
// encrypted with revision 5 or 6, so a conversion that needs none of them
// never maps the library: it is the largest one the program would load, and
// loading it at start-up would cost every run time and memory.
#pragma once

#include <openssl/evp.h>

namespace tessary {

struct LibCrypto {
    decltype(&EVP_CIPHER_CTX_new) cipherContextNew = nullptr;
    decltype(&EVP_CIPHER_CTX_free) cipherContextFree = nullptr;
    decltype(&EVP_CIPHER_CTX_set_padding) cipherContextSetPadding = nullptr;
    decltype(&EVP_aes_128_cbc) aes128Cbc = nullptr;
    decltype(&EVP_aes_256_cbc) aes256Cbc = nullptr;
    decltype(&EVP_CipherInit_ex) cipherInit = nullptr;
    decltype(&EVP_CipherUpdate) cipherUpdate = nullptr;
    decltype(&EVP_CipherFinal_ex) cipherFinal = nullptr;
    decltype(&EVP_Digest) digest = nullptr;
    decltype(&EVP_sha256) sha256 = nullptr;
    decltype(&EVP_sha384) sha384 = nullptr;
    decltype(&EVP_sha512) sha512 = nullptr;
};

// The functions, loaded once (thread-safe); absent when the library or one
// of them can't be found, which callers treat as a failed operation.
const LibCrypto* GetLibCrypto();

}  // namespace tessary
