#include "decode/LibCrypto.h"

#include <dlfcn.h>

namespace tessary {

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const LibCrypto* Load() {
    // The library stays loaded until the process ends: its functions are
    // kept for every later use.
    void* library = dlopen(TESSARY_LIBCRYPTO_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return nullptr;
    }
    static LibCrypto functions;
    const bool complete =
        Resolve(library, "EVP_CIPHER_CTX_new", functions.cipherContextNew) &&
        Resolve(library, "EVP_CIPHER_CTX_free", functions.cipherContextFree) &&
        Resolve(library, "EVP_CIPHER_CTX_set_padding", functions.cipherContextSetPadding) &&
        Resolve(library, "EVP_aes_128_cbc", functions.aes128Cbc) &&
        Resolve(library, "EVP_aes_256_cbc", functions.aes256Cbc) &&
        Resolve(library, "EVP_CipherInit_ex", functions.cipherInit) &&
        Resolve(library, "EVP_CipherUpdate", functions.cipherUpdate) &&
        Resolve(library, "EVP_CipherFinal_ex", functions.cipherFinal) &&
        Resolve(library, "EVP_Digest", functions.digest) &&
        Resolve(library, "EVP_sha256", functions.sha256) &&
        Resolve(library, "EVP_sha384", functions.sha384) &&
        Resolve(library, "EVP_sha512", functions.sha512);
    return complete ? &functions : nullptr;
}

}  // namespace

const LibCrypto* GetLibCrypto() {
    static const LibCrypto* const functions = Load();
    return functions;
}

}  // namespace tessary
