#include "pdf/CryptFilter.h"

#include "decode/Aes.h"
#include "decode/ObjectDecryption.h"
#include "decode/Rc4.h"

namespace tessary {

std::string CryptFilter::Decrypt(std::int32_t objectNumber, std::int32_t generation,
                                 std::string_view data) const {
    switch (method) {
        case Method::Identity:
            break;
        case Method::Rc4: {
            std::string plain(data);
            Rc4Crypt(ObjectKey(fileKey, objectNumber, generation, false), plain);
            return plain;
        }
        case Method::AesV2:
            return AesCbcDecrypt(ObjectKey(fileKey, objectNumber, generation, true), data);
        case Method::AesV3:
            return AesCbcDecrypt(fileKey, data);
    }
    return std::string(data);
}

}  // namespace tessary
