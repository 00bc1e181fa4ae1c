// The standard security handler (ISO 32000 7.6.3, 7.6.4): reads the /Encrypt
// dictionary, checks a password as the user or the owner password, and gives
// the crypt filter that decrypts each string and stream of the document.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "pdf/CryptFilter.h"

namespace tessary {

class PdfDictionary;

struct FileKey {
    std::array<std::uint8_t, 32> bytes{};
    std::size_t length = 0;
};

// The revision 2 file key for a password: MD5 of the padded password, /O, /P
// (4 bytes, little-endian) and the first string of the trailer's /ID, cut to
// 5 bytes.
FileKey ComputeFileKey(const PdfDictionary& trailer, const PdfDictionary& encrypt,
                       std::string_view password);

class SecurityHandler {
  public:
    // Reads the handler that /Encrypt describes. false when it isn't one this
    // reader applies: a /Filter other than /Standard, an unknown /V or /R, or
    // a /StmF or /StrF naming a crypt filter it can't use.
    bool Load(const PdfDictionary& encrypt, const PdfDictionary& trailer);

    // true when the password opens the document as its user or its owner
    // password; the crypt filters then hold the file key.
    bool Authenticate(std::string_view password);

    const CryptFilter& GetStringFilter() const { return stringFilter; }
    // The crypt filter for the bytes of a stream with this dictionary:
    // cross-reference streams and, without /EncryptMetadata, metadata streams
    // are not encrypted; a /Crypt filter first in /Filter names its own crypt
    // filter (ISO 32000 7.4.10). Absent when that name is not defined.
    const CryptFilter* GetStreamFilter(const PdfDictionary& streamDict) const;

  private:
    bool IsUserPassword(std::string_view password, FileKey& key) const;
    void InstallKey(const FileKey& key);

    std::int32_t revision = 0;
    std::string ownerEntry;
    std::string userEntry;
    std::uint32_t permissions = 0;
    std::string documentId;
    bool encryptMetadata = true;
    CryptFilter stringFilter;
    CryptFilter streamFilter;
    // The crypt filters a /Crypt stream filter may name, /Identity among them.
    std::map<std::string, CryptFilter, std::less<>> namedFilters;
};

}  // namespace tessary
