#include "decode/LibCrypto.h"

#include "decode/SharedLibrary.h"

namespace tessary {

namespace {

const LibCrypto* Load() {
    const SharedLibrary library(TESSARY_LIBCRYPTO_SONAME);
    static LibCrypto functions;
    const bool complete =
        library.Find("EVP_CIPHER_CTX_new", functions.cipherContextNew) &&
        library.Find("EVP_CIPHER_CTX_free", functions.cipherContextFree) &&
        library.Find("EVP_CIPHER_CTX_set_padding", functions.cipherContextSetPadding) &&
        library.Find("EVP_aes_128_cbc", functions.aes128Cbc) &&
        library.Find("EVP_aes_256_cbc", functions.aes256Cbc) &&
        library.Find("EVP_CipherInit_ex", functions.cipherInit) &&
        library.Find("EVP_CipherUpdate", functions.cipherUpdate) &&
        library.Find("EVP_CipherFinal_ex", functions.cipherFinal) &&
        library.Find("EVP_Digest", functions.digest) &&
        library.Find("EVP_sha256", functions.sha256) &&
        library.Find("EVP_sha384", functions.sha384) &&
        library.Find("EVP_sha512", functions.sha512);
    return complete ? &functions : nullptr;
}

}  // namespace

const LibCrypto* GetLibCrypto() {
    static const LibCrypto* const functions = Load();
    return functions;
}

}  // namespace tessary
