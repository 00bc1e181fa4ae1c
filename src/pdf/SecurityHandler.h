// The standard security handler (revision 2, 40-bit RC4): checks a password
// against the /Encrypt dictionary and gives the file key that decrypts the
// document's strings and streams.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

class PdfDictionary;
class PdfObjectStore;

struct FileKey {
    std::array<std::uint8_t, 32> bytes{};
    std::size_t length = 0;
};

// The 5-byte file key for a password: MD5 of the padded password, /O, /P
// (4 bytes, little-endian) and the first string of the trailer's /ID.
FileKey ComputeFileKey(const PdfDictionary& trailer, const PdfDictionary& encrypt,
                       std::string_view password);

// true, with the file key, when `password` opens the document whose trailer
// the store holds, as its user password or as its owner password.
bool CheckPassword(PdfObjectStore& store, const std::string& password, FileKey& key);

}  // namespace tessary
