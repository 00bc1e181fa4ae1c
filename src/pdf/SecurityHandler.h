// The standard security handler: checks a password against the /Encrypt
// dictionary and gives the file key that decrypts strings and streams.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessary {

class PdfObjectStore;

struct FileKey {
    std::array<std::uint8_t, 32> bytes{};
    std::size_t length = 0;
};

// true, with the file key, when `password` opens the document whose trailer
// the store holds.
bool CheckPassword(PdfObjectStore& store, const std::string& password, FileKey& key);

}  // namespace tessary
