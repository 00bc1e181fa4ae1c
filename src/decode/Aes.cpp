#include "decode/Aes.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>

#include "decode/LibCrypto.h"

namespace tessary {

namespace {

struct CipherContextFree {
    const LibCrypto* crypto;
    void operator()(EVP_CIPHER_CTX* context) const { crypto->cipherContextFree(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

const EVP_CIPHER* CbcCipher(const LibCrypto& crypto, std::size_t keyLength) {
    if (keyLength == 16) {
        return crypto.aes128Cbc();
    }
    return keyLength == 32 ? crypto.aes256Cbc() : nullptr;
}

// Runs whole blocks through the cipher without padding; empty on failure.
std::string Crypt(bool encrypt, std::string_view key, std::string_view iv, std::string_view data) {
    const LibCrypto* crypto = GetLibCrypto();
    if (!crypto) {
        return {};
    }
    const EVP_CIPHER* cipher = CbcCipher(*crypto, key.size());
    // libcrypto counts lengths in int: larger data is refused rather than cut.
    if (!cipher || iv.size() != kAesBlockSize || data.size() % kAesBlockSize != 0 ||
        data.size() > static_cast<std::size_t>(INT_MAX) - kAesBlockSize) {
        return {};
    }
    const CipherContext context(crypto->cipherContextNew(), CipherContextFree{crypto});
    if (!context ||
        crypto->cipherInit(
            context.get(), cipher, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
            reinterpret_cast<const unsigned char*>(iv.data()), encrypt ? 1 : 0) != 1 ||
        crypto->cipherContextSetPadding(context.get(), 0) != 1) {
        return {};
    }
    std::string output(data.size(), '\0');
    int written = 0;
    int last = 0;
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    if (crypto->cipherUpdate(context.get(), out, &written,
                             reinterpret_cast<const unsigned char*>(data.data()),
                             static_cast<int>(data.size())) != 1 ||
        crypto->cipherFinal(context.get(), out + written, &last) != 1) {
        return {};
    }
    output.resize(static_cast<std::size_t>(written + last));
    return output;
}

constexpr std::array<char, kAesBlockSize> kZeroIv{};

}  // namespace

std::string AesCbcDecrypt(std::string_view key, std::string_view ivAndData) {
    if (ivAndData.size() < kAesBlockSize) {
        return {};
    }
    std::string_view data = ivAndData.substr(kAesBlockSize);
    data = data.substr(0, data.size() - data.size() % kAesBlockSize);
    std::string output = Crypt(false, key, ivAndData.substr(0, kAesBlockSize), data);
    if (!output.empty()) {
        const auto pad = static_cast<unsigned char>(output.back());
        if (pad >= 1 && pad <= kAesBlockSize &&
            std::all_of(output.end() - pad, output.end(),
                        [pad](char c) { return static_cast<unsigned char>(c) == pad; })) {
            output.resize(output.size() - pad);
        }
    }
    return output;
}

std::string AesCbcDecryptNoPadding(std::string_view key, std::string_view data) {
    return Crypt(false, key, std::string_view(kZeroIv.data(), kZeroIv.size()), data);
}

std::string AesCbcEncryptNoPadding(std::string_view key, std::string_view iv,
                                   std::string_view data) {
    return Crypt(true, key, iv, data);
}

}  // namespace tessary
