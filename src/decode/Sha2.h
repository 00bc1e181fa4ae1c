// The SHA-2 digests that AES-256 encryption needs, through OpenSSL's libcrypto.
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// The digest's bytes (32, 48 or 64); empty only if libcrypto fails.
std::string Sha256(std::string_view data);
std::string Sha384(std::string_view data);
std::string Sha512(std::string_view data);

}  // namespace tessary
