// Checks a password against arbitrary /Encrypt values of every revision. The
// first byte chooses the revision and metadata flag, the second the key
// length; then come password, /O, /U, /OE, /UE, /Perms and /ID, each after a
// byte that gives its length.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/StandardSecurity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    std::string_view fields[7];
    for (std::string_view& field : fields) {
        if (rest.empty()) {
            break;
        }
        field = rest.substr(1, static_cast<std::uint8_t>(rest[0]));
        rest.remove_prefix(1 + field.size());
    }
    tessary::EncryptionValues values;
    values.revision = data[0] % 8;
    values.keyLengthBits = data[1] * 2 - 100;
    values.encryptMetadata = data[0] & 8;
    values.owner = fields[1];
    values.user = fields[2];
    values.ownerKey = fields[3];
    values.userKey = fields[4];
    values.perms = fields[5];
    values.firstId = fields[6];
    const tessary::Authentication result = tessary::AuthenticatePassword(values, fields[0]);
    if ((result.role == tessary::PasswordRole::kNone) != result.fileKey.empty() ||
        result.fileKey.size() > 32) {
        __builtin_trap();
    }
    return 0;
}
