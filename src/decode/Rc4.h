// The RC4 stream cipher.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessary {

// Runs the key schedule over `key` (1 to 256 bytes are meaningful; bytes past
// the 256th never enter the schedule) and XORs the key stream into `data` in
// place, which encrypts and decrypts alike. An empty key leaves `data` as is.
void Rc4Crypt(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

inline void Rc4Crypt(std::string_view key, std::string& data) {
    Rc4Crypt(std::span(reinterpret_cast<const std::uint8_t*>(key.data()), key.size()),
             std::span(reinterpret_cast<std::uint8_t*>(data.data()), data.size()));
}

}  // namespace tessary
