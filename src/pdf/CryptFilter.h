// One crypt filter of the standard security handler (ISO 32000 7.6.5): how the
// strings or the streams of an encrypted document are decrypted, holding the
// file key once a password has been accepted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

class CryptFilter {
  public:
    enum class Method : std::uint8_t {
        Identity,  // bytes pass unchanged (/Identity, /None)
        Rc4,       // /V2, and the handlers before crypt filters (/V 1 and 2)
        AesV2,     // AES-128 with a key made per object
        AesV3,     // AES-256 with the file key itself
    };

    CryptFilter() = default;
    explicit CryptFilter(Method how) : method(how) {}

    void SetFileKey(std::string_view key) { fileKey = key; }

    // The plain bytes of one string or stream of the object `objectNumber
    // generation`. AES output drops the initialisation vector and, when it is
    // valid, the padding, so it is shorter than its input.
    std::string Decrypt(std::int32_t objectNumber, std::int32_t generation,
                        std::string_view data) const;

  private:
    Method method = Method::Identity;
    std::string fileKey;
};

}  // namespace tessary
