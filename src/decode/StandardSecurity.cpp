#include "decode/StandardSecurity.h"

#include <algorithm>
#include <cstring>

#include "decode/Md5.h"
#include "decode/Rc4.h"

namespace tessary {

namespace {

constexpr std::size_t kPaddedLength = kPasswordPadding.size();
// Revision 2 keys are 40 bits.
constexpr std::size_t kRevision2KeyLength = 5;

}  // namespace

std::string PadPassword(std::string_view password) {
    const std::size_t zero = password.find('\0');
    if (zero != std::string_view::npos) {
        password = password.substr(0, zero);
    }
    password = password.substr(0, kPaddedLength);
    std::string padded(password);
    padded.append(reinterpret_cast<const char*>(kPasswordPadding.data()),
                  kPaddedLength - padded.size());
    return padded;
}

std::string RecoverUserPasswordFromOwner(std::string_view ownerPassword,
                                         std::string_view ownerEntry) {
    if (ownerEntry.size() < kPaddedLength) {
        return {};
    }
    Md5 md5;
    md5.Add(PadPassword(ownerPassword));
    const Md5::Digest digest = md5.Finish();
    std::string user(ownerEntry.substr(0, kPaddedLength));
    Rc4Crypt(std::string_view(reinterpret_cast<const char*>(digest.data()), kRevision2KeyLength),
             user);

    // The password ends where the longest tail that is a prefix of the padding
    // begins.
    for (std::size_t length = 0; length < kPaddedLength; ++length) {
        if (std::memcmp(user.data() + length, kPasswordPadding.data(), kPaddedLength - length) ==
            0) {
            user.resize(length);
            break;
        }
    }
    return user;
}

}  // namespace tessary
