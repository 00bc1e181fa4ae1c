// The standard security handler (ISO 32000-1 7.6.3, ISO 32000-2 7.6.4): reads
// the /Encrypt dictionary, checks a password as the user or the owner
// password, and gives the crypt filter that decrypts each string and stream.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "decode/StandardSecurity.h"
#include "pdf/CryptFilter.h"

namespace tessary {

class PdfDictionary;

class SecurityHandler {
  public:
    // Reads the handler that /Encrypt describes (with the trailer's /ID).
    // false when it isn't one this reader applies: a /Filter other than
    // /Standard, an unknown /V or /R, or a /StmF or /StrF naming a crypt
    // filter that isn't defined or whose method is unknown.
    bool Load(const PdfDictionary& encrypt, const PdfDictionary& trailer);

    // true when the password opens the document as its user or its owner
    // password; the crypt filters then hold the file key.
    bool Authenticate(std::string_view password);

    const CryptFilter& GetStringFilter() const { return stringFilter; }
    // The crypt filter for the bytes of a stream with this dictionary:
    // cross-reference streams and, with /EncryptMetadata false, metadata
    // streams are not encrypted; a /Crypt filter first in /Filter names its
    // own crypt filter (ISO 32000 7.4.10). Absent when that name is neither
    // /Identity nor one of /CF's with a known method.
    const CryptFilter* GetStreamFilter(const PdfDictionary& streamDict) const;

  private:
    EncryptionValues values;
    CryptFilter stringFilter;
    CryptFilter streamFilter;
    // The crypt filters a name can give, /Identity among them.
    std::map<std::string, CryptFilter, std::less<>> namedFilters;
};

}  // namespace tessary
